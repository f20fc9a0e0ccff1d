#include "tools/loader/PluginModule.h"

#if defined(_WIN32)
#include <windows.h>

PluginModule::PluginModule(const std::string& path) : handle_(reinterpret_cast<void*>(LoadLibraryA(path.c_str()))) {
  if (handle_ == nullptr) {
    error_ = "LoadLibrary failed with error " + std::to_string(GetLastError());
  }
}

PluginModule::~PluginModule() {
  if (handle_ != nullptr) {
    FreeLibrary(static_cast<HMODULE>(handle_));
  }
}

void* PluginModule::symbol(const char* name) const {
  if (handle_ == nullptr) {
    return nullptr;
  }
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}
#else
#include <dlfcn.h>

PluginModule::PluginModule(const std::string& path) : handle_(::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (handle_ == nullptr) {
    const char* reason = ::dlerror();
    error_ = reason != nullptr ? reason : "unknown error";
  }
}

PluginModule::~PluginModule() {
  if (handle_ != nullptr) {
    ::dlclose(handle_);
  }
}

void* PluginModule::symbol(const char* name) const { return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr; }
#endif

PluginModule::EntryPoint PluginModule::entry(const char* name) const {
  return reinterpret_cast<EntryPoint>(symbol(name));
}
