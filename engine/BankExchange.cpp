#include "engine/BankExchange.h"

#include <thread>

// The counter increment and the index load on the audio side, and the index
// store and the counter load on the writer side, are sequentially
// consistent: either the writer sees the block as running (and waits for
// it), or the block sees the new index.

int BankExchange::enterBlock() {
  blockCounter_.fetch_add(1, std::memory_order_seq_cst);
  return active_.load(std::memory_order_seq_cst);
}

void BankExchange::leaveBlock() { blockCounter_.fetch_add(1, std::memory_order_release); }

int BankExchange::acquireSpareBank() {
  if ((counterAtRetire_ & 1u) != 0) {
    while (blockCounter_.load(std::memory_order_acquire) == counterAtRetire_) {
      std::this_thread::yield();
    }
    counterAtRetire_ = 0;
  }
  return 1 - active_.load(std::memory_order_relaxed);
}

void BankExchange::publish(int bank) {
  active_.store(bank, std::memory_order_seq_cst);
  counterAtRetire_ = blockCounter_.load(std::memory_order_seq_cst);
}
