// The process-wide table and the one place that chooses a tier per entry.
#include "engine/vectorops/VectorOps.h"

#include "engine/cpu/CpuFeatures.h"
#include "engine/vectorops/VectorOpsTiers.h"

namespace {

namespace portable = vector_ops::portable;

// Constant-initialised, so the portable tier is in place before any code
// runs, including other translation units' static initialisers.
constinit VectorOps table{
    {&portable::fill},  {&portable::add},  {&portable::addScalar}, {&portable::multiply},
    {&portable::scale}, {&portable::move}, {&portable::clip},
};

}  // namespace

VectorOps& vectorOps() { return table; }

void selectVectorOpsTiers(const CpuFeatures& features) {
  constexpr auto relaxed = std::memory_order_relaxed;
  const bool hasSse = features.hasSse.load(relaxed);
  const bool hasFpu = features.hasFpu.load(relaxed);
  const bool hasCmov = features.hasCmov.load(relaxed);

  // Each entry gets the best tier the processor has, with the portable one
  // where it has none. Every store writes a function with the same element
  // results, so a concurrent reader always calls an equivalent tier; an
  // entry is written once per run, without passing through the portable
  // tier on the way.
  VectorOps& ops = table;
  if (hasSse) {
    ops.fill.store(&vector_ops::sse::fill, relaxed);
    ops.add.store(&vector_ops::sse::add, relaxed);
    ops.addScalar.store(&vector_ops::sse::addScalar, relaxed);
    ops.multiply.store(&vector_ops::sse::multiply, relaxed);
    ops.scale.store(&vector_ops::sse::scale, relaxed);
    ops.move.store(&vector_ops::sse::move, relaxed);
  } else if (hasFpu) {
    ops.fill.store(&vector_ops::fpu::fill, relaxed);
    ops.add.store(&vector_ops::fpu::add, relaxed);
    ops.addScalar.store(&vector_ops::fpu::addScalar, relaxed);
    ops.multiply.store(&vector_ops::fpu::multiply, relaxed);
    ops.scale.store(&vector_ops::fpu::scale, relaxed);
    ops.move.store(&vector_ops::fpu::move, relaxed);
  } else {
    ops.fill.store(&portable::fill, relaxed);
    ops.add.store(&portable::add, relaxed);
    ops.addScalar.store(&portable::addScalar, relaxed);
    ops.multiply.store(&portable::multiply, relaxed);
    ops.scale.store(&portable::scale, relaxed);
    ops.move.store(&portable::move, relaxed);
  }
  ops.clip.store(hasCmov ? &vector_ops::cmov::clip : &portable::clip, relaxed);
}
