// libFuzzer target: a WAV file loaded as the editor loads a chosen or
// dropped file, through ConvolverEffect::loadImpulseResponse, file opening
// included. The first byte picks what stands at the path: a regular file
// holding the rest of the input, a FIFO, a folder, or a link to one of
// them. A regular file loads exactly when the reader accepts the same bytes
// in memory; anything else is refused with the usual message, at once (a
// blocked open ends the run through libFuzzer's timeout). A loaded
// response is bounded and filters to finite output.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FuzzSignal.h"
#include "effect/ConvolverEffect.h"
#include "engine/SignalBounds.h"
#include "wavefile/RiffFile.h"
#include "wavefile/WaveReader.h"

namespace {

std::string gMessage;

void recordMessage(const char* text, const char*) { gMessage = text; }

void require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "wave load: %s\n", what);
    std::abort();
  }
}

const std::filesystem::path& folder() {
  static const std::filesystem::path made = [] {
    char pattern[] = "/tmp/ulmar-fuzz-waveload-XXXXXX";
    require(::mkdtemp(pattern) != nullptr, "a temporary folder");
    std::atexit([] { std::filesystem::remove_all(folder()); });
    return std::filesystem::path(pattern);
  }();
  return made;
}

bool writeAll(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t kind = data[0] & 3u;
  const bool linked = (data[0] & 4u) != 0;
  const std::uint8_t* bytes = data + 1;
  const std::size_t count = size - 1;

  const std::string target = (folder() / "response.wav").string();
  const std::string link = (folder() / "linked.wav").string();
  std::filesystem::remove_all(target);
  std::filesystem::remove(link);
  switch (kind) {
    case 2:
      require(::mkfifo(target.c_str(), 0600) == 0, "a FIFO");
      break;
    case 3:
      require(::mkdir(target.c_str(), 0700) == 0, "a folder");
      break;
    default:
      require(writeAll(target, bytes, count), "the file written");
      break;
  }
  if (linked) require(::symlink(target.c_str(), link.c_str()) == 0, "a link");
  const std::string path = linked ? link : target;

  bool readable = false;
  if (kind < 2) {
    WaveReader reader;
    readable = reader.openHandle(riff::openMemory(bytes, count));
  }

  ConvolverEffect effect(nullptr);
  effect.setMessageSink(recordMessage);
  gMessage.clear();
  const auto started = std::chrono::steady_clock::now();
  const bool loaded = effect.loadImpulseResponse(path.c_str());
  // A blocked open may also end early, when libFuzzer's timer interrupts
  // it: a refusal of what is no regular file must come at once, which on
  // any machine is well within this.
  if (kind >= 2) {
    require(std::chrono::steady_clock::now() - started < std::chrono::seconds(3),
            "what is no regular file is refused without waiting");
  }
  require(loaded == readable, "loads exactly what the reader accepts, from regular files only");
  if (!loaded) {
    require(gMessage == "Cannot open file: " + path, "a refusal says so");
    require(effect.impulsePath() == "... empty ...", "a refusal changes nothing");
    return 0;
  }
  require(gMessage.empty(), "a load says nothing");
  require(effect.impulsePath() == path, "the path is kept");
  for (const int index : {1, 2}) {
    const float value = effect.getParameter(index);
    require(value >= 0.0f && value <= 1.0f, "automatic gain and length lie in 0..1");
  }
  const float* samples = effect.engine().impulseSamples();
  for (int i = 0; i < FirEngine::kMaxTaps; ++i) {
    require(std::isfinite(samples[i]) && std::fabs(samples[i]) <= signal_bounds::kMaxResponseSample,
            "stored samples are finite and bounded");
  }
  std::uint32_t seed = 2166136261u;
  for (std::size_t i = 0; i < std::min<std::size_t>(size, 64); ++i) seed = (seed ^ data[i]) * 16777619u;
  requireFiniteAudio(effect, seed);
  return 0;
}
