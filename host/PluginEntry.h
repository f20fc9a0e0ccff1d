// The plug-in's exported entry points and the factory they call.
#pragma once

#include "host/VstAbi.h"

class AudioEffect;

// Defined by the plug-in: allocates its one effect; null when it cannot.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster);

// What VSTPluginMain, main and MAIN do: refuse a host that answers 0 to the
// version query (or passes no callback), else create one effect.
AEffect* createPluginRecord(audioMasterCallback audioMaster);
