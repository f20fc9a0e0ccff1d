// A process-wide table of seven element-wise operations on float arrays,
// each in up to three tiers (portable, x87 FPU, SSE). The detection fills
// it once per run: portable first, then the best tier the processor has.
// Every operation does nothing when n <= 0 or a required pointer is null.
// Entries are atomics because the audio thread reads `move` while an effect
// constructor on another thread may be re-running the detection.
#pragma once

#include <atomic>

struct CpuFeatures;

struct VectorOps {
  using FillFn = void (*)(float* dst, int n, float value);
  using BinaryFn = void (*)(float* dst, const float* src, int n);
  using ScalarFn = void (*)(float* dst, float value, int n);
  using ClipFn = void (*)(float* dst, int n, float limit);

  std::atomic<FillFn> fill;
  std::atomic<BinaryFn> add;
  std::atomic<ScalarFn> addScalar;
  std::atomic<BinaryFn> multiply;
  std::atomic<ScalarFn> scale;
  // dst[i] = src[i] as before the call, also when the ranges overlap.
  std::atomic<BinaryFn> move;
  // Limits every element to -limit ... limit (limit >= 0).
  std::atomic<ClipFn> clip;
};

VectorOps& vectorOps();

// The tier choice: portable everywhere, then SSE (or else FPU) for the first
// six entries, and the conditional-move clip when the processor has CMOV.
void selectVectorOpsTiers(const CpuFeatures& features);
