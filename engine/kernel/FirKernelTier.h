// Which kernel computes the engine's outputs. Every tier gives the same
// bits; they differ in how many output samples share one pass over the
// history:
// - reference: one sample at a time (firDotProduct);
// - sse2, avx2, avx512: groups of four consecutive samples computed side by
//   side, several groups per pass, each in its own translation unit built
//   for its instruction set only.
// The detection picks the widest tier the processor and the operating
// system support. Tests and tools may pin another one that is available.
#pragma once

#include <cstdint>

#include "engine/cpu/CpuFeatures.h"

enum class FirKernelTier : std::uint8_t { kReference, kSse2, kAvx2, kAvx512 };

constexpr int kFirKernelTierCount = 4;

// "reference", "sse2", "avx2", "avx512".
const char* firKernelTierName(FirKernelTier tier);
// False for an unknown name.
bool firKernelTierFromName(const char* name, FirKernelTier& tier);

// The tiers a processor supports, from its CPUID and XGETBV answers.
struct FirKernelSupport {
  bool sse2 = false;
  bool avx2 = false;
  bool avx512 = false;
  bool has(FirKernelTier tier) const;
  FirKernelTier widest() const;
};

FirKernelSupport firKernelSupport(const CpuFeatures& features);

// Called by the processor detection: records what this processor supports.
void selectFirKernelTier(const FirKernelSupport& support);

// The detected choice, and the one blocks use (the pinned tier if any).
FirKernelTier detectedFirKernelTier();
FirKernelTier activeFirKernelTier();
bool firKernelTierAvailable(FirKernelTier tier);

// Pins a tier for every engine in the process. False, with nothing
// changed, when the processor lacks it.
bool pinFirKernelTier(FirKernelTier tier);
void unpinFirKernelTier();
// False when no tier is pinned.
bool pinnedFirKernelTier(FirKernelTier& tier);
