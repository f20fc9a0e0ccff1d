// Shell shortcuts (".lnk" files) and their targets.
#pragma once

#include <cstddef>

// Whether the text after the name's last '.' is "lnk", in any case.
bool isShortcutName(const char* name);

// Resolves the shortcut `name` without any user interface and writes its
// target's short path into `target` (capacity bytes, zero-terminated).
// Answers false, leaving `target` unspecified, when the shortcut does not
// resolve or its target does not fit whole.
bool resolveShortcut(const char* name, char* target, size_t capacity);
