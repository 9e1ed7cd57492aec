// The chart panel on the recording device: defaults, setters that repaint
// only on change, the 3D percent check, the chart rectangle from margins,
// title and foot layout, the order of the paint steps, the off-screen image,
// monochrome and export, background fill and the back image modes.
#include "engine/Chart.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "engine/EngineError.h"
#include "support/FakeSeries.h"
#include "support/RecordingDevice.h"

namespace kd {
namespace {

using test::Call;
using test::DeviceCall;
using test::FakeSeries;
using test::RecordingDevice;
using test::RecordingOffscreen;
using test::TestPicture;

const RecordingDevice& Drawn(const TChart& chart) {
  auto* image = dynamic_cast<const RecordingOffscreen*>(chart.OffscreenImage());
  if (!image) throw std::runtime_error("no off-screen image");
  return image->device;
}

// A chart as a chart window holds it, painted at 400 x 300 unbuffered so the
// calls land on one recorder.
struct PanelRun {
  TChart chart;
  RecordingDevice dev;
  int repaints = 0;

  PanelRun() {
    ApplyChartWindowDesign(chart);
    chart.SetInvalidateHandler([this] { ++repaints; });
    repaints = 0;
  }
  void Export(int w = 400, int h = 300) {
    dev.Clear();
    chart.DrawForExport(dev, w, h);
  }
};

TEST(ChartDefaults, ClassDefaultsAndWindowDesign) {
  TChart chart;
  EXPECT_EQ(chart.Color(), clBtnFace);
  EXPECT_TRUE(chart.View3D());
  EXPECT_EQ(chart.Chart3DPercent(), 15);
  EXPECT_EQ(chart.View3DOptions().Elevation, 345);
  EXPECT_EQ(chart.View3DOptions().Rotation, 345);
  EXPECT_EQ(chart.View3DOptions().Perspective, 15);
  EXPECT_TRUE(chart.View3DOptions().Orthogonal);
  EXPECT_EQ(chart.View3DOptions().Zoom, 100);
  EXPECT_EQ(chart.MarginLeft(), 3);
  EXPECT_EQ(chart.MarginTop(), 4);
  EXPECT_EQ(chart.MarginRight(), 3);
  EXPECT_EQ(chart.MarginBottom(), 4);
  EXPECT_EQ(chart.BackImageMode(), pbmStretch);
  EXPECT_FALSE(chart.BackImageInside());
  EXPECT_FALSE(chart.Monochrome());
  EXPECT_EQ(chart.BackImage(), nullptr);
  EXPECT_TRUE(chart.Dirty());
  EXPECT_EQ(chart.Title().Font().color, 0xFF0000);
  EXPECT_EQ(chart.Title().Alignment(), taCenter);
  EXPECT_FALSE(chart.Title().Frame().visible);
  EXPECT_EQ(chart.Title().Color(), clDefault);

  ApplyChartWindowDesign(chart);
  EXPECT_EQ(chart.Color(), clWhite);
  EXPECT_EQ(chart.View3DOptions().Elevation, 315);
  EXPECT_EQ(chart.View3DOptions().Rotation, 360);
  EXPECT_EQ(chart.View3DOptions().Perspective, 0);
  EXPECT_FALSE(chart.View3DOptions().Orthogonal);
  EXPECT_EQ(chart.Title().Text(), std::vector<std::string>{""});
  EXPECT_EQ(chart.Foot().Text(), std::vector<std::string>{""});
}

TEST(ChartSetters, UnchangedValuesDoNotRepaint) {
  PanelRun run;
  TChart& c = run.chart;
  c.SetColor(clWhite);
  c.SetView3D(true);
  c.SetChart3DPercent(15);
  c.SetMonochrome(false);
  c.SetBackImageMode(pbmStretch);
  c.SetBackImageInside(false);
  c.SetElevation(315);
  c.SetRotation(360);
  c.SetPerspective(0);
  c.SetZoom(100);
  c.SetHorizOffset(0);
  c.SetVertOffset(0);
  c.SetView3DOptions(c.View3DOptions());
  c.SetMarginLeft(3);
  c.SetBackImage(nullptr);
  c.Title().SetLine(0, "");
  c.Title().SetFont(c.Title().Font());
  c.Title().SetAlignment(taCenter);
  c.SetFoot(c.Foot());
  c.Legend().SetVisible(true);
  c.Gradient().SetVisible(false);
  EXPECT_EQ(run.repaints, 0);
}

TEST(ChartSetters, ChangedValuesRepaintOnce) {
  PanelRun run;
  TChart& c = run.chart;
  int expected = 0;
  auto changes = [&](const char* what) {
    ++expected;
    EXPECT_EQ(run.repaints, expected) << what;
  };
  c.SetColor(clRed), changes("Color");
  c.SetView3D(false), changes("View3D");
  c.SetChart3DPercent(40), changes("Chart3DPercent");
  c.SetBackImageMode(pbmTile), changes("BackImageMode");
  c.SetBackImageInside(true), changes("BackImageInside");
  c.SetElevation(300), changes("Elevation");
  c.SetRotation(10), changes("Rotation");
  c.SetPerspective(20), changes("Perspective");
  c.SetZoom(150), changes("Zoom");
  c.SetHorizOffset(5), changes("HorizOffset");
  c.SetVertOffset(-5), changes("VertOffset");
  c.SetMarginBottom(10), changes("MarginBottom");
  c.SetBackImage(std::make_unique<TestPicture>(4, 4)), changes("BackImage");
  c.Title().SetLine(0, "Sales"), changes("Title line");
  c.Foot().SetAlignment(taLeftJustify), changes("Foot alignment");
  c.Legend().SetShadowSize(0), changes("Legend shadow");
  c.Gradient().SetVisible(true), changes("Gradient");
  EXPECT_TRUE(c.Dirty());
  EXPECT_EQ(c.Title().Text(), std::vector<std::string>{"Sales"});
}

TEST(ChartSetters, Chart3DPercentOutOfRangeKeepsTheOldValue) {
  PanelRun run;
  for (int bad : {0, 101, -5}) {
    try {
      run.chart.SetChart3DPercent(bad);
      FAIL() << "accepted " << bad;
    } catch (const EngineError& e) {
      EXPECT_STREQ(e.what(), "3D effect percent must be between 1 and 100");
    }
  }
  EXPECT_EQ(run.chart.Chart3DPercent(), 15);
  EXPECT_EQ(run.repaints, 0);
  run.chart.SetChart3DPercent(1);
  run.chart.SetChart3DPercent(100);
  EXPECT_EQ(run.chart.Chart3DPercent(), 100);
}

// ---------------------------------------------------------------- layout

TEST(ChartLayout, ChartRectangleFromMargins) {
  PanelRun run;
  run.chart.Title().SetVisible(false);
  run.chart.Foot().SetVisible(false);
  run.Export();
  EXPECT_EQ(run.chart.ChartBounds(), MakeRect(0, 0, 400, 300));
  EXPECT_EQ(run.chart.ChartRect(), MakeRect(12, 12, 388, 288));
  // Percentages of 250 x 200 round half away: 7.5 -> 8.
  run.Export(250, 200);
  EXPECT_EQ(run.chart.ChartRect(), MakeRect(8, 8, 242, 192));
  EXPECT_EQ(run.chart.ChartXCenter(), 125);
  // Margins grow with the window.
  run.chart.SetMarginLeft(50);
  run.chart.SetMarginRight(50);
  run.Export();
  // Left meets right: the rectangle is widened by the panel width.
  EXPECT_EQ(run.chart.ChartRect().left, 200);
  EXPECT_EQ(run.chart.ChartRect().right, 600);
}

TEST(ChartLayout, EmptyTitleAndFootStillTakeALine) {
  PanelRun run;
  run.Export();
  EXPECT_EQ(run.chart.ChartRect(), MakeRect(12, 12 + 13 + 5, 388, 288 - 13 - 5));
  auto texts = run.dev.Of(Call::TextOut);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].points[0], (TPoint{200, 12}));
  EXPECT_EQ(texts[1].points[0], (TPoint{200, 275}));
  EXPECT_EQ(texts[0].state.font.color, 0xFF0000);
  EXPECT_EQ(texts[0].state.backMode, bmTransparent);
  // A transparent title block fills and frames nothing.
  EXPECT_EQ(run.dev.Count(Call::Rectangle), 0);
}

TEST(ChartLayout, TitleAlignments) {
  PanelRun run;
  run.chart.Title().SetLine(0, "Sales");  // 30 pixels wide, "W" 6
  run.Export();
  EXPECT_EQ(run.dev.FindText("Sales")->points[0], (TPoint{185, 12}));
  run.chart.Title().SetAlignment(taLeftJustify);
  run.Export();
  EXPECT_EQ(run.dev.FindText("Sales")->points[0], (TPoint{15, 12}));
  run.chart.Title().SetAlignment(taRightJustify);
  run.Export();
  EXPECT_EQ(run.dev.FindText("Sales")->points[0], (TPoint{355, 12}));
  EXPECT_EQ(run.chart.Title().TitleRect(), MakeRect(12, 12, 388, 25));
}

TEST(ChartLayout, FootLinesStackUpFromTheBottom) {
  PanelRun run;
  run.chart.Foot().SetText({"A", "B"});
  FontData big = run.chart.Foot().Font();
  big.size = 16;  // 26 pixels a line
  run.chart.Foot().SetFont(big);
  run.Export();
  EXPECT_EQ(run.dev.FindText("B")->points[0].y, 288 - 26);
  EXPECT_EQ(run.dev.FindText("A")->points[0].y, 288 - 52);
  EXPECT_EQ(run.chart.ChartRect().bottom, 288 - 52 - 5);
}

TEST(ChartLayout, InvisibleTitleTakesNoRoom) {
  PanelRun run;
  run.chart.Title().SetVisible(false);
  run.Export();
  EXPECT_EQ(run.chart.ChartRect().top, 12);
  EXPECT_EQ(run.dev.Texts().size(), 1u);
}

TEST(ChartLayout, FramedTitleIsNarrowedToItsText) {
  PanelRun run;
  run.chart.Title().SetLine(0, "Sales");
  TChartPen frame;
  frame.color = clBlack;
  frame.width = 2;
  run.chart.Title().SetFrame(frame);
  run.Export();
  auto rects = run.dev.Of(Call::Rectangle);
  ASSERT_EQ(rects.size(), 1u);
  // Text 30 + "W" 6 wide, centred on 200; 13 high plus the frame all round.
  EXPECT_EQ(rects[0].rect, MakeRect(182, 12, 218, 29));
  EXPECT_EQ(rects[0].state.brush.style, bsClear);
  EXPECT_EQ(run.dev.FindText("Sales")->points[0], (TPoint{185, 14}));
  EXPECT_EQ(run.chart.ChartRect().top, 14 + 13 + 2 + 5);
}

TEST(ChartLayout, SeriesDepthFromTheFinalChartWidth) {
  PanelRun run;
  run.Export();
  // 376 x 15 x 0.002 = 11.28 in the pie's (non-orthogonal) view.
  EXPECT_EQ(run.chart.SeriesDepth(), 11);
  EXPECT_EQ(run.chart.Canvas().ProjectionCenterX(), 200);
  EXPECT_EQ(run.chart.Canvas().DepthCenter(), 5);
  run.chart.SetView3D(false);
  run.Export();
  EXPECT_EQ(run.chart.SeriesDepth(), 0);
}

// ---------------------------------------------------------------- series

TEST(ChartSeriesSteps, OrderAndTheRectangleEachStepSees) {
  PanelRun run;
  FakeSeries series;
  series.rows = {{"10 Tea"}, {"30 Milk"}};
  run.chart.AddSeries(&series);
  run.Export();
  EXPECT_EQ(series.StepNames(), (std::vector<std::string>{"GroupSmallSlices", "PreparePieBounds",
                                                          "DrawSlices", "DrawAllMarks"}));
  // Grouping sees the margins only; the pie sees what title, foot and the
  // legend (drawn first, from the margin rectangle) left.
  EXPECT_EQ(series.steps[0].chartRect, MakeRect(12, 12, 388, 288));
  EXPECT_EQ(series.steps[1].chartRect, MakeRect(12, 30, 314, 270));
  EXPECT_EQ(run.dev.FindText("10 Tea")->points[0].y, 31);
  // The title is centred over what the legend left: (12 + 314) / 2.
  EXPECT_EQ(run.dev.Of(Call::TextOut)[2].points[0].x, 163);
  EXPECT_EQ(run.chart.Canvas().ProjectionCenterX(), 163);
  // Titles and legend are flat even in 3D view.
  EXPECT_TRUE(run.chart.Canvas().Is3D());
}

TEST(ChartSeriesSteps, InactiveSeriesIsNeitherDrawnNorListed) {
  PanelRun run;
  FakeSeries series;
  series.rows = {{"10 Tea"}};
  run.chart.AddSeries(&series);
  series.SetActive(false);
  run.Export();
  EXPECT_TRUE(series.steps.empty());
  EXPECT_EQ(run.dev.FindText("10 Tea"), nullptr);
  EXPECT_EQ(run.chart.ChartRect().right, 388);
}

TEST(ChartSeriesSteps, RepaintRequestsDuringPaintAreIgnored) {
  PanelRun run;
  FakeSeries series;
  series.repaintWhileGrouping = true;
  run.chart.AddSeries(&series);
  run.repaints = 0;
  RecordingDevice window;
  run.chart.Paint(window, MakeRect(0, 0, 400, 300));
  EXPECT_EQ(run.repaints, 0);
  EXPECT_FALSE(run.chart.Dirty());
  series.Repaint();
  EXPECT_EQ(run.repaints, 1);
  EXPECT_TRUE(run.chart.Dirty());
}

TEST(ChartSeriesSteps, EitherSideMayGoFirst) {
  auto series = std::make_unique<FakeSeries>();
  {
    TChart chart;
    chart.AddSeries(series.get());
    EXPECT_EQ(series->ParentChart(), &chart);
  }
  EXPECT_EQ(series->ParentChart(), nullptr);
  TChart chart;
  chart.AddSeries(series.get());
  series.reset();
  EXPECT_EQ(chart.SeriesCount(), 0);
  RecordingDevice dev;
  chart.DrawForExport(dev, 100, 100);  // must not touch the freed series
}

// ---------------------------------------------------------------- off-screen image

TEST(ChartPaint, CleanPanelOnlyCopiesItsImage) {
  PanelRun run;
  RecordingDevice window;
  const TRect client = MakeRect(0, 0, 400, 300);
  run.chart.Paint(window, client);
  ASSERT_EQ(window.Count(Call::CreateOffscreen), 1);
  EXPECT_EQ(window.Of(Call::CreateOffscreen)[0].rect, client);
  EXPECT_FALSE(window.Of(Call::CreateOffscreen)[0].monochrome);
  EXPECT_EQ(window.Count(Call::FillRect), 0);  // drawing went to the image
  auto copies = window.Of(Call::DrawPicture);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].picture, run.chart.OffscreenImage());
  EXPECT_EQ(copies[0].rect, client);
  EXPECT_FALSE(run.chart.Dirty());
  const size_t drawn = Drawn(run.chart).calls.size();
  EXPECT_GT(drawn, 0u);

  window.Clear();
  run.chart.Paint(window, client);
  EXPECT_EQ(window.calls.size(), 1u);
  EXPECT_EQ(window.Count(Call::DrawPicture), 1);
  EXPECT_EQ(Drawn(run.chart).calls.size(), drawn);

  // A change redraws into the same image; a new size makes a new one.
  run.chart.SetColor(clRed);
  window.Clear();
  run.chart.Paint(window, client);
  EXPECT_EQ(window.Count(Call::CreateOffscreen), 0);
  EXPECT_GT(Drawn(run.chart).calls.size(), drawn);
  // A resized window is drawn afresh even though nothing else changed.
  ASSERT_FALSE(run.chart.Dirty());
  window.Clear();
  run.chart.Paint(window, MakeRect(0, 0, 200, 100));
  EXPECT_EQ(window.Count(Call::CreateOffscreen), 1);
  EXPECT_EQ(run.chart.OffscreenImage()->Width(), 200);
}

TEST(ChartPaint, MonochromeImageButColourExport) {
  PanelRun run;
  RecordingDevice window;
  const TRect client = MakeRect(0, 0, 400, 300);
  run.chart.Paint(window, client);
  run.chart.SetMonochrome(true);
  EXPECT_EQ(run.chart.OffscreenImage(), nullptr);
  EXPECT_EQ(run.repaints, 1);
  window.Clear();
  run.chart.Paint(window, client);
  ASSERT_EQ(window.Count(Call::CreateOffscreen), 1);
  EXPECT_TRUE(window.Of(Call::CreateOffscreen)[0].monochrome);

  // The export draws straight onto its target, without the image.
  RecordingDevice bitmap;
  run.chart.DrawForExport(bitmap, 400, 300);
  EXPECT_EQ(bitmap.Count(Call::CreateOffscreen), 0);
  EXPECT_EQ(bitmap.Count(Call::DrawPicture), 0);
  ASSERT_GE(bitmap.Count(Call::FillRect), 1);
  EXPECT_EQ(bitmap.Of(Call::FillRect)[0].rect, client);
  EXPECT_TRUE(run.chart.BufferedDisplay());
  EXPECT_EQ(run.chart.OffscreenImage(), nullptr);
  // So the next paint draws afresh.
  window.Clear();
  run.chart.Paint(window, client);
  EXPECT_EQ(window.Count(Call::CreateOffscreen), 1);
}

// The background kept between frames: drawn again exactly when something
// that shapes it changed, else copied.
TEST(ChartPaint, BackgroundIsRedrawnOnlyWhenItsLookChanges) {
  struct Change {
    const char* what;
    bool redraws;
    std::function<void(TChart&)> apply;
  };
  const Change changes[] = {
      {"nothing", false, [](TChart&) {}},
      {"title", false, [](TChart& c) { c.Title().SetLine(0, "Sales"); }},
      {"3D view", false, [](TChart& c) { c.SetView3D(false); }},
      {"colour", true, [](TChart& c) { c.SetColor(clRed); }},
      {"gradient on", true, [](TChart& c) { c.Gradient().SetVisible(true); }},
      {"direction", true, [](TChart& c) { c.Gradient().SetDirection(gdFromCenter); }},
      {"start colour", true, [](TChart& c) { c.Gradient().SetStartColor(clBlack); }},
      {"end colour", true, [](TChart& c) { c.Gradient().SetEndColor(RGBColor(0, 0, 255)); }},
      {"image", true, [](TChart& c) { c.SetBackImage(std::make_unique<TestPicture>(4, 4)); }},
      {"new image", true, [](TChart& c) { c.SetBackImage(std::make_unique<TestPicture>(4, 4)); }},
      {"image mode", true, [](TChart& c) { c.SetBackImageMode(pbmTile); }},
      {"image inside", true, [](TChart& c) { c.SetBackImageInside(true); }},
      {"inside image mode", false, [](TChart& c) { c.SetBackImageMode(pbmStretch); }},
  };
  PanelRun run;
  RecordingDevice window;
  const TRect client = MakeRect(0, 0, 400, 300);
  run.chart.Paint(window, client);
  const TOffscreenImage* background = run.chart.BackgroundImage();
  ASSERT_NE(background, nullptr);
  auto drawn = [&] {
    return static_cast<const test::RecordingOffscreen*>(run.chart.BackgroundImage())->device.calls.size();
  };
  for (const Change& change : changes) {
    const size_t before = drawn();
    change.apply(run.chart);
    run.chart.Invalidate();
    run.chart.Paint(window, client);
    EXPECT_EQ(drawn() > before, change.redraws) << change.what;
    EXPECT_EQ(run.chart.BackgroundImage(), background) << change.what;
    // The frame starts with a copy of the background.
    EXPECT_EQ(Drawn(run.chart).Of(Call::DrawPicture).front().picture, background) << change.what;
  }
  // Another size or monochrome: an image of its own.
  run.chart.Paint(window, MakeRect(0, 0, 200, 100));
  EXPECT_EQ(run.chart.BackgroundImage()->Width(), 200);
  run.chart.SetMonochrome(true);
  EXPECT_EQ(run.chart.BackgroundImage(), nullptr);
  run.chart.Paint(window, client);
  EXPECT_TRUE(static_cast<const RecordingOffscreen*>(run.chart.BackgroundImage())->Monochrome());
  // The export neither uses nor keeps one.
  RecordingDevice bitmap;
  run.chart.DrawForExport(bitmap, 400, 300);
  EXPECT_GE(bitmap.Count(Call::FillRect), 1);
  for (const DeviceCall& copy : bitmap.Of(Call::DrawPicture)) EXPECT_EQ(copy.picture, run.chart.BackImage());
  EXPECT_EQ(run.chart.BackgroundImage(), nullptr);
}

TEST(ChartPaint, NoImageAvailableDrawsOnTheWindow) {
  PanelRun run;
  RecordingDevice window;
  window.refuseOffscreen = true;
  run.chart.Paint(window, MakeRect(0, 0, 400, 300));
  EXPECT_GE(window.Count(Call::FillRect), 1);
  EXPECT_EQ(window.Count(Call::DrawPicture), 0);
}

TEST(ChartPaint, CanvasIsResetAfterAFrame) {
  PanelRun run;
  run.Export();
  const TChartCanvas3D& canvas = run.chart.Canvas();
  EXPECT_EQ(canvas.Pen(), TChartPen());
  EXPECT_EQ(canvas.Brush(), (TChartBrush{clWhite, bsSolid}));
  EXPECT_EQ(canvas.Font().size, 10);
  EXPECT_EQ(canvas.Font().color, clBlack);
  EXPECT_EQ(canvas.BackMode(), bmTransparent);
  EXPECT_EQ(canvas.BackColor(), clWhite);
}

// ---------------------------------------------------------------- background

TEST(ChartBackground, ColourOrGradient) {
  PanelRun run;
  run.Export();
  auto fills = run.dev.Of(Call::FillRect);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].rect, MakeRect(0, 0, 400, 300));
  EXPECT_EQ(fills[0].state.brush, (TChartBrush{clWhite, bsSolid}));

  run.chart.Gradient().SetVisible(true);
  run.chart.Gradient().SetStartColor(clBlack);
  run.chart.Gradient().SetEndColor(clWhite);
  run.Export();
  fills = run.dev.Of(Call::FillRect);
  ASSERT_EQ(fills.size(), 256u);
  EXPECT_EQ(fills.front().state.brush.color, clBlack);  // bottom: start colour
  EXPECT_EQ(fills.front().rect.bottom, 300);
  EXPECT_EQ(fills.back().state.brush.color, clWhite);
  for (const auto& f : fills) EXPECT_NE(f.state.brush.color, clRed);
}

TEST(ChartBackground, ReversedDirectionsPaintTheSamePicture) {
  for (auto pair : {std::make_pair(gdTopBottom, gdBottomTop), std::make_pair(gdLeftRight, gdRightLeft)}) {
    PanelRun a, b;
    for (PanelRun* run : {&a, &b}) {
      run->chart.Gradient().SetVisible(true);
      run->chart.Gradient().SetStartColor(RGBColor(10, 200, 30));
      run->chart.Gradient().SetEndColor(RGBColor(250, 0, 90));
    }
    a.chart.Gradient().SetDirection(pair.first);
    b.chart.Gradient().SetDirection(pair.second);
    a.Export();
    b.Export();
    auto fa = a.dev.Of(Call::FillRect), fb = b.dev.Of(Call::FillRect);
    ASSERT_EQ(fa.size(), fb.size());
    for (size_t i = 0; i < fa.size(); ++i) {
      EXPECT_EQ(fa[i].rect, fb[i].rect);
      EXPECT_EQ(fa[i].state.brush, fb[i].state.brush);
    }
  }
}

// ---------------------------------------------------------------- back image

struct ImageRun : PanelRun {
  const TPicture* image = nullptr;
  explicit ImageRun(int w, int h, TBackImageMode mode) {
    auto picture = std::make_unique<TestPicture>(w, h);
    image = picture.get();
    chart.SetBackImage(std::move(picture));
    chart.SetBackImageMode(mode);
  }
  std::vector<TRect> Pictures() const {
    std::vector<TRect> out;
    for (const auto& c : dev.Of(Call::DrawPicture)) out.push_back(c.rect);
    return out;
  }
};

TEST(ChartBackImage, StretchFillsTheBounds) {
  ImageRun run(30, 20, pbmStretch);
  run.Export();
  EXPECT_EQ(run.Pictures(), std::vector<TRect>{MakeRect(0, 0, 400, 300)});
  EXPECT_EQ(run.dev.Of(Call::DrawPicture)[0].picture, run.image);
  EXPECT_EQ(run.dev.Count(Call::SetClipRect), 0);
}

TEST(ChartBackImage, TileRepeatsInsideAClip) {
  ImageRun run(100, 80, pbmTile);
  run.Export(250, 200);
  auto pictures = run.Pictures();
  ASSERT_EQ(pictures.size(), 9u);
  EXPECT_EQ(pictures[0], MakeRect(0, 0, 100, 80));
  EXPECT_EQ(pictures[2], MakeRect(200, 0, 300, 80));
  EXPECT_EQ(pictures[8], MakeRect(200, 160, 300, 240));
  ASSERT_EQ(run.dev.Count(Call::SetClipRect), 1);
  EXPECT_EQ(run.dev.Of(Call::SetClipRect)[0].rect, MakeRect(0, 0, 250, 200));
  EXPECT_EQ(run.dev.Count(Call::ClearClip), 1);

  ImageRun empty(0, 80, pbmTile);
  empty.Export();
  EXPECT_TRUE(empty.Pictures().empty());
  EXPECT_EQ(empty.dev.Count(Call::ClearClip), 1);
}

TEST(ChartBackImage, CenterRepaintsTheBackgroundUnderTheImage) {
  ImageRun run(100, 80, pbmCenter);
  run.Export();
  EXPECT_EQ(run.Pictures(), std::vector<TRect>{MakeRect(150, 110, 250, 190)});
  EXPECT_EQ(run.dev.Count(Call::FillRect), 2);

  ImageRun large(500, 401, pbmCenter);
  large.Export();
  // Larger than the panel: centred and cropped by the clip.
  EXPECT_EQ(large.Pictures(), std::vector<TRect>{MakeRect(-50, -50, 450, 351)});

  ImageRun gradient(100, 80, pbmCenter);
  gradient.chart.Gradient().SetVisible(true);
  gradient.chart.SetColor(clRed);
  gradient.Export();
  for (const auto& f : gradient.dev.Of(Call::FillRect)) EXPECT_NE(f.state.brush.color, clRed);
}

TEST(ChartBackImage, InsideShowsOnlyInFlatView) {
  ImageRun run(30, 20, pbmStretch);
  run.chart.SetBackImageInside(true);
  run.Export();
  EXPECT_TRUE(run.Pictures().empty());
  run.chart.SetView3D(false);
  run.Export();
  EXPECT_EQ(run.Pictures(), std::vector<TRect>{run.chart.ChartRect()});
  EXPECT_EQ(run.chart.ChartRect(), MakeRect(12, 30, 388, 270));
}

}  // namespace
}  // namespace kd
