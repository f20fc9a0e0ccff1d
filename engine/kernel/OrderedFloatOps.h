// Additions and multiplications whose operands stay in the order written.
//
// When both operands of an x86 addition or multiplication are NaNs, the
// result is the first one. Compilers treat both operations as commutative
// and may swap the operands, so two places computing the same expression
// could give NaNs with different payloads. The engine's kernels and its
// mixing use these, so that every kernel tier and every build gives the
// same bits, NaNs included.
//
// Internal linkage on purpose: each translation unit gets the encoding of
// its own instruction set (legacy SSE, or VEX/EVEX in the wider kernels).
#pragma once

#include <immintrin.h>

namespace {

// The second operand may come straight from memory: in the legacy encoding
// a packed memory operand must be 16-byte aligned, which every caller's
// aligned loads are.
#if defined(__AVX__)
#define ULMAR_ORDERED(name, type, mnemonic, reg)                           \
  [[gnu::always_inline]] inline type name(type a, type b) {                \
    type r;                                                                \
    __asm__("v" mnemonic " %2, %1, %0" : "=" reg(r) : reg(a), reg "m"(b)); \
    return r;                                                              \
  }
#else
#define ULMAR_ORDERED(name, type, mnemonic, reg)            \
  [[gnu::always_inline]] inline type name(type a, type b) { \
    __asm__(mnemonic " %1, %0" : "+" reg(a) : reg "m"(b));  \
    return a;                                               \
  }
#endif

ULMAR_ORDERED(addOrdered, float, "addss", "x")
ULMAR_ORDERED(mulOrdered, float, "mulss", "x")
ULMAR_ORDERED(addOrdered, __m128, "addps", "x")
ULMAR_ORDERED(mulOrdered, __m128, "mulps", "x")
#if defined(__AVX__)
ULMAR_ORDERED(addOrdered, __m256, "addps", "x")
ULMAR_ORDERED(mulOrdered, __m256, "mulps", "x")
#endif
#if defined(__AVX512F__)
ULMAR_ORDERED(addOrdered, __m512, "addps", "v")
ULMAR_ORDERED(mulOrdered, __m512, "mulps", "v")
#endif

#undef ULMAR_ORDERED

// a times the four floats at p (16-byte aligned), read by the
// multiplication itself. Unlike a loaded value passed to mulOrdered, which
// the compiler loads once into a register when several multiplications
// use it, every call reads memory anew: where loads are cheaper than the
// register copies the legacy encoding needs, kernels choose which operands
// are shared.
[[gnu::always_inline]] inline __m128 mulOrderedLoad(__m128 a, const float* p) {
#if defined(__AVX__)
  __m128 r;
  __asm__("vmulps %2, %1, %0" : "=x"(r) : "x"(a), "m"(*reinterpret_cast<const __m128*>(p)));
  return r;
#else
  __asm__("mulps %1, %0" : "+x"(a) : "m"(*reinterpret_cast<const __m128*>(p)));
  return a;
#endif
}

}  // namespace
