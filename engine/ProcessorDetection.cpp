#include "engine/ProcessorDetection.h"

#include <cstdlib>

#include "engine/kernel/FirKernelTier.h"
#include "engine/vectorops/VectorOps.h"

bool detectCpuFeatures(CpuProbe& probe) {
  const bool cpuidUsable = readCpuFeatures(probe);
  const CpuFeatures& features = cpuFeatures();
  selectVectorOpsTiers(features);
  selectFirKernelTier(firKernelSupport(features));
  return cpuidUsable;
}

bool pinFirKernelTierFromEnvironment() {
  const char* name = std::getenv("ULMAR_FIR_KERNEL");
  if (name == nullptr || *name == '\0') {
    return true;
  }
  detectCpuFeatures();
  FirKernelTier tier = FirKernelTier::kReference;
  return firKernelTierFromName(name, tier) && pinFirKernelTier(tier);
}
