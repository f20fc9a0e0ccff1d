// The effect base with an editor and host calls, which the built plug-in
// cannot show yet: editor opcodes forward, host wrappers check for a host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/AEffEditor.h"
#include "host/AudioEffectX.h"
#include "tests/support/TestSupport.h"

namespace {

class TestEffect : public AudioEffectX {
 public:
  using AudioEffectX::AudioEffectX;
  void processReplacing(float**, float**, VstInt32) override {}
  VstInt32 canDo(char* text) override { return receivesMidi && std::string(text) == "receiveVstMidiEvent"; }
  bool receivesMidi = false;
};

class TestEditor : public AEffEditor {
 public:
  using AEffEditor::AEffEditor;
  bool getRect(ERect** rect) override {
    *rect = &bounds;
    return true;
  }
  bool open(void* parent) override {
    openedWith = parent;
    return true;
  }
  void close() override { ++closes; }
  void idle() override { ++idles; }
  bool onKeyDown(VstKeyCode& key) override {
    lastKey = key;
    return true;
  }
  bool onKeyUp(VstKeyCode& key) override {
    lastKey = key;
    return false;
  }
  bool setKnobMode(VstInt32 mode) override {
    knobMode = mode;
    return true;
  }
  ERect bounds{0, 0, 245, 304};
  void* openedWith = nullptr;
  int closes = 0;
  int idles = 0;
  VstKeyCode lastKey{};
  VstInt32 knobMode = -1;
};

TEST(EffectBase, EditorOpcodesForwardToTheEditorAndItsFlag) {
  TestEffect effect(test_support::recordingHost, 1, 2);
  auto* editor = new TestEditor(&effect);
  effect.setEditor(editor);
  EXPECT_EQ(effect.getAeffect()->flags & effFlagsHasEditor, effFlagsHasEditor);

  ERect* rect = nullptr;
  EXPECT_EQ(effect.dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
  EXPECT_EQ(rect, &editor->bounds);
  int window = 0;
  EXPECT_EQ(effect.dispatcher(effEditOpen, 0, 0, &window, 0.0f), 1);
  EXPECT_EQ(editor->openedWith, &window);
  EXPECT_EQ(effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(editor->idles, 1);
  EXPECT_EQ(effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(editor->closes, 1);

  EXPECT_EQ(effect.dispatcher(effEditKeyDown, 'q', 0x10D, nullptr, 9.7f), 1);
  EXPECT_EQ(editor->lastKey.character, 'q');
  EXPECT_EQ(editor->lastKey.virt, 0x0D);   // low byte of value
  EXPECT_EQ(editor->lastKey.modifier, 9);  // opt truncated
  EXPECT_EQ(effect.dispatcher(effEditKeyUp, 'r', 3, nullptr, 1.0f), 0);
  EXPECT_EQ(editor->lastKey.character, 'r');
  EXPECT_EQ(effect.dispatcher(effSetEditKnobMode, 0, 2, nullptr, 0.0f), 1);
  EXPECT_EQ(editor->knobMode, 2);

  effect.setEditor(nullptr);
  EXPECT_EQ(effect.getAeffect()->flags & effFlagsHasEditor, 0);
  delete editor;
}

TEST(EffectBase, HostCallsWithoutAHostAnswerTheirDefaults) {
  TestEffect effect(nullptr, 1, 2);
  EXPECT_EQ(effect.getMasterVersion(), 1);
  char text[] = "sizeWindow";
  EXPECT_FALSE(effect.canHostDo(text));
  EXPECT_FALSE(effect.sizeWindow(10, 10));
  EXPECT_FALSE(effect.beginEdit(0));
  EXPECT_EQ(effect.updateSampleRate(), 44100.0f);
  EXPECT_EQ(effect.updateBlockSize(), 1024);
  effect.setParameterAutomated(0, 0.5f);
  effect.masterIdle();
}

TEST(EffectBase, HostCallsCarryTheirArguments) {
  test_support::recordedHostCalls().clear();
  TestEffect effect(test_support::recordingHost, 1, 2);
  EXPECT_EQ(effect.getMasterVersion(), kVstVersion);
  effect.setParameterAutomated(1, 0.25f);
  EXPECT_FALSE(effect.beginEdit(4));
  const auto& calls = test_support::recordedHostCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[1].opcode, audioMasterAutomate);
  EXPECT_EQ(calls[1].index, 1);
  EXPECT_EQ(calls[1].opt, 0.25f);
  EXPECT_EQ(calls[1].effect, effect.getAeffect());
  EXPECT_EQ(calls[2].opcode, audioMasterBeginEdit);
  EXPECT_EQ(calls[2].index, 4);
}

TEST(EffectBase, ResumeAsksForMidiOnlyForSynthsOrMidiReceivers) {
  test_support::recordedHostCalls().clear();
  TestEffect effect(test_support::recordingHost, 1, 2);
  effect.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
  EXPECT_TRUE(test_support::recordedHostCalls().empty());
  EXPECT_EQ(effect.getPlugCategory(), kPlugCategUnknown);

  effect.receivesMidi = true;
  effect.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
  ASSERT_EQ(test_support::recordedHostCalls().size(), 1u);
  EXPECT_EQ(test_support::recordedHostCalls()[0].opcode, audioMasterWantMidi);

  effect.isSynth();
  EXPECT_EQ(effect.getPlugCategory(), kPlugCategSynth);
}

TEST(EffectBase, BaseDefaultsWriteEmptyTextsAndAcceptNoChunk) {
  TestEffect effect(nullptr, 1, 2);
  char text[16] = "xxxx";
  EXPECT_EQ(effect.dispatcher(effGetParamDisplay, 0, 0, text, 0.0f), 0);
  EXPECT_STREQ(text, "");
  void* data = nullptr;
  EXPECT_EQ(effect.dispatcher(effGetChunk, 0, 0, &data, 0.0f), 0);
  EXPECT_EQ(effect.dispatcher(effSetChunk, 0, 100, text, 0.0f), 0);
  EXPECT_EQ(effect.getAeffect()->numOutputs, 2);
  EXPECT_EQ(effect.getAeffect()->uniqueID, fourCharCode('N', 'o', 'E', 'f'));
}

}  // namespace
