#include "engine/ResponseUpdate.h"

#include <cstring>

#include "engine/FirEngine.h"

namespace pm = parameter_mapping;

ResponseUpdate::ResponseUpdate(FirEngine& engine)
    : engine_(engine),
      lock_(engine.exchange_.writerMutex()),
      sourceWord_(engine.exchange_.activeWord()),
      targetIndex_(engine.exchange_.spareBank()),
      target_(&engine.banks_[targetIndex_]) {
  const ResponseBank& source = engine.banks_[BankExchange::bankOf(sourceWord_)];
  target_->loaded.store(source.loaded.load(std::memory_order_relaxed), std::memory_order_relaxed);
  std::memcpy(target_->path, source.path, sizeof(target_->path));
}

void ResponseUpdate::setImpulse(const float* samples, int count) { setImpulseBytes(samples, count); }

void ResponseUpdate::setImpulseBytes(const void* samples, int count) {
  target_->setImpulseBytes(samples, count);
  target_->samplesVersion = ++engine_.lastSamplesVersion_;
  samplesReplaced_ = true;
}

void ResponseUpdate::keepSamples() {
  if (samplesReplaced_ || samplesCurrent_) {
    return;
  }
  const ResponseBank& active = engine_.banks_[BankExchange::bankOf(sourceWord_)];
  if (target_->samplesVersion != active.samplesVersion) {
    target_->copySamplesFrom(active);
  }
  samplesCurrent_ = true;
}

void ResponseUpdate::setParameter(int index, float value) {
  stepValues_[index] = value;
  stepWrites_[index] = true;
}

float ResponseUpdate::parameter(int index) const {
  return stepWrites_[index] ? stepValues_[index] : engine_.parameter(index);
}

void ResponseUpdate::stampParameters(std::uint32_t word) {
  const ResponseBank& source = engine_.banks_[BankExchange::bankOf(sourceWord_)];
  const std::uint32_t current = BankExchange::stampOf(sourceWord_);
  for (int k = 0; k < pm::kParameterCount; ++k) {
    if (stepWrites_[k]) {
      target_->parameters[k].store(StampedValue{stepValues_[k], BankExchange::stampOf(word)}.bits());
      continue;
    }
    // The value in force now, whichever of the host's and the active bank's
    // is newer, goes into both the host's slot and the new bank under the
    // current stamp. A host change racing with this makes the exchange
    // fail and is taken on the next round; one stored after it carries the
    // current stamp or a newer one and so keeps precedence.
    AtomicStampedValue& slot = engine_.hostValues_[k];
    std::uint64_t seen = slot.load();
    for (;;) {
      const StampedValue host = StampedValue::fromBits(seen);
      const StampedValue bank = StampedValue::fromBits(source.parameters[k].load());
      const std::uint64_t folded = StampedValue{effectiveValue(host, bank), current}.bits();
      if (seen == folded || slot.compare_exchange_weak(seen, folded)) {
        target_->parameters[k].store(folded);
        break;
      }
    }
  }
}

void ResponseUpdate::commit() {
  keepSamples();
  const std::uint32_t word = engine_.exchange_.nextWord(targetIndex_);
  stampParameters(word);
  engine_.exchange_.publish(word);
  // The host's slots take this step's values too, under the new stamp, so
  // that their stamps stay recent; a host change made meanwhile stays.
  const std::uint32_t stamp = BankExchange::stampOf(word);
  for (int k = 0; k < pm::kParameterCount; ++k) {
    if (!stepWrites_[k]) {
      continue;
    }
    std::uint64_t seen = engine_.hostValues_[k].load();
    if (!isAtLeastAsNew(StampedValue::fromBits(seen).stamp, stamp)) {
      engine_.hostValues_[k].compare_exchange_strong(seen, StampedValue{stepValues_[k], stamp}.bits());
    }
  }
  lock_.unlock();
}
