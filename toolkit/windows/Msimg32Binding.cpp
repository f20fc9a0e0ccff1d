#include "toolkit/windows/Msimg32Binding.h"

namespace {

int gBindings = 0;

template <typename Function>
Function lookUp(HMODULE module, const char* name) {
  // Through void*: the procedure's real type is the one named here.
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool versionInfo(OSVERSIONINFOA& info) {
  info = OSVERSIONINFOA{};
  info.dwOSVersionInfoSize = sizeof(info);
  return GetVersionExA(&info) != FALSE;
}

}  // namespace

BlendFunctions& blendFunctions() {
  static BlendFunctions functions;
  return functions;
}

HMODULE bindMsimg32() {
  BlendFunctions& functions = blendFunctions();
  functions = BlendFunctions{};
  HMODULE module = LoadLibraryA("msimg32.dll");
  if (!module) return nullptr;
  ++gBindings;
  functions.alphaBlend = lookUp<AlphaBlendFunction>(module, "AlphaBlend");
  OSVERSIONINFOA info;
  // The NT family only.
  if (versionInfo(info) && info.dwPlatformId > 1) {
    functions.transparentBlt = lookUp<TransparentBltFunction>(module, "TransparentBlt");
  }
  return module;
}

void unbindMsimg32(HMODULE module) {
  if (!module) return;
  if (--gBindings == 0) blendFunctions() = BlendFunctions{};
  FreeLibrary(module);
}

bool isWindows98() {
  OSVERSIONINFOA info;
  return versionInfo(info) && info.dwMajorVersion == 4 && info.dwMinorVersion == 10 && info.dwPlatformId == 1;
}
