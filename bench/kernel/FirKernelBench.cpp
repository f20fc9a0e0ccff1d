// The cost of filtering, side by side: a naive scalar loop, the engine on
// each kernel tier, and a uniformly partitioned FFT convolver, for the same
// response and block. Reports nanoseconds per sample and the real-time
// factor of one channel at 48 kHz.
#include <benchmark/benchmark.h>
#include <zita-convolver.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/FirEngine.h"
#include "engine/ProcessorDetection.h"
#include "engine/kernel/FirKernelTier.h"

namespace {

constexpr double kSampleRate = 48000.0;

std::vector<float> randomSignal(std::size_t n, unsigned seed) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<float> distribution(-1.0f, 1.0f);
  std::vector<float> v(n);
  for (float& x : v) {
    x = distribution(generator);
  }
  return v;
}

void reportPerSample(benchmark::State& state, int block) {
  const double samples = static_cast<double>(block);
  state.counters["ns_per_sample"] =
      benchmark::Counter(samples * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["x_realtime_48k"] =
      benchmark::Counter(samples / kSampleRate, benchmark::Counter::kIsIterationInvariantRate);
}

// The textbook loop: one multiply-add per tap and sample, in plain scalar
// code over a doubled ring.
class NaiveFir {
 public:
  NaiveFir(std::vector<float> response) : h_(std::move(response)), ring_(2 * kRing, 0.0f) {}

  void process(const float* in, float* out, int n) {
    const int taps = static_cast<int>(h_.size());
    for (int i = 0; i < n; ++i) {
      position_ = (position_ == 0) ? kRing - 1 : position_ - 1;
      ring_[position_] = in[i];
      ring_[position_ + kRing] = in[i];
      const float* x = ring_.data() + position_;
      float y = 0.0f;
      for (int m = 0; m < taps; ++m) {
        y += h_[m] * x[m];
      }
      out[i] = y;
    }
  }

 private:
  static constexpr int kRing = 32768;
  std::vector<float> h_;
  std::vector<float> ring_;
  int position_ = 0;
};

void naiveLoop(benchmark::State& state, int taps, int block) {
  NaiveFir fir(randomSignal(static_cast<std::size_t>(taps), 1));
  const auto input = randomSignal(static_cast<std::size_t>(block), 2);
  std::vector<float> output(static_cast<std::size_t>(block));
  for (auto _ : state) {
    fir.process(input.data(), output.data(), block);
    benchmark::DoNotOptimize(output.data());
  }
  reportPerSample(state, block);
}

void engineOnTier(benchmark::State& state, FirKernelTier tier, int taps, int block) {
  if (!pinFirKernelTier(tier)) {
    state.SkipWithError("not on this processor");
    return;
  }
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
  unpinFirKernelTier();
  reportPerSample(state, block);
}

// Uniform partitions of the block size, processed in the caller's thread,
// with FFTW plans measured beforehand. The library's smallest partition is
// 64 samples; a partition larger than the block would add latency and a
// worker thread, so smaller blocks get no row.
void partitionedFft(benchmark::State& state, int taps, int block) {
  if (block < static_cast<int>(Convproc::MINPART)) {
    state.SkipWithError("partitions below 64 samples are not supported");
    return;
  }
  const auto size = static_cast<unsigned>(block);
  auto convolver = std::make_unique<Convproc>();
  convolver->set_options(Convproc::OPT_FFTW_MEASURE);
  if (convolver->configure(1, 1, static_cast<unsigned>(taps), size, size, size, 0.0f) != 0) {
    state.SkipWithError("configure failed");
    return;
  }
  auto response = randomSignal(static_cast<std::size_t>(taps), 1);
  convolver->impdata_create(0, 0, 1, response.data(), 0, taps);
  convolver->start_process(0, 0);
  const auto input = randomSignal(static_cast<std::size_t>(block), 2);
  std::vector<float> output(static_cast<std::size_t>(block));
  for (auto _ : state) {
    std::copy(input.begin(), input.end(), convolver->inpdata(0));
    convolver->process(true);
    std::copy(convolver->outdata(0), convolver->outdata(0) + block, output.begin());
    benchmark::DoNotOptimize(output.data());
  }
  convolver->stop_process();
  convolver->cleanup();
  reportPerSample(state, block);
}

void registerRows(int taps, int block) {
  const std::string config = "/taps:" + std::to_string(taps) + "/block:" + std::to_string(block);
  benchmark::RegisterBenchmark(("naive" + config).c_str(), naiveLoop, taps, block)->Unit(benchmark::kMicrosecond);
  for (FirKernelTier tier :
       {FirKernelTier::kReference, FirKernelTier::kSse2, FirKernelTier::kAvx2, FirKernelTier::kAvx512}) {
    benchmark::RegisterBenchmark((std::string(firKernelTierName(tier)) + config).c_str(), engineOnTier, tier, taps,
                                 block)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark(("partitioned-fft" + config).c_str(), partitionedFft, taps, block)
      ->Unit(benchmark::kMicrosecond);
}

// A state restore as the host thread sees it: hand-over included.
void stateHandOver(benchmark::State& state) {
  FirEngine engine;
  const auto response = randomSignal(32768, 3);
  for (auto _ : state) {
    engine.setImpulse(response.data(), 32768);
  }
}

}  // namespace

int main(int argc, char** argv) {
  detectCpuFeatures();
  for (int taps : {256, 1024, 4096, 16384, 32768}) {
    registerRows(taps, 512);
  }
  for (int block : {1, 32, 4096}) {
    registerRows(32768, block);
  }
  benchmark::RegisterBenchmark("state-hand-over", stateHandOver)->Unit(benchmark::kMicrosecond);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
