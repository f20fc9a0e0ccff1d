// Parameter changes, state restores, file loads and state saves from
// several threads at once: afterwards the value a host reads back, the
// saved state block and the setting the audio uses agree, and every saved
// block is one that a single step produced. A writer never waits for a
// block that does not end.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "effect/ConvolverEffect.h"
#include "engine/ParameterMapping.h"
#include "tests/effect/RaceRounds.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WaveFiles.h"

namespace {

using namespace test_support;
namespace pm = parameter_mapping;

struct SavedState {
  std::string path;
  float parameters[kParameterCount] = {};
  std::vector<float> samples;
  bool loaded = false;
};

SavedState save(ConvolverEffect& effect) {
  void* data = nullptr;
  SavedState saved;
  if (effect.getChunk(&data, false) != kStateChunkSize) {
    ADD_FAILURE() << "getChunk refused";
    return saved;
  }
  StateChunk chunk;
  std::memcpy(&chunk, data, sizeof(chunk));
  saved.path.assign(chunk.impulsePath, strnlen(chunk.impulsePath, kImpulsePathSize));
  std::memcpy(saved.parameters, chunk.parameterValues, sizeof(saved.parameters));
  saved.samples.assign(chunk.impulseSamples, chunk.impulseSamples + kChunkSampleCount);
  saved.loaded = chunk.impulseLoaded != 0;
  return saved;
}

std::vector<unsigned char> makeChunk(const char* path, const std::vector<float>& samples,
                                     const std::vector<float>& parameters) {
  StateChunk chunk{};
  std::strcpy(chunk.impulsePath, path);
  std::memcpy(chunk.parameterValues, parameters.data(), sizeof(chunk.parameterValues));
  std::memcpy(chunk.impulseSamples, samples.data(), samples.size() * sizeof(float));
  chunk.impulseLoaded = 1;
  std::vector<unsigned char> bytes(sizeof(chunk));
  std::memcpy(bytes.data(), &chunk, sizeof(chunk));
  return bytes;
}

void restore(ConvolverEffect& effect, std::vector<unsigned char>& chunk) {
  ASSERT_EQ(effect.setChunk(chunk.data(), kStateChunkSize, false), kStateChunkSize);
}

std::vector<float> padded(std::vector<float> samples) {
  samples.resize(kChunkSampleCount, 0.0f);
  return samples;
}

// The "FIR Length" value a load of the file sets.
float effectLengthOf(const std::string& path) {
  ConvolverEffect effect(nullptr);
  EXPECT_TRUE(effect.loadImpulseResponse(test_support::nativeName(path)));
  return effect.getParameter(2);
}

// Empty when getParameter, the engine's settings and the saved block all
// tell the same values; otherwise what differs.
std::string disagreement(ConvolverEffect& effect, const SavedState& saved) {
  std::ostringstream problems;
  float p[kParameterCount];
  for (int k = 0; k < kParameterCount; ++k) {
    p[k] = effect.getParameter(k);
    if (std::memcmp(&p[k], &saved.parameters[k], sizeof(float)) != 0) {
      problems << "parameter " << k << " reads " << p[k] << ", saved " << saved.parameters[k] << "; ";
    }
  }
  FirEngine& engine = effect.engine();
  if (engine.mix() != p[0]) {
    problems << "mix " << engine.mix() << " for " << p[0] << "; ";
  }
  if (engine.gain() != pm::gainFromParameter(p[1])) {
    problems << "gain " << engine.gain() << " for " << p[1] << "; ";
  }
  if (engine.lengthTaps() != pm::tapsFromLength(pm::clampUnit(p[2]))) {
    problems << engine.lengthTaps() << " taps for " << p[2] << "; ";
  }
  if (engine.isBypassed() != (p[3] > 0.0f)) {
    problems << "bypass " << engine.isBypassed() << " for " << p[3] << "; ";
  }
  return problems.str();
}

// Counts the rounds with a problem and prints the first few.
struct Tally {
  int rounds = 0;
  int bad = 0;
  void note(int round, const std::string& problem) {
    ++rounds;
    if (problem.empty()) {
      return;
    }
    if (++bad <= 3) {
      ADD_FAILURE() << "round " << round << ": " << problem;
    }
  }
};

// Two threads change the same parameters without pause, each alternating
// between two values of its own; the first stops after a few microseconds
// and the second as soon as it sees that, wherever it is, so that their
// last changes meet in every way.
TEST(SettingsRace, SettersOnTwoThreadsLeaveOneValueForReadersAudioAndSavedState) {
  ConvolverEffect effect(nullptr);
  constexpr int kRounds = raceRoundsFor(1000);
  const float values[2][2][3] = {{{0.2f, 0.3f, 0.25f}, {0.21f, 0.31f, 0.26f}},
                                 {{0.8f, 0.6f, 0.75f}, {0.81f, 0.61f, 0.76f}}};
  std::atomic<bool> stop{false};
  auto leader = [&](int) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(3);
    for (int i = 0; i == 0 || std::chrono::steady_clock::now() < end; ++i) {
      const float* v = values[0][i % 2];
      effect.setParameter(2, v[2]);
      effect.setParameter(1, v[1]);
      effect.setParameter(0, v[0]);
    }
    stop = true;
  };
  auto follower = [&](int) {
    for (int i = 0; !stop.load(); ++i) {
      const float* v = values[1][i % 2];
      for (int k : {2, 1, 0}) {
        if (stop.load()) {
          break;
        }
        effect.setParameter(k, v[k]);
      }
    }
  };
  auto written = [&](int k, float value) {
    for (const auto& side : values) {
      for (const auto& v : side) {
        if (v[k] == value) {
          return true;
        }
      }
    }
    return false;
  };
  Tally tally;
  raceRounds(
      kRounds,
      [&](int) {
        stop = false;
        effect.setParameter(0, 0.5f);
        effect.setParameter(1, 0.5f);
        effect.setParameter(2, 0.5f);
      },
      {leader, follower},
      [&](int round) {
        const SavedState saved = save(effect);
        std::string problem = disagreement(effect, saved);
        const float* p = saved.parameters;
        if (!written(0, p[0]) || !written(1, p[1]) || !written(2, p[2])) {
          problem += "a value neither setter wrote; ";
        }
        // Setting the same value again must not be needed to repair anything.
        effect.setParameter(2, p[2]);
        if (effect.engine().lengthTaps() != pm::tapsFromLength(p[2])) {
          problem += "the length stays wrong; ";
        }
        tally.note(round, problem);
      });
  EXPECT_EQ(tally.bad, 0) << "of " << tally.rounds << " rounds";
}

class SettingsRaceWithStates : public ::testing::Test {
 protected:
  void SetUp() override {
    before_ = makeChunk("before.wav", noise(700, 1), {0.9f, 0.9f, 0.9f, 0.0f, 0.0f});
    restored_ = makeChunk("restored.wav", noise(900, 2), {0.1f, 0.2f, 0.3f, 0.0f, 1.0f});
    restoredSamples_ = padded(noise(900, 2));
    fileSamples_ = noise(300, 3);
    for (std::size_t i = 0; i < fileSamples_.size(); ++i) {
      fileSamples_[i] *= 1.0f - static_cast<float>(i) / 300.0f;
    }
    writeFile(dir_.file("file.wav"), floatWave(fileSamples_));
    fileSamples_ = padded(fileSamples_);
    filePath_ = nativePath(dir_.file("file.wav"));
  }

  // The "Out gain" values of `loads` loads of `path` made one after another
  // on a fresh thread, as the racing loader thread will make them.
  static std::vector<float> automaticGains(const std::string& path, int loads) {
    std::vector<float> gains;
    std::thread dryRun([&] {
      ConvolverEffect effect(nullptr);
      for (int i = 0; i < loads; ++i) {
        effect.loadImpulseResponse(test_support::nativeName(path));
        gains.push_back(effect.getParameter(1));
      }
    });
    dryRun.join();
    return gains;
  }

  TempDir dir_;
  std::vector<unsigned char> before_;
  std::vector<unsigned char> restored_;
  std::vector<float> restoredSamples_;
  std::vector<float> fileSamples_;
  std::string filePath_;
};

TEST_F(SettingsRaceWithStates, ASetterRacingARestoreComesEntirelyBeforeOrAfterIt) {
  ConvolverEffect effect(nullptr);
  constexpr int kRounds = raceRoundsFor(1000);
  Tally tally;
  // How long a restore takes here, measured on the restore before each round.
  std::chrono::nanoseconds restoreTime{0};
  raceRounds(
      kRounds,
      [&](int) {
        const auto start = std::chrono::steady_clock::now();
        restore(effect, before_);
        restoreTime = std::chrono::steady_clock::now() - start;
      },
      // The setter changes the gain without pause and stops at a different
      // moment of the second half of the restore each round.
      {[&](int) { restore(effect, restored_); },
       [&](int round) {
         const auto end =
             std::chrono::steady_clock::now() + restoreTime / 2 + restoreTime * (round * 7919 % 1000) / 1600;
         for (int i = 0; i == 0 || std::chrono::steady_clock::now() < end; ++i) {
           effect.setParameter(1, i % 2 == 0 ? 0.55f : 0.45f);
         }
       }},
      [&](int round) {
        const SavedState saved = save(effect);
        std::string problem = disagreement(effect, saved);
        const float* p = saved.parameters;
        if (saved.path != "restored.wav" || saved.samples != restoredSamples_ || p[0] != 0.1f || p[2] != 0.3f ||
            p[3] != 0.0f || p[4] != 1.0f || (p[1] != 0.2f && p[1] != 0.55f && p[1] != 0.45f)) {
          problem += "not the restored state with or without the setter's gain; ";
        }
        tally.note(round, problem);
      });
  EXPECT_EQ(tally.bad, 0) << "of " << tally.rounds << " rounds";
}

TEST_F(SettingsRaceWithStates, ARestoreRacingALoadLeavesOneOfTheTwoOrders) {
  constexpr int kRounds = raceRoundsFor(1000);
  const std::vector<float> gains = automaticGains(filePath_, kRounds);
  const float fileLength = effectLengthOf(filePath_);
  ConvolverEffect effect(nullptr);
  Tally tally;
  int loadLast = 0;
  raceRounds(
      kRounds, [&](int) { restore(effect, before_); },
      // The restore starts at a different moment of the load each round.
      {[&](int round) {
         spinFor(static_cast<long>(round * 7919 % 800) * 100);
         restore(effect, restored_);
       },
       [&](int) { ASSERT_TRUE(effect.loadImpulseResponse(test_support::nativeName(filePath_))); }},
      [&](int round) {
        const SavedState saved = save(effect);
        std::string problem = disagreement(effect, saved);
        const float* p = saved.parameters;
        const bool restoreLast = saved.path == "restored.wav" && saved.samples == restoredSamples_ && p[0] == 0.1f &&
                                 p[1] == 0.2f && p[2] == 0.3f && p[3] == 0.0f && p[4] == 1.0f;
        // Loaded after the restore: the file's samples, path, length and
        // gain with the restored mix and switches.
        const bool fileLast = saved.path == filePath_ && saved.samples == fileSamples_ && p[0] == 0.1f &&
                              p[1] == gains[static_cast<std::size_t>(round)] && p[2] == fileLength && p[3] == 0.0f &&
                              p[4] == 1.0f;
        if (!restoreLast && !fileLast) {
          problem += "neither order: path " + saved.path + ", samples of " +
                     (saved.samples == fileSamples_ ? "the file" : "the block") + "; ";
        }
        loadLast += fileLast ? 1 : 0;
        tally.note(round, problem);
      });
  std::printf("%d of %d rounds ended with the load\n", loadLast, kRounds);
  EXPECT_EQ(tally.bad, 0) << "of " << tally.rounds << " rounds";
}

TEST_F(SettingsRaceWithStates, EveryBlockSavedDuringLoadsIsOneLoadsResult) {
  std::vector<float> other = noise(500, 4);
  writeFile(dir_.file("other.wav"), floatWave(other));
  const std::string otherPath = nativePath(dir_.file("other.wav"));
  other = padded(other);
  constexpr int kLoads = raceRoundsFor(1000);
  const std::string files[] = {filePath_, otherPath};
  const std::vector<float>* samples[] = {&fileSamples_, &other};
  const float lengths[] = {effectLengthOf(files[0]), effectLengthOf(files[1])};

  // The gains each file gets on the loader thread, in load order.
  std::set<float> gains[2];
  std::thread dryRun([&] {
    ConvolverEffect effect(nullptr);
    for (int i = 0; i < kLoads; ++i) {
      effect.loadImpulseResponse(test_support::nativeName(files[i % 2]));
      gains[i % 2].insert(effect.getParameter(1));
    }
  });
  dryRun.join();

  ConvolverEffect effect(nullptr);
  restore(effect, before_);
  effect.setParameter(0, 0.7f);
  std::atomic<bool> done{false};
  std::thread loader([&] {
    for (int i = 0; i < kLoads; ++i) {
      EXPECT_TRUE(effect.loadImpulseResponse(test_support::nativeName(files[i % 2])));
    }
    done = true;
  });
  Tally tally;
  std::set<std::string> seen;
  while (!done.load()) {
    const SavedState saved = save(effect);
    if (saved.path == "before.wav") {
      tally.note(tally.rounds, saved.parameters[2] == 0.9f ? "" : "the state before with another length");
      continue;
    }
    const int f = saved.path == files[0] ? 0 : saved.path == files[1] ? 1 : -1;
    std::string problem;
    if (f < 0) {
      problem = "unknown path " + saved.path;
    } else if (saved.samples != *samples[f] || saved.parameters[2] != lengths[f] ||
               gains[f].count(saved.parameters[1]) == 0 || saved.parameters[0] != 0.7f || !saved.loaded) {
      problem = "the path of " + saved.path + " with samples, length or gain of another state";
    } else {
      seen.insert(saved.path);
    }
    tally.note(tally.rounds, problem);
  }
  loader.join();
  std::printf("%d blocks saved during %d loads\n", tally.rounds, kLoads);
  EXPECT_EQ(tally.bad, 0) << "of " << tally.rounds << " saved blocks";
  EXPECT_EQ(seen.size(), 2u);
}

// A block that does not end (a debugger, a host that stopped its audio
// thread inside a call) holds its response for a second: restores go on
// without waiting for it or burning processor time, state saves answer at
// once, and the next block after it uses the last restored state.
TEST_F(SettingsRaceWithStates, AHeldBlockDelaysNeitherWritersNorStateSaves) {
  ConvolverEffect effect(nullptr);
  restore(effect, before_);
  std::atomic<bool> holding{false};
  std::atomic<bool> released{false};
  std::thread audio([&] {
    const FirEngine::Block block = effect.engine().beginBlock();
    holding = true;
    std::this_thread::sleep_for(std::chrono::seconds(1));
    released = true;
  });
  while (!holding.load()) {
    std::this_thread::yield();
  }
  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = threadCpuSeconds();
  for (int i = 0; i < 6; ++i) {
    restore(effect, i % 2 == 0 ? restored_ : before_);
  }
  const SavedState saved = save(effect);
  const double cpu = threadCpuSeconds() - cpuStart;
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_FALSE(released.load()) << "the writes waited for the held block";
  EXPECT_LT(wall, 0.5);
  EXPECT_LT(cpu, 0.1);
  EXPECT_EQ(saved.path, "before.wav");
  audio.join();
  std::printf("six restores and a save beside a held block: %.1f ms, %.1f ms of processor time\n", wall * 1e3,
              cpu * 1e3);

  restore(effect, restored_);
  std::vector<float> input(64, 0.25f);
  std::vector<float> output(64, 0.0f);
  float* in = input.data();
  float* out = output.data();
  effect.setParameter(3, 1.0f);  // bypassed: the block copies the input
  effect.processReplacing(&in, &out, 64);
  EXPECT_EQ(output, input);
}

}  // namespace
