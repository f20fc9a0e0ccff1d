// The plug-in's effect: one per instance. Owns the convolution engine,
// keeps the five parameters and the path of the loaded response, answers
// the host's identity queries, saves and restores the whole state as one
// block, and runs the two audio callbacks.
//
// The parameter values, the path and the response live in the engine,
// which keeps one copy of each; a state restore and a file load change
// them in one step, and the state block is filled from one step's result
// when the host asks for it.
//
// Threading: setParameter and getParameter may come from any host thread,
// the audio thread included; they never lock, wait or allocate. getChunk,
// setChunk and loadImpulseResponse run on host or editor threads; they
// wait for one another, never for the audio thread. processReplacing and
// process run on the audio thread.
#pragma once

#include <mutex>
#include <string>

#include "desktop/UserMessage.h"
#include "effect/StateChunk.h"
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
  bool loadImpulseResponse(const NativePath& path);

  // The path stored with the active response ("... empty ..." before any).
  std::string impulsePath() const { return engine_.impulsePath(); }
  FirEngine& engine() { return engine_; }
  // Where failure messages go; tests replace the message box.
  void setMessageSink(MessageSink sink) { messageSink_ = sink; }

 private:
  // First member: the block handed to the host by getChunk, filled there.
  StateChunk state_;
  std::mutex chunkMutex_;
  FirEngine engine_;
  MessageSink messageSink_ = showUserMessage;
};
