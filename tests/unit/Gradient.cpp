// The gradient fill: band counts, placement and colours of every direction,
// a brush only per colour change, full coverage and nothing outside, and the
// settings object's repaint rule.
#include "engine/Gradient.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/RecordingDevice.h"

namespace kd {
namespace {

using test::Call;
using test::RecordingDevice;

// The pixels a run of fills leaves, painted in the brush colour of each fill.
// Pixels never filled stay kUnset; fills outside the area are counted.
constexpr TColor kUnset = -1;
struct Raster {
  TRect area;
  std::vector<TColor> pixels;
  int outside = 0;

  Raster(const RecordingDevice& dev, const TRect& a)
      : area(a), pixels(a.Width() * a.Height(), kUnset) {
    for (const auto& c : dev.Of(Call::FillRect)) {
      for (int y = c.rect.top; y < c.rect.bottom; ++y)
        for (int x = c.rect.left; x < c.rect.right; ++x) {
          if (x < area.left || x >= area.right || y < area.top || y >= area.bottom) {
            ++outside;
            continue;
          }
          pixels[(y - area.top) * area.Width() + (x - area.left)] = c.state.brush.color;
        }
    }
  }
  TColor At(int x, int y) const { return pixels[(y - area.top) * area.Width() + (x - area.left)]; }
  int Unset() const {
    int n = 0;
    for (TColor c : pixels) n += c == kUnset;
    return n;
  }
};

int Grey(int level) { return RGBColor(level, level, level); }

TEST(GradientMulDiv, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDivRound(1, 5, 2), 3);
  EXPECT_EQ(MulDivRound(-1, 5, 2), -3);
  EXPECT_EQ(MulDivRound(3, 250, 100), 8);
  EXPECT_EQ(MulDivRound(1, 4, 3), 1);
  EXPECT_EQ(MulDivRound(2000000000, 3, 4), 1500000000);  // no 32-bit overflow
  EXPECT_EQ(MulDivRound(5, 9, 0), 0);
}

TEST(GradientStraight, HundredRowsWhiteToBlack) {
  RecordingDevice dev;
  const TRect r = MakeRect(10, 20, 60, 120);
  FillGradient(dev, r, clWhite, clBlack, gdTopBottom);
  auto fills = dev.Of(Call::FillRect);
  ASSERT_EQ(fills.size(), 100u);
  // All grey levels differ, so every band needs its own brush.
  EXPECT_EQ(dev.Count(Call::SetBrush), 100);
  for (int k = 0; k < 100; ++k) {
    EXPECT_EQ(fills[k].rect, MakeRect(10, 119 - k, 60, 120 - k));
    const int level = 255 - static_cast<int>(std::lround(255.0 * k / 99));
    EXPECT_EQ(fills[k].state.brush, (TChartBrush{Grey(level), bsSolid})) << k;
  }
  EXPECT_EQ(fills.front().state.brush.color, clWhite);  // bottom row
  EXPECT_EQ(fills.back().state.brush.color, clBlack);   // top row
}

TEST(GradientStraight, WideRectangleGets256TilingBands) {
  RecordingDevice dev;
  const TRect r = MakeRect(0, 0, 1000, 30);
  FillGradient(dev, r, RGBColor(0, 0, 255), RGBColor(255, 0, 0), gdLeftRight);
  auto fills = dev.Of(Call::FillRect);
  ASSERT_EQ(fills.size(), 256u);
  int right = 1000;
  for (const auto& f : fills) {
    EXPECT_EQ(f.rect.right, right);  // no gap, no overlap
    EXPECT_GE(f.rect.Width(), 3);
    EXPECT_LE(f.rect.Width(), 4);
    right = f.rect.left;
  }
  EXPECT_EQ(right, 0);
  EXPECT_EQ(fills.front().state.brush.color, RGBColor(0, 0, 255));  // right-most: start
  EXPECT_EQ(fills.back().state.brush.color, RGBColor(255, 0, 0));   // left-most: end
  Raster raster(dev, r);
  EXPECT_EQ(raster.Unset(), 0);
}

TEST(GradientStraight, BrushOnlyWhenColourChanges) {
  RecordingDevice dev;
  FillGradient(dev, MakeRect(0, 0, 40, 300), clWhite, clWhite, gdTopBottom);
  EXPECT_EQ(dev.Count(Call::FillRect), 256);
  EXPECT_EQ(dev.Count(Call::SetBrush), 1);

  // 0 to 2 over 256 bands: three colours, three brushes.
  dev.Clear();
  FillGradient(dev, MakeRect(0, 0, 40, 300), RGBColor(0, 0, 0), RGBColor(2, 0, 0), gdTopBottom);
  EXPECT_EQ(dev.Count(Call::SetBrush), 3);
}

TEST(GradientStraight, ReversedDirectionsPaintTheSameBands) {
  RecordingDevice down, up;
  FillGradient(down, MakeRect(0, 0, 20, 50), clWhite, clBlack, gdTopBottom);
  FillGradient(up, MakeRect(0, 0, 20, 50), clWhite, clBlack, gdBottomTop);
  ASSERT_EQ(down.calls.size(), up.calls.size());
  for (size_t i = 0; i < down.calls.size(); ++i) {
    EXPECT_EQ(down.calls[i].rect, up.calls[i].rect);
    EXPECT_EQ(down.calls[i].state.brush, up.calls[i].state.brush);
  }
}

TEST(GradientStraight, OnePixelAndEmptyRectangles) {
  RecordingDevice dev;
  FillGradient(dev, MakeRect(0, 0, 30, 1), clWhite, clBlack, gdTopBottom);
  ASSERT_EQ(dev.Count(Call::FillRect), 1);
  EXPECT_EQ(dev.Of(Call::FillRect)[0].state.brush.color, clWhite);  // the from-colour
  for (int d = gdTopBottom; d <= gdFromBottomLeft; ++d) {
    dev.Clear();
    FillGradient(dev, MakeRect(5, 5, 5, 40), clWhite, clBlack, static_cast<TGradientDirection>(d));
    EXPECT_EQ(dev.Count(Call::FillRect), 0) << d;
  }
}

TEST(GradientStraight, SystemColoursUseTheirRgbValue) {
  RecordingDevice dev;
  FillGradient(dev, MakeRect(0, 0, 10, 10), clBtnFace, clBtnFace, gdTopBottom);
  EXPECT_EQ(dev.Of(Call::FillRect)[0].state.brush.color, 0xC0C0C0);
}

TEST(GradientFromCenter, RingsFromBorderInwards) {
  RecordingDevice dev;
  const TRect r = MakeRect(0, 0, 10, 6);  // hw 5, hh 3, range 8
  FillGradient(dev, r, RGBColor(0, 0, 0), RGBColor(0, 0, 80), gdFromCenter);
  Raster raster(dev, r);
  EXPECT_EQ(raster.Unset(), 0);
  EXPECT_EQ(raster.outside, 0);
  EXPECT_EQ(raster.At(0, 0), RGBColor(0, 0, 0));
  EXPECT_EQ(raster.At(9, 5), RGBColor(0, 0, 0));
  EXPECT_EQ(raster.At(1, 1), RGBColor(0, 0, 20));  // step 2 of 8
  // Steps 0, 2, 4, 6, 7: the middle stops one step short of the to-colour.
  EXPECT_EQ(raster.At(5, 3), RGBColor(0, 0, 70));
  EXPECT_EQ(dev.Count(Call::SetBrush), 5);
}

TEST(GradientFromCorner, TopLeftCornerToBottomRight) {
  RecordingDevice dev;
  const TRect r = MakeRect(0, 0, 8, 8);  // range 16
  FillGradient(dev, r, RGBColor(0, 0, 0), RGBColor(160, 0, 0), gdFromTopLeft);
  Raster raster(dev, r);
  EXPECT_EQ(raster.Unset(), 0);
  EXPECT_EQ(raster.outside, 0);
  EXPECT_EQ(raster.At(0, 0), RGBColor(0, 0, 0));
  // Pixel (x, y) belongs to the stroke max(x, y): steps 0, 2, 4, ...
  EXPECT_EQ(raster.At(3, 1), RGBColor(60, 0, 0));
  EXPECT_EQ(raster.At(1, 3), RGBColor(60, 0, 0));
  EXPECT_EQ(raster.At(7, 7), RGBColor(140, 0, 0));
}

TEST(GradientFromCorner, BottomLeftCorner) {
  RecordingDevice dev;
  const TRect r = MakeRect(0, 0, 8, 8);
  FillGradient(dev, r, RGBColor(0, 0, 0), RGBColor(160, 0, 0), gdFromBottomLeft);
  Raster raster(dev, r);
  EXPECT_EQ(raster.Unset(), 0);
  EXPECT_EQ(raster.At(0, 7), RGBColor(0, 0, 0));
  EXPECT_EQ(raster.At(7, 0), RGBColor(140, 0, 0));
}

TEST(GradientFromCorner, TallRectangleStaysInside) {
  // Taller than wide: the column would step one pixel right of the
  // rectangle for the remaining strokes; the fill keeps inside it.
  RecordingDevice dev;
  const TRect r = MakeRect(10, 10, 14, 30);
  FillGradient(dev, r, clBlack, clWhite, gdFromTopLeft);
  Raster raster(dev, MakeRect(0, 0, 40, 40));
  EXPECT_EQ(raster.outside, 0);
  int filledOutside = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool inside = x >= 10 && x < 14 && y >= 10 && y < 30;
      if (inside) EXPECT_NE(raster.At(x, y), kUnset);
      else filledOutside += raster.At(x, y) != kUnset;
    }
  EXPECT_EQ(filledOutside, 0);
}

TEST(GradientSettings, DefaultsAndRepaintOnlyOnChange) {
  TChartGradient g;
  EXPECT_FALSE(g.Visible());
  EXPECT_EQ(g.Direction(), gdTopBottom);
  EXPECT_EQ(g.StartColor(), clWhite);
  EXPECT_EQ(g.EndColor(), 0x00FFFF);
  int repaints = 0;
  g.SetRepaintRequest([&] { ++repaints; });
  g.SetVisible(false);
  g.SetDirection(gdTopBottom);
  g.SetStartColor(clWhite);
  g.SetEndColor(0x00FFFF);
  g.Assign(TChartGradient());
  EXPECT_EQ(repaints, 0);
  g.SetDirection(gdFromCenter);
  g.SetStartColor(clBlack);
  EXPECT_EQ(repaints, 2);
  TChartGradient other;
  other.SetVisible(true);
  other.SetEndColor(clRed);
  g.Assign(other);
  EXPECT_EQ(repaints, 3);  // one repaint for the whole copy
  EXPECT_TRUE(g.Visible());
  EXPECT_EQ(g.Direction(), gdTopBottom);
  EXPECT_EQ(g.StartColor(), clWhite);
  EXPECT_EQ(g.EndColor(), clRed);
}

}  // namespace
}  // namespace kd
