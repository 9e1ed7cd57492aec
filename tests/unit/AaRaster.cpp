// The anti-aliased rasteriser: painting order, seams between shapes that
// share an edge, smooth slanted edges, thin lines on pixel centres, dashes,
// clipping and the sector outlines.
#include "raster/AaRaster.h"
#include "raster/SectorShape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace kd::raster {
namespace {

struct Image {
  int width, height;
  std::vector<uint32_t> bits;
  Image(int w, int h, uint32_t fill = 0xFFFFFF) : width(w), height(h), bits(size_t(w) * h, fill) {}
  TPixelRows Rows() { return TPixelRows{bits.data(), width, height, width}; }
  uint32_t At(int x, int y) const { return bits[size_t(y) * width + x]; }
  TRect All() const { return MakeRect(0, 0, width, height); }
};

int Red(uint32_t c) { return (c >> 16) & 0xFF; }
int Green(uint32_t c) { return (c >> 8) & 0xFF; }
int Blue(uint32_t c) { return c & 0xFF; }

constexpr uint32_t kRedish = 0xC80000, kBluish = 0x0000C8;

// Every pixel of a mix of the two colours: no green (the white background)
// and red plus blue the colours' own 200, give or take rounding.
void ExpectOnlyTheTwoColours(const Image& image, int x, int y) {
  const uint32_t c = image.At(x, y);
  EXPECT_EQ(0, Green(c)) << x << "," << y;
  EXPECT_NEAR(200, Red(c) + Blue(c), 2) << x << "," << y;
}

TEST(AaRaster, HundredSlicesAndRimBandsLeaveNoSeams) {
  Image image(220, 260);
  TAaBatch batch;
  const TRect bounds = MakeRect(10, 10, 212, 212);
  std::vector<TPoint> rays;
  for (int i = 0; i <= 100; ++i) {
    const double t = 2 * 3.14159265358979 * i / 100;
    rays.push_back(TPoint{110 + int(std::lround(100 * std::cos(t))), 110 - int(std::lround(100 * std::sin(t)))});
  }
  for (int i = 0; i < 100; ++i) {
    const std::vector<TPointF> sector = SectorShape(bounds, rays[i], rays[i + 1 == 100 ? 0 : i + 1]);
    batch.Fill(sector.data(), int(sector.size()), i % 2 ? kRedish : kBluish);
  }
  batch.Render(image.Rows());
  for (int y = 0; y < 220; ++y)
    for (int x = 0; x < 220; ++x)
      if (std::hypot(x + 0.5 - 110.5, y + 0.5 - 110.5) < 97) ExpectOnlyTheTwoColours(image, x, y);

  // Bands of a rim: neighbours share slanted edges, drawn over the pie.
  for (int band = 0; band < 6; ++band) {
    auto edge = [](int k, double x) { return TPointF{x, 40 + 20 * k + 0.37 * x}; };
    const TPointF quad[4] = {edge(band, 20), edge(band, 200), edge(band + 1, 200), edge(band + 1, 20)};
    batch.Fill(quad, 4, band % 2 ? kRedish : kBluish);
  }
  batch.Render(image.Rows());
  for (int x = 21; x < 199; ++x)
    for (int y = int(47 + 0.37 * x); y < int(157 + 0.37 * x); ++y) ExpectOnlyTheTwoColours(image, x, y);
}

TEST(AaRaster, SlantedEdgesAreSmoothInteriorsExactAndTheLastShapeOnTop) {
  Image image(60, 60);
  TAaBatch batch;
  const TPointF triangle[3] = {{5, 5}, {55, 15}, {10, 55}};
  batch.Fill(triangle, 3, 0x102030);
  batch.FillBox(15, 15, 60, 60, 0x00FF00);
  batch.Render(image.Rows());
  EXPECT_EQ(0x102030u, image.At(10, 10));
  EXPECT_EQ(0x00FF00u, image.At(20, 20));  // over the triangle
  EXPECT_EQ(0xFFFFFFu, image.At(50, 5));
  std::set<uint32_t> edgeColours;
  for (int y = 6; y < 14; ++y)
    for (int x = 0; x < 60; ++x) edgeColours.insert(image.At(x, y));
  EXPECT_GT(edgeColours.size(), 4u) << "the slanted top edge has intermediate colours";
}

TEST(AaRaster, ThinLinesOnPixelCentresAreCrispAndStopBeforeTheirLastPoint) {
  Image image(20, 20);
  TAaBatch batch;
  const TPointF frame[4] = {PixelCentre(2, 2), PixelCentre(12, 2), PixelCentre(12, 8), PixelCentre(2, 8)};
  batch.Stroke(frame, 4, true, 1, 0);
  const TPointF open[2] = {PixelCentre(3, 15), PixelCentre(9, 15)};
  batch.Stroke(open, 2, false, 1, 0);
  batch.Render(image.Rows());
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool onFrame = ((y == 2 || y == 8) && x >= 2 && x <= 12) || ((x == 2 || x == 12) && y >= 2 && y <= 8);
      const bool onLine = y == 15 && x >= 3 && x < 9;
      EXPECT_EQ(onFrame || onLine ? 0u : 0xFFFFFFu, image.At(x, y)) << x << "," << y;
    }
}

// Wide lines are round at their ends and joins: every pixel whose centre
// lies well within half the width of the line is covered whole, every pixel
// well beyond it not at all, for an open line with a sharp turn and for a
// closed frame, whose inside stays empty.
TEST(AaRaster, WideLinesAreRoundAtTheirEndsAndJoins) {
  struct Case {
    std::vector<TPointF> line;
    bool closed;
  };
  const double width = 9;
  for (const Case& c : {Case{{{10, 30}, {40, 30}, {18, 12}}, false}, Case{{{10, 10}, {45, 12}, {40, 40}, {12, 35}}, true}}) {
    Image image(60, 50);
    TAaBatch batch;
    batch.Stroke(c.line.data(), int(c.line.size()), c.closed, width, 0);
    batch.Render(image.Rows());
    const size_t n = c.line.size(), segments = c.closed ? n : n - 1;
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 60; ++x) {
        const double px = x + 0.5, py = y + 0.5;
        double nearest = 1e9;
        for (size_t i = 0; i < segments; ++i) {
          const TPointF a = c.line[i], b = c.line[(i + 1) % n];
          const double dx = b.x - a.x, dy = b.y - a.y;
          const double t = std::clamp(((px - a.x) * dx + (py - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
          nearest = std::min(nearest, std::hypot(px - a.x - t * dx, py - a.y - t * dy));
        }
        if (nearest < width / 2 - 0.8) EXPECT_EQ(0u, image.At(x, y)) << x << "," << y << " closed " << c.closed;
        if (nearest > width / 2 + 0.8) EXPECT_EQ(0xFFFFFFu, image.At(x, y)) << x << "," << y << " closed " << c.closed;
      }
  }
}

TEST(AaRaster, AFillUnderItsOutlineStaysWithinItAndTheOutlineIsSmooth) {
  Image image(60, 60);
  TAaBatch batch;
  const TPointF shape[3] = {PixelCentre(5, 5), PixelCentre(50, 20), PixelCentre(15, 52)};
  batch.FillUnderOutline(shape, 3, 0x00C800);
  batch.Stroke(shape, 3, true, 1, 0);
  batch.Render(image.Rows());
  auto inside = [&](double x, double y) {
    for (int i = 0, j = 2; i < 3; j = i++)
      if ((shape[i].x - shape[j].x) * (y - shape[j].y) - (shape[i].y - shape[j].y) * (x - shape[j].x) < 0)
        return false;
    return true;
  };
  std::set<uint32_t> greys;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) {
      const uint32_t c = image.At(x, y);
      if (inside(x + 0.5, y + 0.5)) continue;
      // Outside, only the outline mixes with the background: no fill shows.
      EXPECT_TRUE(Red(c) == Green(c) && Green(c) == Blue(c)) << x << "," << y;
      greys.insert(c);
    }
  EXPECT_GT(greys.size(), 4u) << "the slanted outline has intermediate colours";
  EXPECT_EQ(0x00C800u, image.At(20, 25));
}

TEST(AaRaster, DashPiecesFollowThePatternAlongTheLine) {
  struct Case {
    std::vector<TPointF> line;
    bool closed;
    TDashPattern pattern;
    std::vector<double> pieceLengths;
  };
  const std::vector<Case> cases = {
      {{{0, 0}, {30, 0}}, false, {18, 6}, {18, 6}},
      {{{0, 0}, {10, 0}, {10, 10}}, false, {3, 3}, {3, 3, 3, 2}},  // the third turns the corner
      {{{0, 0}, {8, 0}, {8, 8}, {0, 8}}, true, {9, 6, 3, 6}, {9, 3, 8}},  // the last runs on to the start
      {{{0, 0}, {5, 0}}, false, {}, {5}},
  };
  for (const Case& c : cases) {
    const auto pieces = DashPieces(c.line.data(), int(c.line.size()), c.closed, c.pattern);
    std::vector<double> lengths;
    for (const auto& piece : pieces) {
      double length = 0;
      for (size_t i = 1; i < piece.size(); ++i)
        length += std::hypot(piece[i].x - piece[i - 1].x, piece[i].y - piece[i - 1].y);
      lengths.push_back(std::round(length * 1000) / 1000);
    }
    EXPECT_EQ(c.pieceLengths, lengths);
  }
}

TEST(AaRaster, NothingLandsOutsideTheClip) {
  Image image(40, 40);
  TAaBatch batch;
  const TPointF huge[3] = {{-1e7, -1e7}, {1e7, -1e7}, {0, 1e7}};
  batch.SetClip(MakeRect(10, 10, 20, 20));
  batch.Fill(huge, 3, 0);
  const TPointF across[2] = {{-1e7, 15.5}, {1e7, 35.5}};
  batch.Stroke(across, 2, false, 2, 0);
  const TPointF beyondAnyInt[2] = {{0, 3e9}, {40, 3e9 + 5}};
  batch.Stroke(beyondAnyInt, 2, false, 1, 0);
  batch.Render(image.Rows());
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      EXPECT_EQ(x >= 10 && x < 20 && y >= 10 && y < 20 ? 0u : 0xFFFFFFu, image.At(x, y)) << x << "," << y;
  EXPECT_TRUE(batch.Empty());
}

TEST(SectorShape, StartsAtTheSharedCornerAndEndsOnBothRays) {
  const TRect bounds = MakeRect(0, 0, 100, 60);
  const std::vector<TPointF> first = SectorShape(bounds, TPoint{100, 30}, TPoint{50, 0});
  const std::vector<TPointF> second = SectorShape(bounds, TPoint{50, 0}, TPoint{0, 30});
  EXPECT_DOUBLE_EQ(50, first[0].x);  // the integer centre
  EXPECT_DOUBLE_EQ(30, first[0].y);
  // On the ellipse through the pixel centres, right and bottom edges excluded.
  EXPECT_DOUBLE_EQ(99, first[1].x);
  EXPECT_NEAR(29.5, first[1].y, 1e-9);
  EXPECT_NEAR(0, second[1].y, 1e-9);
  EXPECT_NEAR(0, second.back().x, 1e-9);
  EXPECT_DOUBLE_EQ(first.back().x, second[1].x);
  EXPECT_DOUBLE_EQ(first.back().y, second[1].y);
  EXPECT_TRUE(SectorShape(MakeRect(5, 5, 5, 40), TPoint{0, 0}, TPoint{1, 1}).empty());
}

}  // namespace
}  // namespace kd::raster
