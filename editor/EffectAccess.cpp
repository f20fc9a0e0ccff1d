#include "editor/EffectAccess.h"

#include <memory>

#include "editor/ConvolverEditor.h"
#include "effect/ConvolverEffect.h"
#include "engine/cpu/CpuFeatures.h"

float EffectAccess::parameter(int32_t index) { return effect_.getParameter(index); }
void EffectAccess::setParameter(int32_t index, float value) { effect_.setParameter(index, value); }
void EffectAccess::parameterDisplay(int32_t index, char* text) { effect_.getParameterDisplay(index, text); }
bool EffectAccess::loadImpulseResponse(const NativePath& path) { return effect_.loadImpulseResponse(path); }
void EffectAccess::snapshot(EngineSnapshot& state, float* samples) { effect_.engine().snapshot(state, samples); }
bool EffectAccess::canFilter() { return cpuFeatures().hasSse.load(std::memory_order_relaxed); }

// Here rather than with the rest of the editor, so that a library holding
// the editor without the effect does not link the effect in.
ConvolverEditor::ConvolverEditor(ConvolverEffect* effect)
    : ConvolverEditor(effect, std::make_unique<EffectAccess>(*effect)) {}
