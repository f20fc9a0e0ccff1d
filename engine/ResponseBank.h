// One complete response as the audio thread uses it: the four phase copies
// and every setting a block reads. The engine keeps two banks (see
// BankExchange). Settings are atomics: parameter changes write them from
// any thread, the audio thread reads each once per block. Writes and
// copies are sequentially consistent, so that the engine can tell whether
// a parameter change overlapped a copy of the settings.
#pragma once

#include <atomic>
#include <cstdint>

struct ResponseBank {
  static constexpr int kPhaseCount = 4;
  // Each copy holds the response shifted by its index: 32768 samples plus
  // room for a shift of up to 3, rounded up to keep copies 16-byte aligned.
  static constexpr int kPhaseStride = 32772;
  static_assert((kPhaseStride * sizeof(float)) % 16 == 0, "phase copies stay 16-byte aligned");

  float* phase[kPhaseCount] = {};

  std::atomic<float> gain{1.0f};
  std::atomic<float> mix{0.5f};
  std::atomic<float> lengthFraction{0.0f};
  std::atomic<std::int32_t> taps{0};
  std::atomic<bool> loaded{false};
  // The effect's bypass switch travels with the response, so that a state
  // restore changes sound and switch at the same block boundary.
  std::atomic<bool> bypassed{false};
  // Which response the copies hold; banks with equal numbers hold equal
  // samples. Only writers (under the exchange's mutex) touch it.
  std::uint64_t samplesVersion = 0;

  void setMix(float x);
  void setGainParameter(float x);
  void setLengthParameter(float x);
  void setLengthTaps(int n);
  void setBypass(bool on) { bypassed.store(on); }
  float gainParameter() const;

  // Zeroes all copies, then stores up to 32768 samples in each, shifted.
  void setImpulse(const float* samples, int count);
  void copySettingsFrom(const ResponseBank& other);
  void copySamplesFrom(const ResponseBank& other);
};
