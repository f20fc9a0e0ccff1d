#include "desktop/PathText.h"

// File names here are bytes, as the effect keeps them.
std::string pathText(const NativePath& path) { return path; }

NativePath nativePath(const std::string& text) { return text; }
