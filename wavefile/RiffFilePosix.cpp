// Buffered RIFF reading over stdio or a block of memory, behaving like the
// multimedia file I/O that RiffFileWin.cpp wraps on Windows.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

#include "wavefile/RiffFile.h"

namespace riff {

namespace {

// Chunk offsets are 32-bit; nothing lies beyond this.
constexpr std::uint64_t kMaxOffset = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint32_t kHeaderSize = 8;

std::uint32_t readLe32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

struct File {
  std::FILE* stream = nullptr;
  const unsigned char* memory = nullptr;
  std::size_t memorySize = 0;

  char buffer[kBufferSize];
  // File offset of buffer[0]; the bytes buffer[0, valid) are the file's.
  std::uint64_t bufferOffset = 0;
  std::size_t valid = 0;
  std::size_t next = 0;

  std::uint64_t position() const { return bufferOffset + next; }

  // Fills the buffer with the bytes at the current position. False on an
  // I/O error; at the end of the file the buffer is left empty.
  bool refill() {
    bufferOffset = position();
    next = 0;
    valid = 0;
    if (memory != nullptr) {
      if (bufferOffset < memorySize) {
        valid = std::min(kBufferSize, static_cast<std::size_t>(memorySize - bufferOffset));
        std::memcpy(buffer, memory + bufferOffset, valid);
      }
      return true;
    }
    if (bufferOffset > static_cast<std::uint64_t>(std::numeric_limits<long>::max()) ||
        std::fseek(stream, static_cast<long>(bufferOffset), SEEK_SET) != 0) {
      return false;
    }
    valid = std::fread(buffer, 1, kBufferSize, stream);
    return std::ferror(stream) == 0;
  }

  // Keeps the buffer when the target lies inside it, so that small seeks
  // cost no I/O.
  void moveTo(std::uint64_t offset) {
    if (offset >= bufferOffset && offset <= bufferOffset + valid) {
      next = static_cast<std::size_t>(offset - bufferOffset);
    } else {
      bufferOffset = offset;
      valid = 0;
      next = 0;
    }
  }

  long readInto(char* out, long count) {
    long done = 0;
    while (done < count) {
      if (next == valid) {
        if (!refill()) return -1;
        if (valid == 0) break;
      }
      std::size_t n = std::min(valid - next, static_cast<std::size_t>(count - done));
      std::memcpy(out + done, buffer + next, n);
      next += n;
      done += static_cast<long>(n);
    }
    return done;
  }
};

File* open(const NativePath& path) {
  // A zero inside the name would open the file named by its first part.
  if (path.empty() || path.find('\0') != NativePath::npos) return nullptr;
  // Opened without waiting: a FIFO would block here until a writer came,
  // and a device or a folder is no wave file. Only a regular file is read.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (descriptor < 0) return nullptr;
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(descriptor);
    return nullptr;
  }
  std::FILE* stream = ::fdopen(descriptor, "rb");
  if (stream == nullptr) {
    ::close(descriptor);
    return nullptr;
  }
  // Our own buffer does the buffering.
  std::setvbuf(stream, nullptr, _IONBF, 0);
  File* file = new (std::nothrow) File;
  if (file == nullptr) {
    std::fclose(stream);
    return nullptr;
  }
  file->stream = stream;
  return file;
}

File* openMemory(const void* data, std::size_t size) {
  if (data == nullptr && size != 0) return nullptr;
  File* file = new (std::nothrow) File;
  if (file == nullptr) return nullptr;
  static const unsigned char kEmpty = 0;
  file->memory = data != nullptr ? static_cast<const unsigned char*>(data) : &kEmpty;
  file->memorySize = size;
  return file;
}

int descend(File* file, ChunkInfo* ck, const ChunkInfo* parent, Descend mode) {
  if (file == nullptr || ck == nullptr) return 1;
  const std::uint64_t start = file->position();
  std::uint64_t parentEnd = kMaxOffset;
  if (parent != nullptr) {
    parentEnd = std::min<std::uint64_t>(kMaxOffset, static_cast<std::uint64_t>(parent->dwDataOffset) + parent->cksize);
    if (start < parent->dwDataOffset || start >= parentEnd) return 1;
  }
  const auto fail = [&] {
    file->moveTo(start);
    return 1;
  };

  std::uint64_t at = start;
  unsigned char header[kHeaderSize];
  for (;;) {
    // A header that does not fit in the parent means the parent has ended.
    if (at + kHeaderSize > parentEnd) return fail();
    file->moveTo(at);
    if (file->readInto(reinterpret_cast<char*>(header), kHeaderSize) != kHeaderSize) return fail();
    const FourCC id = readLe32(header);
    const std::uint32_t size = readLe32(header + 4);
    if (mode == Descend::kHere || id == ck->ckid) {
      ck->ckid = id;
      ck->cksize = size;
      break;
    }
    // Skip the data and the pad byte of an odd-sized chunk.
    at += kHeaderSize + static_cast<std::uint64_t>(size) + (size & 1u);
  }

  ck->dwDataOffset = static_cast<std::uint32_t>(at + kHeaderSize);
  ck->dwFlags = 0;
  ck->fccType = 0;
  if (ck->ckid == kRiffId || ck->ckid == kListId) {
    unsigned char type[4];
    if (file->readInto(reinterpret_cast<char*>(type), 4) != 4) return fail();
    ck->fccType = readLe32(type);
  }
  return 0;
}

int ascend(File* file, const ChunkInfo* ck) {
  if (file == nullptr || ck == nullptr) return 1;
  const std::uint64_t end = static_cast<std::uint64_t>(ck->dwDataOffset) + ck->cksize + (ck->cksize & 1u);
  if (end > kMaxOffset) return 1;
  file->moveTo(end);
  return 0;
}

long seek(File* file, long offset) {
  if (file == nullptr || offset < 0 || static_cast<std::uint64_t>(offset) > kMaxOffset) return -1;
  file->moveTo(static_cast<std::uint64_t>(offset));
  return offset;
}

long read(File* file, char* buffer, long count) {
  if (file == nullptr || buffer == nullptr || count < 0) return -1;
  return file->readInto(buffer, count);
}

int getInfo(File* file, IoInfo* info) {
  if (file == nullptr || info == nullptr) return 1;
  info->pchBuffer = file->buffer;
  info->cchBuffer = static_cast<std::int32_t>(kBufferSize);
  info->pchNext = file->buffer + file->next;
  info->pchEndRead = file->buffer + file->valid;
  return 0;
}

namespace {

bool insideBuffer(const File* file, const char* p) { return p >= file->buffer && p <= file->buffer + file->valid; }

}  // namespace

int advance(File* file, IoInfo* info) {
  if (file == nullptr || info == nullptr || !insideBuffer(file, info->pchNext)) return 1;
  file->next = static_cast<std::size_t>(info->pchNext - file->buffer);
  if (!file->refill()) return 1;
  return getInfo(file, info);
}

int setInfo(File* file, const IoInfo* info) {
  if (file == nullptr || info == nullptr || !insideBuffer(file, info->pchNext)) return 1;
  file->next = static_cast<std::size_t>(info->pchNext - file->buffer);
  return 0;
}

void close(File* file) {
  if (file == nullptr) return;
  if (file->stream != nullptr) std::fclose(file->stream);
  delete file;
}

}  // namespace riff
