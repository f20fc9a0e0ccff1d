// The batch kernel for SSE2 processors: one group per register, the four
// phases' sums as independent chains.
#include "engine/FirBatchLanes.h"

void firBatchSse2(const FirBatch& batch) {
  runBatchInTiles(batch, [&batch](int tile, int end, BatchSums& sums) {
    for (int g = 0; g < batch.groups; ++g) {
      runGroups<SseLanes, 1>(batch, g, tile, end, sums);
    }
  });
}
