// The built plug-in, loaded through its exported entry points: the record,
// every row of the dispatcher and the entry points' refusals.
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "effect/StateChunk.h"
#include "tests/plugin/PluginFixture.h"

namespace {

TEST(PluginExports, MainIsTheSameFunctionAsVSTPluginMain) {
  PluginModule library(test_support::nativePath(ULMAR_PLUGIN_PATH));
  ASSERT_TRUE(library.loaded());
  EXPECT_NE(library.symbol("VSTPluginMain"), nullptr);
  EXPECT_EQ(library.symbol("main"), library.symbol("VSTPluginMain"));
#if defined(_WIN32)
  EXPECT_NE(library.symbol("MAIN"), nullptr);
#endif
}

TEST(PluginExports, EntryPointsRefuseHostsThatDoNotAnswerTheVersionQuery) {
  PluginModule library(test_support::nativePath(ULMAR_PLUGIN_PATH));
  ASSERT_TRUE(library.loaded());
  for (const char* name : {
         "VSTPluginMain", "main"
#if defined(_WIN32)
             ,
             "MAIN"
#endif
       }) {
    auto entry = library.entry(name);
    ASSERT_NE(entry, nullptr) << name;
    EXPECT_EQ(entry(test_support::refusingHost), nullptr) << name;
    EXPECT_EQ(entry(nullptr), nullptr) << name;
    AEffect* effect = entry(test_support::recordingHost);
    ASSERT_NE(effect, nullptr) << name;
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1) << name;
  }
}

// Hosts create, use and close instances on several threads at once; under
// ThreadSanitizer this covers the process-wide registry, processor flags
// and vector-operation table of the loaded library.
TEST(PluginExports, InstancesComeAndGoOnManyThreadsAtOnce) {
  PluginModule library(test_support::nativePath(ULMAR_PLUGIN_PATH));
  ASSERT_TRUE(library.loaded());
  const auto entry = library.entry();
  ASSERT_NE(entry, nullptr);
  std::atomic<int> created{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      std::vector<float> in(64, 0.5f);
      std::vector<float> out(64, 0.0f);
      float* inputs[] = {in.data()};
      float* outputs[] = {out.data()};
      for (int i = 0; i < 10; ++i) {
        AEffect* effect = entry(test_support::quietHost);
        if (effect == nullptr) {
          continue;
        }
        ++created;
        effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(44100 + 100 * t + i));
        effect->dispatcher(effect, effSetBlockSize, 0, 64 + i, nullptr, 0.0f);
        effect->setParameter(effect, 3, 1.0f);
        effect->processReplacing(effect, inputs, outputs, 64);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
      }
    });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  EXPECT_EQ(created.load(), 40);
}

using PluginRecord = PluginFixture;

TEST_F(PluginRecord, FieldsAreThoseOfAMonoEffectWithChunks) {
  EXPECT_EQ(effect_->magic, kEffectMagic);
  EXPECT_EQ(effect_->numPrograms, 1);
  EXPECT_EQ(effect_->numParams, 5);
  EXPECT_EQ(effect_->numInputs, 1);
  EXPECT_EQ(effect_->numOutputs, 1);
  EXPECT_EQ(effect_->flags, effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks);
  EXPECT_EQ(effect_->resvd1, 0);
  EXPECT_EQ(effect_->resvd2, 0);
  EXPECT_EQ(effect_->initialDelay, 0);
  EXPECT_EQ(effect_->realQualities, 0);
  EXPECT_EQ(effect_->offQualities, 0);
  EXPECT_EQ(effect_->ioRatio, 1.0f);
  EXPECT_NE(effect_->object, nullptr);
  EXPECT_EQ(effect_->user, nullptr);
  EXPECT_EQ(effect_->uniqueID, fourCharCode('W', 'q', '1', '1'));
  EXPECT_EQ(effect_->version, 1);
  EXPECT_NE(effect_->dispatcher, nullptr);
  EXPECT_NE(effect_->process, nullptr);
  EXPECT_NE(effect_->processReplacing, nullptr);
  EXPECT_NE(effect_->processDoubleReplacing, nullptr);
  EXPECT_NE(effect_->setParameter, nullptr);
  EXPECT_NE(effect_->getParameter, nullptr);
  const char zeros[sizeof(effect_->future)] = {};
  EXPECT_EQ(std::memcmp(effect_->future, zeros, sizeof(zeros)), 0);
  // Creating an instance asks the host for its version and nothing else.
  ASSERT_EQ(test_support::recordedHostCalls().size(), 1u);
  EXPECT_EQ(test_support::recordedHostCalls()[0].opcode, audioMasterVersion);
  EXPECT_EQ(test_support::recordedHostCalls()[0].effect, nullptr);
}

using PluginDispatcher = PluginFixture;

TEST_F(PluginDispatcher, ProgramsOnlyEverHaveProgramZero) {
  EXPECT_EQ(dispatch(effOpen), 0);
  EXPECT_EQ(dispatch(effGetProgram), 0);
  EXPECT_EQ(dispatch(effSetProgram, 0, 1), 0);
  EXPECT_EQ(dispatch(effGetProgram), 0);
  EXPECT_EQ(dispatch(effSetProgram, 0, -1), 0);
  EXPECT_EQ(dispatch(effGetProgram), 0);
  EXPECT_EQ(dispatch(effSetProgram, 0, 0), 0);
  EXPECT_EQ(dispatch(effGetProgram), 0);
  char name[] = "renamed";
  EXPECT_EQ(dispatch(effSetProgramName, 0, 0, name), 0);
  EXPECT_EQ(text(effGetProgramName), "");
}

TEST_F(PluginDispatcher, ParameterNamesLabelsAndDisplays) {
  EXPECT_EQ(text(effGetParamName, 0), "Mix");
  EXPECT_EQ(text(effGetParamName, 1), "Out gain");
  EXPECT_EQ(text(effGetParamName, 2), "FIR Length");
  EXPECT_EQ(text(effGetParamLabel, 1), "Out gain");
  // Indices without a name leave the host's buffer as it was.
  const std::string untouched(255, '#');
  EXPECT_EQ(text(effGetParamName, 3), untouched);
  EXPECT_EQ(text(effGetParamName, 4), untouched);
  EXPECT_EQ(text(effGetParamLabel, 4), untouched);
  EXPECT_EQ(text(effGetParamDisplay, 5), untouched);
  EXPECT_EQ(text(effGetParamName, -1), untouched);

  EXPECT_EQ(text(effGetParamDisplay, 0), "50%");
  EXPECT_EQ(text(effGetParamDisplay, 1), "-6.0dB");
  EXPECT_EQ(text(effGetParamDisplay, 2), "0.37sec /50%");
  EXPECT_EQ(text(effGetParamDisplay, 3), "off");
  EXPECT_EQ(text(effGetParamDisplay, 4), "off");
  EXPECT_EQ(dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
  setParameter(2, 1.0f);
  EXPECT_EQ(text(effGetParamDisplay, 2), "0.68sec /100%");
  setParameter(1, 0.0f);
  EXPECT_EQ(text(effGetParamDisplay, 1), "-INFdB");
  setParameter(3, 1.0f);
  EXPECT_EQ(text(effGetParamDisplay, 3), "on");
  // Parameter changes are not reported to the host.
  for (const auto& call : test_support::recordedHostCalls()) {
    EXPECT_NE(call.opcode, audioMasterAutomate);
  }
}

TEST_F(PluginDispatcher, IdentityAndCapabilities) {
  EXPECT_EQ(text(effGetEffectName), "Ulmar (mono)");
  EXPECT_EQ(text(effGetVendorString), "Quellmark");
  EXPECT_EQ(text(effGetProductString), "Ulmar v1.3");
  EXPECT_EQ(dispatch(effGetVendorVersion), 1300);
  EXPECT_EQ(dispatch(effGetPlugCategory), kPlugCategEffect);
  EXPECT_EQ(dispatch(effGetVstVersion), kVstVersion);
  EXPECT_EQ(dispatch(effIdentify), fourCharCode('N', 'v', 'E', 'f'));
  EXPECT_EQ(dispatch(effCanBeAutomated, 0), 1);
  EXPECT_EQ(dispatch(effCanBeAutomated, 4), 1);
  for (const char* capability : {"receiveVstMidiEvent", "sendVstEvents", "bypass", ""}) {
    EXPECT_EQ(dispatch(effCanDo, 0, 0, const_cast<char*>(capability)), 0) << capability;
  }
  EXPECT_EQ(dispatch(effGetTailSize), 0);
  EXPECT_EQ(dispatch(effSetBypass, 0, 1), 0);
  EXPECT_EQ(dispatch(effGetCurrentMidiProgram), -1);
}

TEST_F(PluginDispatcher, HostNotificationsAreAcceptedQuietly) {
  EXPECT_EQ(dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f), 0);
  EXPECT_EQ(dispatch(effSetBlockSize, 0, 64), 0);
  EXPECT_EQ(dispatch(effMainsChanged, 0, 0), 0);
  EXPECT_EQ(dispatch(effMainsChanged, 0, 1), 0);
  // Resuming a plain effect does not ask the host for MIDI.
  for (const auto& call : test_support::recordedHostCalls()) {
    EXPECT_EQ(call.opcode, audioMasterVersion);
  }
  const VstIntPtr total = sizeof(VstIntPtr) == 8 ? static_cast<VstIntPtr>(0x123456789ALL) : 0x12345678;
  EXPECT_EQ(dispatch(effSetTotalSampleToProcess, 0, total), total);
}

// The editor exists from the start: its size is known before any open, and
// the opcodes that need an open window do nothing without one. Nothing here
// needs a display.
TEST_F(PluginDispatcher, EditorReportsItsSizeBeforeAnyOpen) {
  ERect* rect = nullptr;
  ASSERT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 245);
  EXPECT_EQ(rect->right, 304);
  EXPECT_EQ(dispatch(effEditIdle), 0);
  EXPECT_EQ(dispatch(effEditClose), 0);
  EXPECT_EQ(dispatch(effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
  EXPECT_EQ(dispatch(effEditKeyUp, 'a', 0, nullptr, 0.0f), 0);
  dispatch(effSetEditKnobMode, 0, 2);
}

TEST_F(PluginDispatcher, SpeakerArrangementIsClearedInBothPlaces) {
  int dummy = 0;
  void* input = &dummy;
  void* output = &dummy;
  EXPECT_EQ(dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output), 0);
  EXPECT_EQ(input, nullptr);
  EXPECT_EQ(output, nullptr);
}

TEST_F(PluginDispatcher, NullPointersAreRefusedWithoutWriting) {
  for (VstInt32 opcode :
       {effGetParamLabel, effGetParamDisplay, effGetParamName, effEditGetRect, effGetChunk, effSetChunk,
        effGetEffectName, effGetVendorString, effGetProductString, effGetSpeakerArrangement}) {
    EXPECT_EQ(dispatch(opcode, 0, 0, nullptr), 0) << opcode;
  }
  EXPECT_EQ(dispatch(effSetChunk, 0, kStateChunkSize, nullptr), 0);
}

TEST_F(PluginDispatcher, EveryOtherOpcodeAnswersZero) {
  char scratch[512] = {};
  for (VstInt32 opcode :
       {9,  16, 17, 18, 20, 21, 25, 27, 28, 29, 30, 31, 32, 33, 34, 36, 37, 38, 39, 40, 41, 42, 43,   46,
        50, 53, 54, 55, 56, 57, 62, 64, 65, 66, 67, 68, 70, 71, 72, 74, 75, 76, 77, 78, 79, 80, 1000, -1}) {
    EXPECT_EQ(dispatch(opcode, 0, 0, scratch), 0) << opcode;
  }
}

TEST_F(PluginDispatcher, ParametersOutsideTheRangeAreIgnored) {
  setParameter(5, 0.9f);
  setParameter(-1, 0.9f);
  EXPECT_EQ(getParameter(5), 0.0f);
  EXPECT_EQ(getParameter(-1), 0.0f);
  const float defaults[] = {0.5f, 0.5f, 0.5f, 0.0f, 0.0f};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(getParameter(i), defaults[i]) << i;
  }
}

TEST_F(PluginDispatcher, CloseAnswersOneAndDestroysTheEffect) {
  EXPECT_EQ(dispatch(effClose), 1);
  effect_ = nullptr;
}

}  // namespace
