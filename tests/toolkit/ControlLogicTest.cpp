// The controls' logic without a window: the knob's angle mapping against a
// geometric model, the film-strip image rule, and every gesture driven by a
// scripted mouse whose state moves on at each idle pass of the frame, as a
// real pointer moves between the passes of a control's mouse loop. Runs on
// both back-ends.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/toolkit/TestPlatform.h"
#include "toolkit/controls/CAnimKnob.h"
#include "toolkit/drawing/CBitmap.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/controls/CKickButton.h"
#include "toolkit/drawing/COffscreenContext.h"
#include "toolkit/controls/COnOffButton.h"
#include "toolkit/controls/KnobMode.h"
#include "toolkit/views/MouseInput.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double degrees(double d) { return d * kPi / 180.0; }

// Everything the listener and the frame hear, in order.
std::vector<std::string> gJournal;

std::string valueText(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", static_cast<double>(value));
  return text;
}

// The journal without the idle passes.
std::vector<std::string> reports() {
  std::vector<std::string> out;
  for (const std::string& line : gJournal)
    if (line != "idle") out.push_back(line);
  return out;
}

// The value in the last report to the listener; -1 without one.
float lastReported() {
  for (auto it = gJournal.rbegin(); it != gJournal.rend(); ++it)
    if (it->rfind("changed", 0) == 0) return std::stof(it->substr(it->rfind(' ') + 1));
  return -1.0f;
}

int countOf(const std::string& line) {
  int n = 0;
  for (const std::string& l : gJournal) n += l == line ? 1 : 0;
  return n;
}

struct MouseState {
  int32_t buttons = 0;
  CPoint cursor;
};

// The pointer and keys follow a script, one step per idle pass.
class ScriptedMouse : public MouseInputSource {
 public:
  bool isDown(InputKey key) const override {
    switch (key) {
      case InputKey::kLeftButton:
        return (state.buttons & kLButton) != 0;
      case InputKey::kMiddleButton:
        return (state.buttons & kMButton) != 0;
      case InputKey::kRightButton:
        return (state.buttons & kRButton) != 0;
      case InputKey::kShift:
        return (state.buttons & kShift) != 0;
      case InputKey::kControl:
        return (state.buttons & kControl) != 0;
      case InputKey::kAlt:
        return (state.buttons & kAlt) != 0;
    }
    return false;
  }
  CPoint cursorPosition() const override { return state.cursor; }
  CPoint windowOrigin(void*) const override { return CPoint(); }
  void advance() {
    if (next < script.size()) state = script[next++];
  }

  MouseState state;
  std::vector<MouseState> script;
  size_t next = 0;
};

// A frame whose idle pass moves the script on and redraws, whose clock is
// set by the test and whose gestures go to the journal.
class TestFrame : public CFrame {
 public:
  TestFrame(const CRect& rect, ScriptedMouse& input) : CFrame(rect, nullptr, nullptr), input_(input) {}
  void doIdle() override {
    gJournal.push_back("idle");
    input_.advance();
    idle();
  }
  uint32_t getTicks() const override { return ticks; }
  void beginEdit(int32_t index) override { gJournal.push_back("begin " + std::to_string(index)); }
  void endEdit(int32_t index) override { gJournal.push_back("end " + std::to_string(index)); }
  uint32_t ticks = 0;

 private:
  ScriptedMouse& input_;
};

class Listener : public CControlListener {
 public:
  void valueChanged(CDrawContext*, CControl* control) override {
    gJournal.push_back("changed " + std::to_string(control->getTag()) + " " + valueText(control->getValue()));
  }
  int32_t modifierClicked(CDrawContext*, CControl* control, int32_t buttons) override {
    gJournal.push_back("modifier " + std::to_string(control->getTag()) + " " + std::to_string(buttons));
    return handleModifiers;
  }
  int32_t handleModifiers = 0;
};

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    gJournal.clear();
    setMouseInputSource(&mouse);
    setGlobalKnobMode(kKnobModeCircular);
    frame = new TestFrame(CRect(0, 0, 300, 200), mouse);
    screen = new COffscreenContext(nullptr, 300, 200, kBlackCColor);
    frame->setFrameContext(screen);
  }
  void TearDown() override {
    frame->release();
    screen->release();
    setMouseInputSource(nullptr);
    setGlobalKnobMode(kKnobModeCircular);
  }
  // The first paint, after which the idle passes redraw what changed.
  void paintOnce() {
    frame->drawRect(screen, CRect(0, 0, 300, 200));
    gJournal.clear();
  }
  // A press at `start` with `buttons` (as the message carries them), while
  // the physical state is `held`; then the script, one step per idle pass.
  void press(CPoint start, int32_t buttons, int32_t held, std::vector<MouseState> then) {
    mouse.state = MouseState{held, start};
    mouse.script = std::move(then);
    mouse.next = 0;
    frame->mouse(screen, start, buttons);
  }
  // A drag with the left button along `offsets` from `start` (one pixel
  // step each), modifiers `keys` held throughout, released at the end.
  void drag(CPoint start, const std::vector<CPoint>& path, int32_t keys = 0) {
    std::vector<MouseState> script;
    for (const CPoint& p : path) script.push_back(MouseState{kLButton | keys, p});
    script.push_back(MouseState{0, path.empty() ? start : path.back()});
    press(start, kLButton | keys, kLButton | keys, script);
  }
  // `n` one-pixel steps from `from` by (dh, dv) each.
  static std::vector<CPoint> line(CPoint from, int n, int dh, int dv) {
    std::vector<CPoint> points;
    for (int i = 1; i <= n; ++i) points.push_back(CPoint(from.h + i * dh, from.v + i * dv));
    return points;
  }
  // A point on a circle of radius r around `centre`, at `deg` degrees
  // counter-clockwise from three o'clock.
  static CPoint onCircle(CPoint centre, double r, double deg) {
    return CPoint(centre.h + static_cast<int32_t>(std::lround(r * std::cos(degrees(deg)))),
                  centre.v - static_cast<int32_t>(std::lround(r * std::sin(degrees(deg)))));
  }

  ScriptedMouse mouse;
  Listener listener;
  TestFrame* frame = nullptr;
  COffscreenContext* screen = nullptr;
};

// The value a knob of `range` degrees starting at `start` degrees shows for
// a pointer at `angle` degrees: the fraction of the arc swept from the
// start, and in the dead zone the end that is nearer. NaN on a boundary.
double modelValue(double start, double range, double angle) {
  const double swept = std::fmod(std::fmod(range < 0 ? start - angle : angle - start, 360.0) + 360.0, 360.0);
  const double arc = std::fabs(range);
  const double deadMiddle = arc + (360.0 - arc) / 2.0;
  const double margin = 0.05;
  if (std::fabs(swept - arc) < margin || std::fabs(swept - deadMiddle) < margin || swept < margin ||
      swept > 360.0 - margin)
    return NAN;
  if (swept <= arc) return swept / arc;
  return swept < deadMiddle ? 1.0 : 0.0;
}

TEST_F(Controls, KnobMapsPointsAndValuesOnBothTurningDirections) {
  struct Sweep {
    double start, range;
  };
  for (const Sweep sweep : {Sweep{225, -270}, Sweep{315, 270}, Sweep{90, -180}, Sweep{0, 200}}) {
    SCOPED_TRACE("start " + std::to_string(sweep.start) + " range " + std::to_string(sweep.range));
    auto* knob = new CKnob(CRect(20, 10, 80, 70), &listener, 0, nullptr, nullptr);
    knob->setStartAngle(static_cast<float>(degrees(sweep.start)));
    knob->setRangeAngle(static_cast<float>(degrees(sweep.range)));
    int checked = 0;
    for (int32_t v = -12; v <= 72; v += 2) {
      for (int32_t h = -12; h <= 72; h += 2) {
        if (h == 30 && v == 30) continue;  // the centre has no angle
        const double angle = std::atan2(30.0 - v, h - 30.0) * 180.0 / kPi;
        const double expected = modelValue(sweep.start, sweep.range, angle);
        if (std::isnan(expected)) continue;
        CPoint p(h, v);
        ASSERT_NEAR(knob->valueFromPoint(p), expected, 1e-4) << "at " << h << "," << v;
        ++checked;
      }
    }
    EXPECT_GT(checked, 1700);

    // The handle stands inset pixels inside the rim at the value's angle,
    // and reading the angle back gives the value within a pixel's worth.
    for (float value = 0.0f; value <= 1.0f; value += 0.0625f) {
      knob->setValue(value);
      CPoint p;
      knob->valueToPoint(p);
      const double a = degrees(sweep.start + value * sweep.range);
      EXPECT_NEAR(p.h, 30 + std::cos(a) * 27, 0.5001) << value;
      EXPECT_NEAR(p.v, 30 - std::sin(a) * 27, 0.5001) << value;
      EXPECT_NEAR(knob->valueFromPoint(p), value, 0.02) << value;
    }
    knob->release();
  }

  // The default knob: from seven o'clock clockwise to five, 45 degrees of
  // dead zone on each side of six.
  auto* knob = new CKnob(CRect(0, 0, 60, 60), nullptr, 0, nullptr, nullptr);
  EXPECT_EQ(knob->getInset(), 3);
  knob->setValue(0.5f);
  CPoint top;
  knob->valueToPoint(top);
  EXPECT_EQ(top, CPoint(30, 3));
  auto* handle = new CBitmap(frame, 11, 11);
  knob->setHandleBitmap(handle);
  handle->release();
  EXPECT_EQ(knob->getInset(), 8);  // half of 11, plus 2.5, truncated
  knob->setHandleBitmap(nullptr);
  EXPECT_EQ(knob->getInset(), 3);
  EXPECT_TRUE(knob->isTypeOf("CKnob") && knob->isTypeOf("CControl") && knob->isTypeOf("CView"));
  EXPECT_FALSE(knob->isTypeOf("CAnimKnob"));
  knob->release();
}

TEST_F(Controls, FilmStripShowsTheImageOfTheIntegerPartOfValueTimesLastIndex) {
  // 64 images of 4 x 4, image n filled with red n x 4.
  auto* strip = new CBitmap(frame, 4, 64 * 4);
  {
    auto* painter = new COffscreenContext(screen, strip, true);
    for (int32_t n = 0; n < 64; ++n) {
      painter->setFillColor(CColor{static_cast<uint8_t>(n * 4), 0, 0, 255});
      painter->drawRect(CRect(0, n * 4, 4, n * 4 + 4), 1);
    }
    painter->release();
  }
  auto* knob = new CAnimKnob(CRect(10, 10, 14, 14), &listener, 2, 64, 4, strip);
  strip->release();
  frame->addView(knob);
  paintOnce();
  const auto shown = [&](float value) {
    knob->setValue(value);
    knob->draw(screen);
    const toolkit_test::Pixels pixels = toolkit_test::readPixels(*screen);
    return static_cast<int32_t>((pixels.at(11, 11) >> 16) / 4);
  };
  EXPECT_EQ(shown(0.0f), 0);
  EXPECT_EQ(shown(0.5f), 31);
  EXPECT_EQ(shown(0.999f), 62);
  EXPECT_EQ(shown(1.0f), 63);
  EXPECT_EQ(shown(-0.5f), 0);
  EXPECT_EQ(shown(1.5f), 63);  // past the maximum: the last image, not rows beyond the strip
  knob->setInverseBitmap(true);
  EXPECT_EQ(shown(1.0f), 0);
  EXPECT_EQ(shown(0.25f), 47);
  knob->setInverseBitmap(false);

  // Dirty only when the handle point moves; the idle pass redraws it.
  shown(0.5f);
  EXPECT_FALSE(knob->isDirty());
  knob->setValue(0.5001f);
  EXPECT_FALSE(knob->isDirty());
  knob->setValue(0.6f);
  EXPECT_TRUE(knob->isDirty());
  frame->idle();
  EXPECT_FALSE(knob->isDirty());
  EXPECT_EQ(toolkit_test::readPixels(*screen).at(12, 12) >> 16, 37u * 4);

  // Built from the control's height: as many images as the strip holds.
  auto* tall = new CBitmap(frame, 4, 30);
  auto* fitted = new CAnimKnob(CRect(0, 0, 4, 10), nullptr, 0, tall);
  auto* flat = new CAnimKnob(CRect(0, 0, 4, 0), nullptr, 0, tall);
  EXPECT_EQ(fitted->getFrameCount(), 3);
  EXPECT_EQ(flat->getFrameCount(), 0);
  flat->setValue(1.0f);
  EXPECT_EQ(flat->imageIndex(), 0);
  EXPECT_TRUE(fitted->isTypeOf("CAnimKnob") && fitted->isTypeOf("CKnob"));
  tall->release();
  fitted->release();
  flat->release();
}

TEST_F(Controls, LinearDragCoversTheRangeIn200PixelsOr300WithShiftWithoutJumps) {
  setGlobalKnobMode(kKnobModeLinear);
  auto* knob = new CAnimKnob(CRect(20, 10, 80, 70), &listener, 1, 64, 60, nullptr);
  frame->addView(knob);
  paintOnce();

  // Up 200 pixels: 0 to 1, one gesture, the knob holding the focus.
  const CPoint start(50, 40);
  knob->setValue(0.0f);
  drag(start, line(start, 200, 0, -1));
  EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);
  EXPECT_EQ(reports().front(), "begin 1");
  EXPECT_EQ(reports().back(), "end 1");
  EXPECT_EQ(countOf("begin 1"), 1);
  EXPECT_EQ(countOf("end 1"), 1);
  EXPECT_NEAR(lastReported(), 1.0f, 0.011f);  // a step that leaves the image as it was is not told
  EXPECT_EQ(frame->getFocusView(), knob);

  // Right counts like up, left and down the other way; the value stops at
  // the ends.
  knob->setValue(0.5f);
  drag(start, line(start, 50, 1, 0));
  EXPECT_NEAR(knob->getValue(), 0.75f, 1e-5);
  drag(start, line(start, 300, -1, 1));
  EXPECT_FLOAT_EQ(knob->getValue(), 0.0f);

  // With shift, 300 pixels for the range.
  drag(start, line(start, 150, 0, -1), kShift);
  EXPECT_NEAR(knob->getValue(), 0.5f, 1e-5);
  drag(start, line(start, 150, 0, -1), kShift);
  EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);

  // Shift pressed after 100 pixels, let go 30 pixels later: the value
  // carries on from where it was at each change of scale.
  knob->setValue(0.0f);
  std::vector<MouseState> script;
  for (const CPoint& p : line(start, 100, 0, -1)) script.push_back({kLButton, p});
  script.push_back({kLButton | kShift, CPoint(50, -60)});
  for (const CPoint& p : line(CPoint(50, -60), 30, 0, -1)) script.push_back({kLButton | kShift, p});
  script.push_back({kLButton, CPoint(50, -90)});
  for (const CPoint& p : line(CPoint(50, -90), 20, 0, -1)) script.push_back({kLButton, p});
  script.push_back({0, CPoint(50, -110)});
  gJournal.clear();
  press(start, kLButton, kLButton, script);
  EXPECT_NEAR(knob->getValue(), 0.5f + 30.0f / 300.0f + 20.0f / 200.0f, 1e-5);
  float previous = 0.0f;
  for (const std::string& line : reports()) {
    if (line.rfind("changed", 0) != 0) continue;
    const float reported = std::stof(line.substr(line.rfind(' ') + 1));
    EXPECT_LE(std::fabs(reported - previous), 0.0151f) << "jumped to " << reported;
    previous = reported;
  }

  // Alt turns the linear mode circular: a press at nine o'clock is 1/6.
  knob->setValue(0.9f);
  drag(CPoint(20, 40), {}, kAlt);
  EXPECT_NEAR(knob->getValue(), 45.0f / 270.0f, 1e-4);
  EXPECT_EQ(countOf("modifier 1 33"), 1);
}

TEST_F(Controls, CircularDragAcrossTheDeadZoneSticksToTheEndItApproached) {
  auto* knob = new CAnimKnob(CRect(20, 10, 80, 70), &listener, 0, 64, 60, nullptr);
  frame->addView(knob);
  paintOnce();
  const CPoint centre(50, 40);

  // From three o'clock clockwise down past six to eight o'clock.
  std::vector<CPoint> path;
  for (int deg = 0; deg >= -150; deg -= 3) path.push_back(onCircle(centre, 25, deg));
  knob->setValue(0.6f);
  drag(path.front(), path);
  EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);
  // The click itself sets the value under the pointer.
  EXPECT_EQ(reports()[1], "changed 0 " + valueText(225.0f / 270.0f));

  // From eight o'clock counter-clockwise through six to four o'clock.
  path.clear();
  for (int deg = 210; deg <= 330; deg += 3) path.push_back(onCircle(centre, 25, deg));
  drag(path.front(), path);
  EXPECT_FLOAT_EQ(knob->getValue(), 0.0f);

  // Within the sweep the value follows the pointer.
  path.clear();
  for (int deg = 180; deg >= 0; deg -= 3) path.push_back(onCircle(centre, 25, deg));
  drag(path.front(), path);
  EXPECT_NEAR(knob->getValue(), 225.0f / 270.0f, 1e-4);
}

TEST_F(Controls, WheelKeysAndControlClickOnAKnob) {
  auto* knob = new CAnimKnob(CRect(20, 10, 80, 70), &listener, 2, 64, 60, nullptr);
  frame->addView(knob);
  paintOnce();
  knob->setValue(0.5f);

  EXPECT_TRUE(frame->onWheel(screen, CPoint(50, 40), 1.0f));
  EXPECT_NEAR(knob->getValue(), 0.6f, 1e-6);
  EXPECT_EQ(reports(), (std::vector<std::string>{"begin 2", "changed 2 0.6000", "end 2"}));
  mouse.state.buttons = kShift;
  frame->onWheel(screen, CPoint(50, 40), -1.0f);
  EXPECT_NEAR(knob->getValue(), 0.59f, 1e-6);
  mouse.state.buttons = 0;
  for (int i = 0; i < 6; ++i) frame->onWheel(screen, CPoint(50, 40), 1.0f);
  EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);
  frame->idle();
  gJournal.clear();
  frame->onWheel(screen, CPoint(50, 40), 1.0f);  // already at the end: nothing to tell
  EXPECT_TRUE(gJournal.empty());

  // Arrow keys reach the focused knob.
  frame->setFocusView(knob);
  VstKeyCode key{0, VKEY_DOWN, 0};
  EXPECT_EQ(frame->onKeyDown(key), 1);
  key.virt = VKEY_LEFT;
  key.modifier = MODIFIER_SHIFT;
  EXPECT_EQ(frame->onKeyDown(key), 1);
  EXPECT_NEAR(knob->getValue(), 0.89f, 1e-6);
  key = VstKeyCode{'a', 0, 0};
  EXPECT_EQ(knob->onKeyDown(key), -1);
  key.virt = VKEY_UP;
  knob->onKeyDown(key);
  key.virt = VKEY_RIGHT;
  knob->onKeyDown(key);
  EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);

  // Control-click: the default value, told once, in a gesture of its own,
  // without a mouse loop; the button is already up.
  knob->setValue(0.2f);
  gJournal.clear();
  press(CPoint(50, 40), kLButton | kControl, 0, {});
  EXPECT_EQ(gJournal, (std::vector<std::string>{"modifier 2 17", "begin 2", "changed 2 0.5000", "end 2"}));
  // Control with shift is an ordinary press: a press at nine o'clock.
  knob->setValue(0.2f);
  gJournal.clear();
  press(CPoint(20, 40), kLButton | kControl | kShift, 0, {});
  EXPECT_NEAR(knob->getValue(), 45.0f / 270.0f, 1e-4);
  EXPECT_EQ(countOf("changed 2 0.5000"), 0);
  EXPECT_EQ(countOf("modifier 2 25"), 1);
  // A listener that takes modifier clicks leaves the knob alone.
  listener.handleModifiers = 1;
  gJournal.clear();
  press(CPoint(50, 40), kLButton | kControl, 0, {});
  EXPECT_EQ(gJournal, (std::vector<std::string>{"modifier 2 17"}));
  EXPECT_NEAR(knob->getValue(), 45.0f / 270.0f, 1e-4);
  listener.handleModifiers = 0;

  // Disabled: no wheel, no press; without the left button, no press.
  gJournal.clear();
  press(CPoint(50, 40), kRButton, kRButton, {});
  knob->setMouseEnabled(false);
  EXPECT_FALSE(frame->onWheel(screen, CPoint(50, 40), 1.0f));
  press(CPoint(50, 40), kLButton, kLButton, {});
  EXPECT_TRUE(gJournal.empty());
}

TEST_F(Controls, ButtonsReportPressesAndReleases) {
  auto* kick = new CKickButton(CRect(100, 100, 140, 120), &listener, 1005, nullptr);
  auto* toggle = new COnOffButton(CRect(150, 100, 170, 120), &listener, 3, nullptr);
  frame->addView(kick);
  frame->addView(toggle);
  paintOnce();

  // Pressed inside, held, moved out, back onto the corner (inside), out
  // again and released there: 1, 0, 1, then a final 0.
  press(
      CPoint(110, 110), kLButton, kLButton,
      {{kLButton, CPoint(141, 110)}, {kLButton, CPoint(140, 120)}, {kLButton, CPoint(200, 10)}, {0, CPoint(200, 10)}});
  std::vector<std::string> heard = reports();
  ASSERT_GE(heard.size(), 4u);
  EXPECT_EQ(heard.front(), "begin 1005");
  EXPECT_EQ(heard[1], "changed 1005 1.0000");
  EXPECT_EQ(heard[heard.size() - 2], "changed 1005 0.0000");
  EXPECT_EQ(heard.back(), "end 1005");
  EXPECT_EQ(countOf("changed 1005 1.0000"), 2);  // the corner counts as inside
  EXPECT_FLOAT_EQ(kick->getValue(), 0.0f);

  // Another button held as well: one toggle, then the final 0.
  gJournal.clear();
  press(CPoint(110, 110), kLButton | kRButton, kLButton | kRButton, {});
  EXPECT_EQ(gJournal,
            (std::vector<std::string>{"begin 1005", "changed 1005 1.0000", "changed 1005 0.0000", "end 1005"}));

  // The on/off button toggles on the press; after the idle pass by default,
  // before it with style 1; the release is not waited for.
  gJournal.clear();
  press(CPoint(160, 110), kLButton, kLButton, {});
  EXPECT_EQ(gJournal, (std::vector<std::string>{"idle", "begin 3", "changed 3 1.0000", "end 3"}));
  EXPECT_EQ(frame->getFocusView(), toggle);
  toggle->setStyle(kOnOffTellBeforeIdle);
  gJournal.clear();
  press(CPoint(160, 110), kLButton, kLButton, {});
  EXPECT_EQ(gJournal, (std::vector<std::string>{"begin 3", "changed 3 0.0000", "end 3", "idle"}));
  for (const auto& [before, after] : {std::pair{0.7f, 1.0f}, std::pair{1.3f, 0.0f}, std::pair{-0.5f, 1.0f}}) {
    toggle->setValue(before);
    press(CPoint(160, 110), kLButton, kLButton, {});
    EXPECT_FLOAT_EQ(toggle->getValue(), after) << before;
  }
  toggle->setValue(NAN);
  press(CPoint(160, 110), kLButton, kLButton, {});
  EXPECT_FLOAT_EQ(toggle->getValue(), 1.0f);
  gJournal.clear();
  listener.handleModifiers = 1;
  press(CPoint(160, 110), kLButton | kShift, kLButton | kShift, {});
  press(CPoint(110, 110), kLButton | kShift, kLButton | kShift, {});
  EXPECT_EQ(gJournal, (std::vector<std::string>{"modifier 3 9", "modifier 1005 9"}));
}

// A click whose button is already up when the press is handled acts on the
// buttons it came with; the loops then end at once.
TEST_F(Controls, AQuickClickActsOnTheButtonsItCarries) {
  auto* knob = new CAnimKnob(CRect(20, 10, 80, 70), &listener, 0, 64, 60, nullptr);
  auto* kick = new CKickButton(CRect(100, 100, 140, 120), &listener, 1005, nullptr);
  auto* toggle = new COnOffButton(CRect(150, 100, 170, 120), &listener, 3, nullptr);
  frame->addView(knob);
  frame->addView(kick);
  frame->addView(toggle);
  paintOnce();

  press(CPoint(20, 40), kLButton, 0, {});
  EXPECT_EQ(gJournal, (std::vector<std::string>{"begin 0", "changed 0 " + valueText(45.0f / 270.0f), "idle", "end 0"}));
  gJournal.clear();
  press(CPoint(120, 110), kLButton, 0, {});
  EXPECT_EQ(gJournal,
            (std::vector<std::string>{"begin 1005", "changed 1005 1.0000", "idle", "changed 1005 0.0000", "end 1005"}));
  gJournal.clear();
  press(CPoint(160, 110), kLButton, 0, {});
  EXPECT_FLOAT_EQ(toggle->getValue(), 1.0f);
  EXPECT_EQ(countOf("changed 3 1.0000"), 1);

  // Asked from the state alone, the same clicks find no button.
  gJournal.clear();
  press(CPoint(20, 40), -1, 0, {});
  press(CPoint(120, 110), -1, 0, {});
  press(CPoint(160, 110), -1, 0, {});
  EXPECT_TRUE(gJournal.empty());
}

TEST_F(Controls, ControlBaseKeepsValuesDirtinessAndDoubleClicks) {
  auto* button = new COnOffButton(CRect(10, 20, 30, 40), &listener, 4, nullptr);
  frame->addView(button);
  EXPECT_FLOAT_EQ(button->getDefaultValue(), 0.5f);
  EXPECT_FLOAT_EQ(button->getWheelStep(), 0.1f);
  EXPECT_TRUE(button->isDirty());  // never drawn
  paintOnce();
  EXPECT_FALSE(button->isDirty());

  // Setters store and tell no one; a new value reads as dirty until drawn.
  button->setValue(1.0f);
  EXPECT_TRUE(gJournal.empty());
  EXPECT_TRUE(button->isDirty());
  frame->idle();
  EXPECT_FALSE(button->isDirty());
  EXPECT_FLOAT_EQ(button->getOldValue(), 1.0f);
  button->setDirty(true);
  EXPECT_FLOAT_EQ(button->getOldValue(), -1.0f);
  button->setValue(-1.0f);
  button->setDirty(true);
  EXPECT_FLOAT_EQ(button->getOldValue(), 0.0f);
  button->setDirty(false);
  EXPECT_FALSE(button->isDirty());

  button->setMin(-2.0f);
  button->setMax(3.0f);
  button->setValue(7.0f);
  button->clampValue();
  EXPECT_FLOAT_EQ(button->getValue(), 3.0f);
  button->setValue(-7.0f);
  button->clampValue();
  EXPECT_FLOAT_EQ(button->getValue(), -2.0f);
  button->copyBackOffset();
  EXPECT_EQ(button->getBackOffset(), CPoint(10, 20));
  EXPECT_TRUE(button->isTypeOf("COnOffButton") && button->isTypeOf("CControl") && !button->isTypeOf("CKnob"));

  // Double clicks on the frame's clock, also across the wrap of the 32-bit
  // tick count and past 2^31 ms.
  for (const uint32_t first : {1000u, 0x7FFFFFF0u, 0xFFFFFF00u}) {
    SCOPED_TRACE(first);
    frame->ticks = first;
    EXPECT_FALSE(button->isDoubleClick());
    frame->ticks = first + 200;
    EXPECT_TRUE(button->isDoubleClick());
    frame->ticks = first + 300;
    EXPECT_FALSE(button->isDoubleClick());  // a third click starts again
    frame->ticks = first + 5000;
    EXPECT_FALSE(button->isDoubleClick());  // too late: a first click
    frame->ticks = first + 5100;
    EXPECT_TRUE(button->isDoubleClick());
  }
}

}  // namespace
