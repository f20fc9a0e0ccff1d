// A writer's transaction on the engine: prepares a spare bank, starting
// from the active bank's loaded state and path, and on commit publishes
// samples, path, loaded state and parameter values as one step. Destroyed
// without commit, it publishes nothing. Host and editor threads only; one
// update at a time per engine (it holds the writer lock, but never waits
// for the audio thread).
#pragma once

#include <cstdint>
#include <mutex>

#include "engine/ParameterMapping.h"
#include "engine/ResponseBank.h"

class FirEngine;

class ResponseUpdate {
 public:
  explicit ResponseUpdate(FirEngine& engine);
  ResponseUpdate(const ResponseUpdate&) = delete;
  ResponseUpdate& operator=(const ResponseUpdate&) = delete;

  // The bank being prepared: its samples may be read and written freely.
  ResponseBank& bank() { return *target_; }
  // Replaces the samples (see ResponseBank::setImpulse).
  void setImpulse(const float* samples, int count);
  // As setImpulse, from little-endian floats at any address.
  void setImpulseBytes(const void* samples, int count);
  // Makes the bank hold the active samples, unless replaced already.
  void keepSamples();
  void setLoaded(bool loaded) { target_->loaded.store(loaded, std::memory_order_relaxed); }
  void setPath(const char* text) { target_->setPath(text); }
  // A parameter value this step writes; the others keep their values.
  void setParameter(int index, float value);
  // The value parameter `index` will have once committed, as far as this
  // step decides it (the host may still change it meanwhile).
  float parameter(int index) const;
  void commit();

 private:
  // Writes the parameter values into the bank: this step's own, and the
  // current ones for the rest, refreshing the stamps the engine keeps.
  void stampParameters(std::uint32_t word);

  FirEngine& engine_;
  std::unique_lock<std::mutex> lock_;
  std::uint32_t sourceWord_;
  int targetIndex_;
  ResponseBank* target_;
  float stepValues_[parameter_mapping::kParameterCount] = {};
  bool stepWrites_[parameter_mapping::kParameterCount] = {};
  bool samplesReplaced_ = false;
  bool samplesCurrent_ = false;
};
