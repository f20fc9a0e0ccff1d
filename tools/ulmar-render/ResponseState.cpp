#include "ResponseState.h"

#include <cstddef>
#include <string>

#include "ImpulseFileCheck.h"
#include "RenderError.h"
#include "effect/ConvolverEffect.h"
#include "tools/presets/PresetFile.h"

namespace {

std::string gLastMessage;

void recordMessage(const char* text, const char* /*caption*/) { gLastMessage = text; }

// The response is loaded by the plug-in's own loading code, built into this
// program, and reaches the plug-in as the state block it produces.
ResponseState fromImpulseFile(const std::string& path) {
  if (const std::string problem = impulseFileProblem(path); !problem.empty()) {
    throw RenderError(problem);
  }
  ConvolverEffect loader(nullptr);
  gLastMessage.clear();
  loader.setMessageSink(recordMessage);
  if (!loader.loadImpulseResponse(path)) {
    throw RenderError(gLastMessage.empty() ? "Cannot open file: " + path : gLastMessage);
  }
  ResponseState state;
  void* block = nullptr;
  const VstInt32 size = loader.getChunk(&block, false);
  const auto* bytes = static_cast<const unsigned char*>(block);
  state.chunk.assign(bytes, bytes + size);
  state.program = false;
  state.automaticGainDecibels = loader.engine().gainDecibels();
  return state;
}

std::string kindName(preset_file::Kind kind) {
  return kind == preset_file::Kind::kProgram ? "a program (.fxp)" : "a bank (.fxb)";
}

ResponseState fromPresetFile(const std::string& path, preset_file::Kind expected, VstInt32 pluginId) {
  const preset_file::ReadResult read = preset_file::readFile(path.c_str(), pluginId);
  if (!read.ok()) {
    if (read.error == preset_file::Error::kCannotOpen) {
      throw RenderError("Cannot open file: " + path);
    }
    throw RenderError(path + " " + preset_file::describe(read.error));
  }
  if (read.preset.kind != expected) {
    throw RenderError(path + " is " + kindName(read.preset.kind) + ", not " + kindName(expected) + ": use " +
                          (read.preset.kind == preset_file::Kind::kProgram ? "--preset" : "--bank"),
                      kExitUsage);
  }
  const std::vector<unsigned char>& chunk = read.preset.chunk;
  if (chunk.size() < static_cast<std::size_t>(kStateChunkSize)) {
    throw RenderError(path + " holds " + std::to_string(chunk.size()) + " bytes of state, not the " +
                      std::to_string(kStateChunkSize) + " this plug-in saves");
  }
  if (chunk[offsetof(StateChunk, impulseLoaded)] == 0) {
    throw RenderError(path + " was saved before any impulse response was loaded");
  }

  // The automatic gain is what loading this response would choose: the same
  // trim and normalisation, applied to the samples the preset carries.
  ConvolverEffect analyser(nullptr);
  std::vector<unsigned char> copy(chunk);
  analyser.setChunk(copy.data(), static_cast<VstInt32>(copy.size()), expected == preset_file::Kind::kProgram);
  analyser.engine().trimLength(FirEngine::kMaxTaps);
  analyser.engine().normalizeGain();

  ResponseState state;
  state.chunk = chunk;
  state.program = expected == preset_file::Kind::kProgram;
  state.automaticGainDecibels = analyser.engine().gainDecibels();
  return state;
}

}  // namespace

ResponseState loadResponseState(const RenderOptions& options, VstInt32 pluginId) {
  if (!options.impulse.empty()) {
    return fromImpulseFile(options.impulse);
  }
  if (!options.preset.empty()) {
    return fromPresetFile(options.preset, preset_file::Kind::kProgram, pluginId);
  }
  return fromPresetFile(options.bank, preset_file::Kind::kBank, pluginId);
}
