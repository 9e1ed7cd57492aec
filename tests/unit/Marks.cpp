#include "engine/Marks.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "engine/TextLocale.h"
#include "support/PieScene.h"

namespace kd {
namespace {

using test::Call;
using test::DeviceCall;
using test::PieScene;

TRect R(int l, int t, int r, int b) { return MakeRect(l, t, r, b); }

// ---- texts

std::string Text(const TPieSeries& s, int i, TSeriesMarksStyle style,
                 TLegendTextStyle legend = ltsLeftValue) {
  const_cast<TPieSeries&>(s).Marks().SetStyle(style);
  return SliceMarkText(s, i, legend);
}

TEST(MarkTexts, PercentagesOfTheAbsoluteTotal) {
  TPieSeries s;
  s.AddSlice(1);
  s.AddSlice(-3);
  EXPECT_EQ("25 %", Text(s, 0, smsPercent));
  EXPECT_EQ("75 %", Text(s, 1, smsPercent));
  EXPECT_EQ("25 % of 4", Text(s, 0, smsPercentTotal));
  EXPECT_EQ("75 % of 4", Text(s, 1, smsPercentTotal));
}

TEST(MarkTexts, LabelsFallBackToTheValue) {
  TPieSeries s;
  s.AddSlice(1234.5, "Tea");
  s.AddSlice(3);
  EXPECT_EQ("Tea 1,234.5", Text(s, 0, smsLabelValue));
  EXPECT_EQ("Tea", Text(s, 0, smsLabel));
  EXPECT_EQ("3", Text(s, 1, smsLabel));
  EXPECT_EQ("1,234.5", Text(s, 0, smsValue));
  EXPECT_EQ("Tea 99.76 %", Text(s, 0, smsLabelPercent));
  EXPECT_EQ("3 0.24 % of 1,237.5", Text(s, 1, smsLabelPercentTotal));
  EXPECT_EQ("0", Text(s, 0, smsXValue));
  EXPECT_EQ("1", Text(s, 1, smsXValue));
  EXPECT_EQ("", Text(s, 0, static_cast<TSeriesMarksStyle>(9)));
}

TEST(MarkTexts, AllZeroReadsAHundredPercent) {
  TPieSeries s;
  s.AddSlice(0);
  s.AddSlice(0);
  EXPECT_EQ("100 %", Text(s, 1, smsPercent));
  EXPECT_EQ("100 % of 0", Text(s, 1, smsPercentTotal));
}

TEST(MarkTexts, LegendStyleFollowsTheLegend) {
  TPieSeries s;
  s.AddSlice(10, "Tea");
  s.AddSlice(30, "Mi\rlk");
  EXPECT_EQ("Tea 25 %", Text(s, 0, smsLegend, ltsRightPercent));
  EXPECT_EQ("30 Mi lk", Text(s, 1, smsLegend, ltsLeftValue));
}

TEST(MarkTexts, TheOtherSliceShowsItsPlaceNotItsMarker) {
  TPieSeries s;
  for (double v : {50.0, 45.0, 3.0, 2.0}) s.AddSlice(v);
  s.SetOtherSlice(TPieOtherSlice{poBelowPercent, 10, "Other"});
  s.GroupSmallSlices();
  EXPECT_EQ("4", Text(s, 4, smsXValue));
  EXPECT_EQ("Other", Text(s, 4, smsLabel));
  EXPECT_EQ("5 %", Text(s, 4, smsPercent));
}

// ---- drawing

// Two slices: slice 0 the upper half (mark above), slice 1 the lower half.
struct TwoSlices : PieScene {
  TwoSlices(bool view3D = false) : PieScene(R(0, 0, 400, 300), view3D, 20) {
    series.AddSlice(1, "Tea");
    series.AddSlice(1, "Tea");
  }
  std::vector<DeviceCall> Boxes() const { return device.Of(Call::Rectangle); }
  std::vector<DeviceCall> Lines() const { return device.Of(Call::Line); }
};

TEST(MarkDrawing, BoxesHangAwayFromThePie) {
  TwoSlices scene;
  scene.Paint();
  // Room: arrow 8 + frame 2 = 10, "W" 6 x 13, widest text 18: bounds
  // (34, 23, 366, 277), radii 166 x 127, centre (200, 150).
  EXPECT_EQ(R(34, 23, 366, 277), scene.Geometry().PieBounds);
  const auto boxes = scene.Boxes();
  ASSERT_EQ(2u, boxes.size());
  // Box 18 + 6 + 2 wide, 13 + 2 high, left of and above the anchor (200, 2).
  EXPECT_EQ(R(174, -13, 200, 2), boxes[0].rect);
  EXPECT_EQ(0x80FFFF, boxes[0].state.brush.color);
  EXPECT_EQ(bsSolid, boxes[0].state.brush.style);
  EXPECT_EQ(clBlack, boxes[0].state.pen.color);
  // Below the centre the box hangs below its anchor (200, 298).
  EXPECT_EQ(R(174, 298, 200, 313), boxes[1].rect);

  const auto lines = scene.Lines();
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ((TPoint{200, 23}), lines[0].points[0]);
  EXPECT_EQ((TPoint{200, 2}), lines[0].points[1]);

  const DeviceCall* text = scene.device.FindText("Tea");
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(taCenter, text->align);
  EXPECT_EQ((TPoint{174 + 13, -13 + 1}), text->points.at(0));  // centre; below the frame
  EXPECT_EQ(bmTransparent, text->state.backMode);

  const auto& remembered = scene.series.Marks().Positions();
  ASSERT_EQ(2u, remembered.size());
  ASSERT_TRUE(remembered[1].has_value());
  EXPECT_EQ(174, remembered[1]->BoxLeft);
  EXPECT_EQ(298, remembered[1]->BoxTop);
}

// Thousands of marks round a pie bury many boxes under their neighbours'.
// Painted in order into a map of which box shows where, every box with a
// pixel left in sight must have been drawn, with its text when its middle
// shows; a box buried whole need not be, but its arrow is, nor the text of
// a box showing only its edge. With a broken frame a box covers only its
// fill.
TEST(MarkDrawing, BoxesBuriedUnderTheirNeighboursAreLeftOut) {
  for (const TPenStyle frameStyle : {psSolid, psDash}) {
    SCOPED_TRACE(frameStyle);
    PieScene scene(R(0, 0, 400, 300));
    TChartPen frame = scene.series.Marks().Frame();
    frame.style = frameStyle;
    scene.series.Marks().SetFrame(frame);
    const int slices = 2000;
    for (int i = 0; i < slices; ++i) scene.series.AddSlice(1 + i % 3, "Tea");
    scene.Paint();
    ASSERT_EQ(size_t(slices), scene.device.Of(Call::Line).size());
    const auto& positions = scene.series.Marks().Positions();
    const int margin = 100, width = 400 + 2 * margin, height = 300 + 2 * margin;
    std::vector<int> shows(size_t(width) * height, -1);
    for (int i = 0; i < slices; ++i) {
      const TSeriesMarkPosition& p = *positions.at(i);
      // A broken frame's own pixels never hide what is below.
      const int inset = frameStyle == psSolid ? 0 : 1;
      for (int y = p.BoxTop; y < p.BoxTop + p.BoxHeight; ++y)
        for (int x = p.BoxLeft; x < p.BoxLeft + p.BoxWidth; ++x) {
          const bool edge = x - p.BoxLeft < inset || p.BoxLeft + p.BoxWidth - 1 - x < inset ||
                            y - p.BoxTop < inset || p.BoxTop + p.BoxHeight - 1 - y < inset;
          int& at = shows.at(size_t(y + margin) * width + x + margin);
          if (!edge || at < 0) at = i;
        }
    }
    std::multiset<std::tuple<int, int, int, int>> drawn;
    for (const DeviceCall& box : scene.device.Of(Call::Rectangle))
      drawn.insert({box.rect.left, box.rect.top, box.rect.right, box.rect.bottom});
    std::set<int> inSight(shows.begin(), shows.end());
    inSight.erase(-1);
    std::multiset<int> texts;
    for (const DeviceCall& text : scene.device.Of(Call::TextOut)) texts.insert(text.points.at(0).x);
    for (const int i : inSight) {
      const TSeriesMarkPosition& p = *positions[i];
      EXPECT_TRUE(drawn.count({p.BoxLeft, p.BoxTop, p.BoxLeft + p.BoxWidth, p.BoxTop + p.BoxHeight})) << i;
      // A box whose middle shows shows its text.
      const int middle = p.BoxLeft + p.BoxWidth / 2;
      if (shows.at(size_t(p.BoxTop + p.BoxHeight / 2 + margin) * width + middle + margin) == i)
        EXPECT_TRUE(texts.count(middle)) << i;
    }
    // Boxes framed solid hide the ones below exactly; broken frames are
    // left drawn where in doubt.
    if (frameStyle != psSolid) continue;
    EXPECT_EQ(inSight.size(), drawn.size());
    EXPECT_LT(drawn.size(), size_t(slices) * 3 / 4);
    EXPECT_LT(texts.size(), drawn.size() * 3 / 4) << "texts under the next boxes are left out";
  }
}

TEST(MarkDrawing, ArrowNeverVanishesIntoSliceOrPanel) {
  TwoSlices scene;
  scene.Paint();
  // The default white arrow on a white panel is drawn black.
  EXPECT_EQ(clBlack, scene.Lines().at(0).state.pen.color);

  TwoSlices red;
  TChartPen arrow = red.series.Marks().Arrow();
  arrow.color = TPieSeries::PaletteColor(0);
  red.series.Marks().SetArrow(arrow);
  red.Paint();
  EXPECT_EQ(clBlack, red.Lines().at(0).state.pen.color);  // slice 0 is red
  EXPECT_EQ(TPieSeries::PaletteColor(0), red.Lines().at(1).state.pen.color);

  TwoSlices dark;
  dark.context.panelColor = clBlack;
  arrow.color = clBlack;
  dark.series.Marks().SetArrow(arrow);
  dark.Paint();
  EXPECT_EQ(clWhite, dark.Lines().at(0).state.pen.color);
}

TEST(MarkDrawing, TransparentWithoutFrameDrawsOnlyArrowAndText) {
  TwoSlices scene;
  scene.series.Marks().SetTransparent(true);
  TChartPen frame = scene.series.Marks().Frame();
  frame.visible = false;
  scene.series.Marks().SetFrame(frame);
  scene.Paint();
  EXPECT_EQ(0, scene.device.Count(Call::Rectangle));
  EXPECT_EQ(2, scene.device.Count(Call::Line));
  EXPECT_EQ(2, scene.device.Count(Call::TextOut));

  TwoSlices framed;
  framed.series.Marks().SetTransparent(true);
  framed.Paint();
  ASSERT_EQ(2, framed.device.Count(Call::Rectangle));
  EXPECT_EQ(bsClear, framed.Boxes()[0].state.brush.style);
}

TEST(MarkDrawing, MultiLineTextIsCentredLineByLine) {
  PieScene scene(R(0, 0, 400, 300));
  scene.series.AddSlice(1, "A\rBB");
  scene.Paint();
  const auto boxes = scene.device.Of(Call::Rectangle);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(12 + 6 + 2, boxes[0].rect.Width());
  EXPECT_EQ(2 * 13 + 2, boxes[0].rect.Height());
  const DeviceCall* a = scene.device.FindText("A");
  const DeviceCall* b = scene.device.FindText("BB");
  ASSERT_NE(nullptr, a);
  ASSERT_NE(nullptr, b);
  EXPECT_EQ(boxes[0].rect.top + 1, a->points.at(0).y);
  EXPECT_EQ(a->points.at(0).y + 13, b->points.at(0).y);
  EXPECT_EQ(boxes[0].rect.left + 10, a->points.at(0).x);  // both centred on the box
  EXPECT_EQ(boxes[0].rect.left + 10, b->points.at(0).x);
  EXPECT_EQ(taCenter, b->align);
}

TEST(MarkDrawing, NullAndGroupedSlicesHaveNoMark) {
  PieScene scene(R(0, 0, 400, 300));
  scene.series.AddSlice(50, "a");
  scene.series.AddSlice(45, "b", clNone);
  scene.series.AddSlice(3, "c");
  scene.series.AddSlice(2, "d");
  scene.series.SetOtherSlice(TPieOtherSlice{poBelowPercent, 10, "Other"});
  scene.Paint();
  EXPECT_EQ((std::vector<std::string>{"a", "Other"}), scene.device.Texts());
}

TEST(MarkDrawing, ClipLimitsMarksToTheChartRectangle) {
  TwoSlices scene;
  scene.series.Marks().SetClip(true);
  scene.Paint();
  const auto clips = scene.device.Of(Call::SetClipRect);
  ASSERT_EQ(1u, clips.size());
  EXPECT_EQ(R(0, 0, 400, 300), clips[0].rect);
  EXPECT_EQ(Call::ClearClip, scene.device.calls.back().kind);
}

TEST(MarkDrawing, CustomPositionWins) {
  TwoSlices scene;
  TSeriesMarkPosition custom;
  custom.IsCustom = true;
  custom.BoxLeft = 5;
  custom.BoxTop = 6;
  custom.BoxWidth = 30;
  custom.BoxHeight = 15;
  custom.ArrowStart = TPoint{1, 1};
  custom.ArrowEnd = TPoint{2, 2};
  scene.series.Marks().Positions().assign(1, custom);
  scene.Paint();
  EXPECT_EQ(R(5, 6, 35, 21), scene.Boxes().at(0).rect);
  EXPECT_EQ(R(174, 298, 200, 313), scene.Boxes().at(1).rect);
  // Deleting a slice takes its remembered position along.
  scene.series.DeleteSlice(0);
  EXPECT_FALSE(scene.series.Marks().Positions().at(0)->IsCustom);
}

TEST(MarkDrawing, In3DTheBoxFollowsItsProjectedAnchor) {
  TwoSlices scene(true);
  scene.Paint();
  const auto& pos = scene.series.Marks().Positions().at(0);
  ASSERT_TRUE(pos.has_value());
  EXPECT_EQ(scene.Geometry().DepthEnd, scene.series.Marks().MarksDepth);
  const TPoint anchor = scene.canvas.Project3D(pos->ArrowEnd.x, pos->ArrowEnd.y, 20);
  const TRect box = scene.Boxes().at(0).rect;
  EXPECT_EQ(anchor.x - (pos->ArrowEnd.x - pos->BoxLeft), box.left);
  EXPECT_EQ(anchor.y - (pos->ArrowEnd.y - pos->BoxTop), box.top);
  EXPECT_EQ(pos->BoxWidth, box.Width());
  const DeviceCall line = scene.Lines().at(0);
  EXPECT_EQ(anchor, line.points[1]);
}

TEST(MarkDrawing, TextGrowsWithTheZoomIn3D) {
  TwoSlices scene(true);
  TView3DOptions view;
  view.Orthogonal = false;
  view.Rotation = 360;
  view.Elevation = 315;
  view.Perspective = 0;
  view.Zoom = 200;
  scene.canvas.SetupView(view, true);
  scene.Paint();
  EXPECT_EQ(16, scene.device.FindText("Tea")->state.font.size);
  EXPECT_EQ(2 * 13 + 2, scene.Boxes().at(0).rect.Height());
}

// Where the marks of a 40-slice 3D chart land, zoomed so that the marks are
// drawn in a larger font than the one that reserves their room; some labels
// run over two lines. The boxes (left, top, width, height) are pinned: how
// the marks are measured must never move them.
TEST(MarkDrawing, FortySlicePositionsStayPut) {
  PieScene scene(R(0, 0, 640, 480), true, 40);
  TView3DOptions view;
  view.Orthogonal = false;
  view.Rotation = 360;
  view.Elevation = 315;
  view.Perspective = 0;
  view.Zoom = 150;
  scene.canvas.SetupView(view, true);
  scene.canvas.CenterView(40, R(0, 0, 640, 480));
  for (int i = 0; i < 40; ++i) {
    std::string label = "Slice " + std::to_string(i * 7);
    if (i % 5 == 0) label += "\rsecond line";
    scene.series.AddSlice(1 + i % 9, label);
  }
  scene.series.Marks().SetStyle(smsLabelPercent);
  scene.Paint();
  const auto& positions = scene.series.Marks().Positions();
  ASSERT_EQ(positions.size(), 40u);
  const int expected[40][4] = {
      {533, 196, 173, 40}, {533, 203, 137, 21}, {531, 183, 146, 21}, {526, 155, 146, 21},
      {515, 121, 146, 21}, {496, 63, 173, 40}, {467, 42, 146, 21}, {424, 6, 146, 21},
      {369, -18, 146, 21}, {334, -24, 146, 21}, {324, -44, 173, 40}, {160, -24, 146, 21},
      {135, -21, 146, 21}, {105, -12, 146, 21}, {70, 6, 146, 21}, {5, 18, 173, 40},
      {-11, 82, 155, 21}, {-38, 144, 155, 21}, {-46, 183, 155, 21}, {-47, 195, 155, 21},
      {-66, 196, 173, 40}, {-47, 264, 155, 21}, {-41, 300, 155, 21}, {-29, 342, 155, 21},
      {-5, 387, 155, 21}, {13, 430, 173, 40}, {83, 465, 155, 21}, {116, 477, 155, 21},
      {126, 480, 155, 21}, {144, 483, 155, 21}, {324, 484, 173, 40}, {355, 481, 155, 21},
      {392, 469, 155, 21}, {434, 446, 155, 21}, {474, 408, 155, 21}, {509, 353, 173, 40},
      {523, 315, 155, 21}, {526, 304, 155, 21}, {529, 284, 155, 21}, {533, 256, 155, 21},
  };
  for (int i = 0; i < 40; ++i) {
    ASSERT_TRUE(positions[i].has_value()) << i;
    const TSeriesMarkPosition& p = *positions[i];
    EXPECT_EQ(R(p.BoxLeft, p.BoxTop, p.BoxLeft + p.BoxWidth, p.BoxTop + p.BoxHeight),
              R(expected[i][0], expected[i][1], expected[i][0] + expected[i][2],
                expected[i][1] + expected[i][3]))
        << "slice " << i;
  }
}

}  // namespace
}  // namespace kd
