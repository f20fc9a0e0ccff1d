// The load button on Linux, with stand-in chooser programs first on PATH:
// the chooser runs beside the editor while idle keeps answering at once, a
// second press leaves it alone, its answer is loaded from idle with the
// automatic length and gain shown as after the Windows dialog, cancel and
// a file that does not load change nothing, kdialog serves where zenity is
// absent, no program at all shows a notice on the warning line, and
// closing the editor ends and reaps a chooser still open.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/linux/DesktopFileChooser.h"
#include "editor/ConvolverEditor.h"
#include "editor/EditorLayout.h"
#include "editor/ImpulseDisplay.h"
#include "editor/ValueDisplay.h"
#include "effect/ConvolverEffect.h"
#include "tests/editor/RecordingRenderer.h"
#include "tests/editor/StandInPrograms.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WaveFiles.h"
#include "toolkit/controls/CControl.h"
#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/views/CFrame.h"

namespace {

namespace layout = editor_layout;
using Clock = std::chrono::steady_clock;

std::vector<std::string> gMessages;
void recordMessage(const char* text, const char* caption) { gMessages.push_back(std::string(caption) + "|" + text); }

struct Instance {
  ConvolverEffect effect{test_support::recordingHost};
  ConvolverEditor* editor = new ConvolverEditor(&effect);
  CDrawContext* context = nullptr;

  Instance() {
    effect.setMessageSink(recordMessage);
    editor->open(nullptr);
    context = editor->getFrame()->createFrameContext();
  }
  ~Instance() {
    if (context) context->release();
    editor->close();
  }
  void pressLoad() {
    CControl* load = static_cast<CControl*>(editor->getFrame()->getView(6));
    ASSERT_EQ(load->getTag(), layout::kLoadTag);
    load->setValue(0.0f);
    editor->valueChanged(context, load);
  }
  // Runs idle passes until the chooser has answered; the longest pass.
  Clock::duration idleUntilAnswered() {
    Clock::duration longest{};
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (editor->openFileChooser() && Clock::now() < deadline) {
      const auto start = Clock::now();
      editor->idle();
      longest = std::max(longest, Clock::now() - start);
      usleep(20000);
    }
    EXPECT_EQ(editor->openFileChooser(), nullptr) << "the chooser never answered";
    return longest;
  }
};

bool processGone(pid_t pid) { return kill(pid, 0) != 0 && errno == ESRCH; }

std::string responseFile(const test_support::TempDir& dir) {
  // A decaying response, so that the automatic length and gain move.
  std::vector<float> samples(3000);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = (i % 2 ? -0.5f : 0.5f) / (1.0f + 0.01f * static_cast<float>(i));
  const std::string path = dir.file("room.wav");
  test_support::writeFile(path, test_support::floatWave(samples));
  return path;
}

class FileChooserTest : public ::testing::Test {
 protected:
  void SetUp() override { gMessages.clear(); }
  editor_test::RecordingRenderer renderer;
  test_support::TempDir files;
};

TEST_F(FileChooserTest, TheAnswerLoadsFromIdleWhileIdleNeverWaitsAndASecondPressDoesNothing) {
  const std::string path = responseFile(files);
  ConvolverEffect reference{test_support::recordingHost};
  ASSERT_TRUE(reference.loadImpulseResponse(test_support::nativeName(path)));

  editor_test::StandInPath standIns({"zenity", "kdialog"});
  Instance a;
  const float lengthBefore = a.effect.getParameter(layout::kLengthTag);
  editor_test::StandInPath::reply(path, "0.6");
  a.pressLoad();
  ASSERT_NE(a.editor->openFileChooser(), nullptr);
  const pid_t pid = static_cast<pid_t>(a.editor->openFileChooser()->processId());
  a.pressLoad();
  EXPECT_EQ(a.editor->openFileChooser()->processId(), pid) << "a second press started another chooser";
  a.editor->idle();
  EXPECT_EQ(a.effect.getParameter(layout::kLengthTag), lengthBefore) << "loaded before the answer";

  renderer.clearDrawing();
  const Clock::duration longest = a.idleUntilAnswered();
  EXPECT_LT(longest, std::chrono::milliseconds(50)) << "idle waited for the chooser";
  EXPECT_TRUE(processGone(pid)) << "the finished chooser was not reaped";

  const std::vector<std::string> calls = standIns.calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], std::to_string(pid) +
                          " zenity [--file-selection] [--title=Open impulse response file ...]"
                          " [--file-filter=PCM Wave files | *.wav]");

  // The automatic values, on the knobs and read-outs, and the new curve.
  // The length follows from the samples alone; the gain is measured with a
  // noise signal, so it is checked as moved and shown.
  EXPECT_EQ(a.effect.impulsePath(), path);
  EXPECT_EQ(a.effect.getParameter(layout::kLengthTag), reference.getParameter(layout::kLengthTag));
  EXPECT_NE(a.effect.getParameter(layout::kGainTag), 0.5f);
  for (int32_t tag : {layout::kGainTag, layout::kLengthTag}) {
    EXPECT_EQ(a.editor->control(tag)->getValue(), a.effect.getParameter(tag)) << tag;
    char text[64] = {};
    a.effect.getParameterDisplay(tag, text);
    EXPECT_EQ(std::string(a.editor->valueDisplay(tag)->getText()), text) << tag;
  }
  EXPECT_NE(a.effect.getParameter(layout::kLengthTag), lengthBefore);
  ASSERT_FALSE(renderer.lines.empty()) << "the panel was not drawn again";
  bool bent = false;
  for (const auto& line : renderer.lines) bent = bent || line.y1 != line.y2;
  EXPECT_TRUE(bent) << "the curve is still flat";
  EXPECT_TRUE(gMessages.empty());
}

TEST_F(FileChooserTest, CancelOrAFileThatDoesNotLoadChangesNothing) {
  editor_test::StandInPath standIns({"zenity"});
  Instance a;
  const std::string pathBefore = a.effect.impulsePath();
  float before[3];
  for (int32_t tag = 0; tag < 3; ++tag) before[tag] = a.effect.getParameter(tag);

  editor_test::StandInPath::reply("", "0.1");
  a.pressLoad();
  renderer.clearDrawing();
  a.idleUntilAnswered();
  EXPECT_TRUE(renderer.lines.empty()) << "cancel redrew the panel";

  const std::string text = files.file("notes.wav");
  test_support::writeFile(text, {'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e'});
  editor_test::StandInPath::reply(text, "0");
  a.pressLoad();
  a.idleUntilAnswered();
  ASSERT_EQ(gMessages.size(), 1u);
  EXPECT_EQ(gMessages[0], "Ulmar|Cannot open file: " + text);

  EXPECT_EQ(a.effect.impulsePath(), pathBefore);
  for (int32_t tag = 0; tag < 3; ++tag) {
    EXPECT_EQ(a.effect.getParameter(tag), before[tag]) << tag;
    EXPECT_EQ(a.editor->control(tag)->getValue(), before[tag]) << tag;
  }
  EXPECT_EQ(standIns.calls().size(), 2u);
}

TEST_F(FileChooserTest, KdialogServesWhereZenityIsAbsentAndNeitherShowsANotice) {
  const std::string path = responseFile(files);
  {
    editor_test::StandInPath nothing({});
    Instance a;
    renderer.clearDrawing();
    a.pressLoad();
    EXPECT_EQ(a.editor->openFileChooser(), nullptr);
    EXPECT_EQ(a.editor->impulseDisplay()->notice(), kNoChooserNotice);
    ASSERT_EQ(renderer.texts.size(), 2u) << "path and notice";
    EXPECT_EQ(renderer.texts[1].text, kNoChooserNotice);
    EXPECT_EQ(renderer.texts[1].layout.y, static_cast<float>(layout::kImpulsePanel.height() - 14));
    EXPECT_EQ(renderer.texts[1].argb, 0xFFC80000u);

    // With a chooser installed the next press clears the notice.
    editor_test::StandInPath kdialogOnly({"kdialog"});
    editor_test::StandInPath::reply(path, "0");
    a.pressLoad();
    EXPECT_EQ(a.editor->impulseDisplay()->notice(), "");
    a.idleUntilAnswered();
    EXPECT_EQ(a.effect.impulsePath(), path);
    const std::vector<std::string> calls = kdialogOnly.calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_NE(calls[0].find(" kdialog [--title] [Open impulse response file ...] [--getopenfilename] [.]"
                            " [*.wav|PCM Wave files]"),
              std::string::npos)
        << calls[0];
  }
}

TEST_F(FileChooserTest, ClosingTheEditorEndsAndReapsAnOpenChooser) {
  editor_test::StandInPath standIns({"zenity"});
  auto a = std::make_unique<Instance>();
  editor_test::StandInPath::reply("/never/answered.wav", "30");
  a->pressLoad();
  ASSERT_NE(a->editor->openFileChooser(), nullptr);
  const pid_t pid = static_cast<pid_t>(a->editor->openFileChooser()->processId());
  // Wait until the script runs (it logs first), then close.
  for (int i = 0; i < 200 && standIns.calls().empty(); ++i) usleep(10000);
  EXPECT_FALSE(processGone(pid));
  const auto start = Clock::now();
  a.reset();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  EXPECT_TRUE(processGone(pid)) << "the chooser is still running or a zombie";
  EXPECT_TRUE(gMessages.empty());
}

}  // namespace
