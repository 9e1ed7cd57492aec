// The marks: visibility, frame and fill, text style, background colour,
// font, frame pen and arrows.
#include "ActionFiles.h"
#include "ChartHost.h"

namespace kdhost {
namespace {

constexpr kd::TColor kGreen = kd::RGBColor(0, 255, 0);

using Marks = ChartTest;

TEST_F(Marks, ResultsThroughTheLibrary) {
  EXPECT_FALSE(Exec(25, {"Rect1", "Value"}));
  ASSERT_TRUE(Exec(1, {"Rect1", "", "A;1;|B;2;", "", "", "", "", "", ""}));
  EXPECT_TRUE(Exec(24, {"Rect1", "VisibleMarks", "maybe"}));
  EXPECT_TRUE(Exec(25, {"Rect1", "percent"}));
  EXPECT_TRUE(Exec(26, {"Rect1", "x,y,z"}));
  EXPECT_TRUE(Exec(27, {"Rect1", "Arial|clRed|x||0"}));
  EXPECT_TRUE(Exec(28, {"Rect1", "0,0,0", "-3"}));
  EXPECT_TRUE(Exec(29, {"Rect1", "InsideFrame"}));
  EXPECT_TRUE(Exec(30, {"Rect1", "", "hide", "Dot", ""}));
  EXPECT_FALSE(Exec(30, {"Rect2", "", "hide", "Dot", ""}));
}

using MarksInside = InProcessChartTest;

TEST_F(MarksInside, SwitchesByParameterName) {
  kd::TNeoChart& chart = Create();
  const kd::TSeriesMarks& marks = chart.Series().Marks();
  EXPECT_TRUE(ExecInProcess(24, {"Rect1", "VisibleMarks", "False"}));
  EXPECT_FALSE(marks.Visible());
  EXPECT_TRUE(ExecInProcess(24, {"Rect1", "VisibleFrame", "FALSE"}));
  EXPECT_FALSE(marks.Frame().visible);
  EXPECT_TRUE(ExecInProcess(24, {"Rect1", "TransparentTextFone", "True"}));
  EXPECT_TRUE(marks.Transparent());
  EXPECT_TRUE(ExecInProcess(24, {"Rect1", "visiblemarks", "true"}));
  EXPECT_TRUE(ExecInProcess(24, {"Rect1", "VisibleFrame", "yes"}));
  EXPECT_FALSE(marks.Visible());
  EXPECT_FALSE(marks.Frame().visible);
}

TEST_F(MarksInside, TransparentMarksLeaveOnlyTextAndFrame) {
  kd::TNeoChart& chart = Create("A;1;255,0,0|B;2;0,0,255");
  ASSERT_TRUE(ExecInProcess(26, {"Rect1", "0,255,0"}));
  {
    SavedPicture picture(chart, "marks1.bmp");
    ASSERT_TRUE(picture.Saved());
    EXPECT_GT(picture.Count(kGreen), 100);
  }
  ASSERT_TRUE(ExecInProcess(24, {"Rect1", "TransparentTextFone", "True"}));
  SavedPicture picture(chart, "marks2.bmp");
  ASSERT_TRUE(picture.Saved());
  EXPECT_EQ(picture.Count(kGreen), 0);
}

TEST_F(MarksInside, StyleKeywords) {
  const std::pair<const char*, kd::TSeriesMarksStyle> styles[] = {
      {"Value", kd::smsValue},
      {"Percent", kd::smsPercent},
      {"Label", kd::smsLabel},
      {"LabelPercent", kd::smsLabelPercent},
      {"LabelValue", kd::smsLabelValue},
      {"Legend", kd::smsLegend},
      {"PercentTotal", kd::smsPercentTotal},
      {"LabelPercentTotal", kd::smsLabelPercentTotal},
      {"XValue", kd::smsXValue}};
  kd::TNeoChart& chart = Create();
  const kd::TSeriesMarks& marks = chart.Series().Marks();
  for (const auto& [keyword, style] : styles) {
    ASSERT_TRUE(ExecInProcess(25, {"Rect1", keyword}));
    EXPECT_EQ(marks.Style(), style) << keyword;
  }
  EXPECT_TRUE(ExecInProcess(25, {"Rect1", "percent"}));
  EXPECT_TRUE(ExecInProcess(25, {"Rect1", "Value "}));
  EXPECT_EQ(marks.Style(), kd::smsXValue);
}

TEST_F(MarksInside, BackgroundTurnsTheGradientOffEvenWhenItDoesNotParse) {
  kd::TNeoChart& chart = Create();
  const kd::TSeriesMarks& marks = chart.Series().Marks();
  const kd::TColor before = marks.BackColor();
  ASSERT_TRUE(ExecInProcess(11, {"Rect1", "255,0,0", "0,0,255", "LeftRight"}));
  EXPECT_TRUE(ExecInProcess(26, {"Rect1", ""}));
  EXPECT_TRUE(chart.Chart().Gradient().Visible());
  EXPECT_TRUE(ExecInProcess(26, {"Rect1", "green"}));
  EXPECT_FALSE(chart.Chart().Gradient().Visible());
  EXPECT_EQ(marks.BackColor(), before);
  EXPECT_TRUE(ExecInProcess(26, {"Rect1", "0,255,0"}));
  EXPECT_EQ(marks.BackColor(), kGreen);
}

TEST_F(MarksInside, FontAsTheLegendFont) {
  kd::TNeoChart& chart = Create();
  const kd::TSeriesMarks& marks = chart.Series().Marks();
  const kd::FontData before = marks.Font();
  EXPECT_TRUE(ExecInProcess(27, {"Rect1", "Courier|clRed|12|fsBold"}));
  EXPECT_EQ(marks.Font(), before);
  EXPECT_TRUE(ExecInProcess(27, {"Rect1", "Courier New|clBlue|11|fsItalic|0"}));
  EXPECT_EQ(marks.Font().name, "CourierNew");
  EXPECT_EQ(marks.Font().color, kd::RGBColor(0, 0, 255));
  EXPECT_EQ(marks.Font().size, 11);
  EXPECT_EQ(marks.Font().charset, 0);
  // The size fails: face and colour stay applied, the rest keeps its value.
  EXPECT_TRUE(ExecInProcess(27, {"Rect1", "Tahoma|clRed|big|fsBold|204"}));
  EXPECT_EQ(marks.Font().name, "Tahoma");
  EXPECT_EQ(marks.Font().color, kd::clRed);
  EXPECT_EQ(marks.Font().size, 11);
  EXPECT_EQ(marks.Font().styles, kd::fsItalic);
}

TEST_F(MarksInside, FrameColourWidthAndStyle) {
  kd::TNeoChart& chart = Create();
  const kd::TSeriesMarks& marks = chart.Series().Marks();
  ASSERT_TRUE(ExecInProcess(28, {"Rect1", "0,0,255", "3"}));
  EXPECT_EQ(marks.Frame().color, kd::RGBColor(0, 0, 255));
  EXPECT_EQ(marks.Frame().width, 3);
  ASSERT_TRUE(ExecInProcess(28, {"Rect1", "blue", "-2"}));  // both kept
  EXPECT_EQ(marks.Frame().color, kd::RGBColor(0, 0, 255));
  EXPECT_EQ(marks.Frame().width, 3);
  ASSERT_TRUE(ExecInProcess(28, {"Rect1", "", ""}));
  EXPECT_EQ(marks.Frame().width, 1);

  ASSERT_TRUE(ExecInProcess(29, {"Rect1", "DashDotDot"}));
  EXPECT_EQ(marks.Frame().style, kd::psDashDotDot);
  EXPECT_TRUE(ExecInProcess(29, {"Rect1", "InsideFrame"}));
  EXPECT_TRUE(ExecInProcess(29, {"Rect1", "dash"}));
  EXPECT_EQ(marks.Frame().style, kd::psDashDotDot);
  ASSERT_TRUE(ExecInProcess(29, {"Rect1", "Clear"}));
  EXPECT_EQ(marks.Frame().style, kd::psClear);
}

TEST_F(MarksInside, ArrowPenAndLength) {
  kd::TNeoChart& chart = Create();
  const kd::TSeriesMarks& marks = chart.Series().Marks();
  ASSERT_TRUE(ExecInProcess(30, {"Rect1", "255,0,0", "Hide", "InsideFrame", "20"}));
  EXPECT_EQ(marks.Arrow().color, kd::clRed);
  EXPECT_FALSE(marks.Arrow().visible);
  EXPECT_EQ(marks.Arrow().style, kd::psInsideFrame);
  EXPECT_EQ(marks.ArrowLength(), 20);
  ASSERT_TRUE(ExecInProcess(30, {"Rect1", "255", "shown", "DOT", ""}));
  EXPECT_EQ(marks.Arrow().color, kd::clRed);
  EXPECT_FALSE(marks.Arrow().visible);
  EXPECT_EQ(marks.Arrow().style, kd::psInsideFrame);
  EXPECT_EQ(marks.ArrowLength(), 1);  // an empty length is one pixel
  ASSERT_TRUE(ExecInProcess(30, {"Rect1", "", "SHOW", "Dash", "x"}));
  EXPECT_TRUE(marks.Arrow().visible);
  EXPECT_EQ(marks.Arrow().style, kd::psDash);
  EXPECT_EQ(marks.ArrowLength(), 1);
}

}  // namespace
}  // namespace kdhost
