#include "FuzzSignal.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "effect/ConvolverEffect.h"

namespace {

constexpr int kBlock = 64;
constexpr float kLargest = std::numeric_limits<float>::max();

struct Noise {
  std::uint32_t state;
  std::uint32_t next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  // Mostly ordinary audio; now and then the largest finite values, huge
  // ones and denormals, which a host's chain can hand on.
  float sample() {
    const std::uint32_t r = next();
    switch (r % 16u) {
      case 0:
        return (r & 16u) != 0 ? kLargest : -kLargest;
      case 1:
        return (r & 16u) != 0 ? 1e30f : -3e38f;
      case 2:
        return 1e-40f;
      default:
        return static_cast<float>(static_cast<double>(r >> 8) / 8388608.0 - 1.0);
    }
  }
};

void requireFinite(const float* samples, const char* what) {
  for (int i = 0; i < kBlock; ++i) {
    if (!std::isfinite(samples[i])) {
      std::fprintf(stderr, "%s: sample %d is %g\n", what, i, static_cast<double>(samples[i]));
      std::abort();
    }
  }
}

}  // namespace

void requireFiniteAudio(ConvolverEffect& effect, std::uint32_t seed) {
  Noise noise{seed | 1u};
  float input[kBlock];
  float output[kBlock];
  float* inputs[] = {input};
  float* outputs[] = {output};
  // The gain as it stands, then silence and the loudest.
  for (const float gain : {-1.0f, 0.0f, 1.0f}) {
    if (gain >= 0.0f) effect.setParameter(1, gain);
    for (float& x : input) x = noise.sample();
    // Without taps or a response the engine leaves the host's buffer as it
    // was: finite, as the host filled it.
    for (float& y : output) y = noise.sample();
    effect.processReplacing(inputs, outputs, kBlock);
    requireFinite(output, "processReplacing");
    // The accumulating callback adds to whatever finite signal the host has.
    for (float& y : output) y = noise.sample();
    effect.process(inputs, outputs, kBlock);
    requireFinite(output, "process");
  }
}
