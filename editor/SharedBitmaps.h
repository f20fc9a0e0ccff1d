// The editor's five bitmaps, shared by every editor of the process: the
// first editor creates them, later ones reuse them, and they are released
// when the module is unloaded (or the process ends).
// Created under a lock, since editors are made with their effects on any
// thread the host creates them on; drawn with on the GUI thread.
#pragma once

#include "desktop/UserMessage.h"

class CBitmap;

enum class EditorBitmap { kBack, kKnob, kLoad, kLeft, kRight };
inline constexpr int kEditorBitmapCount = 5;

// Creates the bitmaps still missing, in the order back, knob, load, left,
// right. One that does not load is reported through `report` with an empty
// text and a caption such as "IDB_BACK is not loaded!!!"; it stays stored
// all the same and is never tried again, so each is reported once.
void createSharedBitmaps(MessageSink report = showUserMessage);
// Null until createSharedBitmaps made it.
CBitmap* sharedBitmap(EditorBitmap which);
