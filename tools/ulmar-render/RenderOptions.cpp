#include "RenderOptions.h"

#include <cerrno>
#include <cstdlib>

namespace {

bool parseBlockSize(const std::string& text, int* blockSize) {
  if (text.empty() || text[0] < '0' || text[0] > '9') {
    return false;
  }
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE || value < 1 || value > kMaxBlockSize) {
    return false;
  }
  *blockSize = static_cast<int>(value);
  return true;
}

// Applies one option that takes a value; false with *error for a bad one.
bool applyValue(RenderOptions& o, const std::string& name, const std::string& value, std::string* error) {
  if (name == "--plugin") {
    o.plugin = value;
  } else if (name == "--ir") {
    o.impulse = value;
  } else if (name == "--preset") {
    o.preset = value;
  } else if (name == "--bank") {
    o.bank = value;
  } else if (name == "--save-preset") {
    o.savePreset = value;
  } else if (name == "--sample-format") {
    o.sampleFormat = value;
  } else if (name == "--mix") {
    double percent = 0.0;
    if (!parameter_units::parseMix(value, &percent, error)) {
      return false;
    }
    o.mixPercent = percent;
  } else if (name == "--gain") {
    return parameter_units::parseGain(value, &o.gain, error);
  } else if (name == "--length") {
    return parameter_units::parseLength(value, &o.length, error);
  } else if (name == "--block") {
    if (!parseBlockSize(value, &o.blockSize)) {
      *error = "--block takes a number of frames from 1 to " + std::to_string(kMaxBlockSize) + ", not '" + value + "'";
      return false;
    }
  }
  return true;
}

bool takesValue(const std::string& name) {
  static const char* const kNames[] = {"--plugin", "--ir",   "--preset", "--bank",  "--save-preset",
                                       "--mix",    "--gain", "--length", "--block", "--sample-format"};
  for (const char* known : kNames) {
    if (name == known) {
      return true;
    }
  }
  return false;
}

std::string checkCombination(const RenderOptions& o) {
  const int sources = (o.impulse.empty() ? 0 : 1) + (o.preset.empty() ? 0 : 1) + (o.bank.empty() ? 0 : 1);
  if (sources > 1) {
    return "give only one of --ir, --preset and --bank";
  }
  if (sources == 0) {
    return "no impulse response: give --ir FILE.wav, --preset FILE.fxp or --bank FILE.fxb";
  }
  if (o.input.empty() && o.savePreset.empty()) {
    return "missing INPUT and OUTPUT files (try --help)";
  }
  if (!o.input.empty() && o.output.empty()) {
    return "missing the OUTPUT file after " + o.input;
  }
  if (o.input.empty() && o.length.kind == parameter_units::LengthKind::kSeconds) {
    return "--length in seconds needs an INPUT file for its sample rate; give taps instead";
  }
  return {};
}

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  RenderOptions& o = parsed.options;
  // Help wins over everything else on the line, even over mistakes.
  for (const std::string& arg : args) {
    if (arg == "--") {
      break;
    }
    if (arg == "--help" || arg == "-h") {
      o.help = true;
      return parsed;
    }
  }
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--no-tail") {
      o.tail = false;
    } else {
      // "--name value" or "--name=value".
      const std::size_t equals = arg.find('=');
      const std::string name = arg.substr(0, equals);
      if (!takesValue(name)) {
        parsed.error = "unknown option '" + name + "' (try --help)";
        return parsed;
      }
      std::string value;
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        parsed.error = name + " needs a value (try --help)";
        return parsed;
      }
      if (!applyValue(o, name, value, &parsed.error)) {
        return parsed;
      }
    }
  }
  if (positional.size() > 2) {
    parsed.error = "unexpected argument '" + positional[2] + "' (give one INPUT and one OUTPUT)";
    return parsed;
  }
  if (!positional.empty()) {
    o.input = positional[0];
  }
  if (positional.size() == 2) {
    o.output = positional[1];
  }
  parsed.error = checkCombination(o);
  return parsed;
}

std::string usageText() {
  return R"(Usage: ulmar-render [OPTIONS] INPUT OUTPUT
       ulmar-render [OPTIONS] --save-preset FILE.fxp

Renders an audio file through the Ulmar convolution plug-in, loading the
plug-in library and driving it as a host does: through its entry point,
with state restores, parameter changes and in-place processing. A file
with several channels is processed by one plug-in instance per channel.

Impulse response (exactly one):
  --ir FILE.wav         read channel 0 of the file with the plug-in's own
                        loading code, built into this program (automatic
                        length and gain), and hand the resulting state to
                        the plug-in as a host restores a saved project; a
                        file the reader refuses or that has no sample
                        frames is an error
  --preset FILE.fxp     restore a program preset saved by a host or --save-preset
  --bank FILE.fxb       restore a bank preset saved by a host or --save-preset

Parameters (each defaults to the value the response or preset brings):
  --mix PERCENT         wet share, 0 to 100 (a fresh --ir starts at 50)
  --gain DB|auto|off    output gain in dB, at most +6.02; 'auto' keeps the
                        automatic gain, 'off' (or -inf) silences the output
  --length TAPS|SECONDS FIR length: taps (rounded to a multiple of 16,
                        16 to 32768), or seconds with 's' or 'ms' at the
                        input's sample rate; 'auto' keeps the automatic length

Rendering:
  --block N             frames per processing call, 1 to 65536 (default 512)
  --no-tail             stop with the input instead of appending the
                        response's tail (as many frames as taps)
  --sample-format F     pcm16, pcm24, pcm32, float or double; default float
                        for WAV/AIFF/CAF/W64/RF64/AU, pcm24 for FLAC,
                        Vorbis for OGG, Opus for .opus
  --save-preset FILE    write the state after the options are applied: a
                        bank if FILE ends in .fxb, a program otherwise
  --plugin PATH         the plug-in library to load; by default
                        ../plugin/Ulmar_v1.so relative to this program's
                        folder, then Ulmar_v1.so beside it
  -h, --help            show this text

INPUT is any file libsndfile reads (WAV, FLAC, AIFF, OGG ...). OUTPUT has the
same sample rate and channel count; its extension chooses the format (.wav
.flac .aiff .ogg .opus .caf .w64 .rf64 .au). OUTPUT and the preset are
written to temporary files in their folders and renamed when complete, so an
error never leaves a partial file behind.

While rendering a file longer than a few seconds to a terminal, a progress
bar appears on standard error. At the end one line on standard output gives
the taps used, the gain used and the response's automatic gain, the seconds
rendered and the speed as a multiple of real time. With fewer than 16 taps
the plug-in passes the input unchanged.

Exit status: 0 done, 1 a file, the plug-in or the audio failed, 2 the
command line is wrong, 130 interrupted. Every error is one line on
standard error.

Examples:
  ulmar-render --ir hall.wav dry.flac wet.wav
  ulmar-render --ir hall.wav --mix 30 --gain -6 --length 0.5s vocal.wav out.wav
  ulmar-render --ir hall.wav --mix 100 --save-preset hall.fxp
  ulmar-render --preset hall.fxp --no-tail --block 64 in.aiff out.flac
  ulmar-render --bank project.fxb --gain auto in.ogg out.ogg
)";
}
