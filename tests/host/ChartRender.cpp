// Whole charts painted by the engine on the GDI device, checked pixel by
// pixel: gradient bands and corners, hatched slices, the 3D rim, monochrome
// screen images against their colour export, back images in every layout,
// refused pictures keeping the old one, and GDI objects after paints.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <set>

#include "engine/Chart.h"
#include "engine/PieDrawing.h"
#include "engine/PieSeries.h"
#include "platform/BitmapFile.h"
#include "platform/GdiDevice.h"
#include "platform/Pictures.h"
#include "platform/ResourceCounters.h"
#include "support/Pixels.h"

using namespace kd;
using namespace kd::platform;

namespace {

constexpr TColor kRed = RGBColor(255, 0, 0);
constexpr TColor kGreen = RGBColor(0, 255, 0);
constexpr TColor kBlue = RGBColor(0, 0, 255);
constexpr TColor kYellow = RGBColor(255, 255, 0);
constexpr TColor kGrey = RGBColor(128, 128, 128);

// A chart object's panel and series as the chart window sets them up.
struct PieChart {
  TChart chart;
  TPieSeries series;
  PieChart() {
    ApplyChartWindowDesign(chart);
    chart.AddSeries(&series);
  }
  ~PieChart() { chart.RemoveSeries(&series); }
  void Plain() {
    series.Marks().SetVisible(false);
    chart.Legend().SetVisible(false);
  }
};

// Paints the chart as a window paint would, onto a colour image that stands
// in for the window.
std::unique_ptr<GdiOffscreenImage> PaintOnto(TChart& chart, int width, int height) {
  auto window = GdiOffscreenImage::Create(width, height, false);
  chart.Paint(window->Device(), MakeRect(0, 0, width, height));
  return window;
}

std::unique_ptr<GdiOffscreenImage> GradientPanel(TGradientDirection direction, TColor start, TColor end,
                                                 int width, int height) {
  TChart chart;
  ApplyChartWindowDesign(chart);
  chart.Gradient().SetVisible(true);
  chart.Gradient().SetDirection(direction);
  chart.Gradient().SetStartColor(start);
  chart.Gradient().SetEndColor(end);
  return PaintOnto(chart, width, height);
}

int Grey(TColor c) { return RedOf(c); }

// Every pixel of an image, read in one go.
std::vector<TColor> AllPixels(const GdiOffscreenImage& image) {
  GdiFlush();
  std::vector<TColor> out;
  out.reserve(static_cast<size_t>(image.Width()) * image.Height());
  for (int y = 0; y < image.Height(); ++y) {
    const unsigned char* row = image.Bits() + static_cast<size_t>(y) * image.Stride();
    for (int x = 0; x < image.Width(); ++x) {
      if (image.Monochrome())
        out.push_back(((row[x / 8] >> (7 - x % 8)) & 1) ? clWhite : clBlack);
      else
        out.push_back(RGBColor(row[4 * x + 2], row[4 * x + 1], row[4 * x]) | (TColor{row[4 * x + 3]} << 24));
    }
  }
  return out;
}

// How many pixels differ (all of them when the sizes do).
int DifferentPixels(const GdiOffscreenImage& a, const GdiOffscreenImage& b) {
  const std::vector<TColor> pa = AllPixels(a), pb = AllPixels(b);
  if (a.Width() != b.Width() || pa.size() != pb.size()) return static_cast<int>(std::max(pa.size(), pb.size()));
  int differ = 0;
  for (size_t i = 0; i < pa.size(); ++i) differ += pa[i] != pb[i];
  return differ;
}

// The chart as drawn with no image kept between frames, straight onto an
// image of the screen image's format: by the image's own device, or by a
// plain GDI device (aliased, every gradient band a brush fill).
std::unique_ptr<GdiOffscreenImage> DrawnAfresh(TChart& chart, int width, int height, bool aliased = false) {
  auto image = GdiOffscreenImage::Create(width, height, chart.Monochrome());
  GdiDevice plain(image->DC());
  plain.SetBlackAndWhite(chart.Monochrome());
  const bool buffered = chart.BufferedDisplay();
  chart.SetBufferedDisplay(false);
  chart.Draw(aliased ? plain : image->Device(), MakeRect(0, 0, width, height));
  chart.SetBufferedDisplay(buffered);
  return image;
}

TColor QuadrantColor(int x, int y, int width, int height) {
  const bool right = x >= width / 2, bottom = y >= height / 2;
  if (!bottom) return right ? kGreen : kRed;
  return right ? kYellow : kBlue;
}

}  // namespace

// ---------------------------------------------------------------- gradient

TEST(ChartGradient, TopBottomWhiteToBlackGivesOneGreyPerRow) {
  auto image = GradientPanel(gdTopBottom, clWhite, clBlack, 60, 100);
  for (int k = 0; k < 100; ++k) {
    const int y = 99 - k;  // row k from the bottom
    const int expected = 255 - static_cast<int>(std::lround(255.0 * k / 99));
    for (int x = 0; x < 60; ++x) {
      ASSERT_EQ(image->PixelAt(x, y), RGBColor(expected, expected, expected)) << "row " << k << " x " << x;
    }
  }
  // The reversed direction paints the same picture.
  auto reversed = GradientPanel(gdBottomTop, clWhite, clBlack, 60, 100);
  for (int y = 0; y < 100; ++y) EXPECT_EQ(reversed->PixelAt(30, y), image->PixelAt(30, y));
}

TEST(ChartGradient, LeftRightOverAThousandPixelsHas256Bands) {
  auto image = GradientPanel(gdLeftRight, clBlack, clWhite, 1000, 20);
  int bands = 1;
  std::set<TColor> colours;
  for (int x = 0; x < 1000; ++x) {
    const TColor c = image->PixelAt(x, 10);
    colours.insert(c);
    if (x > 0 && c != image->PixelAt(x - 1, 10)) ++bands;
    ASSERT_EQ(image->PixelAt(x, 0), c) << "bands run top to bottom";
    ASSERT_EQ(image->PixelAt(x, 19), c);
  }
  EXPECT_EQ(bands, 256);
  EXPECT_EQ(colours.size(), 256u);
  EXPECT_EQ(image->PixelAt(999, 10), clBlack) << "start colour on the right edge";
  EXPECT_EQ(image->PixelAt(0, 10), clWhite) << "end colour on the left edge";
}

TEST(ChartGradient, CentreAndCornerDirectionsStartAtTheirEdges) {
  // Range of the centre fill: 60 + 40 steps, the last ring two steps short.
  auto centre = GradientPanel(gdFromCenter, clWhite, clBlack, 120, 80);
  for (TPoint corner : {TPoint{0, 0}, TPoint{119, 0}, TPoint{0, 79}, TPoint{119, 79}}) {
    EXPECT_EQ(centre->PixelAt(corner.x, corner.y), clWhite) << corner.x << "," << corner.y;
  }
  EXPECT_LE(Grey(centre->PixelAt(60, 40)), 2 * 255 / 100 + 1);
  EXPECT_GT(Grey(centre->PixelAt(60, 20)), Grey(centre->PixelAt(60, 39)));

  auto corner = GradientPanel(gdFromTopLeft, clWhite, clBlack, 120, 80);
  EXPECT_EQ(corner->PixelAt(0, 0), clWhite);
  EXPECT_LE(Grey(corner->PixelAt(119, 79)), 2 * 255 / 200 + 1);
  EXPECT_GT(Grey(corner->PixelAt(30, 20)), Grey(corner->PixelAt(90, 60)));
  // Each step paints an L one pixel further out: mirrored pixels match.
  EXPECT_EQ(corner->PixelAt(40, 0), corner->PixelAt(0, 40));
  EXPECT_EQ(corner->PixelAt(50, 10), corner->PixelAt(10, 50));
}

// Bands written straight into the image's pixels against bands filled with
// brushes, for every direction, at sizes around the 256-band limit, odd and
// one-pixel sizes and a rectangle inside a larger image.
TEST(ChartGradient, PixelBandsMatchBrushBands) {
  const TRect rects[] = {MakeRect(0, 0, 300, 200), MakeRect(0, 0, 257, 255), MakeRect(0, 0, 61, 97),
                         MakeRect(0, 0, 1, 40),    MakeRect(0, 0, 40, 1),    MakeRect(13, 7, 120, 70)};
  for (const TRect& rect : rects) {
    for (int d = gdTopBottom; d <= gdFromBottomLeft; ++d) {
      const auto direction = static_cast<TGradientDirection>(d);
      const int width = std::max(rect.right + 9, 2), height = std::max(rect.bottom + 5, 2);
      auto direct = GdiOffscreenImage::Create(width, height, false);
      auto bands = GdiOffscreenImage::Create(width, height, false);
      for (auto* image : {direct.get(), bands.get()}) {
        image->Device().SetBrush(TChartBrush{kGreen, bsSolid});
        image->Device().FillRect(MakeRect(0, 0, width, height));
        image->Gdi().FinishDrawing();  // before another device draws on its DC
      }
      ASSERT_NE(direct->Device().DirectPixels().bits, nullptr);
      FillGradient(direct->Device(), rect, RGBColor(250, 10, 40), RGBColor(5, 120, 255), direction);
      GdiDevice plain(bands->DC());
      ASSERT_EQ(plain.DirectPixels().bits, nullptr);
      FillGradient(plain, rect, RGBColor(250, 10, 40), RGBColor(5, 120, 255), direction);
      EXPECT_EQ(DifferentPixels(*direct, *bands), 0)
          << "direction " << d << ", " << rect.Width() << " x " << rect.Height();
    }
  }
}

// A chart painted after a history of changes shows what the same chart,
// set up at once and drawn afresh, shows: the kept background never outlives
// what shaped it, in colour, monochrome, exports and after resizes.
TEST(ChartBackgroundCache, EveryFrameMatchesAFreshDrawing) {
  struct Step {
    const char* what;
    int width, height;
    std::function<void(PieChart&)> apply;
  };
  auto image = [](TColor color) {
    auto picture = GdiOffscreenImage::Create(30, 20, false);
    picture->Device().SetBrush(TChartBrush{color, bsSolid});
    picture->Device().FillRect(MakeRect(0, 0, 30, 20));
    return std::unique_ptr<TPicture>(std::move(picture));
  };
  const std::vector<Step> steps = {
      {"gradient", 300, 200, [](PieChart& p) {
         for (int i = 0; i < 6; ++i) p.series.AddSlice(1 + i, "s" + std::to_string(i));
         p.chart.Gradient().SetVisible(true);
         p.chart.Gradient().SetDirection(gdFromCenter);
       }},
      {"unchanged", 300, 200, [](PieChart&) {}},
      {"rotated", 300, 200, [](PieChart& p) { p.series.SetRotationAngle(40); }},
      {"start colour", 300, 200, [](PieChart& p) { p.chart.Gradient().SetStartColor(kBlue); }},
      {"system end colour", 300, 200, [](PieChart& p) { p.chart.Gradient().SetEndColor(clBtnFace); }},
      {"direction", 300, 200, [](PieChart& p) { p.chart.Gradient().SetDirection(gdFromBottomLeft); }},
      {"smaller", 220, 150, [](PieChart&) {}},
      {"monochrome", 220, 150, [](PieChart& p) { p.chart.SetMonochrome(true); }},
      {"monochrome, larger", 260, 180, [](PieChart&) {}},
      {"colour again", 260, 180, [](PieChart& p) { p.chart.SetMonochrome(false); }},
      {"image", 260, 180, [&](PieChart& p) { p.chart.SetBackImage(image(kRed)); }},
      {"tiled", 260, 180, [](PieChart& p) { p.chart.SetBackImageMode(pbmTile); }},
      {"another image", 260, 180, [&](PieChart& p) { p.chart.SetBackImage(image(kYellow)); }},
      {"centred", 260, 180, [](PieChart& p) { p.chart.SetBackImageMode(pbmCenter); }},
      {"plain colour", 260, 180, [](PieChart& p) {
         p.chart.Gradient().SetVisible(false);
         p.chart.SetColor(kGrey);
       }},
  };
  PieChart kept;
  for (size_t k = 0; k < steps.size(); ++k) {
    const Step& step = steps[k];
    step.apply(kept);
    auto window = PaintOnto(kept.chart, step.width, step.height);
    PieChart fresh;
    for (size_t j = 0; j <= k; ++j) steps[j].apply(fresh);
    auto reference = DrawnAfresh(fresh.chart, step.width, step.height);
    EXPECT_EQ(DifferentPixels(*window, *reference), 0) << step.what;
    if (kept.chart.Monochrome()) {
      // The export of a monochrome chart is in colour and kept nothing.
      auto exported = GdiOffscreenImage::Create(step.width, step.height, false);
      kept.chart.DrawForExport(exported->Device(), step.width, step.height);
      fresh.chart.SetMonochrome(false);
      EXPECT_EQ(DifferentPixels(*exported, *DrawnAfresh(fresh.chart, step.width, step.height)), 0)
          << step.what << " export";
    }
  }
}

// ------------------------------------------------------------------ slices

TEST(ChartSlices, HatchedSliceDrawsLinesOverTheCircleBackground) {
  PieChart pie;
  pie.Plain();
  pie.chart.SetView3D(false);
  TChartPen pen;
  pen.visible = false;
  pie.series.SetPiePen(pen);
  pie.series.SetUsePatterns(true);
  pie.series.AddSlice(10, "a", kBlue);
  auto image = PaintOnto(pie.chart, 300, 300);
  // Slice 0 has horizontal lines: every row of a patch is one colour, some
  // rows blue and some white (the back wall colour behind hatches).
  int blueRows = 0, whiteRows = 0;
  for (int y = 130; y < 170; ++y) {
    const TColor first = image->PixelAt(110, y);
    for (int x = 110; x < 140; ++x) ASSERT_EQ(image->PixelAt(x, y), first) << x << "," << y;
    blueRows += first == kBlue;
    whiteRows += first == clWhite;
  }
  EXPECT_EQ(blueRows + whiteRows, 40);
  EXPECT_GE(blueRows, 4);
  EXPECT_GT(whiteRows, blueRows);
}

TEST(ChartSlices, ThreeDimensionalTopFaceSitsAboveItsDarkerRim) {
  PieChart pie;
  pie.Plain();
  pie.series.AddSlice(10, "a", kRed);
  ASSERT_TRUE(pie.chart.View3D());
  ASSERT_TRUE(pie.series.Dark3D());
  auto image = PaintOnto(pie.chart, 400, 300);
  const TColor rim = RGBColor(255 - 32, 0, 0);
  long topCount = 0, rimCount = 0, topRows = 0, rimRows = 0;
  int lowestTop = -1, lowestRim = -1;
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) {
      const TColor c = image->PixelAt(x, y);
      if (c == kRed) {
        ++topCount;
        topRows += y;
        lowestTop = std::max(lowestTop, y);
      } else if (c == rim) {
        ++rimCount;
        rimRows += y;
        lowestRim = std::max(lowestRim, y);
      }
    }
  }
  ASSERT_GT(topCount, 1000);
  ASSERT_GT(rimCount, 100);
  EXPECT_GT(topCount, rimCount);
  EXPECT_GT(lowestRim, lowestTop) << "the rim shows below the top face";
  EXPECT_GT(rimRows / rimCount, topRows / topCount);
}

// Smooth edges: slices of two colours of one brightness (red plus green
// plus blue the same), no outline, on white. Every shape and mix of them is
// at most that bright; any white showing through where neighbours meet
// (along a radius, between top face and rim, between rim bands) is brighter.
// Only pixels with the pie 2 pixels away on all four sides count. With
// thousands of slices most are left to the next one drawn, which must then
// cover them.
TEST(ChartSmoothing, NeighbouringSlicesAndRimBandsLeaveNoSeams) {
  struct Case {
    bool view3D;
    int slices;
  };
  for (const Case& c : {Case{false, 100}, Case{true, 100}, Case{false, 3000}, Case{true, 3000}}) {
    const bool view3D = c.view3D;
    SCOPED_TRACE(c.slices);
    PieChart pie;
    pie.Plain();
    pie.chart.Gradient().SetVisible(false);
    pie.chart.SetColor(clWhite);
    pie.chart.SetView3D(view3D);
    TChartPen pen;
    pen.visible = false;
    pie.series.SetPiePen(pen);
    for (int i = 0; i < c.slices; ++i) pie.series.AddSlice(1, "", i % 2 ? RGBColor(200, 0, 0) : RGBColor(0, 0, 200));
    auto image = PaintOnto(pie.chart, 400, 300);
    const std::vector<TColor> pixels = AllPixels(*image);
    auto at = [&](int x, int y) { return pixels[size_t(y) * 400 + x] & 0xFFFFFF; };
    auto brightness = [](TColor c) { return RedOf(c) + GreenOf(c) + BlueOf(c); };
    int checked = 0, seams = 0;
    for (int y = 2; y < 298; ++y)
      for (int x = 2; x < 398; ++x) {
        if (at(x, y) == clWhite || at(x - 2, y) == clWhite || at(x + 2, y) == clWhite ||
            at(x, y - 2) == clWhite || at(x, y + 2) == clWhite)
          continue;
        ++checked;
        if (brightness(at(x, y)) > 200 + 3) ++seams;
      }
    EXPECT_GT(checked, 20000) << view3D;
    EXPECT_EQ(0, seams) << view3D;
  }
}

// A slanted slice edge fades through shades of its two colours on the colour
// image; the monochrome image has none but black and white.
TEST(ChartSmoothing, SlantedEdgesHaveIntermediateColoursOnlyInColour) {
  for (bool monochrome : {false, true}) {
    PieChart pie;
    pie.Plain();
    pie.chart.SetView3D(false);
    pie.chart.Gradient().SetVisible(false);
    pie.chart.SetColor(clWhite);
    pie.chart.SetMonochrome(monochrome);
    pie.series.SetRotationAngle(30);
    pie.series.AddSlice(1, "", clBlack);
    pie.series.AddSlice(2, "", clWhite);
    pie.series.AddSlice(1, "", clBlack);
    PaintOnto(pie.chart, 300, 300);
    const auto& image = dynamic_cast<const GdiOffscreenImage&>(*pie.chart.OffscreenImage());
    std::set<TColor> colours;
    for (TColor c : AllPixels(image)) colours.insert(c & 0xFFFFFF);
    if (monochrome) EXPECT_EQ(2u, colours.size());
    else EXPECT_GT(colours.size(), 20u) << "grey shades along the slanted edges";
  }
}

// Widths up to 2^31-1 stay stored but paint like any pen wider than the
// image: the frame returns, and the last wide line drawn covers every pixel
// but the mark texts drawn on top of it.
TEST(ChartSlices, WidthsFarBeyondTheImagePaintLikeAVeryWidePen) {
  constexpr int kWidest = 2147483647;
  struct Case {
    const char* what;
    bool outline, frame, arrow;
    TColor covering;
  } cases[] = {
      {"slice outline", true, false, false, kRed},
      {"marks frame", false, true, false, kGreen},
      {"marks arrow", false, false, true, kBlue},
  };
  for (const Case& c : cases) {
    PieChart pie;
    pie.chart.Legend().SetVisible(false);
    pie.chart.SetView3D(true);
    for (int i = 0; i < 5; ++i) pie.series.AddSlice(1 + i, "s" + std::to_string(i), kYellow);
    TChartPen wide{kRed, kWidest, psSolid, true, false};
    if (c.outline) pie.series.SetPiePen(wide);
    pie.series.Marks().SetVisible(!c.outline);
    wide.color = kGreen;
    wide.visible = c.frame;
    pie.series.Marks().SetFrame(wide);
    pie.series.Marks().SetTransparent(true);
    wide.color = kBlue;
    wide.visible = c.arrow;
    pie.series.Marks().SetArrow(wide);

    auto image = PaintOnto(pie.chart, 380, 400);
    const int covered = kdtest::CountColor(*image, MakeRect(0, 0, 380, 400), c.covering);
    EXPECT_GT(covered, 380 * 400 * 95 / 100) << c.what;
    if (c.outline) {
      EXPECT_EQ(covered, 380 * 400) << c.what;
    }
    EXPECT_EQ(std::max({pie.series.PiePen().width, pie.series.Marks().Frame().width,
                        pie.series.Marks().Arrow().width}),
              kWidest)
        << "the stored width is kept";
  }
}

// -------------------------------------------------------------- monochrome

// A 3D pie of 10,000 slices with one pulled out, plain and hatched: leaving
// the slices whose arc lands on one pixel to their neighbours changes no
// pixel. The reference draws every slice once more over the frame, in the
// frame's order, which gives each pixel its last writer of a full drawing;
// both aliased, as smooth edges drawn twice blend twice.
TEST(ChartSlices, SubPixelSlicesIn3DAreLeftToTheirNeighbours) {
  for (bool patterns : {false, true}) {
    PieChart pie;
    pie.Plain();
    pie.series.AddSlice(3000, "big");
    for (int i = 1; i < 10000; ++i) pie.series.AddSlice(1 + i % 5);
    pie.series.SetExplodedSlice(0, 25);
    pie.series.SetUsePatterns(patterns);
    pie.series.SetRotationAngle(33);
    auto frame = DrawnAfresh(pie.chart, 500, 400, true);
    auto reference = DrawnAfresh(pie.chart, 500, 400, true);
    GdiDevice plain(reference->DC());

    TChartCanvas3D& canvas = pie.chart.Canvas();
    TPiePaintContext context;
    context.canvas = &canvas;
    context.chartRect = pie.chart.ChartRect();
    context.panelColor = pie.chart.Color();
    context.backWallColor = pie.chart.BackWallColor();
    context.seriesDepth = pie.chart.SeriesDepth();
    canvas.SetDevice(&plain);
    const TPieGeometry& g = pie.series.Geometry();
    int onOnePixel = 0;
    for (int i : g.DrawOrder) {
      DrawSlice(pie.series, context, i);
      const TSliceAngles& a = pie.series.Angle(i);
      const double turn = pie.series.RotationRadians();
      onOnePixel += canvas
                        .SliceArcPixels(g.PieCenterX, g.PieCenterY, g.RadiusX, g.RadiusY, g.DepthStart,
                                        g.DepthEnd, a.FromAngle + turn, a.ToAngle + turn)
                        .has_value();
    }
    canvas.SetDevice(nullptr);
    EXPECT_GT(onOnePixel, 5000) << "most slices are narrower than a pixel";
    EXPECT_EQ(DifferentPixels(*frame, *reference), 0) << (patterns ? "hatched" : "plain");
  }
}

TEST(ChartMonochrome, ScreenImageIsBlackAndWhiteWhileTheExportIsInColour) {
  PieChart pie;
  pie.series.AddSlice(3, "red", kRed);
  pie.series.AddSlice(2, "green", kGreen);
  pie.series.AddSlice(1, "blue", kBlue);
  pie.chart.Gradient().SetVisible(true);
  pie.chart.SetMonochrome(true);
  auto screen = PaintOnto(pie.chart, 320, 240);
  const auto* offscreen = dynamic_cast<const GdiOffscreenImage*>(pie.chart.OffscreenImage());
  ASSERT_NE(offscreen, nullptr);
  EXPECT_TRUE(offscreen->Monochrome());
  int black = 0, white = 0;
  for (TColor c : kdtest::PixelsIn(*screen, MakeRect(0, 0, 320, 240))) {
    black += c == clBlack;
    white += c == clWhite;
  }
  EXPECT_EQ(black + white, 320 * 240);
  EXPECT_GT(black, 0);
  EXPECT_GT(white, 0);

  kdtest::ScratchFolder folder;
  const std::string path = folder.File("mono.bmp");
  ASSERT_TRUE(ExportChartBitmap(pie.chart, 320, 240, path));
  const kdtest::BmpFile file = kdtest::ReadBmp(path);
  ASSERT_EQ(file.width, 320);
  ASSERT_EQ(file.height, 240);
  std::set<TColor> colours(file.pixels.begin(), file.pixels.end());
  EXPECT_TRUE(colours.count(kRed) && colours.count(kGreen) && colours.count(kBlue));
  EXPECT_GT(colours.size(), 10u) << "gradient shades too";
  // The screen image is still the monochrome one afterwards.
  auto again = PaintOnto(pie.chart, 320, 240);
  EXPECT_TRUE(dynamic_cast<const GdiOffscreenImage*>(pie.chart.OffscreenImage())->Monochrome());
}

TEST(ChartMonochrome, ColoursBecomeTheNearerOfBlackAndWhite) {
  PieChart pie;
  pie.series.AddSlice(1, "dark", RGBColor(0, 0, 160));
  pie.series.AddSlice(1, "light", RGBColor(255, 255, 120));
  pie.chart.SetColor(RGBColor(240, 240, 230));  // a light panel stays light
  pie.chart.SetMonochrome(true);
  auto screen = PaintOnto(pie.chart, 320, 240);
  const auto& image = dynamic_cast<const GdiOffscreenImage&>(*pie.chart.OffscreenImage());
  EXPECT_EQ(image.PixelAt(1, 1), clWhite);
  EXPECT_EQ(image.PixelAt(318, 238), clWhite);
  int dark = 0;
  for (TColor c : kdtest::PixelsIn(*screen, MakeRect(0, 0, 320, 240))) dark += c == clBlack;
  EXPECT_GT(dark, 2000) << "the dark slice is black";
  EXPECT_LT(dark, 320 * 240 / 2);
}

// ---------------------------------------------------------------- export

TEST(ChartExport, ExportMatchesTheScreenPixelForPixel) {
  PieChart pie;
  for (int i = 0; i < 7; ++i) pie.series.AddSlice(1 + i, "slice " + std::to_string(i));
  pie.series.SetUsePatterns(true);
  pie.chart.Title().SetLine(0, "Title");
  pie.chart.Gradient().SetVisible(true);
  pie.chart.Gradient().SetDirection(gdFromCenter);
  auto screen = PaintOnto(pie.chart, 400, 300);
  kdtest::ScratchFolder folder;
  for (int bits : {24, 32}) {
    const std::string path = folder.File("chart" + std::to_string(bits) + ".bmp");
    ASSERT_TRUE(ExportChartBitmap(pie.chart, 400, 300, path, bits));
    const kdtest::BmpFile file = kdtest::ReadBmp(path);
    ASSERT_EQ(file.bitsPerPixel, bits);
    ASSERT_EQ(file.width, 400);
    ASSERT_EQ(file.height, 300);
    int differing = 0;
    for (int y = 0; y < 300; ++y) {
      for (int x = 0; x < 400; ++x) differing += file.At(x, y) != screen->PixelAt(x, y);
    }
    EXPECT_EQ(differing, 0) << bits;
  }
}

TEST(ChartExport, MissingFolderFailsAndCreatesNothing) {
  PieChart pie;
  pie.series.AddSlice(1, "a");
  kdtest::ScratchFolder folder;
  const std::string missing = folder.File("no such folder");
  EXPECT_FALSE(ExportChartBitmap(pie.chart, 100, 80, missing + "\\chart.bmp"));
  EXPECT_FALSE(kdtest::FileExists(missing));
  EXPECT_FALSE(ExportChartBitmap(pie.chart, 0, 80, folder.File("empty.bmp")));
  EXPECT_FALSE(kdtest::FileExists(folder.File("empty.bmp")));
  // An existing file is overwritten.
  ASSERT_TRUE(kdtest::WriteBytes(folder.File("old.bmp"), kdtest::Bytes(10, 'x')));
  EXPECT_TRUE(ExportChartBitmap(pie.chart, 100, 80, folder.File("old.bmp")));
  EXPECT_EQ(kdtest::ReadBmp(folder.File("old.bmp")).width, 100);
}

// ------------------------------------------------------------ back images

class ChartBackImage : public testing::Test {
 protected:
  // A 40 x 30 picture of four coloured quadrants, as .bmp and as .jpg.
  void SetUp() override {
    std::vector<TColor> pixels;
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) pixels.push_back(QuadrantColor(x, y, 40, 30));
    }
    auto image = GdiOffscreenImage::Create(40, 30, false);
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) SetPixelV(image->DC(), x, y, static_cast<COLORREF>(pixels[y * 40 + x]));
    }
    bmp_ = folder_.File("q.bmp");
    jpg_ = folder_.File("q.jpg");
    ASSERT_TRUE(WriteBitmapFile(bmp_, *image));
    ASSERT_TRUE(kdtest::WriteBytes(jpg_, kdtest::EncodeJpeg(pixels, 40, 30, 95)));
  }

  // A panel without series in grey, showing the picture over its whole face.
  std::unique_ptr<GdiOffscreenImage> Panel(const std::string& picture, TBackImageMode mode) {
    TChart chart;
    ApplyChartWindowDesign(chart);
    chart.SetColor(kGrey);
    chart.SetBackImage(LoadPictureFile(picture));
    chart.SetBackImageMode(mode);
    return PaintOnto(chart, 210, 140);
  }

  kdtest::ScratchFolder folder_;
  std::string bmp_, jpg_;
};

TEST_F(ChartBackImage, StretchedTiledAndCentred) {
  struct Kind {
    const std::string* path;
    int tolerance;
  } kinds[] = {{&bmp_, 0}, {&jpg_, 28}};
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(*kind.path);
    auto stretched = Panel(*kind.path, pbmStretch);
    for (TPoint p : {TPoint{52, 35}, TPoint{157, 35}, TPoint{52, 105}, TPoint{157, 105}}) {
      EXPECT_TRUE(kdtest::Near(stretched->PixelAt(p.x, p.y), QuadrantColor(p.x, p.y, 210, 140), kind.tolerance))
          << p.x << "," << p.y;
    }

    // Tiles from the top-left corner; the last column (10 pixels) and row (20) cut.
    auto tiled = Panel(*kind.path, pbmTile);
    for (int ty = 0; ty < 5; ++ty) {
      for (int tx = 0; tx < 6; ++tx) {
        for (TPoint in : {TPoint{5, 7}, TPoint{30, 7}, TPoint{5, 22}, TPoint{30, 22}}) {
          const int x = tx * 40 + in.x, y = ty * 30 + in.y;
          if (x >= 210 || y >= 140) continue;
          EXPECT_TRUE(kdtest::Near(tiled->PixelAt(x, y), QuadrantColor(in.x, in.y, 40, 30), kind.tolerance))
              << x << "," << y;
        }
      }
    }

    // Centred at ((210 - 40) / 2, (140 - 30) / 2) over the panel colour.
    auto centred = Panel(*kind.path, pbmCenter);
    EXPECT_TRUE(kdtest::Near(centred->PixelAt(85 + 8, 55 + 6), kRed, kind.tolerance));
    EXPECT_TRUE(kdtest::Near(centred->PixelAt(85 + 32, 55 + 24), kYellow, kind.tolerance));
    EXPECT_EQ(centred->PixelAt(84, 70), kGrey);
    EXPECT_EQ(centred->PixelAt(125, 70), kGrey);
    EXPECT_EQ(centred->PixelAt(100, 54), kGrey);
    EXPECT_EQ(centred->PixelAt(100, 85), kGrey);
    EXPECT_EQ(centred->PixelAt(5, 5), kGrey);
  }
}

TEST_F(ChartBackImage, DamagedFileKeepsThePreviousPicture) {
  TChart chart;
  ApplyChartWindowDesign(chart);
  chart.SetBackImage(LoadPictureFile(bmp_));
  const TPicture* before = chart.BackImage();
  const kdtest::Bytes jpeg = kdtest::ReadBytes(jpg_);
  const kdtest::Bytes bmp = kdtest::ReadBytes(bmp_);
  ASSERT_TRUE(kdtest::WriteBytes(folder_.File("cut.jpg"), kdtest::Bytes(jpeg.begin(), jpeg.begin() + jpeg.size() / 2)));
  ASSERT_TRUE(kdtest::WriteBytes(folder_.File("cut.bmp"), kdtest::Bytes(bmp.begin(), bmp.end() - 100)));
  const long objects = LiveGdiObjects();
  for (const char* name : {"cut.jpg", "cut.bmp", "missing.jpg", "picture.png"}) {
    EXPECT_THROW(chart.SetBackImage(LoadPictureFile(folder_.File(name))), PictureError) << name;
    EXPECT_EQ(chart.BackImage(), before) << name;
  }
  EXPECT_EQ(LiveGdiObjects(), objects);
  auto image = PaintOnto(chart, 80, 60);
  EXPECT_EQ(image->PixelAt(10, 10), kRed);
  EXPECT_EQ(image->PixelAt(70, 50), kYellow);
}

// -------------------------------------------------------------- resources

TEST(ChartResources, PaintsAndExportsLeaveNoGdiObjectsBehind) {
  kdtest::ScratchFolder folder;
  const long baseline = LiveGdiObjects();
  {
    PieChart pie;
    for (int i = 0; i < 12; ++i) pie.series.AddSlice(1 + i % 4, "s" + std::to_string(i));
    pie.series.SetExplodedSlice(2, 30);
    pie.chart.Gradient().SetVisible(true);
    auto window = GdiOffscreenImage::Create(300, 200, false);
    const long withWindow = LiveGdiObjects();
    pie.chart.Paint(window->Device(), MakeRect(0, 0, 300, 200));
    const long afterFirst = LiveGdiObjects();
    for (int i = 0; i < 10; ++i) {
      pie.series.SetRotationAngle(i * 30);
      pie.series.SetUsePatterns(i % 2 == 0);
      pie.chart.SetView3D(i % 3 != 0);
      pie.chart.Gradient().SetDirection(static_cast<TGradientDirection>(i % 7));
      // The export drops the off-screen image; the next paint makes a new one.
      ASSERT_TRUE(ExportChartBitmap(pie.chart, 300, 200, folder.File("r.bmp")));
      pie.chart.Paint(window->Device(), MakeRect(0, 0, 300, 200));
    }
    EXPECT_EQ(LiveGdiObjects(), afterFirst) << "repaints and exports reuse or free everything";
    pie.chart.SetMonochrome(true);
    pie.chart.Paint(window->Device(), MakeRect(0, 0, 300, 200));
    // A one-bit background is banded with brushes; its device keeps the
    // last, and its pen; the colour device keeps neither (it selects them
    // only for the shapes GDI draws), and its images are of another kind.
    const long monochrome = LiveGdiObjects();
    EXPECT_LE(monochrome, afterFirst + 3);
    pie.chart.Gradient().SetStartColor(kBlue);
    pie.chart.Paint(window->Device(), MakeRect(0, 0, 300, 200));
    EXPECT_EQ(LiveGdiObjects(), monochrome);
    EXPECT_GT(afterFirst, withWindow) << "the off-screen image lives between paints";
  }
  EXPECT_EQ(LiveGdiObjects(), baseline);
}
