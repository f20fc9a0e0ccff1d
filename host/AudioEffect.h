// The VST 2.4 effect base: owns the AEffect record handed to the host,
// turns opcodes 0 to 24 into virtual operations and wraps the host
// callback. Threading: the dispatcher, parameter and chunk operations come
// from the host's user-interface threads, the process calls from its audio
// thread; this layer takes no locks and starts no threads.
#pragma once

#include <atomic>

#include "host/VstAbi.h"

class AEffEditor;

class AudioEffect {
 public:
  AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
  virtual ~AudioEffect();
  AudioEffect(const AudioEffect&) = delete;
  AudioEffect& operator=(const AudioEffect&) = delete;

  AEffect* getAeffect() { return &cEffect_; }
  static AudioEffect* fromAeffect(AEffect* effect) { return static_cast<AudioEffect*>(effect->object); }

  virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

  virtual void open() {}
  virtual void close() {}
  virtual void suspend() {}
  virtual void resume() {}

  virtual void setProgram(VstInt32 program) { curProgram_ = program; }
  virtual VstInt32 getProgram() { return curProgram_; }
  virtual void setProgramName(char* /*name*/) {}
  virtual void getProgramName(char* name) { name[0] = '\0'; }

  virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}
  virtual float getParameter(VstInt32 /*index*/) { return 0.0f; }
  virtual void getParameterLabel(VstInt32 /*index*/, char* label) { label[0] = '\0'; }
  virtual void getParameterDisplay(VstInt32 /*index*/, char* text) { text[0] = '\0'; }
  virtual void getParameterName(VstInt32 /*index*/, char* text) { text[0] = '\0'; }

  virtual void setSampleRate(float sampleRate) { sampleRate_ = sampleRate; }
  virtual void setBlockSize(VstInt32 blockSize) { blockSize_ = blockSize; }
  float getSampleRate() const { return sampleRate_; }
  VstInt32 getBlockSize() const { return blockSize_; }

  // Chunks: getChunk stores the block's address into *data and answers its
  // size; setChunk answers the number of bytes accepted. 0 means none.
  virtual VstInt32 getChunk(void** /*data*/, bool /*isPreset*/) { return 0; }
  virtual VstInt32 setChunk(void* /*data*/, VstInt32 /*byteSize*/, bool /*isPreset*/) { return 0; }

  virtual void process(float** /*inputs*/, float** /*outputs*/, VstInt32 /*sampleFrames*/) {}
  virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
  virtual void processDoubleReplacing(double** /*inputs*/, double** /*outputs*/, VstInt32 /*sampleFrames*/) {}

  // Record setup, used by constructors.
  void setUniqueID(VstInt32 id) { cEffect_.uniqueID = id; }
  void setNumInputs(VstInt32 inputs) { cEffect_.numInputs = inputs; }
  void setNumOutputs(VstInt32 outputs) { cEffect_.numOutputs = outputs; }
  void canProcessReplacing(bool state = true) { setFlag(effFlagsCanReplacing, state); }
  void programsAreChunks(bool state = true) { setFlag(effFlagsProgramChunks, state); }
  void isSynth(bool state = true) { setFlag(effFlagsIsSynth, state); }

  // Registers the editor (null removes it); sets or clears the editor flag.
  void setEditor(AEffEditor* editor);
  AEffEditor* getEditor() const { return editor_; }

  // The effect lives while anything holds it: the host from creation to
  // effClose, and the editor's nested loops (a modal dialog, a control
  // tracking the mouse) while they run, so that an effClose arriving inside
  // one deletes the effect, and its editor, only once the loop unwinds. Any
  // thread.
  void keepHold();
  void releaseHold();
  // effClose, after the effect's close: marks it closed and lets go of the
  // host's hold.
  void closedByHost();
  // Whether the host has sent effClose; no host call goes out after it.
  bool isClosed() const { return closed_.load(); }

  // Host calls. Without a host callback each answers its default (after
  // effClose, too).
  virtual VstInt32 getMasterVersion();
  virtual void setParameterAutomated(VstInt32 index, float value);
  virtual void masterIdle();

 protected:
  VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f);
  bool hasHost() const { return audioMaster_ != nullptr; }
  void setFlag(VstInt32 flag, bool state);

  // Members in the order the base has always laid them out.
  audioMasterCallback audioMaster_;
  AEffEditor* editor_ = nullptr;
  float sampleRate_ = 44100.0f;
  VstInt32 blockSize_ = 1024;
  VstInt32 numPrograms_;
  VstInt32 numParams_;
  VstInt32 curProgram_ = 0;
  AEffect cEffect_;

 private:
  std::atomic<int> holds_{1};
  std::atomic<bool> closed_{false};
};
