// Panel visibility, monochrome, background colour, gradient and image,
// patterns, slice outline, 3D and view values, round pie and rotation.
#include "ActionFiles.h"
#include "ChartHost.h"
#include "charts/RotationState.h"

namespace kdhost {
namespace {

// Gradient bands may round a step off the exact end colours.
bool Near(long pixel, kd::TColor color) {
  return pixel >= 0 && kdtest::Near(static_cast<kd::TColor>(pixel), color, 12);
}

constexpr kd::TColor kBlue = kd::RGBColor(0, 0, 255);
constexpr kd::TColor kGreen = kd::RGBColor(0, 255, 0);

using Appearance = ChartTest;

TEST_F(Appearance, ResultsThroughTheLibrary) {
  EXPECT_FALSE(Exec(10, {"Rect1", "255,0,0"}));
  ASSERT_TRUE(Exec(1, {"Rect1", "", "A;1;|B;2;", "", "", "", "", "", ""}));
  EXPECT_TRUE(Exec(8, {"Rect1", "Hide"}));
  EXPECT_TRUE(Exec(10, {"Rect1", "red"}));
  EXPECT_TRUE(Exec(11, {"Rect1", "", "0,0,255", "FromTopRight"}));
  EXPECT_FALSE(Exec(12, {"Rect1", ProgramFolder() + "missing.bmp", "Stretch", "show"}));
  EXPECT_TRUE(Exec(14, {"Rect1", "x", "show", "Dash", ""}));
  EXPECT_TRUE(Exec(16, {"Rect1", "Depth", "0"}));
  EXPECT_TRUE(Exec(16, {"Rect1", "Nothing", "0"}));
  EXPECT_TRUE(Exec(34, {"Rect1", "true", "0"}));
  EXPECT_TRUE(Exec(34, {"Rect1", "false", ""}));
  EXPECT_FALSE(Exec(34, {"Rect2", "true", "1"}));
}

TEST_F(Appearance, ExportStaysInColourWhileTheScreenIsMonochrome) {
  ASSERT_TRUE(Exec(1, {"Rect1", "", "A;1;|B;2;", "", "", "", "", "", ""}));
  ASSERT_TRUE(Exec(10, {"Rect1", "0,0,255"}));
  ASSERT_TRUE(Exec(9, {"Rect1", "true"}));
  ProgramFile file("background.bmp");
  ASSERT_TRUE(Exec(33, {"Rect1", file.Path()}));
  EXPECT_EQ(BitmapPixel(file.Path(), 2, 2), kBlue);
  EXPECT_EQ(BitmapPixel(file.Path(), 397, 297), kBlue);
}

using AppearanceInside = InProcessChartTest;

TEST_F(AppearanceInside, SwitchesAndShowHideWords) {
  kd::TNeoChart& chart = Create();
  EXPECT_TRUE(ExecInProcess(8, {"Rect1", "HIDE"}));
  EXPECT_FALSE(chart.PanelVisible());
  EXPECT_TRUE(ExecInProcess(8, {"Rect1", "hidden"}));
  EXPECT_FALSE(chart.PanelVisible());
  EXPECT_TRUE(ExecInProcess(8, {"Rect1", "Show"}));
  EXPECT_TRUE(chart.PanelVisible());

  EXPECT_TRUE(ExecInProcess(9, {"Rect1", "True"}));
  EXPECT_TRUE(ExecInProcess(13, {"Rect1", "TRUE"}));
  EXPECT_TRUE(ExecInProcess(15, {"Rect1", "false"}));
  EXPECT_TRUE(ExecInProcess(17, {"Rect1", "true"}));
  EXPECT_TRUE(chart.Chart().Monochrome());
  EXPECT_TRUE(chart.Series().UsePatterns());
  EXPECT_FALSE(chart.Chart().View3D());
  EXPECT_TRUE(chart.Series().Circled());
  for (int id : {9, 13, 15, 17}) EXPECT_TRUE(ExecInProcess(id, {"Rect1", "true "})) << id;
  EXPECT_TRUE(chart.Chart().Monochrome());
  EXPECT_FALSE(chart.Chart().View3D());
}

TEST_F(AppearanceInside, ColorSwitchesTheGradientOffEvenWhenItDoesNotParse) {
  kd::TNeoChart& chart = Create();
  kd::TChart& panel = chart.Chart();
  ASSERT_TRUE(ExecInProcess(11, {"Rect1", "255,0,0", "0,0,255", "TopBottom"}));
  ASSERT_TRUE(panel.Gradient().Visible());
  EXPECT_TRUE(ExecInProcess(10, {"Rect1", ""}));  // empty: nothing at all
  EXPECT_TRUE(panel.Gradient().Visible());
  EXPECT_TRUE(ExecInProcess(10, {"Rect1", "no colour"}));
  EXPECT_FALSE(panel.Gradient().Visible());
  EXPECT_EQ(panel.Color(), kd::clWhite);
  EXPECT_TRUE(ExecInProcess(10, {"Rect1", "0,0,255"}));
  EXPECT_EQ(panel.Color(), kBlue);
}

struct GradientCase {
  const char* keyword;
  kd::TGradientDirection direction;
  bool swapped;
};

TEST_F(AppearanceInside, GradientDirections) {
  const kd::TColor red = kd::RGBColor(255, 0, 0);
  const GradientCase cases[] = {
      {"TopBottom", kd::gdTopBottom, false},       {"BottomTop", kd::gdBottomTop, false},
      {"LeftRight", kd::gdLeftRight, false},       {"RightLeft", kd::gdRightLeft, false},
      {"FromCenter", kd::gdFromCenter, false},     {"FromTopLeft", kd::gdFromTopLeft, false},
      {"FromBottomLeft", kd::gdFromBottomLeft, false}, {"FromTopRight", kd::gdFromTopLeft, true},
      {"FromBottomRight", kd::gdFromBottomLeft, true}};
  kd::TNeoChart& chart = Create();
  const kd::TChartGradient& gradient = chart.Chart().Gradient();
  for (const GradientCase& c : cases) {
    ASSERT_TRUE(ExecInProcess(11, {"Rect1", "255,0,0", "0,0,255", c.keyword}));
    EXPECT_TRUE(gradient.Visible());
    EXPECT_EQ(gradient.Direction(), c.direction) << c.keyword;
    EXPECT_EQ(gradient.StartColor(), c.swapped ? kBlue : red) << c.keyword;
    EXPECT_EQ(gradient.EndColor(), c.swapped ? red : kBlue) << c.keyword;
  }
}

TEST_F(AppearanceInside, GradientKeywordInAnotherCaseOrBadColours) {
  kd::TNeoChart& chart = Create();
  const kd::TChartGradient& gradient = chart.Chart().Gradient();
  kd::TColor start = gradient.StartColor(), end = gradient.EndColor();
  EXPECT_TRUE(ExecInProcess(11, {"Rect1", "255,0,0", "0,0,255", "topbottom"}));
  EXPECT_FALSE(gradient.Visible());
  EXPECT_EQ(gradient.StartColor(), start);
  EXPECT_EQ(gradient.EndColor(), end);
  EXPECT_TRUE(ExecInProcess(11, {"Rect1", "1,2", "0,0,255", "LeftRight"}));
  EXPECT_EQ(gradient.StartColor(), kd::clWhite);  // a colour that does not parse stays white
  EXPECT_EQ(gradient.EndColor(), kBlue);
}

TEST_F(AppearanceInside, GradientPictures) {
  kd::TNeoChart& chart = Create();
  ASSERT_TRUE(ExecInProcess(11, {"Rect1", "255,0,0", "0,0,255", "TopBottom"}));
  {
    SavedPicture picture(chart, "gradient1.bmp");
    ASSERT_TRUE(picture.Saved());
    EXPECT_TRUE(Near(picture.Pixel(2, 1), kBlue)) << std::hex << picture.Pixel(2, 1);
    EXPECT_TRUE(Near(picture.Pixel(2, 298), kd::RGBColor(255, 0, 0))) << std::hex << picture.Pixel(2, 298);
  }
  // An empty first colour is white; from the top right puts the second in the top-left corner.
  ASSERT_TRUE(ExecInProcess(11, {"Rect1", "", "0,0,255", "FromTopRight"}));
  SavedPicture picture(chart, "gradient2.bmp");
  ASSERT_TRUE(picture.Saved());
  EXPECT_TRUE(Near(picture.Pixel(1, 1), kBlue)) << std::hex << picture.Pixel(1, 1);
  EXPECT_TRUE(Near(picture.Pixel(398, 298), kd::clWhite)) << std::hex << picture.Pixel(398, 298);
}

TEST_F(AppearanceInside, BackImageLoadsOrKeepsThePreviousOne) {
  kd::TNeoChart& chart = Create();
  kd::TChart& panel = chart.Chart();
  ProgramFile green("green.bmp");
  ASSERT_TRUE(WriteSolidBitmap(green.Path(), 16, 16, kGreen));
  ASSERT_TRUE(ExecInProcess(12, {"Rect1", green.Path(), "Tile", "Show"}));
  const kd::TPicture* loaded = panel.BackImage();
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(panel.BackImageMode(), kd::pbmTile);
  EXPECT_FALSE(panel.BackImageInside());

  for (const std::string& path : {ProgramFolder() + "missing.bmp", std::string(), green.Path() + ".txt"}) {
    EXPECT_FALSE(ExecInProcess(12, {"Rect1", path, "Center", "HIDE"})) << path;
    EXPECT_EQ(panel.BackImage(), loaded);
    EXPECT_EQ(panel.BackImageMode(), kd::pbmTile);
    EXPECT_FALSE(panel.BackImageInside());
  }
  // The layout is compared exactly, show and hide in any case.
  ASSERT_TRUE(ExecInProcess(12, {"Rect1", green.Path(), "center", "HiDe"}));
  EXPECT_NE(panel.BackImage(), nullptr);
  EXPECT_EQ(panel.BackImageMode(), kd::pbmTile);
  EXPECT_TRUE(panel.BackImageInside());
}

TEST_F(AppearanceInside, BackImageCoversThePanelOrVanishesInsideA3DChart) {
  kd::TNeoChart& chart = Create();
  ProgramFile green("green.bmp");
  ASSERT_TRUE(WriteSolidBitmap(green.Path(), 16, 16, kGreen));
  ASSERT_TRUE(ExecInProcess(12, {"Rect1", green.Path(), "Stretch", "show"}));
  {
    SavedPicture picture(chart, "image1.bmp");
    EXPECT_EQ(picture.Pixel(2, 2), kGreen);
  }
  ASSERT_TRUE(chart.Chart().View3D());
  ASSERT_TRUE(ExecInProcess(12, {"Rect1", green.Path(), "Stretch", "Hide"}));
  SavedPicture picture(chart, "image2.bmp");
  ASSERT_TRUE(picture.Saved());
  EXPECT_EQ(picture.Count(kGreen), 0);
}

TEST_F(AppearanceInside, BorderSetsThePiePen) {
  kd::TNeoChart& chart = Create();
  const kd::TChartPen& pen = chart.Series().PiePen();
  ASSERT_TRUE(ExecInProcess(14, {"Rect1", "0,0,255", "HIDE", "DashDot", "3"}));
  EXPECT_EQ(pen.color, kBlue);
  EXPECT_FALSE(pen.visible);
  EXPECT_EQ(pen.style, kd::psDashDot);
  EXPECT_EQ(pen.width, 3);
  // A bad colour and unknown words keep those settings; a negative width too.
  ASSERT_TRUE(ExecInProcess(14, {"Rect1", "0,0", "visible", "dot", "-2"}));
  EXPECT_EQ(pen.color, kBlue);
  EXPECT_FALSE(pen.visible);
  EXPECT_EQ(pen.style, kd::psDashDot);
  EXPECT_EQ(pen.width, 3);
  ASSERT_TRUE(ExecInProcess(14, {"Rect1", "", "show", "InsideFrame", ""}));
  EXPECT_TRUE(pen.visible);
  EXPECT_EQ(pen.style, kd::psInsideFrame);
  EXPECT_EQ(pen.width, 1);  // an empty width is 1
}

TEST_F(AppearanceInside, ExtremeNumbersStillGiveAPicture) {
  kd::TNeoChart& chart = Create("A;1e308;|B;1e308;|C;-5;");
  const std::vector<std::vector<std::string>> actions = {
      {"14", "Rect1", "", "", "", "100000"},
      {"23", "Rect1", "", "2147483647"},
      {"28", "Rect1", "", "2147483647"},
      {"30", "Rect1", "", "", "", "-2147483648"},
      {"27", "Rect1", "Arial|clRed|2147483647||0"},
      {"19", "Rect1", "Arial|clRed|-2147483648||0"},
      {"4", "Rect1", "T", "Title", "", "Arial|clRed|100000||0"}};
  for (const auto& action : actions)
    EXPECT_TRUE(ExecInProcess(std::stoi(action[0]), {action.begin() + 1, action.end()})) << action[0];
  SavedPicture picture(chart, "extremes.bmp");
  EXPECT_TRUE(picture.Saved());
  PumpFor(100);  // the window paints them too
}

struct ViewCase {
  const char* name;
  const char* value;
  int stored;
};

int ViewValue(kd::TNeoChart& chart, const std::string& name) {
  const kd::TView3DOptions& view = chart.Chart().View3DOptions();
  if (name == "Perspective") return view.Perspective;
  if (name == "Rotation") return view.Rotation;
  if (name == "Elevation") return view.Elevation;
  if (name == "Rotation Angle") return chart.Series().RotationAngle();
  if (name == "Explode Biggest") return chart.Series().ExplodeBiggest();
  if (name == "Horiz Offset") return view.HorizOffset;
  if (name == "Vert Offset") return view.VertOffset;
  if (name == "Zoom") return view.Zoom;
  return chart.Chart().Chart3DPercent();
}

TEST_F(AppearanceInside, ViewValuesAreClampedAsText) {
  const ViewCase cases[] = {
      {"Perspective", "50", 50},      {"Perspective", "101", 100},   {"Perspective", "abc", 0},
      {"Rotation", "-1", 0},          {"Rotation", "$20", 32},       {"Elevation", "361", 360},
      {"Rotation Angle", "90", 90},   {"Rotation Angle", "360", 0},  {"Rotation Angle", "-5", 0},
      {"Rotation Angle", "725", 0},   {"Explode Biggest", "150", 100}, {"Explode Biggest", "", 0},
      {"Horiz Offset", "9999", 1500}, {"Horiz Offset", "-9999", -1500}, {"Vert Offset", "-20", -20},
      {"Zoom", "abc", 1},             {"Zoom", "0", 1},              {"Zoom", "800", 500},
      {"Depth", "0", 1},              {"Depth", "40", 40},           {"Depth", "x", 1}};
  kd::TNeoChart& chart = Create();
  for (const ViewCase& c : cases) {
    EXPECT_TRUE(ExecInProcess(16, {"Rect1", c.name, c.value})) << c.name << " " << c.value;
    EXPECT_EQ(ViewValue(chart, c.name), c.stored) << c.name << " " << c.value;
  }
  // Names are compared exactly.
  EXPECT_TRUE(ExecInProcess(16, {"Rect1", "zoom", "300"}));
  EXPECT_TRUE(ExecInProcess(16, {"Rect1", "Depth ", "50"}));
  EXPECT_EQ(chart.Chart().View3DOptions().Zoom, 500);
  EXPECT_EQ(chart.Chart().Chart3DPercent(), 1);
}

TEST_F(AppearanceInside, RotationWithStepZeroStandsStill) {
  kd::TNeoChart& chart = Create();
  ASSERT_TRUE(ExecInProcess(16, {"Rect1", "Rotation Angle", "77"}));
  ASSERT_TRUE(ExecInProcess(34, {"Rect1", "TRUE", "0"}));
  EXPECT_TRUE(chart.RotationTimer().Enabled());
  EXPECT_EQ(kd::Rotation().step, 0);
  PumpFor(300);
  EXPECT_EQ(chart.Series().RotationAngle(), 77);
  ASSERT_TRUE(ExecInProcess(34, {"Rect1", "False", "9"}));
  EXPECT_FALSE(chart.RotationTimer().Enabled());
  EXPECT_EQ(kd::Rotation().step, 0);  // "false" keeps the step
}

TEST_F(AppearanceInside, RotationAdvancesByTheSharedStep) {
  kd::TNeoChart& chart = Create();
  kd::Rotation().counter = 100;
  ASSERT_TRUE(ExecInProcess(16, {"Rect1", "Rotation Angle", "0"}));
  ASSERT_TRUE(ExecInProcess(34, {"Rect1", "true", "5"}));
  EXPECT_EQ(kd::Rotation().step, 5);
  // The first tick comes 70 ms later; a loaded machine may take longer.
  ASSERT_TRUE(PumpUntil([&] { return chart.Series().RotationAngle() != 0; }, 5000));
  const int angle = chart.Series().RotationAngle();
  EXPECT_GE(angle, 100);
  EXPECT_EQ(angle % 5, 0);
  EXPECT_EQ(kd::Rotation().counter, angle + 5);
  ASSERT_TRUE(ExecInProcess(34, {"Rect1", "false", ""}));
  PumpFor(150);
  EXPECT_EQ(chart.Series().RotationAngle(), angle);
  ASSERT_TRUE(ExecInProcess(34, {"Rect1", "true", "fast"}));  // not a number: step 1
  EXPECT_EQ(kd::Rotation().step, 1);
  ASSERT_TRUE(ExecInProcess(34, {"Rect1", "yes", "7"}));
  EXPECT_EQ(kd::Rotation().step, 1);
  EXPECT_TRUE(chart.RotationTimer().Enabled());
}

}  // namespace
}  // namespace kdhost
