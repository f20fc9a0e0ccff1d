#include "tests/support/TestSupport.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#if defined(_WIN32)
#include <windows.h>
#else
#include <time.h>
#endif

namespace test_support {

#if defined(_WIN32)
std::string nativePath(const std::string& path) { return path.starts_with("/") ? "Z:" + path : path; }

NativePath nativeName(const std::string& path) {
  if (path.empty()) return {};
  const int size = static_cast<int>(path.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, path.data(), size, nullptr, 0);
  NativePath name(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.data(), size, name.data(), length);
  return name;
}
#else
NativePath nativeName(const std::string& path) { return path; }

std::string nativePath(const std::string& path) { return path; }
#endif

std::vector<HostCall>& recordedHostCalls() {
  static std::vector<HostCall> calls;
  return calls;
}

VstIntPtr VSTCALLBACK recordingHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* /*ptr*/,
                                    float opt) {
  recordedHostCalls().push_back(HostCall{effect, opcode, index, value, opt});
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

VstIntPtr VSTCALLBACK refusingHost(AEffect*, VstInt32, VstInt32, VstIntPtr, void*, float) { return 0; }

std::vector<float> noise(std::size_t count, std::uint32_t seed) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<float> distribution(-1.0f, 1.0f);
  std::vector<float> values(count);
  for (float& v : values) {
    v = distribution(generator);
  }
  return values;
}

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  std::random_device device;
  const auto base = std::filesystem::temp_directory_path();
  path_ = (base / ("ulmar-test-" + std::to_string(device()) + "-" + std::to_string(counter++))).string();
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

double threadCpuSeconds() {
#if defined(_WIN32)
  FILETIME creation, exit, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &creation, &exit, &kernel, &user)) {
    return 0.0;
  }
  auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;  // 100 ns units
#else
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
#endif
}

}  // namespace test_support
