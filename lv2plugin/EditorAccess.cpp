#include "lv2plugin/EditorAccess.h"

#include "effect/ParameterText.h"
#include "engine/ParameterMapping.h"
#include "engine/cpu/CpuFeatures.h"
#include "lv2plugin/Lv2Instance.h"

namespace {

namespace pm = parameter_mapping;

ConvolverEffect& effectOf(void* instance) { return static_cast<Lv2Instance*>(instance)->effect(); }

float parameter(void* instance, std::int32_t index) { return effectOf(instance).getParameter(index); }

void parameterDisplay(void* instance, std::int32_t index, float value, char* text) {
  const float decibels = pm::decibelsFromGain(pm::gainFromParameter(value));
  parameter_text::display(index, value, decibels, effectOf(instance).getSampleRate(), text);
}

bool loadImpulseResponse(void* instance, const char* path) { return effectOf(instance).loadImpulseResponse(path); }

void snapshot(void* instance, EngineSnapshot* state, float* samples) {
  effectOf(instance).engine().snapshot(*state, samples);
}

bool canFilter(void*) { return cpuFeatures().hasSse.load(std::memory_order_relaxed); }

}  // namespace

namespace editor_access {
const EditorAccessTable kTable = {parameter, parameterDisplay, loadImpulseResponse, snapshot, canFilter};
}  // namespace editor_access
