// Starting the desktop's programs (the file chooser, the browser opener,
// the message dialog) without a shell, in a way that leaves the host alone:
// posix_spawn (no copy of the host's memory, which a fork would
// write-protect under a running audio thread), a session of their own,
// every signal at its default and none blocked whatever the host set for
// itself, standard input from /dev/null and no descriptor of the host
// beyond standard output and error.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Starts `program` (an absolute path) with `arguments` (argv[1] onwards)
// and the process's environment; its standard output is `output`, or this
// process's when that is -1. Answers the child's id (also its session and
// process group), which the caller reaps, or -1.
pid_t startChildProgram(const std::string& program, const std::vector<std::string>& arguments, int output = -1);

// Starts `program` so that it is not this process's child and may outlive
// the plug-in: through util-linux's `setsid --fork`, an intermediate that
// starts it and ends at once, and is reaped here. False when nothing could
// be started.
bool startDetachedProgram(const std::string& program, const std::vector<std::string>& arguments);
