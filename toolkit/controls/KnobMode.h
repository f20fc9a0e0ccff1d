// The process-wide knob mode: how a knob follows a drag. Shared by every
// editor of the process; the editor base stores it when the host asks, the
// frame reads it for its knobs. Any thread may set it.
#pragma once

#include <cstdint>

enum CKnobMode : int32_t {
  kKnobModeCircular = 0,
  kKnobModeRelativeCircular = 1,
  kKnobModeLinear = 2,
};

int32_t getGlobalKnobMode();
void setGlobalKnobMode(int32_t mode);
