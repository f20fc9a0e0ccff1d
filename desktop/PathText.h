// A file name between its native form and the 8-bit text the effect keeps
// (and shows): the system code page on Windows, the bytes themselves
// elsewhere.
#pragma once

#include <string>

#include "desktop/NativePath.h"

std::string pathText(const NativePath& path);
NativePath nativePath(const std::string& text);
