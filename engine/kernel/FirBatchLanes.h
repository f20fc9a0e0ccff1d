// The batch kernel, written once over a lane type and compiled by each
// kernel translation unit for its own instruction set. Everything here has
// internal linkage, so no function built for a wider instruction set can
// stand in for another translation unit's copy.
//
// A register of lane type V holds V::kGroups groups of the same phase side
// by side, in memory order: its lowest four lanes belong to the group
// latest in time. Each four-lane block is one sample's sum, lane r taking
// the window elements k = r (mod 4), exactly as in firDotProduct. The
// history of all kGroups groups is one contiguous load; the coefficients
// of a phase copy are the same for every group and are broadcast.
#pragma once

#include <immintrin.h>

#include <type_traits>

#include "engine/kernel/FirBatch.h"
#include "engine/kernel/OrderedFloatOps.h"

namespace {

struct SseLanes {
  using Reg = __m128;
  static constexpr int kGroups = 1;
  static Reg zero() { return _mm_setzero_ps(); }
  static Reg history(const float* p) { return _mm_load_ps(p); }
  static Reg load(const float* p) { return _mm_loadu_ps(p); }
  static Reg coefficients(const float* p) { return _mm_load_ps(p); }
  static Reg mul(Reg a, Reg b) { return mulOrdered(a, b); }
  static Reg add(Reg a, Reg b) { return addOrdered(a, b); }
  // Lanes below j of each block from `older`, the others from `current`.
  static Reg precedingFrom(Reg current, Reg older, int j) {
    const Reg mask = _mm_cmplt_ps(_mm_setr_ps(0.0f, 1.0f, 2.0f, 3.0f), _mm_set1_ps(static_cast<float>(j)));
    return _mm_or_ps(_mm_and_ps(mask, older), _mm_andnot_ps(mask, current));
  }
  static void store(float* p, Reg v) { _mm_storeu_ps(p, v); }
};

#if defined(__AVX__)
struct AvxLanes {
  using Reg = __m256;
  static constexpr int kGroups = 2;
  static Reg zero() { return _mm256_setzero_ps(); }
  static Reg history(const float* p) { return _mm256_loadu_ps(p); }
  static Reg load(const float* p) { return _mm256_loadu_ps(p); }
  static Reg coefficients(const float* p) { return _mm256_broadcast_ps(reinterpret_cast<const __m128*>(p)); }
  static Reg mul(Reg a, Reg b) { return mulOrdered(a, b); }
  static Reg add(Reg a, Reg b) { return addOrdered(a, b); }
  static Reg precedingFrom(Reg current, Reg older, int j) {
    const Reg index = _mm256_setr_ps(0.0f, 1.0f, 2.0f, 3.0f, 0.0f, 1.0f, 2.0f, 3.0f);
    const Reg mask = _mm256_cmp_ps(index, _mm256_set1_ps(static_cast<float>(j)), _CMP_LT_OQ);
    return _mm256_blendv_ps(current, older, mask);
  }
  static void store(float* p, Reg v) { _mm256_storeu_ps(p, v); }
};
#endif

#if defined(__AVX512F__)
struct Avx512Lanes {
  using Reg = __m512;
  static constexpr int kGroups = 4;
  static Reg zero() { return _mm512_setzero_ps(); }
  static Reg history(const float* p) { return _mm512_loadu_ps(p); }
  static Reg load(const float* p) { return _mm512_loadu_ps(p); }
  // The zero-masking form with every lane selected: GCC 12 warns about the
  // undefined source register of the plain one.
  static Reg coefficients(const float* p) { return _mm512_maskz_broadcast_f32x4(0xFFFF, _mm_load_ps(p)); }
  static Reg mul(Reg a, Reg b) { return mulOrdered(a, b); }
  static Reg add(Reg a, Reg b) { return addOrdered(a, b); }
  static Reg precedingFrom(Reg current, Reg older, int j) {
    const auto below = static_cast<__mmask16>(((1u << j) - 1u) * 0x1111u);
    return _mm512_mask_blend_ps(below, current, older);
  }
  static void store(float* p, Reg v) { _mm512_storeu_ps(p, v); }
};
#endif

// One 16-tap step for kVectors registers of groups and all four phases:
// sum = (sum + (p0 + p1)) + (p2 + p3) lane by lane. The chunks go in pairs:
// a pair's history stays in registers while each phase's two coefficient
// registers serve every group, and each pair sum is added as soon as it
// is known, which keeps few registers live. In the first step the lanes
// before each sample come from the second half of the history.
template <class V, int kVectors, bool kFirstStep>
inline __attribute__((always_inline)) void step(const float* const (&windows)[kVectors], const float* const* copies,
                                                int ringLength, int b, typename V::Reg (&sum)[kVectors][4]) {
  using Reg = typename V::Reg;
#pragma GCC unroll 2
  for (int pair = 0; pair < 2; ++pair) {
    const int c = b + 8 * pair;
    Reg low[kVectors];
    Reg high[kVectors];
#pragma GCC unroll 4
    for (int v = 0; v < kVectors; ++v) {
      low[v] = V::history(windows[v] + c);
      high[v] = V::history(windows[v] + c + 4);
    }
#pragma GCC unroll 4
    for (int j = 0; j < 4; ++j) {
      const Reg lowCoefficient = V::coefficients(copies[j] + c);
      const Reg highCoefficient = V::coefficients(copies[j] + c + 4);
#pragma GCC unroll 4
      for (int v = 0; v < kVectors; ++v) {
        Reg window = low[v];
        if (kFirstStep && pair == 0 && j > 0) {
          window = V::precedingFrom(window, V::history(windows[v] + ringLength), j);
        }
        const Reg pairSum = V::add(V::mul(window, lowCoefficient), V::mul(high[v], highCoefficient));
        sum[v][j] = V::add(sum[v][j], pairSum);
      }
    }
  }
}

// step() for two adjacent groups in legacy SSE registers. That encoding
// overwrites one operand of each multiplication, so every product costs a
// register copy or a load besides the multiplication, and loads become the
// limit. Group 1 lies four samples below group 0, so three history lines
// serve both groups of a chunk pair, and the low coefficients of phases 0
// and 1 are loaded once for both; the others are read by the
// multiplications, which balances loads against copies. Lanes, operations
// and their order are those of step().
inline __attribute__((always_inline)) void stepAdjacentGroups(const float* window, const float* const* copies, int b,
                                                              __m128 (&sum)[2][4]) {
#pragma GCC unroll 2
  for (int pair = 0; pair < 2; ++pair) {
    const int c = b + 8 * pair;
    const __m128 below = _mm_load_ps(window + c - 4);
    const __m128 line = _mm_load_ps(window + c);
    const __m128 above = _mm_load_ps(window + c + 4);
#pragma GCC unroll 4
    for (int j = 0; j < 4; ++j) {
      const float* low = copies[j] + c;
      const float* high = low + 4;
      __m128 pair0;
      __m128 pair1;
      if (j < 2) {
        __m128 lowCoefficient = _mm_load_ps(low);
        // Held in a register: left alone, the compiler reads it from
        // memory again for the second multiplication.
        __asm__("" : "+x"(lowCoefficient));
        pair0 = addOrdered(mulOrdered(line, lowCoefficient), mulOrderedLoad(above, high));
        pair1 = addOrdered(mulOrdered(below, lowCoefficient), mulOrderedLoad(line, high));
      } else {
        pair0 = addOrdered(mulOrderedLoad(line, low), mulOrderedLoad(above, high));
        pair1 = addOrdered(mulOrderedLoad(below, low), mulOrderedLoad(line, high));
      }
      sum[0][j] = addOrdered(sum[0][j], pair0);
      sum[1][j] = addOrdered(sum[1][j], pair1);
    }
  }
}

// The running sums of a batch between tiles of taps: for each phase j, the
// four lanes of every group, latest group first, so that the groups one
// register holds lie side by side.
struct BatchSums {
  static constexpr int kPhaseStride = 4 * kFirBatchMaxGroups;
  float lanes[4 * kPhaseStride];

  float* at(const FirBatch& batch, int group, int phase) {
    return lanes + phase * kPhaseStride + 4 * (batch.groups - 1 - group);
  }
};

// Runs the steps from tileBegin to tileEnd for kVectors * V::kGroups
// groups starting at firstGroup: from zero on the first tile, otherwise on
// from the sums the previous tile left.
template <class V, int kVectors>
void runGroups(const FirBatch& batch, int firstGroup, int tileBegin, int tileEnd, BatchSums& sums) {
  using Reg = typename V::Reg;
  const float* windows[kVectors];
  float* saved[kVectors][4];
  for (int v = 0; v < kVectors; ++v) {
    const int latestGroup = firstGroup + (v + 1) * V::kGroups - 1;
    windows[v] = batch.history + batch.top - 4 * (latestGroup + 1);
    for (int j = 0; j < 4; ++j) {
      saved[v][j] = sums.at(batch, latestGroup, j);
    }
  }
  Reg sum[kVectors][4];
  int b = tileBegin;
  if (b == 0) {
    for (int v = 0; v < kVectors; ++v) {
      for (int j = 0; j < 4; ++j) {
        sum[v][j] = V::zero();
      }
    }
    step<V, kVectors, true>(windows, batch.phaseCopies, batch.ringLength, 0, sum);
    b = 16;
  } else {
    for (int v = 0; v < kVectors; ++v) {
      for (int j = 0; j < 4; ++j) {
        sum[v][j] = V::load(saved[v][j]);
      }
    }
  }
  for (; b < tileEnd; b += 16) {
    if constexpr (std::is_same_v<V, SseLanes> && kVectors == 2) {
      stepAdjacentGroups(windows[0], batch.phaseCopies, b, sum);
    } else {
      step<V, kVectors, false>(windows, batch.phaseCopies, batch.ringLength, b, sum);
    }
  }
  for (int v = 0; v < kVectors; ++v) {
    for (int j = 0; j < 4; ++j) {
      V::store(saved[v][j], sum[v][j]);
    }
  }
}

// Each sample's four lanes reduced as ((S0 + S1) + S2) + S3.
inline void reduceSums(const FirBatch& batch, BatchSums& sums) {
  for (int g = 0; g < batch.groups; ++g) {
    for (int j = 0; j < 4; ++j) {
      const float* s = sums.at(batch, g, j);
      batch.y[4 * g + (3 - j)] = addOrdered(addOrdered(addOrdered(s[0], s[1]), s[2]), s[3]);
    }
  }
}

// The taps go by in tiles whose coefficients stay in the first-level cache
// while every register's worth of groups passes over them; each lane still
// adds its products in the order of the taps. `runAll` runs one tile for
// all groups of the batch.
template <class RunAll>
void runBatchInTiles(const FirBatch& batch, RunAll runAll) {
  constexpr int kTileTaps = 1024;
  BatchSums sums;
  for (int tile = 0; tile < batch.taps; tile += kTileTaps) {
    const int end = tile + kTileTaps < batch.taps ? tile + kTileTaps : batch.taps;
    runAll(tile, end, sums);
  }
  reduceSums(batch, sums);
}

}  // namespace
