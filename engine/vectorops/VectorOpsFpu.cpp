// The x87 tier. Each asm statement below is self-contained: it loads what
// it needs onto the x87 stack and leaves the stack as it found it. All
// eight stack registers are declared clobbered so the compiler keeps
// nothing of its own there across a statement (the eight-value move group
// fills the whole stack).
//
// Values enter with flds and leave with fstps, so each element gets one
// x87 operation and one final rounding to single precision; with the x87
// precision at 53 or 64 bits the intermediate rounding cannot change the
// single-precision result of one + or * of two floats.
#include <cstdint>

#include "engine/vectorops/VectorOpsTiers.h"

namespace vector_ops::fpu {

namespace {

#define ULMAR_X87_STACK "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)"

// dst element at byte offset `off` = dst element <op> src element.
#define ULMAR_X87_BINARY(op, off) "flds " off "(%[d])\n\t" op " " off "(%[s])\n\tfstps " off "(%[d])\n\t"
#define ULMAR_X87_BINARY4(op, a, b, c, e) \
  ULMAR_X87_BINARY(op, a) ULMAR_X87_BINARY(op, b) ULMAR_X87_BINARY(op, c) ULMAR_X87_BINARY(op, e)

// dst element at byte offset `off` = dst element <op> st(1), where st(1)
// holds the scalar once the element is loaded.
#define ULMAR_X87_SCALAR(op, off) "flds " off "(%[d])\n\t" op " %%st(1), %%st\n\tfstps " off "(%[d])\n\t"
#define ULMAR_X87_SCALAR4(op, a, b, c, e) \
  ULMAR_X87_SCALAR(op, a) ULMAR_X87_SCALAR(op, b) ULMAR_X87_SCALAR(op, c) ULMAR_X87_SCALAR(op, e)

#define ULMAR_X87_STORE4(a, b, c, e) "fsts " a "(%[d])\n\tfsts " b "(%[d])\n\tfsts " c "(%[d])\n\tfsts " e "(%[d])\n\t"

// One helper per operation and group size, each a single asm statement.
// The x87 mnemonic is a template argument so add and multiply share the
// loop code below.
enum class Op { kAdd, kMultiply };

template <Op op>
inline void binary16(float* dst, const float* src) {
  if constexpr (op == Op::kAdd) {
    __asm__ volatile(ULMAR_X87_BINARY4("fadds", "0", "4", "8", "12") ULMAR_X87_BINARY4("fadds", "16", "20", "24", "28")
                         ULMAR_X87_BINARY4("fadds", "32", "36", "40", "44")
                             ULMAR_X87_BINARY4("fadds", "48", "52", "56", "60")
                     :
                     : [d] "r"(dst), [s] "r"(src)
                     : "memory", ULMAR_X87_STACK);
  } else {
    __asm__ volatile(ULMAR_X87_BINARY4("fmuls", "0", "4", "8", "12") ULMAR_X87_BINARY4("fmuls", "16", "20", "24", "28")
                         ULMAR_X87_BINARY4("fmuls", "32", "36", "40", "44")
                             ULMAR_X87_BINARY4("fmuls", "48", "52", "56", "60")
                     :
                     : [d] "r"(dst), [s] "r"(src)
                     : "memory", ULMAR_X87_STACK);
  }
}

template <Op op>
inline void binary4(float* dst, const float* src) {
  if constexpr (op == Op::kAdd) {
    __asm__ volatile(ULMAR_X87_BINARY4("fadds", "0", "4", "8", "12")
                     :
                     : [d] "r"(dst), [s] "r"(src)
                     : "memory", ULMAR_X87_STACK);
  } else {
    __asm__ volatile(ULMAR_X87_BINARY4("fmuls", "0", "4", "8", "12")
                     :
                     : [d] "r"(dst), [s] "r"(src)
                     : "memory", ULMAR_X87_STACK);
  }
}

template <Op op>
inline void binary1(float* dst, const float* src) {
  if constexpr (op == Op::kAdd) {
    __asm__ volatile(ULMAR_X87_BINARY("fadds", "0") : : [d] "r"(dst), [s] "r"(src) : "memory", ULMAR_X87_STACK);
  } else {
    __asm__ volatile(ULMAR_X87_BINARY("fmuls", "0") : : [d] "r"(dst), [s] "r"(src) : "memory", ULMAR_X87_STACK);
  }
}

template <Op op>
inline void scalar16(float* dst, const float& value) {
  if constexpr (op == Op::kAdd) {
    __asm__ volatile("flds %[v]\n\t" ULMAR_X87_SCALAR4("fadd", "0", "4", "8", "12") ULMAR_X87_SCALAR4(
                         "fadd", "16", "20", "24", "28") ULMAR_X87_SCALAR4("fadd", "32", "36", "40", "44")
                         ULMAR_X87_SCALAR4("fadd", "48", "52", "56", "60") "fstp %%st(0)\n\t"
                     :
                     : [d] "r"(dst), [v] "m"(value)
                     : "memory", ULMAR_X87_STACK);
  } else {
    __asm__ volatile("flds %[v]\n\t" ULMAR_X87_SCALAR4("fmul", "0", "4", "8", "12") ULMAR_X87_SCALAR4(
                         "fmul", "16", "20", "24", "28") ULMAR_X87_SCALAR4("fmul", "32", "36", "40", "44")
                         ULMAR_X87_SCALAR4("fmul", "48", "52", "56", "60") "fstp %%st(0)\n\t"
                     :
                     : [d] "r"(dst), [v] "m"(value)
                     : "memory", ULMAR_X87_STACK);
  }
}

template <Op op>
inline void scalar4(float* dst, const float& value) {
  if constexpr (op == Op::kAdd) {
    __asm__ volatile("flds %[v]\n\t" ULMAR_X87_SCALAR4("fadd", "0", "4", "8", "12") "fstp %%st(0)\n\t"
                     :
                     : [d] "r"(dst), [v] "m"(value)
                     : "memory", ULMAR_X87_STACK);
  } else {
    __asm__ volatile("flds %[v]\n\t" ULMAR_X87_SCALAR4("fmul", "0", "4", "8", "12") "fstp %%st(0)\n\t"
                     :
                     : [d] "r"(dst), [v] "m"(value)
                     : "memory", ULMAR_X87_STACK);
  }
}

template <Op op>
inline void scalar1(float* dst, const float& value) {
  if constexpr (op == Op::kAdd) {
    __asm__ volatile("flds %[v]\n\t" ULMAR_X87_SCALAR("fadd", "0") "fstp %%st(0)\n\t"
                     :
                     : [d] "r"(dst), [v] "m"(value)
                     : "memory", ULMAR_X87_STACK);
  } else {
    __asm__ volatile("flds %[v]\n\t" ULMAR_X87_SCALAR("fmul", "0") "fstp %%st(0)\n\t"
                     :
                     : [d] "r"(dst), [v] "m"(value)
                     : "memory", ULMAR_X87_STACK);
  }
}

// Loads eight values onto the stack, then stores them from the top (the
// last one loaded) down, so the group is read completely before any of it
// is written.
inline void move8(float* dst, const float* src) {
  __asm__ volatile(
      "flds (%[s])\n\tflds 4(%[s])\n\tflds 8(%[s])\n\tflds 12(%[s])\n\t"
      "flds 16(%[s])\n\tflds 20(%[s])\n\tflds 24(%[s])\n\tflds 28(%[s])\n\t"
      "fstps 28(%[d])\n\tfstps 24(%[d])\n\tfstps 20(%[d])\n\tfstps 16(%[d])\n\t"
      "fstps 12(%[d])\n\tfstps 8(%[d])\n\tfstps 4(%[d])\n\tfstps (%[d])\n\t"
      :
      : [d] "r"(dst), [s] "r"(src)
      : "memory", ULMAR_X87_STACK);
}

inline void move4(float* dst, const float* src) {
  __asm__ volatile(
      "flds (%[s])\n\tflds 4(%[s])\n\tflds 8(%[s])\n\tflds 12(%[s])\n\t"
      "fstps 12(%[d])\n\tfstps 8(%[d])\n\tfstps 4(%[d])\n\tfstps (%[d])\n\t"
      :
      : [d] "r"(dst), [s] "r"(src)
      : "memory", ULMAR_X87_STACK);
}

inline void move1(float* dst, const float* src) {
  __asm__ volatile("flds (%[s])\n\tfstps (%[d])\n\t" : : [d] "r"(dst), [s] "r"(src) : "memory", ULMAR_X87_STACK);
}

template <Op op>
void binary(float* dst, const float* src, int n) {
  if (dst == nullptr || src == nullptr || n <= 0) {
    return;
  }
  int i = 0;
  for (; n - i >= 16; i += 16) {
    binary16<op>(dst + i, src + i);
  }
  for (; n - i >= 4; i += 4) {
    binary4<op>(dst + i, src + i);
  }
  for (; i < n; ++i) {
    binary1<op>(dst + i, src + i);
  }
}

template <Op op>
void withScalar(float* dst, float value, int n) {
  if (dst == nullptr || n <= 0) {
    return;
  }
  int i = 0;
  for (; n - i >= 16; i += 16) {
    scalar16<op>(dst + i, value);
  }
  for (; n - i >= 4; i += 4) {
    scalar4<op>(dst + i, value);
  }
  for (; i < n; ++i) {
    scalar1<op>(dst + i, value);
  }
}

}  // namespace

void fill(float* dst, int n, float value) {
  if (dst == nullptr || n <= 0) {
    return;
  }
  int i = 0;
  for (; n - i >= 16; i += 16) {
    __asm__ volatile("flds %[v]\n\t" ULMAR_X87_STORE4("0", "4", "8", "12") ULMAR_X87_STORE4("16", "20", "24", "28")
                         ULMAR_X87_STORE4("32", "36", "40", "44")
                             ULMAR_X87_STORE4("48", "52", "56", "60") "fstp %%st(0)\n\t"
                     :
                     : [d] "r"(dst + i), [v] "m"(value)
                     : "memory", ULMAR_X87_STACK);
  }
  for (; i < n; ++i) {
    __asm__ volatile("flds %[v]\n\tfstps (%[d])\n\t" : : [d] "r"(dst + i), [v] "m"(value) : "memory", ULMAR_X87_STACK);
  }
}

void add(float* dst, const float* src, int n) { binary<Op::kAdd>(dst, src, n); }

void addScalar(float* dst, float value, int n) { withScalar<Op::kAdd>(dst, value, n); }

void multiply(float* dst, const float* src, int n) { binary<Op::kMultiply>(dst, src, n); }

void scale(float* dst, float value, int n) { withScalar<Op::kMultiply>(dst, value, n); }

void move(float* dst, const float* src, int n) {
  if (dst == nullptr || src == nullptr || dst == src || n <= 0) {
    return;
  }
  // Each group is loaded whole before it is stored; walking away from the
  // overlap (upwards when dst lies below src, downwards otherwise) means a
  // store never reaches a value that is still to be read.
  if (reinterpret_cast<std::uintptr_t>(dst) < reinterpret_cast<std::uintptr_t>(src)) {
    int i = 0;
    for (; n - i >= 16; i += 16) {
      move8(dst + i, src + i);
      move8(dst + i + 8, src + i + 8);
    }
    for (; n - i >= 4; i += 4) {
      move4(dst + i, src + i);
    }
    for (; i < n; ++i) {
      move1(dst + i, src + i);
    }
  } else {
    int i = n;
    for (; i >= 16; i -= 16) {
      move8(dst + i - 8, src + i - 8);
      move8(dst + i - 16, src + i - 16);
    }
    for (; i >= 4; i -= 4) {
      move4(dst + i - 4, src + i - 4);
    }
    while (i > 0) {
      --i;
      move1(dst + i, src + i);
    }
  }
}

#undef ULMAR_X87_STORE4
#undef ULMAR_X87_SCALAR4
#undef ULMAR_X87_SCALAR
#undef ULMAR_X87_BINARY4
#undef ULMAR_X87_BINARY
#undef ULMAR_X87_STACK

}  // namespace vector_ops::fpu
