// The cost of filtering: one host block through the engine, per tap count.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "engine/CpuFeatures.h"
#include "engine/FirEngine.h"

namespace {

std::vector<float> randomSignal(std::size_t n, unsigned seed) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<float> distribution(-1.0f, 1.0f);
  std::vector<float> v(n);
  for (float& x : v) {
    x = distribution(generator);
  }
  return v;
}

// Arguments: tap count, block size. Reports samples per second.
void BM_FirEngineProcess(benchmark::State& state) {
  detectCpuFeatures();
  const int taps = static_cast<int>(state.range(0));
  const int block = static_cast<int>(state.range(1));
  FirEngine engine;
  const auto response = randomSignal(static_cast<std::size_t>(taps), 1);
  engine.setImpulse(response.data(), taps);
  engine.setLengthTaps(taps);
  engine.setLoaded(true);
  const auto input = randomSignal(static_cast<std::size_t>(block), 2);
  std::vector<float> output(static_cast<std::size_t>(block));
  for (auto _ : state) {
    engine.process(input.data(), output.data(), block, true);
    benchmark::DoNotOptimize(output.data());
  }
  state.SetItemsProcessed(state.iterations() * block);
  state.counters["taps"] = taps;
}
BENCHMARK(BM_FirEngineProcess)
    ->ArgsProduct({{16, 256, 1024, 4096, 16384, 32768}, {64, 512}})
    ->Unit(benchmark::kMicrosecond);

// A state restore as the host thread sees it: hand-over included.
void BM_StateHandOver(benchmark::State& state) {
  FirEngine engine;
  const auto response = randomSignal(32768, 3);
  for (auto _ : state) {
    engine.setImpulse(response.data(), 32768);
  }
}
BENCHMARK(BM_StateHandOver)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
