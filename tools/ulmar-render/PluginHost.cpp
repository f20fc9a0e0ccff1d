#include "PluginHost.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "RenderError.h"

namespace {

constexpr char kPluginFileName[] = "Ulmar_v1.so";

bool isFile(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// The host side of the record: a 2.4 host that offers no services beyond
// the version, sample rate and block size queries.
float gSampleRate = 44100.0f;
VstIntPtr gBlockSize = 512;

VstIntPtr VSTCALLBACK hostCallback(AEffect* /*effect*/, VstInt32 opcode, VstInt32 /*index*/, VstIntPtr /*value*/,
                                   void* /*ptr*/, float /*opt*/) {
  switch (opcode) {
    case audioMasterVersion:
      return kVstVersion;
    case audioMasterGetSampleRate:
      return static_cast<VstIntPtr>(gSampleRate);
    case audioMasterGetBlockSize:
      return gBlockSize;
    default:
      return 0;
  }
}

}  // namespace

std::string defaultPluginPath(std::string* tried) {
  char buffer[4096];
  const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (length <= 0) {
    *tried = "(the program's own path is unknown)";
    return {};
  }
  buffer[length] = '\0';
  std::string folder(buffer);
  folder = folder.substr(0, folder.rfind('/'));
  const std::string candidates[] = {folder + "/../plugin/" + kPluginFileName, folder + "/" + kPluginFileName};
  tried->clear();
  for (const std::string& candidate : candidates) {
    if (isFile(candidate)) {
      return candidate;
    }
    *tried += (tried->empty() ? "" : ", ") + candidate;
  }
  return {};
}

PluginLibrary::PluginLibrary(const std::string& path) : path_(path), module_(path) {
  if (!module_.loaded()) {
    throw RenderError("Cannot load the plug-in " + path + ": " + module_.error());
  }
  entry_ = module_.entry();
  if (entry_ == nullptr) {
    throw RenderError("Cannot load the plug-in " + path + ": it exports no VSTPluginMain");
  }
}

PluginLibrary::~PluginLibrary() = default;

AEffect* PluginLibrary::createEffect() const {
  AEffect* effect = entry_(hostCallback);
  if (effect == nullptr) {
    throw RenderError("The plug-in " + path_ + " refused to create an instance");
  }
  if (effect->magic != kEffectMagic || effect->dispatcher == nullptr || effect->processReplacing == nullptr ||
      effect->setParameter == nullptr || effect->getParameter == nullptr || effect->numInputs < 1 ||
      effect->numOutputs < 1) {
    throw RenderError("The plug-in " + path_ + " answered an invalid effect record");
  }
  return effect;
}

PluginInstance::PluginInstance(const PluginLibrary& library) : effect_(library.createEffect()) {}

PluginInstance::~PluginInstance() {
  setProcessing(false);
  dispatch(effClose);
}

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

void PluginInstance::open(float sampleRate, int maxBlockSize) {
  gSampleRate = sampleRate;
  gBlockSize = maxBlockSize;
  dispatch(effOpen);
  dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
  dispatch(effSetBlockSize, 0, maxBlockSize);

  // Pins beyond the first: silent inputs, and outputs nobody reads.
  const std::size_t frames = static_cast<std::size_t>(maxBlockSize);
  silentInput_.assign(frames, 0.0f);
  ignoredOutputs_.assign(static_cast<std::size_t>(effect_->numOutputs), std::vector<float>(frames, 0.0f));
  inputs_.assign(static_cast<std::size_t>(effect_->numInputs), nullptr);
  outputs_.assign(static_cast<std::size_t>(effect_->numOutputs), nullptr);
}

bool PluginInstance::setChunk(const std::vector<unsigned char>& chunk, bool program) {
  // The plug-in reads the block during the call only; it still takes a
  // non-const pointer.
  std::vector<unsigned char> copy(chunk);
  return dispatch(effSetChunk, program ? 1 : 0, static_cast<VstIntPtr>(copy.size()), copy.data()) != 0;
}

std::vector<unsigned char> PluginInstance::getChunk(bool program) {
  void* data = nullptr;
  const VstIntPtr size = dispatch(effGetChunk, program ? 1 : 0, 0, &data);
  if (data == nullptr || size <= 0) {
    return {};
  }
  const auto* bytes = static_cast<const unsigned char*>(data);
  return std::vector<unsigned char>(bytes, bytes + size);
}

std::string PluginInstance::programName() {
  // Far larger than the nominal 24 characters, as hosts do.
  char name[256] = {};
  dispatch(effGetProgramName, 0, 0, name);
  name[sizeof(name) - 1] = '\0';
  return name;
}

void PluginInstance::setParameter(int index, float value) { effect_->setParameter(effect_, index, value); }

float PluginInstance::getParameter(int index) { return effect_->getParameter(effect_, index); }

void PluginInstance::setProcessing(bool on) {
  if (on != processing_) {
    dispatch(effMainsChanged, 0, on ? 1 : 0);
    processing_ = on;
  }
}

void PluginInstance::process(float* input, float* output, int frames) {
  for (std::size_t i = 0; i < inputs_.size(); ++i) {
    inputs_[i] = i == 0 ? input : silentInput_.data();
  }
  for (std::size_t i = 0; i < outputs_.size(); ++i) {
    outputs_[i] = i == 0 ? output : ignoredOutputs_[i].data();
  }
  effect_->processReplacing(effect_, inputs_.data(), outputs_.data(), frames);
}
