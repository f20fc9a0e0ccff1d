// One complete response as the audio thread uses it: the four phase copies,
// the loaded state, the path of the file it came from, and the parameter
// values the load or restore that published it wrote (see StampedValue).
// The engine keeps three banks (see BankExchange). Only a writer holding
// the exchange's mutex writes a bank, and only while it is not published.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/ParameterMapping.h"
#include "engine/StampedValue.h"

struct ResponseBank {
  static constexpr int kPhaseCount = 4;
  // Each copy holds the response shifted by its index: 32768 samples plus
  // room for a shift of up to 3, rounded up to keep copies 16-byte aligned.
  static constexpr int kPhaseStride = 32772;
  static_assert((kPhaseStride * sizeof(float)) % 16 == 0, "phase copies stay 16-byte aligned");
  // The path field: up to 259 characters and a terminator.
  static constexpr int kPathSize = 260;

  float* phase[kPhaseCount] = {};
  std::atomic<bool> loaded{false};
  // The parameter values as of this bank's publication, each stamped; a
  // host's change stamped as new or newer takes precedence.
  AtomicStampedValue parameters[parameter_mapping::kParameterCount] = {};
  // Read and written under the exchange's mutex only.
  char path[kPathSize] = {};
  // Which response the copies hold; banks with equal numbers hold equal
  // samples. Only writers touch it.
  std::uint64_t samplesVersion = 0;

  // Zeroes all copies, then stores up to 32768 samples in each, shifted.
  // A non-finite sample is stored as 0.0: one would turn every later
  // output into NaN, silent input included. A finite one beyond
  // signal_bounds::kMaxResponseSample is stored as that bound, its sign
  // kept, so that no sum of the filter overflows.
  void setImpulse(const float* samples, int count) { setImpulseBytes(samples, count); }
  // As setImpulse, from little-endian floats at any address.
  void setImpulseBytes(const void* samples, int count);
  void copySamplesFrom(const ResponseBank& other);
  // Zero-fills the field, then copies at most 259 characters.
  void setPath(const char* text);
};
