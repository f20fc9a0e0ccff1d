#include <new>

#include "effect/ConvolverEffect.h"
#include "host/PluginEntry.h"

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  return new (std::nothrow) ConvolverEffect(audioMaster);
}
