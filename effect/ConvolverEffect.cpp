#include "effect/ConvolverEffect.h"

#include <cstdio>
#include <cstring>

#include "desktop/PathText.h"
#include "effect/ParameterText.h"
#include "engine/ProcessorDetection.h"
#include "engine/ResponseUpdate.h"
#include "engine/vectorops/FloatingPointMode.h"
#include "engine/vectorops/VectorOps.h"

static_assert(kChunkSampleCount == FirEngine::kMaxTaps, "the state block stores the whole response");

static_assert(kParameterCount == parameter_mapping::kParameterCount, "the engine keeps every parameter");
static_assert(kImpulsePathSize == ResponseBank::kPathSize, "the engine keeps the whole path field");
static_assert(ConvolverEffect::kBypassParameter == parameter_mapping::kBypassIndex);

namespace {

constexpr char kEmptyPath[] = "... empty ...";
constexpr float kDefaultParameters[kParameterCount] = {0.5f, 0.5f, 0.5f, 0.0f, 0.0f};

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
  ResponseUpdate update(engine_);
  update.setPath(kEmptyPath);
  update.commit();
}

ConvolverEffect::~ConvolverEffect() = default;

void ConvolverEffect::setParameter(VstInt32 index, float value) {
  if (index < 0 || index >= kParameterCount) {
    return;
  }
  engine_.setParameter(index, value);
}

float ConvolverEffect::getParameter(VstInt32 index) {
  if (index < 0 || index >= kParameterCount) {
    return 0.0f;
  }
  return engine_.parameter(index);
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
  // The gain text follows from the same value as the rest of the text.
  const float value = engine_.parameter(index);
  const float gainDecibels = index == parameter_mapping::kGainIndex
                                 ? parameter_mapping::decibelsFromGain(parameter_mapping::gainFromParameter(value))
                                 : engine_.gainDecibels();
  parameter_text::display(index, value, gainDecibels, getSampleRate(), text);
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
  const std::lock_guard lock(chunkMutex_);
  EngineSnapshot snapshot;
  engine_.snapshot(snapshot, state_.impulseSamples);
  std::memcpy(state_.impulsePath, snapshot.path, sizeof(state_.impulsePath));
  std::memcpy(state_.parameterValues, snapshot.parameters, sizeof(state_.parameterValues));
  state_.impulseLoaded = snapshot.loaded ? 1 : 0;
  std::memset(state_.alignment, 0, sizeof(state_.alignment));
  *data = &state_;
  return kStateChunkSize;
}

VstInt32 ConvolverEffect::setChunk(void* data, VstInt32 byteSize, bool /*isPreset*/) {
  if (data == nullptr || byteSize < kStateChunkSize) {
    return 0;
  }
  // The host's block may sit at any address: it is read as bytes.
  const auto* block = static_cast<const unsigned char*>(data);

  // Samples, path, parameters and loaded state reach every reader in one
  // hand-over: no block, getParameter or getChunk sees part of the old state.
  ResponseUpdate update(engine_);
  char path[kImpulsePathSize];
  std::memcpy(path, block + offsetof(StateChunk, impulsePath), sizeof(path));
  // A path without a terminator in its field is cut at 259 characters.
  path[kImpulsePathSize - 1] = '\0';
  update.setPath(path);
  update.setImpulseBytes(block + offsetof(StateChunk, impulseSamples), kChunkSampleCount);
  for (int i = 0; i < kParameterCount; ++i) {
    float value = 0.0f;
    std::memcpy(&value, block + offsetof(StateChunk, parameterValues) + sizeof(float) * static_cast<std::size_t>(i),
                sizeof(value));
    update.setParameter(i, value);
  }
  update.setLoaded(block[offsetof(StateChunk, impulseLoaded)] != 0);
  update.commit();
  return kStateChunkSize;
}

void ConvolverEffect::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  if (inputs == nullptr || outputs == nullptr || inputs[0] == nullptr || outputs[0] == nullptr) {
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
  if (inputs == nullptr || outputs == nullptr || inputs[0] == nullptr || outputs[0] == nullptr) {
    return;
  }
  const FlushToZeroScope flushToZero;
  const FirEngine::Block block = engine_.beginBlock();
  // While bypassed the accumulating callback adds nothing.
  if (!block.bypassed()) {
    engine_.process(block, inputs[0], outputs[0], sampleFrames, false);
  }
}

bool ConvolverEffect::loadImpulseResponse(const NativePath& path) {
  if (!engine_.loadImpulseFile(path, 0)) {
    char message[1024];
    std::snprintf(message, sizeof(message), "Cannot open file: %s", pathText(path).c_str());
    messageSink_(message, "Ulmar");
    return false;
  }
  // The engine published the path, length and gain with the samples.
  return true;
}
