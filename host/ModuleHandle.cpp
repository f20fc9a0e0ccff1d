#include "host/ModuleHandle.h"

#include <atomic>

namespace {
std::atomic<void*> gModuleHandle{nullptr};
}

void* moduleInstanceHandle() { return gModuleHandle.load(std::memory_order_acquire); }

void setModuleInstanceHandle(void* handle) { gModuleHandle.store(handle, std::memory_order_release); }
