// The file selection behind the editor's load button: a modal file-open
// dialog for .wav files whose chosen path goes to a load callback.
#pragma once

#include <functional>

// Shows the dialog owned by ownerWindow (a window handle, or null). When a
// file is chosen, calls load with its path, ignores load's answer and
// answers true; answers false when the dialog is cancelled or fails.
// On Linux the call answers false and load is never called: the editor
// runs the desktop's chooser program there without waiting for it.
bool chooseImpulseFile(void* ownerWindow, const std::function<bool(const char*)>& load);

#ifdef _WIN32
struct tagOFNA;

// Size of the dialog's file-name buffer: the platform's maximum path.
inline constexpr int kImpulsePathBufferSize = 260;

// Fills a zeroed dialog record for chooseImpulseFile: .wav filter, title,
// must-exist checks, and pathBuffer (kImpulsePathBufferSize bytes) emptied
// as the result buffer. Separate so that a test can inspect the record
// without showing the modal dialog.
void fillImpulseFileDialog(tagOFNA& record, void* ownerWindow, char* pathBuffer);
#endif
