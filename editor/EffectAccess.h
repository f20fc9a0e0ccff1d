// The editor's access to the effect it was made for, in the same library:
// everything goes straight to the effect and its engine.
#pragma once

#include "editor/ConvolverAccess.h"

class ConvolverEffect;

class EffectAccess final : public ConvolverAccess {
 public:
  explicit EffectAccess(ConvolverEffect& effect) : effect_(effect) {}

  float parameter(int32_t index) override;
  void setParameter(int32_t index, float value) override;
  void parameterDisplay(int32_t index, char* text) override;
  bool loadImpulseResponse(const NativePath& path) override;
  void snapshot(EngineSnapshot& state, float* samples) override;
  bool canFilter() override;

 private:
  ConvolverEffect& effect_;
};
