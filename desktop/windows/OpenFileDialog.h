// The record of the common file-open dialog, filled apart from showing it
// so that a test can inspect it without the modal dialog.
#pragma once

#include <string>

#include "desktop/FileChooser.h"

struct tagOFNA;

// Size of the dialog's file-name buffer: the platform's maximum path.
inline constexpr int kOpenFilePathSize = 260;

// Fills `record` (zeroed first) for one existing file: the request's title
// and filter (written into `filter` as the dialog's double-zero list),
// must-exist checks, and pathBuffer (kOpenFilePathSize bytes) emptied as
// the result buffer.
void fillOpenFileDialog(tagOFNA& record, const FileChoiceRequest& request, void* ownerWindow, char* pathBuffer,
                        std::string& filter);
