// A writer's transaction on the engine: prepares the spare bank, starting
// from the active bank's settings, and hands it to the audio thread on
// commit. Destroyed without commit, it publishes nothing. Host and editor
// threads only; one update at a time per engine (it holds the writer lock).
#pragma once

#include <mutex>

#include "engine/ResponseBank.h"

class FirEngine;

class ResponseUpdate {
 public:
  explicit ResponseUpdate(FirEngine& engine);
  ResponseUpdate(const ResponseUpdate&) = delete;
  ResponseUpdate& operator=(const ResponseUpdate&) = delete;

  // The bank being prepared: settings may be changed through it freely.
  ResponseBank& bank() { return *target_; }
  // Replaces the samples (see ResponseBank::setImpulse).
  void setImpulse(const float* samples, int count);
  // Makes the bank hold the active samples, unless replaced already.
  void keepSamples();
  void commit();

 private:
  FirEngine& engine_;
  std::unique_lock<std::mutex> lock_;
  int targetIndex_;
  ResponseBank* target_;
  bool samplesReplaced_ = false;
  bool samplesCurrent_ = false;
};
