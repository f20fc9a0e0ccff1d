// The plug-in's effect: one per instance. Owns the convolution engine,
// keeps the five parameters and the path of the loaded response, answers
// the host's identity queries, saves and restores the whole state as one
// block, and runs the two audio callbacks.
//
// Threading: setParameter may come from any host thread, the audio thread
// included; it never locks or allocates. getChunk, setChunk and
// loadImpulseResponse run on host or editor threads; they hand the new
// response to the audio thread at a block boundary and may wait for the
// block in progress. processReplacing and process run on the audio thread.
#pragma once

#include "effect/StateChunk.h"
#include "effect/UserMessage.h"
#include "engine/FirEngine.h"
#include "host/AudioEffectX.h"

class ConvolverEffect : public AudioEffectX {
 public:
  static constexpr VstInt32 kUniqueId = fourCharCode('W', 'q', '1', '1');
  static constexpr VstInt32 kVendorVersion = 1300;
  static constexpr int kNumPrograms = 1;
  static constexpr int kNumParameters = kParameterCount;
  static constexpr int kBypassParameter = 3;

  explicit ConvolverEffect(audioMasterCallback audioMaster);
  ~ConvolverEffect() override;

  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  void getParameterLabel(VstInt32 index, char* label) override;
  void getParameterDisplay(VstInt32 index, char* text) override;
  void getParameterName(VstInt32 index, char* text) override;

  VstInt32 getChunk(void** data, bool isPreset) override;
  VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;

  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;

  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 getVendorVersion() override { return kVendorVersion; }
  VstInt32 getPlugCategory() override { return kPlugCategEffect; }

  void setSampleRate(float sampleRate) override;
  void setBlockSize(VstInt32 blockSize) override;

  // Loads channel 0 of a wave file with automatic length and gain. On
  // failure tells the user "Cannot open file: <path>" and changes nothing.
  bool loadImpulseResponse(const char* path);

  const char* impulsePath() const { return state_.impulsePath; }
  FirEngine& engine() { return engine_; }
  // Where failure messages go; tests replace the message box.
  void setMessageSink(MessageSink sink) { messageSink_ = sink; }

 private:
  float storedParameter(int index) const;
  void storeParameter(int index, float value);

  // First member: the block handed to the host by getChunk.
  StateChunk state_;
  FirEngine engine_;
  MessageSink messageSink_ = showUserMessage;
};
