// Builds RIFF files byte by byte for the tests, and writes them to
// temporary files so that the same tests run over every RIFF layer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace wavbytes {

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes& b, unsigned v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void put32(Bytes& b, std::uint32_t v) {
  put16(b, v & 0xFFFFu);
  put16(b, v >> 16);
}

inline void putId(Bytes& b, const char* id) {
  for (int i = 0; i < 4; ++i) {
    b.push_back(static_cast<std::uint8_t>(id[i]));
  }
}

struct Chunk {
  const char* id;
  Bytes body;
  // Written instead of body.size() when set (lying headers).
  std::optional<std::uint32_t> declaredSize = std::nullopt;
};

// "RIFF" <size> <form> followed by the chunks, each padded to even length.
inline Bytes riffBytes(const std::vector<Chunk>& chunks, const char* form = "WAVE", const char* id = "RIFF") {
  Bytes b;
  putId(b, id);
  put32(b, 0);
  putId(b, form);
  for (const Chunk& c : chunks) {
    putId(b, c.id);
    put32(b, c.declaredSize.value_or(static_cast<std::uint32_t>(c.body.size())));
    b.insert(b.end(), c.body.begin(), c.body.end());
    if (c.body.size() % 2 != 0) b.push_back(0);
  }
  const auto formSize = static_cast<std::uint32_t>(b.size() - 8);
  for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<std::uint8_t>(formSize >> (8 * i));
  return b;
}

// A "fmt " body of 16 bytes, or of 18 and more with cbSize and extension.
inline Bytes fmt(unsigned tag, unsigned channels, unsigned blockAlign, unsigned bits, std::size_t extension = 0,
                 bool withCbSize = false) {
  Bytes b;
  put16(b, tag);
  put16(b, channels);
  put32(b, 48000);
  put32(b, 48000u * blockAlign);
  put16(b, blockAlign);
  put16(b, bits);
  if (withCbSize || extension > 0) {
    put16(b, static_cast<unsigned>(extension));
    b.insert(b.end(), extension, 0xAB);
  }
  return b;
}

// An extensible "fmt " body: the common 16 bytes with tag 0xFFFE, then
// cbSize, valid bits, channel mask and the sub-format GUID (40 bytes, and
// `extra` more when cbSize says so).
struct Extensible {
  std::uint32_t subTag = 1;  // the GUID's first field
  unsigned channels = 1;
  unsigned blockAlign = 2;
  unsigned bits = 16;
  unsigned validBits = 16;
  unsigned cbSize = 22;
  std::uint32_t channelMask = 0x4;  // front centre
  bool standardBase = true;         // false: one byte of the GUID's base differs
  std::size_t extra = 0;
};

inline Bytes fmtExtensible(const Extensible& e) {
  Bytes b;
  put16(b, 0xFFFE);
  put16(b, e.channels);
  put32(b, 48000);
  put32(b, 48000u * e.blockAlign);
  put16(b, e.blockAlign);
  put16(b, e.bits);
  put16(b, e.cbSize);
  put16(b, e.validBits);
  put32(b, e.channelMask);
  put32(b, e.subTag);
  const std::uint8_t base[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
  b.insert(b.end(), base, base + 12);
  if (!e.standardBase) b[b.size() - 1] ^= 0x01;
  b.insert(b.end(), e.extra, 0xCD);
  return b;
}

inline Chunk fmtChunk(unsigned tag, unsigned channels, unsigned bits) {
  return {"fmt ", fmt(tag, channels, channels * bits / 8, bits)};
}

// A file removed again when the object goes.
class TempFile {
 public:
  explicit TempFile(const Bytes& bytes) {
    // Unique across the test processes that ctest may run side by side.
    static const std::string token = std::to_string(std::random_device{}());
    static int counter = 0;
    path_ =
        (std::filesystem::temp_directory_path() / ("ulmar-wave-" + token + "-" + std::to_string(counter++) + ".wav"))
            .string();
    std::FILE* f = std::fopen(path_.c_str(), "wb");
    if (f != nullptr) {
      if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
  }
  ~TempFile() { std::remove(path_.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const char* path() const { return path_.c_str(); }

 private:
  std::string path_;
};

}  // namespace wavbytes
