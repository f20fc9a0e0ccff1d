// The tiers behind the VectorOps table, one namespace per tier. The table
// (VectorOps.h) is the one place that chooses among them; tests and
// benchmarks call a tier directly to pin it.
//
// Contract shared by every function here:
// - n is a count of floats; nothing happens when n <= 0 or when a pointer
//   the operation needs is null.
// - No alignment is required of any pointer (4-byte alignment of a float is
//   enough; the SSE tier uses unaligned loads and stores throughout).
// - Exactly the elements 0 ... n-1 of dst are written; nothing before or
//   after them is touched, and there is no padding.
// - For finite, normal values every tier gives bit-identical results: each
//   element gets exactly one operation and one rounding to single
//   precision. Tiers may differ for denormals (the SSE tier follows the
//   flush-to-zero mode of the thread) and for signalling NaNs (the FPU tier
//   passes values through the x87 unit, which quiets them).
#pragma once

namespace vector_ops {

// Plain C++ element loops, unrolled in blocks of 128 and then 16 elements.
// Runs on any processor; the reference every other tier is tested against.
namespace portable {

// Overwrites dst[i] = value. Stores the 32-bit pattern of value, so even a
// signalling NaN arrives unchanged.
void fill(float* dst, int n, float value);
// Accumulates dst[i] = dst[i] + src[i]. src may equal dst; other partial
// overlaps are not supported.
void add(float* dst, const float* src, int n);
// Accumulates dst[i] = dst[i] + value.
void addScalar(float* dst, float value, int n);
// dst[i] = dst[i] * src[i]. src may equal dst; other partial overlaps are not
// supported.
void multiply(float* dst, const float* src, int n);
// dst[i] = dst[i] * value.
void scale(float* dst, float value, int n);
// Overwrites dst[i] with src[i] as it was before the call, for any overlap
// of the two ranges; copies 32-bit words, so every bit pattern survives.
// dst == src writes nothing.
void move(float* dst, const float* src, int n);
// dst[i] = limit if dst[i] > limit, -limit if dst[i] < -limit, otherwise
// unchanged (limit >= 0). A NaN element stays as it is.
void clip(float* dst, int n, float limit);

}  // namespace portable

// The x87 unit through inline assembly: blocks of 16 elements, then blocks
// of 4 (except fill), then single elements. Values are loaded as singles
// and stored as singles; a single + or * of two floats rounded first to the
// x87 precision (53 or 64 bits) and then to 24 bits equals the correctly
// rounded single result for normal values, because 53 >= 2 * 24 + 2.
// Same contracts as the portable tier, except that every value passes
// through the x87 registers (fill and move included), which quiets
// signalling NaNs. move loads groups of 8 (or 4) values before storing any.
namespace fpu {

void fill(float* dst, int n, float value);
void add(float* dst, const float* src, int n);
void addScalar(float* dst, float value, int n);
void multiply(float* dst, const float* src, int n);
void scale(float* dst, float value, int n);
void move(float* dst, const float* src, int n);

}  // namespace fpu

// SSE intrinsics: blocks of 16 elements as four 4-float vectors, then
// single 4-float vectors, then single floats. Same contracts as the portable
// tier. Arithmetic follows the thread's MXCSR (flush-to-zero and
// denormals-are-zero when they are set). fill and move keep every bit
// pattern; move copies forwards when dst < src and backwards otherwise, and
// loads each 4-float group completely before storing it.
namespace sse {

void fill(float* dst, int n, float value);
void add(float* dst, const float* src, int n);
void addScalar(float* dst, float value, int n);
void multiply(float* dst, const float* src, int n);
void scale(float* dst, float value, int n);
void move(float* dst, const float* src, int n);

}  // namespace sse

// Conditional moves on the 32-bit patterns, in groups of 4 and then single
// elements: the magnitude bits of each element are replaced by those of
// limit when they compare greater as unsigned integers, and the element's
// sign bit is put back. Equals the portable clip for every non-NaN element
// and limit >= +0; a NaN element becomes +limit or -limit by its sign.
// Needs a processor with CMOV.
namespace cmov {

void clip(float* dst, int n, float limit);

}  // namespace cmov

}  // namespace vector_ops
