// The command line of ulmar-render: parsing, validation of the combination
// of options, and the help text.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ParameterUnits.h"

struct RenderOptions {
  std::string input;  // empty when only a preset is written
  std::string output;
  std::string plugin;  // empty: the build beside the program
  std::string impulse;
  std::string preset;
  std::string bank;
  std::string savePreset;
  std::optional<double> mixPercent;
  parameter_units::GainSetting gain;
  parameter_units::LengthSetting length;
  int blockSize = 512;
  bool tail = true;
  std::string sampleFormat;  // empty: the output container's default
  bool help = false;
};

constexpr int kMaxBlockSize = 65536;

struct ParsedCommandLine {
  RenderOptions options;
  std::string error;  // empty when the command line is usable
};

// args excludes the program name.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& args);

std::string usageText();
