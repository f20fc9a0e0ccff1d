// libFuzzer target: WaveReader over arbitrary bytes, through the in-memory
// RIFF layer. Every output buffer is exactly as large as the request, so
// the sanitizers catch any write past what the format allows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "wavefile/RiffFile.h"
#include "wavefile/WaveReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WaveReader reader;
  if (!reader.openHandle(riff::openMemory(data, size))) {
    if (reader.format().nChannels != 0) std::abort();
    return 0;
  }
  const std::size_t channels = reader.format().nChannels;
  if (channels == 0 || channels > static_cast<std::size_t>(WaveReader::kMaxChannels)) std::abort();
  // An extensible header is recorded as its plain sub-format, with valid
  // bits within the container.
  const WaveFormat& format = reader.format();
  if (format.wFormatTag != kWaveFormatPcm && format.wFormatTag != kWaveFormatIeeeFloat) std::abort();
  if (reader.validBitsPerSample() > format.wBitsPerSample) std::abort();
  if (reader.validBitsPerSample() == 0 && format.wBitsPerSample != 0) std::abort();

  // Odd request sizes cross the 100-frame rounds at different places.
  for (const int request : {0, 1, 99, 101, 250, 1000}) {
    std::vector<float> out(static_cast<std::size_t>(request) * channels);
    const int frames = reader.readFrames(out.data(), request);
    if (frames < 0 || frames > request) std::abort();
  }
  reader.close();
  reader.close();
  return 0;
}
