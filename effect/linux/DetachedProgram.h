// Starting a desktop program (a message dialog, a browser opener) that the
// plug-in does not wait for, without a shell and without leaving a zombie.
#pragma once

#include <string>
#include <vector>

// Starts `program` (an absolute path) with `arguments` (argv[1] onwards)
// and the process's environment, in a process that is not this one's child:
// an intermediate child starts it and ends at once, and is reaped here. The
// program keeps running after the plug-in is unloaded. False when nothing
// could be started.
bool startDetachedProgram(const std::string& program, const std::vector<std::string>& arguments);
