#include "tools/presets/PresetFile.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace preset_file {

namespace {

std::uint32_t readBigEndian(const unsigned char* bytes, std::size_t offset) {
  return (static_cast<std::uint32_t>(bytes[offset]) << 24) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 16) |
         (static_cast<std::uint32_t>(bytes[offset + 2]) << 8) | static_cast<std::uint32_t>(bytes[offset + 3]);
}

VstInt32 readSigned(const unsigned char* bytes, std::size_t offset) {
  return static_cast<VstInt32>(readBigEndian(bytes, offset));
}

void writeBigEndian(std::vector<unsigned char>& bytes, std::size_t offset, std::uint32_t value) {
  bytes[offset] = static_cast<unsigned char>(value >> 24);
  bytes[offset + 1] = static_cast<unsigned char>(value >> 16);
  bytes[offset + 2] = static_cast<unsigned char>(value >> 8);
  bytes[offset + 3] = static_cast<unsigned char>(value);
}

void writeSigned(std::vector<unsigned char>& bytes, std::size_t offset, VstInt32 value) {
  writeBigEndian(bytes, offset, static_cast<std::uint32_t>(value));
}

ReadResult failure(Error error) {
  ReadResult result;
  result.error = error;
  return result;
}

}  // namespace

ReadResult parse(const unsigned char* bytes, std::size_t size, VstInt32 expectedPluginId) {
  if (size > kMaxFileSize) {
    return failure(Error::kTooLarge);
  }
  if (size < kByteSizeOffset) {
    return failure(Error::kTruncated);
  }
  if (readSigned(bytes, kChunkMagicOffset) != kChunkMagic) {
    return failure(Error::kWrongMagic);
  }
  if (size < kFormOffset + 4) {
    return failure(Error::kTruncated);
  }

  ReadResult result;
  Preset& preset = result.preset;
  std::size_t chunkSizeOffset = 0;
  const VstInt32 form = readSigned(bytes, kFormOffset);
  if (form == kProgramChunkForm) {
    preset.kind = Kind::kProgram;
    chunkSizeOffset = kProgramChunkSizeOffset;
  } else if (form == kBankChunkForm) {
    preset.kind = Kind::kBank;
    chunkSizeOffset = kBankChunkSizeOffset;
  } else if (form == kProgramParameterForm || form == kBankParameterForm) {
    return failure(Error::kParameterListForm);
  } else {
    return failure(Error::kUnknownForm);
  }
  const std::size_t chunkOffset = chunkSizeOffset + 4;
  if (size < chunkOffset) {
    return failure(Error::kTruncated);
  }

  preset.formatVersion = readSigned(bytes, kFormatVersionOffset);
  const bool versionKnown = preset.kind == Kind::kProgram ? preset.formatVersion == 1
                                                          : (preset.formatVersion == 1 || preset.formatVersion == 2);
  if (!versionKnown) {
    return failure(Error::kUnsupportedVersion);
  }
  preset.pluginId = readSigned(bytes, kPluginIdOffset);
  if (preset.pluginId != expectedPluginId) {
    return failure(Error::kWrongPluginId);
  }

  // Both sizes are compared with what the file holds before either is used;
  // they are unsigned so that a "negative" size reads as a huge one.
  const std::size_t byteSize = readBigEndian(bytes, kByteSizeOffset);
  const std::size_t present = size - kByteSizeExcluded;
  if (byteSize > present) {
    return failure(Error::kTruncated);
  }
  if (byteSize < present) {
    return failure(Error::kSizeMismatch);
  }
  const std::size_t chunkSize = readBigEndian(bytes, chunkSizeOffset);
  if (chunkSize > kMaxChunkSize) {
    return failure(Error::kTooLarge);
  }
  if (chunkSize > size - chunkOffset) {
    return failure(Error::kTruncated);
  }
  if (chunkSize < size - chunkOffset) {
    return failure(Error::kSizeMismatch);
  }

  preset.pluginVersion = readSigned(bytes, kPluginVersionOffset);
  preset.count = readSigned(bytes, kCountOffset);
  if (preset.kind == Kind::kProgram) {
    const char* name = reinterpret_cast<const char*>(bytes + kProgramNameOffset);
    // At most 27 characters, as written: a name that fills its field
    // without a terminator is cut there, so that writing it back keeps it.
    preset.programName.assign(name, std::find(name, name + kProgramNameSize - 1, '\0'));
  } else if (preset.formatVersion == 2) {
    preset.currentProgram = readSigned(bytes, kBankCurrentProgramOffset);
  }
  preset.chunk.assign(bytes + chunkOffset, bytes + chunkOffset + chunkSize);
  return result;
}

namespace {

// Opens a regular file for reading. On POSIX systems without waiting: a
// FIFO would block the open until a writer came, and is no preset file.
std::FILE* openRegularFile(const char* path) {
  if (path == nullptr) {
    return nullptr;
  }
#if defined(_WIN32)
  return std::fopen(path, "rb");
#else
  const int descriptor = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (descriptor < 0) {
    return nullptr;
  }
  struct stat status {};
  std::FILE* file = nullptr;
  if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
    file = ::fdopen(descriptor, "rb");
  }
  if (file == nullptr) {
    ::close(descriptor);
  }
  return file;
#endif
}

}  // namespace

ReadResult readFile(const char* path, VstInt32 expectedPluginId) {
  std::FILE* file = openRegularFile(path);
  if (file == nullptr) {
    return failure(Error::kCannotOpen);
  }
  // The length is known before anything is allocated, so an oversized file
  // is refused without reading it.
  long length = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    length = std::ftell(file);
  }
  if (length < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
    std::fclose(file);
    return failure(Error::kCannotOpen);
  }
  if (static_cast<unsigned long>(length) > kMaxFileSize) {
    std::fclose(file);
    return failure(Error::kTooLarge);
  }
  std::vector<unsigned char> bytes(static_cast<std::size_t>(length));
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
  const bool readError = std::ferror(file) != 0;
  std::fclose(file);
  if (readError || got != bytes.size()) {
    return failure(Error::kCannotOpen);
  }
  return parse(bytes.data(), bytes.size(), expectedPluginId);
}

std::vector<unsigned char> encode(const Preset& preset) {
  const bool program = preset.kind == Kind::kProgram;
  const std::size_t chunkSizeOffset = program ? kProgramChunkSizeOffset : kBankChunkSizeOffset;
  const std::size_t chunkOffset = chunkSizeOffset + 4;
  std::vector<unsigned char> bytes(chunkOffset + preset.chunk.size(), 0);

  writeSigned(bytes, kChunkMagicOffset, kChunkMagic);
  writeBigEndian(bytes, kByteSizeOffset, static_cast<std::uint32_t>(bytes.size() - kByteSizeExcluded));
  writeSigned(bytes, kFormOffset, program ? kProgramChunkForm : kBankChunkForm);
  const VstInt32 version = !program && preset.formatVersion == 2 ? 2 : 1;
  writeSigned(bytes, kFormatVersionOffset, version);
  writeSigned(bytes, kPluginIdOffset, preset.pluginId);
  writeSigned(bytes, kPluginVersionOffset, preset.pluginVersion);
  writeSigned(bytes, kCountOffset, preset.count);
  if (program) {
    // At most 27 characters, so that the field always ends with a NUL.
    const std::size_t length = std::min(preset.programName.size(), kProgramNameSize - 1);
    std::memcpy(bytes.data() + kProgramNameOffset, preset.programName.data(), length);
  } else if (version == 2) {
    writeSigned(bytes, kBankCurrentProgramOffset, preset.currentProgram);
  }
  writeBigEndian(bytes, chunkSizeOffset, static_cast<std::uint32_t>(preset.chunk.size()));
  if (!preset.chunk.empty()) {
    std::memcpy(bytes.data() + chunkOffset, preset.chunk.data(), preset.chunk.size());
  }
  return bytes;
}

Error writeFile(const char* path, const Preset& preset) {
  if (preset.chunk.size() > kMaxChunkSize) {
    return Error::kTooLarge;
  }
  std::FILE* file = path != nullptr ? std::fopen(path, "wb") : nullptr;
  if (file == nullptr) {
    return Error::kCannotWrite;
  }
  const std::vector<unsigned char> bytes = encode(preset);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  // fclose flushes: its failure is a failed write too.
  const bool closed = std::fclose(file) == 0;
  return written && closed ? Error::kNone : Error::kCannotWrite;
}

const char* describe(Error error) {
  switch (error) {
    case Error::kNone:
      return "no error";
    case Error::kCannotOpen:
      return "cannot be opened or read";
    case Error::kCannotWrite:
      return "cannot be written";
    case Error::kTruncated:
      return "is truncated";
    case Error::kWrongMagic:
      return "is not a preset file (it does not start with 'CcnK')";
    case Error::kParameterListForm:
      return "holds a parameter list ('FxCk'/'FxBk'); this plug-in saves its state as a chunk";
    case Error::kUnknownForm:
      return "is neither a program ('FPCh') nor a bank ('FBCh') file";
    case Error::kUnsupportedVersion:
      return "has an unsupported format version";
    case Error::kWrongPluginId:
      return "was saved by another plug-in (wrong plug-in ID)";
    case Error::kSizeMismatch:
      return "declares sizes that do not match its length";
    case Error::kTooLarge:
      return "is too large";
  }
  return "unknown error";
}

}  // namespace preset_file
