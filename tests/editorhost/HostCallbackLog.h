// The test hosts' answer to the plug-in's callbacks: the version, and a log
// line for each automation, idle request and edit gesture.
#pragma once

#include "host/VstAbi.h"
#include "tests/editorhost/HostLog.h"

inline VstIntPtr answerHostCallback(HostLog& log, VstInt32 opcode, VstInt32 index, float opt) {
  switch (opcode) {
    case audioMasterVersion:
      return kVstVersion;
    case audioMasterAutomate:
      log.line("automate %d %.6f", index, static_cast<double>(opt));
      return 0;
    case audioMasterIdle:
      log.line("idle");
      return 0;
    case audioMasterBeginEdit:
      log.line("beginEdit %d", index);
      return 1;
    case audioMasterEndEdit:
      log.line("endEdit %d", index);
      return 1;
    default:
      return 0;
  }
}
