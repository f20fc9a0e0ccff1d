// Hands a prepared response from a host thread to the audio thread.
//
// Three banks: the audio thread reads the active one; a writer prepares a
// spare one, then publishes it with a single atomic store of the published
// word (a generation count times 4 plus the bank's index), so that every
// reader sees either the old bank or the new one, and every block that
// starts after `publish` returned uses the new bank.
//
// A block holds its bank while it runs: it announces the bank in `held_`,
// then checks that the bank is still the active one. A writer never picks
// the active bank nor the held one; with three banks one is always left, so
// a writer never waits for the audio thread, even when a block never
// returns (a debugger, a host that stops its audio thread inside a call).
// Such a block keeps its bank and the other two take turns.
//
// One audio thread per engine at a time, as hosts call an instance. The
// audio side never locks, waits or allocates.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

class BankExchange {
 public:
  static constexpr int kBankCount = 3;

  static int bankOf(std::uint32_t word) { return static_cast<int>(word & 3u); }
  // The stamp of values written under this publication (see StampedValue).
  static std::uint32_t stampOf(std::uint32_t word) { return word & ~3u; }

  // Any thread: the published word, ordered with every other access to it.
  std::uint32_t activeWord() const { return active_.load(std::memory_order_seq_cst); }

  // Audio thread: holds the active bank and answers its published word.
  std::uint32_t enterBlock();
  // Audio thread: the block no longer reads its bank.
  void leaveBlock() { held_.store(kNoBank, std::memory_order_release); }

  // Writers serialise on this mutex; the audio thread never takes it.
  std::mutex& writerMutex() const { return writerMutex_; }
  // Writer (holding the mutex): a bank neither active nor held by a block.
  int spareBank() const;
  // Writer (holding the mutex): the word that will publish `bank`.
  std::uint32_t nextWord(int bank) const;
  // Writer (holding the mutex): makes the bank of `word` the active one.
  void publish(std::uint32_t word) { active_.store(word, std::memory_order_seq_cst); }

 private:
  static constexpr int kNoBank = -1;
  std::atomic<std::uint32_t> active_{0};
  std::atomic<int> held_{kNoBank};
  mutable std::mutex writerMutex_;
};
