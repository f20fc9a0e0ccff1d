// Finding a program on PATH without a shell, and without the current
// folder: an empty entry or a relative folder in PATH is skipped, so a
// program of the same name in the folder the host was started from never
// runs.
#pragma once

#include <string>

// Searched when PATH is not set.
inline constexpr const char* kDefaultProgramPath = "/usr/local/bin:/usr/bin:/bin";

// The first executable file named `name` in the absolute folders of PATH,
// or an empty string.
std::string findProgramOnPath(const char* name);
