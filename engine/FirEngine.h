// Direct (time-domain) FIR convolution of one mono stream with a response
// of up to 32768 taps, mixed with the dry signal. No latency: output[i]
// already contains the contribution of input[i].
//
// Settings: the engine keeps the five normalised parameter values (mix,
// gain, length, bypass and the second switch) and nothing else; gain, tap
// count and bypass are derived from them where they are used
// (EngineSettings), so no two stored values can disagree. A value the host
// sets lives in a stamped slot; a load or restore writes its values into
// the bank it publishes, and readers use whichever is newer (StampedValue).
//
// Threading:
// - Audio thread: beginBlock / process. No allocation, lock, wait or
//   system call. A block reads every setting once, at its start, together
//   with the bank it uses.
// - Any thread: setParameter and the named setters (one atomic store,
//   repeated only when a hand-over was published meanwhile), and the
//   getters.
// - Host and editor threads: setImpulse, setLoaded, loadImpulseFile,
//   trimLength, normalizeGain, snapshot and ResponseUpdate. Each prepares
//   a spare bank and publishes it at once; they wait for one another,
//   never for the audio thread.
//
// Kernels: whole groups of four samples go to the batch kernel of the
// active tier (FirKernelTier, FirBatch), the others one at a time to
// firDotProduct; both give the same bits.
//
// Memory: the history (256 KiB) and three banks of four phase copies
// (3 x 512 KiB), all allocated by the constructor.
#pragma once

#include <cstdint>
#include <string>

#include "desktop/NativePath.h"
#include "engine/AlignedBuffer.h"
#include "engine/BankExchange.h"
#include "engine/EngineSettings.h"
#include "engine/ParameterMapping.h"
#include "engine/RateAwareProcessor.h"
#include "engine/ResponseBank.h"

// Everything a saved state holds apart from the samples.
struct EngineSnapshot {
  char path[ResponseBank::kPathSize];
  float parameters[parameter_mapping::kParameterCount];
  bool loaded;
};

class FirEngine : public RateAwareProcessor {
 public:
  static constexpr int kMaxTaps = parameter_mapping::kMaxTaps;
  static constexpr int kTapGranularity = parameter_mapping::kTapGranularity;
  // The history holds as many samples as the longest response has taps.
  static constexpr int kHistoryLength = kMaxTaps;
  static constexpr int kMaxFileFrames = kMaxTaps;

  FirEngine();
  ~FirEngine() override;

  // Replaces the response in all copies (null or count <= 0: silence).
  // Changes neither the parameters nor the loaded state.
  void setImpulse(const float* samples, int count);
  void setLoaded(bool loaded);
  // Reads one channel of a wave file and publishes it with its path, its
  // automatic length and gain, loaded, in one step. False, with the engine
  // unchanged, when the file cannot be read.
  bool loadImpulseFile(const NativePath& path, int channel);
  void trimLength(int frames);
  void normalizeGain();

  // The normalised parameter values, stored exactly as given.
  void setParameter(int index, float value);
  float parameter(int index) const;
  void setMix(float x) { setParameter(parameter_mapping::kMixIndex, x); }
  void setGainParameter(float x) { setParameter(parameter_mapping::kGainIndex, x); }
  void setLengthParameter(float x) { setParameter(parameter_mapping::kLengthIndex, x); }
  // n clamped to 0 ... 32768 and kept as its length fraction: the tap count
  // is then n rounded down to a multiple of 16.
  void setLengthTaps(int n);

  float mix() const;
  float gain() const;
  // The length parameter clamped to 0 ... 1.
  float lengthParameter() const;
  float gainParameter() const;
  float gainDecibels() const;
  int lengthTaps() const;
  bool isLoaded() const;
  bool isBypassed() const;
  // The path stored with the active response.
  std::string impulsePath() const;

  // Copy 0 of the active bank: 32768 samples. Valid until the next
  // hand-over but one; for a copy that cannot tear while another thread
  // loads, use snapshot.
  const float* impulseSamples() const;
  // The active response's 32768 samples into `samples`, and its path,
  // parameter values and loaded state, all as one step left them (a
  // parameter change overlapping the copy is taken whole or not at all).
  void snapshot(EngineSnapshot& state, float* samples);

  // One host block's view of the engine: the bank and the settings as they
  // were when the block started. Audio thread only.
  class Block {
   public:
    ~Block() { engine_.exchange_.leaveBlock(); }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    bool bypassed() const { return settings_.bypassed; }

   private:
    friend class FirEngine;
    explicit Block(FirEngine& engine);
    FirEngine& engine_;
    const ResponseBank* bank_ = nullptr;
    EngineSettings settings_;
    bool loaded_ = false;
  };

  Block beginBlock() { return Block(*this); }
  // Filters n samples; replacing overwrites the output, otherwise the result
  // is added to it. Input and output may be the same buffer. Writes nothing
  // when n < 1, fewer than 16 taps are set, there is no SSE or no response.
  void process(const Block& block, const float* input, float* output, int n, bool replacing);
  void process(const float* input, float* output, int n, bool replacing);

 private:
  friend class ResponseUpdate;
  using Values = float[parameter_mapping::kParameterCount];

  // The values in force under the bank of `word`.
  void readValues(std::uint32_t word, Values& values) const;
  // The values in force now, from any thread.
  void currentValues(Values& values) const;
  EngineSettings currentSettings() const;
  const ResponseBank& activeBank() const { return banks_[BankExchange::bankOf(exchange_.activeWord())]; }

  AlignedBuffer historyAllocation_;
  float* history_;
  int writePosition_ = 0;
  AlignedBuffer phaseAllocation_;
  ResponseBank banks_[BankExchange::kBankCount];
  BankExchange exchange_;
  // The values hosts and the editor set, each with the stamp of the
  // publication that was current when it was set.
  AtomicStampedValue hostValues_[parameter_mapping::kParameterCount] = {};
  std::uint64_t lastSamplesVersion_ = 0;
};
