// The batch kernel for SSE2 processors: one group per register, the four
// phases' sums as independent chains. With the sixteen registers of 64-bit
// mode, two adjacent groups share history and coefficient loads.
#include "engine/kernel/FirBatchLanes.h"

void firBatchSse2(const FirBatch& batch) {
  runBatchInTiles(batch, [&batch](int tile, int end, BatchSums& sums) {
    int g = 0;
#if defined(__x86_64__)
    for (; g + 2 <= batch.groups; g += 2) {
      runGroups<SseLanes, 2>(batch, g, tile, end, sums);
    }
#endif
    for (; g < batch.groups; ++g) {
      runGroups<SseLanes, 1>(batch, g, tile, end, sums);
    }
  });
}
