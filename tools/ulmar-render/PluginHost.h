// Loading the plug-in library and driving instances of it the way a host
// does: only through the exported entry point and the AEffect record.
#pragma once

#include <string>
#include <vector>

#include "host/VstAbi.h"
#include "tools/loader/PluginModule.h"

// Ulmar_v1.so "built beside" this program: ../plugin/ relative to the
// program's folder, then the program's folder itself. Empty when neither
// exists; *tried lists the paths looked at.
std::string defaultPluginPath(std::string* tried);

class PluginLibrary {
 public:
  // Loads the library and looks up VSTPluginMain; throws RenderError.
  explicit PluginLibrary(const std::string& path);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  const std::string& path() const { return path_; }
  // A new record from the entry point; throws when the plug-in refuses or
  // answers something that is not an effect record.
  AEffect* createEffect() const;

 private:
  std::string path_;
  PluginModule module_;
  PluginModule::EntryPoint entry_ = nullptr;
};

class PluginInstance {
 public:
  explicit PluginInstance(const PluginLibrary& library);
  // Switches processing off and sends effClose, which frees the instance.
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  const AEffect& record() const { return *effect_; }

  // effOpen, then the sample rate and the largest block size.
  void open(float sampleRate, int maxBlockSize);
  // effSetChunk: index 1 for a program, 0 for a bank. False when refused.
  bool setChunk(const std::vector<unsigned char>& chunk, bool program);
  // effGetChunk: a copy of the block the plug-in hands out.
  std::vector<unsigned char> getChunk(bool program);
  std::string programName();
  void setParameter(int index, float value);
  float getParameter(int index);
  // effMainsChanged on (resume) and off (suspend).
  void setProcessing(bool on);
  // processReplacing of one mono block; `frames` at most the block size
  // given to open(). Input and output may be the same buffer.
  void process(float* input, float* output, int frames);

 private:
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f);

  AEffect* effect_ = nullptr;
  bool processing_ = false;
  std::vector<float> silentInput_;
  std::vector<std::vector<float>> ignoredOutputs_;
  std::vector<float*> inputs_;
  std::vector<float*> outputs_;
};
