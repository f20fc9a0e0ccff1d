// The render loop: reads the input in blocks, hands each channel to its own
// plug-in instance, writes the result, then renders the response's tail
// from silence.
#pragma once

#include <csignal>
#include <cstdint>
#include <memory>
#include <vector>

class AudioInput;
class AudioOutput;
class PluginInstance;

struct RenderResult {
  std::int64_t frames = 0;      // written to the output
  double elapsedSeconds = 0.0;  // wall-clock time of the loop
};

// instances: one per input channel, opened with a block size of at least
// blockSize and switched on. tailFrames frames of silence follow the input.
// Throws RenderError, with the interrupted status once *interrupted is set.
RenderResult renderAudio(AudioInput& input, AudioOutput& output,
                         const std::vector<std::unique_ptr<PluginInstance>>& instances, int blockSize,
                         std::int64_t tailFrames, const volatile std::sig_atomic_t* interrupted);
