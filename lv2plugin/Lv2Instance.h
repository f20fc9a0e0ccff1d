// One instance of the LV2 plug-in: the effect of the VST build, driven from
// the host's ports. The host owns the control ports; run() hands each value
// to the effect when the port's value changed since the last block, and
// every value after a restored state, so the port values win over the
// restored state's parameters. A load's automatic gain and length stay in
// force until those ports change (the UI writes them to the ports at once).
//
// Threading: run() on the audio thread, never allocating, locking or
// waiting (the effect's setParameter is one atomic store). saveState and
// restoreState on host threads, through the effect's chunk operations and
// the engine's hand-over.
#pragma once

#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <atomic>
#include <cstdint>

#include "effect/ConvolverEffect.h"
#include "lv2plugin/Lv2Ports.h"

class Lv2Instance {
 public:
  // Null when the effect cannot be made.
  static Lv2Instance* create(double sampleRate, const LV2_Feature* const* features);

  void connectPort(std::uint32_t port, void* data);
  void run(std::uint32_t sampleCount);

  LV2_State_Status saveState(LV2_State_Store_Function store, LV2_State_Handle handle);
  LV2_State_Status restoreState(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

  ConvolverEffect& effect() { return effect_; }

 private:
  Lv2Instance(double sampleRate, const LV2_URID_Map* map);
  // The ports' values into the effect: those that changed, or all of them.
  void takeControls();

  ConvolverEffect effect_;
  // Zero without the host's URI map.
  LV2_URID stateKey_ = 0;
  LV2_URID chunkType_ = 0;
  const float* controls_[kParameterCount] = {};
  const float* input_ = nullptr;
  float* output_ = nullptr;
  float* latency_ = nullptr;
  // The values the last block took from the ports (audio thread), and a
  // copy that a save may read from another thread.
  float taken_[kParameterCount] = {};
  std::atomic<float> takenShared_[kParameterCount] = {};
  std::atomic<bool> anyTaken_{false};
  // Set by a restore: the next block takes every port's value.
  std::atomic<bool> takeAll_{true};
  // The block a save hands to the host, which copies it.
  StateChunk saved_{};
};
