// Finding a program the way a shell would, without one.
#pragma once

#include <string>

// The first executable file named `name` in the directories of PATH, or an
// empty string.
std::string findProgramOnPath(const char* name);
