#include "host/AudioEffectX.h"

#include "host/AEffEditor.h"

namespace {

// Opcodes of this layer whose ptr is written through; null answers 0.
bool needsPointer(VstInt32 opcode) {
  switch (opcode) {
    case effGetEffectName:
    case effGetVendorString:
    case effGetProductString:
    case effGetSpeakerArrangement:
    case effCanDo:
      return true;
    default:
      return false;
  }
}

}  // namespace

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  if (needsPointer(opcode) && ptr == nullptr) {
    return 0;
  }
  switch (opcode) {
    case effCanBeAutomated:
      return canParameterBeAutomated(index) ? 1 : 0;
    case effGetPlugCategory:
      return getPlugCategory();
    case effGetEffectName:
      return getEffectName(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorString:
      return getVendorString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetProductString:
      return getProductString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorVersion:
      return getVendorVersion();
    case effCanDo:
      return canDo(static_cast<char*>(ptr));
    case effGetTailSize:
      return getTailSize();
    case effGetVstVersion:
      return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp: {
      AEffEditor* editor = getEditor();
      if (editor == nullptr) {
        return 0;
      }
      VstKeyCode key{};
      key.character = index;
      key.virt = static_cast<unsigned char>(value & 0xFF);
      key.modifier = static_cast<unsigned char>(static_cast<VstInt32>(opt) & 0xFF);
      const bool handled = opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key);
      return handled ? 1 : 0;
    }
    case effSetEditKnobMode: {
      AEffEditor* editor = getEditor();
      return editor != nullptr && editor->setKnobMode(static_cast<VstInt32>(value)) ? 1 : 0;
    }
    case effGetCurrentMidiProgram:
      return -1;
    case effGetSpeakerArrangement:
      if (value != 0) {
        *reinterpret_cast<void**>(value) = nullptr;
      }
      *static_cast<void**>(ptr) = nullptr;
      return 0;
    case effSetTotalSampleToProcess:
      return value;
    default:
      return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
  }
}

void AudioEffectX::resume() {
  char receiveMidi[] = "receiveVstMidiEvent";
  if ((getAeffect()->flags & effFlagsIsSynth) != 0 || canDo(receiveMidi) == 1) {
    wantEvents(1);
  }
}

VstInt32 AudioEffectX::getPlugCategory() {
  return (getAeffect()->flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}

bool AudioEffectX::wantEvents(VstInt32 filter) { return callHost(audioMasterWantMidi, 0, filter) != 0; }

bool AudioEffectX::sizeWindow(VstInt32 width, VstInt32 height) {
  return callHost(audioMasterSizeWindow, width, height) != 0;
}

bool AudioEffectX::canHostDo(char* text) { return callHost(audioMasterCanDo, 0, 0, text) != 0; }

bool AudioEffectX::beginEdit(VstInt32 index) { return callHost(audioMasterBeginEdit, index) != 0; }

bool AudioEffectX::endEdit(VstInt32 index) { return callHost(audioMasterEndEdit, index) != 0; }

float AudioEffectX::updateSampleRate() {
  const VstIntPtr rate = callHost(audioMasterGetSampleRate);
  if (rate > 0) {
    sampleRate_ = static_cast<float>(rate);
  }
  return sampleRate_;
}

VstInt32 AudioEffectX::updateBlockSize() {
  const VstIntPtr size = callHost(audioMasterGetBlockSize);
  if (size > 0) {
    blockSize_ = static_cast<VstInt32>(size);
  }
  return blockSize_;
}
