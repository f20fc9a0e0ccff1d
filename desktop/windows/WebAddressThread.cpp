// Opening an address on Windows, on a thread of its own per address. The
// thread holds a reference to this library for as long as it runs, so a
// host that unloads the plug-in right after a click cannot unmap the code
// the thread is still in; the thread drops the reference and ends in one
// call.
#include <windows.h>
// shellapi.h needs the declarations of windows.h first.
#include <shellapi.h>

#include "desktop/WebAddress.h"

namespace {

HMODULE thisLibrary(DWORD flags, void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(flags | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, static_cast<LPCSTR>(address), &module)) {
    return nullptr;
  }
  return module;
}

DWORD WINAPI openWebPage(LPVOID address) {
  ShellExecuteA(nullptr, "open", static_cast<const char*>(address), nullptr, nullptr, SW_SHOWNORMAL);
  // The reference the starting thread took for this one.
  HMODULE module = thisLibrary(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, reinterpret_cast<void*>(&openWebPage));
  if (module) FreeLibraryAndExitThread(module, 0);
  return 0;
}

}  // namespace

bool openWebAddress(const char* address) {
  HMODULE module = thisLibrary(0, reinterpret_cast<void*>(&openWebPage));
  if (!module) return false;
  HANDLE thread = CreateThread(nullptr, 0, openWebPage, const_cast<char*>(address), 0, nullptr);
  if (!thread) {
    FreeLibrary(module);
    return false;
  }
  // Detached: nothing waits for it.
  CloseHandle(thread);
  return true;
}
