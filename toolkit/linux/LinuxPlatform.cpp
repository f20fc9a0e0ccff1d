// The Linux back-end's entry points: cairo image surfaces for offscreens
// and bitmaps, bitmaps decoded from registered BMP bytes, cairo surfaces on
// the X11 frame windows, and the pointer as their display reports it.
#include <cairo-xlib.h>
#include <cairo.h>
#include <time.h>

#include <cerrno>

#include "toolkit/views/CFrame.h"
#include "toolkit/editorbase/EditorClock.h"
#include "toolkit/views/FrameWindow.h"
#include "toolkit/views/MouseInput.h"
#include "toolkit/linux/BitmapResources.h"
#include "toolkit/linux/BmpDecoder.h"
#include "toolkit/linux/CairoBitmap.h"
#include "toolkit/linux/CairoSurface.h"
#include "toolkit/linux/X11FrameWindow.h"
#include "toolkit/linux/X11Pointer.h"
#include "toolkit/platform/Platform.h"

namespace {

cairo_surface_t* newImage(int32_t width, int32_t height) {
  if (width < 1 || height < 1) return nullptr;
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(image);
    return nullptr;
  }
  return image;
}

std::unique_ptr<DrawingSurface> surfaceOn(cairo_surface_t* image) {
  if (!image) return nullptr;
  auto surface = std::make_unique<CairoSurface>(image);
  cairo_surface_destroy(image);  // the surface holds its own reference
  return surface;
}

}  // namespace

std::unique_ptr<DrawingSurface> openSurface(void* deviceContext, void* window) {
  if (deviceContext) return std::make_unique<CairoSurface>(static_cast<cairo_surface_t*>(deviceContext));
  // Without a surface, one on the frame's own window: drawn straight to the
  // server, the back buffers make it flicker-free.
  X11FrameWindow* frameWindow = X11FrameWindow::find(window);
  if (!frameWindow) return nullptr;
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(frameWindow->display(), frameWindow->window(), &attributes)) return nullptr;
  cairo_surface_t* surface = cairo_xlib_surface_create(frameWindow->display(), frameWindow->window(),
                                                       frameWindow->visual(), attributes.width, attributes.height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  return surfaceOn(surface);
}

std::unique_ptr<DrawingSurface> createMemorySurface(void* /*window*/, int32_t width, int32_t height) {
  return surfaceOn(newImage(width, height));
}

std::unique_ptr<DrawingSurface> createMemorySurfaceLike(const DrawingSurface* /*like*/, int32_t width, int32_t height) {
  return surfaceOn(newImage(width, height));
}

std::unique_ptr<DrawingSurface> createSurfaceOnBitmap(const DrawingSurface* /*like*/, BitmapImage& bitmap) {
  return std::make_unique<CairoSurface>(static_cast<cairo_surface_t*>(bitmap.handle()));
}

std::unique_ptr<BitmapImage> loadBitmapImage(int32_t resourceId) {
  const BitmapResource resource = findBitmapResource(resourceId);
  const auto decoded = decodeBmp(resource.bytes, resource.size);
  if (!decoded) return nullptr;
  cairo_surface_t* image = newImage(decoded->width, decoded->height);
  if (!image) return nullptr;
  cairo_surface_flush(image);
  unsigned char* data = cairo_image_surface_get_data(image);
  const int32_t stride = cairo_image_surface_get_stride(image);
  for (int32_t y = 0; y < decoded->height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int32_t x = 0; x < decoded->width; ++x)
      row[x] = decoded->pixels[static_cast<size_t>(y) * static_cast<size_t>(decoded->width) + static_cast<size_t>(x)];
  }
  cairo_surface_mark_dirty(image);
  return std::make_unique<CairoBitmap>(image);
}

std::unique_ptr<BitmapImage> createBitmapImage(int32_t width, int32_t height) {
  cairo_surface_t* image = newImage(width, height);
  return image ? std::make_unique<CairoBitmap>(image) : nullptr;
}

const MouseInputSource& systemMouseInput() {
  static const X11Pointer pointer;
  return pointer;
}

// X has no system-wide setting for it; the common desktop default.
uint32_t systemDoubleClickTime() { return 400; }

void* bindBlendFunctions() { return nullptr; }

void unbindBlendFunctions(void*) {}

namespace {

class MonotonicClock : public EditorClock {
 public:
  uint32_t ticks() const override {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t milliseconds =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(milliseconds);  // wraps like the Windows counter
  }
  void sleep(uint32_t milliseconds) const override {
    timespec pause{static_cast<time_t>(milliseconds / 1000u), static_cast<long>(milliseconds % 1000u) * 1000000L};
    while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
    }
  }
};

}  // namespace

const EditorClock& systemClock() {
  static const MonotonicClock clock;
  return clock;
}

std::unique_ptr<FrameWindow> createFrameWindow(CFrame& frame, void* systemWindow) {
  CRect size;
  frame.getViewSize(size);
  return X11FrameWindow::create(frame, static_cast<Window>(reinterpret_cast<uintptr_t>(systemWindow)), size.width(),
                                size.height());
}

void dispatchPendingPaint() { X11FrameWindow::processAllExposures(); }
