#include "desktop/windows/OpenFileDialog.h"

// windows.h must come first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include <cstddef>
#include <cstring>

#include "desktop/PathText.h"

namespace {

// Sized up to lpTemplateName, without the extension fields added after the
// Windows 2000 dialog (76 bytes in 32-bit builds): the classic record.
constexpr DWORD kRecordSize = offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR);
#ifndef _WIN64
static_assert(kRecordSize == 76);
#endif

constexpr DWORD kFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
static_assert(kFlags == 0x00081800);

}  // namespace

void fillOpenFileDialog(OPENFILENAMEW& record, const FileChoiceRequest& request, void* ownerWindow, wchar_t* pathBuffer,
                        OpenFileDialogTexts& texts) {
  texts.title = nativePath(request.title);
  texts.filter = nativePath(request.filterName);
  texts.filter.append(1, L'\0').append(nativePath(request.filterPattern)).append(2, L'\0');
  std::memset(&record, 0, sizeof record);
  record.lStructSize = kRecordSize;
  record.hwndOwner = static_cast<HWND>(ownerWindow);
  record.lpstrFilter = texts.filter.c_str();
  record.nFilterIndex = 1;
  pathBuffer[0] = L'\0';
  record.lpstrFile = pathBuffer;
  record.nMaxFile = kOpenFilePathSize;
  record.lpstrTitle = texts.title.c_str();
  record.Flags = kFlags;
}
