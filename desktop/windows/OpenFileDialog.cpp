#include "desktop/windows/OpenFileDialog.h"

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

constexpr DWORD kFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
static_assert(kFlags == 0x00081800);

}  // namespace

void fillOpenFileDialog(OPENFILENAMEA& record, const FileChoiceRequest& request, void* ownerWindow, char* pathBuffer,
                        std::string& filter) {
  // Name and pattern, each closed by a zero, and a zero closing the list.
  filter.assign(request.filterName).append(1, '\0').append(request.filterPattern).append(2, '\0');
  std::memset(&record, 0, sizeof record);
  record.lStructSize = kRecordSize;
  record.hwndOwner = static_cast<HWND>(ownerWindow);
  record.lpstrFilter = filter.c_str();
  record.nFilterIndex = 1;
  pathBuffer[0] = '\0';
  record.lpstrFile = pathBuffer;
  record.nMaxFile = kOpenFilePathSize;
  record.lpstrTitle = request.title;
  record.Flags = kFlags;
}
