// A parameter value together with the hand-over it was written under, in
// one 64-bit word, so that both are always stored and read together.
//
// Stamps are the published words of BankExchange with the bank index
// masked off: they grow by 4 with every hand-over and wrap around. Two
// stamps are compared by their difference, which is right as long as they
// lie less than 2^31 apart; the writers refresh every stamp they keep on
// each hand-over, so none falls that far behind.
#pragma once

#include <atomic>
#include <bit>
#include <cstdint>

struct StampedValue {
  float value = 0.0f;
  std::uint32_t stamp = 0;

  std::uint64_t bits() const {
    return static_cast<std::uint64_t>(std::bit_cast<std::uint32_t>(value)) | (static_cast<std::uint64_t>(stamp) << 32);
  }
  static StampedValue fromBits(std::uint64_t bits) {
    return {std::bit_cast<float>(static_cast<std::uint32_t>(bits)), static_cast<std::uint32_t>(bits >> 32)};
  }
};

// True when stamp `a` was taken at the same hand-over as `b` or a later one.
inline bool isAtLeastAsNew(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b) >= 0; }

// The value a reader uses: what the host set last, unless the bank carries
// a newer value of its own (written by the load or restore that published
// it, after the host's change).
inline float effectiveValue(StampedValue hostValue, StampedValue bankValue) {
  return isAtLeastAsNew(hostValue.stamp, bankValue.stamp) ? hostValue.value : bankValue.value;
}

using AtomicStampedValue = std::atomic<std::uint64_t>;
static_assert(AtomicStampedValue::is_always_lock_free, "the audio thread reads settings without a lock");
