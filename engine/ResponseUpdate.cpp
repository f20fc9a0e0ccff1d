#include "engine/ResponseUpdate.h"

#include "engine/FirEngine.h"

ResponseUpdate::ResponseUpdate(FirEngine& engine)
    : engine_(engine),
      lock_(engine.exchange_.writerMutex()),
      targetIndex_(engine.exchange_.acquireSpareBank()),
      target_(&engine.banks_[targetIndex_]) {
  engine.copySettingsInto(*target_);
}

void ResponseUpdate::setImpulse(const float* samples, int count) {
  target_->setImpulse(samples, count);
  target_->samplesVersion = ++engine_.lastSamplesVersion_;
  samplesReplaced_ = true;
}

void ResponseUpdate::keepSamples() {
  if (samplesReplaced_ || samplesCurrent_) {
    return;
  }
  const ResponseBank& active = engine_.activeBank();
  if (target_->samplesVersion != active.samplesVersion) {
    target_->copySamplesFrom(active);
  }
  samplesCurrent_ = true;
}

void ResponseUpdate::commit() {
  keepSamples();
  engine_.exchange_.publish(targetIndex_);
  lock_.unlock();
}
