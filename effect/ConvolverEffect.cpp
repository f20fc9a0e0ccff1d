#include "effect/ConvolverEffect.h"

#include <atomic>
#include <cstdio>
#include <cstring>

#include "effect/ParameterText.h"
#include "engine/ProcessorDetection.h"
#include "engine/ResponseUpdate.h"
#include "engine/vectorops/FloatingPointMode.h"
#include "engine/vectorops/VectorOps.h"

static_assert(kChunkSampleCount == FirEngine::kMaxTaps, "the state block stores the whole response");

namespace {

constexpr char kEmptyPath[] = "... empty ...";
constexpr float kDefaultParameters[kParameterCount] = {0.5f, 0.5f, 0.5f, 0.0f, 0.0f};

// Applies a parameter to the engine's settings, live or in a bank being
// prepared for a state restore: one mapping for both.
template <typename Target>
void applyParameter(Target& target, int index, float value) {
  switch (index) {
    case 0:
      target.setMix(value);
      break;
    case 1:
      target.setGainParameter(value);
      break;
    case 2:
      target.setLengthParameter(value);
      break;
    case ConvolverEffect::kBypassParameter:
      // NaN is not bypass: only values above 0.0 are.
      target.setBypass(value > 0.0f);
      break;
    default:
      break;
  }
}

}  // namespace

ConvolverEffect::ConvolverEffect(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, kNumPrograms, kNumParameters), state_{} {
  try {
    detectCpuFeatures();
  } catch (...) {
    // Without the detection every flag stays false: the plug-in passes audio
    // through unfiltered rather than failing to load.
  }
  // The editor is created here once the plug-in has one; until then the
  // effect runs without an editor and the host sees no editor flag.
  setNumInputs(1);
  setNumOutputs(1);
  setUniqueID(kUniqueId);
  canProcessReplacing(true);
  programsAreChunks(true);
  for (int i = 0; i < kParameterCount; ++i) {
    setParameter(i, kDefaultParameters[i]);
  }
  std::memcpy(state_.impulsePath, kEmptyPath, sizeof(kEmptyPath));
}

ConvolverEffect::~ConvolverEffect() = default;

float ConvolverEffect::storedParameter(int index) const {
  return std::atomic_ref<const float>(state_.parameterValues[index]).load(std::memory_order_relaxed);
}

void ConvolverEffect::storeParameter(int index, float value) {
  std::atomic_ref<float>(state_.parameterValues[index]).store(value, std::memory_order_relaxed);
}

void ConvolverEffect::setParameter(VstInt32 index, float value) {
  if (index < 0 || index >= kParameterCount) {
    return;
  }
  storeParameter(index, value);
  applyParameter(engine_, index, value);
}

float ConvolverEffect::getParameter(VstInt32 index) {
  if (index < 0 || index >= kParameterCount) {
    return 0.0f;
  }
  return storedParameter(index);
}

void ConvolverEffect::getParameterName(VstInt32 index, char* text) {
  const char* name = parameter_text::name(index);
  if (name != nullptr) {
    std::strcpy(text, name);
  }
}

void ConvolverEffect::getParameterLabel(VstInt32 index, char* label) { getParameterName(index, label); }

void ConvolverEffect::getParameterDisplay(VstInt32 index, char* text) {
  if (index < 0 || index >= kParameterCount) {
    return;
  }
  parameter_text::display(index, storedParameter(index), engine_.gainDecibels(), getSampleRate(), text);
}

bool ConvolverEffect::getEffectName(char* name) {
  std::strcpy(name, "Ulmar (mono)");
  return true;
}

bool ConvolverEffect::getVendorString(char* text) {
  std::strcpy(text, "Quellmark");
  return true;
}

bool ConvolverEffect::getProductString(char* text) {
  std::snprintf(text, kVstMaxProductStrLen, "Ulmar v%.1f", static_cast<double>(getVendorVersion()) / 1000.0);
  return true;
}

void ConvolverEffect::setSampleRate(float sampleRate) {
  AudioEffectX::setSampleRate(sampleRate);
  RateAwareProcessor::setGlobalSampleRate(sampleRate);
}

void ConvolverEffect::setBlockSize(VstInt32 blockSize) { RateAwareProcessor::setGlobalBlockSize(blockSize); }

VstInt32 ConvolverEffect::getChunk(void** data, bool /*isPreset*/) {
  if (data == nullptr) {
    return 0;
  }
  state_.impulseLoaded = engine_.copyImpulseSamples(state_.impulseSamples) ? 1 : 0;
  *data = &state_;
  return kStateChunkSize;
}

VstInt32 ConvolverEffect::setChunk(void* data, VstInt32 byteSize, bool /*isPreset*/) {
  if (data == nullptr || byteSize < kStateChunkSize) {
    return 0;
  }
  // The host's block may sit at any address: it is read as bytes.
  const auto* block = static_cast<const unsigned char*>(data);

  // Samples, parameters, loaded state and bypass reach the audio thread in
  // one hand-over: no block runs with part of the old state.
  ResponseUpdate update(engine_);
  std::memcpy(state_.impulsePath, block + offsetof(StateChunk, impulsePath), kImpulsePathSize);
  // A path without a terminator in its field is cut at 259 characters.
  state_.impulsePath[kImpulsePathSize - 1] = '\0';
  std::memcpy(state_.impulseSamples, block + offsetof(StateChunk, impulseSamples), sizeof(state_.impulseSamples));
  state_.impulseLoaded = block[offsetof(StateChunk, impulseLoaded)];
  std::memcpy(state_.alignment, block + offsetof(StateChunk, alignment), sizeof(state_.alignment));

  update.setImpulse(state_.impulseSamples, kChunkSampleCount);
  for (int i = 0; i < kParameterCount; ++i) {
    float value = 0.0f;
    std::memcpy(&value, block + offsetof(StateChunk, parameterValues) + sizeof(float) * static_cast<std::size_t>(i),
                sizeof(value));
    storeParameter(i, value);
    applyParameter(update.bank(), i, value);
  }
  update.bank().loaded.store(state_.impulseLoaded != 0, std::memory_order_relaxed);
  update.commit();
  return kStateChunkSize;
}

void ConvolverEffect::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  if (inputs == nullptr || outputs == nullptr) {
    return;
  }
  const FlushToZeroScope flushToZero;
  const FirEngine::Block block = engine_.beginBlock();
  if (block.bypassed()) {
    vectorOps().move.load(std::memory_order_relaxed)(outputs[0], inputs[0], sampleFrames);
  } else {
    engine_.process(block, inputs[0], outputs[0], sampleFrames, true);
  }
}

void ConvolverEffect::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
  if (inputs == nullptr || outputs == nullptr) {
    return;
  }
  const FlushToZeroScope flushToZero;
  const FirEngine::Block block = engine_.beginBlock();
  // While bypassed the accumulating callback adds nothing.
  if (!block.bypassed()) {
    engine_.process(block, inputs[0], outputs[0], sampleFrames, false);
  }
}

bool ConvolverEffect::loadImpulseResponse(const char* path) {
  if (path == nullptr || !engine_.loadImpulseFile(path, 0)) {
    char message[1024];
    std::snprintf(message, sizeof(message), "Cannot open file: %s", path != nullptr ? path : "");
    messageSink_(message, "Ulmar");
    return false;
  }
  std::strncpy(state_.impulsePath, path, kImpulsePathSize - 1);
  state_.impulsePath[kImpulsePathSize - 1] = '\0';
  setParameter(2, engine_.lengthParameter());
  setParameter(1, engine_.gainParameter());
  return true;
}
