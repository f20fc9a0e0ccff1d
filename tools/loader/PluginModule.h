// A plug-in library loaded the way a host loads it: dlopen on Linux,
// LoadLibrary on Windows. Used by the command-line tools and by the tests
// that drive the built plug-in through its exported entry points.
#pragma once

#include <string>

#include "host/VstAbi.h"

class PluginModule {
 public:
  using EntryPoint = AEffect*(VSTCALLBACK*)(audioMasterCallback);

  explicit PluginModule(const std::string& path);
  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  // Why the library could not be loaded (empty when it was).
  const std::string& error() const { return error_; }
  // The address of an exported symbol, or null.
  void* symbol(const char* name) const;
  EntryPoint entry(const char* name = "VSTPluginMain") const;

 private:
  void* handle_ = nullptr;
  std::string error_;
};
