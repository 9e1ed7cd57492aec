// The legend on the recording device: layout numbers, rows that fit,
// inversion, first row, shadow and frame, colour boxes, the room it takes
// from the chart rectangle, and the validation of its settings.
#include "engine/Legend.h"

#include <gtest/gtest.h>

#include "engine/Canvas3D.h"
#include "engine/Chart.h"
#include "engine/PieSeries.h"
#include "engine/EngineError.h"
#include "support/FakeSeries.h"
#include "support/RecordingDevice.h"

namespace kd {
namespace {

using test::Call;
using test::DeviceCall;
using test::FakeSeries;
using test::RecordingDevice;

// Chart bounds 400 x 300, chart rectangle (12, 12, 388, 288). With the
// recording device's metrics (size 8: 6 pixels a character, 13 high):
// legend top 30, two rows of 13, widest text "30 Milk" = 42 pixels.
struct LegendRun {
  RecordingDevice dev;
  TChartCanvas3D canvas;
  FakeSeries series;
  TChartLegend legend;
  TRect bounds = MakeRect(0, 0, 400, 300);
  TRect chartRect = MakeRect(12, 12, 388, 288);

  LegendRun() {
    canvas.SetDevice(&dev);
    series.rows = {{"10 Tea", clRed}, {"30 Milk", 0x008000}};
  }
  void Draw() { legend.Draw(canvas, series, bounds, chartRect, clWhite); }
  std::vector<DeviceCall> Boxes() const {
    // The legend box comes first; colour boxes follow their texts.
    auto rects = dev.Of(Call::Rectangle);
    if (!rects.empty()) rects.erase(rects.begin());
    return rects;
  }
};

TEST(LegendLayout, TwoRowsOnTheRight) {
  LegendRun run;
  run.Draw();
  const TChartLegend& l = run.legend;
  EXPECT_EQ(l.ItemHeight(), 13);
  EXPECT_EQ(l.Rows(), 2);
  EXPECT_EQ(l.LegendRect(), MakeRect(325, 30, 383, 58));
  EXPECT_EQ(l.TextLeft(), 339);
  EXPECT_EQ(l.ColorBoxWidth(), 6);  // round(52 * 12 / 100)

  const DeviceCall* tea = run.dev.FindText("10 Tea");
  const DeviceCall* milk = run.dev.FindText("30 Milk");
  ASSERT_TRUE(tea && milk);
  EXPECT_EQ(tea->points[0], (TPoint{339, 31}));
  EXPECT_EQ(milk->points[0], (TPoint{339, 44}));
  EXPECT_EQ(tea->align, taLeftJustify);
  EXPECT_EQ(tea->state.backMode, bmTransparent);

  auto boxes = run.Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].rect, MakeRect(329, 33, 335, 42));
  EXPECT_EQ(boxes[0].state.brush, (TChartBrush{clRed, bsSolid}));
  EXPECT_EQ(boxes[0].state.pen.color, clBlack);
  EXPECT_EQ(boxes[1].rect, MakeRect(329, 46, 335, 55));
  EXPECT_EQ(boxes[1].state.brush.color, 0x008000);

  // The legend's left edge, less 3 % of the chart width (376 -> 11).
  EXPECT_EQ(run.chartRect, MakeRect(12, 12, 314, 288));
}

TEST(LegendLayout, FrameAndShadow) {
  LegendRun run;
  run.Draw();
  auto fills = run.dev.Of(Call::FillRect);
  ASSERT_EQ(fills.size(), 1u);
  // Frame width 1: the shadow reaches 3 + 1 + 0 past the ungrown box.
  EXPECT_EQ(fills[0].rect, MakeRect(328, 33, 387, 62));
  EXPECT_EQ(fills[0].state.brush.color, clBlack);
  auto rects = run.dev.Of(Call::Rectangle);
  EXPECT_EQ(rects[0].rect, MakeRect(324, 29, 384, 59));
  EXPECT_TRUE(rects[0].state.pen.visible);
  EXPECT_EQ(rects[0].state.brush, (TChartBrush{clWhite, bsSolid}));
}

TEST(LegendLayout, HiddenFrameShadowReachesTwoPixelsPast) {
  LegendRun run;
  TChartPen frame;
  frame.visible = false;
  run.legend.SetFrame(frame);
  run.Draw();
  EXPECT_EQ(run.legend.LegendRect(), MakeRect(327, 30, 385, 58));
  auto fills = run.dev.Of(Call::FillRect);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].rect, MakeRect(330, 33, 387, 60));
  EXPECT_EQ(run.dev.Of(Call::Rectangle)[0].rect, run.legend.LegendRect());

  LegendRun none;
  none.legend.SetShadowSize(0);
  none.Draw();
  EXPECT_EQ(none.dev.Count(Call::FillRect), 0);
}

TEST(LegendRows, InvertedPutsTheLastRowOnTop) {
  LegendRun run;
  run.legend.SetInverted(true);
  run.Draw();
  EXPECT_EQ(run.dev.FindText("30 Milk")->points[0].y, 31);
  EXPECT_EQ(run.dev.FindText("10 Tea")->points[0].y, 44);
  EXPECT_EQ(run.dev.Texts(), (std::vector<std::string>{"30 Milk", "10 Tea"}));
}

TEST(LegendRows, OnlyRowsThatFitAreDrawn) {
  LegendRun run;
  run.series.rows = {{"a"}, {"b"}, {"c"}, {"d"}, {"e"}};
  run.chartRect.bottom = 70;  // (70 - 30 - 2) / 13 = 2 rows
  run.Draw();
  EXPECT_EQ(run.legend.Rows(), 2);
  EXPECT_EQ(run.dev.Texts(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(run.legend.LegendRect().bottom, 30 + 2 * 13 + 2);
}

TEST(LegendRows, FirstValueSkipsRows) {
  LegendRun run;
  run.legend.SetFirstValue(1);
  run.Draw();
  EXPECT_EQ(run.dev.Texts(), (std::vector<std::string>{"30 Milk"}));
  EXPECT_EQ(run.dev.FindText("30 Milk")->points[0].y, 31);
  EXPECT_EQ(run.legend.TotalRows(run.series), 1);
  run.legend.SetFirstValue(5);
  EXPECT_EQ(run.legend.TotalRows(run.series), 0);
}

TEST(LegendRows, NoRowsDrawNothingAndKeepTheChartRectangle) {
  LegendRun empty;
  empty.series.rows.clear();
  empty.Draw();
  EXPECT_TRUE(empty.dev.Of(Call::Rectangle).empty());
  EXPECT_TRUE(empty.dev.Texts().empty());
  EXPECT_EQ(empty.chartRect, MakeRect(12, 12, 388, 288));

  LegendRun low;
  low.chartRect.bottom = 30;  // the legend's top is already below the chart
  low.Draw();
  EXPECT_EQ(low.legend.Rows(), 0);
  EXPECT_EQ(low.chartRect, MakeRect(12, 12, 388, 30));

  LegendRun hidden;
  hidden.series.SetShowInLegend(false);
  hidden.Draw();
  EXPECT_TRUE(hidden.dev.Texts().empty());
}

TEST(LegendRows, EmptyTextRowDrawsNeitherTextNorBox) {
  LegendRun run;
  run.series.rows = {{"", clRed}, {"x", clRed}};
  run.Draw();
  EXPECT_EQ(run.dev.Texts(), (std::vector<std::string>{"x"}));
  EXPECT_EQ(run.Boxes().size(), 1u);
}

TEST(LegendRoom, ResizeChartAndHorizMargin) {
  LegendRun keep;
  keep.legend.SetResizeChart(false);
  keep.Draw();
  EXPECT_EQ(keep.chartRect.right, 388 - 11);

  LegendRun margin;
  margin.legend.SetHorizMargin(20);
  margin.Draw();
  EXPECT_EQ(margin.chartRect.right, 325 - 20);
}

TEST(LegendBoxes, ColorWidthZeroGivesEmptyBoxes) {
  LegendRun run;
  run.legend.SetColorWidth(0);
  run.Draw();
  EXPECT_EQ(run.legend.ColorBoxWidth(), 0);
  EXPECT_EQ(run.Boxes()[0].rect, MakeRect(335, 33, 335, 42));
  EXPECT_EQ(run.legend.LegendRect().left, 339 - 8);
}

TEST(LegendBoxes, BoxInTheLegendColourIsOutlinedAgain) {
  LegendRun run;
  run.series.rows = {{"w", clWhite}, {"r", clRed}};
  run.Draw();
  auto boxes = run.Boxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[1].rect, boxes[0].rect);
  EXPECT_EQ(boxes[1].state.brush.style, bsClear);
  EXPECT_EQ(boxes[1].state.pen.color, clBlack);

  // In a black legend a black box gets a white outline, and the next box
  // keeps the legend's white box pen.
  LegendRun dark;
  dark.legend.SetColor(clBlack);
  dark.series.rows = {{"k", clBlack}, {"r", clRed}};
  dark.Draw();
  auto darkBoxes = dark.Boxes();
  ASSERT_EQ(darkBoxes.size(), 3u);
  EXPECT_EQ(darkBoxes[0].state.pen.color, clWhite);
  EXPECT_EQ(darkBoxes[1].state.pen.color, clWhite);
  EXPECT_EQ(darkBoxes[1].state.brush.style, bsClear);
  EXPECT_EQ(darkBoxes[2].state.pen.color, clWhite);
}

TEST(LegendBoxes, NullSliceHasNoBoxHatchedSliceUsesBackground) {
  LegendRun run;
  run.series.rows = {{"none", clNone}, {"hatch", clRed, bsCross}};
  run.Draw();
  auto boxes = run.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].state.brush, (TChartBrush{clRed, bsCross}));
  EXPECT_EQ(boxes[0].state.backMode, bmOpaque);
  EXPECT_EQ(boxes[0].state.backColor, clWhite);  // the legend's colour

  LegendRun own;
  own.series.rows = {{"hatch", clRed, bsCross}};
  own.series.circleBackColor = 0x00FFFF;
  own.Draw();
  EXPECT_EQ(own.Boxes()[0].state.backColor, 0x00FFFF);
  // Texts stay transparent after a hatched box.
  EXPECT_EQ(own.dev.FindText("hatch")->state.backMode, bmTransparent);
}

TEST(LegendSettings, DefaultsAndValidation) {
  TChartLegend l;
  EXPECT_TRUE(l.Visible());
  EXPECT_EQ(l.Alignment(), laRight);
  EXPECT_EQ(l.Color(), clWhite);
  EXPECT_EQ(l.ColorWidth(), 12);
  EXPECT_EQ(l.TextStyle(), ltsLeftValue);
  EXPECT_EQ(l.TopPos(), 10);
  EXPECT_EQ(l.ShadowSize(), 3);
  EXPECT_EQ(l.ShadowColor(), clBlack);
  EXPECT_TRUE(l.ResizeChart());
  EXPECT_FALSE(l.Inverted());
  EXPECT_TRUE(l.Frame().visible);
  EXPECT_EQ(l.Font().name, "Arial");
  EXPECT_EQ(l.Font().size, 8);

  int repaints = 0;
  l.SetRepaintRequest([&] { ++repaints; });
  try {
    l.SetColorWidth(101);
    FAIL() << "no exception";
  } catch (const LegendException& e) {
    EXPECT_STREQ(e.what(), "Legend Color Width must be between 0 and 100 %");
  }
  EXPECT_THROW(l.SetColorWidth(-1), EngineError);
  EXPECT_EQ(l.ColorWidth(), 12);
  try {
    l.SetTopPos(101);
    FAIL() << "no exception";
  } catch (const LegendException& e) {
    EXPECT_STREQ(e.what(), "Top Legend Position must be between 0 and 100 %");
  }
  try {
    l.SetFirstValue(-1);
    FAIL() << "no exception";
  } catch (const LegendException& e) {
    EXPECT_STREQ(e.what(), "First Legend Value must be > 0");
  }
  EXPECT_EQ(repaints, 0);

  l.SetColorWidth(12);
  l.SetInverted(false);
  l.SetShadowSize(3);
  l.SetFont(FontData());
  EXPECT_EQ(repaints, 0);
  l.SetColorWidth(100);
  l.SetInverted(true);
  l.SetTextStyle(ltsRightPercent);
  EXPECT_EQ(repaints, 3);
}

// The real pie series through the panel: rows, styles and order.
TEST(LegendWithPieSeries, TeaAndMilk) {
  TChart chart;
  ApplyChartWindowDesign(chart);
  TPieSeries series;
  chart.AddSeries(&series);
  series.AddSlice(10, "Tea");
  series.AddSlice(30, "Milk");
  RecordingDevice dev;
  chart.DrawForExport(dev, 400, 300);
  ASSERT_NE(dev.FindText("10 Tea"), nullptr);
  ASSERT_NE(dev.FindText("30 Milk"), nullptr);
  EXPECT_LT(dev.FindText("10 Tea")->points[0].y, dev.FindText("30 Milk")->points[0].y);
  EXPECT_EQ(chart.Legend().Rows(), 2);

  chart.Legend().SetTextStyle(ltsRightPercent);
  chart.Legend().SetInverted(true);
  dev.Clear();
  chart.DrawForExport(dev, 400, 300);
  ASSERT_NE(dev.FindText("Tea 25 %"), nullptr);
  ASSERT_NE(dev.FindText("Milk 75 %"), nullptr);
  EXPECT_GT(dev.FindText("Tea 25 %")->points[0].y, dev.FindText("Milk 75 %")->points[0].y);

  // No slices: no legend, and the chart rectangle keeps its right edge.
  series.ClearSlices();
  dev.Clear();
  chart.DrawForExport(dev, 400, 300);
  EXPECT_EQ(chart.Legend().Rows(), 0);
  EXPECT_EQ(chart.ChartRect().right, 388);
}

}  // namespace
}  // namespace kd
