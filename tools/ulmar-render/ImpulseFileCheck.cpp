#include "ImpulseFileCheck.h"

#include <memory>

#include "engine/FirEngine.h"

std::string refusalText(WaveReader::Refusal refusal) {
  using R = WaveReader::Refusal;
  switch (refusal) {
    case R::kCannotOpen:
      return "the file cannot be read";
    case R::kNotRiff:
      return "not a RIFF file";
    case R::kNotWave:
      return "a RIFF file, but not WAVE";
    case R::kNoFormatChunk:
      return "no format chunk";
    case R::kFormatTooShort:
      return "the format chunk is shorter than 16 bytes";
    case R::kFormatTruncated:
      return "the format chunk is cut short";
    case R::kUnsupportedTag:
      return "the sample format is neither PCM nor IEEE float";
    case R::kNoChannels:
      return "no channels";
    case R::kTooManyChannels:
      return "more than " + std::to_string(WaveReader::kMaxChannels) + " channels";
    case R::kNoBlockAlign:
      return "a block alignment of 0";
    case R::kBlockAlignTooSmall:
      return "a block alignment too small for its channels and bits";
    case R::kAscendFailed:
      return "a chunk runs past the end of the file";
    case R::kSeekFailed:
      return "the data cannot be reached";
    case R::kNoDataChunk:
      return "no data chunk";
    case R::kNone:
      break;
    default:
      // A reason added to the reader later.
      return "refused by the wave reader (reason " + std::to_string(static_cast<int>(refusal)) + ")";
  }
  return "refused by the wave reader";
}

std::string impulseFileProblem(const std::string& path) {
  WaveReader reader;
  if (!reader.open(path)) {
    return "Cannot open file: " + path + " (" + refusalText(reader.lastRefusal()) + ")";
  }
  const WaveFormat format = reader.format();
  const std::size_t channels = format.nChannels;
  // Read as the plug-in's loader reads: all frames in one call, which
  // delivers none when the file ends before its data chunk does.
  std::unique_ptr<float[]> frames(new float[channels * FirEngine::kMaxFileFrames]);
  if (reader.readFrames(frames.get(), FirEngine::kMaxFileFrames) > 0) {
    return {};
  }
  // The first frame alone converts: then the data is cut short.
  if (reader.open(path.c_str()) && reader.readFrames(frames.get(), 1) > 0) {
    return path + " delivers no sample frames: its data chunk runs past the end of the file";
  }
  const char* kind = format.wFormatTag == kWaveFormatIeeeFloat ? "float" : "PCM";
  return path + " holds no sample frames the reader can convert (" + std::to_string(format.wBitsPerSample) + "-bit " +
         kind + ", " + std::to_string(channels) + (channels == 1 ? " channel)" : " channels)");
}
