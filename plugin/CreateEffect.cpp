#include <new>

#include "effect/ConvolverEffect.h"
#include "host/PluginEntry.h"

#if defined(_WIN32)
#include "editor/ConvolverEditor.h"
#endif

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  auto* effect = new (std::nothrow) ConvolverEffect(audioMaster);
#if defined(_WIN32)
  // The editor registers itself with the effect, which owns it from here and
  // answers the editor opcodes (its size among them) before any open.
  if (effect) new (std::nothrow) ConvolverEditor(effect);
#endif
  return effect;
}
