// Counts heap allocations made by the current thread while an
// AllocationCounter lives. The test binary's operator new reports to it
// (AllocationCounter.cpp replaces the global allocation functions).
#pragma once

namespace test_support {

class AllocationCounter {
 public:
  AllocationCounter();
  ~AllocationCounter();
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;
  long count() const;
};

}  // namespace test_support
