#include "engine/cpu/CpuFeatures.h"

#include <cstring>
#include <new>

#include "engine/AlignedBuffer.h"

CpuFeatures& cpuFeatures() {
  static CpuFeatures features;
  return features;
}

bool readCpuFeatures(CpuProbe& probe) {
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

  // The wider registers are usable only when the system saves them on a
  // thread switch, which XCR0 tells once OSXSAVE says it may be read.
  const CpuProbe::WideVectorSupport wide = probe.wideVectorSupport();
  const bool hasSse2 = (leaf.edx & kEdxSse) != 0 && (leaf.edx & kEdxSse2) != 0;
  const bool osSavesAvx =
      (wide.leaf1Ecx & kEcxOsxsave) != 0 && (wide.leaf1Ecx & kEcxAvx) != 0 && (wide.xcr0 & kXcr0Avx) == kXcr0Avx;
  const bool hasLeaf7 = wide.maxLeaf >= 7;
  const bool avx2Usable = hasSse2 && osSavesAvx && hasLeaf7 && (wide.leaf7Ebx & kLeaf7EbxAvx2) != 0;
  const bool avx512Usable =
      avx2Usable && (wide.xcr0 & kXcr0Avx512) == kXcr0Avx512 && (wide.leaf7Ebx & kLeaf7EbxAvx512f) != 0;

  CpuFeatures& f = cpuFeatures();
  f.hasFpu.store(hasFpu, std::memory_order_relaxed);
  f.hasCmov.store((leaf.edx & kEdxCmov) != 0, std::memory_order_relaxed);
  f.hasFxsr.store(hasFxsr, std::memory_order_relaxed);
  f.hasSse.store((leaf.edx & kEdxSse) != 0, std::memory_order_relaxed);
  f.dazSupported.store(dazSupported, std::memory_order_relaxed);
  f.hasSse2.store(hasSse2, std::memory_order_relaxed);
  f.avx2Usable.store(avx2Usable, std::memory_order_relaxed);
  f.avx512Usable.store(avx512Usable, std::memory_order_relaxed);
  f.cpuidUsable.store(cpuidUsable, std::memory_order_relaxed);
  return cpuidUsable;
}
