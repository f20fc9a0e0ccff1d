// The batch kernel for AVX-512 processors: four groups per register. With
// the thirty-two registers of 64-bit mode, four registers (the largest
// batch) share every coefficient load; 32-bit mode has eight, enough for
// one.
#include "engine/kernel/FirBatchLanes.h"

void firBatchAvx512(const FirBatch& batch) {
  runBatchInTiles(batch, [&batch](int tile, int end, BatchSums& sums) {
    int g = 0;
#if defined(__x86_64__)
    for (; g + 16 <= batch.groups; g += 16) {
      runGroups<Avx512Lanes, 4>(batch, g, tile, end, sums);
    }
    if (g + 8 <= batch.groups) {
      runGroups<Avx512Lanes, 2>(batch, g, tile, end, sums);
      g += 8;
    }
#endif
    for (; g + 4 <= batch.groups; g += 4) {
      runGroups<Avx512Lanes, 1>(batch, g, tile, end, sums);
    }
    if (g + 2 <= batch.groups) {
      runGroups<AvxLanes, 1>(batch, g, tile, end, sums);
      g += 2;
    }
    if (g < batch.groups) {
      runGroups<SseLanes, 1>(batch, g, tile, end, sums);
    }
  });
}
