// The port indices of the LV2 plug-in, as its description lists them. The
// five parameters come first, at their parameter index, so that a control
// port's index is the parameter it carries.
#pragma once

#include <cstdint>

#include "effect/StateChunk.h"

namespace lv2_ports {

constexpr std::uint32_t kFirstParameter = 0;
constexpr std::uint32_t kAudioInput = kParameterCount;
constexpr std::uint32_t kAudioOutput = kAudioInput + 1;
// Reports the plug-in's latency to the host: always zero samples.
constexpr std::uint32_t kLatency = kAudioOutput + 1;
constexpr std::uint32_t kPortCount = kLatency + 1;

}  // namespace lv2_ports
