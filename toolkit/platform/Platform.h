// What each platform's back-end provides. Exactly one back-end folder
// (toolkit/windows or toolkit/linux) is compiled into the toolkit; the
// choice is made in toolkit/CMakeLists.txt.
#pragma once

#include <cstdint>
#include <memory>

#include "toolkit/platform/BitmapImage.h"
#include "toolkit/platform/DrawingSurface.h"

class CFrame;
class EditorClock;
class FrameWindow;
class MouseInputSource;

// A surface on a native device context, or without one on the window's own
// (obtained and released by the surface). Null when neither is given.
std::unique_ptr<DrawingSurface> openSurface(void* deviceContext, void* window);
// A memory surface of width x height compatible with the window's device
// context (the screen's for a null window). Null for a size below 1.
std::unique_ptr<DrawingSurface> createMemorySurface(void* window, int32_t width, int32_t height);
// A memory surface compatible with `like` (the screen's when null).
std::unique_ptr<DrawingSurface> createMemorySurfaceLike(const DrawingSurface* like, int32_t width, int32_t height);
// A surface that draws straight into `bitmap`.
std::unique_ptr<DrawingSurface> createSurfaceOnBitmap(const DrawingSurface* like, BitmapImage& bitmap);

// The bitmap resource `resourceId` of the module; null when it does not load.
std::unique_ptr<BitmapImage> loadBitmapImage(int32_t resourceId);
// A bitmap compatible with the screen. Null for a size below 1.
std::unique_ptr<BitmapImage> createBitmapImage(int32_t width, int32_t height);

// The system's mouse and keyboard state.
const MouseInputSource& systemMouseInput();
// The longest pause between the clicks of a double click, in milliseconds.
uint32_t systemDoubleClickTime();

// Binds the optional blending functions of the platform for the lifetime of
// a frame; the result goes back to unbindBlendFunctions.
void* bindBlendFunctions();
void unbindBlendFunctions(void* binding);

// The system's millisecond tick counter and sleep.
const EditorClock& systemClock();

// The native child window of `frame` inside the host's `systemWindow`, with
// the frame's size, already delivering events to the frame. Null where the
// platform has no window layer yet.
std::unique_ptr<FrameWindow> createFrameWindow(CFrame& frame, void* systemWindow);

// Takes one pending paint message of the thread, if any, and handles it at
// once, so views redraw while a control tracks the mouse.
void dispatchPendingPaint();
