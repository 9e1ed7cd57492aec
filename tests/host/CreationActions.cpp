// Creating, replacing, re-parenting and deleting chart objects.
#include "ChartHost.h"
#include "charts/RotationState.h"

namespace kdhost {
namespace {

// The chart windows the module placed in a host rectangle.
std::vector<HWND> ChartWindowsIn(HWND rectangle) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(rectangle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    found.push_back(child);
  return found;
}

std::vector<std::string> CreateParams(const std::string& name, const std::string& records = "A;1;") {
  return {name, "", records, "", "", "", "", "", ""};
}

using Creation = ChartTest;

TEST_F(Creation, ChartFillsTheHostRectangleAndIsVisible) {
  ASSERT_TRUE(Exec(1, CreateParams("Rect1")));
  auto windows = ChartWindowsIn(page->window().Rectangle("Rect1"));
  ASSERT_EQ(windows.size(), 1u);
  RECT r;
  GetClientRect(windows[0], &r);
  EXPECT_EQ(r.right, 400);
  EXPECT_EQ(r.bottom, 300);
  EXPECT_TRUE(IsWindowVisible(windows[0]));
  EXPECT_EQ(GetWindowLongA(windows[0], GWL_STYLE) & (WS_BORDER | WS_CAPTION), 0);
}

TEST_F(Creation, CreatingTwiceOrInAnotherCaseLeavesOneChart) {
  ASSERT_TRUE(Exec(1, CreateParams("Rect1")));
  ASSERT_TRUE(Exec(1, CreateParams("Rect1")));
  ASSERT_TRUE(Exec(2, {"RECT1"}));
  EXPECT_EQ(ChartWindowsIn(page->window().Rectangle("Rect1")).size(), 1u);
  EXPECT_TRUE(Exec(3, {"rect1"}));
  EXPECT_FALSE(Exec(3, {"Rect1"}));
  EXPECT_TRUE(ChartWindowsIn(page->window().Rectangle("Rect1")).empty());
}

TEST_F(Creation, CyrillicNamesInAnotherCaseAreDifferentCharts) {
  const std::string upper = "\xCF\xC8\xD0\xCE\xC3";  // ПИРОГ in code page 1251
  const std::string lower = "\xEF\xE8\xF0\xEE\xE3";  // пирог
  HWND a = page->window().AddRectangle(upper, 10, 10, 100, 100);
  HWND b = page->window().AddRectangle(lower, 120, 10, 100, 100);
  ASSERT_TRUE(Exec(2, {upper}));
  ASSERT_TRUE(Exec(2, {lower}));
  EXPECT_EQ(ChartWindowsIn(a).size(), 1u);
  EXPECT_EQ(ChartWindowsIn(b).size(), 1u);
  EXPECT_TRUE(Exec(3, {upper}));
  EXPECT_TRUE(Exec(3, {lower}));
}

TEST_F(Creation, HostWithoutAWindowForTheName) {
  // The host answers 0 for names it does not know.
  EXPECT_FALSE(Exec(1, CreateParams("Nowhere")));
  EXPECT_TRUE(Exec(2, {"Nowhere"}));
  EXPECT_FALSE(Exec(5, {"Nowhere", "A", "1", ""}));
  EXPECT_FALSE(Exec(3, {"Nowhere"}));
}

TEST_F(Creation, BadHostAnswersFailAndTheOldChartIsGone) {
  ASSERT_TRUE(Exec(1, CreateParams("Rect1")));
  host.windowAnswer = WindowAnswer::Text;
  host.windowAnswerText = "not a handle";
  EXPECT_FALSE(Exec(1, CreateParams("Rect1")));
  EXPECT_TRUE(ChartWindowsIn(page->window().Rectangle("Rect1")).empty());

  host.windowAnswer = WindowAnswer::SetNull;
  EXPECT_FALSE(Exec(2, {"Rect1"}));
  host.windowAnswer = WindowAnswer::LeaveQuestion;  // the name read back is no number
  EXPECT_FALSE(Exec(1, CreateParams("Rect1")));
  EXPECT_EQ(ledger.LiveModuleBlocks(), 0u);
}

TEST_F(Creation, EveryActionOfADeletedChartReturnsFalse) {
  ASSERT_TRUE(Exec(1, CreateParams("Rect1")));
  ASSERT_TRUE(Exec(3, {"Rect1"}));
  EXPECT_FALSE(Exec(7, {"Rect1"}));
  EXPECT_FALSE(Exec(10, {"Rect1", "255,0,0"}));
}

TEST_F(Creation, LeavingRunModeClosesEveryChartAndCreationWorksAgain) {
  ASSERT_TRUE(Exec(1, CreateParams("Rect1")));
  ASSERT_TRUE(Exec(2, {"Rect2"}));
  for (int code : {1, 3, 4, 5, 6, 7, 8}) Plugin().nbMessage(code, 0);
  EXPECT_EQ(ChartWindowsIn(page->window().Rectangle("Rect2")).size(), 1u);
  Plugin().nbMessage(kd::kMessageLeaveRunMode, 0);
  EXPECT_TRUE(ChartWindowsIn(page->window().Rectangle("Rect1")).empty());
  EXPECT_TRUE(ChartWindowsIn(page->window().Rectangle("Rect2")).empty());
  EXPECT_FALSE(Exec(7, {"Rect1"}));
  EXPECT_TRUE(Exec(2, {"Rect1"}));
  EXPECT_TRUE(Exec(7, {"Rect1"}));
}

TEST_F(Creation, ResizedRectangleResizesTheChartOnlyForReasonFour) {
  ASSERT_TRUE(Exec(2, {"Rect1"}));
  HWND rect = page->window().Rectangle("Rect1");
  HWND chart = ChartWindowsIn(rect).at(0);
  // Reasons other than 4 change nothing.
  MoveWindow(rect, 10, 10, 250, 150, TRUE);
  for (LPARAM reason : {1, 2, 3, 5}) SendMessageA(chart, kd::kHostRectangleMessage, 0, reason);
  RECT r;
  GetClientRect(chart, &r);
  EXPECT_EQ(r.right, 400);
  page->window().MoveRectangle("Rect1", 10, 10, 250, 150);
  GetClientRect(chart, &r);
  EXPECT_EQ(r.right, 250);
  EXPECT_EQ(r.bottom, 150);
  EXPECT_EQ(GetParent(chart), rect);
}

TEST_F(Creation, FailingQueryOnResizeLeavesTheChartAsItWas) {
  ASSERT_TRUE(Exec(2, {"Rect1"}));
  HWND rect = page->window().Rectangle("Rect1");
  HWND chart = ChartWindowsIn(rect).at(0);
  host.windowAnswer = WindowAnswer::Text;
  host.windowAnswerText = "12x";
  page->window().MoveRectangle("Rect1", 10, 10, 250, 150);
  RECT r;
  GetClientRect(chart, &r);
  EXPECT_EQ(r.right, 400);
  EXPECT_EQ(GetParent(chart), rect);
}

using CreationInside = InProcessChartTest;

TEST_F(CreationInside, ParametersReachPanelAndSeries) {
  ASSERT_TRUE(ExecInProcess(1, {"Rect1", "0,0,255", "A;1;|B;x;|C;3;0,255,0|D;4", "TRUE", "false", "False",
                                "true", "20", "45"}));
  kd::TNeoChart* chart = Chart("Rect1");
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->Chart().Color(), kd::RGBColor(0, 0, 255));
  ASSERT_EQ(chart->Series().SliceCount(), 2);
  EXPECT_EQ(chart->Series().SliceLabel(0), "A");
  EXPECT_EQ(chart->Series().SliceLabel(1), "C");
  EXPECT_EQ(chart->Series().SliceColor(1), kd::RGBColor(0, 255, 0));
  EXPECT_TRUE(chart->Chart().Monochrome());
  EXPECT_FALSE(chart->Chart().View3D());
  EXPECT_FALSE(chart->Series().Marks().Visible());
  EXPECT_TRUE(chart->Series().UsePatterns());
  EXPECT_EQ(chart->Series().ExplodeBiggest(), 20);
  EXPECT_EQ(chart->Series().RotationAngle(), 45);
}

TEST_F(CreationInside, EmptyAndBadTextsKeepTheFreshChart) {
  ASSERT_TRUE(ExecInProcess(1, {"Rect1", "10,20", "", "yes", " true", "", "", "x", ""}));
  kd::TNeoChart* chart = Chart("Rect1");
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->Chart().Color(), kd::clWhite);
  EXPECT_EQ(chart->Series().SliceCount(), 0);
  EXPECT_FALSE(chart->Chart().Monochrome());
  EXPECT_TRUE(chart->Chart().View3D());
  EXPECT_TRUE(chart->Series().Marks().Visible());
  EXPECT_EQ(chart->Series().Marks().ArrowLength(), 8);
  EXPECT_EQ(chart->Series().ExplodeBiggest(), 0);
  EXPECT_EQ(chart->Series().RotationAngle(), 0);
}

TEST_F(CreationInside, SecondCreationStartsFromAFreshChart) {
  ASSERT_TRUE(ExecInProcess(1, {"Rect1", "0,0,255", "A;1;", "true", "", "", "", "", ""}));
  ASSERT_TRUE(ExecInProcess(1, {"Rect1", "", "B;2;|C;3;", "", "", "", "", "", ""}));
  kd::TNeoChart* chart = Chart("Rect1");
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->Series().SliceCount(), 2);
  EXPECT_EQ(chart->Chart().Color(), kd::clWhite);
  EXPECT_FALSE(chart->Chart().Monochrome());
  ASSERT_NE(kd::Charts(), nullptr);
  EXPECT_EQ(kd::Charts()->Count(), 1u);
}

TEST_F(CreationInside, NoInterfaceAccessCallbackFailsCreation) {
  ASSERT_TRUE(ExecInProcess(2, {"Rect1"}));
  kd::RegisterInterfaceAccess(nullptr);
  EXPECT_FALSE(ExecInProcess(1, CreateParams("Rect1")));
  EXPECT_FALSE(ExecInProcess(2, {"Rect1"}));
  EXPECT_EQ(Chart("Rect1"), nullptr);
}

TEST(RotationCounter, StaysWithinATurnWhateverTheStep) {
  kd::RotationState rotation;
  rotation.step = 2147483647;
  for (int tick = 0; tick < 1000; ++tick) {
    int angle = rotation.Advance();
    ASSERT_GE(angle, 0);
    ASSERT_LT(angle, 360);
  }
  rotation.step = 0;
  EXPECT_EQ(rotation.Advance(), -1);
  rotation.step = 5;
  rotation.counter = 358;
  EXPECT_EQ(rotation.Advance(), 358);
  EXPECT_EQ(rotation.Advance(), 3);
}

}  // namespace
}  // namespace kdhost
