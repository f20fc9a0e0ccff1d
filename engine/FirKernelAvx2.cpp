// The batch kernel for AVX2 processors: two groups per register.
#include "engine/FirBatchLanes.h"

void firBatchAvx2(const FirBatch& batch) {
  runBatchInTiles(batch, [&batch](int tile, int end, BatchSums& sums) {
    int g = 0;
    for (; g + 2 <= batch.groups; g += 2) {
      runGroups<AvxLanes, 1>(batch, g, tile, end, sums);
    }
    if (g < batch.groups) {
      runGroups<SseLanes, 1>(batch, g, tile, end, sums);
    }
  });
}
