// The RIFF layer on Windows: a thin wrapper over winmm's multimedia file
// I/O, reading a file that CreateFileW opened. The handle keeps the full
// MMIOINFO between getInfo and setInfo so that the caller only sees the
// buffer pointers.
// windows.h must come first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include <new>

#include "wavefile/LongPath.h"
#include "wavefile/RiffFile.h"

namespace riff {

static_assert(sizeof(ChunkInfo) == sizeof(MMCKINFO));

struct File {
  HMMIO handle = nullptr;
  MMIOINFO io{};
};

namespace {

MMCKINFO toNative(const ChunkInfo& ck) {
  MMCKINFO native{};
  native.ckid = ck.ckid;
  native.cksize = ck.cksize;
  native.fccType = ck.fccType;
  native.dwDataOffset = ck.dwDataOffset;
  native.dwFlags = ck.dwFlags;
  return native;
}

void fromNative(const MMCKINFO& native, ChunkInfo* ck) {
  ck->ckid = native.ckid;
  ck->cksize = native.cksize;
  ck->fccType = native.fccType;
  ck->dwDataOffset = native.dwDataOffset;
  ck->dwFlags = native.dwFlags;
}

void exposeBuffer(const MMIOINFO& io, IoInfo* info) {
  info->pchBuffer = io.pchBuffer;
  info->cchBuffer = io.cchBuffer;
  info->pchNext = io.pchNext;
  info->pchEndRead = io.pchEndRead;
}

}  // namespace

File* open(const NativePath& path) {
  if (path.empty() || path.find(L'\0') != NativePath::npos) return nullptr;
  // The file is opened by its wide name here and handed to the DOS I/O
  // procedure as an open handle: mmioOpen never sees a name, so neither the
  // ANSI code page, nor its 128-character limit, nor its reading of "+"
  // after a "." as an element of a compound file can change which file
  // opens.
  const HANDLE system = CreateFileW(pathForOpening(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (system == INVALID_HANDLE_VALUE) return nullptr;
  MMIOINFO info{};
  info.fccIOProc = FOURCC_DOS;
  // The DOS procedure keeps the handle in adwInfo[0]; the system keeps
  // handle values within 32 bits so that 32-bit code can share them.
  info.adwInfo[0] = HandleToULong(system);
  HMMIO handle = mmioOpenA(nullptr, &info, MMIO_ALLOCBUF | MMIO_READ);
  if (handle == nullptr) {
    CloseHandle(system);
    return nullptr;
  }
  File* file = new (std::nothrow) File;
  if (file == nullptr) {
    // Closing the multimedia handle closes the file with it.
    mmioClose(handle, 0);
    return nullptr;
  }
  file->handle = handle;
  return file;
}

int descend(File* file, ChunkInfo* ck, const ChunkInfo* parent, Descend mode) {
  if (file == nullptr || ck == nullptr) return 1;
  MMCKINFO native = toNative(*ck);
  MMCKINFO nativeParent{};
  if (parent != nullptr) nativeParent = toNative(*parent);
  const UINT flags = mode == Descend::kFindChunk ? MMIO_FINDCHUNK : 0;
  const MMRESULT result = mmioDescend(file->handle, &native, parent != nullptr ? &nativeParent : nullptr, flags);
  if (result != MMSYSERR_NOERROR) return static_cast<int>(result);
  fromNative(native, ck);
  return 0;
}

int ascend(File* file, const ChunkInfo* ck) {
  if (file == nullptr || ck == nullptr) return 1;
  MMCKINFO native = toNative(*ck);
  return static_cast<int>(mmioAscend(file->handle, &native, 0));
}

long seek(File* file, long offset) {
  if (file == nullptr) return -1;
  return mmioSeek(file->handle, offset, SEEK_SET);
}

long read(File* file, char* buffer, long count) {
  if (file == nullptr || buffer == nullptr) return -1;
  return mmioRead(file->handle, buffer, count);
}

int getInfo(File* file, IoInfo* info) {
  if (file == nullptr || info == nullptr) return 1;
  const MMRESULT result = mmioGetInfo(file->handle, &file->io, 0);
  if (result != MMSYSERR_NOERROR) return static_cast<int>(result);
  exposeBuffer(file->io, info);
  return 0;
}

int advance(File* file, IoInfo* info) {
  if (file == nullptr || info == nullptr) return 1;
  file->io.pchNext = info->pchNext;
  const MMRESULT result = mmioAdvance(file->handle, &file->io, MMIO_READ);
  if (result != MMSYSERR_NOERROR) return static_cast<int>(result);
  exposeBuffer(file->io, info);
  return 0;
}

int setInfo(File* file, const IoInfo* info) {
  if (file == nullptr || info == nullptr) return 1;
  file->io.pchNext = info->pchNext;
  return static_cast<int>(mmioSetInfo(file->handle, &file->io, 0));
}

void close(File* file) {
  if (file == nullptr) return;
  mmioClose(file->handle, 0);
  delete file;
}

}  // namespace riff
