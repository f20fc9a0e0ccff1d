// Direct (time-domain) FIR convolution of one mono stream with a response
// of up to 32768 taps, mixed with the dry signal. No latency: output[i]
// already contains the contribution of input[i].
//
// Threading:
// - Audio thread: beginBlock / process. No allocation, lock, wait or
//   system call. A block reads every setting once, at its start.
// - Any thread: the parameter setters (single atomic stores into both
//   banks; a change takes effect at the next block boundary).
// - Host and editor threads: setImpulse, setLoaded, loadImpulseFile,
//   trimLength, normalizeGain and ResponseUpdate. Each prepares the spare
//   bank and hands it over at a block boundary (BankExchange); they may
//   wait for a running block, never the other way round.
//
// Kernels: whole groups of four samples go to the batch kernel of the
// active tier (FirKernelTier, FirBatch), the others one at a time to
// firDotProduct; both give the same bits.
//
// Memory: the history (256 KiB) and two banks of four phase copies
// (2 x 512 KiB), all allocated by the constructor.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/AlignedBuffer.h"
#include "engine/BankExchange.h"
#include "engine/ParameterMapping.h"
#include "engine/RateAwareProcessor.h"
#include "engine/ResponseBank.h"

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
  // Changes neither taps, gain nor the loaded state.
  void setImpulse(const float* samples, int count);
  void setLoaded(bool loaded);
  // Reads one channel of a wave file and prepares it: automatic length and
  // gain. False, with the engine unchanged, when the file cannot be read.
  bool loadImpulseFile(const char* path, int channel);
  void trimLength(int frames);
  void normalizeGain();

  void setMix(float x);
  void setGainParameter(float x);
  void setLengthParameter(float x);
  void setLengthTaps(int n);
  void setBypass(bool bypassed);

  float mix() const;
  float gain() const;
  float lengthParameter() const;
  float gainParameter() const;
  float gainDecibels() const;
  int lengthTaps() const;
  bool isLoaded() const;
  bool isBypassed() const;

  // Copy 0 of the active bank: 32768 samples. Valid until the next hand-over;
  // for a copy that cannot tear while another thread loads, use
  // copyImpulseSamples, which answers the loaded state of the same response.
  const float* impulseSamples() const;
  bool copyImpulseSamples(float* destination);

  // One host block's view of the engine: the bank and the settings as they
  // were when the block started. Audio thread only.
  class Block {
   public:
    ~Block() { engine_.exchange_.leaveBlock(); }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    bool bypassed() const { return bypassed_; }

   private:
    friend class FirEngine;
    explicit Block(FirEngine& engine);
    FirEngine& engine_;
    const ResponseBank* bank_ = nullptr;
    float gain_ = 0.0f;
    float mix_ = 0.0f;
    std::int32_t taps_ = 0;
    bool loaded_ = false;
    bool bypassed_ = false;
  };

  Block beginBlock() { return Block(*this); }
  // Filters n samples; replacing overwrites the output, otherwise the result
  // is added to it. Input and output may be the same buffer. Writes nothing
  // when n < 1, fewer than 16 taps are set, there is no SSE or no response.
  void process(const Block& block, const float* input, float* output, int n, bool replacing);
  void process(const float* input, float* output, int n, bool replacing);

 private:
  friend class ResponseUpdate;

  const ResponseBank& activeBank() const { return banks_[exchange_.activeBank()]; }
  template <typename Apply>
  void applyToBanks(Apply apply);
  // Writer side: the active bank's settings, without a change in between.
  void copySettingsInto(ResponseBank& target) const;

  AlignedBuffer historyAllocation_;
  float* history_;
  int writePosition_ = 0;
  AlignedBuffer phaseAllocation_;
  ResponseBank banks_[BankExchange::kBankCount];
  BankExchange exchange_;
  std::uint64_t lastSamplesVersion_ = 0;
  std::atomic<int> settersActive_{0};
  std::atomic<std::uint32_t> settersDone_{0};
};
