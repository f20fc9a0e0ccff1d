#include "engine/kernel/FirKernelTier.h"

#include <atomic>
#include <cstring>

namespace {

constexpr const char* kNames[kFirKernelTierCount] = {"reference", "sse2", "avx2", "avx512"};
constexpr int kUnpinned = -1;

// Relaxed atomics: the audio thread reads the choice once per block while
// an effect constructor elsewhere may re-run the detection, which always
// writes the same values.
std::atomic<bool> supportsSse2{false};
std::atomic<bool> supportsAvx2{false};
std::atomic<bool> supportsAvx512{false};
std::atomic<int> pinned{kUnpinned};

FirKernelSupport recordedSupport() {
  FirKernelSupport support;
  support.sse2 = supportsSse2.load(std::memory_order_relaxed);
  support.avx2 = supportsAvx2.load(std::memory_order_relaxed);
  support.avx512 = supportsAvx512.load(std::memory_order_relaxed);
  return support;
}

}  // namespace

const char* firKernelTierName(FirKernelTier tier) { return kNames[static_cast<int>(tier)]; }

bool firKernelTierFromName(const char* name, FirKernelTier& tier) {
  if (name == nullptr) {
    return false;
  }
  for (int i = 0; i < kFirKernelTierCount; ++i) {
    if (std::strcmp(name, kNames[i]) == 0) {
      tier = static_cast<FirKernelTier>(i);
      return true;
    }
  }
  return false;
}

bool FirKernelSupport::has(FirKernelTier tier) const {
  switch (tier) {
    case FirKernelTier::kReference:
      return true;
    case FirKernelTier::kSse2:
      return sse2;
    case FirKernelTier::kAvx2:
      return avx2;
    case FirKernelTier::kAvx512:
      return avx512;
  }
  return false;
}

FirKernelTier FirKernelSupport::widest() const {
  if (avx512) {
    return FirKernelTier::kAvx512;
  }
  if (avx2) {
    return FirKernelTier::kAvx2;
  }
  return sse2 ? FirKernelTier::kSse2 : FirKernelTier::kReference;
}

FirKernelSupport firKernelSupport(const CpuFeatures& features) {
  FirKernelSupport support;
  support.sse2 = features.hasSse2.load(std::memory_order_relaxed);
  support.avx2 = features.avx2Usable.load(std::memory_order_relaxed);
  support.avx512 = features.avx512Usable.load(std::memory_order_relaxed);
  return support;
}

void selectFirKernelTier(const FirKernelSupport& support) {
  supportsSse2.store(support.sse2, std::memory_order_relaxed);
  supportsAvx2.store(support.avx2, std::memory_order_relaxed);
  supportsAvx512.store(support.avx512, std::memory_order_relaxed);
}

FirKernelTier detectedFirKernelTier() { return recordedSupport().widest(); }

FirKernelTier activeFirKernelTier() {
  const int pin = pinned.load(std::memory_order_relaxed);
  if (pin != kUnpinned && recordedSupport().has(static_cast<FirKernelTier>(pin))) {
    return static_cast<FirKernelTier>(pin);
  }
  return detectedFirKernelTier();
}

bool firKernelTierAvailable(FirKernelTier tier) { return recordedSupport().has(tier); }

bool pinFirKernelTier(FirKernelTier tier) {
  if (!firKernelTierAvailable(tier)) {
    return false;
  }
  pinned.store(static_cast<int>(tier), std::memory_order_relaxed);
  return true;
}

void unpinFirKernelTier() { pinned.store(kUnpinned, std::memory_order_relaxed); }

bool pinnedFirKernelTier(FirKernelTier& tier) {
  const int pin = pinned.load(std::memory_order_relaxed);
  if (pin == kUnpinned) {
    return false;
  }
  tier = static_cast<FirKernelTier>(pin);
  return true;
}
