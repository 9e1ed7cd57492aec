// Title and foot, adding, deleting and clearing records.
#include "ActionFiles.h"
#include "ChartHost.h"
#include "platform/UserLocale.h"

namespace kdhost {
namespace {

// A value with the decimal separator the user's settings do not use.
std::string WithOtherSeparator() {
  return kd::platform::ReadUserLocale().decimalSeparator == ',' ? "2.5" : "2,5";
}
std::string WithRegionalSeparator() {
  return std::string("2") + kd::platform::ReadUserLocale().decimalSeparator + "5";
}

using DataActions = ChartTest;

TEST_F(DataActions, ResultsThroughTheLibrary) {
  ASSERT_TRUE(Exec(2, {"Rect1"}));
  EXPECT_FALSE(Exec(4, {"Rect2", "T", "Title", "Left", "Arial|clRed|10||1"}));
  EXPECT_FALSE(Exec(6, {"Rect2", "1"}));
  EXPECT_FALSE(Exec(7, {"Rect2"}));
  EXPECT_TRUE(Exec(7, {"RECT1"}));
  EXPECT_TRUE(Exec(5, {"Rect1", "A", WithRegionalSeparator(), ""}));
  EXPECT_FALSE(Exec(5, {"Rect1", "B", WithOtherSeparator(), ""}));
  EXPECT_TRUE(Exec(5, {"Rect1", "C", WithOtherSeparator(), "255,0,0"}));
  EXPECT_TRUE(Exec(6, {"Rect1", "99"}));
  EXPECT_TRUE(Exec(4, {"Rect1", "T", "Title", "Left", "Arial|clRed|10||1"}));
  EXPECT_FALSE(Exec(4, {"Rect1", "T", "Title", "Left", "Arial|clRed|"}));
  EXPECT_TRUE(Exec(4, {"Rect1", "T", "title", "Left", ""}));
}

using DataInside = InProcessChartTest;

TEST_F(DataInside, TitleAndFootTakeTextFontAndAlignment) {
  kd::TNeoChart& chart = Create();
  ASSERT_TRUE(ExecInProcess(4, {"Rect1", "Sales 2024", "Title", "Left", "Times New Roman|clRed|14|fsBold|204"}));
  ASSERT_TRUE(ExecInProcess(4, {"Rect1", "by region", "Foot", "Right", "Arial|$00FF0000|9||0"}));
  const kd::TChartTitle& title = chart.Chart().Title();
  ASSERT_EQ(title.Text().size(), 1u);
  EXPECT_EQ(title.Text()[0], "Sales 2024");
  EXPECT_EQ(title.Font().name, "TimesNewRoman");
  EXPECT_EQ(title.Font().color, kd::clRed);
  EXPECT_EQ(title.Font().size, 14);
  EXPECT_EQ(title.Font().styles, kd::fsBold);
  EXPECT_EQ(title.Font().charset, 204);
  EXPECT_EQ(title.Alignment(), kd::taLeftJustify);
  const kd::TChartTitle& foot = chart.Chart().Foot();
  EXPECT_EQ(foot.Text()[0], "by region");
  EXPECT_EQ(foot.Font().color, kd::RGBColor(0, 0, 255));
  EXPECT_EQ(foot.Alignment(), kd::taRightJustify);
  EXPECT_EQ(ExecInProcess(4, {"Rect1", "Sales", "Title", "Center", "|clRed|14||204"}), true);
  EXPECT_EQ(title.Font().name, "TimesNewRoman");  // an empty face name keeps the face
  EXPECT_EQ(title.Alignment(), kd::taCenter);
}

TEST_F(DataInside, TitleKeywordsInAnotherCaseChangeNothing) {
  kd::TNeoChart& chart = Create();
  kd::FontData before = chart.Chart().Title().Font();
  EXPECT_TRUE(ExecInProcess(4, {"Rect1", "x", "title", "Left", "Arial|clRed|20||0"}));
  EXPECT_TRUE(ExecInProcess(4, {"Rect1", "x", "FOOT", "Left", "Arial|clRed|20||0"}));
  EXPECT_EQ(chart.Chart().Title().Text()[0], "");
  EXPECT_EQ(chart.Chart().Foot().Text()[0], "");
  EXPECT_EQ(chart.Chart().Title().Font(), before);
  EXPECT_TRUE(ExecInProcess(4, {"Rect1", "x", "Title", "left", "Arial|clRed|20||0"}));
  EXPECT_EQ(chart.Chart().Title().Alignment(), kd::taCenter);
  EXPECT_EQ(chart.Chart().Title().Text()[0], "x");
}

TEST_F(DataInside, IncompleteTitleFontFailsAfterTheFieldsBeforeIt) {
  kd::TNeoChart& chart = Create();
  const kd::TChartTitle& title = chart.Chart().Title();
  // No size: face and colour applied, then false; alignment not reached.
  EXPECT_FALSE(ExecInProcess(4, {"Rect1", "first", "Title", "Right", "Courier|clBlue"}));
  EXPECT_EQ(title.Text()[0], "first");
  EXPECT_EQ(title.Font().name, "Courier");
  EXPECT_EQ(title.Font().color, 0xFF0000);
  EXPECT_EQ(title.Alignment(), kd::taCenter);
  // An empty font text fails at the empty colour and keeps the font.
  kd::FontData before = title.Font();
  EXPECT_FALSE(ExecInProcess(4, {"Rect1", "second", "Title", "Right", ""}));
  EXPECT_EQ(title.Text()[0], "second");
  EXPECT_EQ(title.Font(), before);
  // A bad character set comes last: everything else is applied.
  EXPECT_FALSE(ExecInProcess(4, {"Rect1", "third", "Title", "Left", "Arial|clRed|12|fsItalic|cyr"}));
  EXPECT_EQ(title.Font().size, 12);
  EXPECT_EQ(title.Font().styles, kd::fsItalic);
  EXPECT_EQ(title.Alignment(), kd::taCenter);
}

TEST_F(DataInside, TitleStylesAreOnlyEverAdded) {
  kd::TNeoChart& chart = Create();
  const kd::TChartTitle& title = chart.Chart().Title();
  ASSERT_TRUE(ExecInProcess(4, {"Rect1", "t", "Title", "", "Arial|clBlack|10|fsItalic|1"}));
  ASSERT_TRUE(ExecInProcess(4, {"Rect1", "t", "Title", "", "Arial|clBlack|10|fsBold fsbold|1"}));
  EXPECT_EQ(title.Font().styles, kd::fsBold | kd::fsItalic);
  ASSERT_TRUE(ExecInProcess(4, {"Rect1", "t", "Title", "", "Arial|clBlack|10||1"}));
  EXPECT_EQ(title.Font().styles, kd::fsBold | kd::fsItalic);
}

TEST_F(DataInside, TitleReachesThePicture) {
  kd::TNeoChart& chart = Create();
  ASSERT_TRUE(ExecInProcess(4, {"Rect1", "WWWWWWWW", "Title", "Center", "Arial|clRed|20|fsBold|1"}));
  SavedPicture picture(chart, "title.bmp");
  ASSERT_TRUE(picture.Saved());
  EXPECT_GT(picture.Count(kd::clRed, {100, 0, 300, 40}), 50);
}

TEST_F(DataInside, AddSeriesAppendsOneRecord) {
  kd::TNeoChart& chart = Create("");
  kd::TPieSeries& series = chart.Series();
  ASSERT_TRUE(ExecInProcess(5, {"Rect1", "North and; South|", WithRegionalSeparator(), ""}));
  ASSERT_TRUE(ExecInProcess(5, {"Rect1", "East", "7", "0,128,0"}));
  ASSERT_EQ(series.SliceCount(), 2);
  EXPECT_EQ(series.SliceLabel(0), "North and; South|");  // the label is not split
  EXPECT_EQ(series.SliceValue(0), 2.5);
  EXPECT_NE(series.SliceColor(0), kd::clDefault);
  EXPECT_EQ(series.SliceValue(1), 7);
  EXPECT_EQ(series.SliceColor(1), kd::RGBColor(0, 128, 0));
}

TEST_F(DataInside, AddSeriesWithBadTexts) {
  kd::TNeoChart& chart = Create("");
  kd::TPieSeries& series = chart.Series();
  // With a colour, a bad colour or value adds nothing but succeeds.
  EXPECT_TRUE(ExecInProcess(5, {"Rect1", "A", "1", "255,0"}));
  EXPECT_TRUE(ExecInProcess(5, {"Rect1", "A", WithOtherSeparator(), "255,0,0"}));
  EXPECT_TRUE(ExecInProcess(5, {"Rect1", "A", "1", " "}));
  EXPECT_EQ(series.SliceCount(), 0);
  // Without one, a bad value fails.
  EXPECT_FALSE(ExecInProcess(5, {"Rect1", "A", WithOtherSeparator(), ""}));
  EXPECT_FALSE(ExecInProcess(5, {"Rect1", "A", "", ""}));
  EXPECT_EQ(series.SliceCount(), 0);
}

std::vector<std::string> Labels(const kd::TPieSeries& series) {
  std::vector<std::string> labels;
  for (int i = 0; i < series.SliceCount(); ++i) labels.push_back(series.SliceLabel(i));
  return labels;
}

TEST_F(DataInside, DeleteSeriesByNumber) {
  kd::TNeoChart& chart = Create("A;1;|B;2;|C;3;|D;4;");
  kd::TPieSeries& series = chart.Series();
  EXPECT_TRUE(ExecInProcess(6, {"Rect1", "2"}));
  EXPECT_EQ(Labels(series), (std::vector<std::string>{"A", "C", "D"}));
  EXPECT_TRUE(ExecInProcess(6, {"Rect1", "3"}));  // numbers follow the current order
  EXPECT_EQ(Labels(series), (std::vector<std::string>{"A", "C"}));
  for (const char* number : {"0", "3", "-1", ""}) EXPECT_TRUE(ExecInProcess(6, {"Rect1", number})) << number;
  EXPECT_EQ(Labels(series), (std::vector<std::string>{"A", "C"}));
  EXPECT_TRUE(ExecInProcess(6, {"Rect1", "second"}));  // not a number: record 1
  EXPECT_EQ(Labels(series), (std::vector<std::string>{"C"}));
  EXPECT_TRUE(ExecInProcess(6, {"Rect1", "$1"}));
  EXPECT_EQ(series.SliceCount(), 0);
  EXPECT_TRUE(ExecInProcess(6, {"Rect1", "x"}));  // nothing left to delete
}

TEST_F(DataInside, ClearRemovesEveryRecord) {
  kd::TNeoChart& chart = Create("A;1;|B;2;");
  EXPECT_TRUE(ExecInProcess(7, {"Rect1"}));
  EXPECT_EQ(chart.Series().SliceCount(), 0);
  EXPECT_TRUE(ExecInProcess(7, {"Rect1"}));
  EXPECT_TRUE(ExecInProcess(5, {"Rect1", "Z", "1", ""}));
  EXPECT_EQ(Labels(chart.Series()), (std::vector<std::string>{"Z"}));
}

}  // namespace
}  // namespace kdhost
