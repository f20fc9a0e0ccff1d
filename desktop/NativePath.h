// A file name as the platform's own file functions take it: UTF-16 on
// Windows, so that a name outside the ANSI code page reaches the file
// system unchanged; bytes elsewhere, where names are bytes.
#pragma once

#include <string>

#ifdef _WIN32
using NativePath = std::wstring;
#else
using NativePath = std::string;
#endif
