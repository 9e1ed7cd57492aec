// Implements TAaBatch on AGG's compound rasteriser, rendered layer by layer
// from the top: the topmost shape takes its coverage of a pixel first and the
// ones below share out only what is left, so where two shapes meet their
// coverages add up to the whole pixel. Strokes become polygons here: AGG's
// own stroke and dash generators are compiled code its headers do not carry.
// Not here: the sector geometry of the device (SectorGeometry).
#include "raster/AaRaster.h"

#include <agg_basics.h>
#include <agg_rasterizer_compound_aa.h>
#include <agg_scanline_p.h>

#include <algorithm>
#include <cmath>

namespace kd::raster {
namespace {

using Rasteriser = agg::rasterizer_compound_aa<agg::rasterizer_sl_clip_dbl>;

// Lines up to this wide join and end square, as the pixels of a thin GDI pen do.
constexpr double kWidestSquarePen = 2.0;

constexpr unsigned kFull = agg::cover_full;

unsigned Channel(uint32_t rgb, int shift) { return (rgb >> shift) & 0xFF; }

// The colour over the pixel with the given coverage (of kFull).
uint32_t Blend(uint32_t pixel, uint32_t rgb, unsigned cover) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const unsigned value = (Channel(pixel, shift) * (kFull - cover) + Channel(rgb, shift) * cover + kFull / 2) / kFull;
    out |= value << shift;
  }
  return out;
}

// The shares of a pixel that more than one shape covers in part, colour
// weighted by coverage, summed over the shapes. AGG truncates each shape's
// share on its own, losing less than one level each: shapes that meet along
// an edge may leave up to that much of the pixel uncovered, which is taken
// for none, or the background would show through.
struct Shares {
  unsigned red, green, blue, shapes;
};

uint32_t BlendShares(uint32_t pixel, const Shares& share, unsigned cover) {
  if (cover + share.shapes >= kFull) {
    return ((share.red + cover / 2) / cover) << 16 | ((share.green + cover / 2) / cover) << 8 |
           (share.blue + cover / 2) / cover;
  }
  const unsigned sums[3] = {share.blue, share.green, share.red};
  uint32_t out = 0;
  for (int i = 0; i < 3; ++i) {
    const unsigned value = (Channel(pixel, 8 * i) * (kFull - cover) + sums[i] + kFull / 2) / kFull;
    out |= std::min(value, 255u) << (8 * i);
  }
  return out;
}

// One row's coverage so far while the shapes over it are taken from the
// top down: a pixel the topmost shape covers whole is written at once;
// the pixels covered in part are summed up and written at the end.
class RowMixer {
 public:
  void Begin(uint32_t* row, int start, unsigned length, int minX) {
    row_ = row;
    minX_ = minX;
    if (covers_.size() < static_cast<size_t>(start - minX) + length) {
      covers_.resize(static_cast<size_t>(start - minX) + length);
      shares_.resize(covers_.size());
    }
    std::fill_n(covers_.begin() + (start - minX), length, agg::int8u{0});
    partial_.clear();
  }
  void Add(int x, int length, const agg::int8u* covers, bool solid, uint32_t rgb) {
    for (int i = 0; i < length; ++i, ++x) {
      const unsigned cover = solid ? covers[0] : covers[i];
      agg::int8u& taken = covers_[x - minX_];
      if (taken == kFull) continue;
      if (taken == 0 && cover == kFull) {
        row_[x] = rgb;
        taken = kFull;
        continue;
      }
      // Higher shapes came first: this one gets only what they left.
      const unsigned share = std::min(cover, kFull - taken);
      if (share == 0) continue;
      Shares& sum = shares_[x - minX_];
      if (taken == 0) {
        sum = Shares{0, 0, 0, 0};
        partial_.push_back(x);
      }
      taken = static_cast<agg::int8u>(taken + share);
      sum.red += Channel(rgb, 16) * share;
      sum.green += Channel(rgb, 8) * share;
      sum.blue += Channel(rgb, 0) * share;
      ++sum.shapes;
    }
  }
  void End() {
    for (int x : partial_) row_[x] = BlendShares(row_[x], shares_[x - minX_], covers_[x - minX_]);
  }

 private:
  uint32_t* row_ = nullptr;
  int minX_ = 0;
  std::vector<agg::int8u> covers_;
  std::vector<Shares> shares_;
  std::vector<int> partial_;
};

double SignedArea(const std::vector<TPointF>& loop) {
  double area = 0;
  for (size_t i = 0, j = loop.size() - 1; i < loop.size(); j = i++)
    area += loop[j].x * loop[i].y - loop[i].x * loop[j].y;
  return area / 2;
}

// Nonzero winding adds the pieces of one stroke up: they must all turn the
// same way, or an overlap of two would cancel out.
void Orient(std::vector<TPointF>& loop) {
  if (SignedArea(loop) < 0) std::reverse(loop.begin(), loop.end());
}

std::vector<TPointF> Disk(TPointF centre, double radius) {
  const int steps = std::clamp(static_cast<int>(std::ceil(kPi * radius)), 8, 256);
  std::vector<TPointF> loop(static_cast<size_t>(steps));
  for (int i = 0; i < steps; ++i) {
    const double t = 2 * kPi * i / steps;
    loop[i] = TPointF{centre.x + radius * std::cos(t), centre.y + radius * std::sin(t)};
  }
  return loop;
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

}  // namespace

struct TAaBatch::Impl {
  Rasteriser rasteriser;
  std::vector<uint32_t> colors;  // of each shape, by style
  agg::scanline32_p8 scanline;   // runs of one coverage come as one span
  RowMixer mixer;
  std::vector<TPointF> loop;     // scratch
  TRect clip = MakeRect(-kFarOut, -kFarOut, kFarOut, kFarOut);

  void RenderRows(const TPixelRows& pixels, const TRect& box);
  void RenderSingle(uint32_t* row, const TRect& box, uint32_t rgb);
  static constexpr int kFarOut = 1 << 20;
};

TAaBatch::TAaBatch() : impl_(std::make_unique<Impl>()) {
  impl_->rasteriser.layer_order(agg::layer_direct);  // higher styles first: the last shape drawn is on top
  SetClip(impl_->clip);
}

void TAaBatch::SetClip(const TRect& clip) {
  Clear();
  impl_->clip = clip;
  // Clipped while collected: far-out points would overflow AGG's fixed-point cells.
  impl_->rasteriser.clip_box(clip.left, clip.top, clip.right, clip.bottom);
}

TAaBatch::~TAaBatch() = default;

bool TAaBatch::Empty() const { return impl_->colors.empty(); }

void TAaBatch::Clear() {
  impl_->rasteriser.reset();
  impl_->colors.clear();
}

void TAaBatch::BeginShape(uint32_t rgb) {
  const int style = static_cast<int>(impl_->colors.size());
  impl_->colors.push_back(rgb & 0xFFFFFF);
  impl_->rasteriser.styles(style, -1);
}

void TAaBatch::AddLoop(const TPointF* points, int count) {
  if (count < 3) return;
  Rasteriser& ras = impl_->rasteriser;
  ras.move_to_d(points[0].x, points[0].y);
  for (int i = 1; i < count; ++i) ras.line_to_d(points[i].x, points[i].y);
  ras.line_to_d(points[0].x, points[0].y);
}

void TAaBatch::Fill(const TPointF* points, int count, uint32_t rgb) {
  if (points == nullptr || count < 3) return;
  BeginShape(rgb);
  AddLoop(points, count);
}

void TAaBatch::FillBox(double left, double top, double right, double bottom, uint32_t rgb) {
  const TPointF box[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  Fill(box, 4, rgb);
}

void TAaBatch::AddLine(const std::vector<TPointF>& line, bool closed, double width) {
  if (line.size() < 2) return;
  const double half = width / 2;
  const size_t segments = closed && line.size() > 2 ? line.size() : line.size() - 1;
  std::vector<TPointF>& quad = impl_->loop;
  for (size_t i = 0; i < segments; ++i) {
    const TPointF a = line[i];
    const TPointF b = line[(i + 1) % line.size()];
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    const double dx = (b.x - a.x) / length, dy = (b.y - a.y) / length;
    // Half a pixel back along the line: the first point's pixel is covered,
    // the last point's is not.
    const double ax = a.x - dx / 2, ay = a.y - dy / 2;
    const double bx = b.x - dx / 2, by = b.y - dy / 2;
    const double nx = -dy * half, ny = dx * half;
    quad.assign({{ax + nx, ay + ny}, {bx + nx, by + ny}, {bx - nx, by - ny}, {ax - nx, ay - ny}});
    Orient(quad);
    AddLoop(quad.data(), 4);
  }
  if (width <= kWidestSquarePen) return;
  for (const TPointF& p : line) {
    std::vector<TPointF> disk = Disk(p, half);
    Orient(disk);
    AddLoop(disk.data(), static_cast<int>(disk.size()));
  }
}

void TAaBatch::Stroke(const TPointF* points, int count, bool closed, double width, uint32_t rgb) {
  if (points == nullptr || count < 2 || !(width > 0)) return;
  const std::vector<TPointF> line = Distinct(points, count, closed);
  if (line.size() < 2) return;
  BeginShape(rgb);
  AddLine(line, closed, width);
}

void TAaBatch::StrokeDashed(const TPointF* points, int count, bool closed, double width,
                            const TDashPattern& pattern, uint32_t rgb) {
  if (!(width > 0)) return;
  const std::vector<std::vector<TPointF>> pieces = DashPieces(points, count, closed, pattern);
  if (pieces.empty()) return;
  BeginShape(rgb);
  for (const std::vector<TPointF>& piece : pieces)
    AddLine(Distinct(piece.data(), static_cast<int>(piece.size()), false), false, width);
}

// A row with only one shape over it.
void TAaBatch::Impl::RenderSingle(uint32_t* row, const TRect& box, uint32_t rgb) {
  auto span = scanline.begin();
  for (unsigned n = scanline.num_spans(); n > 0; --n, ++span) {
    const bool solid = span->len < 0;
    int from = span->x, to = span->x + std::abs(span->len);
    const int skipped = std::max(box.left - from, 0);
    from += skipped;
    to = std::min(to, box.right);
    if (solid && span->covers[0] == kFull) {
      if (from < to) std::fill(row + from, row + to, rgb);
      continue;
    }
    for (int x = from, i = skipped; x < to; ++x, ++i)
      row[x] = Blend(row[x], rgb, solid ? span->covers[0] : span->covers[i]);
  }
}

void TAaBatch::Impl::RenderRows(const TPixelRows& pixels, const TRect& box) {
  if (!rasteriser.rewind_scanlines()) return;
  const int minX = rasteriser.min_x();
  scanline.reset(minX, rasteriser.max_x());
  while (const unsigned styleCount = rasteriser.sweep_styles()) {
    if (styleCount == 1) {
      if (!rasteriser.sweep_scanline(scanline, 0)) continue;
      const int y = scanline.y();
      if (y >= box.top && y < box.bottom)
        RenderSingle(pixels.bits + static_cast<ptrdiff_t>(y) * pixels.stride, box, colors[rasteriser.style(0)]);
      continue;
    }
    const int start = rasteriser.scanline_start();
    const unsigned length = rasteriser.scanline_length();
    if (length == 0) continue;
    // The rasteriser's clip box is the batch's: every row and span lies inside.
    bool begun = false;
    for (unsigned i = 0; i < styleCount; ++i) {
      if (!rasteriser.sweep_scanline(scanline, i)) continue;
      const int y = scanline.y();
      if (y < box.top || y >= box.bottom) break;
      if (!begun) mixer.Begin(pixels.bits + static_cast<ptrdiff_t>(y) * pixels.stride, start, length, minX);
      begun = true;
      const uint32_t rgb = colors[rasteriser.style(i)];
      auto span = scanline.begin();
      for (unsigned n = scanline.num_spans(); n > 0; --n, ++span)
        mixer.Add(span->x, std::abs(span->len), span->covers, span->len < 0, rgb);
    }
    if (begun) mixer.End();
  }
}

void TAaBatch::Render(const TPixelRows& pixels) {
  const TRect& clip = impl_->clip;
  const TRect box = MakeRect(std::max(clip.left, 0), std::max(clip.top, 0),
                             std::min(clip.right, pixels.width), std::min(clip.bottom, pixels.height));
  if (pixels.bits != nullptr && !Empty() && box.left < box.right && box.top < box.bottom)
    impl_->RenderRows(pixels, box);
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
