// Process-wide processor flags and how they are read from the processor.
// Every effect constructor runs the detection; concurrent runs write
// identical values, and the audio thread reads the flags, so each is an
// atomic byte. This file only reports what the processor and the operating
// system offer; engine/ProcessorDetection turns that into the choices of
// vector operations and kernel tier.
#pragma once

#include <atomic>
#include <cstdint>

struct CpuFeatures {
  std::atomic<bool> cpuidUsable{false};
  std::atomic<bool> hasFpu{false};
  std::atomic<bool> hasCmov{false};
  std::atomic<bool> hasFxsr{false};
  std::atomic<bool> hasSse{false};
  std::atomic<bool> dazSupported{false};
  std::atomic<bool> hasSse2{false};
  // The wider vector units: present and saved by the operating system on a
  // thread switch.
  std::atomic<bool> avx2Usable{false};
  std::atomic<bool> avx512Usable{false};
};

CpuFeatures& cpuFeatures();

// The instructions the detection issues. Production uses the processor it
// runs on; tests present other processors through the same detection.
class CpuProbe {
 public:
  struct Leaf1 {
    std::uint32_t eax = 0;
    std::uint32_t ebx = 0;
    std::uint32_t edx = 0;
  };
  virtual ~CpuProbe() = default;
  // Whether bit 21 (ID) of EFLAGS can be set, i.e. CPUID exists.
  virtual bool idFlagSettable() = 0;
  virtual Leaf1 cpuidLeaf1() = 0;
  // Executes FXSAVE into a 512-byte, 16-byte aligned area.
  virtual void fxsave(void* area) = 0;

  // What decides whether the wider vector units may be used: the processor
  // must have them and the operating system must save their registers.
  struct WideVectorSupport {
    std::uint32_t maxLeaf = 0;   // CPUID leaf 0, EAX
    std::uint32_t leaf1Ecx = 0;  // CPUID leaf 1, ECX (OSXSAVE, AVX)
    std::uint32_t leaf7Ebx = 0;  // CPUID leaf 7 subleaf 0, EBX (AVX2, AVX-512F)
    std::uint64_t xcr0 = 0;      // XGETBV(0), only read when OSXSAVE is set
  };
  virtual WideVectorSupport wideVectorSupport() = 0;
};

CpuProbe& hostCpuProbe();

constexpr std::uint32_t kEdxFpu = 1u << 0;
constexpr std::uint32_t kEdxCmov = 1u << 15;
constexpr std::uint32_t kEdxFxsr = 1u << 24;
constexpr std::uint32_t kEdxSse = 1u << 25;
constexpr std::uint32_t kEdxSse2 = 1u << 26;
constexpr std::uint32_t kEcxOsxsave = 1u << 27;
constexpr std::uint32_t kEcxAvx = 1u << 28;
constexpr std::uint32_t kLeaf7EbxAvx2 = 1u << 5;
constexpr std::uint32_t kLeaf7EbxAvx512f = 1u << 16;
// XCR0: SSE and AVX register state; opmask and both halves of the ZMM state.
constexpr std::uint64_t kXcr0Avx = 0x6;
constexpr std::uint64_t kXcr0Avx512 = 0xE6;
constexpr int kFxsaveAreaSize = 512;
constexpr int kMxcsrMaskOffset = 28;

// Fills cpuFeatures() from the probe's answers; answers cpuidUsable.
bool readCpuFeatures(CpuProbe& probe);
