// A plain scalar model of the engine's filter, written from the definition
// of its operation order rather than from the SIMD code: it keeps every
// input ever given and recomputes each output from them.
#pragma once

#include <cstdint>
#include <vector>

namespace test_support {

class FirModel {
 public:
  static constexpr int kRing = 32768;

  FirModel(std::vector<float> response, int taps, float gain, float mix)
      : h_(std::move(response)), taps_(taps), gain_(gain), mix_(mix) {
    h_.resize(kRing, 0.0f);
  }

  // The output for the next input sample, as the engine computes it.
  float next(float x, bool replacing = true, float previousOutput = 0.0f) {
    inputs_.push_back(x);
    w_ = (w_ == 0) ? kRing - 1 : w_ - 1;
    const float y = dot();
    const float wet = static_cast<float>(static_cast<double>(mix_) * gain_);
    const float dry = static_cast<float>((1.0 - mix_) * static_cast<double>(gain_));
    const float v = (y * wet) + (x * dry);
    return replacing ? v : previousOutput + v;
  }

  // Takes an input without computing its output (for long warm-ups).
  void skip(float x) {
    inputs_.push_back(x);
    w_ = (w_ == 0) ? kRing - 1 : w_ - 1;
  }

  void setGain(float gain) { gain_ = gain; }
  void setMix(float mix) { mix_ = mix; }

 private:
  // What the history holds at window index k: for k >= j the input k - j
  // steps back; below j the slots just before the newest sample, which hold
  // the inputs from a whole ring ago (zero before the ring first filled).
  float window(int k, int j) const {
    const std::int64_t n = static_cast<std::int64_t>(inputs_.size()) - 1;
    const std::int64_t back = k >= j ? n - (k - j) : n + (j - k) - kRing;
    return back >= 0 ? inputs_[static_cast<std::size_t>(back)] : 0.0f;
  }
  float coefficient(int k, int j) const { return k >= j ? h_[static_cast<std::size_t>(k - j)] : 0.0f; }

  float dot() const {
    const int j = w_ & 3;
    float s[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    for (int b = 0; b < taps_; b += 16) {
      for (int r = 0; r < 4; ++r) {
        float p[4];
        for (int m = 0; m < 4; ++m) {
          const int k = b + 4 * m + r;
          p[m] = window(k, j) * coefficient(k, j);
        }
        s[r] = (s[r] + (p[0] + p[1])) + (p[2] + p[3]);
      }
    }
    return ((s[0] + s[1]) + s[2]) + s[3];
  }

  std::vector<float> h_;
  int taps_;
  float gain_;
  float mix_;
  int w_ = 0;
  std::vector<float> inputs_;
};

}  // namespace test_support
