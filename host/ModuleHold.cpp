#include "host/ModuleHold.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

// An address inside this library.
void marker() {}

}  // namespace

#ifdef _WIN32

ModuleHold::ModuleHold() {
  HMODULE module = nullptr;
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&marker), &module)) {
    module_ = module;
  }
}

ModuleHold::~ModuleHold() {
  if (module_ && !kept_) FreeLibrary(static_cast<HMODULE>(module_));
}

#else

ModuleHold::ModuleHold() {
  Dl_info info{};
  // A library already loaded: its count goes up, nothing is loaded anew.
  if (dladdr(reinterpret_cast<void*>(&marker), &info) && info.dli_fname) {
    module_ = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
  }
}

ModuleHold::~ModuleHold() {
  if (module_ && !kept_) dlclose(module_);
}

#endif
