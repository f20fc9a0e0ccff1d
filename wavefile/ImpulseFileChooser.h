// The file selection behind the editor's load button: the desktop's file
// chooser asked for one .wav response file, whose path goes to a load
// callback on the editor's thread.
#pragma once

#include "desktop/FileChooser.h"

// The title and filter the chooser shows.
inline constexpr FileChoiceRequest kImpulseFileRequest{"Open impulse response file ...", "PCM Wave files", "*.wav"};

// Shows the chooser owned by ownerWindow (a window handle, or null). A
// modal dialog answers kChosen after calling load with the chosen path
// (whether or not it then loads), or kCancelled; a chooser that runs
// beside the editor answers kStarted and calls load from its poll().
FileChooser::Outcome chooseImpulseFile(FileChooser& chooser, void* ownerWindow, const FileChosen& load);
