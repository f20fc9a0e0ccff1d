#include "engine/FirEngine.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <thread>

#include "engine/ParameterMapping.h"
#include "engine/ResponseBankPreparation.h"
#include "engine/ResponseUpdate.h"
#include "engine/cpu/CpuFeatures.h"
#include "engine/kernel/FirBatch.h"
#include "engine/kernel/FirKernel.h"
#include "engine/kernel/FirKernelTier.h"
#include "engine/kernel/OrderedFloatOps.h"
#include "wavefile/WaveReader.h"

namespace {

constexpr std::size_t kHistoryFloats = 2 * FirEngine::kHistoryLength;
constexpr std::size_t kBankFloats = ResponseBank::kPhaseCount * ResponseBank::kPhaseStride;
// History and both banks: about 1.25 MiB per instance.
static_assert((kHistoryFloats + BankExchange::kBankCount * kBankFloats) * sizeof(float) < 2 * 1024 * 1024,
              "an engine stays under 2 MiB");

}  // namespace

FirEngine::FirEngine()
    : historyAllocation_(kHistoryFloats * sizeof(float)),
      history_(historyAllocation_.floats()),
      phaseAllocation_(BankExchange::kBankCount * kBankFloats * sizeof(float)) {
  std::memset(history_, 0, kHistoryFloats * sizeof(float));
  float* copies = phaseAllocation_.floats();
  std::memset(copies, 0, BankExchange::kBankCount * kBankFloats * sizeof(float));
  for (ResponseBank& bank : banks_) {
    for (float*& copy : bank.phase) {
      copy = copies;
      copies += ResponseBank::kPhaseStride;
    }
  }
  registerInstance();
}

FirEngine::~FirEngine() { unregisterInstance(); }

void FirEngine::setImpulse(const float* samples, int count) {
  ResponseUpdate update(*this);
  update.setImpulse(samples, count);
  update.commit();
}

void FirEngine::setLoaded(bool loaded) {
  ResponseUpdate update(*this);
  update.bank().loaded.store(loaded, std::memory_order_relaxed);
  update.commit();
}

// A setting goes to both banks. While it does, settersActive_ is non-zero,
// and settersDone_ counts it once finished, so that a writer copying the
// settings into its spare bank can tell that a change overlapped the copy
// (and copy again) instead of publishing a bank that missed it.
template <typename Apply>
void FirEngine::applyToBanks(Apply apply) {
  settersActive_.fetch_add(1);
  for (ResponseBank& bank : banks_) {
    apply(bank);
  }
  settersDone_.fetch_add(1);
  settersActive_.fetch_sub(1);
}

void FirEngine::copySettingsInto(ResponseBank& target) const {
  const ResponseBank& source = activeBank();
  for (;;) {
    while (settersActive_.load() != 0) {
      std::this_thread::yield();
    }
    const std::uint32_t before = settersDone_.load();
    target.copySettingsFrom(source);
    if (settersActive_.load() == 0 && settersDone_.load() == before) {
      return;
    }
  }
}

void FirEngine::setMix(float x) {
  applyToBanks([x](ResponseBank& bank) { bank.setMix(x); });
}

void FirEngine::setGainParameter(float x) {
  applyToBanks([x](ResponseBank& bank) { bank.setGainParameter(x); });
}

void FirEngine::setLengthParameter(float x) {
  applyToBanks([x](ResponseBank& bank) { bank.setLengthParameter(x); });
}

void FirEngine::setLengthTaps(int n) {
  applyToBanks([n](ResponseBank& bank) { bank.setLengthTaps(n); });
}

void FirEngine::setBypass(bool bypassed) {
  applyToBanks([bypassed](ResponseBank& bank) { bank.setBypass(bypassed); });
}

float FirEngine::mix() const { return activeBank().mix.load(std::memory_order_relaxed); }
float FirEngine::gain() const { return activeBank().gain.load(std::memory_order_relaxed); }
float FirEngine::lengthParameter() const { return activeBank().lengthFraction.load(std::memory_order_relaxed); }
float FirEngine::gainParameter() const { return activeBank().gainParameter(); }
float FirEngine::gainDecibels() const { return parameter_mapping::decibelsFromGain(gain()); }
int FirEngine::lengthTaps() const { return activeBank().taps.load(std::memory_order_relaxed); }
bool FirEngine::isLoaded() const { return activeBank().loaded.load(std::memory_order_relaxed); }
bool FirEngine::isBypassed() const { return activeBank().bypassed.load(std::memory_order_relaxed); }
const float* FirEngine::impulseSamples() const { return activeBank().phase[0]; }

bool FirEngine::copyImpulseSamples(float* destination) {
  std::lock_guard lock(exchange_.writerMutex());
  const ResponseBank& bank = activeBank();
  std::memcpy(destination, bank.phase[0], sizeof(float) * kMaxTaps);
  return bank.loaded.load(std::memory_order_relaxed);
}

FirEngine::Block::Block(FirEngine& engine) : engine_(engine) {
  // Parameter changes write the settings of both banks, the retiring one
  // included. A block that took a bank just before a switch could otherwise
  // read settings written after it: it reads them again from the new bank
  // until the bank it read is still the active one afterwards. All loads
  // are sequentially consistent, so no setting written after the switch
  // can be read before the check.
  int index = engine.exchange_.enterBlock();
  for (;;) {
    const ResponseBank& bank = engine.banks_[index];
    bank_ = &bank;
    gain_ = bank.gain.load();
    mix_ = bank.mix.load();
    taps_ = bank.taps.load();
    loaded_ = bank.loaded.load();
    bypassed_ = bank.bypassed.load();
    const int active = engine.exchange_.activeBankNow();
    if (active == index) {
      break;
    }
    index = active;
  }
}

void FirEngine::process(const float* input, float* output, int n, bool replacing) {
  const Block block = beginBlock();
  process(block, input, output, n, replacing);
}

namespace {

FirBatchKernel batchKernelFor(FirKernelTier tier) {
  switch (tier) {
    case FirKernelTier::kSse2:
      return &firBatchSse2;
    case FirKernelTier::kAvx2:
      return &firBatchAvx2;
    case FirKernelTier::kAvx512:
      return &firBatchAvx512;
    case FirKernelTier::kReference:
      break;
  }
  return nullptr;
}

}  // namespace

void FirEngine::process(const Block& block, const float* input, float* output, int n, bool replacing) {
  if (n < 1 || block.taps_ < kTapGranularity || !block.loaded_ ||
      !cpuFeatures().hasSse.load(std::memory_order_relaxed)) {
    return;
  }
  const float wet = static_cast<float>(static_cast<double>(block.mix_) * static_cast<double>(block.gain_));
  const float dry = static_cast<float>((1.0 - static_cast<double>(block.mix_)) * static_cast<double>(block.gain_));
  const int taps = block.taps_;
  const float* const* copies = block.bank_->phase;
  float* history = history_;
  const FirBatchKernel batchKernel = batchKernelFor(activeFirKernelTier());
  int w = writePosition_;
  // v = (y * wet) + (x * dry), replacing or added to what the output held.
  const auto emit = [=](int index, float x, float y) {
    const float v = addOrdered(mulOrdered(y, wet), mulOrdered(x, dry));
    output[index] = replacing ? v : addOrdered(output[index], v);
  };

  int i = 0;
  while (i < n) {
    // Whole groups go to the batch kernel: the next sample must start a
    // 16-byte line (its position is 3 mod 4), and the batch ends at the
    // bottom of the ring so that no window wraps within it.
    if (batchKernel != nullptr && (w & 3) == 0 && n - i >= 4) {
      const int top = (w == 0) ? kHistoryLength : w;
      const int groups = std::min({(n - i) / 4, top / 4, kFirBatchMaxGroups});
      const int count = 4 * groups;
      for (int s = 0; s < count; ++s) {
        history[top - 1 - s] = input[i + s];
      }
      float y[4 * kFirBatchMaxGroups];
      batchKernel(FirBatch{history, kHistoryLength, top, groups, taps, copies, y});
      for (int s = 0; s < count; ++s) {
        const float x = history[top - 1 - s];
        history[top - 1 - s + kHistoryLength] = x;
        emit(i + s, x, y[s]);
      }
      i += count;
      w = top - count;
      continue;
    }
    const float x = input[i];
    w = (w == 0) ? kHistoryLength - 1 : w - 1;
    history[w] = x;
    history[w + kHistoryLength] = x;
    emit(i, x, firDotProduct(history, w, taps, copies));
    ++i;
  }
  writePosition_ = w;
}

void FirEngine::trimLength(int frames) {
  ResponseUpdate update(*this);
  update.keepSamples();
  impulse_preparation::trimLength(update.bank(), frames);
  update.commit();
}

void FirEngine::normalizeGain() {
  ResponseUpdate update(*this);
  update.keepSamples();
  impulse_preparation::normalizeGain(update.bank());
  update.commit();
}

bool FirEngine::loadImpulseFile(const char* path, int channel) {
  WaveReader reader;
  if (path == nullptr || !reader.open(path)) {
    return false;
  }
  const int channels = reader.format().nChannels;
  if (channels < 1) {
    return false;
  }
  channel = std::clamp(channel, 0, channels - 1);

  // The whole file is read and converted before the engine is touched, so
  // the audio thread keeps the old response meanwhile.
  std::unique_ptr<float[]> frames(new (std::nothrow) float[static_cast<std::size_t>(channels) * kMaxFileFrames]);
  if (!frames) {
    return false;
  }
  const int count = std::max(reader.readFrames(frames.get(), kMaxFileFrames), 0);
  reader.close();

  ResponseUpdate update(*this);
  update.setImpulse(nullptr, 0);
  ResponseBank& bank = update.bank();
  for (int i = 0; i < count; ++i) {
    const float sample = frames[static_cast<std::size_t>(channel) + static_cast<std::size_t>(i) * channels];
    for (int k = 0; k < ResponseBank::kPhaseCount; ++k) {
      bank.phase[k][i + k] = sample;
    }
  }
  frames.reset();
  impulse_preparation::trimLength(bank, count);
  impulse_preparation::normalizeGain(bank);
  bank.loaded.store(true, std::memory_order_relaxed);
  update.commit();
  return true;
}
