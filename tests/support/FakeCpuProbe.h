// Presents another processor to the feature detection, through the same
// detection code the plug-in runs. ScopedProcessor puts the real
// processor's flags back when it ends.
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/ProcessorDetection.h"

namespace test_support {

class FakeCpuProbe final : public CpuProbe {
 public:
  bool idFlag = true;
  Leaf1 leaf1{0x000306C3u, 0x00100800u, kEdxFpu | kEdxCmov | kEdxFxsr | kEdxSse};
  std::uint32_t mxcsrMask = 0x0000FFFFu;
  WideVectorSupport wide{};

  bool idFlagSettable() override { return idFlag; }
  Leaf1 cpuidLeaf1() override { return leaf1; }
  WideVectorSupport wideVectorSupport() override { return wide; }
  void fxsave(void* area) override {
    std::memcpy(static_cast<unsigned char*>(area) + kMxcsrMaskOffset, &mxcsrMask, sizeof(mxcsrMask));
  }

  // A processor with these CPUID leaf-1 EDX bits (none: no CPUID at all)
  // and this MXCSR_MASK.
  static FakeCpuProbe withEdx(std::uint32_t edx, std::uint32_t mask = 0x0000FFFFu) {
    FakeCpuProbe p;
    p.idFlag = edx != 0;
    p.leaf1.edx = edx;
    p.mxcsrMask = mask;
    return p;
  }

  // Processors the tests name.
  static FakeCpuProbe withSseAndDaz() { return FakeCpuProbe{}; }
  static FakeCpuProbe withSseWithoutDaz() {
    FakeCpuProbe p;
    p.mxcsrMask = 0;
    return p;
  }
  static FakeCpuProbe fpuAndCmovOnly() {
    FakeCpuProbe p;
    p.leaf1.edx = kEdxFpu | kEdxCmov;
    return p;
  }
  static FakeCpuProbe withoutCpuid() {
    FakeCpuProbe p;
    p.idFlag = false;
    return p;
  }
};

class ScopedProcessor {
 public:
  explicit ScopedProcessor(FakeCpuProbe probe) : probe_(probe) { result_ = detectCpuFeatures(probe_); }
  ~ScopedProcessor() { detectCpuFeatures(); }
  ScopedProcessor(const ScopedProcessor&) = delete;
  ScopedProcessor& operator=(const ScopedProcessor&) = delete;
  bool detectionResult() const { return result_; }

 private:
  FakeCpuProbe probe_;
  bool result_ = false;
};

}  // namespace test_support
