#include "engine/Gradient.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace kd {

// ---------------------------------------------------------------- settings

void TChartGradient::Changed() const {
  if (repaint_) repaint_();
}

void TChartGradient::SetVisible(bool value) {
  if (StoreChanged(visible_, value)) Changed();
}

void TChartGradient::SetDirection(TGradientDirection value) {
  if (StoreChanged(direction_, value)) Changed();
}

void TChartGradient::SetStartColor(TColor value) {
  if (StoreChanged(startColor_, value)) Changed();
}

void TChartGradient::SetEndColor(TColor value) {
  if (StoreChanged(endColor_, value)) Changed();
}

void TChartGradient::Assign(const TChartGradient& other) {
  bool changed = StoreChanged(visible_, other.visible_);
  changed |= StoreChanged(direction_, other.direction_);
  changed |= StoreChanged(startColor_, other.startColor_);
  changed |= StoreChanged(endColor_, other.endColor_);
  if (changed) Changed();
}

// ---------------------------------------------------------------- fill

int MulDivRound(int a, int b, int c) {
  if (c == 0) return 0;
  const int64_t num = static_cast<int64_t>(a) * b;
  int64_t q = num / c;
  const int64_t rem = num % c;
  // Halves go away from zero.
  const int64_t absRem2 = 2 * (rem < 0 ? -rem : rem);
  const int64_t absC = c < 0 ? -static_cast<int64_t>(c) : c;
  if (absRem2 >= absC) q += ((num < 0) != (c < 0)) ? -1 : 1;
  return static_cast<int>(q);
}

namespace {

// The most bands a straight gradient uses, however large the rectangle.
constexpr int kMaxBands = 256;

// Paints the bands with the device's solid brushes, a new brush only when
// the colour changes.
class BrushBands {
 public:
  explicit BrushBands(TDevice& device) : device_(device) {}
  void Select(TColor color) { device_.SetBrush(TChartBrush{color, bsSolid}); }
  void Fill(const TRect& r) { device_.FillRect(r); }

 private:
  TDevice& device_;
};

// Writes the bands straight into an image's pixel memory: the same pixels
// the brushes would give, without a call into the platform per band.
class PixelBands {
 public:
  explicit PixelBands(const TPixelRows& rows) : rows_(rows) {}
  void Select(TColor color) {
    value_ = static_cast<uint32_t>(RedOf(color)) << 16 | static_cast<uint32_t>(GreenOf(color)) << 8 |
             static_cast<uint32_t>(BlueOf(color));
  }
  void Fill(const TRect& r) {
    const int left = std::max(r.left, 0), right = std::min(r.right, rows_.width);
    const int top = std::max(r.top, 0), bottom = std::min(r.bottom, rows_.height);
    for (int y = top; y < bottom; ++y) {
      uint32_t* row = rows_.bits + static_cast<ptrdiff_t>(y) * rows_.stride;
      std::fill(row + left, row + std::max(left, right), value_);
    }
  }

 private:
  TPixelRows rows_;
  uint32_t value_ = 0;
};

// Works out the colour of each step, hands a colour to the sink only when it
// changes, and keeps every fill inside the target rectangle.
template <class Sink>
class BandPainter {
 public:
  BandPainter(Sink sink, const TRect& clip, TColor from, TColor to) : sink_(sink), clip_(clip) {
    r0_ = RedOf(from);
    g0_ = GreenOf(from);
    b0_ = BlueOf(from);
    dr_ = RedOf(to) - r0_;
    dg_ = GreenOf(to) - g0_;
    db_ = BlueOf(to) - b0_;
  }

  void SelectStep(int step, int range) {
    const TColor color = RGBColor(r0_ + MulDivRound(step, dr_, range),
                                  g0_ + MulDivRound(step, dg_, range),
                                  b0_ + MulDivRound(step, db_, range));
    if (haveColor_ && color == color_) return;
    color_ = color;
    haveColor_ = true;
    sink_.Select(color);
  }

  // A fill of width w and height h at (x, y); negative sizes extend to the
  // left of or above (x, y).
  void Fill(int x, int y, int w, int h) {
    TRect r = MakeRect(std::min(x, x + w), std::min(y, y + h), std::max(x, x + w),
                       std::max(y, y + h));
    r.left = std::max(r.left, clip_.left);
    r.top = std::max(r.top, clip_.top);
    r.right = std::min(r.right, clip_.right);
    r.bottom = std::min(r.bottom, clip_.bottom);
    if (r.right <= r.left || r.bottom <= r.top) return;
    sink_.Fill(r);
  }

 private:
  Sink sink_;
  TRect clip_;
  int r0_, g0_, b0_, dr_, dg_, db_;
  bool haveColor_ = false;
  TColor color_ = clBlack;
};

template <class Painter>
void FillStraight(Painter& paint, const TRect& r, bool vertical) {
  const int extent = vertical ? r.Height() : r.Width();
  const int breadth = vertical ? r.Width() : r.Height();
  const int bands = std::min(extent, kMaxBands);
  int a = 0;
  for (int i = 0; i < bands; ++i) {
    paint.SelectStep(i, bands - 1);
    const int b = MulDivRound(i + 1, extent, bands);
    if (vertical)
      paint.Fill(r.left, r.bottom - b, breadth, b - a);
    else
      paint.Fill(r.right - b, r.top, b - a, breadth);
    a = b;
  }
}

template <class Painter>
void FillFromCenter(Painter& paint, const TRect& r) {
  const int w = r.Width();
  const int h = r.Height();
  const int hw = w / 2;
  const int hh = h / 2;
  const int range = hw + hh;
  const int p = 1;
  int a = 0;  // rows in from the top and bottom
  int b = 0;  // columns in from the left and right
  do {
    paint.SelectStep(a + b, range);
    paint.Fill(r.left + b, r.top + a, p, h - 2 * a);
    paint.Fill(r.right - b - 1, r.top + a, p, h - 2 * a);
    paint.Fill(r.left + b, r.top + a, w - 2 * b, p);
    paint.Fill(r.left + b, r.bottom - a - p, w - 2 * b, p);
    if (a < hh) a += p;
    if (b < hw) b += p;
  } while (a < hh || b < hw);
}

template <class Painter>
void FillFromCorner(Painter& paint, const TRect& r, bool fromTop) {
  const int w = r.Width();
  const int h = r.Height();
  const int range = w + h;
  const int y0 = fromTop ? r.top : r.bottom;
  int y = y0;
  int i = 0;  // columns
  int j = 0;  // rows
  do {
    paint.SelectStep(i + j, range);
    const int x = r.left + i;
    if (fromTop)
      paint.Fill(x, r.top, 1, y - r.top);
    else
      paint.Fill(x, y, 1, r.bottom - y);
    if (j < h) {
      ++j;
      if (fromTop) {
        paint.Fill(r.left, y, i + 1, 1);
        if (y < r.bottom) ++y;
      } else {
        paint.Fill(r.left, y - 1, i + 1, 1);
        if (y > r.top) --y;
      }
    }
    if (i < w) ++i;
  } while (j < h || i < w);
}

template <class Sink>
void FillBands(Sink sink, const TRect& r, TColor from, TColor to, TGradientDirection direction) {
  BandPainter<Sink> paint(sink, r, from, to);
  switch (direction) {
    case gdTopBottom:
    case gdBottomTop:
      FillStraight(paint, r, true);
      break;
    case gdLeftRight:
    case gdRightLeft:
      FillStraight(paint, r, false);
      break;
    case gdFromCenter:
      FillFromCenter(paint, r);
      break;
    case gdFromTopLeft:
      FillFromCorner(paint, r, true);
      break;
    case gdFromBottomLeft:
      FillFromCorner(paint, r, false);
      break;
  }
}

}  // namespace

void FillGradient(TDevice& device, const TRect& rect, TColor from, TColor to,
                  TGradientDirection direction) {
  const TColor first = device.ResolveColor(from);
  const TColor last = device.ResolveColor(to);
  TRect r = rect;
  if (r.right < r.left) std::swap(r.left, r.right);
  if (r.bottom < r.top) std::swap(r.top, r.bottom);
  // An empty rectangle has nothing to fill.
  if (r.Width() <= 0 || r.Height() <= 0) return;

  const TPixelRows pixels = device.DirectPixels();
  if (pixels.bits)
    FillBands(PixelBands(pixels), r, first, last, direction);
  else
    FillBands(BrushBands(device), r, first, last, direction);
}

}  // namespace kd
