// Helpers shared by the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "desktop/NativePath.h"
#include "host/VstAbi.h"

namespace test_support {

// A path as the platform's file functions take it: Linux paths become
// Z:\... paths under Wine.
std::string nativePath(const std::string& path);

// The name the file functions take for a UTF-8 path: UTF-16 on Windows,
// the same bytes elsewhere. The path itself is not changed.
NativePath nativeName(const std::string& path);

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
// Answers the version query and nothing else, recording nothing: safe to
// call from several threads.
VstIntPtr VSTCALLBACK quietHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
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

// Processor time the calling thread has used so far, in seconds.
double threadCpuSeconds();

}  // namespace test_support
