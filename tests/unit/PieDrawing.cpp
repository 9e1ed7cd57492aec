#include "engine/PieDrawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/PieScene.h"

namespace kd {
namespace {

using test::Call;
using test::DeviceCall;
using test::PieScene;

constexpr double kPi = 3.14159265358979323846;

TRect R(int l, int t, int r, int b) { return MakeRect(l, t, r, b); }

void Add(TPieSeries& s, std::initializer_list<double> values) {
  for (double v : values) s.AddSlice(v);
}

// ---- bounds

TEST(PieBounds, CircledKeepsThePieRoundAndCentred) {
  PieScene scene(R(0, 0, 400, 200));
  scene.series.Marks().SetVisible(false);
  scene.series.SetCircled(true);
  PreparePieBounds(scene.series, scene.context);
  const TPieGeometry& g = scene.Geometry();
  EXPECT_EQ(100, g.RadiusX);
  EXPECT_EQ(100, g.RadiusY);
  EXPECT_EQ(R(100, 0, 300, 200), g.PieBounds);
  EXPECT_EQ(200, g.PieCenterX);
}

TEST(PieBounds, CircledFollowsThePixelAspectOfTheDisplay) {
  PieScene scene(R(0, 0, 400, 200));
  scene.series.Marks().SetVisible(false);
  scene.series.SetCircled(true);
  // 1024 x 768 pixels on 320 x 200 mm: pixels 0.8333 times as wide as high.
  scene.device.screen = TScreenInfo{1024, 768, 320, 200};
  PreparePieBounds(scene.series, scene.context);
  EXPECT_EQ(83, scene.Geometry().RadiusX);
  EXPECT_EQ(100, scene.Geometry().RadiusY);
}

TEST(PieBounds, CustomRadiusIsNotClipped) {
  PieScene scene(R(0, 0, 400, 200));
  scene.series.Marks().SetVisible(false);
  scene.series.SetCustomXRadius(50);
  PreparePieBounds(scene.series, scene.context);
  EXPECT_EQ(50, scene.Geometry().RadiusX);
  EXPECT_EQ(100, scene.Geometry().PieWidth);
  EXPECT_EQ(100, scene.Geometry().RadiusY);
  scene.series.SetCustomYRadius(300);
  PreparePieBounds(scene.series, scene.context);
  EXPECT_EQ(R(150, -200, 250, 400), scene.Geometry().PieBounds);
}

TEST(PieBounds, MarksTakeRoomForTheirWidestLine) {
  PieScene scene(R(0, 0, 400, 300));
  scene.series.AddSlice(1, "Tea");
  scene.series.AddSlice(1, "A\rLongest");  // 7 characters: 42 pixels
  PreparePieBounds(scene.series, scene.context);
  // Arrow 8 + frame 2 x 1 = 10; "W" is 6 x 13 pixels.
  EXPECT_EQ(R(6 + 42 + 10, 23, 400 - 58, 300 - 23), scene.Geometry().PieBounds);
}

TEST(PieBounds, TooNarrowDrawsNothing) {
  for (bool view3D : {false, true}) {
    PieScene scene(R(0, 0, 5, 200), view3D, 10);
    scene.series.Marks().SetVisible(false);
    Add(scene.series, {1, 2});
    scene.PaintSlices();
    EXPECT_EQ(4, scene.Geometry().PieWidth);
    EXPECT_EQ(0, scene.device.Count(Call::Pie));
    EXPECT_EQ(0, scene.device.Count(Call::Polygon));
  }
}

// ---- flat slices

std::vector<DeviceCall> FlatPies(std::initializer_list<double> values, int rotation = 0) {
  PieScene scene(R(0, 0, 200, 200));
  scene.series.Marks().SetVisible(false);
  scene.series.SetRotationAngle(rotation);
  Add(scene.series, values);
  scene.PaintSlices();
  return scene.device.Of(Call::Pie);
}

TEST(FlatSlices, SectorsRunCounterClockwiseFromThreeOClock) {
  const auto pies = FlatPies({1, 1, 2});
  ASSERT_EQ(3u, pies.size());
  EXPECT_EQ(R(0, 0, 200, 200), pies[0].rect);
  EXPECT_EQ((TPoint{200, 100}), pies[0].points[0]);
  EXPECT_EQ((TPoint{100, 0}), pies[0].points[1]);
  EXPECT_EQ((TPoint{100, 0}), pies[1].points[0]);
  EXPECT_EQ((TPoint{0, 100}), pies[1].points[1]);
  EXPECT_EQ((TPoint{0, 100}), pies[2].points[0]);
  EXPECT_EQ((TPoint{200, 100}), pies[2].points[1]);
  EXPECT_EQ(TPieSeries::PaletteColor(2), pies[2].state.brush.color);
  EXPECT_EQ(bsSolid, pies[2].state.brush.style);
  EXPECT_EQ(clBlack, pies[2].state.pen.color);
}

TEST(FlatSlices, ASingleSliceIsTheWholeEllipse) {
  const auto pies = FlatPies({7});
  ASSERT_EQ(1u, pies.size());
  EXPECT_EQ(pies[0].points[0], pies[0].points[1]);
}

TEST(FlatSlices, ASliceWithinOnePixelIsCoveredByTheNext) {
  const auto pies = FlatPies({1000, 1e-6, 1000});
  ASSERT_EQ(2u, pies.size());
  EXPECT_EQ(pies[0].points[1], pies[1].points[0]);
  EXPECT_EQ(TPieSeries::PaletteColor(2), pies[1].state.brush.color);
}

TEST(FlatSlices, OneSliceHoldingEverythingAmongEmptyOnes) {
  const auto pies = FlatPies({0, 5, 0});
  ASSERT_EQ(1u, pies.size());
  EXPECT_EQ(pies[0].points[0], pies[0].points[1]);
  EXPECT_EQ(TPieSeries::PaletteColor(1), pies[0].state.brush.color);
}

TEST(FlatSlices, GroupedSlicesAreNotDrawn) {
  PieScene scene(R(0, 0, 200, 200));
  scene.series.Marks().SetVisible(false);
  Add(scene.series, {50, 45, 3, 2});
  scene.series.SetOtherSlice(TPieOtherSlice{poBelowPercent, 10, "Other"});
  scene.PaintSlices();
  scene.PaintSlices();
  const auto pies = scene.device.Of(Call::Pie);
  ASSERT_EQ(6u, pies.size());  // three a paint
  EXPECT_EQ(TPieSeries::PaletteColor(4), pies[2].state.brush.color);
}

TEST(FlatSlices, ExplodedSliceMovesOutAndThePieShrinks) {
  PieScene scene(R(0, 0, 200, 200));
  scene.series.Marks().SetVisible(false);
  Add(scene.series, {1, 1, 2});
  scene.series.SetExplodedSlice(2, 30);  // the lower half
  scene.PaintSlices();
  const TPieGeometry& g = scene.Geometry();
  EXPECT_TRUE(g.HasExploded);
  // 30 % of the radius 100 straight down: 15 pixels off top and bottom.
  EXPECT_EQ(R(0, 15, 200, 185), g.PieBounds);
  EXPECT_EQ((TPoint{0, -26}), SliceExplodeOffset(scene.series, 2));  // 30 % of 85, halves to even
  EXPECT_EQ((TPoint{0, 0}), SliceExplodeOffset(scene.series, 0));
  const auto pies = scene.device.Of(Call::Pie);
  ASSERT_EQ(3u, pies.size());
  EXPECT_EQ(R(0, 15, 200, 185), pies[0].rect);
  EXPECT_EQ(R(0, 41, 200, 211), pies[2].rect);
  EXPECT_EQ((TPoint{0, 126}), pies[2].points[0]);
  EXPECT_EQ((TPoint{130, 110}), ExplodedRadii(scene.series, 2));
  EXPECT_EQ((TPoint{100, 85}), ExplodedRadii(scene.series, 0));
}

TEST(FlatSlices, PatternsHatchEachSliceInTurn) {
  PieScene scene(R(0, 0, 200, 200));
  scene.series.Marks().SetVisible(false);
  scene.series.SetUsePatterns(true);
  for (int i = 0; i < 7; ++i) scene.series.AddSlice(1);
  scene.PaintSlices();
  const auto pies = scene.device.Of(Call::Pie);
  ASSERT_EQ(7u, pies.size());
  const TBrushStyle expected[7] = {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal,
                                   bsCross,      bsDiagCross, bsHorizontal};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(expected[i], pies[i].state.brush.style) << i;
  // Palette entry 4 is white, like the background: its hatch turns black.
  EXPECT_EQ(clBlack, pies[4].state.brush.color);
  EXPECT_EQ(bmOpaque, pies[4].state.backMode);
  EXPECT_EQ(clWhite, pies[4].state.backColor);
  EXPECT_EQ(TPieSeries::PaletteColor(1), pies[1].state.brush.color);
}

TEST(FlatSlices, NullSliceKeepsItsRoomWithoutFill) {
  PieScene scene(R(0, 0, 200, 200));
  scene.series.Marks().SetVisible(false);
  scene.series.AddSlice(1);
  scene.series.AddSlice(1, "", clNone);
  scene.PaintSlices();
  const auto pies = scene.device.Of(Call::Pie);
  ASSERT_EQ(2u, pies.size());
  EXPECT_EQ(bsClear, pies[1].state.brush.style);
  EXPECT_NE(clNone, pies[1].state.brush.color);
  EXPECT_EQ((TPoint{0, 100}), pies[1].points[0]);
}

// ---- 3D slices

TEST(Slices3D, WithoutExplodeSlicesComeInOrder) {
  PieScene scene(R(0, 0, 400, 300), true, 24);
  scene.series.Marks().SetVisible(false);
  Add(scene.series, {1, 2, 3, 4});
  scene.PaintSlices();
  EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), scene.Geometry().DrawOrder);
  EXPECT_EQ(0, scene.device.Count(Call::Pie));
  EXPECT_GE(scene.device.Count(Call::Polygon), 4);
}

// With one slice pulled out, slices are painted from the back of the pie to
// the front, for any number of slices.
TEST(Slices3D, ExplodedPieIsPaintedBackToFrontForManySlices) {
  constexpr int n = 2000;
  PieScene scene(R(0, 0, 800, 600), true, 24);
  scene.series.Marks().SetVisible(false);
  scene.series.SetDark3D(false);  // every face of a slice in its own colour
  for (int i = 0; i < n; ++i) scene.series.AddSlice(1, "", RGBColor(i & 0xFF, i >> 8, 7));
  scene.series.SetExplodedSlice(0, 10);
  scene.PaintSlices();

  const std::vector<int>& order = scene.Geometry().DrawOrder;
  ASSERT_EQ(static_cast<size_t>(n), order.size());
  std::vector<int> sorted = order;
  std::sort(sorted.begin(), sorted.end());
  for (int i = 0; i < n; ++i) ASSERT_EQ(i, sorted[i]) << "not a permutation";
  for (int k = 1; k < n; ++k)
    ASSERT_LE(SliceDepthKey(scene.series, order[k - 1]), SliceDepthKey(scene.series, order[k]));
  // The slice pointing straight up is first, the one pointing down last.
  EXPECT_NEAR(n / 4, order.front(), 1);
  EXPECT_NEAR(3 * n / 4, order.back(), 1);

  // The device saw the slices in that order; a slice narrower than a pixel
  // may be left to the next, which draws over it.
  std::vector<TColor> painted;
  for (const DeviceCall& c : scene.device.Of(Call::Polygon))
    if (painted.empty() || painted.back() != c.state.brush.color) painted.push_back(c.state.brush.color);
  EXPECT_GT(painted.size(), static_cast<size_t>(n / 2));
  int k = 0;
  for (TColor c : painted) {
    while (k < n && scene.series.SliceColor(order[k]) != c) ++k;
    ASSERT_LT(k, n) << "painted out of order";
    ++k;
  }
}

// ---- points and angles

TEST(PieHitTest, FindsTheSliceUnderAPoint) {
  PieScene scene(R(0, 0, 200, 200));
  scene.series.Marks().SetVisible(false);
  Add(scene.series, {1, 1, 2});
  scene.PaintSlices();
  const TPieSeries& s = scene.series;
  EXPECT_EQ(0, SliceAtPoint(s, scene.canvas, 150, 50));
  EXPECT_EQ(1, SliceAtPoint(s, scene.canvas, 50, 50));
  EXPECT_EQ(2, SliceAtPoint(s, scene.canvas, 100, 180));
  EXPECT_EQ(-1, SliceAtPoint(s, scene.canvas, 195, 5));  // box corner, outside the ellipse
  EXPECT_EQ(-1, SliceAtPoint(s, scene.canvas, 300, 300));
}

TEST(PieHitTest, FollowsRotationAndExplodedSlices) {
  PieScene scene(R(0, 0, 200, 200));
  scene.series.Marks().SetVisible(false);
  Add(scene.series, {1, 1, 2});
  scene.series.SetRotationAngle(90);
  scene.series.SetExplodedSlice(2, 30);
  scene.PaintSlices();
  // Rotated by 90 degrees the upper right quarter is the end of slice 2.
  EXPECT_EQ(2, SliceAtPoint(scene.series, scene.canvas, 150, 80));
  EXPECT_EQ(1, SliceAtPoint(scene.series, scene.canvas, 50, 150));
}

TEST(PieHitTest, GroupedSlicesAreNeverHit) {
  PieScene scene(R(0, 0, 200, 200));
  scene.series.Marks().SetVisible(false);
  Add(scene.series, {50, 1, 49});
  scene.series.SetOtherSlice(TPieOtherSlice{poBelowValue, 2, "Other"});
  scene.PaintSlices();
  // Slice 1 has an empty range at the end of slice 0; the point on that ray
  // belongs to slice 0 or 2, never to 1.
  EXPECT_NE(1, SliceAtPoint(scene.series, scene.canvas, 0, 99));
  EXPECT_EQ(3, SliceAtPoint(scene.series, scene.canvas, 199, 101));  // the other slice
}

TEST(PieAngles, PointAndAngleConvertBothWays) {
  PieScene scene(R(0, 0, 200, 100));
  scene.series.Marks().SetVisible(false);
  scene.series.AddSlice(1);
  scene.PaintSlices();
  const TPieSeries& s = scene.series;
  EXPECT_DOUBLE_EQ(kPi / 2, PointToSliceAngle(s, 100, 10));
  EXPECT_DOUBLE_EQ(3 * kPi / 2, PointToSliceAngle(s, 100, 90));
  EXPECT_DOUBLE_EQ(kPi / 4, PointToSliceAngle(s, 150, 25));  // the ellipse's own 45 degrees
  EXPECT_EQ((TPoint{100, 0}), SliceAngleToPoint(s, kPi / 2, 100, 50));
  scene.series.SetRotationAngle(90);
  EXPECT_DOUBLE_EQ(0, PointToSliceAngle(s, 100, 10));
  EXPECT_DOUBLE_EQ(3 * kPi / 2, PointToSliceAngle(s, 200, 50));
  EXPECT_EQ((TPoint{0, 50}), SliceAngleToPoint(s, kPi / 2, 100, 50));
}

}  // namespace
}  // namespace kd
