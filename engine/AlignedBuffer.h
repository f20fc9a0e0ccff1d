// An owned heap block whose usable part starts on a 16-byte boundary: the
// allocation carries 16 bytes of slack and the start is rounded up inside
// it. Throws std::bad_alloc when the memory cannot be had.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

class AlignedBuffer {
 public:
  static constexpr std::size_t kAlignment = 16;

  explicit AlignedBuffer(std::size_t bytes) : raw_(std::malloc(bytes + kAlignment)) {
    if (raw_ == nullptr) {
      throw std::bad_alloc();
    }
    const auto address = reinterpret_cast<std::uintptr_t>(raw_);
    aligned_ = reinterpret_cast<void*>((address + kAlignment - 1) & ~std::uintptr_t{kAlignment - 1});
  }
  ~AlignedBuffer() { std::free(raw_); }
  AlignedBuffer(const AlignedBuffer&) = delete;
  AlignedBuffer& operator=(const AlignedBuffer&) = delete;

  void* data() const { return aligned_; }
  float* floats() const { return static_cast<float*>(aligned_); }

 private:
  void* raw_;
  void* aligned_;
};
