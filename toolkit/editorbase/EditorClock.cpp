#include "toolkit/editorbase/EditorClock.h"

#include "toolkit/platform/Platform.h"

namespace {

// GUI-thread state, like the rest of the toolkit.
const EditorClock* gInjected = nullptr;

}  // namespace

const EditorClock& editorClock() { return gInjected ? *gInjected : systemClock(); }

void setEditorClock(const EditorClock* clock) { gInjected = clock; }
