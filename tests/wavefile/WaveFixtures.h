// The files make-fixtures.sh writes (sox and libsndfile output, with
// libsndfile's decoding of each one as NAME.f32), as the tests find them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace wave_fixtures {

// The directory comes from ctest as a native path; Wine sees the Linux
// file system as drive Z:. Empty when the test runs outside ctest.
inline std::string directory() {
  const char* dir = std::getenv("ULMAR_WAVE_FIXTURES");
  std::string path = dir != nullptr ? dir : "";
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') {
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
    path = "Z:" + path;
  }
#endif
  return path;
}

inline std::string path(const std::string& dir, const char* name, const char* extension) {
#ifdef _WIN32
  return dir + "\\" + name + extension;
#else
  return dir + "/" + name + extension;
#endif
}

inline std::vector<unsigned char> readBytes(const std::string& path) {
  std::vector<unsigned char> bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return bytes;
  unsigned char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.insert(bytes.end(), buffer, buffer + n);
  std::fclose(f);
  return bytes;
}

// NAME.f32: libsndfile's samples, interleaved little-endian floats.
inline std::vector<float> readReference(const std::string& path) {
  const std::vector<unsigned char> bytes = readBytes(path);
  std::vector<float> samples(bytes.size() / 4);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const unsigned char* le = &bytes[4 * i];
    const std::uint32_t bits = le[0] | le[1] << 8 | le[2] << 16 | static_cast<std::uint32_t>(le[3]) << 24;
    std::memcpy(&samples[i], &bits, sizeof bits);
  }
  return samples;
}

// The format tag a wave file's "fmt " chunk carries, found by walking the
// chunks independently of the reader under test.
inline std::optional<unsigned> headerTag(const std::string& path) {
  const std::vector<unsigned char> b = readBytes(path);
  auto le32 = [&b](std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
  };
  if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0) return std::nullopt;
  for (std::size_t at = 12; at + 10 <= b.size(); at += 8 + le32(at + 4) + (le32(at + 4) & 1)) {
    if (std::memcmp(&b[at], "fmt ", 4) == 0) return b[at + 8] | b[at + 9] << 8;
  }
  return std::nullopt;
}

}  // namespace wave_fixtures
