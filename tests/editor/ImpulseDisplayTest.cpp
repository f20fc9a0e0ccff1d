// The impulse panel, checked on the drawing operations it issues: the curve
// against a model written from the panel's rules (columns, picked samples,
// rows, colours by the used length), the band and the marker, the texts and
// their places, the right click, defined rows for any stored sample, and
// one whole response per paint while another thread loads.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "editor/ImpulseCurve.h"
#include "editor/SmoothObjects.h"
#include "tests/editor/EditorViewFixture.h"
#include "tests/editor/RecordingRenderer.h"
#include "tests/effect/RaceRounds.h"
#include "tests/support/FakeCpuProbe.h"
#include "toolkit/drawing/CDrawContext.h"

namespace {

using editor_test::EditorViews;
using editor_test::RecordingRenderer;

constexpr int32_t W = 276;
constexpr int32_t H = 122;
constexpr int32_t kMid = 61;
constexpr uint32_t kGreen = 0xFF009600u;
constexpr uint32_t kRed = 0xFF960000u;
constexpr uint32_t kLightGrey = 0xFFC8C8C8u;

// The curve as the panel's rules state it: column i draws the segment from
// the previous point to the current one (column 0 a point at the middle),
// then moves one column right to the sample at trunc(pos), pos advancing by
// 32768 / W in single precision; green while i < cut.
std::vector<RecordingRenderer::Line> modelCurve(const float* s, int32_t taps) {
  const float scale = static_cast<float>(kMid - H);
  const float step = static_cast<float>(32768.0 / W);
  const auto cut = static_cast<int32_t>(static_cast<float>(W) * (static_cast<float>(taps) / 32768.0f));
  std::vector<RecordingRenderer::Line> lines;
  float pos = 0.0f;
  int32_t x = 0, y = kMid, px = 0, py = kMid;
  for (int32_t i = 0; i < W; ++i) {
    lines.push_back({px, py, x, y, i < cut ? kGreen : kRed, 1.0f});
    px = x;
    py = y;
    x += 1;
    float product = s[static_cast<int32_t>(pos)] * scale;
    if (std::isnan(product)) product = 0.0f;
    product = std::fmax(-1048576.0f, std::fmin(1048576.0f, product));
    y = kMid + static_cast<int32_t>(product);
    pos += step;
  }
  return lines;
}

void expectCurve(const RecordingRenderer& r, const std::vector<RecordingRenderer::Line>& model) {
  ASSERT_EQ(r.lines.size(), model.size() + 3) << "the curve's columns and the marker's three strokes";
  for (size_t i = 0; i < model.size(); ++i) {
    const auto& got = r.lines[i];
    const auto& want = model[i];
    EXPECT_TRUE(got.x1 == want.x1 && got.y1 == want.y1 && got.x2 == want.x2 && got.y2 == want.y2 &&
                got.argb == want.argb && got.width == 1.0f)
        << "column " << i << ": (" << got.x1 << "," << got.y1 << ")-(" << got.x2 << "," << got.y2 << ") " << std::hex
        << got.argb << " wanted (" << std::dec << want.x1 << "," << want.y1 << ")-(" << want.x2 << "," << want.y2
        << ") " << std::hex << want.argb;
  }
}

void expectBandAndMarker(const RecordingRenderer& r, int32_t cut) {
  ASSERT_EQ(r.fills.size(), 1u);
  EXPECT_EQ(r.fills[0].x, 0);
  EXPECT_EQ(r.fills[0].y, kMid - 30);
  EXPECT_EQ(r.fills[0].width, cut);
  EXPECT_EQ(r.fills[0].height, 60);
  EXPECT_EQ(r.fills[0].argb, 0x1E464646u);
  ASSERT_GE(r.lines.size(), 3u);
  const int32_t reaches[3] = {30, 25, 20};
  const uint32_t greys[3] = {0xFF6E6E6Eu, 0xFF828282u, 0xFF969696u};
  for (int k = 0; k < 3; ++k) {
    const auto& stroke = r.lines[r.lines.size() - 3 + static_cast<size_t>(k)];
    EXPECT_EQ(stroke.x1, cut);
    EXPECT_EQ(stroke.x2, cut);
    EXPECT_EQ(stroke.y1, kMid - reaches[k]);
    EXPECT_EQ(stroke.y2, kMid + reaches[k]);
    EXPECT_EQ(stroke.argb, greys[k]);
  }
}

void setResponse(EditorViews& v, const std::vector<float>& samples) {
  v.effect.engine().setImpulse(samples.data(), static_cast<int>(samples.size()));
}

TEST(ImpulseDisplayTest, BeforeAnyLoadShowsPathFlatSplitCurveBandAndMarkerInOrder) {
  RecordingRenderer r;
  EditorViews v;
  v.display->draw(&v.window);

  ASSERT_EQ(r.texts.size(), 1u) << "the path only: this processor has SSE";
  const auto& path = r.texts[0];
  EXPECT_EQ(path.text, "... empty ...");
  EXPECT_EQ(path.layout.x, 0.0f);
  EXPECT_EQ(path.layout.y, 0.0f);
  EXPECT_EQ(path.layout.width, static_cast<float>(W));
  EXPECT_EQ(path.layout.height, static_cast<float>(H));
  EXPECT_EQ(path.argb, kLightGrey);
  EXPECT_EQ(path.emSize, 10.0f);
  EXPECT_EQ(path.style, 1);
  EXPECT_EQ(path.unit, SmoothUnit::kPixel);
  EXPECT_EQ(path.family, "Microsoft Sans Serif");
  EXPECT_EQ(path.align, -1) << "no string format: left-aligned from the top";
  EXPECT_EQ(path.textHint, 4);

  const std::vector<float> silence(32768, 0.0f);
  expectCurve(r, modelCurve(silence.data(), 16384));
  for (int32_t i = 0; i < W; ++i) EXPECT_EQ(r.lines[static_cast<size_t>(i)].argb, i < 138 ? kGreen : kRed);
  expectBandAndMarker(r, 138);

  // Text, curve, band, marker: the band tints the curve, the marker lies on both.
  std::vector<std::string> expected{"text"};
  expected.insert(expected.end(), W, "line");
  expected.push_back("fill");
  expected.insert(expected.end(), 3, "line");
  EXPECT_EQ(r.order, expected);
  EXPECT_TRUE(v.display->isDirty() == false);
}

TEST(ImpulseDisplayTest, A1000SampleResponsePicksOneSampleEveryStep) {
  RecordingRenderer r;
  EditorViews v;
  // Every sample far from zero: exactly the points of columns 1 to 9 leave
  // the middle row.
  std::vector<float> dense(1000);
  for (size_t i = 0; i < dense.size(); ++i)
    dense[i] = (i % 2 ? -1.0f : 1.0f) * (0.1f + 0.0008f * static_cast<float>(i));
  setResponse(v, dense);
  v.display->draw(&v.window);
  std::vector<float> padded(dense);
  padded.resize(32768, 0.0f);
  expectCurve(r, modelCurve(padded.data(), 16384));
  for (int32_t i = 0; i < W; ++i) {
    const bool off = r.lines[static_cast<size_t>(i)].y2 != kMid;
    EXPECT_EQ(off, i >= 1 && i <= 9) << "point of column " << i;
  }

  // Spikes at exactly the picked indices reach the top edge; spikes one
  // sample beside them are never shown.
  const int32_t picked[9] = {0, 118, 237, 356, 474, 593, 712, 831, 949};
  for (int shift : {0, -1, 1}) {
    std::vector<float> spikes(1000, 0.0f);
    for (int32_t index : picked) {
      if (index + shift >= 0) spikes[static_cast<size_t>(index + shift)] = 1.0f;
    }
    setResponse(v, spikes);
    r.clearDrawing();
    v.display->draw(&v.window);
    ASSERT_EQ(r.lines.size(), static_cast<size_t>(W + 3));
    for (int32_t k = 1; k <= 9; ++k) {
      EXPECT_EQ(r.lines[static_cast<size_t>(k)].y2, shift == 0 ? 0 : kMid) << "shift " << shift << ", column " << k;
    }
  }
}

TEST(ImpulseDisplayTest, LengthAtFullAndAtZeroMovesColoursBandAndMarker) {
  RecordingRenderer r;
  EditorViews v;
  std::vector<float> noise = test_support::noise(32768, 7);
  setResponse(v, noise);

  v.effect.setParameter(2, 1.0f);
  ASSERT_EQ(v.effect.engine().lengthTaps(), 32768);
  v.display->draw(&v.window);
  expectCurve(r, modelCurve(noise.data(), 32768));
  for (int32_t i = 0; i < W; ++i) EXPECT_EQ(r.lines[static_cast<size_t>(i)].argb, kGreen);
  expectBandAndMarker(r, W);

  v.effect.setParameter(2, 0.0f);
  ASSERT_EQ(v.effect.engine().lengthTaps(), 0);
  r.clearDrawing();
  v.display->draw(&v.window);
  expectCurve(r, modelCurve(noise.data(), 0));
  for (int32_t i = 0; i < W; ++i) EXPECT_EQ(r.lines[static_cast<size_t>(i)].argb, kRed);
  expectBandAndMarker(r, 0);

  // The least length above zero: 16 taps, no whole column yet.
  v.effect.setParameter(2, 1.0f / 2048.0f);
  ASSERT_EQ(v.effect.engine().lengthTaps(), 16);
  r.clearDrawing();
  v.display->draw(&v.window);
  expectBandAndMarker(r, 0);
}

TEST(ImpulseDisplayTest, InfiniteNanAndHugeSamplesGiveDefinedRows) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float scale = -61.0f;
  // Any value the conversion meets gives a defined row offset.
  EXPECT_EQ(curveOffset(inf, scale), -1048576);
  EXPECT_EQ(curveOffset(-inf, scale), 1048576);
  EXPECT_EQ(curveOffset(nan, scale), 0);
  EXPECT_EQ(curveOffset(1e30f, scale), -1048576);
  EXPECT_EQ(curveOffset(-1e30f, scale), 1048576);

  // Through the engine, which stores non-finite samples as 0.0: those
  // columns sit on the middle row and the huge ones are held.
  RecordingRenderer r;
  EditorViews v;
  // Columns 1 to 5 show indices 0, 118, 237, 356 and 474.
  std::vector<float> bad(1000, 0.5f);
  bad[0] = inf;
  bad[118] = -inf;
  bad[237] = nan;
  bad[356] = 1e30f;
  bad[474] = -1e30f;
  setResponse(v, bad);
  v.display->draw(&v.window);
  std::vector<float> stored(bad);
  stored[0] = stored[118] = stored[237] = 0.0f;
  stored.resize(32768, 0.0f);
  expectCurve(r, modelCurve(stored.data(), 16384));
  ASSERT_GE(r.lines.size(), 7u);
  EXPECT_EQ(r.lines[1].y2, kMid);
  EXPECT_EQ(r.lines[2].y2, kMid);
  EXPECT_EQ(r.lines[3].y2, kMid);
  EXPECT_EQ(r.lines[4].y2, kMid - 1048576);
  EXPECT_EQ(r.lines[5].y2, kMid + 1048576);
  EXPECT_EQ(r.lines[6].y2, kMid + static_cast<int32_t>(0.5f * scale));
}

TEST(ImpulseDisplayTest, WithoutSseTheWarningTakesTheBottomLineBeforeTheCurve) {
  RecordingRenderer r;
  EditorViews v;
  {
    test_support::ScopedProcessor noSse(test_support::FakeCpuProbe::fpuAndCmovOnly());
    v.display->draw(&v.window);
  }
  ASSERT_EQ(r.texts.size(), 2u);
  const auto& warning = r.texts[1];
  EXPECT_EQ(warning.text, "Incompatible CPU - no SSE !");
  EXPECT_EQ(warning.layout.x, 0.0f);
  EXPECT_EQ(warning.layout.y, static_cast<float>(H - 14));
  EXPECT_EQ(warning.layout.width, static_cast<float>(W));
  EXPECT_EQ(warning.argb, 0xFFC80000u);
  EXPECT_EQ(warning.emSize, 12.0f);
  EXPECT_EQ(warning.style, 1);
  EXPECT_EQ(warning.align, -1);
  EXPECT_EQ(warning.textHint, 4);
  ASSERT_GE(r.order.size(), 3u);
  EXPECT_EQ(r.order[0], "text");
  EXPECT_EQ(r.order[1], "text");
  EXPECT_EQ(r.order[2], "line") << "the curve lies over the warning";

  r.clearDrawing();
  v.display->draw(&v.window);
  EXPECT_EQ(r.texts.size(), 1u) << "the real processor has SSE again";
}

TEST(ImpulseDisplayTest, RightClickSetsTheLengthAtTheColumnAndLeftClickDoesNothing) {
  RecordingRenderer r;
  EditorViews v;
  v.effect.setParameter(2, 0.25f);

  CPoint where(14 + 138, 150);
  v.display->mouse(&v.window, where, kLButton);
  EXPECT_EQ(v.effect.getParameter(2), 0.25f);
  EXPECT_TRUE(v.editor.updates.empty());

  v.display->mouse(&v.window, where, kRButton | kShift);
  EXPECT_EQ(v.effect.getParameter(2), 0.5f);
  ASSERT_EQ(v.editor.updates.size(), 1u);
  EXPECT_EQ(v.editor.updates[0].first, 2);
  EXPECT_EQ(v.editor.updates[0].second, 0.5f);
  EXPECT_EQ(v.effect.engine().lengthTaps(), 16384);

  CPoint left(14, 120);
  v.display->mouse(&v.window, left, kRButton);
  EXPECT_EQ(v.effect.getParameter(2), 0.0f);
  CPoint right(290, 120);
  v.display->mouse(&v.window, right, kRButton);
  EXPECT_EQ(v.effect.getParameter(2), 1.0f);
}

TEST(ImpulseDisplayTest, EachPassMakesItsObjectsOnTheSameOffscreenAndDeletesThemInReverse) {
  RecordingRenderer r;
  EditorViews v;
  v.display->draw(&v.window);
  v.display->draw(&v.window);

  std::vector<const RecordingRenderer::Object*> graphics;
  for (uintptr_t h : r.created) {
    if (r.objects.at(h).kind == "graphics") graphics.push_back(&r.objects.at(h));
  }
  ASSERT_EQ(graphics.size(), 2u);
  EXPECT_NE(graphics[0]->deviceContext, nullptr);
  EXPECT_NE(graphics[0]->deviceHandle, nullptr);
  EXPECT_EQ(graphics[0]->deviceHandle, graphics[1]->deviceHandle) << "one offscreen, reused";
  EXPECT_EQ(graphics[0]->interpolation, 2);
  EXPECT_EQ(graphics[0]->smoothing, 2);

  // Everything made is deleted, the last made first.
  ASSERT_EQ(r.deletedInOrder.size(), r.created.size());
  const size_t perPass = r.created.size() / 2;
  for (size_t pass = 0; pass < 2; ++pass) {
    for (size_t k = 0; k < perPass; ++k) {
      EXPECT_EQ(r.deletedInOrder[pass * perPass + k], r.created[pass * perPass + perPass - 1 - k]);
    }
  }
  for (const auto& [handle, o] : r.objects) {
    if (o.kind == "pen") {
      EXPECT_EQ(o.width, 1.0f);
      EXPECT_EQ(o.unit, SmoothUnit::kWorld);
    }
  }
}

}  // namespace

TEST(ImpulseDisplayTest, APaintWhileAnotherThreadLoadsShowsOneWholeResponse) {
  // Two responses, one above the middle row and one below, over the first
  // 2048 samples (columns 1 to 17; short, so that loads stay quick under
  // emulation): a paint that mixed them would show both sides.
  RecordingRenderer r;
  EditorViews v;
  constexpr int32_t kShownColumns = 18;
  const std::vector<float> above(2048, 0.5f);
  const std::vector<float> below(2048, -0.5f);
  std::atomic<bool> stop{false};
  std::atomic<bool> loadedOnce{false};
  std::thread loader([&] {
    for (int k = 0; !stop.load(); ++k) {
      setResponse(v, k % 2 ? above : below);
      loadedOnce = true;
      // Leaves the painter room to take the writers' lock between loads.
      std::this_thread::yield();
    }
  });
  while (!loadedOnce.load()) std::this_thread::yield();
  const int paints = test_support::raceRoundsFor(50);
  for (int paint = 0; paint < paints; ++paint) {
    r.clearDrawing();
    v.display->draw(&v.window);
    ASSERT_GE(r.lines.size(), static_cast<size_t>(W));
    int rowsAbove = 0;
    int rowsBelow = 0;
    for (int32_t i = 1; i < kShownColumns; ++i) {
      const int32_t row = r.lines[static_cast<size_t>(i)].y2;
      rowsAbove += row < kMid;
      rowsBelow += row > kMid;
    }
    EXPECT_EQ(rowsAbove + rowsBelow, kShownColumns - 1) << "paint " << paint;
    EXPECT_TRUE(rowsAbove == 0 || rowsBelow == 0)
        << "paint " << paint << ": " << rowsAbove << " above, " << rowsBelow << " below";
  }
  stop = true;
  loader.join();
}
