#include "toolkit/controls/KnobMode.h"

#include <atomic>

namespace {

// Atomic: every new editor stores the mode, and hosts create instances
// (and with them editors) on several threads at once.
std::atomic<int32_t> gKnobMode{kKnobModeCircular};

}  // namespace

int32_t getGlobalKnobMode() { return gKnobMode.load(std::memory_order_relaxed); }

void setGlobalKnobMode(int32_t mode) { gKnobMode.store(mode, std::memory_order_relaxed); }
