// A buffered reader for RIFF files, reduced to the operations WaveReader
// uses. On Windows every call forwards to the multimedia file I/O of winmm
// over a file opened by its wide name (RiffFileWin.cpp); elsewhere
// RiffFilePosix.cpp implements the same behaviour over stdio or a block of
// memory, so the reader above it is the same code everywhere.
//
// Conventions kept from the multimedia API: operations that report success
// answer 0 and anything else on failure; offsets are 32-bit file offsets.
#pragma once

#include <cstddef>
#include <cstdint>

#include "desktop/NativePath.h"

namespace riff {

using FourCC = std::uint32_t;

// The four characters in file order, read as a little-endian word.
constexpr FourCC makeFourCC(char a, char b, char c, char d) {
  return static_cast<FourCC>(static_cast<unsigned char>(a)) | static_cast<FourCC>(static_cast<unsigned char>(b)) << 8 |
         static_cast<FourCC>(static_cast<unsigned char>(c)) << 16 |
         static_cast<FourCC>(static_cast<unsigned char>(d)) << 24;
}

inline constexpr FourCC kRiffId = makeFourCC('R', 'I', 'F', 'F');
inline constexpr FourCC kListId = makeFourCC('L', 'I', 'S', 'T');

// One chunk, laid out as the multimedia API's chunk record.
struct ChunkInfo {
  FourCC ckid = 0;
  std::uint32_t cksize = 0;
  // Form or list type; only "RIFF" and "LIST" chunks have one, 0 otherwise.
  FourCC fccType = 0;
  // File offset of the chunk's data (for "RIFF" and "LIST": of the type).
  std::uint32_t dwDataOffset = 0;
  std::uint32_t dwFlags = 0;
};
static_assert(sizeof(ChunkInfo) == 20);

// The caller's view of the I/O buffer between getInfo and setInfo: bytes
// from pchNext up to pchEndRead are the file's next bytes.
struct IoInfo {
  char* pchBuffer = nullptr;
  std::int32_t cchBuffer = 0;
  char* pchNext = nullptr;
  char* pchEndRead = nullptr;
};

enum class Descend {
  // Read the header at the current position.
  kHere,
  // Skip sibling chunks (and their pad bytes) until one whose id equals
  // the record's ckid; fails when the parent or the file ends first.
  kFindChunk,
};

struct File;

// Opens the file for buffered reading; null on failure. On Windows the
// name goes to the file system as it is (no code-page conversion, no
// parsing of the name by the multimedia layer, longer than MAX_PATH too).
File* open(const NativePath& path);

// Reads the chunk header at the current position, or searches as above,
// fills ck and leaves the position at the chunk's data (after the type for
// "RIFF" and "LIST"). parent may be null. On failure the position is
// restored.
int descend(File* file, ChunkInfo* ck, const ChunkInfo* parent, Descend mode);

// Moves past the end of the chunk and its pad byte.
int ascend(File* file, const ChunkInfo* ck);

// Absolute seek; the new position, or -1.
long seek(File* file, long offset);

// Copies up to count bytes from the current position; the number copied,
// or -1 on an I/O error.
long read(File* file, char* buffer, long count);

// Direct buffer access. advance refills the buffer with the bytes that
// follow info->pchNext; at the end of the file the buffer comes back empty
// (pchNext == pchEndRead) and the call still succeeds. setInfo makes
// info->pchNext the current position.
int getInfo(File* file, IoInfo* info);
int advance(File* file, IoInfo* info);
int setInfo(File* file, const IoInfo* info);

void close(File* file);

#ifndef _WIN32
// Reads from a block of memory instead of a file (tests and fuzzing). The
// bytes are not copied and must outlive the handle.
File* openMemory(const void* data, std::size_t size);

// Size of the I/O buffer, so that tests can cross its edges.
inline constexpr std::size_t kBufferSize = 8192;
#endif

}  // namespace riff
