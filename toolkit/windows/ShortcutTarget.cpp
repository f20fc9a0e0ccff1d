#include "toolkit/windows/ShortcutTarget.h"

#include <shlobj.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

// The longest name converted for the shell, in wide characters.
constexpr int kMaxWideName = 2048;
// No user interface, any match, at most 500 ms (in the high word).
constexpr DWORD kResolveFlags = DWORD{SLR_NO_UI} | DWORD{SLR_ANY_MATCH} | (500u << 16);

// Some shells hand out the long path even when asked for the short one:
// the target's short path replaces it when there is one that fits.
void toShortPath(char* path, size_t capacity) {
  std::string shortPath(capacity, '\0');
  const DWORD length = GetShortPathNameA(path, shortPath.data(), static_cast<DWORD>(capacity));
  if (length > 0 && length < capacity) std::memcpy(path, shortPath.data(), length + 1);
}

}  // namespace

bool isShortcutName(const char* name) {
  const char* dot = name ? std::strrchr(name, '.') : nullptr;
  return dot && lstrcmpiA(dot, ".lnk") == 0;
}

bool resolveShortcut(const char* name, char* target, size_t capacity) {
  if (!isShortcutName(name) || capacity < 2) return false;
  WCHAR wideName[kMaxWideName];
  if (MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, kMaxWideName) == 0) return false;
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return false;
  bool resolved = false;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(wideName, 0)) && SUCCEEDED(link->Resolve(nullptr, kResolveFlags))) {
      target[0] = '\0';
      target[capacity - 1] = '\0';
      const int length = static_cast<int>(capacity > 0x7FFFFFFF ? 0x7FFFFFFF : capacity);
      // A path that fills the buffer to its last byte may have been cut.
      resolved = SUCCEEDED(link->GetPath(target, length, nullptr, SLGP_SHORTPATH)) && target[0] != '\0' &&
                 std::strlen(target) < capacity - 1;
      if (resolved) toShortPath(target, capacity);
    }
    file->Release();
  }
  link->Release();
  return resolved;
}
