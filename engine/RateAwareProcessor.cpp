#include "engine/RateAwareProcessor.h"

#include <mutex>
#include <set>

namespace {

struct Registry {
  std::mutex mutex;
  std::set<RateAwareProcessor*> instances;
  float sampleRate = 0.0f;
  int blockSize = 0;
};

Registry& registry() {
  static Registry r;
  return r;
}

}  // namespace

void RateAwareProcessor::registerInstance() {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.instances.insert(this);
}

void RateAwareProcessor::unregisterInstance() {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.instances.erase(this);
}

void RateAwareProcessor::setGlobalSampleRate(float rate) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  if (rate == r.sampleRate) {
    return;
  }
  r.sampleRate = rate;
  for (RateAwareProcessor* p : r.instances) {
    p->sampleRateChanged();
  }
}

void RateAwareProcessor::setGlobalBlockSize(int size) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  if (size == r.blockSize) {
    return;
  }
  r.blockSize = size;
  for (RateAwareProcessor* p : r.instances) {
    p->blockSizeChanged();
  }
}

float RateAwareProcessor::globalSampleRate() {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  return r.sampleRate;
}

int RateAwareProcessor::globalBlockSize() {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  return r.blockSize;
}

int RateAwareProcessor::registeredCount() {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  return static_cast<int>(r.instances.size());
}
