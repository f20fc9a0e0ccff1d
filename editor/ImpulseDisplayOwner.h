// What the impulse-response display needs from its editor: the access to
// the effect whose response and path it shows, a drawing of the panel at once, and the knob
// that a right click moves.
#pragma once

#include <cstdint>

class CDrawContext;
class ConvolverAccess;

class ImpulseDisplayOwner {
 public:
  virtual ConvolverAccess* convolverAccess() const = 0;
  // Draws the panel into `context` now (nothing without a context).
  virtual void redrawImpulse(CDrawContext* context) = 0;
  // Shows a new value of parameter `index` on its control and read-out.
  virtual void updateControl(int32_t index, float value) = 0;

 protected:
  ~ImpulseDisplayOwner() = default;
};
