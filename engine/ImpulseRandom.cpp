#include "engine/ImpulseRandom.h"

#include <cstdint>

int impulseRandom() {
  thread_local std::uint32_t state = 1;
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 32767u);
}
