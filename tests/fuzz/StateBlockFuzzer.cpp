// libFuzzer target: a state block of any bytes, as a host hands it over
// from a project file, into setChunk; then getChunk, every text into a
// buffer no larger than the plug-in promises (so that an overflow is
// caught), and audio through both callbacks, which must stay finite.
//
// Input: one control byte, then the block's bytes, zero-padded to the
// block's size (so short inputs reach the path, the parameters and the
// first samples). Control bits 0-1 pick the size handed over: the block's
// own, a longer one, the raw input's or one byte short; bit 2 marks a
// response present whatever the block says; bits 3-4 pick the sample rate.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "FuzzSignal.h"
#include "effect/ConvolverEffect.h"
#include "effect/ParameterText.h"

namespace {

constexpr float kRates[] = {44100.0f, 96000.0f, 8000.0f, 1.0f};

void require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "state block: %s\n", what);
    std::abort();
  }
}

void ignoreMessage(const char*, const char*) {}

// A heap buffer of exactly `size` bytes, so that AddressSanitizer reports
// the first byte written past it.
struct TextBuffer {
  explicit TextBuffer(std::size_t size) : bytes(new char[size]), size(size) { std::memset(bytes.get(), 'x', size); }
  std::unique_ptr<char[]> bytes;
  std::size_t size;
  char* data() { return bytes.get(); }
};

// The longest display text of values in 0..1, at the effect's rate: the
// value's digits grow with it, so one end of the range gives it. The gain
// text follows the engine's gain, whose longest text is "-908.5dB".
std::size_t measureLongestInRangeText(int index, float rate) {
  if (index == 1) return 8;
  ConvolverEffect probe(nullptr);
  probe.setSampleRate(rate);
  std::size_t longest = 0;
  for (const float value : {0.0f, 1.0f}) {
    char text[parameter_text::kDisplayCapacity];
    probe.setParameter(index, value);
    probe.getParameterDisplay(index, text);
    longest = std::max(longest, std::strlen(text));
  }
  return longest;
}

// Measured once per rate and index.
std::size_t longestInRangeText(int index, int rateChoice) {
  static std::size_t known[4][kParameterCount] = {};
  std::size_t& entry = known[rateChoice][index];
  if (entry == 0) entry = measureLongestInRangeText(index, kRates[rateChoice]);
  return entry;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t control = data[0];
  std::vector<unsigned char> block(static_cast<std::size_t>(kStateChunkSize) + 1000, 0);
  const std::size_t body = std::min(size - 1, block.size());
  std::memcpy(block.data(), data + 1, body);
  if ((control & 4u) != 0) block[offsetof(StateChunk, impulseLoaded)] = 1;
  VstInt32 handed = kStateChunkSize;
  switch (control & 3u) {
    case 1:
      handed = static_cast<VstInt32>(block.size());
      break;
    case 2:
      handed = static_cast<VstInt32>(body);
      break;
    case 3:
      handed = kStateChunkSize - 1;
      break;
    default:
      break;
  }
  const int rateChoice = static_cast<int>((control >> 3) & 3u);
  const float rate = kRates[rateChoice];

  ConvolverEffect effect(nullptr);
  effect.setMessageSink(ignoreMessage);
  effect.setSampleRate(rate);
  const VstInt32 accepted = effect.setChunk(block.data(), handed, (control & 32u) != 0);
  require(accepted == (handed >= kStateChunkSize ? kStateChunkSize : 0), "setChunk's answer");

  // Saving, restoring that and saving again gives the same block.
  void* saved = nullptr;
  require(effect.getChunk(&saved, false) == kStateChunkSize, "getChunk's size");
  std::vector<unsigned char> first(static_cast<const unsigned char*>(saved),
                                   static_cast<const unsigned char*>(saved) + kStateChunkSize);
  {
    ConvolverEffect again(nullptr);
    require(again.setChunk(first.data(), kStateChunkSize, true) == kStateChunkSize, "restore of a saved block");
    void* resaved = nullptr;
    require(again.getChunk(&resaved, true) == kStateChunkSize, "getChunk's size again");
    require(std::memcmp(resaved, first.data(), kStateChunkSize) == 0, "a saved block restores as it was saved");
  }

  // Texts: names and labels as long as the longest name, displays as long
  // as the longest text of a value in range, never less than the nominal 8.
  for (VstInt32 index = -1; index <= kParameterCount; ++index) {
    TextBuffer name(std::strlen("FIR Length") + 1);
    effect.getParameterName(index, name.data());
    TextBuffer label(std::strlen("FIR Length") + 1);
    effect.getParameterLabel(index, label.data());
    const std::size_t limit = index >= 0 && index < kParameterCount
                                  ? std::max<std::size_t>(kVstMaxParamStrLen, longestInRangeText(index, rateChoice))
                                  : kVstMaxParamStrLen;
    TextBuffer display(limit + 1);
    effect.getParameterDisplay(index, display.data());
  }
  TextBuffer effectName(kVstMaxEffectNameLen + 1);
  effect.getEffectName(effectName.data());
  TextBuffer vendor(kVstMaxVendorStrLen + 1);
  effect.getVendorString(vendor.data());
  TextBuffer product(kVstMaxProductStrLen + 1);
  effect.getProductString(product.data());

  std::uint32_t seed = 2166136261u;
  for (std::size_t i = 0; i < std::min<std::size_t>(size, 64); ++i) seed = (seed ^ data[i]) * 16777619u;
  requireFiniteAudio(effect, seed);
  return 0;
}
