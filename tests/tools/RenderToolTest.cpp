// ulmar-render run as a process on generated audio: its output matches the
// plug-in driven directly, channels stay independent, the tail has the
// right length, presets reproduce a render, and every user error ends with
// one line and no file left behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "effect/ConvolverEffect.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WaveFiles.h"
#include "tools/loader/PluginModule.h"
#include "tools/presets/PresetFile.h"

namespace {

constexpr int kRate = 48000;
constexpr int kInputFrames = 5000;
constexpr int kChannels = 3;

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string readText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

pid_t spawnTool(const std::vector<std::string>& args, const std::string& outPath, const std::string& errPath,
                const std::string& program = ULMAR_RENDER_PATH) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) {
    argv.push_back(const_cast<char*>(arg.c_str()));
  }
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  return pid;
}

int waitFor(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

struct Audio {
  int channels = 0;
  int rate = 0;
  int format = 0;
  std::vector<float> samples;  // interleaved
  std::size_t frames() const { return channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0; }
  std::vector<float> channel(int c) const {
    std::vector<float> mono(frames());
    for (std::size_t i = 0; i < mono.size(); ++i) {
      mono[i] = samples[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)];
    }
    return mono;
  }
};

void writeAudio(const std::string& path, const std::vector<float>& interleaved, int channels, int rate,
                int format = SF_FORMAT_WAV | SF_FORMAT_FLOAT) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
  sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(interleaved.size()) / channels);
  sf_close(file);
}

Audio readAudio(const std::string& path) {
  Audio audio;
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) {
    ADD_FAILURE() << "cannot read " << path;
    return audio;
  }
  audio.channels = info.channels;
  audio.rate = info.samplerate;
  audio.format = info.format;
  audio.samples.resize(static_cast<std::size_t>(info.frames * info.channels));
  sf_readf_float(file, audio.samples.data(), info.frames);
  sf_close(file);
  return audio;
}

std::vector<unsigned char> presetBytes(VstInt32 pluginId, std::size_t chunkSize) {
  preset_file::Preset preset;
  preset.pluginId = pluginId;
  preset.chunk.assign(chunkSize, 0);
  return preset_file::encode(preset);
}

std::set<std::string> listFolder(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    names.insert(entry.path().string());
  }
  return names;
}

// "..., gain -3.0 dB (automatic -12.3 dB), ..." -> "-12.3 dB"
std::string automaticGainText(const std::string& summary) {
  const std::size_t start = summary.find("(automatic ");
  if (start == std::string::npos) {
    return "(none)";
  }
  const std::size_t from = start + std::strlen("(automatic ");
  return summary.substr(from, summary.find(')', from) - from);
}

class RenderToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A decaying noise response and an input with different material in
    // its first and last channels and silence between them.
    std::vector<float> response = test_support::noise(3000, 11);
    for (std::size_t i = 0; i < response.size(); ++i) {
      response[i] *= std::exp(-static_cast<float>(i) / 400.0f);
    }
    writeAudio(irPath, response, 1, kRate);
    impulse = response;

    const std::vector<float> a = test_support::noise(kInputFrames, 21);
    const std::vector<float> b = test_support::noise(kInputFrames, 22);
    std::vector<float> interleaved(kInputFrames * kChannels, 0.0f);
    for (int i = 0; i < kInputFrames; ++i) {
      interleaved[static_cast<std::size_t>(i * kChannels)] = 0.5f * a[static_cast<std::size_t>(i)];
      interleaved[static_cast<std::size_t>(i * kChannels + 2)] = 0.25f * b[static_cast<std::size_t>(i)];
    }
    writeAudio(inputPath, interleaved, kChannels, kRate);
    input = readAudio(inputPath);

    ConvolverEffect loader(nullptr);
    ASSERT_TRUE(loader.loadImpulseResponse(irPath.c_str()));
    void* block = nullptr;
    const VstInt32 size = loader.getChunk(&block, false);
    chunk.assign(static_cast<unsigned char*>(block), static_cast<unsigned char*>(block) + size);
    automaticTaps = loader.engine().lengthTaps();
  }

  ToolRun run(const std::vector<std::string>& args) {
    ToolRun result;
    result.status = waitFor(spawnTool(args, logs.file("out"), logs.file("err")));
    result.out = readText(logs.file("out"));
    result.err = readText(logs.file("err"));
    return result;
  }

  // One instance of the built plug-in, driven through its record with the
  // whole signal and its tail in a single call.
  std::vector<float> renderDirectly(const std::vector<float>& signal, std::size_t tail) {
    PluginModule library(ULMAR_PLUGIN_PATH);
    EXPECT_TRUE(library.loaded());
    AEffect* effect = library.entry()(test_support::recordingHost);
    std::vector<float> in(signal);
    in.resize(signal.size() + tail, 0.0f);
    std::vector<float> out(in.size(), 123.0f);
    const auto frames = static_cast<VstInt32>(in.size());
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
    effect->dispatcher(effect, effSetBlockSize, 0, frames, nullptr, 0.0f);
    std::vector<unsigned char> state(chunk);
    effect->dispatcher(effect, effSetChunk, 0, static_cast<VstIntPtr>(state.size()), state.data(), 0.0f);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    float* inputs[] = {in.data()};
    float* outputs[] = {out.data()};
    effect->processReplacing(effect, inputs, outputs, frames);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    return out;
  }

  test_support::TempDir dir;
  test_support::TempDir logs;
  const std::string irPath = dir.file("ir.wav");
  const std::string inputPath = dir.file("in.wav");
  std::vector<float> impulse;
  Audio input;
  std::vector<unsigned char> chunk;
  int automaticTaps = 0;
};

TEST_F(RenderToolTest, MatchesThePluginDrivenDirectlyWithOneInstancePerChannel) {
  const std::string output = dir.file("out.wav");
  const ToolRun result = run({"--ir", irPath, "--block", "100", inputPath, output});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_NE(result.out.find(std::to_string(automaticTaps) + " taps used"), std::string::npos) << result.out;

  const Audio rendered = readAudio(output);
  EXPECT_EQ(rendered.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  EXPECT_EQ(rendered.rate, kRate);
  ASSERT_EQ(rendered.channels, kChannels);
  ASSERT_EQ(rendered.frames(), static_cast<std::size_t>(kInputFrames + automaticTaps));

  const std::size_t tail = static_cast<std::size_t>(automaticTaps);
  for (int c : {0, 2}) {
    const std::vector<float> expected = renderDirectly(input.channel(c), tail);
    const std::vector<float> actual = rendered.channel(c);
    ASSERT_EQ(actual.size(), expected.size());
    EXPECT_EQ(std::memcmp(actual.data(), expected.data(), actual.size() * sizeof(float)), 0) << "channel " << c;
  }
  // A shared instance would carry the first channel's history into this one.
  for (float sample : rendered.channel(1)) {
    ASSERT_EQ(sample, 0.0f);
  }
}

TEST_F(RenderToolTest, TailFollowsTheTapCountUnlessSwitchedOff) {
  const ToolRun full = run({"--ir", irPath, "--length", "1000", inputPath, dir.file("full.wav")});
  ASSERT_EQ(full.status, 0) << full.err;
  EXPECT_NE(full.out.find("1008 taps used"), std::string::npos) << full.out;
  const Audio withTail = readAudio(dir.file("full.wav"));
  EXPECT_EQ(withTail.frames(), static_cast<std::size_t>(kInputFrames + 1008));

  const ToolRun cut = run({"--ir", irPath, "--length", "1000", "--no-tail", inputPath, dir.file("cut.wav")});
  ASSERT_EQ(cut.status, 0) << cut.err;
  const Audio withoutTail = readAudio(dir.file("cut.wav"));
  ASSERT_EQ(withoutTail.frames(), static_cast<std::size_t>(kInputFrames));
  EXPECT_TRUE(std::equal(withoutTail.samples.begin(), withoutTail.samples.end(), withTail.samples.begin()));
}

TEST_F(RenderToolTest, UserUnitsReachThePlugin) {
  // Fully wet at 0 dB over the first 64 taps: plain convolution. The
  // engine's window leaves out up to three of the last taps depending on
  // the sample's position, so those three are silent in this response.
  std::vector<float> response = impulse;
  std::fill(response.begin() + 61, response.end(), 0.0f);
  writeAudio(dir.file("ir64.wav"), response, 1, kRate);
  const ToolRun wet = run(
      {"--ir", dir.file("ir64.wav"), "--mix", "100", "--gain", "0", "--length", "64", inputPath, dir.file("wet.wav")});
  ASSERT_EQ(wet.status, 0) << wet.err;
  const std::vector<float> rendered = readAudio(dir.file("wet.wav")).channel(0);
  const std::vector<float> dry = input.channel(0);
  ASSERT_EQ(rendered.size(), dry.size() + 64);
  double worst = 0.0;
  for (std::size_t n = 0; n < rendered.size(); ++n) {
    double sum = 0.0;
    for (std::size_t k = 0; k < 64 && k <= n; ++k) {
      if (n - k < dry.size()) {
        sum += static_cast<double>(response[k]) * dry[n - k];
      }
    }
    worst = std::max(worst, std::fabs(sum - rendered[n]));
  }
  EXPECT_LT(worst, 1e-5);

  const ToolRun silent = run({"--ir", irPath, "--gain", "off", inputPath, dir.file("silent.wav")});
  ASSERT_EQ(silent.status, 0) << silent.err;
  for (float sample : readAudio(dir.file("silent.wav")).samples) {
    ASSERT_EQ(sample, 0.0f);
  }
}

TEST_F(RenderToolTest, SavedPresetsReproduceTheRender) {
  const std::vector<std::string> settings = {"--ir", irPath, "--mix", "30", "--gain", "-3", "--length", "512"};
  std::vector<std::string> first = settings;
  first.insert(first.end(), {"--save-preset", dir.file("p.fxp"), inputPath, dir.file("a.wav")});
  const ToolRun original = run(first);
  ASSERT_EQ(original.status, 0) << original.err;

  std::vector<std::string> bankOnly = settings;
  bankOnly.insert(bankOnly.end(), {"--save-preset", dir.file("p.fxb")});
  const ToolRun savedBank = run(bankOnly);
  ASSERT_EQ(savedBank.status, 0) << savedBank.err;
  EXPECT_NE(savedBank.out.find("512 taps used"), std::string::npos) << savedBank.out;

  const ToolRun program = run({"--preset", dir.file("p.fxp"), inputPath, dir.file("b.wav")});
  ASSERT_EQ(program.status, 0) << program.err;
  const ToolRun bank = run({"--bank", dir.file("p.fxb"), "--plugin", ULMAR_PLUGIN_PATH, inputPath, dir.file("c.wav")});
  ASSERT_EQ(bank.status, 0) << bank.err;

  const Audio expected = readAudio(dir.file("a.wav"));
  EXPECT_EQ(expected.frames(), static_cast<std::size_t>(kInputFrames + 512));
  EXPECT_EQ(readAudio(dir.file("b.wav")).samples, expected.samples);
  EXPECT_EQ(readAudio(dir.file("c.wav")).samples, expected.samples);
  // The automatic gain is recomputed from the preset's samples.
  EXPECT_EQ(automaticGainText(program.out), automaticGainText(original.out));
  EXPECT_EQ(automaticGainText(bank.out), automaticGainText(original.out));

  const auto readProgram = preset_file::readFile(dir.file("p.fxp").c_str(), ConvolverEffect::kUniqueId);
  ASSERT_TRUE(readProgram.ok());
  EXPECT_EQ(readProgram.preset.kind, preset_file::Kind::kProgram);
  EXPECT_EQ(readProgram.preset.count, 5);
  EXPECT_EQ(readProgram.preset.chunk.size(), static_cast<std::size_t>(kStateChunkSize));
  const auto readBank = preset_file::readFile(dir.file("p.fxb").c_str(), ConvolverEffect::kUniqueId);
  ASSERT_TRUE(readBank.ok());
  EXPECT_EQ(readBank.preset.kind, preset_file::Kind::kBank);
  EXPECT_EQ(readBank.preset.count, 1);

  const ToolRun swapped = run({"--preset", dir.file("p.fxb"), inputPath, dir.file("d.wav")});
  EXPECT_EQ(swapped.status, 2);
  EXPECT_NE(swapped.err.find("--bank"), std::string::npos) << swapped.err;
}

TEST_F(RenderToolTest, FormatsFollowTheExtensions) {
  std::vector<float> stereo(2 * 4410);
  const std::vector<float> noise = test_support::noise(stereo.size(), 5);
  for (std::size_t i = 0; i < stereo.size(); ++i) {
    stereo[i] = 0.5f * noise[i];
  }
  writeAudio(dir.file("in.flac"), stereo, 2, 44100, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
  ASSERT_EQ(run({"--ir", irPath, "--length", "256", dir.file("in.flac"), dir.file("out.flac")}).status, 0);
  const Audio flac = readAudio(dir.file("out.flac"));
  EXPECT_EQ(flac.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
  EXPECT_EQ(flac.rate, 44100);
  EXPECT_EQ(flac.channels, 2);
  EXPECT_EQ(flac.frames(), 4410u + 256u);

  ASSERT_EQ(run({"--ir", irPath, "--sample-format", "pcm16", inputPath, dir.file("out16.wav")}).status, 0);
  EXPECT_EQ(readAudio(dir.file("out16.wav")).format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
}

TEST_F(RenderToolTest, UserErrorsEndWithOneLineAndNoFileBehind) {
  test_support::writeFile(dir.file("text.wav"), {'h', 'e', 'l', 'l', 'o'});
  writeAudio(dir.file("ir.flac"), impulse, 1, kRate, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
  std::vector<unsigned char> wrongMagic = presetBytes(ConvolverEffect::kUniqueId, 16);
  wrongMagic[0] = 'X';
  test_support::writeFile(dir.file("magic.fxp"), wrongMagic);
  test_support::writeFile(dir.file("other.fxp"), presetBytes(fourCharCode('A', 'b', 'c', 'd'), 16));
  std::vector<unsigned char> truncated = presetBytes(ConvolverEffect::kUniqueId, 64);
  truncated.resize(100);
  test_support::writeFile(dir.file("short.fxp"), truncated);
  test_support::writeFile(dir.file("tiny.fxp"), presetBytes(ConvolverEffect::kUniqueId, 16));
  // A FIFO would block the open for good; a data chunk declared longer
  // than the file gives the plug-in's loader no frames; every channel of
  // the input needs an instance of its own.
  ASSERT_EQ(::mkfifo(dir.file("pipe.wav").c_str(), 0600), 0);
  wavbytes::Bytes cut = test_support::floatWave(std::vector<float>(200, 0.5f));
  cut[40] = 0xff;
  cut[41] = 0xff;
  test_support::writeFile(dir.file("cut.wav"), cut);
  writeAudio(dir.file("wide.wav"), std::vector<float>(65 * 10, 0.0f), 65, kRate);

  const std::string out = dir.file("out.wav");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--ir", irPath, dir.file("missing.wav"), out}, 1, "Cannot open file: " + dir.file("missing.wav")},
      {{"--ir", dir.file("none.wav"), inputPath, out}, 1, "Cannot open file: " + dir.file("none.wav")},
      {{"--ir", dir.file("text.wav"), inputPath, out}, 1, "Cannot open file: " + dir.file("text.wav")},
      {{"--ir", dir.file("ir.flac"), inputPath, out}, 1, "Cannot open file: " + dir.file("ir.flac")},
      {{"--ir", dir.file("pipe.wav"), inputPath, out}, 1, "Cannot open file: " + dir.file("pipe.wav")},
      {{"--ir", dir.file("cut.wav"), inputPath, out}, 1, "its data chunk runs past the end of the file"},
      {{"--ir", irPath, dir.file("wide.wav"), out}, 1, "has 65 channels; at most 64 are rendered"},
      {{"--preset", dir.file("pipe.wav"), inputPath, out}, 1, "Cannot open file: " + dir.file("pipe.wav")},
      {{"--preset", dir.file("magic.fxp"), inputPath, out}, 1, "not a preset file"},
      {{"--preset", dir.file("other.fxp"), inputPath, out}, 1, "another plug-in"},
      {{"--preset", dir.file("short.fxp"), inputPath, out}, 1, "truncated"},
      {{"--preset", dir.file("tiny.fxp"), inputPath, out}, 1, "16 bytes of state"},
      {{"--preset", dir.file("none.fxp"), inputPath, out}, 1, "Cannot open file: " + dir.file("none.fxp")},
      {{"--ir", irPath, "--frobnicate", inputPath, out}, 2, "unknown option '--frobnicate'"},
      {{"--ir", irPath, inputPath, dir.file("no/such/out.wav")}, 1, "Cannot write"},
      {{"--ir", irPath, inputPath, dir.file("in.wav/out.wav")}, 1, "Cannot write"},
      {{"--ir", irPath, inputPath, dir.file("out.xyz")}, 2, "extension"},
      {{"--ir", irPath, "--save-preset", dir.file("no/p.fxp"), inputPath, out}, 1, "Cannot write"},
      {{"--ir", irPath, "--gain", "7", inputPath, out}, 2, "maximum"},
      {{"--ir", irPath, "--block", "0", inputPath, out}, 2, "--block"},
      {{"--ir", irPath, "--length", "1s", inputPath, out}, 2, "at most 32768 taps"},
      {{inputPath, out}, 2, "no impulse response"},
      {{"--ir", irPath, "--plugin", dir.file("none.so"), inputPath, out}, 1, "Cannot load the plug-in"},
      {{"--ir", irPath, "--plugin", irPath, inputPath, out}, 1, "Cannot load the plug-in"},
  };
  const std::set<std::string> before = listFolder(dir.path());
  for (const Case& c : cases) {
    const ToolRun result = run(c.args);
    const std::string context = c.message;
    EXPECT_EQ(result.status, c.status) << context << ": " << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_TRUE(result.err.ends_with("\n")) << result.err;
    EXPECT_EQ(result.out, "") << context;
    EXPECT_EQ(listFolder(dir.path()), before) << context;
  }
}

// The tool runs the plug-in in place, as hosts do: a state with 0 taps
// passes the input through bit for bit. Its summary names the gain in use,
// and a response file without frames or one the reader refuses is an error
// that names the reader's reason.
TEST_F(RenderToolTest, RendersAsAHostAndSaysWhatItUsedAndWhyAFileFails) {
  StateChunk state;
  std::memcpy(&state, chunk.data(), sizeof(state));
  state.parameterValues[2] = 0.0f;
  preset_file::Preset preset;
  preset.pluginId = ConvolverEffect::kUniqueId;
  preset.count = 5;
  preset.chunk.assign(reinterpret_cast<const unsigned char*>(&state),
                      reinterpret_cast<const unsigned char*>(&state) + sizeof(state));
  test_support::writeFile(dir.file("zero.fxp"), preset_file::encode(preset));
  const ToolRun zero = run({"--preset", dir.file("zero.fxp"), "--block", "100", inputPath, dir.file("zero.wav")});
  ASSERT_EQ(zero.status, 0) << zero.err;
  EXPECT_NE(zero.out.find("0 taps used"), std::string::npos) << zero.out;
  const Audio passed = readAudio(dir.file("zero.wav"));
  ASSERT_EQ(passed.samples.size(), input.samples.size());
  EXPECT_EQ(std::memcmp(passed.samples.data(), input.samples.data(), input.samples.size() * sizeof(float)), 0);

  const ToolRun quieter = run({"--ir", irPath, "--gain", "-3", "--save-preset", dir.file("q.fxp")});
  ASSERT_EQ(quieter.status, 0) << quieter.err;
  EXPECT_NE(quieter.out.find("gain -3.0 dB (automatic "), std::string::npos) << quieter.out;

  test_support::writeFile(dir.file("empty.wav"), test_support::floatWave({}));
  test_support::writeFile(dir.file("adpcm.wav"),
                          wavbytes::riffBytes({wavbytes::fmtChunk(2, 1, 4), {"data", wavbytes::Bytes(64, 0)}}));
  test_support::writeFile(dir.file("riff.wav"), wavbytes::riffBytes({}, "AVI "));
  const std::string out = dir.file("out.wav");
  const std::pair<std::string, std::string> failures[] = {
      {"empty.wav", dir.file("empty.wav") + " holds no sample frames the reader can convert (32-bit float, 1 channel)"},
      {"adpcm.wav",
       "Cannot open file: " + dir.file("adpcm.wav") + " (the sample format is neither PCM nor IEEE float)"},
      {"riff.wav", "Cannot open file: " + dir.file("riff.wav") + " (a RIFF file, but not WAVE)"},
  };
  for (const auto& [name, message] : failures) {
    const ToolRun failed = run({"--ir", dir.file(name), inputPath, out});
    EXPECT_EQ(failed.status, 1) << name;
    EXPECT_EQ(failed.err, "ulmar-render: " + message + "\n");
    EXPECT_FALSE(std::filesystem::exists(out)) << name;
  }
}

// A response in a file with the extensible header reaches the plug-in as
// the same samples in a plain header do: both render the same audio.
TEST_F(RenderToolTest, ExtensibleResponseFilesLoadAsTheirPlainCopies) {
  std::vector<float> samples(3000);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = (i % 7 == 0 ? 0.9f : -0.2f) / static_cast<float>(1 + i / 50);
  }
  wavbytes::Bytes data(samples.size() * sizeof(float));
  std::memcpy(data.data(), samples.data(), data.size());
  wavbytes::Extensible format;
  format.subTag = 3;
  format.blockAlign = 4;
  format.bits = 32;
  format.validBits = 0;
  test_support::writeFile(dir.file("plain.wav"), test_support::floatWave(samples));
  test_support::writeFile(dir.file("ext.wav"),
                          wavbytes::riffBytes({{"fmt ", wavbytes::fmtExtensible(format)}, {"data", data}}));
  for (const std::string name : {"plain", "ext"}) {
    const ToolRun rendered = run({"--ir", dir.file(name + ".wav"), inputPath, dir.file(name + "-out.wav")});
    ASSERT_EQ(rendered.status, 0) << name << ": " << rendered.err;
  }
  // The samples, not the files: the writer stamps each file with its time.
  const Audio fromExtensible = readAudio(dir.file("ext-out.wav"));
  const Audio fromPlain = readAudio(dir.file("plain-out.wav"));
  ASSERT_EQ(fromExtensible.samples.size(), fromPlain.samples.size());
  EXPECT_EQ(
      std::memcmp(fromExtensible.samples.data(), fromPlain.samples.data(), fromPlain.samples.size() * sizeof(float)),
      0);
}

TEST_F(RenderToolTest, InterruptedRenderLeavesNoFileBehind) {
  // Thirty seconds at the longest length: long enough to be interrupted.
  writeAudio(dir.file("long.wav"), test_support::noise(30 * kRate, 3), 1, kRate);
  const std::set<std::string> before = listFolder(dir.path());
  const pid_t pid = spawnTool({"--ir", irPath, "--length", "32768", dir.file("long.wav"), dir.file("out.wav")},
                              logs.file("out"), logs.file("err"));
  // Waits for the temporary output to appear: the render has started.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  bool started = false;
  while (!started && std::chrono::steady_clock::now() < deadline) {
    for (const std::string& name : listFolder(dir.path())) {
      started = started || name.find(".out.wav.partial-") != std::string::npos;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_TRUE(started);
  ::kill(pid, SIGINT);
  EXPECT_EQ(waitFor(pid), 130);
  EXPECT_EQ(readText(logs.file("err")), "ulmar-render: interrupted\n");
  EXPECT_EQ(listFolder(dir.path()), before);
}

TEST_F(RenderToolTest, FindsThePluginBesideItselfOrSaysWhereItLooked) {
  // A copy of the program with no plug-in next to it.
  const std::string lonely = dir.file("ulmar-render");
  std::filesystem::copy_file(ULMAR_RENDER_PATH, lonely);
  const pid_t pid =
      spawnTool({"--ir", irPath, inputPath, dir.file("out.wav")}, logs.file("out"), logs.file("err"), lonely);
  EXPECT_EQ(waitFor(pid), 1);
  const std::string err = readText(logs.file("err"));
  EXPECT_NE(err.find(dir.path() + "/../plugin/Ulmar_v1.so"), std::string::npos) << err;
  EXPECT_NE(err.find("--plugin"), std::string::npos) << err;
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.wav")));
}

TEST_F(RenderToolTest, HelpDocumentsEveryOptionWithExamples) {
  const ToolRun help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("built into this program"), std::string::npos);
  for (const char* option : {"--ir", "--preset", "--bank", "--save-preset", "--mix", "--gain", "--length", "--block",
                             "--no-tail", "--sample-format", "--plugin", "Exit status", "Examples"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
}

}  // namespace
