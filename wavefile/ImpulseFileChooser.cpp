#include "wavefile/ImpulseFileChooser.h"

#ifdef _WIN32

// windows.h must come first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include <cstddef>
#include <cstring>

namespace {

// Sized up to lpTemplateName, without the extension fields added after the
// Windows 2000 dialog (76 bytes in 32-bit builds): the classic record.
constexpr DWORD kRecordSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
#ifndef _WIN64
static_assert(kRecordSize == 76);
#endif

constexpr char kFilter[] = "PCM Wave files\0*.wav\0";
constexpr char kTitle[] = "Open impulse response file ...";
constexpr DWORD kFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
static_assert(kFlags == 0x00081800);

}  // namespace

void fillImpulseFileDialog(OPENFILENAMEA& record, void* ownerWindow, char* pathBuffer) {
  std::memset(&record, 0, sizeof record);
  record.lStructSize = kRecordSize;
  record.hwndOwner = static_cast<HWND>(ownerWindow);
  // The string literal's own terminator closes the double-zero list.
  record.lpstrFilter = kFilter;
  record.nFilterIndex = 1;
  pathBuffer[0] = '\0';
  record.lpstrFile = pathBuffer;
  record.nMaxFile = kImpulsePathBufferSize;
  record.lpstrTitle = kTitle;
  record.Flags = kFlags;
}

bool chooseImpulseFile(void* ownerWindow, const std::function<bool(const char*)>& load) {
  char path[kImpulsePathBufferSize];
  OPENFILENAMEA record;
  fillImpulseFileDialog(record, ownerWindow, path);
  if (!GetOpenFileNameA(&record)) return false;
  if (load) load(path);
  return true;
}

#else

bool chooseImpulseFile(void*, const std::function<bool(const char*)>&) { return false; }

#endif
