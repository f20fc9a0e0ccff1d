// The command line and the unit conversions: what users type becomes the
// plug-in's normalised values, and what cannot work is refused up front.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ParameterUnits.h"
#include "RenderOptions.h"

namespace {

using namespace parameter_units;

ParsedCommandLine parse(std::vector<std::string> args) { return parseCommandLine(args); }

// A complete command line with the given options in front.
ParsedCommandLine parseWith(std::vector<std::string> options) {
  options.insert(options.end(), {"--ir", "r.wav", "in.wav", "out.wav"});
  return parseCommandLine(options);
}

TEST(RenderOptions, ValuesArriveInEitherSpellingAndNegativeNumbersAreValues) {
  const ParsedCommandLine spaced = parseWith({"--gain", "-3", "--mix", "25", "--length", "0.5s", "--block", "64"});
  ASSERT_EQ(spaced.error, "");
  EXPECT_EQ(spaced.options.gain.kind, GainKind::kDecibels);
  EXPECT_EQ(spaced.options.gain.decibels, -3.0);
  EXPECT_EQ(*spaced.options.mixPercent, 25.0);
  EXPECT_EQ(spaced.options.length.kind, LengthKind::kSeconds);
  EXPECT_EQ(spaced.options.blockSize, 64);
  EXPECT_EQ(spaced.options.input, "in.wav");
  EXPECT_EQ(spaced.options.output, "out.wav");
  EXPECT_TRUE(spaced.options.tail);

  const ParsedCommandLine joined = parseWith({"--gain=-3dB", "--mix=25%", "--no-tail"});
  ASSERT_EQ(joined.error, "");
  EXPECT_EQ(joined.options.gain.decibels, -3.0);
  EXPECT_FALSE(joined.options.tail);
}

TEST(RenderOptions, UnusableCommandLinesAreRefused) {
  const std::vector<std::vector<std::string>> refused = {
      {"--frobnicate"},       {"--gain", "6.03"},    {"--gain", "loud"}, {"--mix", "101"},    {"--mix", "-1"},
      {"--block", "0"},       {"--block", "65537"},  {"--block", "12x"}, {"--length", "1.5"}, {"--length", "0"},
      {"--length", "3 bars"}, {"--preset", "p.fxp"}, {"extra.wav"},
  };
  for (const auto& options : refused) {
    EXPECT_NE(parseWith(options).error, "") << options.front();
  }
  EXPECT_NE(parse({"in.wav", "out.wav"}).error, "") << "no response";
  EXPECT_NE(parse({"--ir", "r.wav", "in.wav"}).error, "") << "no output";
  EXPECT_NE(parse({"--ir", "r.wav"}).error, "") << "nothing to do";
  EXPECT_NE(parse({"--ir", "r.wav", "--length", "1s", "--save-preset", "p.fxp"}).error, "") << "no rate";
  EXPECT_NE(parse({"--ir"}).error, "") << "missing value";
  EXPECT_EQ(parse({"--ir", "r.wav", "--save-preset", "p.fxp"}).error, "");
  EXPECT_TRUE(parse({"--frobnicate", "--gain", "9", "--help"}).options.help);
}

TEST(ParameterUnits, GainDecibelsRoundTripThroughThePluginMapping) {
  for (double decibels : {-40.0, -12.0, -3.0, 0.0, 3.0, 6.0}) {
    const float x = gainParameter(GainSetting{GainKind::kDecibels, decibels});
    EXPECT_NEAR(gainDecibelsFromParameter(x), decibels, 1e-4) << decibels;
  }
  EXPECT_FLOAT_EQ(gainParameter(GainSetting{GainKind::kDecibels, 0.0}), std::sqrt(0.5f));
  // The top of the range is x = 1 exactly, not a value just above it.
  EXPECT_EQ(gainParameter(GainSetting{GainKind::kDecibels, kMaxGainDecibels}), 1.0f);
  GainSetting silent;
  std::string error;
  ASSERT_TRUE(parseGain("off", &silent, &error));
  EXPECT_EQ(gainParameter(silent), 0.0f);
  ASSERT_TRUE(parseGain("-inf", &silent, &error));
  EXPECT_EQ(silent.kind, GainKind::kSilent);
}

TEST(ParameterUnits, LengthsBecomeWholeStepsOfSixteenTaps) {
  struct Case {
    LengthSetting length;
    double rate;
    int taps;
  };
  const Case cases[] = {
      {{LengthKind::kTaps, 1000}, 48000, 1008},   {{LengthKind::kTaps, 1}, 48000, 16},
      {{LengthKind::kTaps, 32768}, 48000, 32768}, {{LengthKind::kSeconds, 0.5}, 48000, 24000},
      {{LengthKind::kSeconds, 0.01}, 44100, 448}, {{LengthKind::kSeconds, 0.68}, 48000, 32640},
  };
  for (const Case& c : cases) {
    int taps = 0;
    std::string error;
    ASSERT_TRUE(lengthTaps(c.length, c.rate, &taps, &error)) << error;
    EXPECT_EQ(taps, c.taps) << c.length.value;
    // The plug-in reads back exactly the taps asked for.
    EXPECT_EQ(tapsFromParameter(lengthParameter(taps)), taps);
  }
  int taps = 0;
  std::string error;
  EXPECT_FALSE(lengthTaps({LengthKind::kTaps, 32769}, 48000, &taps, &error));
  EXPECT_FALSE(lengthTaps({LengthKind::kSeconds, 0.7}, 48000, &taps, &error));
  EXPECT_NE(error.find("0.683 s"), std::string::npos) << error;
}

TEST(ParameterUnits, MixIsAFractionOfOne) {
  EXPECT_EQ(mixParameter(0.0), 0.0f);
  EXPECT_EQ(mixParameter(100.0), 1.0f);
  EXPECT_FLOAT_EQ(mixParameter(30.0), 0.3f);
}

}  // namespace
