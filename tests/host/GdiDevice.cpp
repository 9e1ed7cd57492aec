// The GDI device on real off-screen images: sectors against GDI's own Pie,
// brush reuse, hatches, text placement and font size, text off the clip kept
// from GDI, clipping, one-bit images, system colours, and the live GDI
// object count.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>

#include "BlockLedger.h"
#include "platform/GdiDevice.h"
#include "platform/ResourceCounters.h"
#include "support/Pixels.h"

using namespace kd;
using namespace kd::platform;

namespace {

constexpr TColor kRed = RGBColor(255, 0, 0);
constexpr TColor kBlue = RGBColor(0, 0, 255);
constexpr TColor kYellow = RGBColor(255, 255, 0);
constexpr TColor kGreen = RGBColor(0, 128, 0);

// The device's TextOutA calls, counted through this program's import table.
decltype(&TextOutA) realTextOut = nullptr;
int textOutCalls = 0;
BOOL WINAPI CountedTextOut(HDC dc, int x, int y, LPCSTR text, int length) {
  ++textOutCalls;
  return realTextOut(dc, x, y, text, length);
}

std::unique_ptr<GdiOffscreenImage> WhiteImage(int width, int height, bool monochrome = false) {
  auto image = GdiOffscreenImage::Create(width, height, monochrome);
  PatBlt(image->DC(), 0, 0, width, height, WHITENESS);
  return image;
}

void SolidFill(TDevice& device, TColor color) {
  TChartBrush brush;
  brush.color = color;
  device.SetBrush(brush);
}

TChartPen NoPen() {
  TChartPen pen;
  pen.visible = false;
  return pen;
}

// Sector of the ellipse in `bounds` from angle a0 to a1 (degrees), start and
// end points taken on the ellipse as the pie drawing computes them.
struct SectorCase {
  TRect bounds;
  double from;
  double to;
};

TPoint OnEllipse(const TRect& b, double degrees) {
  const double a = degrees * 3.14159265358979323846 / 180;
  const int cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
  return TPoint{cx + static_cast<int>(std::lround(b.Width() / 2 * std::cos(a))),
                cy - static_cast<int>(std::lround(b.Height() / 2 * std::sin(a)))};
}

}  // namespace

// The polygon sector covers what GDI's Pie covers, up to the pixels along
// the outline: same bounds, same rays, same counter-clockwise direction.
// The colour image hatches with GDI's own pattern, in place to the pixel,
// in both back modes: inside a shape every pixel is what GDI paints there;
// a slanted edge is smooth (colours between the line, gap and background
// colours), where GDI's is not.
TEST(GdiDeviceHatch, SmoothHatchesKeepGdisPatternAndSmoothTheirEdges) {
  for (const TBrushStyle style : {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross}) {
    for (const TBackMode mode : {bmOpaque, bmTransparent}) {
      SCOPED_TRACE(testing::Message() << "style " << style << " mode " << mode);
      auto smooth = WhiteImage(60, 60), gdi = WhiteImage(60, 60);
      GdiDevice plain(gdi->DC());
      for (TDevice* device : {&smooth->Device(), static_cast<TDevice*>(&plain)}) {
        SolidFill(*device, kBlue);
        device->FillRect(MakeRect(0, 0, 60, 60));
        device->SetPen(NoPen());
        device->SetBrush(TChartBrush{kRed, style});
        device->SetBackMode(mode);
        device->SetBackColor(kYellow);
        device->FillRect(MakeRect(3, 5, 29, 27));
        const TPoint slanted[3] = {{32, 2}, {58, 10}, {36, 58}};
        device->Polygon(slanted, 3);
        device->FrameDone();
      }
      int differing = 0, between = 0;
      for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) {
          const TColor c = smooth->PixelAt(x, y);
          differing += x < 30 && c != gdi->PixelAt(x, y);
          between += x >= 30 && c != kRed && c != kBlue && c != kYellow;
        }
      EXPECT_EQ(0, differing) << "the box is hatched exactly as GDI hatches it";
      EXPECT_GT(between, 8) << "the slanted edges are smooth";
      // Well inside the triangle, its pixels are GDI's.
      for (const TPoint p : {TPoint{40, 14}, TPoint{42, 20}, TPoint{40, 30}, TPoint{45, 16}, TPoint{41, 25}})
        EXPECT_EQ(gdi->PixelAt(p.x, p.y), smooth->PixelAt(p.x, p.y)) << p.x << "," << p.y;
    }
  }
}

TEST(GdiDeviceSector, MatchesGdiPieUpToTheOutline) {
  const SectorCase cases[] = {
      {MakeRect(20, 20, 420, 220), 0, 90},      // first quadrant of a wide ellipse
      {MakeRect(20, 20, 420, 220), 90, 0},      // the other three quarters
      {MakeRect(50, 10, 250, 290), 300, 40},    // across three o'clock
      {MakeRect(10, 10, 300, 300), 123, 124},   // a one-degree sliver
      {MakeRect(10, 10, 300, 300), 200, 200},   // equal rays: the whole disc
      {MakeRect(31, 17, 132, 68), 45, 225},     // odd sizes
  };
  for (const SectorCase& c : cases) {
    auto ours = WhiteImage(440, 310);
    auto gdi = WhiteImage(440, 310);
    const TPoint start = OnEllipse(c.bounds, c.from), end = OnEllipse(c.bounds, c.to);
    GdiDevice plain(ours->DC());  // the colour image's own device smooths the edges
    plain.SetPen(NoPen());
    SolidFill(plain, kRed);
    plain.Pie(c.bounds, start, end);
    {
      HGDIOBJ pen = SelectObject(gdi->DC(), GetStockObject(NULL_PEN));
      HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
      HGDIOBJ old = SelectObject(gdi->DC(), brush);
      // A null pen makes GDI stop one pixel short; widen to compare areas.
      ::Pie(gdi->DC(), c.bounds.left, c.bounds.top, c.bounds.right + 1, c.bounds.bottom + 1, start.x,
            start.y, end.x, end.y);
      SelectObject(gdi->DC(), old);
      SelectObject(gdi->DC(), pen);
      DeleteObject(brush);
    }
    const int gdiArea = kdtest::CountColor(*gdi, MakeRect(0, 0, 440, 310), kRed);
    int differing = 0;
    for (int y = 0; y < 310; ++y) {
      for (int x = 0; x < 440; ++x) differing += (ours->PixelAt(x, y) == kRed) != (gdi->PixelAt(x, y) == kRed);
    }
    // One pixel along the two radii and the arc.
    double sweep = std::fmod(c.to - c.from + 360, 360);
    if (sweep == 0) sweep = 360;
    const double rx = c.bounds.Width() / 2.0, ry = c.bounds.Height() / 2.0;
    const double outline = 2 * std::max(rx, ry) + sweep / 360 * 3.1416 * (rx + ry);
    SCOPED_TRACE(testing::Message() << "sector " << c.from << ".." << c.to);
    EXPECT_GT(gdiArea, 0);
    EXPECT_LT(differing, outline) << "pixels away from the outline differ";
  }
}

// Direction and rays read directly: a quarter from three to twelve o'clock
// fills the top-right quarter only, and hugs both rays.
TEST(GdiDeviceSector, RunsCounterClockwiseBetweenExactRays) {
  auto image = WhiteImage(220, 220);
  const TRect bounds = MakeRect(10, 10, 210, 210);  // centre (110, 110), radius 100
  image->Device().SetPen(NoPen());
  SolidFill(image->Device(), kBlue);
  image->Device().Pie(bounds, TPoint{210, 110}, TPoint{110, 10});
  EXPECT_EQ(image->PixelAt(150, 70), kBlue);   // top right
  EXPECT_EQ(image->PixelAt(70, 70), clWhite);  // top left
  EXPECT_EQ(image->PixelAt(70, 150), clWhite);
  EXPECT_EQ(image->PixelAt(150, 150), clWhite);
  // Along the rays: just inside the quarter filled, just outside not.
  EXPECT_EQ(image->PixelAt(180, 107), kBlue);
  EXPECT_EQ(image->PixelAt(180, 113), clWhite);
  EXPECT_EQ(image->PixelAt(113, 40), kBlue);
  EXPECT_EQ(image->PixelAt(106, 40), clWhite);
  // The arc reaches the ellipse: 45 degrees out at radius 97 is filled, 103 not.
  EXPECT_EQ(image->PixelAt(110 + 68, 110 - 68), kBlue);
  EXPECT_EQ(image->PixelAt(110 + 74, 110 - 74), clWhite);
}

TEST(GdiDeviceSector, ArcPointsStayOnTheEllipseAFewPixelsApart) {
  const RECT bounds{0, 0, 401, 201};  // pixel-centre ellipse: centre (200, 100), radii 200, 100
  const auto points = SectorArcPoints(bounds, POINT{400, 100}, POINT{0, 100}, 3.0);
  ASSERT_GT(points.size(), 100u);
  EXPECT_EQ(points.front().x, 400);
  EXPECT_EQ(points.front().y, 100);
  EXPECT_EQ(points.back().x, 0);
  EXPECT_EQ(points.back().y, 100);
  for (size_t i = 0; i < points.size(); ++i) {
    const double dx = (points[i].x - 200) / 200.0, dy = (points[i].y - 100) / 100.0;
    EXPECT_NEAR(dx * dx + dy * dy, 1.0, 0.03) << i;
    EXPECT_LE(points[i].y, 100) << "the upper half, counter-clockwise from the right";
    if (i == 0) continue;
    EXPECT_LE(std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y), 4.3);
  }
}

// The gradient sets the same colour band after band: only a colour change
// may create a brush, and a colour seen earlier in the frame reuses its
// brush; pens and fonts are reused the same way.
TEST(GdiDeviceState, CreatesObjectsOnlyWhenTheyChange) {
  auto image = WhiteImage(50, 50);
  // GDI's own drawing: the image's device draws its shapes itself.
  GdiDevice device(image->DC());
  const long before = device.ObjectsCreated();
  for (int i = 0; i < 5; ++i) {
    SolidFill(device, kRed);
    device.FillRect(MakeRect(0, i, 50, i + 1));
  }
  EXPECT_EQ(device.ObjectsCreated(), before + 1);
  SolidFill(device, kBlue);
  EXPECT_EQ(device.ObjectsCreated(), before + 2);
  SolidFill(device, kRed);  // kept since its first use
  EXPECT_EQ(device.ObjectsCreated(), before + 2);
  const long live = LiveGdiObjects();
  device.FrameDone();
  EXPECT_EQ(LiveGdiObjects(), live - 1) << "the kept blue brush goes, the selected red one stays";
  TChartPen pen;
  device.SetPen(pen);
  device.SetPen(pen);
  FontData font;
  device.SetFont(font);
  font.color = kRed;  // colour alone needs no new font
  device.SetFont(font);
  EXPECT_EQ(device.ObjectsCreated(), before + 4);
  font.size = 12;
  device.SetFont(font);
  EXPECT_EQ(device.ObjectsCreated(), before + 5);
}

TEST(GdiDeviceHatch, OpaqueHatchPaintsLinesOverTheBackColour) {
  auto image = WhiteImage(64, 64);
  TDevice& device = image->Device();
  device.SetPen(NoPen());
  TChartBrush brush;
  brush.color = kRed;
  brush.style = bsCross;
  device.SetBrush(brush);
  device.SetBackMode(bmOpaque);
  device.SetBackColor(kYellow);
  device.Pie(MakeRect(0, 0, 64, 64), TPoint{64, 32}, TPoint{64, 32});
  const TRect inner = MakeRect(20, 20, 44, 44);
  const int red = kdtest::CountColor(*image, inner, kRed);
  const int yellow = kdtest::CountColor(*image, inner, kYellow);
  EXPECT_GT(red, 24 * 2);
  EXPECT_GT(yellow, red);
  EXPECT_EQ(red + yellow, 24 * 24) << "only hatch lines and back colour inside the slice";
  EXPECT_EQ(image->PixelAt(1, 1), clWhite) << "corner outside the disc untouched";
}

TEST(GdiDeviceHatch, TransparentHatchKeepsWhatIsBehind) {
  auto image = WhiteImage(40, 40);
  TDevice& device = image->Device();
  SolidFill(device, kBlue);
  device.FillRect(MakeRect(0, 0, 40, 40));
  TChartBrush brush;
  brush.color = kRed;
  brush.style = bsDiagCross;
  device.SetBrush(brush);
  device.SetBackMode(bmTransparent);
  device.FillRect(MakeRect(5, 5, 35, 35));
  const TRect inside = MakeRect(5, 5, 35, 35);
  const int red = kdtest::CountColor(*image, inside, kRed);
  const int blue = kdtest::CountColor(*image, inside, kBlue);
  EXPECT_GT(red, 30);
  EXPECT_EQ(red + blue, 30 * 30);
  EXPECT_EQ(image->PixelAt(35, 20), kBlue) << "right edge exclusive";
  EXPECT_EQ(image->PixelAt(20, 35), kBlue) << "bottom edge exclusive";
}

TEST(GdiDeviceFill, FillRectCoversExactlyTheRectangleInEitherOrientation) {
  auto image = WhiteImage(30, 30);
  SolidFill(image->Device(), kGreen);
  image->Device().FillRect(MakeRect(20, 20, 10, 10));  // given right-to-left, bottom-up
  EXPECT_EQ(kdtest::CountColor(*image, MakeRect(0, 0, 30, 30), kGreen), 100);
  EXPECT_EQ(image->PixelAt(10, 10), kGreen);
  EXPECT_EQ(image->PixelAt(20, 20), clWhite);
}

TEST(GdiDeviceClip, ClipLimitsDrawingUntilCleared) {
  auto image = WhiteImage(40, 40);
  TDevice& device = image->Device();
  SolidFill(device, kRed);
  device.SetClipRect(MakeRect(10, 10, 20, 20));
  device.FillRect(MakeRect(0, 0, 40, 40));
  EXPECT_EQ(kdtest::CountColor(*image, MakeRect(0, 0, 40, 40), kRed), 100);
  device.SetClipRect(MakeRect(30, 30, 35, 35));  // replaces, does not intersect
  device.FillRect(MakeRect(0, 0, 40, 40));
  EXPECT_EQ(kdtest::CountColor(*image, MakeRect(0, 0, 40, 40), kRed), 125);
  device.ClearClip();
  device.FillRect(MakeRect(0, 0, 40, 40));
  EXPECT_EQ(kdtest::CountColor(*image, MakeRect(0, 0, 40, 40), kRed), 1600);
}

TEST(GdiDeviceText, AlignmentPlacesTheTextAgainstX) {
  auto image = WhiteImage(300, 60);
  TDevice& device = image->Device();
  FontData font;
  font.size = 14;
  font.color = kBlue;
  device.SetFont(font);
  device.SetBackMode(bmTransparent);
  const std::string text = "WWWW";
  const int width = device.TextWidth(text);
  ASSERT_GT(width, 20);
  struct Case {
    TAlignment align;
    int expectedLeft;
  } cases[] = {{taLeftJustify, 150}, {taRightJustify, 150 - width}, {taCenter, 150 - width / 2}};
  for (const Case& c : cases) {
    PatBlt(image->DC(), 0, 0, 300, 60, WHITENESS);
    device.TextOut(150, 10, text, c.align);
    int minX = 300, maxX = -1, minY = 60;
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 300; ++x) {
        if (image->PixelAt(x, y) == clWhite) continue;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
      }
    }
    SCOPED_TRACE(c.align);
    EXPECT_NEAR(minX, c.expectedLeft, 3);
    EXPECT_NEAR(maxX + 1, c.expectedLeft + width, 3);
    EXPECT_GE(minY, 10) << "y is the top of the text";
  }
}

TEST(GdiDeviceText, FontSizeIsInPointsAtTheScreenResolution) {
  auto image = WhiteImage(10, 10);
  GdiDevice& device = image->Gdi();
  FontData font;
  font.size = 36;
  device.SetFont(font);
  TEXTMETRICA metrics{};
  GetTextMetricsA(device.DC(), &metrics);
  EXPECT_NEAR(metrics.tmHeight - metrics.tmInternalLeading, MulDiv(36, device.PixelsPerInch(), 72), 1);
  const int big = device.TextHeight("W");
  font.size = 9;
  device.SetFont(font);
  EXPECT_NEAR(device.TextHeight("W") * 4, big, big / 5);
}

// Text sizes are remembered per font: going back and forth between more
// fonts than are remembered, each text measures what GDI measures for it in
// the font selected now.
TEST(GdiDeviceText, RememberedSizesBelongToTheirFont) {
  auto image = WhiteImage(10, 10);
  GdiDevice& device = image->Gdi();
  std::vector<FontData> fonts(6);
  for (size_t i = 0; i < fonts.size(); ++i) {
    fonts[i].size = 6 + 5 * int(i);
    fonts[i].styles = i % 2 ? fsBold : 0;
  }
  for (int round = 0; round < 3; ++round)
    for (const FontData& font : fonts) {
      device.SetFont(font);
      for (const std::string text : {"Slice 1", "W", "Slice 1"}) {
        SIZE gdi{};
        GetTextExtentPoint32A(device.DC(), text.c_str(), int(text.size()), &gdi);
        EXPECT_EQ(gdi.cx, device.TextWidth(text)) << font.size << " " << text;
        EXPECT_EQ(gdi.cy, device.TextHeight(text)) << font.size << " " << text;
      }
    }
}

TEST(GdiDeviceMonochrome, OneBitImageHoldsOnlyBlackAndWhite) {
  auto mono = WhiteImage(60, 60, true);
  ASSERT_TRUE(mono->Monochrome());
  TDevice& device = mono->Device();
  for (int band = 0; band < 60; ++band) {
    const int level = 255 - band * 255 / 59;  // white to black, tinted
    SolidFill(device, RGBColor(level, level, std::min(255, level + 40)));
    device.FillRect(MakeRect(0, band, 60, band + 1));
  }
  device.SetPen(TChartPen{kRed, 3, psSolid, true, false});
  device.Line(0, 30, 60, 30);
  int black = 0, white = 0;
  for (TColor c : kdtest::PixelsIn(*mono, MakeRect(0, 0, 60, 60))) {
    black += c == clBlack;
    white += c == clWhite;
  }
  EXPECT_EQ(black + white, 3600);
  EXPECT_GT(black, 0);
  EXPECT_GT(white, 0);

  // Copied onto a colour image (as onto a window) black stays black and
  // white stays white, whatever text colours the target had.
  auto colour = WhiteImage(60, 60);
  SetTextColor(colour->DC(), RGB(255, 0, 0));
  SetBkColor(colour->DC(), RGB(0, 0, 255));
  colour->Device().DrawPicture(*mono, MakeRect(0, 0, 60, 60));
  for (int y = 0; y < 60; y += 7) {
    for (int x = 0; x < 60; x += 5) EXPECT_EQ(colour->PixelAt(x, y), mono->PixelAt(x, y)) << x << "," << y;
  }
}

TEST(GdiDeviceColors, SystemColoursResolveThroughThePlatform) {
  auto image = WhiteImage(4, 4);
  TDevice& device = image->Device();
  EXPECT_EQ(device.ResolveColor(SystemColor(COLOR_BTNFACE)),
            static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(device.ResolveColor(kRed), kRed);
  EXPECT_EQ(device.ResolveColor(clDefault), clBlack);
  SolidFill(device, SystemColor(COLOR_HIGHLIGHT));
  device.FillRect(MakeRect(0, 0, 4, 4));
  EXPECT_EQ(image->PixelAt(2, 2), static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT)));
  const TScreenInfo screen = device.Screen();
  EXPECT_EQ(screen.widthPixels, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(screen.heightPixels, GetSystemMetrics(SM_CYSCREEN));
}

TEST(GdiDeviceOffscreen, RefusesEmptySizesAndStretchesOnCopy) {
  auto image = WhiteImage(20, 20);
  EXPECT_EQ(image->Device().CreateOffscreen(0, 10, false), nullptr);
  EXPECT_EQ(image->Device().CreateOffscreen(10, -1, true), nullptr);
  auto small = image->Device().CreateOffscreen(2, 2, false);
  ASSERT_NE(small, nullptr);
  SolidFill(small->Device(), kRed);
  small->Device().FillRect(MakeRect(0, 0, 1, 2));
  SolidFill(small->Device(), kBlue);
  small->Device().FillRect(MakeRect(1, 0, 2, 2));
  image->Device().DrawPicture(*small, MakeRect(0, 0, 20, 20));
  EXPECT_EQ(image->PixelAt(3, 10), kRed);
  EXPECT_EQ(image->PixelAt(16, 10), kBlue);
}

TEST(GdiDeviceResources, LiveGdiObjectsReturnToTheBaseline) {
  const long baseline = LiveGdiObjects();
  {
    auto image = WhiteImage(100, 100);
    auto mono = WhiteImage(100, 100, true);
    EXPECT_GT(LiveGdiObjects(), baseline);
    TDevice& device = image->Device();
    for (int i = 0; i < 50; ++i) {
      SolidFill(device, RGBColor(i, 0, 0));
      device.SetPen(TChartPen{RGBColor(0, i, 0), 1 + i % 3, psDash, true, i % 2 == 0});
      FontData font;
      font.size = 8 + i % 5;
      device.SetFont(font);
      device.Pie(MakeRect(0, 0, 100, 100), TPoint{100, 50}, TPoint{0, 50});
      device.TextOut(5, 5, "x", taLeftJustify);
      device.SetClipRect(MakeRect(0, 0, 50, 50));
    }
    device.DrawPicture(*mono, MakeRect(0, 0, 50, 50));
  }
  EXPECT_EQ(LiveGdiObjects(), baseline);
}

// The chart window's path: an off-screen image (colour and one-bit) copied
// onto a real window's DC by a device over that DC.
TEST(GdiDeviceWindow, OffscreenImagesCopyOntoAWindow) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KdGdiDeviceTestWindow";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 120, 60,
                                nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  UpdateWindow(window);
  auto colour = WhiteImage(60, 60);
  SolidFill(colour->Device(), kRed);
  colour->Device().FillRect(MakeRect(0, 0, 30, 60));
  auto mono = WhiteImage(60, 60, true);
  SolidFill(mono->Device(), clBlack);
  mono->Device().FillRect(MakeRect(0, 0, 30, 60));
  {
    WindowDC dc(window);
    GdiDevice device(dc.Get());
    SetTextColor(dc.Get(), RGB(0, 255, 0));  // a one-bit copy must not take these
    SetBkColor(dc.Get(), RGB(0, 0, 255));
    device.DrawPicture(*colour, MakeRect(0, 0, 60, 60));
    device.DrawPicture(*mono, MakeRect(60, 0, 120, 60));
    GdiFlush();
    EXPECT_EQ(static_cast<TColor>(GetPixel(dc.Get(), 10, 30)), kRed);
    EXPECT_EQ(static_cast<TColor>(GetPixel(dc.Get(), 45, 30)), clWhite);
    EXPECT_EQ(static_cast<TColor>(GetPixel(dc.Get(), 70, 30)), clBlack);
    EXPECT_EQ(static_cast<TColor>(GetPixel(dc.Get(), 105, 30)), clWhite);
  }
  DestroyWindow(window);
}

TEST(GdiDeviceSector, HugeEllipsesKeepABoundedPointCount) {
  const RECT huge{-100000000, -100000000, 100000000, 100000000};
  const auto points = SectorArcPoints(huge, POINT{100000000, 0}, POINT{100000000, 0}, 3.0);
  EXPECT_LE(points.size(), 4097u);
  EXPECT_GT(points.size(), 1000u);
  // Drawn too: the quarter below and right of the centre covers the image.
  auto image = WhiteImage(50, 50);
  SolidFill(image->Device(), kRed);
  const TRect bounds = MakeRect(-100000000, -100000000, 100000000, 100000000);
  image->Device().Pie(bounds, TPoint{1, 0}, TPoint{0, -1});
  EXPECT_EQ(image->PixelAt(25, 25), clWhite);
  image->Device().Pie(bounds, TPoint{0, 1}, TPoint{1, 0});
  EXPECT_EQ(image->PixelAt(25, 25), kRed);
}

TEST(GdiDevicePen, WidthStyleAndVisibilityShapeTheLine) {
  auto image = WhiteImage(100, 40);
  TDevice& device = image->Device();
  auto inkInColumn = [&](int x, int y0, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y) n += image->PixelAt(x, y) != clWhite;
    return n;
  };
  auto inkInRow = [&](int y) {
    int n = 0;
    for (int x = 0; x < 100; ++x) n += image->PixelAt(x, y) != clWhite;
    return n;
  };
  device.SetPen(TChartPen{kRed, 3, psSolid, true, false});
  device.Line(10, 5, 90, 5);
  EXPECT_EQ(inkInColumn(50, 0, 10), 3);
  EXPECT_EQ(image->PixelAt(50, 5), kRed);

  device.SetPen(TChartPen{kBlue, 1, psDash, true, false});
  device.Line(0, 15, 100, 15);
  EXPECT_GT(inkInRow(15), 40);
  EXPECT_LT(inkInRow(15), 90) << "dashes leave gaps";

  device.SetPen(TChartPen{kBlue, 1, psSolid, true, true});
  device.Line(0, 25, 100, 25);
  EXPECT_EQ(inkInRow(25), 50) << "small dots: every other pixel";

  device.SetPen(TChartPen{kBlue, 5, psSolid, false, false});
  device.Line(0, 35, 100, 35);
  device.SetPen(TChartPen{kBlue, 5, psClear, true, false});
  device.Line(0, 35, 100, 35);
  EXPECT_EQ(inkInRow(35), 0) << "invisible and clear pens draw nothing";
}

// A pen is made no wider than twice the image's diagonal, whatever width it
// carries: a short line with it still covers the whole image.
TEST(GdiDevicePen, WidthsBeyondTheImageAreMadeAsWideAsItsDiagonalTwice) {
  auto image = WhiteImage(120, 50);
  const int twiceDiagonal = 2 * 130;
  for (int width : {2147483647, 100000, twiceDiagonal}) {
    PatBlt(image->DC(), 0, 0, 120, 50, WHITENESS);
    GdiDevice device(image->DC());  // GDI's own pens: the image's device smooths its lines itself
    device.SetPen(TChartPen{kRed, width, psSolid, true, false});
    device.Line(0, 0, 2, 2);
    LOGPEN made{};
    ASSERT_NE(GetObject(GetCurrentObject(image->DC(), OBJ_PEN), sizeof made, &made), 0);
    EXPECT_GE(made.lopnWidth.x, twiceDiagonal) << width;
    EXPECT_LE(made.lopnWidth.x, twiceDiagonal + 2) << width;
    EXPECT_EQ(kdtest::CountColor(*image, MakeRect(0, 0, 120, 50), kRed), 120 * 50) << width;
  }
}

TEST(GdiDeviceText, OpaqueBackModeBoxesTheTextInTheBackColour) {
  auto image = WhiteImage(120, 40);
  TDevice& device = image->Device();
  FontData font;
  font.size = 12;
  font.color = kBlue;
  device.SetFont(font);
  device.SetBackMode(bmOpaque);
  device.SetBackColor(kYellow);
  device.TextOut(10, 5, "i i", taLeftJustify);
  const int width = device.TextWidth("i i"), height = device.TextHeight("i i");
  const TRect box = MakeRect(10, 5, 10 + width, 5 + height);
  const int yellow = kdtest::CountColor(*image, box, kYellow);
  EXPECT_GT(yellow, width * height / 2);
  EXPECT_EQ(image->PixelAt(10 + width + 1, 5 + height / 2), clWhite);
  EXPECT_EQ(kdtest::CountColor(*image, MakeRect(0, 0, 120, 40), kYellow), yellow) << "nothing outside the box";
}

// GDI takes as long for text off the clip as for visible text (a chart of
// thousands of marks on a tiny window stalled 32-bit Wine): text that cannot
// reach the clip is not handed to GDI. Text that reaches it by a fraction of
// its width or height is, under each alignment; so is text inside.
TEST(GdiDeviceText, OnlyTextThatCanReachTheClipGoesToGdi) {
  const HMODULE program = GetModuleHandleA(nullptr);
  realTextOut = reinterpret_cast<decltype(&TextOutA)>(
      kdhost::PatchImport(program, "gdi32.dll", "TextOutA", reinterpret_cast<void*>(&CountedTextOut)));
  ASSERT_NE(realTextOut, nullptr);
  auto image = WhiteImage(300, 200);
  TDevice& device = image->Device();
  FontData font;
  font.size = 12;
  font.color = kBlue;
  device.SetFont(font);
  device.SetBackMode(bmTransparent);
  const std::string text = "WWWW";
  const int w = device.TextWidth(text), h = device.TextHeight(text);
  const TRect clip = MakeRect(100, 80, 200, 120);
  device.SetClipRect(clip);
  struct Case {
    int x, y;
    TAlignment align;
    bool drawn;
  } cases[] = {
      {140, 90, taLeftJustify, true},
      {100 - w + w / 8, 90, taLeftJustify, true},  // its last eighth inside
      {200 + w / 2, 90, taRightJustify, true},     // its left half inside
      {200 + w / 2 - w / 8, 90, taCenter, true},   // its first eighth inside
      {150, 120 - h / 2, taCenter, true},          // its upper half inside
      {150, 80 - h / 2, taCenter, true},           // its lower half inside
      // Off each side of the clip, on the image; then as far off as can be.
      {250, 90, taLeftJustify, false},
      {50, 90, taRightJustify, false},
      {150, 160, taCenter, false},
      {150, 20 - h, taCenter, false},
      {INT_MIN, 90, taLeftJustify, false},
      {INT_MAX, 90, taRightJustify, false},
      {150, INT_MAX, taCenter, false},
      {150, INT_MIN, taCenter, false},
  };
  for (const Case& c : cases) {
    PatBlt(image->DC(), 0, 0, 300, 200, WHITENESS);
    textOutCalls = 0;
    device.TextOut(c.x, c.y, text, c.align);
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y << " aligned " << c.align);
    EXPECT_EQ(textOutCalls, c.drawn ? 1 : 0);
    if (c.drawn) {
      EXPECT_LT(kdtest::CountColor(*image, clip, clWhite), clip.Width() * clip.Height()) << "ink in the clip";
    }
  }
  kdhost::PatchImport(program, "gdi32.dll", "TextOutA", reinterpret_cast<void*>(realTextOut));
}
