// The portable tier: plain element loops in blocks of 128, then 16, then
// single elements. The fixed-length inner loops let the compiler unroll
// (and, where it can prove it safe, vectorise) without changing the order
// or rounding of any element's single operation.
#include <cstdint>
#include <cstring>

#include "engine/vectorops/VectorOpsTiers.h"

namespace vector_ops::portable {

namespace {

constexpr int kLargeBlock = 128;
constexpr int kSmallBlock = 16;

// Calls op(i) for i = 0 ... n-1 in ascending order, in the block structure
// of this tier.
template <typename Op>
inline void forEachAscending(int n, Op op) {
  int i = 0;
  for (; n - i >= kLargeBlock; i += kLargeBlock) {
#pragma GCC unroll 16
    for (int j = 0; j < kLargeBlock; ++j) {
      op(i + j);
    }
  }
  for (; n - i >= kSmallBlock; i += kSmallBlock) {
#pragma GCC unroll 16
    for (int j = 0; j < kSmallBlock; ++j) {
      op(i + j);
    }
  }
  for (; i < n; ++i) {
    op(i);
  }
}

// The same for i = n-1 ... 0 in descending order.
template <typename Op>
inline void forEachDescending(int n, Op op) {
  int i = n;
  for (; i >= kLargeBlock; i -= kLargeBlock) {
#pragma GCC unroll 16
    for (int j = 1; j <= kLargeBlock; ++j) {
      op(i - j);
    }
  }
  for (; i >= kSmallBlock; i -= kSmallBlock) {
#pragma GCC unroll 16
    for (int j = 1; j <= kSmallBlock; ++j) {
      op(i - j);
    }
  }
  while (i > 0) {
    --i;
    op(i);
  }
}

inline std::uint32_t bitsOf(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  return bits;
}

inline void copyWord(float* dst, const float* src) {
  std::uint32_t word;
  std::memcpy(&word, src, sizeof(word));
  std::memcpy(dst, &word, sizeof(word));
}

}  // namespace

void fill(float* dst, int n, float value) {
  if (dst == nullptr || n <= 0) {
    return;
  }
  const std::uint32_t pattern = bitsOf(value);
  forEachAscending(n, [=](int i) { std::memcpy(dst + i, &pattern, sizeof(pattern)); });
}

void add(float* dst, const float* src, int n) {
  if (dst == nullptr || src == nullptr || n <= 0) {
    return;
  }
  forEachAscending(n, [=](int i) { dst[i] = dst[i] + src[i]; });
}

void addScalar(float* dst, float value, int n) {
  if (dst == nullptr || n <= 0) {
    return;
  }
  forEachAscending(n, [=](int i) { dst[i] = dst[i] + value; });
}

void multiply(float* dst, const float* src, int n) {
  if (dst == nullptr || src == nullptr || n <= 0) {
    return;
  }
  forEachAscending(n, [=](int i) { dst[i] = dst[i] * src[i]; });
}

void scale(float* dst, float value, int n) {
  if (dst == nullptr || n <= 0) {
    return;
  }
  forEachAscending(n, [=](int i) { dst[i] = dst[i] * value; });
}

void move(float* dst, const float* src, int n) {
  if (dst == nullptr || src == nullptr || dst == src || n <= 0) {
    return;
  }
  // Copying away from the overlap: when dst lies below src every word is
  // read before the copy can reach it going upwards, and the other way round
  // going downwards.
  if (reinterpret_cast<std::uintptr_t>(dst) < reinterpret_cast<std::uintptr_t>(src)) {
    forEachAscending(n, [=](int i) { copyWord(dst + i, src + i); });
  } else {
    forEachDescending(n, [=](int i) { copyWord(dst + i, src + i); });
  }
}

void clip(float* dst, int n, float limit) {
  if (dst == nullptr || n <= 0) {
    return;
  }
  const float lower = -limit;
  forEachAscending(n, [=](int i) {
    const float x = dst[i];
    if (x > limit) {
      dst[i] = limit;
    } else if (x < lower) {
      dst[i] = lower;
    }
  });
}

}  // namespace vector_ops::portable
