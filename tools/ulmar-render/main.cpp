// ulmar-render: renders audio files through the built plug-in library from
// the command line, driving it as a host does. See usageText() for the
// options.
#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AudioFiles.h"
#include "PendingFile.h"
#include "PluginHost.h"
#include "RenderError.h"
#include "RenderOptions.h"
#include "Renderer.h"
#include "ResponseState.h"
#include "effect/ConvolverEffect.h"
#include "tools/presets/PresetFile.h"

namespace {

constexpr int kLengthParameter = 2;
constexpr int kGainParameter = 1;
constexpr int kMixParameter = 0;
// Only the length in taps is saved without an input, and that does not
// depend on the rate; the plug-in still wants one.
constexpr int kRateWithoutInput = 44100;
// Each channel runs through a plug-in instance of its own, about 2 MB each:
// more than this many is no longer a sensible render on a desktop machine.
constexpr int kMaxChannels = 64;

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void onInterrupt(int /*signal*/) { gInterrupted = 1; }

std::string decibelText(double decibels) {
  if (!std::isfinite(decibels)) {
    return "-inf dB";
  }
  char text[32];
  std::snprintf(text, sizeof(text), "%+.1f dB", decibels);
  return text;
}

bool endsWithBankExtension(const std::string& path) {
  return path.size() >= 4 && (path.ends_with(".fxb") || path.ends_with(".FXB"));
}

std::string fileStem(const std::string& path) {
  std::string name = path.substr(path.rfind('/') + 1);
  return name.substr(0, name.rfind('.'));
}

// Brings every instance to the same state: the block, then the options.
void configure(PluginInstance& instance, const RenderOptions& o, const ResponseState& state, double sampleRate,
               std::optional<int> taps) {
  instance.open(static_cast<float>(sampleRate), o.blockSize);
  if (!instance.setChunk(state.chunk, state.program)) {
    throw RenderError("The plug-in refused the saved state");
  }
  if (o.mixPercent) {
    instance.setParameter(kMixParameter, parameter_units::mixParameter(*o.mixPercent));
  }
  if (o.gain.kind != parameter_units::GainKind::kAutomatic) {
    instance.setParameter(kGainParameter, parameter_units::gainParameter(o.gain));
  }
  if (taps) {
    instance.setParameter(kLengthParameter, parameter_units::lengthParameter(*taps));
  }
}

void writePreset(PendingFile& file, PluginInstance& instance, const std::string& path) {
  preset_file::Preset preset;
  const bool bank = endsWithBankExtension(path);
  preset.kind = bank ? preset_file::Kind::kBank : preset_file::Kind::kProgram;
  preset.pluginId = instance.record().uniqueID;
  preset.pluginVersion = instance.record().version;
  preset.count = bank ? instance.record().numPrograms : instance.record().numParams;
  preset.programName = instance.programName();
  if (preset.programName.empty()) {
    preset.programName = fileStem(path);
  }
  preset.chunk = instance.getChunk(!bank);
  if (preset.chunk.empty()) {
    throw RenderError("The plug-in handed out no state to save");
  }
  if (preset.chunk.size() > preset_file::kMaxChunkSize) {
    throw RenderError("Cannot write " + path + ": " + preset_file::describe(preset_file::Error::kTooLarge));
  }
  file.write(preset_file::encode(preset));
}

int run(const RenderOptions& o) {
  std::optional<AudioInput> input;
  int outputFormat = 0;
  if (!o.input.empty()) {
    input.emplace(o.input);
    if (input->channels() > kMaxChannels) {
      throw RenderError(o.input + " has " + std::to_string(input->channels()) + " channels; at most " +
                        std::to_string(kMaxChannels) + " are rendered (each needs a plug-in instance of its own)");
    }
    outputFormat = outputFormatFor(o.output, o.sampleFormat, input->sampleRate(), input->channels());
  }
  const double sampleRate = input ? input->sampleRate() : kRateWithoutInput;
  const int channels = input ? input->channels() : 1;

  std::optional<int> taps;
  if (o.length.kind != parameter_units::LengthKind::kAutomatic) {
    int value = 0;
    std::string error;
    if (!parameter_units::lengthTaps(o.length, sampleRate, &value, &error)) {
      throw RenderError(error, kExitUsage);
    }
    taps = value;
  }

  std::string pluginPath = o.plugin;
  if (pluginPath.empty()) {
    std::string tried;
    pluginPath = defaultPluginPath(&tried);
    if (pluginPath.empty()) {
      throw RenderError("Cannot find the plug-in (looked at " + tried + "); give --plugin PATH");
    }
  }
  PluginLibrary library(pluginPath);
  std::vector<std::unique_ptr<PluginInstance>> instances;
  instances.push_back(std::make_unique<PluginInstance>(library));
  const AEffect& record = instances.front()->record();
  if (record.uniqueID != ConvolverEffect::kUniqueId || (record.flags & effFlagsProgramChunks) == 0) {
    throw RenderError(pluginPath + " is not the Ulmar plug-in");
  }

  const ResponseState state = loadResponseState(o, record.uniqueID);
  while (static_cast<int>(instances.size()) < channels) {
    instances.push_back(std::make_unique<PluginInstance>(library));
  }
  for (auto& instance : instances) {
    configure(*instance, o, state, sampleRate, taps);
  }
  const int tapsUsed = parameter_units::tapsFromParameter(instances.front()->getParameter(kLengthParameter));
  // What the plug-in ended up with, automatic or given.
  const std::string gainUsed =
      decibelText(parameter_units::gainDecibelsFromParameter(instances.front()->getParameter(kGainParameter)));
  const std::string automaticGain = decibelText(state.automaticGainDecibels);

  // Nothing is created under its final name before everything else worked.
  std::optional<PendingFile> presetFile;
  if (!o.savePreset.empty()) {
    presetFile.emplace(o.savePreset);
    writePreset(*presetFile, *instances.front(), o.savePreset);
  }

  if (!input) {
    presetFile->commit();
    std::printf("%d taps used, gain %s (automatic %s), preset written to %s\n", tapsUsed, gainUsed.c_str(),
                automaticGain.c_str(), o.savePreset.c_str());
    return kExitSuccess;
  }

  PendingFile outputFile(o.output);
  AudioOutput output(outputFile, outputFormat, input->sampleRate(), channels);
  for (auto& instance : instances) {
    instance->setProcessing(true);
  }
  const RenderResult result = renderAudio(*input, output, instances, o.blockSize, o.tail ? tapsUsed : 0, &gInterrupted);
  for (auto& instance : instances) {
    instance->setProcessing(false);
  }
  output.close();
  if (presetFile) {
    presetFile->commit();
  }
  outputFile.commit();

  const double seconds = static_cast<double>(result.frames) / sampleRate;
  const double speed = seconds / std::max(result.elapsedSeconds, 1e-9);
  std::printf("%d taps used, gain %s (automatic %s), %.3f s rendered, %.1fx real time\n", tapsUsed, gainUsed.c_str(),
              automaticGain.c_str(), seconds, speed);
  return kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const ParsedCommandLine parsed = parseCommandLine(args);
  if (parsed.options.help) {
    std::fputs(usageText().c_str(), stdout);
    return kExitSuccess;
  }
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "ulmar-render: %s\n", parsed.error.c_str());
    return kExitUsage;
  }
  std::signal(SIGINT, onInterrupt);
  std::signal(SIGTERM, onInterrupt);
  try {
    return run(parsed.options);
  } catch (const RenderError& error) {
    std::fprintf(stderr, "ulmar-render: %s\n", error.what());
    return error.status();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "ulmar-render: %s\n", error.what());
    return kExitFailure;
  }
}
