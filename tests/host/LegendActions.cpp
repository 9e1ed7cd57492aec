// The legend's visibility and room, font, colour, colour box width, order
// and shadow.
#include "ActionFiles.h"
#include "ChartHost.h"

namespace kdhost {
namespace {

constexpr kd::TColor kGreen = kd::RGBColor(0, 255, 0);
const char* const kRedAndBlue = "A;1;255,0,0|B;2;0,0,255|C;3;255,0,0";

using Legend = ChartTest;

TEST_F(Legend, ResultsThroughTheLibrary) {
  EXPECT_FALSE(Exec(18, {"Rect1", "Visible", "false"}));
  ASSERT_TRUE(Exec(1, {"Rect1", "", "A;1;|B;2;", "", "", "", "", "", ""}));
  EXPECT_TRUE(Exec(18, {"Rect1", "Visible", "false"}));
  EXPECT_TRUE(Exec(19, {"Rect1", "Arial|clRed|10"}));
  EXPECT_TRUE(Exec(19, {"Rect1", "Arial|nocolour|10||0"}));
  EXPECT_TRUE(Exec(20, {"Rect1", "0,0"}));
  EXPECT_TRUE(Exec(21, {"Rect1", "wide"}));
  EXPECT_FALSE(Exec(21, {"Rect1", "101"}));
  EXPECT_TRUE(Exec(22, {"Rect1", "true"}));
  EXPECT_TRUE(Exec(23, {"Rect1", "0,0,0", ""}));
  EXPECT_FALSE(Exec(23, {"Rect2", "0,0,0", "2"}));
}

using LegendInside = InProcessChartTest;

TEST_F(LegendInside, VisibleAndForeground) {
  kd::TNeoChart& chart = Create();
  const kd::TChartLegend& legend = chart.Chart().Legend();
  EXPECT_TRUE(ExecInProcess(18, {"Rect1", "Visible", "FALSE"}));
  EXPECT_FALSE(legend.Visible());
  EXPECT_TRUE(ExecInProcess(18, {"Rect1", "visible", "true"}));  // the name is compared exactly
  EXPECT_FALSE(legend.Visible());
  EXPECT_TRUE(ExecInProcess(18, {"Rect1", "Visible", "True"}));
  EXPECT_TRUE(legend.Visible());
  // In the foreground the legend floats over the chart.
  EXPECT_TRUE(ExecInProcess(18, {"Rect1", "Foreground", "TRUE"}));
  EXPECT_FALSE(legend.ResizeChart());
  EXPECT_TRUE(ExecInProcess(18, {"Rect1", "Foreground", "on"}));
  EXPECT_FALSE(legend.ResizeChart());
  EXPECT_TRUE(ExecInProcess(18, {"Rect1", "Foreground", "false"}));
  EXPECT_TRUE(legend.ResizeChart());
}

TEST_F(LegendInside, LegendInTheForegroundLeavesThePieItsRoom) {
  kd::TNeoChart& chart = Create(kRedAndBlue);
  int besideLegend = 0, legendWidth = 0;
  {
    SavedPicture picture(chart, "legend1.bmp");
    ASSERT_TRUE(picture.Saved());
    besideLegend = chart.Series().Geometry().PieWidth;
    legendWidth = chart.Chart().Legend().LegendRect().Width();
  }
  ASSERT_TRUE(ExecInProcess(18, {"Rect1", "Foreground", "TRUE"}));
  SavedPicture picture(chart, "legend2.bmp");
  ASSERT_TRUE(picture.Saved());
  ASSERT_GT(legendWidth, 10);
  EXPECT_GE(chart.Series().Geometry().PieWidth, besideLegend + legendWidth);
}

TEST_F(LegendInside, LegendColourAppearsOnlyWhileTheLegendIsShown) {
  kd::TNeoChart& chart = Create(kRedAndBlue);
  ASSERT_TRUE(ExecInProcess(20, {"Rect1", "0,255,0"}));
  {
    SavedPicture picture(chart, "legend3.bmp");
    ASSERT_TRUE(picture.Saved());
    const kd::TRect box = chart.Chart().Legend().LegendRect();
    ASSERT_GT(box.Width(), 0);
    EXPECT_GT(picture.Count(kGreen, box), box.Width() * box.Height() / 3);
  }
  ASSERT_TRUE(ExecInProcess(18, {"Rect1", "Visible", "false"}));
  SavedPicture picture(chart, "legend4.bmp");
  ASSERT_TRUE(picture.Saved());
  EXPECT_EQ(picture.Count(kGreen), 0);
}

TEST_F(LegendInside, FontNeedsAllFiveFields) {
  kd::TNeoChart& chart = Create();
  const kd::TChartLegend& legend = chart.Chart().Legend();
  const kd::FontData before = legend.Font();
  EXPECT_TRUE(ExecInProcess(19, {"Rect1", "Courier|clRed|12|fsBold"}));
  EXPECT_TRUE(ExecInProcess(19, {"Rect1", ""}));
  EXPECT_EQ(legend.Font(), before);
  EXPECT_TRUE(ExecInProcess(19, {"Rect1", "Times New Roman|clred|12|fsUnderline|204"}));
  EXPECT_EQ(legend.Font().name, "TimesNewRoman");
  EXPECT_EQ(legend.Font().color, kd::clRed);
  EXPECT_EQ(legend.Font().size, 12);
  EXPECT_EQ(legend.Font().styles, kd::fsUnderline);
  EXPECT_EQ(legend.Font().charset, 204);
  EXPECT_TRUE(ExecInProcess(19, {"Rect1", "Arial|$00FF0000|12||204"}));
  EXPECT_EQ(legend.Font().color, kd::RGBColor(0, 0, 255));
  EXPECT_TRUE(ExecInProcess(19, {"Rect1", "Arial|$000000FF|12||204"}));
  EXPECT_EQ(legend.Font().color, kd::clRed);
}

TEST_F(LegendInside, FontStopsAtTheFirstBadFieldAndOnlyAddsStyles) {
  kd::TNeoChart& chart = Create();
  const kd::TChartLegend& legend = chart.Chart().Legend();
  ASSERT_TRUE(ExecInProcess(19, {"Rect1", "Arial|clBlack|8|fsItalic|1"}));
  ASSERT_TRUE(ExecInProcess(19, {"Rect1", "Arial|clBlack|8|fsBold |1"}));
  EXPECT_EQ(legend.Font().styles, kd::fsBold | kd::fsItalic);
  ASSERT_TRUE(ExecInProcess(19, {"Rect1", "Arial|clBlack|8||1"}));
  EXPECT_EQ(legend.Font().styles, kd::fsBold | kd::fsItalic);
  // A colour that is neither a name nor a number: only the face name is set.
  EXPECT_TRUE(ExecInProcess(19, {"Rect1", "Verdana|pink|20|fsStrikeOut|204"}));
  EXPECT_EQ(legend.Font().name, "Verdana");
  EXPECT_EQ(legend.Font().color, kd::clBlack);
  EXPECT_EQ(legend.Font().size, 8);
  EXPECT_EQ(legend.Font().styles, kd::fsBold | kd::fsItalic);
}

TEST_F(LegendInside, ColourTurnsTheGradientOff) {
  kd::TNeoChart& chart = Create();
  const kd::TChartLegend& legend = chart.Chart().Legend();
  ASSERT_TRUE(ExecInProcess(11, {"Rect1", "255,0,0", "0,0,255", "FromCenter"}));
  EXPECT_TRUE(ExecInProcess(20, {"Rect1", ""}));
  EXPECT_TRUE(chart.Chart().Gradient().Visible());
  EXPECT_TRUE(ExecInProcess(20, {"Rect1", "0,255"}));
  EXPECT_FALSE(chart.Chart().Gradient().Visible());
  EXPECT_EQ(legend.Color(), kd::clWhite);
  EXPECT_TRUE(ExecInProcess(20, {"Rect1", "0,255,0"}));
  EXPECT_EQ(legend.Color(), kGreen);
}

TEST_F(LegendInside, ColourBoxWidthShadowAndOrder) {
  kd::TNeoChart& chart = Create();
  const kd::TChartLegend& legend = chart.Chart().Legend();
  EXPECT_TRUE(ExecInProcess(21, {"Rect1", "40"}));
  EXPECT_EQ(legend.ColorWidth(), 40);
  EXPECT_FALSE(ExecInProcess(21, {"Rect1", "101"}));
  EXPECT_FALSE(ExecInProcess(21, {"Rect1", "-1"}));
  EXPECT_EQ(legend.ColorWidth(), 40);
  EXPECT_TRUE(ExecInProcess(21, {"Rect1", "wide"}));
  EXPECT_EQ(legend.ColorWidth(), 5);

  EXPECT_TRUE(ExecInProcess(22, {"Rect1", "TRUE"}));
  EXPECT_TRUE(legend.Inverted());
  EXPECT_TRUE(ExecInProcess(22, {"Rect1", "no"}));
  EXPECT_TRUE(legend.Inverted());

  EXPECT_TRUE(ExecInProcess(23, {"Rect1", "0,0,255", "6"}));
  EXPECT_EQ(legend.ShadowColor(), kd::RGBColor(0, 0, 255));
  EXPECT_EQ(legend.ShadowSize(), 6);
  EXPECT_TRUE(ExecInProcess(23, {"Rect1", "dark", ""}));
  EXPECT_EQ(legend.ShadowColor(), kd::RGBColor(0, 0, 255));
  EXPECT_EQ(legend.ShadowSize(), 0);
}

}  // namespace
}  // namespace kdhost
