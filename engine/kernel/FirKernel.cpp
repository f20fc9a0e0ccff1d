#include "engine/kernel/FirKernel.h"

#include <xmmintrin.h>

#include "engine/kernel/OrderedFloatOps.h"

float firDotProduct(const float* history, int w, int L, const float* const* phaseCopies) {
  const int j = w & 3;
  const float* window = history + (w - j);
  const float* copy = phaseCopies[j];
  _mm_prefetch(reinterpret_cast<const char*>(copy), _MM_HINT_T0);

  __m128 sum = _mm_setzero_ps();
  int b = 0;
  do {
    const __m128 p0 = mulOrdered(_mm_load_ps(window + b), _mm_load_ps(copy + b));
    const __m128 p1 = mulOrdered(_mm_load_ps(window + b + 4), _mm_load_ps(copy + b + 4));
    const __m128 p2 = mulOrdered(_mm_load_ps(window + b + 8), _mm_load_ps(copy + b + 8));
    const __m128 p3 = mulOrdered(_mm_load_ps(window + b + 12), _mm_load_ps(copy + b + 12));
    sum = addOrdered(addOrdered(sum, addOrdered(p0, p1)), addOrdered(p2, p3));
    b += 16;
  } while (b < L);

  alignas(16) float lanes[4];
  _mm_store_ps(lanes, sum);
  return addOrdered(addOrdered(addOrdered(lanes[0], lanes[1]), lanes[2]), lanes[3]);
}
