// Implements TAaBatch. The shapes are kept until rendered. Where some fill
// smooths its edges, they are rasterised one by one from the topmost down: a
// shape takes of each pixel only what the shapes above it left, and a pixel
// is blended with what was there before only where the batch's shapes leave
// some of it uncovered, so where two shapes meet their coverages add up to
// the whole pixel and nothing behind shows through. Where every fill takes
// its pixels whole (under an outline), no two fills share a pixel and the
// shapes are painted from the bottom up, lines blended straight in. Each
// shape's edges add their signed areas straight into a grid of the image's
// cells, one row at a time, and a sweep of the rows each shape touched sums
// them up into coverage: AGG's coverage (area under the edges, nonzero
// winding) without its lists of cells to sort. Wide lines become polygons
// through AGG's stroke mathematics (round joins and ends).
// Not here: the sector geometry of the device (SectorShape).
#include "raster/AaRaster.h"

#include <agg_basics.h>
#include <agg_math_stroke.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <functional>

namespace kd::raster {
// Named, not anonymous: the batch's state holds members of these types, and
// a class of the header's must not, once a unity build includes this file.
namespace internal {

// Lines up to this wide join and end square, as the pixels of a thin GDI pen
// do; wider ones are round at their joins and ends.
constexpr double kWidestSquarePen = 2.0;

constexpr unsigned kFull = agg::cover_full;

unsigned Channel(uint32_t rgb, int shift) { return (rgb >> shift) & 0xFF; }

// The shares of a pixel that more than one shape covers in part, colour
// weighted by coverage, summed over the shapes, in one 64-bit word: the sums
// of red, green and blue in 16 bits each (the shares of a pixel add up to
// at most 255, so no sum passes 255 * 255), the number of shapes above. One
// multiplication adds a shape's colour. AGG truncates each shape's share on
// its own, losing less than one level each: shapes that meet along an edge
// may leave up to that much of the pixel uncovered, which is taken for none,
// or the background would show through.
using Shares = uint64_t;
constexpr int kShapesShift = 48;

inline Shares SpreadRgb(uint32_t rgb) {
  return (uint64_t{(rgb >> 16) & 0xFF} << 32) | (uint64_t{(rgb >> 8) & 0xFF} << 16) | (rgb & 0xFF);
}

// n / d for n below 2^24 / 255 and d from 1 to 255 as a multiplication:
// with m = 2^24 / d + 1, n * m / 2^24 is exactly the quotient in that range,
// and a division costs many times a multiplication.
struct Reciprocals {
  uint32_t m[256];
  constexpr Reciprocals() : m() {
    for (uint32_t d = 1; d < 256; ++d) m[d] = (uint32_t{1} << 24) / d + 1;
  }
};
constexpr Reciprocals kReciprocals;

inline unsigned Divide(unsigned n, unsigned d) {
  return static_cast<unsigned>((uint64_t{n} * kReciprocals.m[d]) >> 24);
}

uint32_t BlendShares(uint32_t pixel, Shares share, unsigned cover) {
  const unsigned sums[3] = {static_cast<unsigned>(share & 0xFFFF), static_cast<unsigned>((share >> 16) & 0xFFFF),
                            static_cast<unsigned>((share >> 32) & 0xFFFF)};
  const unsigned shapes = static_cast<unsigned>(share >> kShapesShift);
  uint32_t out = 0;
  if (cover + shapes >= kFull) {
    for (int i = 0; i < 3; ++i) out |= Divide(sums[i] + cover / 2, cover) << (8 * i);
    return out;
  }
  for (int i = 0; i < 3; ++i) {
    const unsigned value = (Channel(pixel, 8 * i) * (kFull - cover) + sums[i] + kFull / 2) / kFull;
    out |= std::min(value, 255u) << (8 * i);
  }
  return out;
}

// Floor and ceiling as integers, for values well within int: the library's
// are calls on targets without SSE4.1.
inline int FloorInt(double value) {
  const int truncated = static_cast<int>(value);
  return truncated - (truncated > value ? 1 : 0);
}
inline int CeilInt(double value) {
  const int truncated = static_cast<int>(value);
  return truncated + (truncated < value ? 1 : 0);
}

// A coordinate as a pixel index from low to high.
int Within(double value, int low, int high) {
  return static_cast<int>(std::clamp(value, static_cast<double>(low), static_cast<double>(high)));
}

// The batch's coverage of the image so far while its shapes are taken from
// the top down: a pixel the topmost shape covers whole is written at once;
// the pixels covered in part are summed up and written at the end.
class ImageMixer {
 public:
  // Each shape's coverage rounds at a threshold of its own, spread evenly
  // over the shapes: where hundreds of thin slices meet at the pie's centre,
  // each covering far less than a level of a pixel, their levels still add
  // up to the whole pixel instead of rounding away one by one.
  static float Rounding(size_t shape) {
    return static_cast<float>(static_cast<double>(shape) * 0.6180339887498949 -
                              std::floor(static_cast<double>(shape) * 0.6180339887498949));
  }
  void Begin(const TPixelRows& pixels, const TRect& box) {
    pixels_ = pixels;
    box_ = box;
    boxWidth_ = box.right - box.left;
    const size_t area = static_cast<size_t>(boxWidth_) * (box.bottom - box.top);
    if (covers_.size() < area) {
      covers_.resize(area);
      shares_.resize(area);
      partial_.resize(area);  // each pixel is listed once at most
    }
    std::fill_n(covers_.begin(), area, agg::int8u{0});
    partials_ = 0;
  }
  // Pixels x to x + length - 1 of row y, counted from the box's top-left
  // corner, all with the same coverage.
  void Add(int x, int y, int length, unsigned cover, uint32_t rgb) {
    const size_t index = static_cast<size_t>(y) * boxWidth_ + x;
    uint32_t* pixel = pixels_.bits + static_cast<ptrdiff_t>(box_.top + y) * pixels_.stride + box_.left + x;
    int i = 0;
    if (cover == kFull) {
      // Inside a shape: eight pixels at a time that no higher shape took, or
      // took whole.
      for (; i + 8 <= length; i += 8) {
        uint64_t taken;
        std::memcpy(&taken, &covers_[index + i], sizeof taken);
        if (taken == 0) {
          std::fill_n(pixel + i, 8, rgb);
          std::memset(&covers_[index + i], kFull, 8);
        } else if (taken != ~uint64_t{0}) {
          for (int k = i; k < i + 8; ++k) Add(index + k, pixel[k], cover, rgb);
        }
      }
    }
    for (; i < length; ++i) Add(index + i, pixel[i], cover, rgb);
  }

  // One pixel in image coordinates, within the box.
  void AddPixel(int x, int y, unsigned cover, uint32_t rgb) {
    x -= box_.left, y -= box_.top;
    if (cover == 0) return;
    const size_t index = static_cast<size_t>(y) * boxWidth_ + x;
    Add(index, pixels_.bits[static_cast<ptrdiff_t>(box_.top + y) * pixels_.stride + box_.left + x],
        std::min(cover, kFull), rgb);
  }
  // The box in image coordinates.
  const TRect& Box() const { return box_; }
  void End() {
    for (size_t i = 0; i < partials_; ++i) {
      const Partial& partial = partial_[i];
      *partial.pixel = BlendShares(*partial.pixel, shares_[partial.index], covers_[partial.index]);
    }
  }

 private:
  void Add(size_t index, uint32_t& pixel, unsigned cover, uint32_t rgb) {
    agg::int8u& taken = covers_[index];
    if (taken == kFull) return;
    if (taken == 0 && cover == kFull) {
      pixel = rgb;
      taken = kFull;
      return;
    }
    // Higher shapes came first: this one gets only what they left.
    const unsigned share = std::min(cover, kFull - taken);
    if (share == 0) return;
    Shares& sum = shares_[index];
    if (taken == 0) {
      sum = 0;
      partial_[partials_++] = Partial{index, &pixel};
    }
    taken = static_cast<agg::int8u>(taken + share);
    sum += SpreadRgb(rgb) * share + (uint64_t{1} << kShapesShift);
  }

  TPixelRows pixels_;
  TRect box_{};
  int boxWidth_ = 0;
  std::vector<agg::int8u> covers_;
  std::vector<Shares> shares_;
  // Pixels some shape covered in part: where their shares are, and where they go.
  struct Partial {
    size_t index;
    uint32_t* pixel;
  };
  std::vector<Partial> partial_;
  size_t partials_ = 0;  // listed in partial_
};

// One colour over a pixel at a coverage (0 to 255), red and blue together.
inline uint32_t Blend(uint32_t under, uint32_t rgb, unsigned cover) {
  const uint32_t a = cover + (cover >> 7);  // 0 to 256
  const uint32_t redBlue = ((rgb & 0xFF00FF) * a + (under & 0xFF00FF) * (256 - a)) >> 8;
  const uint32_t green = ((rgb & 0xFF00) * a + (under & 0xFF00) * (256 - a)) >> 8;
  return (redBlue & 0xFF00FF) | (green & 0xFF00);
}

// The shapes blended into the image one over the other from the bottom up,
// as a painter would: for batches in which no two fills share the pixels
// along an edge (every fill takes its pixels whole, by their centres), so
// that no seam can open, and only lines and wide strokes blend. Saves the
// top-down mixer's bookkeeping of every pixel's shares.
class PainterMixer {
 public:
  static float Rounding(size_t) { return 0.5f; }
  void Begin(const TPixelRows& pixels, const TRect& box) {
    pixels_ = pixels;
    box_ = box;
  }
  // As ImageMixer::Add.
  void Add(int x, int y, int length, unsigned cover, uint32_t rgb) {
    uint32_t* pixel = pixels_.bits + static_cast<ptrdiff_t>(box_.top + y) * pixels_.stride + box_.left + x;
    if (cover == kFull) {
      // Thin slices' rows are a pixel or two.
      if (length <= 4) {
        for (int i = 0; i < length; ++i) pixel[i] = rgb;
      } else {
        std::fill_n(pixel, length, rgb);
      }
    } else
      for (int i = 0; i < length; ++i) pixel[i] = Blend(pixel[i], rgb, cover);
  }
  // As ImageMixer::AddPixel.
  void AddPixel(int x, int y, unsigned cover, uint32_t rgb) {
    uint32_t& pixel = pixels_.bits[static_cast<ptrdiff_t>(y) * pixels_.stride + x];
    // Where many lines meet, most find their colour there already.
    if (cover != 0 && pixel != rgb) pixel = Blend(pixel, rgb, std::min(cover, kFull));
  }
  const TRect& Box() const { return box_; }

 private:
  TPixelRows pixels_;
  TRect box_{};
};

// Covers whole the pixels of a box in image coordinates, parts outside the
// mixer's box left out.
template <class Mixer>
void AddBox(Mixer& mixer, double left, double top, double right, double bottom, uint32_t rgb) {
  const TRect& box = mixer.Box();
  const int x0 = Within(left, box.left, box.right) - box.left;
  const int x1 = Within(right, box.left, box.right) - box.left;
  const int y1 = Within(bottom, box.top, box.bottom) - box.top;
  for (int y = Within(top, box.top, box.bottom) - box.top; y < y1 && x0 < x1; ++y)
    mixer.Add(x0, y, x1 - x0, kFull, rgb);
}

// Whether two cells hold nothing (a cell made -0 counts as something).
inline bool NoneOfTwo(const float* cells) {
  uint64_t bits;
  std::memcpy(&bits, cells, sizeof bits);
  return bits == 0;
}

// Signed areas of one shape's edges in the cells of the box, summed along
// each row into the shape's coverage. A cell's value is what the edges add
// to the winding from that cell on, weighted by how much of the cell they
// leave to their right; only the cells between the leftmost and rightmost
// one an edge touched in a row are swept, and are left empty again.
class CoverageGrid {
 public:
  void Begin(const TRect& box) {
    SetBox(box);
    stride_ = static_cast<size_t>(width_) + 2;  // edges clamped to the right end reach two past it
    const size_t cells = stride_ * height_;
    if (cells_.size() < cells) cells_.assign(cells, 0.0f);
    rowFirst_.assign(static_cast<size_t>(height_), INT_MAX);
    rowLast_.assign(static_cast<size_t>(height_), -1);
    spans_ = false;
  }

  // The same box for a shape taken whole whose rows each cross it at most
  // once in and once out (a convex one, a slice up to half the pie): its
  // whole edges only note where each row's span starts and ends, and no
  // cells are summed (SweepSpans).
  void BeginSpans(const TRect& box) {
    SetBox(box);
    spanCount_.assign(static_cast<size_t>(height_), 0);
    spanFrom_.resize(static_cast<size_t>(height_));
    spanTo_.resize(static_cast<size_t>(height_));
    spans_ = true;
  }

  // An edge in image coordinates; the parts left of the box count as on its
  // left side, those right of it or above or below it add nothing seen. A
  // whole edge takes the pixels whose centres it leaves on its right whole.
  void Edge(double x0, double y0, double x1, double y1, bool whole = false) {
    if (!std::isfinite(x0 + y0 + x1 + y1)) return;
    x0 -= left_, x1 -= left_, y0 -= top_, y1 -= top_;
    if (y0 == y1) return;
    for (const double cut : {0.0, static_cast<double>(width_)}) {
      if ((x0 < cut) != (x1 < cut) && x0 != cut && x1 != cut) {
        const double y = y0 + (y1 - y0) * (cut - x0) / (x1 - x0);
        Edge(x0 + left_, y0 + top_, cut + left_, y + top_, whole);
        Edge(cut + left_, y + top_, x1 + left_, y1 + top_, whole);
        return;
      }
    }
    const double clampedX0 = std::clamp(x0, 0.0, static_cast<double>(width_));
    const double clampedX1 = std::clamp(x1, 0.0, static_cast<double>(width_));
    const auto rows = whole ? &CoverageGrid::CentreRows : &CoverageGrid::Rows;
    if (y0 < y1) (this->*rows)(clampedX0, y0, clampedX1, y1, 1.0);
    else (this->*rows)(clampedX1, y1, clampedX0, y0, -1.0);
  }

  // The spans of a shape begun with BeginSpans to emit(x, y, length, kFull),
  // box-relative; false, with nothing emitted, when some row crossed the
  // shape's edges other than twice (the shape must go through the cells).
  template <typename Emit>
  bool SweepSpans(Emit&& emit) {
    for (int y = yFirst_; y <= yLast_; ++y)
      if (spanCount_[y] != 0 && spanCount_[y] != 2) return false;
    for (int y = yFirst_; y <= yLast_; ++y) {
      if (spanCount_[y] == 0) continue;
      const int from = std::min(spanFrom_[y], spanTo_[y]), to = std::min(std::max(spanFrom_[y], spanTo_[y]), width_);
      if (from < to) emit(from, y, to - from, kFull);
    }
    return true;
  }

  // The coverage of every touched pixel to emit(x, y, length, cover), in runs
  // of one coverage, box-relative; levels are rounded up from `rounding`
  // (0.5 rounds to the nearest).
  template <typename Emit>
  void Sweep(float rounding, Emit&& emit) {
    for (int y = yFirst_; y <= yLast_; ++y) {
      int& first = rowFirst_[y];
      int& last = rowLast_[y];
      float* row = &cells_[stride_ * y];
      float winding = 0;
      for (int x = first; x <= last;) {
        winding += row[x];
        row[x] = 0;
        // Cells no edge touched go on with the same coverage.
        int end = x + 1;
        while (end < last && NoneOfTwo(row + end)) end += 2;
        while (end <= last && row[end] == 0) ++end;
        const unsigned cover = std::min(static_cast<unsigned>(std::fabs(winding) * kFull + rounding), kFull);
        if (cover != 0 && x < width_) emit(x, y, std::min(end, width_) - x, cover);
        x = end;
      }
      first = INT_MAX;
      last = -1;
    }
    yFirst_ = height_;
    yLast_ = -1;
  }

 private:
  void SetBox(const TRect& box) {
    width_ = box.right - box.left;
    height_ = box.bottom - box.top;
    left_ = box.left;
    top_ = box.top;
    yFirst_ = height_;
    yLast_ = -1;
  }

  // From (x0, y0) down to (x1, y1), y0 < y1, x within the box; sign is the
  // edge's direction.
  void Rows(double x0, double y0, double x1, double y1, double sign) {
    const double slope = (x1 - x0) / (y1 - y0);
    const double rows = height_;
    const int rowFrom = static_cast<int>(std::clamp(std::floor(y0), 0.0, rows));
    const int rowTo = static_cast<int>(std::clamp(std::ceil(y1), 0.0, rows));
    if (rowFrom >= rowTo) return;
    yFirst_ = std::min(yFirst_, rowFrom);
    yLast_ = std::max(yLast_, rowTo - 1);
    double x = x0 + slope * (std::max(y0, static_cast<double>(rowFrom)) - y0);
    for (int y = rowFrom; y < rowTo; ++y) {
      const double dy = std::min(y + 1.0, y1) - std::max(static_cast<double>(y), y0);
      const double next = std::clamp(x + slope * dy, 0.0, static_cast<double>(width_));
      Cell(y, x, next, dy * sign);
      x = next;
    }
  }

  // The same edge crossing only the rows whose centres it spans, each at the
  // first pixel whose centre lies right of it.
  void CentreRows(double x0, double y0, double x1, double y1, double sign) {
    const double slope = (x1 - x0) / (y1 - y0);
    const int rowFrom = static_cast<int>(std::clamp(std::ceil(y0 - 0.5), 0.0, double(height_)));
    const int rowTo = static_cast<int>(std::clamp(std::ceil(y1 - 0.5), 0.0, double(height_)));
    if (rowFrom >= rowTo) return;
    yFirst_ = std::min(yFirst_, rowFrom);
    yLast_ = std::max(yLast_, rowTo - 1);
    const float d = static_cast<float>(sign);
    for (int y = rowFrom; y < rowTo; ++y) {
      const double x = std::clamp(x0 + slope * (y + 0.5 - y0), 0.0, double(width_));
      const int first = CeilInt(x - 0.5);
      if (spans_) {
        int& count = spanCount_[y];
        (count == 0 ? spanFrom_[y] : spanTo_[y]) = first;
        count = std::min(count + 1, 3);
        continue;
      }
      cells_[stride_ * y + first] += d;
      rowFirst_[y] = std::min(rowFirst_[y], first);
      rowLast_[y] = std::max(rowLast_[y], first);
    }
  }

  // The part of an edge within row y, from xa to xb, dy high (signed).
  void Cell(int y, double xa, double xb, double d) {
    float* row = &cells_[stride_ * y];
    const double from = std::min(xa, xb), to = std::max(xa, xb);
    // Within the box, so never negative: truncating is flooring, and cheaper.
    const int first = static_cast<int>(from);
    const int last = static_cast<int>(to) + (to > static_cast<int>(to) ? 1 : 0);
    const double fromFloor = first, toCeil = last;
    int end = last;
    if (last <= first + 1) {
      // Within one cell: the share right of the edge's middle goes on.
      const double middle = 0.5 * (xa + xb) - fromFloor;
      row[first] += static_cast<float>(d - d * middle);
      row[first + 1] += static_cast<float>(d * middle);
      end = first + 1;
    } else {
      const double s = 1 / (to - from);
      const double fromPart = from - fromFloor;
      const double firstArea = 0.5 * s * (1 - fromPart) * (1 - fromPart);
      const double toPart = to - toCeil + 1;
      const double lastArea = 0.5 * s * toPart * toPart;
      row[first] += static_cast<float>(d * firstArea);
      if (last == first + 2) {
        row[first + 1] += static_cast<float>(d * (1 - firstArea - lastArea));
      } else {
        const double second = s * (1.5 - fromPart);
        row[first + 1] += static_cast<float>(d * (second - firstArea));
        for (int x = first + 2; x < last - 1; ++x) row[x] += static_cast<float>(d * s);
        const double beforeLast = second + (last - first - 3) * s;
        row[last - 1] += static_cast<float>(d * (1 - beforeLast - lastArea));
      }
      row[last] += static_cast<float>(d * lastArea);
    }
    rowFirst_[y] = std::min(rowFirst_[y], first);
    rowLast_[y] = std::max(rowLast_[y], end);
  }

  std::vector<float> cells_;
  std::vector<int> rowFirst_, rowLast_;
  std::vector<int> spanCount_, spanFrom_, spanTo_;  // of each row, while spans_
  size_t stride_ = 0;
  int width_ = 0, height_ = 0, left_ = 0, top_ = 0, yFirst_ = 0, yLast_ = -1;
  bool spans_ = false;
};

// A thin line's pixels along its major axis (y when Steep), the minor one
// being the other: columns first to last, each a band of half its thickness
// around the line's centre there.
struct LineBand {
  int first, last;          // along the major axis, within the box
  int minorLow, minorHigh;  // the box across it
  double startMinor, slope, half;
};

template <bool Steep, class Mixer>
void ThinLineBand(Mixer& mixer, const LineBand& band, uint32_t rgb) {
  for (int c = band.first; c <= band.last; ++c) {
    const double centre = band.startMinor + band.slope * c;
    // Kept near the box: a line far beyond it has centres beyond any int.
    const double top = std::clamp(centre - band.half, band.minorLow - 1.0, band.minorHigh + 1.0);
    const double bottom = std::clamp(centre + band.half, band.minorLow - 1.0, band.minorHigh + 1.0);
    const int kTo = std::min(CeilInt(bottom), band.minorHigh);
    for (int k = std::max(FloorInt(top), band.minorLow); k < kTo; ++k) {
      const double overlap = std::min(k + 1.0, bottom) - std::max(static_cast<double>(k), top);
      const unsigned cover = static_cast<unsigned>(overlap * kFull + 0.5);
      if (Steep) mixer.AddPixel(k, c, cover, rgb);
      else mixer.AddPixel(c, k, cover, rgb);
    }
  }
}

// A thin line from a to b (its width across it) straight into the mixer, one
// column (or row) of pixels at a time along it, as the polygon of the same
// line would cover them: from half a pixel before a to half a pixel before b,
// each pixel covered as much as the line's band overlaps it at its centre.
template <class Mixer>
void ThinLine(Mixer& mixer, TPointF a, TPointF b, double width, uint32_t rgb) {
  double dx = b.x - a.x, dy = b.y - a.y;
  const bool steep = std::fabs(dy) > std::fabs(dx);
  if (steep) {
    std::swap(a.x, a.y), std::swap(b.x, b.y), std::swap(dx, dy);
  }
  if (dx == 0 || !std::isfinite(a.x + a.y + b.x + b.y)) return;
  const TRect& box = mixer.Box();
  const int low = steep ? box.top : box.left, high = steep ? box.bottom : box.right;
  const double length = std::hypot(dx, dy);
  const double along = dx / length / 2;  // half a pixel along the line, on the major axis
  const double from = a.x - along, to = b.x - along;
  // Pixels whose centres lie from the start up to, not including, the end.
  auto major = [low, high](double centre) { return std::clamp(centre - 0.5, low - 1.0, high + 1.0); };
  const int first = dx > 0 ? CeilInt(major(from)) : FloorInt(major(to)) + 1;
  const int last = dx > 0 ? CeilInt(major(to)) - 1 : FloorInt(major(from));
  const double slope = dy / dx;
  const LineBand band{std::max(first, low), std::min(last, high - 1),
                      steep ? box.left : box.top, steep ? box.right : box.bottom,
                      a.y + slope * (0.5 - a.x), slope, width / 2 * length / std::fabs(dx)};
  if (steep) ThinLineBand<true>(mixer, band, rgb);
  else ThinLineBand<false>(mixer, band, rgb);
}

// Whether a loop of four points is a box with its edges between pixels: it
// covers whole pixels and needs no rasterising.
bool IsPixelBox(const TPointF* p, size_t count) {
  if (count != 4) return false;
  for (size_t i = 0; i < 4; ++i)
    if (p[i].x != std::floor(p[i].x) || p[i].y != std::floor(p[i].y)) return false;
  return (p[0].x == p[1].x && p[1].y == p[2].y && p[2].x == p[3].x && p[3].y == p[0].y) ||
         (p[0].y == p[1].y && p[1].x == p[2].x && p[2].y == p[3].y && p[3].x == p[0].x);
}

// Where AGG's stroke mathematics leaves the vertices of a cap or a join.
struct StrokeVertices {
  using value_type = agg::point_d;
  std::vector<TPointF> points;
  void remove_all() { points.clear(); }
  void add(const value_type& p) { points.push_back(TPointF{p.x, p.y}); }
};

// Nonzero winding adds the pieces of one stroke up: they must all turn the
// same way, or an overlap of two would cancel out.
void Orient(std::vector<TPointF>& loop) {
  double area = 0;
  for (size_t i = 0, j = loop.size() - 1; i < loop.size(); j = i++)
    area += loop[j].x * loop[i].y - loop[i].x * loop[j].y;
  if (area < 0) std::reverse(loop.begin(), loop.end());
}

// A wide line with round joins and ends, in pieces that all turn the same
// way: a box along each segment, AGG's round cap at each end, and at each
// bend AGG's round join on its outer side (the boxes cover the inner one).
// Pieces, not one outline: a line far wider than its own length turns an
// outline inside out, and nonzero winding would then leave holes in it.
std::vector<std::vector<TPointF>> WidePieces(const std::vector<TPointF>& line, bool closed, double width) {
  agg::math_stroke<StrokeVertices> stroke;
  stroke.width(width);
  stroke.line_cap(agg::round_cap);
  stroke.line_join(agg::round_join);
  const size_t n = line.size(), segments = closed && n > 2 ? n : n - 1;
  auto vertex = [&line, n](size_t i) {
    agg::vertex_dist v(line[i % n].x, line[i % n].y);
    v.dist = std::hypot(line[(i + 1) % n].x - v.x, line[(i + 1) % n].y - v.y);
    return v;
  };
  std::vector<std::vector<TPointF>> pieces;
  StrokeVertices out;
  auto keep = [&pieces, &out] {
    if (out.points.size() < 3) return;
    Orient(out.points);
    pieces.push_back(out.points);
  };
  const double half = width / 2;
  for (size_t i = 0; i < segments; ++i) {
    const agg::vertex_dist a = vertex(i), b = vertex(i + 1);
    const double nx = -(b.y - a.y) / a.dist * half, ny = (b.x - a.x) / a.dist * half;
    out.points = {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}};
    keep();
  }
  const bool loop = closed && n > 2;
  for (size_t i = loop ? 0 : 1; i < (loop ? n : n - 1); ++i) {
    const agg::vertex_dist before = vertex(i + n - 1), at = vertex(i), after = vertex(i + 1);
    const double dx1 = at.x - before.x, dy1 = at.y - before.y, dx2 = after.x - at.x, dy2 = after.y - at.y;
    const double turn = dx1 * dy2 - dy1 * dx2;
    // The join of the forward direction lies on the outer side of a bend
    // turning clockwise on the screen, that of the way back on the other;
    // straight on needs none, straight back a cap.
    if (turn > 0) stroke.calc_join(out, before, at, after, before.dist, at.dist);
    else if (turn < 0) stroke.calc_join(out, after, at, before, at.dist, before.dist);
    else if (dx1 * dx2 + dy1 * dy2 < 0) stroke.calc_cap(out, at, before, before.dist);
    else continue;
    out.points.push_back(TPointF{at.x, at.y});
    keep();
  }
  if (!loop) {
    stroke.calc_cap(out, vertex(0), vertex(1), vertex(0).dist);
    keep();
    stroke.calc_cap(out, vertex(n - 1), vertex(n - 2), vertex(n - 2).dist);
    keep();
  }
  return pieces;
}

// The points without repeats (a closed line also without its last point
// repeating the first).
std::vector<TPointF> Distinct(const TPointF* points, int count, bool closed) {
  std::vector<TPointF> out;
  out.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    if (out.empty() || points[i].x != out.back().x || points[i].y != out.back().y)
      out.push_back(points[i]);
  if (closed && out.size() > 1 && out.front().x == out.back().x && out.front().y == out.back().y)
    out.pop_back();
  return out;
}

// A straight piece of a line of some width and colour. Neighbouring slices
// outline their common radius each: the lower copy lies wholly under the
// upper one and is not rasterised again.
struct LinePiece {
  TPointF from, to;  // in either order
  double width = 0;  // 0 for a loop that is no line piece
  uint32_t rgb = 0;
  bool operator==(const LinePiece& o) const {
    const bool same = from.x == o.from.x && from.y == o.from.y && to.x == o.to.x && to.y == o.to.y;
    const bool reversed = from.x == o.to.x && from.y == o.to.y && to.x == o.from.x && to.y == o.from.y;
    return (same || reversed) && width == o.width && rgb == o.rgb;
  }
};

// The pieces of a batch seen so far, from its top shape down: an open
// addressing table emptied by starting a new round, so that a batch of a
// single mark costs nothing to clear however many a batch before it held.
class SeenPieces {
 public:
  // Starts a round for up to `pieces` pieces.
  void Begin(size_t pieces) {
    size_t wanted = 16;
    while (wanted < 2 * pieces) wanted *= 2;
    if (slots_.size() < wanted || ++round_ == 0) {
      slots_.assign(std::max(wanted, slots_.size()), Slot{});
      round_ = 1;
    }
    mask_ = slots_.size() - 1;
  }
  // Whether the piece (or its reverse) was seen this round; remembers it.
  bool Seen(const LinePiece& piece) {
    for (size_t i = Hash(piece) & mask_;; i = (i + 1) & mask_) {
      Slot& slot = slots_[i];
      if (slot.round != round_) {
        slot = Slot{piece, round_};
        return false;
      }
      if (slot.piece == piece) return true;
    }
  }

 private:
  static uint64_t Bits(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
  }
  static size_t Hash(const LinePiece& piece) {
    // Symmetric in the ends, so a piece and its reverse meet.
    const uint64_t ends = (Bits(piece.from.x) + Bits(piece.to.x)) * 31 + (Bits(piece.from.y) + Bits(piece.to.y));
    const uint64_t mixed = (ends ^ Bits(piece.width) ^ piece.rgb) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(mixed ^ (mixed >> 29));
  }
  struct Slot {
    LinePiece piece;
    uint32_t round = 0;
  };
  std::vector<Slot> slots_;
  size_t mask_ = 0;
  uint32_t round_ = 0;
};

// Pieces shorter than this are rarely shared and cost little: not looked up.
constexpr double kShortestSharedPiece = 4;

}  // namespace internal

using namespace internal;

struct TAaBatch::Impl {
  CoverageGrid grid;
  ImageMixer mixer;
  PainterMixer painter;
  // The shapes in painting order: colour and where their loops end.
  struct Shape {
    uint32_t rgb;
    size_t loopsEnd;
    bool whole;   // pixels taken whole by their centres
    bool stroke;  // a line's pieces
    int hatch;    // into hatches; kSolid for one colour
  };
  static constexpr int kSolid = -1;
  std::vector<TPaint> hatches;
  std::vector<Shape> shapes;
  std::vector<size_t> loopEnds;   // into points
  std::vector<LinePiece> pieces;  // of each loop
  std::vector<double> thinWidths;  // of each loop: a thin line's width, 0 for a polygon
  SeenPieces seen;
  std::vector<char> hidden;       // of each loop: a line piece under a copy of itself
  std::vector<TPointF> points;
  std::vector<size_t> gridLoops;  // scratch: a shape's loops for the grid
  TRect clip = MakeRect(-kFarOut, -kFarOut, kFarOut, kFarOut);
  double left = 0, top = 0, right = -1, bottom = -1;  // around every point; none while right < left

  // Widens the box around every point to take in p and margin around it.
  void Reach(TPointF p, double margin);
  void EndLoop(double thinWidth);
  void HideCoveredPieces();
  // Whether some fill smooths its edges: where two meet, they share pixels.
  bool SharesEdges() const;
  template <class Mixer>
  void RenderShape(Mixer& mixer, size_t index);
  TRect Box(const TPixelRows& pixels) const;
  static constexpr int kFarOut = 1 << 20;
};

TAaBatch::TAaBatch() : impl_(std::make_unique<Impl>()) {}

void TAaBatch::SetClip(const TRect& clip) {
  Clear();
  impl_->clip = clip;
}

TAaBatch::~TAaBatch() = default;

bool TAaBatch::Empty() const { return impl_->shapes.empty(); }

void TAaBatch::Clear() {
  impl_->shapes.clear();
  impl_->hatches.clear();
  impl_->loopEnds.clear();
  impl_->pieces.clear();
  impl_->thinWidths.clear();
  impl_->points.clear();
  impl_->right = impl_->left - 1;
}

void TAaBatch::BeginShape(const TPaint& paint, bool whole, bool stroke) {
  int hatch = Impl::kSolid;
  if (paint.hatched) {
    hatch = static_cast<int>(impl_->hatches.size());
    impl_->hatches.push_back(paint);
  }
  impl_->shapes.push_back(Impl::Shape{paint.rgb & 0xFFFFFF, impl_->loopEnds.size(), whole, stroke, hatch});
}

void TAaBatch::Impl::Reach(TPointF p, double margin) {
  if (right < left) {
    left = right = p.x;
    top = bottom = p.y;
  }
  left = std::min(left, p.x - margin);
  right = std::max(right, p.x + margin);
  top = std::min(top, p.y - margin);
  bottom = std::max(bottom, p.y + margin);
}

void TAaBatch::Impl::EndLoop(double thinWidth) {
  loopEnds.push_back(points.size());
  pieces.emplace_back();
  thinWidths.push_back(thinWidth);
  shapes.back().loopsEnd = loopEnds.size();
}

void TAaBatch::AddLoop(const TPointF* points, int count) {
  if (count < 3) return;
  for (int i = 0; i < count; ++i) impl_->Reach(points[i], 0);
  impl_->points.insert(impl_->points.end(), points, points + count);
  impl_->EndLoop(0);
}

void TAaBatch::AddThinLine(TPointF a, TPointF b, double width) {
  // The line reaches its width past its points at most.
  impl_->Reach(a, width + 1);
  impl_->Reach(b, width + 1);
  impl_->points.push_back(a);
  impl_->points.push_back(b);
  impl_->EndLoop(width);
}

void TAaBatch::Fill(const TPointF* points, int count, const TPaint& paint) {
  if (points == nullptr || count < 3) return;
  BeginShape(paint);
  AddLoop(points, count);
}

void TAaBatch::FillUnderOutline(const TPointF* points, int count, const TPaint& paint) {
  if (points == nullptr || count < 3) return;
  BeginShape(paint, true);
  AddLoop(points, count);
}

void TAaBatch::FillBox(double left, double top, double right, double bottom, const TPaint& paint) {
  const TPointF box[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  Fill(box, 4, paint);
}

bool TAaBatch::AddPixelRun(TPointF a, TPointF b) {
  // A one-pixel line along a row or a column of pixel centres covers its
  // pixels whole (a frame's sides): a box of them, no rasterising.
  const double ax = a.x - 0.5, ay = a.y - 0.5, bx = b.x - 0.5, by = b.y - 0.5;
  if (ax != std::floor(ax) || ay != std::floor(ay) || bx != std::floor(bx) || by != std::floor(by)) return false;
  if ((ax != bx) == (ay != by)) return false;
  // From the first point's pixel up to, not including, the last one's.
  const double left = bx < ax ? bx + 1 : ax, right = bx < ax ? ax + 1 : std::max(bx, ax + 1);
  const double top = by < ay ? by + 1 : ay, bottom = by < ay ? ay + 1 : std::max(by, ay + 1);
  const TPointF box[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  AddLoop(box, 4);
  return true;
}

void TAaBatch::AddLine(const std::vector<TPointF>& line, bool closed, double width) {
  if (line.size() < 2) return;
  if (width > kWidestSquarePen) {
    for (const std::vector<TPointF>& loop : WidePieces(line, closed, width))
      AddLoop(loop.data(), static_cast<int>(loop.size()));
    return;
  }
  const size_t segments = closed && line.size() > 2 ? line.size() : line.size() - 1;
  for (size_t i = 0; i < segments; ++i) {
    const TPointF a = line[i];
    const TPointF b = line[(i + 1) % line.size()];
    if (width != 1 || !AddPixelRun(a, b)) AddThinLine(a, b, width);
    if (std::hypot(b.x - a.x, b.y - a.y) >= kShortestSharedPiece)
      impl_->pieces.back() = LinePiece{a, b, width, impl_->shapes.back().rgb};
  }
}

void TAaBatch::Stroke(const TPointF* points, int count, bool closed, double width, uint32_t rgb) {
  if (points == nullptr || count < 2 || !(width > 0)) return;
  const std::vector<TPointF> line = Distinct(points, count, closed);
  if (line.size() < 2) return;
  BeginShape(rgb, false, true);
  AddLine(line, closed, width);
}

void TAaBatch::StrokeDashed(const TPointF* points, int count, bool closed, double width,
                            const TDashPattern& pattern, uint32_t rgb) {
  if (!(width > 0)) return;
  const std::vector<std::vector<TPointF>> pieces = DashPieces(points, count, closed, pattern);
  if (pieces.empty()) return;
  BeginShape(rgb, false, true);
  for (const std::vector<TPointF>& piece : pieces)
    AddLine(Distinct(piece.data(), static_cast<int>(piece.size()), false), false, width);
}

void TAaBatch::Impl::HideCoveredPieces() {
  hidden.assign(loopEnds.size(), 0);
  seen.Begin(loopEnds.size());
  for (size_t loop = loopEnds.size(); loop-- > 0;)
    if (pieces[loop].width > 0 && seen.Seen(pieces[loop])) hidden[loop] = 1;
}

bool TAaBatch::Impl::SharesEdges() const {
  size_t loop = 0;
  for (const Shape& shape : shapes) {
    for (; loop < shape.loopsEnd; ++loop) {
      const size_t from = loop == 0 ? 0 : loopEnds[loop - 1];
      if (!shape.whole && !shape.stroke && (shape.hatch != kSolid || !IsPixelBox(&points[from], loopEnds[loop] - from)))
        return true;
    }
  }
  return false;
}

template <class Mixer>
void TAaBatch::Impl::RenderShape(Mixer& mixer, size_t index) {
  const Shape& shape = shapes[index];
  const size_t firstLoop = index == 0 ? 0 : shapes[index - 1].loopsEnd;
  // The polygons' edges go to a grid of just the cells around them: a thin
  // slice's rows then lie close together in memory.
  double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
  gridLoops.clear();
  for (size_t loop = firstLoop; loop < shape.loopsEnd; ++loop) {
    if (hidden[loop]) continue;
    const size_t from = loop == 0 ? 0 : loopEnds[loop - 1];
    const TPointF* p = &points[from];
    if (thinWidths[loop] > 0) {
      ThinLine(mixer, p[0], p[1], thinWidths[loop], shape.rgb);
    } else if (!shape.whole && shape.hatch == kSolid && IsPixelBox(p, loopEnds[loop] - from)) {
      AddBox(mixer, std::min(p[0].x, p[2].x), std::min(p[0].y, p[2].y), std::max(p[0].x, p[2].x),
                   std::max(p[0].y, p[2].y), shape.rgb);
    } else {
      gridLoops.push_back(loop);
      for (size_t i = from; i < loopEnds[loop]; ++i) {
        minX = std::min(minX, points[i].x), maxX = std::max(maxX, points[i].x);
        minY = std::min(minY, points[i].y), maxY = std::max(maxY, points[i].y);
      }
    }
  }
  if (gridLoops.empty()) return;
  const TRect& box = mixer.Box();
  const TRect around = MakeRect(Within(std::floor(minX), box.left, box.right), Within(std::floor(minY), box.top, box.bottom),
                                Within(std::ceil(maxX) + 1, box.left, box.right), Within(std::ceil(maxY) + 1, box.top, box.bottom));
  if (around.left >= around.right || around.top >= around.bottom) return;
  const uint32_t rgb = shape.rgb;
  const int dx = around.left - box.left, dy = around.top - box.top;
  const TPaint* hatch = shape.hatch == kSolid ? nullptr : &hatches[shape.hatch];
  auto emit = [&mixer, rgb, dx, dy, hatch, &around](int x, int y, int length, unsigned cover) {
    if (hatch == nullptr) return mixer.Add(x + dx, y + dy, length, cover, rgb);
    // Lines and gaps by where the pixels lie in the image.
    const unsigned row = hatch->hatch[(around.top + y) & 7];
    for (int i = 0; i < length; ++i) {
      if ((row >> ((around.left + x + i) & 7)) & 1)
        mixer.Add(x + dx + i, y + dy, 1, cover, rgb);
      else if (hatch->gapsShow)
        mixer.Add(x + dx + i, y + dy, 1, cover, hatch->gapRgb & 0xFFFFFF);
    }
  };
  auto addEdges = [&] {
    for (const size_t loop : gridLoops) {
      const size_t from = loop == 0 ? 0 : loopEnds[loop - 1];
      for (size_t i = from, j = loopEnds[loop] - 1; i < loopEnds[loop]; j = i++)
        grid.Edge(points[j].x, points[j].y, points[i].x, points[i].y, shape.whole);
    }
  };
  if (shape.whole && gridLoops.size() == 1) {
    grid.BeginSpans(around);
    addEdges();
    if (grid.SweepSpans(emit)) return;
  }
  grid.Begin(around);
  addEdges();
  grid.Sweep(Mixer::Rounding(index), emit);
}

// The pixels the clip, the image and the shapes have in common.
TRect TAaBatch::Impl::Box(const TPixelRows& pixels) const {
  const int boxLeft = std::max(clip.left, 0), boxRight = std::min(clip.right, pixels.width);
  const int boxTop = std::max(clip.top, 0), boxBottom = std::min(clip.bottom, pixels.height);
  return MakeRect(Within(std::floor(left), boxLeft, boxRight), Within(std::floor(top), boxTop, boxBottom),
                  Within(std::ceil(right) + 1, boxLeft, boxRight), Within(std::ceil(bottom) + 1, boxTop, boxBottom));
}

void TAaBatch::Render(const TPixelRows& pixels) {
  const TRect box = impl_->Box(pixels);
  if (pixels.bits != nullptr && !Empty() && box.left < box.right && box.top < box.bottom) {
    impl_->HideCoveredPieces();
    if (impl_->SharesEdges()) {
      impl_->mixer.Begin(pixels, box);
      for (size_t i = impl_->shapes.size(); i-- > 0;) impl_->RenderShape(impl_->mixer, i);
      impl_->mixer.End();
    } else {
      impl_->painter.Begin(pixels, box);
      for (size_t i = 0; i < impl_->shapes.size(); ++i) impl_->RenderShape(impl_->painter, i);
    }
  }
  Clear();
}

std::vector<std::vector<TPointF>> DashPieces(const TPointF* points, int count, bool closed,
                                             const TDashPattern& pattern) {
  std::vector<std::vector<TPointF>> pieces;
  if (points == nullptr || count < 2) return pieces;
  std::vector<TPointF> line = Distinct(points, count, closed);
  if (closed && line.size() > 2) line.push_back(line.front());
  double total = 0;
  for (double dash : pattern) total += std::max(dash, 0.0);
  if (pattern.empty() || !(total > 0)) {
    if (line.size() > 1) pieces.push_back(line);
    return pieces;
  }
  size_t dash = 0;
  double left = pattern[0];  // of the current dash or gap
  std::vector<TPointF> piece{line[0]};
  for (size_t i = 1; i < line.size(); ++i) {
    TPointF a = line[i - 1];
    const TPointF b = line[i];
    double length = std::hypot(b.x - a.x, b.y - a.y);
    while (length > left) {
      const double f = left / length;
      a = TPointF{a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f};
      length -= left;
      if (dash % 2 == 0 && !piece.empty()) {
        piece.push_back(a);
        pieces.push_back(std::move(piece));
      }
      piece.clear();
      dash = (dash + 1) % pattern.size();
      left = std::max(pattern[dash], 0.0);
      if (dash % 2 == 0) piece.push_back(a);
    }
    left -= length;
    if (dash % 2 == 0) piece.push_back(b);
  }
  if (piece.size() > 1) pieces.push_back(std::move(piece));
  return pieces;
}

}  // namespace kd::raster
