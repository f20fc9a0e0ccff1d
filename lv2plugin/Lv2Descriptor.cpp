// The LV2 entry point of the DSP library: the descriptor, its callbacks and
// the extension data (the state interface, and the UI's access to the
// instance's response and loader).
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>

#include <cstring>

#include "lv2plugin/EditorAccess.h"
#include "lv2plugin/Lv2Instance.h"
#include "lv2plugin/Lv2Uris.h"

namespace {

Lv2Instance* instanceOf(LV2_Handle handle) { return static_cast<Lv2Instance*>(handle); }

LV2_Handle instantiate(const LV2_Descriptor*, double sampleRate, const char*, const LV2_Feature* const* features) {
  return Lv2Instance::create(sampleRate, features);
}

void connectPort(LV2_Handle handle, uint32_t port, void* data) { instanceOf(handle)->connectPort(port, data); }

void run(LV2_Handle handle, uint32_t sampleCount) { instanceOf(handle)->run(sampleCount); }

void cleanup(LV2_Handle handle) { delete instanceOf(handle); }

LV2_State_Status save(LV2_Handle handle, LV2_State_Store_Function store, LV2_State_Handle state, uint32_t,
                      const LV2_Feature* const*) {
  return instanceOf(handle)->saveState(store, state);
}

LV2_State_Status restore(LV2_Handle handle, LV2_State_Retrieve_Function retrieve, LV2_State_Handle state, uint32_t,
                         const LV2_Feature* const*) {
  return instanceOf(handle)->restoreState(retrieve, state);
}

const LV2_State_Interface kStateInterface = {save, restore};

const void* extensionData(const char* uri) {
  if (std::strcmp(uri, LV2_STATE__interface) == 0) {
    return &kStateInterface;
  }
  if (std::strcmp(uri, ULMAR_LV2_EDITOR_ACCESS_URI) == 0) {
    return &editor_access::kTable;
  }
  return nullptr;
}

const LV2_Descriptor kDescriptor = {
    ULMAR_LV2_URI, instantiate, connectPort, nullptr, run, nullptr, cleanup, extensionData,
};

}  // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
