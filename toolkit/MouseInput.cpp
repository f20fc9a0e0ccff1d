#include "toolkit/MouseInput.h"

#include "toolkit/platform/Platform.h"

namespace {

// GUI-thread state, like the rest of the toolkit.
const MouseInputSource* gInjected = nullptr;
bool gSwapped = false;

}  // namespace

const MouseInputSource& mouseInput() { return gInjected ? *gInjected : systemMouseInput(); }

void setMouseInputSource(const MouseInputSource* source) { gInjected = source; }

bool mouseButtonsSwapped() { return gSwapped; }

void setMouseButtonsSwapped(bool swapped) { gSwapped = swapped; }
