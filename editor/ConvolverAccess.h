// What the editor needs of the running effect: its parameters and their
// texts, the file load, and the response it filters with. The VST build
// answers from the effect it owns (EffectAccess); a build whose host owns
// the parameters sends them through the host instead.
#pragma once

#include <cstdint>

#include "desktop/NativePath.h"

struct EngineSnapshot;

class ConvolverAccess {
 public:
  virtual ~ConvolverAccess() = default;

  virtual float parameter(int32_t index) = 0;
  virtual void setParameter(int32_t index, float value) = 0;
  // The display text of parameter `index` as it stands now (the host's
  // text: see parameter_text).
  virtual void parameterDisplay(int32_t index, char* text) = 0;
  // Loads a wave file; on failure the user is told and nothing changes.
  virtual bool loadImpulseResponse(const NativePath& path) = 0;
  // The response in use, its path, parameters and loaded state in one step.
  virtual void snapshot(EngineSnapshot& state, float* samples) = 0;
  // False on a processor the engine cannot filter on.
  virtual bool canFilter() = 0;
};
