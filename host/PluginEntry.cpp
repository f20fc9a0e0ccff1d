#include "host/PluginEntry.h"

#include <new>

#include "host/AudioEffect.h"

AEffect* createPluginRecord(audioMasterCallback audioMaster) {
  if (audioMaster == nullptr || audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
    return nullptr;
  }
  AudioEffect* effect = nullptr;
  try {
    effect = createEffectInstance(audioMaster);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return effect != nullptr ? effect->getAeffect() : nullptr;
}
