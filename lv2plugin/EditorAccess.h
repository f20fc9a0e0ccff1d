// What the UI library may do with a running DSP instance, which it reaches
// through the host's instance access: a table of plain functions that the
// DSP library hands out as extension data. The UI library calls them
// instead of linking a copy of the effect and engine, whose process-wide
// state (the processor's features, the sample rate) lives in the DSP
// library. Parameters are not set here: the host owns the control ports,
// and the UI changes them through its write function.
#pragma once

#include <cstdint>

#include "engine/FirEngine.h"

struct EditorAccessTable {
  // The parameter value in force, and the display text (at least
  // parameter_text::kDisplayCapacity bytes) of `value` for parameter
  // `index` at the instance's sample rate, as the VST build shows it.
  float (*parameter)(void* instance, std::int32_t index);
  void (*parameterDisplay)(void* instance, std::int32_t index, float value, char* text);
  // Loads a wave file as the VST editor's load does: false, with a message
  // to the user and nothing changed, when it cannot be read.
  bool (*loadImpulseResponse)(void* instance, const char* path);
  // The active response's 32768 samples, path, parameters and loaded state.
  void (*snapshot)(void* instance, EngineSnapshot* state, float* samples);
  // Whether the processor the DSP library runs on can filter.
  bool (*canFilter)(void* instance);
};

namespace editor_access {
extern const EditorAccessTable kTable;
}  // namespace editor_access
