// Calls into the plug-in the way 32-bit hosts built by other compilers do:
// with the stack aligned to 4 bytes only, where this compiler's own code
// keeps it aligned to 16 at every call.
#pragma once

#include <cstdint>

// Calls the cdecl function at `function` with `count` 32-bit arguments
// (pointers, integers, float bit patterns), the stack pointer at the call
// being `offset` bytes below a multiple of 16 (0: as this compiler calls).
// Answers what the function left in EAX.
extern "C" std::uint32_t callWithMisalignedStack(const void* function, const std::uint32_t* args, int count,
                                                 int offset);

// Answers the stack pointer as a function sees it on entry, pointing at its
// return address: what the caller's stack pointer was, less 4.
extern "C" std::uint32_t stackPointerAtEntry();
