// Helpers shared by the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/VstAbi.h"

namespace test_support {

// Loads a built plug-in library through its exported entry points, as a
// host does: dlopen on Linux, LoadLibrary on Windows.
class PluginLibrary {
 public:
  explicit PluginLibrary(const std::string& path);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  // The address of an exported symbol, or null.
  void* symbol(const char* name) const;
  using EntryPoint = AEffect*(VSTCALLBACK*)(audioMasterCallback);
  EntryPoint entry(const char* name = "VSTPluginMain") const;

 private:
  void* handle_ = nullptr;
};

// A path as the platform's file functions take it: Linux paths become
// Z:\... paths under Wine.
std::string nativePath(const std::string& path);

// A host callback that answers the version query with 2400 and records
// every call it receives.
struct HostCall {
  AEffect* effect;
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  float opt;
};
VstIntPtr VSTCALLBACK recordingHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                    float opt);
VstIntPtr VSTCALLBACK refusingHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt);
std::vector<HostCall>& recordedHostCalls();

// Deterministic noise in -1 ... 1 for signals and responses.
std::vector<float> noise(std::size_t count, std::uint32_t seed);

// A scratch directory for files a test writes; removed by the destructor.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void writeFile(const std::string& path, const std::vector<unsigned char>& bytes);

}  // namespace test_support
