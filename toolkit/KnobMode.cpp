#include "toolkit/KnobMode.h"

namespace {

int32_t gKnobMode = kKnobModeCircular;

}  // namespace

int32_t getGlobalKnobMode() { return gKnobMode; }

void setGlobalKnobMode(int32_t mode) { gKnobMode = mode; }
