// The vector-operation tiers side by side: move (the one entry on the audio
// path, as the bypass copy) and two arithmetic entries, over block sizes a
// host typically uses. Tiers the processor lacks are reported as skipped.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "engine/ProcessorDetection.h"
#include "engine/vectorops/VectorOpsTiers.h"

namespace {

namespace vo = vector_ops;

bool available(std::atomic<bool> CpuFeatures::*needs) {
  detectCpuFeatures();
  return needs == nullptr || (cpuFeatures().*needs).load();
}

void setBytes(benchmark::State& state, int n) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * n * static_cast<std::int64_t>(sizeof(float)));
}

// Separate input and output blocks, as the bypass copies them.
void moveDisjoint(benchmark::State& state, std::atomic<bool> CpuFeatures::*needs,
                  void (*move)(float*, const float*, int)) {
  if (!available(needs)) {
    state.SkipWithError("tier not available on this processor");
    return;
  }
  const int n = static_cast<int>(state.range(0));
  std::vector<float> src(static_cast<std::size_t>(n), 0.25f);
  std::vector<float> dst(static_cast<std::size_t>(n));
  for (auto _ : state) {
    move(dst.data(), src.data(), n);
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
  setBytes(state, n);
}

// In-place processing by hosts that pass the same buffer, shifted: the
// backward path with a one-float overlap.
void moveOverlapping(benchmark::State& state, std::atomic<bool> CpuFeatures::*needs,
                     void (*move)(float*, const float*, int)) {
  if (!available(needs)) {
    state.SkipWithError("tier not available on this processor");
    return;
  }
  const int n = static_cast<int>(state.range(0));
  std::vector<float> buffer(static_cast<std::size_t>(n) + 1, 0.25f);
  for (auto _ : state) {
    move(buffer.data() + 1, buffer.data(), n);
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
  setBytes(state, n);
}

void add(benchmark::State& state, std::atomic<bool> CpuFeatures::*needs, void (*op)(float*, const float*, int)) {
  if (!available(needs)) {
    state.SkipWithError("tier not available on this processor");
    return;
  }
  const int n = static_cast<int>(state.range(0));
  std::vector<float> src(static_cast<std::size_t>(n), 1.0e-3f);
  std::vector<float> dst(static_cast<std::size_t>(n), 0.5f);
  for (auto _ : state) {
    op(dst.data(), src.data(), n);
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
  setBytes(state, n);
}

void scale(benchmark::State& state, std::atomic<bool> CpuFeatures::*needs, void (*op)(float*, float, int)) {
  if (!available(needs)) {
    state.SkipWithError("tier not available on this processor");
    return;
  }
  const int n = static_cast<int>(state.range(0));
  std::vector<float> dst(static_cast<std::size_t>(n), 0.5f);
  // Alternating factors keep the values normal however long the run.
  float factor = 2.0f;
  for (auto _ : state) {
    op(dst.data(), factor, n);
    factor = 1.0f / factor;
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
  setBytes(state, n);
}

void blockSizes(benchmark::internal::Benchmark* b) {
  for (int n : {16, 61, 64, 256, 1024, 4096}) {
    b->Arg(n);
  }
}

}  // namespace

BENCHMARK_CAPTURE(moveDisjoint, portable, nullptr, &vo::portable::move)->Apply(blockSizes);
BENCHMARK_CAPTURE(moveDisjoint, fpu, &CpuFeatures::hasFpu, &vo::fpu::move)->Apply(blockSizes);
BENCHMARK_CAPTURE(moveDisjoint, sse, &CpuFeatures::hasSse, &vo::sse::move)->Apply(blockSizes);
BENCHMARK_CAPTURE(moveOverlapping, portable, nullptr, &vo::portable::move)->Apply(blockSizes);
BENCHMARK_CAPTURE(moveOverlapping, fpu, &CpuFeatures::hasFpu, &vo::fpu::move)->Apply(blockSizes);
BENCHMARK_CAPTURE(moveOverlapping, sse, &CpuFeatures::hasSse, &vo::sse::move)->Apply(blockSizes);
BENCHMARK_CAPTURE(add, portable, nullptr, &vo::portable::add)->Apply(blockSizes);
BENCHMARK_CAPTURE(add, fpu, &CpuFeatures::hasFpu, &vo::fpu::add)->Apply(blockSizes);
BENCHMARK_CAPTURE(add, sse, &CpuFeatures::hasSse, &vo::sse::add)->Apply(blockSizes);
BENCHMARK_CAPTURE(scale, portable, nullptr, &vo::portable::scale)->Apply(blockSizes);
BENCHMARK_CAPTURE(scale, fpu, &CpuFeatures::hasFpu, &vo::fpu::scale)->Apply(blockSizes);
BENCHMARK_CAPTURE(scale, sse, &CpuFeatures::hasSse, &vo::sse::scale)->Apply(blockSizes);

BENCHMARK_MAIN();
