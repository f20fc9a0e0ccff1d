#include <windows.h>

#include "wavefile/LongPath.h"

namespace {

constexpr wchar_t kExtendedPrefix[] = L"\\\\?\\";
constexpr wchar_t kExtendedUncPrefix[] = L"\\\\?\\UNC\\";

bool isDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

std::wstring extendedLengthPath(const std::wstring& fullPath) {
  if (fullPath.size() >= 3 && isDriveLetter(fullPath[0]) && fullPath[1] == L':' && fullPath[2] == L'\\') {
    return kExtendedPrefix + fullPath;
  }
  // "\\server\share": a UNC name, not "\\?\" or "\\.\" (already extended
  // or a device).
  if (fullPath.size() >= 3 && fullPath[0] == L'\\' && fullPath[1] == L'\\' && fullPath[2] != L'?' &&
      fullPath[2] != L'.' && fullPath[2] != L'\\') {
    return kExtendedUncPrefix + fullPath.substr(2);
  }
  return fullPath;
}

std::wstring pathForOpening(const std::wstring& path) {
  if (path.empty() || path.find(L'\0') != std::wstring::npos) return path;
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  // Short names open as they always have; only the names the system would
  // refuse for their length take the extended form.
  if (full.size() < MAX_PATH) return path;
  return extendedLengthPath(full);
}
