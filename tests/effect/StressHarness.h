// Runs blocks without pause on one thread while another thread changes the
// effect's state, and checks that every block equals, bit for bit, one of
// the outputs a complete state produces.
//
// The input repeats every block (256 samples, a multiple of 4), so once the
// history is full the window at every block start is the same; each state
// then produces one fixed output block, whatever came before.
#pragma once

#include <atomic>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "effect/ConvolverEffect.h"
#include "tests/support/AllocationCounter.h"

namespace test_support {

constexpr int kStressBlock = 256;
constexpr int kWarmupBlocks = 140;  // more than a full ring of 32768

inline void runBlocks(ConvolverEffect& effect, const std::vector<float>& input, std::vector<float>& output,
                      int blocks) {
  float* in = const_cast<float*>(input.data());
  float* out = output.data();
  for (int b = 0; b < blocks; ++b) {
    effect.processReplacing(&in, &out, kStressBlock);
  }
}

// The output block of a warmed-up effect in the state `setState` leaves.
inline std::vector<float> steadyOutput(const std::vector<float>& input,
                                       const std::function<void(ConvolverEffect&)>& setState) {
  ConvolverEffect effect(nullptr);
  setState(effect);
  std::vector<float> output(kStressBlock);
  runBlocks(effect, input, output, kWarmupBlocks + 1);
  return output;
}

struct StressResult {
  long blocks = 0;
  long mismatches = 0;
  long allocationsOnAudioThread = 0;
  std::vector<long> blocksPerState;
};

// Which complete state an output block belongs to, or -1 for none.
using BlockClassifier = std::function<int(const float* block)>;

inline BlockClassifier matchAny(const std::vector<std::vector<float>>& expected) {
  return [&expected](const float* block) {
    for (std::size_t s = 0; s < expected.size(); ++s) {
      if (std::memcmp(block, expected[s].data(), sizeof(float) * kStressBlock) == 0) {
        return static_cast<int>(s);
      }
    }
    return -1;
  };
}

// `change(i)` runs `changes` times on a thread of its own; the audio thread
// runs until it is done and classifies every output block. After every
// third change the changing thread waits until a block has begun, so that
// each state is heard; the two changes before it follow each other at
// once, so that changes reuse banks while a block that began before them
// may still be running.
inline StressResult runStress(ConvolverEffect& effect, const std::vector<float>& input, int states,
                              const BlockClassifier& classify, int changes, const std::function<void(int)>& change) {
  std::vector<float> warm(kStressBlock);
  runBlocks(effect, input, warm, kWarmupBlocks);

  StressResult result;
  result.blocksPerState.assign(static_cast<std::size_t>(states), 0);
  std::atomic<bool> done{false};
  std::atomic<long> begun{0};
  std::thread audio([&] {
    std::vector<float> output(kStressBlock);
    float* in = const_cast<float*>(input.data());
    float* out = output.data();
    const AllocationCounter counter;
    while (!done.load(std::memory_order_acquire)) {
      begun.fetch_add(1, std::memory_order_relaxed);
      effect.processReplacing(&in, &out, kStressBlock);
      ++result.blocks;
      const int state = classify(output.data());
      if (state >= 0) {
        ++result.blocksPerState[static_cast<std::size_t>(state)];
      } else {
        ++result.mismatches;
      }
    }
    result.allocationsOnAudioThread = counter.count();
  });
  std::thread changer([&] {
    for (int i = 0; i < changes; ++i) {
      change(i);
      if (i % 3 == 2) {
        const long seen = begun.load(std::memory_order_relaxed);
        while (begun.load(std::memory_order_relaxed) == seen) {
          std::this_thread::yield();
        }
      }
    }
    done.store(true, std::memory_order_release);
  });
  changer.join();
  audio.join();
  return result;
}

}  // namespace test_support
