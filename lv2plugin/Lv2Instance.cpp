#include "lv2plugin/Lv2Instance.h"

#include <lv2/atom/atom.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "lv2plugin/Lv2Uris.h"

static_assert(std::atomic<float>::is_always_lock_free, "a save reads the port values without a lock");

namespace {

const LV2_URID_Map* findMap(const LV2_Feature* const* features) {
  for (; features != nullptr && *features != nullptr; ++features) {
    if (std::strcmp((*features)->URI, LV2_URID__map) == 0) {
      return static_cast<const LV2_URID_Map*>((*features)->data);
    }
  }
  return nullptr;
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof(float)) == 0; }

}  // namespace

Lv2Instance* Lv2Instance::create(double sampleRate, const LV2_Feature* const* features) {
  try {
    return new Lv2Instance(sampleRate, findMap(features));
  } catch (...) {
    return nullptr;
  }
}

// No host callback: the effect's calls to the host answer nothing. A host
// without a URI map (one that renders files, say) has no state to save.
Lv2Instance::Lv2Instance(double sampleRate, const LV2_URID_Map* map) : effect_(nullptr) {
  if (map != nullptr && map->map != nullptr) {
    stateKey_ = map->map(map->handle, ULMAR_LV2_STATE_KEY);
    chunkType_ = map->map(map->handle, LV2_ATOM__Chunk);
  }
  effect_.setSampleRate(static_cast<float>(sampleRate));
  // A port connected only after the first block counts as changed when it
  // differs from the effect's value.
  for (int i = 0; i < kParameterCount; ++i) {
    taken_[i] = effect_.getParameter(i);
  }
}

void Lv2Instance::connectPort(std::uint32_t port, void* data) {
  if (port < lv2_ports::kFirstParameter + kParameterCount) {
    controls_[port - lv2_ports::kFirstParameter] = static_cast<const float*>(data);
  } else if (port == lv2_ports::kAudioInput) {
    input_ = static_cast<const float*>(data);
  } else if (port == lv2_ports::kAudioOutput) {
    output_ = static_cast<float*>(data);
  } else if (port == lv2_ports::kLatency) {
    latency_ = static_cast<float*>(data);
  }
}

void Lv2Instance::takeControls() {
  const bool all = takeAll_.exchange(false, std::memory_order_acquire);
  bool tookAny = false;
  for (int i = 0; i < kParameterCount; ++i) {
    if (controls_[i] == nullptr) {
      continue;
    }
    const float value = *controls_[i];
    if (all || !sameBits(value, taken_[i])) {
      effect_.setParameter(i, value);
      taken_[i] = value;
      takenShared_[i].store(value, std::memory_order_relaxed);
    }
    tookAny = true;
  }
  if (tookAny) {
    anyTaken_.store(true, std::memory_order_release);
  }
}

// The output starts as a copy of the input and the effect then filters it
// in place: where the effect writes nothing (no response, too few taps, no
// SSE) the host hears the dry input, as a VST host processing in place does.
void Lv2Instance::run(std::uint32_t sampleCount) {
  takeControls();
  if (latency_ != nullptr) {
    *latency_ = 0.0f;
  }
  if (input_ == nullptr || output_ == nullptr) {
    return;
  }
  const float* in = input_;
  float* out = output_;
  while (sampleCount > 0) {
    const std::uint32_t n = std::min<std::uint32_t>(sampleCount, INT_MAX);
    if (in != out) {
      std::memcpy(out, in, sizeof(float) * n);
    }
    float* channels[1] = {out};
    effect_.processReplacing(channels, channels, static_cast<VstInt32>(n));
    in += n;
    out += n;
    sampleCount -= n;
  }
}

// The block the VST build's chunk holds, its parameters replaced by the
// port values the last block took: the host saves those values with the
// block, and they win on restore, so the two saved copies agree.
LV2_State_Status Lv2Instance::saveState(LV2_State_Store_Function store, LV2_State_Handle handle) {
  if (stateKey_ == 0) {
    return LV2_STATE_ERR_NO_FEATURE;
  }
  void* data = nullptr;
  if (effect_.getChunk(&data, false) != kStateChunkSize || data == nullptr) {
    return LV2_STATE_ERR_UNKNOWN;
  }
  std::memcpy(&saved_, data, sizeof(saved_));
  if (anyTaken_.load(std::memory_order_acquire)) {
    for (int i = 0; i < kParameterCount; ++i) {
      if (controls_[i] != nullptr) {
        saved_.parameterValues[i] = takenShared_[i].load(std::memory_order_relaxed);
      }
    }
  }
  return store(handle, stateKey_, &saved_, sizeof(saved_), chunkType_, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

// A missing block, one of another type or one shorter than the VST build's
// chunk changes nothing; a longer one is cut, as the VST build's restore
// does. The next block takes every port's value again.
LV2_State_Status Lv2Instance::restoreState(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle) {
  if (stateKey_ == 0) {
    return LV2_STATE_ERR_NO_FEATURE;
  }
  std::size_t size = 0;
  std::uint32_t type = 0;
  std::uint32_t flags = 0;
  const void* data = retrieve(handle, stateKey_, &size, &type, &flags);
  if (data == nullptr) {
    return LV2_STATE_ERR_NO_PROPERTY;
  }
  if (type != chunkType_) {
    return LV2_STATE_ERR_BAD_TYPE;
  }
  if (size < static_cast<std::size_t>(kStateChunkSize) ||
      effect_.setChunk(const_cast<void*>(data), kStateChunkSize, false) != kStateChunkSize) {
    return LV2_STATE_ERR_UNKNOWN;
  }
  takeAll_.store(true, std::memory_order_release);
  return LV2_STATE_SUCCESS;
}
