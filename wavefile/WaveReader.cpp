#include "wavefile/WaveReader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "wavefile/ExtensibleFormat.h"
#include "wavefile/LittleEndian.h"

namespace {

constexpr riff::FourCC kWaveType = riff::makeFourCC('W', 'A', 'V', 'E');
constexpr riff::FourCC kFormatId = riff::makeFourCC('f', 'm', 't', ' ');
constexpr riff::FourCC kDataId = riff::makeFourCC('d', 'a', 't', 'a');

// The bytes of "fmt " every header has; a plain header's cbSize and any
// extension that follow are skipped.
constexpr long kFormatBytes = 16;
// The RIFF form type occupies the first 4 bytes of the form's data.
constexpr long kFormTypeBytes = 4;

constexpr float kScale8 = 0.0078125f;  // 2^-7
constexpr float kScale16 = 0x1p-15f;
constexpr float kScale32 = 0x1p-31f;  // also 24-bit, placed in the top bytes

using little_endian::u16;
using little_endian::u32;

// Each converter turns `count` packed little-endian samples into floats.
using Converter = void (*)(const unsigned char* in, float* out, int count);

void convertPcm8(const unsigned char* in, float* out, int count) {
  for (int i = 0; i < count; ++i) out[i] = static_cast<float>(in[i] - 128) * kScale8;
}

void convertPcm16(const unsigned char* in, float* out, int count) {
  for (int i = 0; i < count; ++i, in += 2) {
    out[i] = static_cast<float>(static_cast<std::int16_t>(u16(in))) * kScale16;
  }
}

void convertPcm24(const unsigned char* in, float* out, int count) {
  for (int i = 0; i < count; ++i, in += 3) {
    const std::uint32_t bits = static_cast<std::uint32_t>(in[0]) << 8 | static_cast<std::uint32_t>(in[1]) << 16 |
                               static_cast<std::uint32_t>(in[2]) << 24;
    out[i] = static_cast<float>(static_cast<std::int32_t>(bits)) * kScale32;
  }
}

// The integer rounds to the nearest float first; the power-of-two scale
// that follows is exact, so the result is s * 2^-31 rounded to nearest.
void convertPcm32(const unsigned char* in, float* out, int count) {
  for (int i = 0; i < count; ++i, in += 4) {
    out[i] = static_cast<float>(static_cast<std::int32_t>(u32(in))) * kScale32;
  }
}

void convertFloat32(const unsigned char* in, float* out, int count) {
  for (int i = 0; i < count; ++i, in += 4) {
    const std::uint32_t bits = u32(in);
    std::memcpy(&out[i], &bits, sizeof bits);
  }
}

void convertFloat64(const unsigned char* in, float* out, int count) {
  for (int i = 0; i < count; ++i, in += 8) {
    const std::uint64_t bits = static_cast<std::uint64_t>(u32(in)) | static_cast<std::uint64_t>(u32(in + 4)) << 32;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    out[i] = static_cast<float>(value);
  }
}

// Null for a tag and depth without a conversion.
Converter converterFor(std::uint16_t tag, std::uint16_t bits) {
  if (tag == kWaveFormatPcm) {
    switch (bits) {
      case 8:
        return convertPcm8;
      case 16:
        return convertPcm16;
      case 24:
        return convertPcm24;
      case 32:
        return convertPcm32;
      default:
        return nullptr;
    }
  }
  if (tag == kWaveFormatIeeeFloat) {
    switch (bits) {
      case 32:
        return convertFloat32;
      case 64:
        return convertFloat64;
      default:
        return nullptr;
    }
  }
  return nullptr;
}

}  // namespace

WaveReader::WaveReader() = default;

WaveReader::~WaveReader() { close(); }

bool WaveReader::open(const NativePath& path) {
  close();
  refusal_ = Refusal::kNone;
  riff::File* handle = riff::open(path);
  if (handle == nullptr) return refuse(Refusal::kCannotOpen);
  return openHandle(handle);
}

bool WaveReader::openHandle(riff::File* handle) {
  close();
  refusal_ = Refusal::kNone;
  if (handle == nullptr) return refuse(Refusal::kCannotOpen);
  file_ = handle;
  if (!parseChunks(handle)) {
    close();
    return false;
  }
  return true;
}

bool WaveReader::refuse(Refusal reason) {
  refusal_ = reason;
  return false;
}

bool WaveReader::parseChunks(riff::File* handle) {
  riff::ChunkInfo form{};
  if (riff::descend(handle, &form, nullptr, riff::Descend::kHere) != 0 || form.ckid != riff::kRiffId) {
    return refuse(Refusal::kNotRiff);
  }
  if (form.fccType != kWaveType) return refuse(Refusal::kNotWave);

  riff::ChunkInfo formatChunk{};
  formatChunk.ckid = kFormatId;
  if (riff::descend(handle, &formatChunk, &form, riff::Descend::kFindChunk) != 0) {
    return refuse(Refusal::kNoFormatChunk);
  }
  WaveFormat format{};
  std::uint16_t validBits = 0;
  if (!readFormat(handle, formatChunk, &format, &validBits)) return false;

  // The converters read nChannels samples of ceil(bits / 8) bytes from
  // each frame of nBlockAlign bytes, and the caller sizes its output by
  // nChannels. Headers under which either would leave its buffer are
  // refused here, so readFrames never has to distrust the format.
  if (format.nChannels == 0) return refuse(Refusal::kNoChannels);
  if (format.nChannels > kMaxChannels) return refuse(Refusal::kTooManyChannels);
  if (format.nBlockAlign == 0) return refuse(Refusal::kNoBlockAlign);
  const unsigned bytesPerSample = (format.wBitsPerSample + 7u) / 8u;
  if (format.nBlockAlign < format.nChannels * bytesPerSample) {
    return refuse(Refusal::kBlockAlignTooSmall);
  }
  format_ = format;
  validBits_ = validBits;

  if (riff::ascend(handle, &formatChunk) != 0) return refuse(Refusal::kAscendFailed);
  // Back to the first sub-chunk, so that a "data" chunk standing before
  // "fmt " is found too.
  const long firstSubChunk = static_cast<long>(form.dwDataOffset) + kFormTypeBytes;
  if (riff::seek(handle, firstSubChunk) == -1) return refuse(Refusal::kSeekFailed);

  data_ = riff::ChunkInfo{};
  data_.ckid = kDataId;
  if (riff::descend(handle, &data_, &form, riff::Descend::kFindChunk) != 0) {
    return refuse(Refusal::kNoDataChunk);
  }
  return true;
}

bool WaveReader::readFormat(riff::File* handle, const riff::ChunkInfo& chunk, WaveFormat* format,
                            std::uint16_t* validBits) {
  if (chunk.cksize < kFormatBytes) return refuse(Refusal::kFormatTooShort);
  unsigned char bytes[kFormatBytes];
  if (riff::read(handle, reinterpret_cast<char*>(bytes), kFormatBytes) != kFormatBytes) {
    return refuse(Refusal::kFormatTruncated);
  }
  format->wFormatTag = u16(bytes);
  format->nChannels = u16(bytes + 2);
  format->nSamplesPerSec = u32(bytes + 4);
  format->nAvgBytesPerSec = u32(bytes + 8);
  format->nBlockAlign = u16(bytes + 12);
  format->wBitsPerSample = u16(bytes + 14);
  *validBits = format->wBitsPerSample;
  if (format->wFormatTag == kWaveFormatPcm || format->wFormatTag == kWaveFormatIeeeFloat) return true;
  if (format->wFormatTag != extensible_format::kTag) return refuse(Refusal::kUnsupportedTag);

  // The extensible header stands for the plain format its sub-format names.
  if (chunk.cksize < extensible_format::kMinChunkBytes) return refuse(Refusal::kExtensionTooShort);
  unsigned char extension[extensible_format::kExtensionBytes];
  if (riff::read(handle, reinterpret_cast<char*>(extension), extensible_format::kExtensionBytes) !=
      extensible_format::kExtensionBytes) {
    return refuse(Refusal::kFormatTruncated);
  }
  const extensible_format::SubFormat sub = extensible_format::resolve(extension, format->wBitsPerSample);
  if (sub.refusal != Refusal::kNone) return refuse(sub.refusal);
  format->wFormatTag = sub.tag;
  *validBits = sub.validBits;
  return true;
}

bool WaveReader::readBytes(unsigned char* buffer, std::uint32_t count, std::uint32_t* got) {
  if (file_ == nullptr || buffer == nullptr || got == nullptr) return false;
  riff::IoInfo io;
  if (riff::getInfo(file_, &io) != 0) return false;
  const std::uint32_t n = std::min(count, data_.cksize);
  data_.cksize -= n;

  std::uint32_t copied = 0;
  bool ok = true;
  while (copied < n) {
    if (io.pchNext == io.pchEndRead) {
      // An empty buffer after a refill: the file ended before the chunk did.
      if (riff::advance(file_, &io) != 0 || io.pchNext == io.pchEndRead) {
        ok = false;
        break;
      }
    }
    const auto available = static_cast<std::uint32_t>(io.pchEndRead - io.pchNext);
    const std::uint32_t take = std::min(available, n - copied);
    std::memcpy(buffer + copied, io.pchNext, take);
    io.pchNext += take;
    copied += take;
  }

  if (riff::setInfo(file_, &io) != 0) return false;
  if (!ok) return false;
  *got = n;
  return true;
}

int WaveReader::readFrames(float* out, int maxFrames) {
  if (file_ == nullptr || out == nullptr || maxFrames <= 0) return 0;
  const unsigned blockAlign = format_.nBlockAlign;
  const int channels = format_.nChannels;
  const Converter convert = converterFor(format_.wFormatTag, format_.wBitsPerSample);
  // Each frame's samples are taken from the frame's start; bytes that pad a
  // frame up to nBlockAlign are skipped (open guarantees the samples fit).
  const unsigned frameBytes = static_cast<unsigned>(channels) * (format_.wBitsPerSample / 8u);
  std::unique_ptr<unsigned char[]> scratch(new (std::nothrow) unsigned char[kFramesPerRound * blockAlign]);
  if (!scratch) return 0;

  int remaining = maxFrames;
  int delivered = 0;
  float* write = out;
  for (;;) {
    const int n = std::min(kFramesPerRound, remaining);
    if (n == 0) break;
    std::uint32_t got = 0;
    if (!readBytes(scratch.get(), static_cast<std::uint32_t>(n) * blockAlign, &got)) {
      delivered = 0;
      break;
    }
    if (got == 0) break;
    const int frames = static_cast<int>(got / blockAlign);
    remaining -= frames;
    delivered += frames;
    if (convert != nullptr && frameBytes == blockAlign) {
      convert(scratch.get(), write, frames * channels);
    } else if (convert != nullptr) {
      for (int f = 0; f < frames; ++f) {
        convert(scratch.get() + static_cast<std::size_t>(f) * blockAlign, write + f * channels, channels);
      }
    } else {
      // Keep consuming what was asked for, but deliver nothing.
      delivered = 0;
    }
    write += frames * channels;
  }
  return delivered;
}

void WaveReader::close() {
  if (file_ != nullptr) {
    riff::close(file_);
    file_ = nullptr;
  }
  format_ = WaveFormat{};
  validBits_ = 0;
  data_ = riff::ChunkInfo{};
}
