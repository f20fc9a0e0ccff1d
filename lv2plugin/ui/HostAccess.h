// The editor's access to a running DSP instance through its host: the
// response, the path and the load through the DSP library's table of
// functions, the parameters through the host's control ports. The values
// shown are those the host last sent for the ports or the editor last
// wrote: the host hands a written value to the DSP with its next block, so
// the DSP's own values may lag behind them. GUI thread only.
#pragma once

#include <lv2/ui/ui.h>

#include "editor/ConvolverAccess.h"
#include "effect/StateChunk.h"
#include "lv2plugin/EditorAccess.h"

class HostAccess final : public ConvolverAccess {
 public:
  HostAccess(const EditorAccessTable& table, void* instance, LV2UI_Write_Function write, LV2UI_Controller controller);

  // A port value from the host; false for a port that is no parameter.
  bool takePortValue(std::uint32_t port, float value);

  float parameter(int32_t index) override;
  // Written to the host's port.
  void setParameter(int32_t index, float value) override;
  void parameterDisplay(int32_t index, char* text) override;
  // After a load the automatic gain and length go to the host's ports.
  bool loadImpulseResponse(const NativePath& path) override;
  void snapshot(EngineSnapshot& state, float* samples) override;
  bool canFilter() override;

 private:
  const EditorAccessTable& table_;
  void* instance_;
  LV2UI_Write_Function write_;
  LV2UI_Controller controller_;
  float shown_[kParameterCount];
};
