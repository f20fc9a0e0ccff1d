#include <new>

#include "editor/ConvolverEditor.h"
#include "effect/ConvolverEffect.h"
#include "host/PluginEntry.h"

// The effect with its editor attached (the editor registers itself with the
// effect, which owns it from then on). The editor makes no window and opens
// no display until the host opens it, so scanners and command-line hosts
// load the plug-in without a window system.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  auto* effect = new (std::nothrow) ConvolverEffect(audioMaster);
  if (effect) new (std::nothrow) ConvolverEditor(effect);
  return effect;
}
