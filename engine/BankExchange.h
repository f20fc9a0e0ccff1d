// Hands a prepared response from a host thread to the audio thread.
//
// Two banks: the audio thread reads the active one; a writer prepares the
// spare one, then publishes it with a single atomic store. A block takes
// the active index once at its start, so it runs entirely on the old bank
// or entirely on the new one, and every block that starts after `publish`
// returned sees the new bank.
//
// A bank that was retired may still be read by a block that began before
// the switch. The audio thread keeps a block counter that is odd while a
// block runs; before a writer touches the spare bank it waits (on its own
// thread, never on the audio thread) until the block that was running at
// the switch has ended. The audio side never locks, waits or allocates.
//
// One audio thread per engine at a time, as hosts call an instance.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

class BankExchange {
 public:
  static constexpr int kBankCount = 2;

  // Audio thread: marks the block as running and answers the bank it uses.
  int enterBlock();
  // Audio thread: the block no longer reads its bank.
  void leaveBlock();

  // Writers serialise on this mutex; the audio thread never takes it.
  std::mutex& writerMutex() { return writerMutex_; }

  // Writer (holding the mutex): the bank it may write, once no block that
  // could still read it is running.
  int acquireSpareBank();
  // Writer (holding the mutex): makes `bank` the active one.
  void publish(int bank);

  int activeBank() const { return active_.load(std::memory_order_acquire); }
  // Audio thread: the active bank, ordered after every load before it.
  int activeBankNow() const { return active_.load(std::memory_order_seq_cst); }

 private:
  std::atomic<int> active_{0};
  std::atomic<std::uint32_t> blockCounter_{0};
  // Block counter seen right after the last switch; odd when a block that
  // may read the retired bank was running then. Written under the mutex.
  std::uint32_t counterAtRetire_ = 0;
  std::mutex writerMutex_;
};
