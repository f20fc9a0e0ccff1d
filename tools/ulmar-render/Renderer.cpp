#include "Renderer.h"

#include <algorithm>
#include <chrono>

#include "AudioFiles.h"
#include "PluginHost.h"
#include "Progress.h"
#include "RenderError.h"

RenderResult renderAudio(AudioInput& input, AudioOutput& output,
                         const std::vector<std::unique_ptr<PluginInstance>>& instances, int blockSize,
                         std::int64_t tailFrames, const volatile std::sig_atomic_t* interrupted) {
  const std::size_t channels = instances.size();
  const std::size_t block = static_cast<std::size_t>(blockSize);
  std::vector<float> interleaved(block * channels);
  std::vector<float> channel(block);

  const auto start = std::chrono::steady_clock::now();
  const std::int64_t declared = std::max<std::int64_t>(input.frames(), 0);
  Progress progress(declared + tailFrames, input.sampleRate());
  RenderResult result;
  bool inputEnded = false;
  std::int64_t tailLeft = tailFrames;
  for (;;) {
    if (*interrupted != 0) {
      throw RenderError("interrupted", kExitInterrupted);
    }
    int frames = 0;
    if (!inputEnded) {
      frames = input.read(interleaved.data(), blockSize);
      inputEnded = frames == 0;
    }
    if (inputEnded) {
      if (tailLeft == 0) {
        break;
      }
      frames = static_cast<int>(std::min<std::int64_t>(tailLeft, blockSize));
      tailLeft -= frames;
      std::fill(interleaved.begin(), interleaved.end(), 0.0f);
    }
    const std::size_t count = static_cast<std::size_t>(frames);
    // Channels are independent: each goes through its own instance. The
    // plug-in works in place, as hosts run it, so where it writes nothing
    // (no response, fewer than 16 taps) the dry signal passes.
    for (std::size_t c = 0; c < channels; ++c) {
      for (std::size_t i = 0; i < count; ++i) {
        channel[i] = interleaved[i * channels + c];
      }
      instances[c]->process(channel.data(), channel.data(), frames);
      for (std::size_t i = 0; i < count; ++i) {
        interleaved[i * channels + c] = channel[i];
      }
    }
    output.write(interleaved.data(), frames);
    result.frames += frames;
    progress.update(result.frames);
  }
  progress.finish();
  result.elapsedSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return result;
}
