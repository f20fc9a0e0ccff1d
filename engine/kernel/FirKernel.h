// The per-sample dot product of the FIR engine.
//
// history: the doubled history ring (16-byte aligned), newest sample at w,
// older samples at w+1, w+2, ... . phaseCopies[k][i + k] = h[i]. L is the
// tap count, a multiple of 16 from 16 to 32768.
//
// The window starts at a = w - (w mod 4), so that every load of both
// operands is an aligned 16-byte load; the copy shifted by j = w mod 4
// lines the response up with it. The last j taps of the L are not used.
//
// Order of operations (fixed, so that every build gives the same bits):
// per 16 taps, four lane-wise products p0..p3, then S = (S + (p0 + p1)) +
// (p2 + p3); finally ((S0 + S1) + S2) + S3. All in single precision.
#pragma once

float firDotProduct(const float* history, int w, int L, const float* const* phaseCopies);
