#include "engine/PieSeries.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/Chart.h"
#include "support/RecordingDevice.h"

namespace kd {
namespace {

constexpr double kPi = 3.14159265358979323846;

void Add(TPieSeries& s, std::initializer_list<double> values) {
  for (double v : values) s.AddSlice(v);
}

TEST(PieSeriesAngles, SlicesFollowEachOtherCounterClockwise) {
  TPieSeries s;
  Add(s, {1, 1, 2});
  s.ComputeSliceAngles();
  ASSERT_EQ(3u, s.Angles().size());
  EXPECT_DOUBLE_EQ(0, s.Angle(0).FromAngle);
  EXPECT_DOUBLE_EQ(kPi / 2, s.Angle(0).ToAngle);
  EXPECT_DOUBLE_EQ(kPi / 4, s.Angle(0).MidAngle);
  EXPECT_DOUBLE_EQ(kPi / 2, s.Angle(1).FromAngle);
  EXPECT_DOUBLE_EQ(kPi, s.Angle(1).ToAngle);
  EXPECT_DOUBLE_EQ(kPi, s.Angle(2).FromAngle);
  EXPECT_EQ(2 * kPi, s.Angle(2).ToAngle);  // exactly closed, no rounding gap
}

TEST(PieSeriesAngles, AllZeroGivesTheFirstSliceTheWholeCircle) {
  TPieSeries s;
  Add(s, {0, 0, 0});
  s.ComputeSliceAngles();
  EXPECT_EQ(0, s.Angle(0).FromAngle);
  EXPECT_EQ(2 * kPi, s.Angle(0).ToAngle);
  EXPECT_EQ(2 * kPi, s.Angle(1).FromAngle);
  EXPECT_EQ(2 * kPi, s.Angle(2).ToAngle);
}

TEST(PieSeriesAngles, NegativeValuesCountByTheirSize) {
  TPieSeries s;
  Add(s, {-1, 3});
  s.ComputeSliceAngles();
  EXPECT_DOUBLE_EQ(kPi / 2, s.Angle(0).ToAngle);
  EXPECT_EQ(2 * kPi, s.Angle(1).ToAngle);
  EXPECT_EQ(4, s.PieValues().TotalAbs());
  EXPECT_EQ(2, s.PieValues().Total());
  EXPECT_EQ(-1, s.PieValues().MinValue());
  EXPECT_EQ(3, s.PieValues().MaxValue());
}

TEST(PieSeriesRotation, StoresWholeTurnsAwayAndRefusesNegatives) {
  TPieSeries s;
  s.SetRotationAngle(725);
  EXPECT_EQ(5, s.RotationAngle());
  EXPECT_DOUBLE_EQ(5 * kPi / 180, s.RotationRadians());
  try {
    s.SetRotationAngle(-1);
    FAIL() << "a negative angle must be refused";
  } catch (const PieException& e) {
    EXPECT_STREQ("Rotation Angle must be between 0 and 359 degrees", e.what());
  }
  EXPECT_EQ(5, s.RotationAngle());
  EXPECT_DOUBLE_EQ(5 * kPi / 180, s.RotationRadians());
  s.SetRotationAngle(360);
  EXPECT_EQ(0, s.RotationAngle());
  EXPECT_EQ(0, s.RotationRadians());
}

TEST(PieSeriesColors, PaletteByIndexExplicitColoursKept) {
  TPieSeries s;
  for (int i = 0; i < 17; ++i) s.AddSlice(1, "", i == 5 ? RGBColor(1, 2, 3) : clDefault);
  EXPECT_EQ(0x0000FF, s.SliceColor(0));  // red
  EXPECT_EQ(0x008000, s.SliceColor(1));  // green
  EXPECT_EQ(0x00FFFF, s.SliceColor(2));  // yellow
  EXPECT_EQ(0xFF0000, s.SliceColor(3));  // blue
  EXPECT_EQ(0xFFFFFF, s.SliceColor(4));  // white
  EXPECT_EQ(RGBColor(1, 2, 3), s.SliceColor(5));
  EXPECT_EQ(0x000000, s.SliceColor(15));  // black
  EXPECT_EQ(0x0000FF, s.SliceColor(16));  // the 17th is red again
  s.SetSeriesColor(0x123456);
  EXPECT_EQ(0x123456, s.SliceColor(17));  // no such slice: the series colour
}

TEST(PieSeriesColors, WithoutColorEachPointEverySliceHasTheSeriesColour) {
  TPieSeries s;
  s.SetSeriesColor(0x0000FF);
  s.AddSlice(1, "", 0x00FF00);
  s.AddSlice(1);
  s.SetColorEachPoint(false);
  EXPECT_EQ(0x0000FF, s.SliceColor(0));
  EXPECT_EQ(0x0000FF, s.SliceColor(1));
  // The explicit colour was forgotten, not hidden.
  s.SetColorEachPoint(true);
  EXPECT_EQ(TPieSeries::PaletteColor(0), s.SliceColor(0));
}

TEST(PieSeriesSlices, AddDeleteClearKeepListsInStep) {
  TPieSeries s;
  EXPECT_EQ(0, s.AddSlice(10, "Tea", 0x0000FF));
  EXPECT_EQ(1, s.AddSlice(30, "Milk"));
  EXPECT_EQ(2, s.AddSlice(5));
  EXPECT_EQ("", s.SliceLabel(2));
  s.DeleteSlice(0);
  ASSERT_EQ(2, s.SliceCount());
  EXPECT_EQ("Milk", s.SliceLabel(0));
  EXPECT_EQ(30, s.SliceValue(0));
  EXPECT_EQ(TPieSeries::PaletteColor(0), s.SliceColor(0));  // colours moved with it
  s.ClearSlices();
  EXPECT_EQ(0, s.SliceCount());
  EXPECT_EQ(0, s.PieValues().TotalAbs());
}

TEST(PieSeriesSlices, DeletingOutsideTheListIsRefused) {
  TPieSeries s;
  Add(s, {1, 2});
  try {
    s.DeleteSlice(2);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ("List index out of bounds (2)", e.what());
  }
  EXPECT_THROW(s.DeleteSlice(-1), EListError);
  EXPECT_EQ(2, s.SliceCount());
}

TEST(PieSeriesExplode, ListReadsZeroBeyondItsEndAndStaysOnDelete) {
  TPieSeries s;
  Add(s, {1, 2, 3});
  EXPECT_EQ(0, s.ExplodedSlice(100));
  s.SetExplodedSlice(2, 30);
  s.DeleteSlice(0);
  // The percentage belongs to the position, now another slice.
  EXPECT_EQ(30, s.ExplodedSlice(2));
  EXPECT_EQ(0, s.ExplodedSlice(1));
  s.ClearSlices();
  EXPECT_EQ(0, s.ExplodedSlice(2));
}

TEST(PieSeriesExplode, BiggestGoesToTheFirstLargestAndNeverResetsOthers) {
  TPieSeries s;
  Add(s, {3, 9, 9});
  s.SetExplodeBiggest(20);
  EXPECT_EQ(0, s.ExplodedSlice(0));
  EXPECT_EQ(20, s.ExplodedSlice(1));
  EXPECT_EQ(0, s.ExplodedSlice(2));

  s.AddSlice(50);
  s.UpdateExplodeBiggest();
  EXPECT_EQ(20, s.ExplodedSlice(3));
  EXPECT_EQ(20, s.ExplodedSlice(1));  // the former largest keeps its share
  s.SetExplodeBiggest(0);
  EXPECT_EQ(0, s.ExplodedSlice(3));
  EXPECT_EQ(20, s.ExplodedSlice(1));
}

TEST(PieSeriesGrouping, SmallSlicesBecomeOneOtherSliceOnce) {
  TPieSeries s;
  Add(s, {50, 45, 3, 2});
  TPieOtherSlice other;
  other.Style = poBelowPercent;
  other.Value = 10;
  s.SetOtherSlice(other);

  for (int paint = 0; paint < 3; ++paint) {
    s.GroupSmallSlices();
    ASSERT_EQ(5, s.SliceCount()) << "paint " << paint;
    EXPECT_EQ("Other", s.SliceLabel(4));
    EXPECT_EQ(5, s.SliceValue(4));
    EXPECT_FALSE(s.IsGrouped(1));
    EXPECT_TRUE(s.IsGrouped(2));
    EXPECT_TRUE(s.IsGrouped(3));
    EXPECT_EQ(100, s.PieValues().TotalAbs());  // grouped values counted once
  }
  s.ComputeSliceAngles();
  EXPECT_EQ(s.Angle(2).FromAngle, s.Angle(2).ToAngle);
  EXPECT_EQ(s.Angle(3).FromAngle, s.Angle(3).ToAngle);
  EXPECT_DOUBLE_EQ(2 * kPi * 0.95, s.Angle(4).FromAngle);
  EXPECT_EQ(2 * kPi, s.Angle(4).ToAngle);

  EXPECT_EQ(3, s.LegendItemCount());
  EXPECT_EQ(0, s.LegendItemToSlice(0));
  EXPECT_EQ(4, s.LegendItemToSlice(2));
  EXPECT_EQ(7, s.LegendItemToSlice(7));  // beyond the rows: the row itself
}

TEST(PieSeriesGrouping, NewSlicesGoBeforeTheOtherSlice) {
  TPieSeries s;
  Add(s, {50, 45, 3, 2});
  s.SetOtherSlice(TPieOtherSlice{poBelowPercent, 10, "Rest"});
  s.GroupSmallSlices();
  EXPECT_EQ(4, s.AddSlice(40));
  EXPECT_EQ("Rest", s.SliceLabel(5));
  s.GroupSmallSlices();
  ASSERT_EQ(6, s.SliceCount());
  EXPECT_EQ(40, s.SliceValue(4));
  EXPECT_EQ("Rest", s.SliceLabel(5));
}

TEST(PieSeriesGrouping, NoneOrAllZeroGroupsNothing) {
  TPieSeries s;
  Add(s, {50, 1});
  s.GroupSmallSlices();
  EXPECT_EQ(2, s.SliceCount());
  EXPECT_FALSE(s.IsGrouped(1));

  TPieSeries zeros;
  Add(zeros, {0, 0});
  zeros.SetOtherSlice(TPieOtherSlice{poBelowValue, 10, "Other"});
  zeros.GroupSmallSlices();
  EXPECT_EQ(2, zeros.SliceCount());
  EXPECT_FALSE(zeros.IsGrouped(0));
}

TEST(PieSeriesGrouping, GroupedNegativeValuesStillCloseThePie) {
  // The other slice draws |sum|; the total must count exactly the slices drawn.
  TPieSeries s;
  Add(s, {10, 6, -3, -1});
  s.SetOtherSlice(TPieOtherSlice{poBelowValue, 0, "Other"});
  s.GroupSmallSlices();
  ASSERT_EQ(5, s.SliceCount());
  EXPECT_EQ(-4, s.SliceValue(4));
  EXPECT_EQ(20, s.PieValues().TotalAbs());
  s.ComputeSliceAngles();
  EXPECT_EQ(2 * kPi, s.Angle(4).ToAngle);
  EXPECT_DOUBLE_EQ(2 * kPi * 16 / 20, s.Angle(4).FromAngle);
}

TEST(PieSeriesGrouping, OtherSliceHonoursTheMultiplier) {
  TPieSeries s;
  Add(s, {50, 45, 3, 2});
  s.PieValues().SetMultiplier(2);
  s.SetOtherSlice(TPieOtherSlice{poBelowPercent, 10, "Other"});
  s.GroupSmallSlices();
  EXPECT_EQ(10, s.SliceValue(4));
  EXPECT_EQ(200, s.PieValues().TotalAbs());
}

TEST(PieSeriesOrder, SortingMovesWholeSlices) {
  TPieSeries s;
  s.AddSlice(1, "one", 0x000001);
  s.AddSlice(3, "three", 0x000003);
  s.AddSlice(2, "two", 0x000002);
  s.SetExplodedSlice(1, 25);
  s.PieValues().Order = loDescending;
  s.GroupSmallSlices();
  EXPECT_EQ("three", s.SliceLabel(0));
  EXPECT_EQ(0x000003, s.SliceColor(0));
  EXPECT_EQ(25, s.ExplodedSlice(0));
  EXPECT_EQ("two", s.SliceLabel(1));
  EXPECT_EQ("one", s.SliceLabel(2));
  EXPECT_EQ(0, s.ExplodedSlice(2));
  EXPECT_EQ(2, s.SliceXValue(2));  // renumbered in the new order
}

TEST(PieSeriesLegend, RowTextsByStyle) {
  TPieSeries s;
  s.AddSlice(10, "Tea");
  s.AddSlice(30, "Mi\rlk");
  EXPECT_EQ("10 Tea", s.SliceLegendText(0, ltsLeftValue));
  EXPECT_EQ("Tea 10", s.SliceLegendText(0, ltsRightValue));
  EXPECT_EQ("Mi lk 75 %", s.SliceLegendText(1, ltsRightPercent));
  EXPECT_EQ("25 % Tea", s.SliceLegendText(0, ltsLeftPercent));
  EXPECT_EQ("Tea", s.SliceLegendText(0, ltsPlain));
  EXPECT_EQ("1", s.SliceLegendText(1, ltsXValue));
  EXPECT_EQ("", s.SliceLegendText(2, ltsPlain));
}

// ---- with a panel

class PieSeriesOnPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    chart.AddSeries(&series);
    chart.SetInvalidateHandler([this] { ++repaints; });
    repaints = 0;
  }

  TChart chart;
  TPieSeries series;
  int repaints = 0;
};

TEST_F(PieSeriesOnPanel, SettersRepaintOnlyOnChange) {
  series.SetCircled(true);
  series.SetCircled(true);
  EXPECT_EQ(1, repaints);
  series.SetRotationAngle(10);
  series.SetRotationAngle(370);  // the same angle
  EXPECT_EQ(2, repaints);
  TChartPen pen = series.PiePen();
  series.SetPiePen(pen);
  EXPECT_EQ(2, repaints);
  pen.width = -3;  // a negative width keeps the old one
  series.SetPiePen(pen);
  EXPECT_EQ(2, repaints);
  EXPECT_EQ(1, series.PiePen().width);
  pen.color = 0x0000FF;
  series.SetPiePen(pen);
  EXPECT_EQ(3, repaints);
  series.Marks().SetArrowLength(8);
  EXPECT_EQ(3, repaints);
  series.Marks().SetArrowLength(12);
  EXPECT_EQ(4, repaints);
  series.SetOtherSlice(series.OtherSlice());
  EXPECT_EQ(4, repaints);
}

TEST_F(PieSeriesOnPanel, DataChangesRepaintOnlyWhileActive) {
  series.AddSlice(1);
  EXPECT_EQ(1, repaints);
  series.SetActive(false);
  const int before = repaints;
  series.AddSlice(2);
  series.DeleteSlice(0);
  series.ClearSlices();
  EXPECT_EQ(before, repaints);
}

TEST_F(PieSeriesOnPanel, LegendRowsFollowThePanelsTextStyle) {
  series.AddSlice(10, "Tea");
  series.AddSlice(30, "Milk");
  EXPECT_EQ("30 Milk", series.LegendItemText(1));
  chart.Legend().SetTextStyle(ltsRightPercent);
  EXPECT_EQ("Tea 25 %", series.LegendItemText(0));
}

TEST_F(PieSeriesOnPanel, PaintsGroupedSlicesWithoutAskingForAnotherPaint) {
  for (double v : {50.0, 45.0, 3.0, 2.0}) series.AddSlice(v);
  series.SetOtherSlice(TPieOtherSlice{poBelowPercent, 10, "Other"});
  series.SetExplodeBiggest(15);
  chart.SetView3D(false);
  chart.SetBufferedDisplay(false);
  chart.Legend().SetVisible(false);
  const int before = repaints;
  for (int paint = 0; paint < 2; ++paint) {
    test::RecordingDevice device;
    chart.Draw(device, MakeRect(0, 0, 400, 300));
    EXPECT_EQ(5, series.SliceCount());
    EXPECT_EQ(3, device.Count(test::Call::Pie)) << "paint " << paint;
    EXPECT_EQ((std::vector<std::string>{"50", "45", "Other"}), device.Texts());
  }
  EXPECT_EQ(before, repaints);
  EXPECT_TRUE(series.Geometry().HasExploded);
  const TPieGeometry& g = series.Geometry();
  EXPECT_EQ(0, series.SliceAtPoint(g.PieCenterX + 20, g.PieCenterY - 40));
  // Just above the centre lies the gap the pulled-out biggest slice left.
  EXPECT_EQ(-1, series.SliceAtPoint(g.PieCenterX + 20, g.PieCenterY - 5));
}

}  // namespace
}  // namespace kd
