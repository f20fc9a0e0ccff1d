#include "engine/CpuFeatures.h"

#include <cstring>
#include <new>

#include "engine/AlignedBuffer.h"
#include "engine/FirKernelTier.h"
#include "engine/VectorOps.h"

CpuFeatures& cpuFeatures() {
  static CpuFeatures features;
  return features;
}

bool detectCpuFeatures(CpuProbe& probe) {
  CpuProbe::Leaf1 leaf;
  if (probe.idFlagSettable()) {
    leaf = probe.cpuidLeaf1();
  }
  const bool hasFpu = (leaf.edx & kEdxFpu) != 0;
  const bool hasFxsr = (leaf.edx & kEdxFxsr) != 0;
  const bool cpuidUsable = (leaf.eax != 0 || leaf.ebx != 0 || leaf.edx != 0) && hasFpu;

  // A processor that does not write the mask field leaves the zeroed area
  // as it was, so denormals-are-zero counts as unsupported.
  bool dazSupported = false;
  if (hasFxsr) {
    try {
      AlignedBuffer area(kFxsaveAreaSize);
      std::memset(area.data(), 0, kFxsaveAreaSize);
      probe.fxsave(area.data());
      std::uint32_t mask = 0;
      std::memcpy(&mask, static_cast<unsigned char*>(area.data()) + kMxcsrMaskOffset, sizeof(mask));
      dazSupported = mask != 0;
    } catch (const std::bad_alloc&) {
      // Without the area the mask cannot be read: no denormals-are-zero.
    }
  }

  CpuFeatures& f = cpuFeatures();
  f.hasFpu.store(hasFpu, std::memory_order_relaxed);
  f.hasCmov.store((leaf.edx & kEdxCmov) != 0, std::memory_order_relaxed);
  f.hasFxsr.store(hasFxsr, std::memory_order_relaxed);
  f.hasSse.store((leaf.edx & kEdxSse) != 0, std::memory_order_relaxed);
  f.dazSupported.store(dazSupported, std::memory_order_relaxed);
  f.cpuidUsable.store(cpuidUsable, std::memory_order_relaxed);

  selectVectorOpsTiers(f);
  selectFirKernelTier(firKernelSupport(leaf.edx, probe.wideVectorSupport()));
  return cpuidUsable;
}
