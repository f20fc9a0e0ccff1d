// The SSE tier: unaligned 4-float loads and stores throughout, so no
// pointer needs more than a float's own alignment. Every loop walks blocks
// of 16 floats (four vectors), then single vectors, then single floats.
#include <xmmintrin.h>

#include <cstdint>

#include "engine/vectorops/VectorOpsTiers.h"

namespace vector_ops::sse {

namespace {

// Applies `vector` to every 4-float group and `single` to each float of the
// tail, in ascending order.
template <typename Vector, typename Single>
inline void forEachAscending(int n, Vector vector, Single single) {
  int i = 0;
  for (; n - i >= 16; i += 16) {
    vector(i);
    vector(i + 4);
    vector(i + 8);
    vector(i + 12);
  }
  for (; n - i >= 4; i += 4) {
    vector(i);
  }
  for (; i < n; ++i) {
    single(i);
  }
}

}  // namespace

void fill(float* dst, int n, float value) {
  if (dst == nullptr || n <= 0) {
    return;
  }
  // A broadcast and plain stores: no arithmetic touches the pattern.
  const __m128 v = _mm_set1_ps(value);
  forEachAscending(
      n, [=](int i) { _mm_storeu_ps(dst + i, v); }, [=](int i) { _mm_store_ss(dst + i, v); });
}

void add(float* dst, const float* src, int n) {
  if (dst == nullptr || src == nullptr || n <= 0) {
    return;
  }
  forEachAscending(
      n, [=](int i) { _mm_storeu_ps(dst + i, _mm_add_ps(_mm_loadu_ps(dst + i), _mm_loadu_ps(src + i))); },
      [=](int i) { _mm_store_ss(dst + i, _mm_add_ss(_mm_load_ss(dst + i), _mm_load_ss(src + i))); });
}

void addScalar(float* dst, float value, int n) {
  if (dst == nullptr || n <= 0) {
    return;
  }
  const __m128 v = _mm_set1_ps(value);
  forEachAscending(
      n, [=](int i) { _mm_storeu_ps(dst + i, _mm_add_ps(_mm_loadu_ps(dst + i), v)); },
      [=](int i) { _mm_store_ss(dst + i, _mm_add_ss(_mm_load_ss(dst + i), v)); });
}

void multiply(float* dst, const float* src, int n) {
  if (dst == nullptr || src == nullptr || n <= 0) {
    return;
  }
  forEachAscending(
      n, [=](int i) { _mm_storeu_ps(dst + i, _mm_mul_ps(_mm_loadu_ps(dst + i), _mm_loadu_ps(src + i))); },
      [=](int i) { _mm_store_ss(dst + i, _mm_mul_ss(_mm_load_ss(dst + i), _mm_load_ss(src + i))); });
}

void scale(float* dst, float value, int n) {
  if (dst == nullptr || n <= 0) {
    return;
  }
  const __m128 v = _mm_set1_ps(value);
  forEachAscending(
      n, [=](int i) { _mm_storeu_ps(dst + i, _mm_mul_ps(_mm_loadu_ps(dst + i), v)); },
      [=](int i) { _mm_store_ss(dst + i, _mm_mul_ss(_mm_load_ss(dst + i), v)); });
}

void move(float* dst, const float* src, int n) {
  if (dst == nullptr || src == nullptr || dst == src || n <= 0) {
    return;
  }
  // Each group is loaded completely before it is stored, and the copy walks
  // away from the overlap, so no store reaches a value still to be read.
  if (reinterpret_cast<std::uintptr_t>(dst) < reinterpret_cast<std::uintptr_t>(src)) {
    int i = 0;
    for (; n - i >= 16; i += 16) {
      const __m128 a = _mm_loadu_ps(src + i);
      _mm_storeu_ps(dst + i, a);
      const __m128 b = _mm_loadu_ps(src + i + 4);
      _mm_storeu_ps(dst + i + 4, b);
      const __m128 c = _mm_loadu_ps(src + i + 8);
      _mm_storeu_ps(dst + i + 8, c);
      const __m128 e = _mm_loadu_ps(src + i + 12);
      _mm_storeu_ps(dst + i + 12, e);
    }
    for (; n - i >= 4; i += 4) {
      _mm_storeu_ps(dst + i, _mm_loadu_ps(src + i));
    }
    for (; i < n; ++i) {
      _mm_store_ss(dst + i, _mm_load_ss(src + i));
    }
  } else {
    // Both ends start one past the last element and step back.
    float* d = dst + n;
    const float* s = src + n;
    int left = n;
    for (; left >= 16; left -= 16) {
      d -= 16;
      s -= 16;
      const __m128 e = _mm_loadu_ps(s + 12);
      _mm_storeu_ps(d + 12, e);
      const __m128 c = _mm_loadu_ps(s + 8);
      _mm_storeu_ps(d + 8, c);
      const __m128 b = _mm_loadu_ps(s + 4);
      _mm_storeu_ps(d + 4, b);
      const __m128 a = _mm_loadu_ps(s);
      _mm_storeu_ps(d, a);
    }
    for (; left >= 4; left -= 4) {
      d -= 4;
      s -= 4;
      _mm_storeu_ps(d, _mm_loadu_ps(s));
    }
    for (; left > 0; --left) {
      --d;
      --s;
      _mm_store_ss(d, _mm_load_ss(s));
    }
  }
}

}  // namespace vector_ops::sse
