// The state block the plug-in instances are restored from: made by the
// plug-in's own loading code, built into this program (--ir), or read from
// a preset file (--preset, --bank), together with the response's automatic
// gain.
#pragma once

#include <string>
#include <vector>

#include "RenderOptions.h"
#include "host/VstAbi.h"

struct ResponseState {
  std::vector<unsigned char> chunk;
  // Handed over as a program (effSetChunk index 1) or a bank (index 0).
  bool program = false;
  // 20 log10 of the gain the loader chooses for this response.
  double automaticGainDecibels = 0.0;
};

// Throws RenderError: "Cannot open file: PATH (REASON)" for a response the
// wave reader refuses, an error naming the file for one without frames,
// the preset's reason for a preset that cannot be used.
// pluginId is the uniqueID the loaded plug-in reports.
ResponseState loadResponseState(const RenderOptions& options, VstInt32 pluginId);
