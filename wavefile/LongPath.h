// Windows file names longer than MAX_PATH: the file functions accept them
// only in the extended-length form "\\?\C:\..." or "\\?\UNC\server\...",
// which the system passes on without normalising it.
#pragma once

#ifdef _WIN32
#include <string>

// The extended-length form of an absolute, normalised path ("C:\..." or
// "\\server\share\..."); any other text (already extended, a device name,
// a relative path) comes back unchanged.
std::wstring extendedLengthPath(const std::wstring& fullPath);

// The name to hand to CreateFileW for path: path itself while its full
// form fits in MAX_PATH, otherwise the extended form of the full path
// (slashes, "." and ".." resolved first, as the system would have done).
std::wstring pathForOpening(const std::wstring& path);
#endif
