#include <windows.h>

#include "desktop/PathText.h"

std::string pathText(const NativePath& path) {
  if (path.empty()) return {};
  const int wide = static_cast<int>(path.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, path.data(), wide, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string text(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, path.data(), wide, text.data(), size, nullptr, nullptr);
  return text;
}

NativePath nativePath(const std::string& text) {
  if (text.empty()) return {};
  const int bytes = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, nullptr, 0);
  if (size <= 0) return {};
  NativePath path(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, path.data(), size);
  return path;
}
