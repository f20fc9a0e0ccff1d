#include "engine/FirEngine.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <thread>

#include "desktop/PathText.h"
#include "engine/ResponseBankPreparation.h"
#include "engine/ResponseUpdate.h"
#include "engine/SignalBounds.h"
#include "engine/cpu/CpuFeatures.h"
#include "engine/kernel/FirBatch.h"
#include "engine/kernel/FirKernel.h"
#include "engine/kernel/FirKernelTier.h"
#include "engine/kernel/OrderedFloatOps.h"
#include "wavefile/WaveReader.h"

namespace {

constexpr std::size_t kHistoryFloats = 2 * FirEngine::kHistoryLength;
constexpr std::size_t kBankFloats = ResponseBank::kPhaseCount * ResponseBank::kPhaseStride;
// History and the three banks: about 1.75 MiB per instance.
static_assert((kHistoryFloats + BankExchange::kBankCount * kBankFloats) * sizeof(float) < 2 * 1024 * 1024,
              "an engine stays under 2 MiB");

namespace pm = parameter_mapping;

// A bare engine: mix 0.5, unity gain within single precision, no taps.
constexpr float kEngineDefaults[pm::kParameterCount] = {0.5f, 0.70710677f, 0.0f, 0.0f, 0.0f};
// Rounds a snapshot waits for parameter changes in progress to settle
// before it takes the last values it read (each of them one a host set).
constexpr int kSnapshotRounds = 1000;

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
    for (int k = 0; k < pm::kParameterCount; ++k) {
      bank.parameters[k].store(StampedValue{kEngineDefaults[k], 0}.bits(), std::memory_order_relaxed);
    }
  }
  for (int k = 0; k < pm::kParameterCount; ++k) {
    hostValues_[k].store(StampedValue{kEngineDefaults[k], 0}.bits(), std::memory_order_relaxed);
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
  update.setLoaded(loaded);
  update.commit();
}

// One store, stamped with the publication current when it is made. When a
// hand-over was published meanwhile, the store may have come too late for
// the bank that hand-over prepared (whose own values would then win), so
// it is repeated under the new stamp; each repetition needs another
// complete hand-over by another thread.
void FirEngine::setParameter(int index, float value) {
  if (index < 0 || index >= pm::kParameterCount) {
    return;
  }
  std::uint32_t word = exchange_.activeWord();
  for (;;) {
    hostValues_[index].store(StampedValue{value, BankExchange::stampOf(word)}.bits());
    const std::uint32_t now = exchange_.activeWord();
    if (now == word) {
      return;
    }
    word = now;
  }
}

void FirEngine::setLengthTaps(int n) { setParameter(pm::kLengthIndex, pm::lengthFromTaps(std::clamp(n, 0, kMaxTaps))); }

void FirEngine::readValues(std::uint32_t word, Values& values) const {
  const ResponseBank& bank = banks_[BankExchange::bankOf(word)];
  for (int k = 0; k < pm::kParameterCount; ++k) {
    values[k] = effectiveValue(StampedValue::fromBits(hostValues_[k].load()),
                               StampedValue::fromBits(bank.parameters[k].load()));
  }
}

// Read again when a hand-over was published during the read: the bank read
// may have been reused meanwhile.
void FirEngine::currentValues(Values& values) const {
  std::uint32_t word = exchange_.activeWord();
  for (;;) {
    readValues(word, values);
    const std::uint32_t now = exchange_.activeWord();
    if (now == word) {
      return;
    }
    word = now;
  }
}

EngineSettings FirEngine::currentSettings() const {
  Values values;
  currentValues(values);
  return settingsFromParameters(values);
}

float FirEngine::parameter(int index) const {
  if (index < 0 || index >= pm::kParameterCount) {
    return 0.0f;
  }
  Values values;
  currentValues(values);
  return values[index];
}

float FirEngine::mix() const { return currentSettings().mix; }
float FirEngine::gain() const { return currentSettings().gain; }
float FirEngine::lengthParameter() const { return pm::clampUnit(parameter(pm::kLengthIndex)); }
float FirEngine::gainParameter() const { return pm::parameterFromGain(gain()); }
float FirEngine::gainDecibels() const { return pm::decibelsFromGain(gain()); }
int FirEngine::lengthTaps() const { return currentSettings().taps; }
bool FirEngine::isBypassed() const { return currentSettings().bypassed; }

bool FirEngine::isLoaded() const {
  std::uint32_t word = exchange_.activeWord();
  for (;;) {
    const bool loaded = banks_[BankExchange::bankOf(word)].loaded.load();
    const std::uint32_t now = exchange_.activeWord();
    if (now == word) {
      return loaded;
    }
    word = now;
  }
}

const float* FirEngine::impulseSamples() const { return activeBank().phase[0]; }

std::string FirEngine::impulsePath() const {
  std::lock_guard lock(exchange_.writerMutex());
  const ResponseBank& bank = activeBank();
  return std::string(bank.path, strnlen(bank.path, sizeof(bank.path)));
}

void FirEngine::snapshot(EngineSnapshot& state, float* samples) {
  // Under the writer lock the active bank stays active and unchanged.
  std::lock_guard lock(exchange_.writerMutex());
  const ResponseBank& bank = activeBank();
  std::memcpy(samples, bank.phase[0], sizeof(float) * kMaxTaps);
  std::memcpy(state.path, bank.path, sizeof(state.path));
  state.loaded = bank.loaded.load();
  // The host's values, read twice until both reads agree: they then all
  // held at one moment between the two reads.
  std::uint64_t seen[pm::kParameterCount];
  std::uint64_t again[pm::kParameterCount];
  for (int k = 0; k < pm::kParameterCount; ++k) {
    seen[k] = hostValues_[k].load();
  }
  for (int round = 0;; ++round) {
    for (int k = 0; k < pm::kParameterCount; ++k) {
      again[k] = hostValues_[k].load();
    }
    if (std::memcmp(seen, again, sizeof(seen)) == 0 || round == kSnapshotRounds) {
      break;
    }
    std::memcpy(seen, again, sizeof(seen));
    std::this_thread::yield();
  }
  for (int k = 0; k < pm::kParameterCount; ++k) {
    state.parameters[k] =
        effectiveValue(StampedValue::fromBits(again[k]), StampedValue::fromBits(bank.parameters[k].load()));
  }
}

FirEngine::Block::Block(FirEngine& engine) : engine_(engine) {
  // The block holds its bank first, then reads the settings. A setting
  // written after a later hand-over must not reach a block on the old
  // response, so the settings are read again, from the new bank, until no
  // hand-over was published while they were read.
  std::uint32_t word = engine.exchange_.enterBlock();
  for (;;) {
    const ResponseBank& bank = engine.banks_[BankExchange::bankOf(word)];
    Values values;
    engine.readValues(word, values);
    loaded_ = bank.loaded.load();
    if (engine.exchange_.activeWord() == word) {
      bank_ = &bank;
      settings_ = settingsFromParameters(values);
      return;
    }
    word = engine.exchange_.enterBlock();
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

constexpr float kLargestFinite = std::numeric_limits<float>::max();

float saturate(float v) { return std::min(std::max(v, -kLargestFinite), kLargestFinite); }

}  // namespace

void FirEngine::process(const Block& block, const float* input, float* output, int n, bool replacing) {
  const EngineSettings& settings = block.settings_;
  if (n < 1 || settings.taps < kTapGranularity || !block.loaded_ ||
      !cpuFeatures().hasSse.load(std::memory_order_relaxed)) {
    return;
  }
  const float wet = static_cast<float>(static_cast<double>(settings.mix) * static_cast<double>(settings.gain));
  const float dry = static_cast<float>((1.0 - static_cast<double>(settings.mix)) * static_cast<double>(settings.gain));
  const int taps = settings.taps;
  const float* const* copies = block.bank_->phase;
  float* history = history_;
  const FirBatchKernel batchKernel = batchKernelFor(activeFirKernelTier());
  int w = writePosition_;
  // v = (y * wet) + (x * dry), replacing or added to what the output held.
  // Within the signal bounds v is finite (see SignalBounds.h); the sum with
  // the host's buffer saturates rather than overflow.
  const auto emit = [=](int index, float x, float y) {
    const float v = addOrdered(mulOrdered(y, wet), mulOrdered(x, dry));
    output[index] = replacing ? v : saturate(addOrdered(output[index], v));
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
        history[top - 1 - s] = signal_bounds::clampInput(input[i + s]);
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
    const float x = signal_bounds::clampInput(input[i]);
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
  const int taps = impulse_preparation::automaticLength(update.bank().phase[0], frames);
  update.setParameter(pm::kLengthIndex, pm::lengthFromTaps(taps));
  update.commit();
}

void FirEngine::normalizeGain() {
  ResponseUpdate update(*this);
  update.keepSamples();
  const int taps = pm::tapsFromLength(pm::clampUnit(update.parameter(pm::kLengthIndex)));
  if (const auto gain = impulse_preparation::automaticGainParameter(update.bank().phase[0], taps)) {
    update.setParameter(pm::kGainIndex, *gain);
  }
  update.commit();
}

bool FirEngine::loadImpulseFile(const NativePath& path, int channel) {
  WaveReader reader;
  if (!reader.open(path)) {
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
  // The chosen channel, gathered to the front in place (each sample moves
  // down or stays).
  for (int i = 0; i < count; ++i) {
    frames[static_cast<std::size_t>(i)] =
        frames[static_cast<std::size_t>(channel) + static_cast<std::size_t>(i) * static_cast<std::size_t>(channels)];
  }

  // Samples, path, length, gain and loaded state reach every reader at once.
  ResponseUpdate update(*this);
  update.setImpulse(frames.get(), count);
  frames.reset();
  const float* h = update.bank().phase[0];
  const int taps = impulse_preparation::automaticLength(h, count);
  update.setParameter(pm::kLengthIndex, pm::lengthFromTaps(taps));
  if (const auto gain = impulse_preparation::automaticGainParameter(h, taps)) {
    update.setParameter(pm::kGainIndex, *gain);
  }
  // The file was read by its own name; the state keeps the shown text.
  update.setPath(pathText(path).c_str());
  update.setLoaded(true);
  update.commit();
  return true;
}
