#include "engine/BankExchange.h"

// The audio side stores `held_` and then loads `active_`; a writer loads
// `active_` and then `held_`. All four are sequentially consistent, so a
// writer that chose a bank as spare either saw it held (and did not choose
// it) or the block's check sees that the bank is no longer active and reads
// nothing from it.

std::uint32_t BankExchange::enterBlock() {
  std::uint32_t word = active_.load(std::memory_order_seq_cst);
  for (;;) {
    held_.store(bankOf(word), std::memory_order_seq_cst);
    const std::uint32_t now = active_.load(std::memory_order_seq_cst);
    if (now == word) {
      return word;
    }
    word = now;
  }
}

int BankExchange::spareBank() const {
  const int active = bankOf(active_.load(std::memory_order_seq_cst));
  const int held = held_.load(std::memory_order_seq_cst);
  for (int bank = 0; bank < kBankCount; ++bank) {
    if (bank != active && bank != held) {
      return bank;
    }
  }
  return -1;  // unreachable: three banks, at most two excluded
}

std::uint32_t BankExchange::nextWord(int bank) const {
  return stampOf(active_.load(std::memory_order_relaxed)) + 4u + static_cast<std::uint32_t>(bank);
}
