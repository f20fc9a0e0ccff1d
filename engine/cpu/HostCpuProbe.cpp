// The probe for the processor the plug-in runs on.
#include <cpuid.h>

#include <cstdint>

#include "engine/cpu/CpuFeatures.h"

namespace {

class HostCpuProbe final : public CpuProbe {
 public:
  bool idFlagSettable() override {
#if defined(__i386__)
    // Only 32-bit x86 processors may lack CPUID: try to flip EFLAGS.ID.
    unsigned before = 0;
    unsigned after = 0;
    __asm__ volatile(
        "pushfl\n\t"
        "popl %0\n\t"
        "movl %0, %1\n\t"
        "orl $0x200000, %1\n\t"
        "pushl %1\n\t"
        "popfl\n\t"
        "pushfl\n\t"
        "popl %1\n\t"
        "pushl %0\n\t"
        "popfl\n\t"
        : "=&r"(before), "=&r"(after)
        :
        : "cc");
    return (after & 0x200000u) != 0;
#else
    return true;
#endif
  }

  Leaf1 cpuidLeaf1() override {
    unsigned eax = 0;
    unsigned ebx = 0;
    unsigned ecx = 0;
    unsigned edx = 0;
    __cpuid(1, eax, ebx, ecx, edx);
    return Leaf1{eax, ebx, edx};
  }

  WideVectorSupport wideVectorSupport() override {
    WideVectorSupport support;
    if (!idFlagSettable()) {
      return support;
    }
    support.maxLeaf = __get_cpuid_max(0, nullptr);
    unsigned eax = 0;
    unsigned ebx = 0;
    unsigned ecx = 0;
    unsigned edx = 0;
    if (support.maxLeaf >= 1) {
      __cpuid(1, eax, ebx, ecx, edx);
      support.leaf1Ecx = ecx;
    }
    if (support.maxLeaf >= 7) {
      __cpuid_count(7, 0, eax, ebx, ecx, edx);
      support.leaf7Ebx = ebx;
    }
    if ((support.leaf1Ecx & kEcxOsxsave) != 0) {
      // XGETBV with ECX = 0 reads XCR0, the register state the system saves.
      unsigned low = 0;
      unsigned high = 0;
      __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
      support.xcr0 = (std::uint64_t{high} << 32) | low;
    }
    return support;
  }

  void fxsave(void* area) override {
    __asm__ volatile("fxsave %0" : "=m"(*static_cast<char(*)[kFxsaveAreaSize]>(area)) : : "memory");
  }
};

}  // namespace

CpuProbe& hostCpuProbe() {
  static HostCpuProbe probe;
  return probe;
}
