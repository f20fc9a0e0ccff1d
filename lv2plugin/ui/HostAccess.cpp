#include "lv2plugin/ui/HostAccess.h"

#include "engine/FirEngine.h"
#include "engine/ParameterMapping.h"

namespace pm = parameter_mapping;

HostAccess::HostAccess(const EditorAccessTable& table, void* instance, LV2UI_Write_Function write,
                       LV2UI_Controller controller)
    : table_(table), instance_(instance), write_(write), controller_(controller) {
  for (int i = 0; i < kParameterCount; ++i) {
    shown_[i] = table_.parameter(instance_, i);
  }
}

bool HostAccess::takePortValue(std::uint32_t port, float value) {
  if (port >= static_cast<std::uint32_t>(kParameterCount)) {
    return false;
  }
  shown_[port] = value;
  return true;
}

float HostAccess::parameter(int32_t index) { return index >= 0 && index < kParameterCount ? shown_[index] : 0.0f; }

void HostAccess::setParameter(int32_t index, float value) {
  if (index < 0 || index >= kParameterCount) {
    return;
  }
  shown_[index] = value;
  write_(controller_, static_cast<std::uint32_t>(index), sizeof(float), 0, &value);
}

void HostAccess::parameterDisplay(int32_t index, char* text) {
  if (index >= 0 && index < kParameterCount) {
    table_.parameterDisplay(instance_, index, shown_[index], text);
  }
}

bool HostAccess::loadImpulseResponse(const NativePath& path) {
  if (!table_.loadImpulseResponse(instance_, path.c_str())) {
    return false;
  }
  setParameter(pm::kGainIndex, table_.parameter(instance_, pm::kGainIndex));
  setParameter(pm::kLengthIndex, table_.parameter(instance_, pm::kLengthIndex));
  return true;
}

// The panel shows the length the ports hold, which the DSP takes with its
// next block.
void HostAccess::snapshot(EngineSnapshot& state, float* samples) {
  table_.snapshot(instance_, &state, samples);
  for (int i = 0; i < kParameterCount; ++i) {
    state.parameters[i] = shown_[i];
  }
}

bool HostAccess::canFilter() { return table_.canFilter(instance_); }
