// The plug-in's whole persistent state as hosts save and restore it: one
// block of 131356 bytes, little-endian, no header. Its size identifies it.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kImpulsePathSize = 260;
constexpr int kParameterCount = 5;
constexpr int kChunkSampleCount = 32768;

struct StateChunk {
  // NUL-terminated path of the loaded file, "... empty ..." before any load.
  char impulsePath[kImpulsePathSize];
  // Parameters 0 to 4 exactly as last set.
  float parameterValues[kParameterCount];
  // Mirror of the engine's response, refreshed when the host asks for it.
  float impulseSamples[kChunkSampleCount];
  // Mirror of the engine's loaded state: 0 none, anything else present.
  std::uint8_t impulseLoaded;
  std::uint8_t alignment[3];
};

static_assert(offsetof(StateChunk, impulsePath) == 0);
static_assert(offsetof(StateChunk, parameterValues) == 260);
static_assert(offsetof(StateChunk, impulseSamples) == 280);
static_assert(offsetof(StateChunk, impulseLoaded) == 131352);
static_assert(sizeof(StateChunk) == 131356);
constexpr int kStateChunkSize = static_cast<int>(sizeof(StateChunk));
