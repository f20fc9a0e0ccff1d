// The OLE drop target of a frame's window: turns the system's drag
// notifications into the frame's drag operations with a CDropData for the
// dragged data. GUI thread only.
#pragma once

#include <ole2.h>

class CDropData;
class CFrame;

// A new target for `frame` with no references yet: registering it takes
// the first, and the last Release destroys it.
IDropTarget* newFrameDropTarget(CFrame* frame);
// Cuts a target made by newFrameDropTarget off its frame, for when the
// frame's window revokes it while a drag may still hold it.
void detachFrameDropTarget(IDropTarget* target);
// How many targets exist, for checks that none outlives its window.
int liveFrameDropTargets();

// The drag in progress over any frame of the process, or null.
CDropData* currentDropData();
