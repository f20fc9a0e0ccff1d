#include "host/AudioEffect.h"

#include <cstring>

#include "host/AEffEditor.h"

namespace {

// The record's function pointers: each reads the record's object field and
// calls the effect. effClose also destroys the effect, after close().
VstIntPtr VSTCALLBACK dispatchTrampoline(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                         float opt) {
  AudioEffect* effect = AudioEffect::fromAeffect(e);
  if (opcode == effClose) {
    effect->dispatcher(opcode, index, value, ptr, opt);
    effect->closedByHost();
    return 1;
  }
  return effect->dispatcher(opcode, index, value, ptr, opt);
}

void VSTCALLBACK processTrampoline(AEffect* e, float** inputs, float** outputs, VstInt32 frames) {
  AudioEffect::fromAeffect(e)->process(inputs, outputs, frames);
}

void VSTCALLBACK processReplacingTrampoline(AEffect* e, float** inputs, float** outputs, VstInt32 frames) {
  AudioEffect::fromAeffect(e)->processReplacing(inputs, outputs, frames);
}

void VSTCALLBACK processDoubleReplacingTrampoline(AEffect* e, double** inputs, double** outputs, VstInt32 frames) {
  AudioEffect::fromAeffect(e)->processDoubleReplacing(inputs, outputs, frames);
}

void VSTCALLBACK setParameterTrampoline(AEffect* e, VstInt32 index, float value) {
  AudioEffect::fromAeffect(e)->setParameter(index, value);
}

float VSTCALLBACK getParameterTrampoline(AEffect* e, VstInt32 index) {
  return AudioEffect::fromAeffect(e)->getParameter(index);
}

// Opcodes whose ptr the effect writes through or reads from: a host that
// passes null gets 0 and nothing is touched.
bool needsPointer(VstInt32 opcode) {
  switch (opcode) {
    case effSetProgramName:
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effEditGetRect:
    case effGetChunk:
    case effSetChunk:
      return true;
    default:
      return false;
  }
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster_(audioMaster), numPrograms_(numPrograms), numParams_(numParams) {
  std::memset(&cEffect_, 0, sizeof(cEffect_));
  cEffect_.magic = kEffectMagic;
  cEffect_.dispatcher = dispatchTrampoline;
  cEffect_.process = processTrampoline;
  cEffect_.setParameter = setParameterTrampoline;
  cEffect_.getParameter = getParameterTrampoline;
  cEffect_.numPrograms = numPrograms;
  cEffect_.numParams = numParams;
  cEffect_.numInputs = 1;
  cEffect_.numOutputs = 2;
  cEffect_.flags = effFlagsCanReplacing;
  cEffect_.ioRatio = 1.0f;
  cEffect_.object = this;
  cEffect_.uniqueID = fourCharCode('N', 'o', 'E', 'f');
  cEffect_.version = 1;
  cEffect_.processReplacing = processReplacingTrampoline;
  cEffect_.processDoubleReplacing = processDoubleReplacingTrampoline;
}

AudioEffect::~AudioEffect() { delete editor_; }

void AudioEffect::closedByHost() {
  closed_.store(true);
  // The host's own hold goes; a nested loop of the editor may keep the
  // effect a little longer.
  releaseHold();
}

void AudioEffect::keepHold() { holds_.fetch_add(1); }

void AudioEffect::releaseHold() {
  if (holds_.fetch_sub(1) == 1) delete this;
}

void AudioEffect::setFlag(VstInt32 flag, bool state) {
  if (state) {
    cEffect_.flags |= flag;
  } else {
    cEffect_.flags &= ~flag;
  }
}

void AudioEffect::setEditor(AEffEditor* editor) {
  editor_ = editor;
  setFlag(effFlagsHasEditor, editor != nullptr);
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  if (needsPointer(opcode) && ptr == nullptr) {
    return 0;
  }
  switch (opcode) {
    case effOpen:
      open();
      return 0;
    case effClose:
      close();
      return 0;
    case effSetProgram:
      // A negative program number would become the current program and be
      // reported back to the host; only existing programs are accepted.
      if (value >= 0 && value < numPrograms_) {
        setProgram(static_cast<VstInt32>(value));
      }
      return 0;
    case effGetProgram:
      return getProgram();
    case effSetProgramName:
      setProgramName(static_cast<char*>(ptr));
      return 0;
    case effGetProgramName:
      getProgramName(static_cast<char*>(ptr));
      return 0;
    case effGetParamLabel:
      getParameterLabel(index, static_cast<char*>(ptr));
      return 0;
    case effGetParamDisplay:
      getParameterDisplay(index, static_cast<char*>(ptr));
      return 0;
    case effGetParamName:
      getParameterName(index, static_cast<char*>(ptr));
      return 0;
    case effSetSampleRate:
      setSampleRate(opt);
      return 0;
    case effSetBlockSize:
      setBlockSize(static_cast<VstInt32>(value));
      return 0;
    case effMainsChanged:
      if (value == 0) {
        suspend();
      } else {
        resume();
      }
      return 0;
    case effEditGetRect:
      return editor_ != nullptr && editor_->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen:
      return editor_ != nullptr && editor_->open(ptr) ? 1 : 0;
    case effEditClose:
      if (editor_ != nullptr) {
        editor_->close();
      }
      return 0;
    case effEditIdle:
      if (editor_ != nullptr) {
        editor_->idle();
      }
      return 0;
    case effIdentify:
      return fourCharCode('N', 'v', 'E', 'f');
    case effGetChunk:
      return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
      return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:
      return 0;
  }
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  // After effClose the host has forgotten the instance.
  if (closed_.load()) return 0;
  if (audioMaster_ == nullptr) {
    return 0;
  }
  return audioMaster_(&cEffect_, opcode, index, value, ptr, opt);
}

VstInt32 AudioEffect::getMasterVersion() {
  const VstIntPtr version = callHost(audioMasterVersion);
  return version != 0 ? static_cast<VstInt32>(version) : 1;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
  setParameter(index, value);
  callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::masterIdle() { callHost(audioMasterIdle); }
