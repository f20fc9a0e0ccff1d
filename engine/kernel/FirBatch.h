// Several consecutive output samples computed in one pass over the history,
// each with exactly the operations and order of firDotProduct.
//
// The batch is a run of whole groups: four samples whose write positions
// share one 16-byte line of the history (phases 3, 2, 1, 0 in time order).
// They read the same window and differ only in the phase copy, so wide
// registers can carry several samples' four-lane sums side by side.
//
// Before a batch the engine writes its inputs into the first half of the
// history only; the copies in the second half are written after the batch.
// Every window then holds what it holds when the samples are taken one by
// one: later samples of the batch lie below the window, except for the
// lanes of the sample's own line that precede it, which the single-sample
// kernel reads as the values of a whole ring earlier and meets zero
// coefficients there. Those values still stand in the second half, and the
// batch kernels take them from there, so that Inf and NaN inputs give the
// same results too.
#pragma once

struct FirBatch {
  // The doubled history ring (16-byte aligned) and its length (32768).
  const float* history;
  int ringLength;
  // Sample s of the batch (s = 0 first in time) sits at top - 1 - s; top is
  // a multiple of 4 and no greater than ringLength.
  int top;
  int groups;
  // The tap count, a multiple of 16 from 16 to 32768.
  int taps;
  const float* const* phaseCopies;
  // Receives 4 * groups outputs, in time order.
  float* y;
};

// The largest batch the engine asks for: 16 groups, 64 samples.
constexpr int kFirBatchMaxGroups = 16;

using FirBatchKernel = void (*)(const FirBatch& batch);

void firBatchSse2(const FirBatch& batch);
void firBatchAvx2(const FirBatch& batch);
void firBatchAvx512(const FirBatch& batch);
