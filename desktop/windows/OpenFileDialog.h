// The record of the common file-open dialog, filled apart from showing it
// so that a test can inspect it without the modal dialog.
#pragma once

#include <string>

#include "desktop/FileChooser.h"

struct tagOFNW;

// Size of the dialog's file-name buffer, in UTF-16 units: the longest name
// the file system takes (extended-length form included), so that a deep
// folder is not refused as too long for the buffer, which the dialog
// reports as if it had been cancelled.
inline constexpr int kOpenFilePathSize = 32768;

// The dialog's texts in UTF-16, kept alive while the record points at them.
struct OpenFileDialogTexts {
  std::wstring title;
  // Name and pattern, each closed by a zero, and a zero closing the list.
  std::wstring filter;
};

// Fills `record` (zeroed first) for one existing file: the request's title
// and filter (written into `texts`), must-exist checks, and pathBuffer
// (kOpenFilePathSize units) emptied as the result buffer.
void fillOpenFileDialog(tagOFNW& record, const FileChoiceRequest& request, void* ownerWindow, wchar_t* pathBuffer,
                        OpenFileDialogTexts& texts);
