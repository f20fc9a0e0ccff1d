// The exported symbols of the plug-in library. VSTPluginMain and main are
// one function; MAIN (Windows only, for old hosts) calls it.
#include "host/ModuleHandle.h"
#include "host/PluginEntry.h"

#if defined(_WIN32)
#include <windows.h>
#define ULMAR_EXPORT extern "C"
#else
#define ULMAR_EXPORT extern "C" __attribute__((visibility("default")))
#endif

ULMAR_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster) {
  return createPluginRecord(audioMaster);
}

#if defined(_WIN32)
// "main" is exported as an alias of VSTPluginMain by the module-definition
// file, so both names share one address.
ULMAR_EXPORT AEffect* VSTCALLBACK MAIN(audioMasterCallback audioMaster) { return VSTPluginMain(audioMaster); }

// Records the module handle on every notification, attach and detach alike.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
  setModuleInstanceHandle(instance);
  return TRUE;
}
#else
// A second name for the same function; "main" cannot be declared as such
// in C++, so the symbol is bound by its assembler name.
extern "C" AEffect* ulmarMainAlias(audioMasterCallback) __asm__("main")
    __attribute__((alias("VSTPluginMain"), visibility("default")));
#endif
