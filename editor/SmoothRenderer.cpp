#include "editor/SmoothRenderer.h"

namespace {

// Set and read on the GUI thread.
SmoothRenderer* replacement = nullptr;

}  // namespace

SmoothRenderer& smoothRenderer() { return replacement ? *replacement : platformSmoothRenderer(); }

SmoothRenderer* setSmoothRenderer(SmoothRenderer* renderer) {
  SmoothRenderer* previous = replacement ? replacement : &platformSmoothRenderer();
  replacement = renderer;
  return previous;
}
