// Native helper for the wave fixtures, built on libsndfile.
//   wave-reference write OUT.wav KIND CHANNELS FRAMES
//     writes a deterministic wide-range signal; KIND is u8, pcm16, pcm24,
//     pcm32, float, double, or wavex24 and wavexfloat (the extensible
//     header).
//   wave-reference dump IN.wav OUT.f32
//     decodes IN with libsndfile's normalised float reading and writes the
//     interleaved samples of all channels as little-endian float32.
#include <sndfile.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int fail(const char* what, SNDFILE* file) {
  std::fprintf(stderr, "wave-reference: %s: %s\n", what, sf_strerror(file));
  return 1;
}

int write(const char* path, const std::string& kind, int channels, int frames) {
  SF_INFO info{};
  info.samplerate = 44100;
  info.channels = channels;
  int major = SF_FORMAT_WAV;
  int sub = 0;
  if (kind == "u8")
    sub = SF_FORMAT_PCM_U8;
  else if (kind == "pcm16")
    sub = SF_FORMAT_PCM_16;
  else if (kind == "pcm24")
    sub = SF_FORMAT_PCM_24;
  else if (kind == "pcm32")
    sub = SF_FORMAT_PCM_32;
  else if (kind == "float")
    sub = SF_FORMAT_FLOAT;
  else if (kind == "double")
    sub = SF_FORMAT_DOUBLE;
  else if (kind == "wavex24") {
    major = SF_FORMAT_WAVEX;
    sub = SF_FORMAT_PCM_24;
  } else if (kind == "wavexfloat") {
    major = SF_FORMAT_WAVEX;
    sub = SF_FORMAT_FLOAT;
  } else
    return std::fprintf(stderr, "wave-reference: unknown kind %s\n", kind.c_str()), 1;
  info.format = major | sub;
  SNDFILE* file = sf_open(path, SFM_WRITE, &info);
  if (file == nullptr) return fail(path, nullptr);

  const std::size_t count = static_cast<std::size_t>(channels) * static_cast<std::size_t>(frames);
  std::uint32_t state = 12345u;
  auto next = [&state] { return state = state * 1664525u + 1013904223u; };
  sf_count_t written = 0;
  if (sub == SF_FORMAT_FLOAT || sub == SF_FORMAT_DOUBLE) {
    // Full double mantissas (rounded once more for float files), a
    // subnormal float, signed zeros and values beyond +-1.
    std::vector<double> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
      const double hi = static_cast<double>(static_cast<std::int32_t>(next()));
      samples[i] = (hi + static_cast<double>(next()) / 4294967296.0) / 1073741824.0;
    }
    const double edgeValues[] = {0.1, -0.0, 0.0, 1e-40, -1.0, 1.0, 1.0 / 3.0};
    for (std::size_t i = 0; i < count && i < sizeof edgeValues / sizeof edgeValues[0]; ++i) samples[i] = edgeValues[i];
    written = sf_writef_double(file, samples.data(), frames);
  } else {
    // The library keeps the top bits for narrower files; the extremes come
    // first so that every width sees its minimum and maximum.
    std::vector<int> samples(count);
    for (std::size_t i = 0; i < count; ++i) samples[i] = static_cast<int>(next());
    const int edgeValues[] = {INT_MIN, INT_MAX, 0, -1, 1 << 24, -(1 << 16)};
    for (std::size_t i = 0; i < count && i < sizeof edgeValues / sizeof edgeValues[0]; ++i) samples[i] = edgeValues[i];
    written = sf_writef_int(file, samples.data(), frames);
  }
  if (written != frames) return fail("short write", file);
  sf_close(file);
  return 0;
}

int dump(const char* in, const char* out) {
  SF_INFO info{};
  SNDFILE* file = sf_open(in, SFM_READ, &info);
  if (file == nullptr) return fail(in, nullptr);
  // Normalised reading (the default): integers scaled by 2^-(bits-1), 8-bit
  // data recentred first; float data copied, double data rounded to float.
  sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
  std::vector<float> samples(static_cast<std::size_t>(info.frames) * static_cast<std::size_t>(info.channels));
  if (sf_readf_float(file, samples.data(), info.frames) != info.frames) return fail("short read", file);
  sf_close(file);

  std::FILE* f = std::fopen(out, "wb");
  if (f == nullptr) return std::perror(out), 1;
  for (float v : samples) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const unsigned char le[4] = {static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                                 static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
    std::fwrite(le, 1, 4, f);
  }
  return std::fclose(f) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 6 && std::strcmp(argv[1], "write") == 0) {
    return write(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]));
  }
  if (argc == 4 && std::strcmp(argv[1], "dump") == 0) return dump(argv[2], argv[3]);
  std::fprintf(stderr, "usage: wave-reference write OUT KIND CHANNELS FRAMES | dump IN OUT\n");
  return 2;
}
