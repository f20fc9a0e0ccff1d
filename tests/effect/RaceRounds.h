// Runs the same race many times. Before each round `reset` runs alone; then
// every body runs at once: the first on the calling thread, the others each
// on a thread of its own that lives for all rounds (so that per-thread
// state, such as the loader's noise generator, carries on as in a host);
// then `check` runs alone. The bodies of a round wait for one another and
// start together.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace test_support {

// Rounds for a race that runs `rounds` times natively: a quarter under
// ThreadSanitizer, which slows every shared access down many times, and in
// Windows builds, whose tests run under Wine here, where every yield and
// clock read costs more.
constexpr int raceRoundsFor(int rounds) {
#if defined(__SANITIZE_THREAD__)
  return rounds / 4;
#elif defined(_WIN32) && !defined(_WIN64)
  // 32-bit builds run through a processor emulator as well.
  return rounds / 10;
#elif defined(_WIN32)
  return rounds / 4;
#else
  return rounds;
#endif
}

// Busy-waits for about `nanoseconds`, to stagger one side of a race.
inline void spinFor(long nanoseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::nanoseconds(nanoseconds);
  while (std::chrono::steady_clock::now() < end) {
  }
}

namespace race_detail {

// Spins until `counter` reaches `target`, yielding now and then so that the
// others can run where processors are few.
inline void spinUntil(const std::atomic<int>& counter, int target) {
  for (long spins = 1; counter.load(std::memory_order_acquire) < target; ++spins) {
    if (spins % 4096 == 0) {
      std::this_thread::yield();
    }
  }
}

}  // namespace race_detail

inline void raceRounds(int rounds, const std::function<void(int)>& reset,
                       const std::vector<std::function<void(int)>>& bodies, const std::function<void(int)>& check) {
  std::atomic<int> started{-1};
  std::atomic<int> arrived{0};
  std::atomic<int> finished{0};
  const int perRound = static_cast<int>(bodies.size());
  auto run = [&](std::size_t b, int round) {
    arrived.fetch_add(1, std::memory_order_acq_rel);
    race_detail::spinUntil(arrived, perRound * (round + 1));
    bodies[b](round);
  };
  std::vector<std::thread> helpers;
  for (std::size_t b = 1; b < bodies.size(); ++b) {
    helpers.emplace_back([&, b] {
      for (int round = 0; round < rounds; ++round) {
        race_detail::spinUntil(started, round);
        run(b, round);
        finished.fetch_add(1, std::memory_order_acq_rel);
      }
    });
  }
  const int helpersPerRound = perRound - 1;
  for (int round = 0; round < rounds; ++round) {
    reset(round);
    started.store(round, std::memory_order_release);
    run(0, round);
    while (finished.load(std::memory_order_acquire) < helpersPerRound * (round + 1)) {
      std::this_thread::yield();
    }
    check(round);
  }
  for (std::thread& helper : helpers) {
    helper.join();
  }
}

}  // namespace test_support
