// Where the editor learns the time and how it pauses: the system's clock
// (milliseconds since start-up, wrapping at 2^32) by default; tests install
// their own to step time and record the pauses.
#pragma once

#include <cstdint>

class EditorClock {
 public:
  virtual ~EditorClock() = default;
  // Milliseconds on a counter that wraps after 2^32 ms (about 49.7 days).
  virtual uint32_t ticks() const = 0;
  // Pauses the calling thread for `milliseconds`.
  virtual void sleep(uint32_t milliseconds) const = 0;
};

// The clock in use: the injected one, or the system's.
const EditorClock& editorClock();
// Installs a clock (null goes back to the system's). The caller keeps it
// alive while installed.
void setEditorClock(const EditorClock* clock);

// Whether `now` has reached `deadline` on the wrapping counter: the two are
// compared by their wrapped difference, so the answer is the same on either
// side of the wrap for deadlines less than 2^31 ms away.
inline bool ticksReached(uint32_t now, uint32_t deadline) { return static_cast<int32_t>(now - deadline) >= 0; }
