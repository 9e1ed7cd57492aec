// The 3D canvas: projection numbers, the inverse, the 3D pie slice's faces
// and bands, darkening, and the lazy hand-over of state to the device.
#include "engine/Canvas3D.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/RecordingDevice.h"

namespace kd {
namespace {

using test::Call;
using test::RecordingDevice;

constexpr double kPi = 3.14159265358979323846;

TView3DOptions PieView() {
  TView3DOptions v;
  v.Elevation = 315;
  v.Rotation = 360;
  v.Perspective = 0;
  v.Orthogonal = false;
  return v;
}

// A canvas set up like a pie paint: chart rectangle (0,0,200,200), depth 20.
TChartCanvas3D PieCanvas(TView3DOptions view = PieView()) {
  TChartCanvas3D canvas;
  canvas.SetupView(view, true);
  canvas.CenterView(20, MakeRect(0, 0, 200, 200));
  return canvas;
}

// Every coordinate goes through RoundEven: it must round exactly as the
// library's nearbyint does (halves to even), near its limits as well.
TEST(Canvas3DRounding, RoundEvenMatchesNearbyint) {
  const double big = 2147483647.0;
  for (double v : {0.0, -0.0, 0.5, 1.5, 2.5, -0.5, -1.5, -2.5, 0.49999999999999994, 2.5000000000000004,
                   -2.4999999999999996, 1e-300, 123456.5, -123457.5, 1073741823.5, big - 0.5, big - 1.5,
                   -big + 0.5, -big - 0.5, -big - 1, 3.7, -3.7, 99.99, 1e6 + 0.25}) {
    EXPECT_EQ(RoundEven(v), static_cast<int>(std::nearbyint(v))) << v;
    EXPECT_EQ(RoundEven(v + 1e-9), static_cast<int>(std::nearbyint(v + 1e-9))) << v;
  }
}

TEST(Canvas3DProjection, PieViewCoefficients) {
  TChartCanvas3D canvas = PieCanvas();
  const auto& c = canvas.Coefs();
  EXPECT_DOUBLE_EQ(c.a11, 1.0);
  EXPECT_NEAR(c.a12, 0.0, 1e-12);
  EXPECT_NEAR(c.a13, 0.0, 1e-12);
  EXPECT_NEAR(c.a21, 0.0, 1e-12);
  EXPECT_NEAR(c.a22, std::sqrt(2.0) / 2, 1e-12);
  EXPECT_NEAR(c.a23, -std::sqrt(2.0) / 2, 1e-12);
  EXPECT_EQ(canvas.ProjectionCenterX(), 100);
  EXPECT_EQ(canvas.DepthCenter(), 10);
  EXPECT_DOUBLE_EQ(canvas.PerspectiveFactor(), 0.0);
}

TEST(Canvas3DProjection, FlatViewReturnsInput) {
  TChartCanvas3D canvas;
  canvas.SetupView(PieView(), false);
  canvas.CenterView(0, MakeRect(0, 0, 200, 200));
  EXPECT_EQ(canvas.Project3D(37, -5, 50), (TPoint{37, -5}));
  EXPECT_DOUBLE_EQ(canvas.ZoomScale(), 1.0);
  EXPECT_FALSE(canvas.Is3D());
}

TEST(Canvas3DProjection, PieViewFlattensAndLiftsDepth) {
  TChartCanvas3D canvas = PieCanvas();
  // 100 pixels below the centre at the depth centre: 71 below the origin.
  EXPECT_EQ(canvas.Project3D(100, 200, 10), (TPoint{100, 171}));
  // Greater depth moves up the screen.
  EXPECT_EQ(canvas.Project3D(100, 100, 20), (TPoint{100, 93}));
  EXPECT_EQ(canvas.Project3D(150, 100, 10), (TPoint{150, 100}));
}

TEST(Canvas3DProjection, ZoomAndOffsets) {
  TView3DOptions view = PieView();
  view.Zoom = 50;
  view.HorizOffset = 20;
  view.VertOffset = -7;
  TChartCanvas3D canvas = PieCanvas(view);
  EXPECT_EQ(canvas.ScreenOriginX(), 120);
  EXPECT_EQ(canvas.ScreenOriginY(), 93);
  EXPECT_EQ(canvas.Project3D(200, 100, 10), (TPoint{170, 93}));
  EXPECT_EQ(canvas.Project3D(100, 200, 10), (TPoint{120, 93 + 35}));
  EXPECT_EQ(canvas.ZoomedFontSize(8), 4);
  EXPECT_EQ(canvas.ZoomedFontSize(1), 1);  // never below 1
}

TEST(Canvas3DProjection, EdgeOnElevationKeepsFloorAndInverse) {
  TView3DOptions view = PieView();
  view.Elevation = 270;
  TChartCanvas3D canvas = PieCanvas(view);
  EXPECT_DOUBLE_EQ(canvas.Coefs().a22, 0.00001);
  // The top face collapses: every y of a face lands on one line.
  EXPECT_EQ(canvas.Project3D(100, 0, 20).y, canvas.Project3D(100, 200, 20).y);
  const TPoint back = canvas.Unproject3D(100, 100, 10);
  EXPECT_EQ(back.x, 100);
}

TEST(Canvas3DProjection, OrthogonalMovesDepthRightAndUp) {
  TView3DOptions view = PieView();
  view.Orthogonal = true;
  TChartCanvas3D canvas = PieCanvas(view);
  EXPECT_TRUE(canvas.IsOrthogonal());
  EXPECT_EQ(canvas.Project3D(100, 100, 15), (TPoint{115, 85}));
  EXPECT_EQ(canvas.Unproject3D(115, 85, 15), (TPoint{100, 100}));
}

TEST(Canvas3DProjection, UnprojectInvertsPieView) {
  TChartCanvas3D canvas = PieCanvas();
  for (int y = 0; y <= 200; y += 25) {
    for (int x = 0; x <= 200; x += 25) {
      const TPoint p = canvas.Project3D(x, y, 0);
      const TPoint back = canvas.Unproject3D(p.x, p.y, 0);
      EXPECT_EQ(back.x, x);
      EXPECT_NEAR(back.y, y, 1);
    }
  }
}

TEST(Canvas3DProjection, FrontPlaneSuspendsProjection) {
  TChartCanvas3D canvas = PieCanvas();
  canvas.BeginFrontPlane();
  EXPECT_EQ(canvas.Project3D(100, 200, 20), (TPoint{100, 200}));
  canvas.EndFrontPlane();
  EXPECT_TRUE(canvas.Is3D());
  EXPECT_NE(canvas.Project3D(100, 200, 20), (TPoint{100, 200}));
}

TEST(Canvas3DColors, DarkenFloorsAtZeroAndResolvesSystemColours) {
  RecordingDevice dev;
  TChartCanvas3D canvas;
  canvas.SetDevice(&dev);
  EXPECT_EQ(canvas.DarkenColor(RGBColor(200, 20, 32), 32), RGBColor(168, 0, 0));
  EXPECT_EQ(canvas.DarkenColor(clBlack, 32), clBlack);
  EXPECT_EQ(canvas.DarkenColor(clBtnFace, 32), RGBColor(0xA0, 0xA0, 0xA0));
}

// ---------------------------------------------------------------- 3D slices

struct SliceRun {
  RecordingDevice dev;
  TChartCanvas3D canvas = PieCanvas();
  SliceRun() {
    canvas.SetDevice(&dev);
    canvas.SetBrush(TChartBrush{RGBColor(128, 128, 128), bsSolid});
  }
  std::vector<test::DeviceCall> Draw(double a0, double a1, bool dark = true, bool radial = false,
                                     int r = 50) {
    dev.Clear();
    canvas.DrawPieSlice3D(100, 100, r, r, 0, 20, a0, a1, dark, radial);
    return dev.Of(Call::Polygon);
  }
};

TEST(Canvas3DSlice, ArcPointCountFollowsSpan) {
  SliceRun run;
  // 5 degrees: 2 arc points; the top face is the centre and those two.
  auto polys = run.Draw(0, 5 * kPi / 180);
  ASSERT_GE(polys.size(), 1u);
  EXPECT_EQ(polys[0].points.size(), 3u);
  // A full circle: 32 arc points.
  polys = run.Draw(0, 2 * kPi);
  EXPECT_EQ(polys[0].points.size(), 33u);
  EXPECT_EQ(polys[0].points[0], run.canvas.Project3D(100, 100, 20));
}

TEST(Canvas3DSlice, BackHalfHasNoRimFrontHalfHasOne) {
  SliceRun run;
  auto back = run.Draw(0, kPi);
  EXPECT_EQ(back.size(), 1u);  // top face only

  auto front = run.Draw(kPi, 2 * kPi);
  ASSERT_EQ(front.size(), 2u);
  const int n = 20;  // 180 degrees: 18 + 2 points
  EXPECT_EQ(front[0].points.size(), static_cast<size_t>(n + 1));
  const auto& rim = front[1].points;
  ASSERT_EQ(rim.size(), static_cast<size_t>(2 * n));
  // Top arc left to right, then the bottom arc back.
  EXPECT_EQ(rim.front(), run.canvas.Project3D(50, 100, 20));
  EXPECT_EQ(rim[n - 1], run.canvas.Project3D(150, 100, 20));
  EXPECT_EQ(rim[n], run.canvas.Project3D(150, 100, 0));
  EXPECT_EQ(rim.back(), run.canvas.Project3D(50, 100, 0));
}

TEST(Canvas3DSlice, DarkSidesDarkenOnlyTheRim) {
  SliceRun run;
  auto dark = run.Draw(kPi, 2 * kPi, true);
  ASSERT_EQ(dark.size(), 2u);
  EXPECT_EQ(dark[0].state.brush.color, RGBColor(128, 128, 128));
  EXPECT_EQ(dark[1].state.brush.color, RGBColor(96, 96, 96));
  auto plain = run.Draw(kPi, 2 * kPi, false);
  EXPECT_EQ(plain[1].state.brush.color, RGBColor(128, 128, 128));
  // The canvas keeps the slice's own colour afterwards.
  EXPECT_EQ(run.canvas.Brush().color, RGBColor(128, 128, 128));
}

TEST(Canvas3DSlice, HatchedSlicesDarkenTheBackground) {
  SliceRun run;
  run.canvas.SetSliceBrush(clRed, bsCross, clWhite);
  auto polys = run.Draw(kPi, 2 * kPi, true);
  ASSERT_EQ(polys.size(), 2u);
  EXPECT_EQ(polys[1].state.brush, (TChartBrush{clRed, bsCross}));
  EXPECT_EQ(polys[1].state.backColor, RGBColor(223, 223, 223));
  EXPECT_EQ(polys[0].state.backColor, clWhite);
}

TEST(Canvas3DSlice, WrappingSliceGetsTwoRimBands) {
  SliceRun run;
  // From six o'clock once around: right rim rises, back falls, left rises.
  auto polys = run.Draw(1.5 * kPi, 3.5 * kPi);
  EXPECT_EQ(polys.size(), 3u);
}

TEST(Canvas3DSlice, RunTurningAtLastPointStillGetsItsRim) {
  SliceRun run;
  // 180 to about 371.5 degrees on a large radius: the arc rises up to the
  // second last point and turns at the last.
  auto polys = run.Draw(kPi, 2 * kPi + 0.2, true, false, 1000);
  ASSERT_EQ(polys.size(), 2u);
  const size_t n = polys[0].points.size() - 1;
  ASSERT_LT(polys[0].points[n].x, polys[0].points[n - 1].x);  // the turn is real
  EXPECT_EQ(polys[1].points.size(), 2 * (n - 1));
}

TEST(Canvas3DSlice, RadialFacesOnlyWhenAskedAndFacingTheViewer) {
  SliceRun run;
  // Upper right quadrant: the face along the start angle shows.
  auto polys = run.Draw(0, kPi / 2, true, true);
  ASSERT_EQ(polys.size(), 2u);
  ASSERT_EQ(polys[0].points.size(), 4u);
  EXPECT_EQ(polys[0].points[0], run.canvas.Project3D(100, 100, 20));
  EXPECT_EQ(polys[0].points[1], run.canvas.Project3D(150, 100, 20));
  EXPECT_EQ(polys[0].points[2], run.canvas.Project3D(150, 100, 0));
  EXPECT_EQ(polys[0].points[3], run.canvas.Project3D(100, 100, 0));
  EXPECT_EQ(polys[0].state.brush.color, RGBColor(96, 96, 96));
  EXPECT_EQ(polys[1].state.brush.color, RGBColor(128, 128, 128));
  // Upper left quadrant: the face along the end angle.
  polys = run.Draw(kPi / 2, kPi, true, true);
  ASSERT_EQ(polys.size(), 2u);
  EXPECT_EQ(polys[0].points[1], run.canvas.Project3D(50, 100, 20));
  // Without the request no faces at all.
  EXPECT_EQ(run.Draw(0, kPi / 2, true, false).size(), 1u);
}

// ---------------------------------------------------------------- state

TEST(Canvas3DState, DeviceHearsOnlyOfChangesADrawingNeeds) {
  RecordingDevice dev;
  TChartCanvas3D canvas;
  canvas.SetDevice(&dev);
  TChartPen pen;
  pen.color = clRed;
  canvas.SetPen(pen);
  canvas.SetPen(pen);
  canvas.SetFont(FontData());
  EXPECT_TRUE(dev.calls.empty());
  canvas.Line(0, 0, 5, 5);
  EXPECT_EQ(dev.Count(Call::SetPen), 1);
  EXPECT_EQ(dev.Count(Call::SetFont), 0);  // a line needs no font
  canvas.Line(0, 0, 5, 5);
  EXPECT_EQ(dev.Count(Call::SetPen), 1);
  EXPECT_EQ(dev.Of(Call::Line)[1].state.pen.color, clRed);
  // A new device hears the whole state again.
  RecordingDevice other;
  canvas.SetDevice(&other);
  canvas.Line(0, 0, 1, 1);
  EXPECT_EQ(other.Count(Call::SetPen), 1);
}

TEST(Canvas3DState, SliceBrushHatchRules) {
  RecordingDevice dev;
  TChartCanvas3D canvas;
  canvas.SetDevice(&dev);
  canvas.SetSliceBrush(clWhite, bsFDiagonal, clWhite);
  EXPECT_EQ(canvas.Brush(), (TChartBrush{clBlack, bsFDiagonal}));
  EXPECT_EQ(canvas.BackMode(), bmOpaque);
  EXPECT_EQ(canvas.BackColor(), clWhite);
  canvas.SetSliceBrush(clBlack, bsCross, clBlack);
  EXPECT_EQ(canvas.Brush().color, clWhite);
  canvas.SetSliceBrush(clWhite, bsSolid, clWhite);
  EXPECT_EQ(canvas.Brush(), (TChartBrush{clWhite, bsSolid}));
  EXPECT_EQ(canvas.BackMode(), bmTransparent);
}

TEST(Canvas3DState, NoDeviceDrawsAndMeasuresNothing) {
  TChartCanvas3D canvas;
  EXPECT_EQ(canvas.TextWidth("abc"), 0);
  canvas.Rectangle(MakeRect(0, 0, 5, 5));  // must not crash
  EXPECT_EQ(canvas.ResolveColor(clBtnFace), clBlack);
}

}  // namespace
}  // namespace kd
