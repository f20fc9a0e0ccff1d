// The batch kernel for AVX2 processors: two groups per register. With the
// sixteen registers of 64-bit mode, two registers share every coefficient
// load; 32-bit mode has eight, enough for one.
#include "engine/kernel/FirBatchLanes.h"

void firBatchAvx2(const FirBatch& batch) {
  runBatchInTiles(batch, [&batch](int tile, int end, BatchSums& sums) {
    int g = 0;
#if defined(__x86_64__)
    for (; g + 4 <= batch.groups; g += 4) {
      runGroups<AvxLanes, 2>(batch, g, tile, end, sums);
    }
#endif
    for (; g + 2 <= batch.groups; g += 2) {
      runGroups<AvxLanes, 1>(batch, g, tile, end, sums);
    }
    if (g < batch.groups) {
      runGroups<SseLanes, 1>(batch, g, tile, end, sums);
    }
  });
}
