// The batch kernel for AVX-512 processors: four groups per register, two
// registers sharing every coefficient load.
#include "engine/FirBatchLanes.h"

void firBatchAvx512(const FirBatch& batch) {
  runBatchInTiles(batch, [&batch](int tile, int end, BatchSums& sums) {
    int g = 0;
    for (; g + 8 <= batch.groups; g += 8) {
      runGroups<Avx512Lanes, 2>(batch, g, tile, end, sums);
    }
    if (g + 4 <= batch.groups) {
      runGroups<Avx512Lanes, 1>(batch, g, tile, end, sums);
      g += 4;
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
