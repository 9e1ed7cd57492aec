// Implements TAaBatch. The shapes are kept until rendered, then rasterised
// one by one with AGG's scanline rasteriser from the topmost down: a shape
// takes of each pixel only what the shapes above it left, and a pixel is
// blended with what was there before only where the batch's shapes leave
// some of it uncovered. So where two shapes meet, their coverages add up to
// the whole pixel and nothing behind shows through (what AGG's compound
// rasteriser does, at a fraction of its cost). Strokes become polygons here:
// AGG's own stroke and dash generators are compiled code its headers do not
// carry.
// Not here: the sector geometry of the device (SectorShape).
#include "raster/AaRaster.h"

#include <agg_basics.h>
#include <agg_rasterizer_scanline_aa_nogamma.h>
#include <agg_scanline_p.h>

#include <algorithm>
#include <cmath>

namespace kd::raster {
namespace {

using Rasteriser = agg::rasterizer_scanline_aa_nogamma<agg::rasterizer_sl_clip_dbl>;

// Lines up to this wide join and end square, as the pixels of a thin GDI pen do.
constexpr double kWidestSquarePen = 2.0;

constexpr unsigned kFull = agg::cover_full;

unsigned Channel(uint32_t rgb, int shift) { return (rgb >> shift) & 0xFF; }

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

// The batch's coverage of the image so far while its shapes are taken from
// the top down: a pixel the topmost shape covers whole is written at once;
// the pixels covered in part are summed up and written at the end.
class ImageMixer {
 public:
  void Begin(const TPixelRows& pixels, const TRect& box) {
    pixels_ = pixels;
    box_ = box;
    boxWidth_ = box.right - box.left;
    const size_t area = static_cast<size_t>(boxWidth_) * (box.bottom - box.top);
    if (covers_.size() < area) {
      covers_.resize(area);
      shares_.resize(area);
    }
    std::fill_n(covers_.begin(), area, agg::int8u{0});
    partial_.clear();
  }
  void Add(int x, int y, int length, const agg::int8u* covers, bool solid, uint32_t rgb) {
    uint32_t* row = pixels_.bits + static_cast<ptrdiff_t>(y) * pixels_.stride;
    const size_t base = static_cast<size_t>(y - box_.top) * boxWidth_ - box_.left;
    for (int i = 0; i < length; ++i, ++x) {
      const unsigned cover = solid ? covers[0] : covers[i];
      agg::int8u& taken = covers_[base + x];
      if (taken == kFull) continue;
      if (taken == 0 && cover == kFull) {
        row[x] = rgb;
        taken = kFull;
        continue;
      }
      // Higher shapes came first: this one gets only what they left.
      const unsigned share = std::min(cover, kFull - taken);
      if (share == 0) continue;
      Shares& sum = shares_[base + x];
      if (taken == 0) {
        sum = Shares{0, 0, 0, 0};
        partial_.push_back(base + x);
      }
      taken = static_cast<agg::int8u>(taken + share);
      sum.red += Channel(rgb, 16) * share;
      sum.green += Channel(rgb, 8) * share;
      sum.blue += Channel(rgb, 0) * share;
      ++sum.shapes;
    }
  }
  void End() {
    for (size_t index : partial_) {
      const int y = box_.top + static_cast<int>(index / boxWidth_);
      const int x = box_.left + static_cast<int>(index % boxWidth_);
      uint32_t& pixel = pixels_.bits[static_cast<ptrdiff_t>(y) * pixels_.stride + x];
      pixel = BlendShares(pixel, shares_[index], covers_[index]);
    }
  }

 private:
  TPixelRows pixels_;
  TRect box_{};
  int boxWidth_ = 0;
  std::vector<agg::int8u> covers_;
  std::vector<Shares> shares_;
  std::vector<size_t> partial_;
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
  agg::scanline32_p8 scanline;  // runs of one coverage come as one span
  ImageMixer mixer;
  // The shapes in painting order: colour and where their loops end.
  struct Shape {
    uint32_t rgb;
    size_t loopsEnd;
  };
  std::vector<Shape> shapes;
  std::vector<size_t> loopEnds;   // into points
  std::vector<TPointF> points;
  std::vector<TPointF> loop;      // scratch
  TRect clip = MakeRect(-kFarOut, -kFarOut, kFarOut, kFarOut);
  double left = 0, top = 0, right = -1, bottom = -1;  // around every point

  void RenderShape(size_t index);
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
  impl_->loopEnds.clear();
  impl_->points.clear();
  impl_->right = impl_->left - 1;
}

void TAaBatch::BeginShape(uint32_t rgb) {
  impl_->shapes.push_back(Impl::Shape{rgb & 0xFFFFFF, impl_->loopEnds.size()});
}

void TAaBatch::AddLoop(const TPointF* points, int count) {
  if (count < 3) return;
  Impl& impl = *impl_;
  if (impl.points.empty()) {
    impl.left = impl.right = points[0].x;
    impl.top = impl.bottom = points[0].y;
  }
  for (int i = 0; i < count; ++i) {
    impl.left = std::min(impl.left, points[i].x);
    impl.right = std::max(impl.right, points[i].x);
    impl.top = std::min(impl.top, points[i].y);
    impl.bottom = std::max(impl.bottom, points[i].y);
  }
  impl_->points.insert(impl_->points.end(), points, points + count);
  impl_->loopEnds.push_back(impl_->points.size());
  impl_->shapes.back().loopsEnd = impl_->loopEnds.size();
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

void TAaBatch::Impl::RenderShape(size_t index) {
  const size_t firstLoop = index == 0 ? 0 : shapes[index - 1].loopsEnd;
  if (firstLoop == shapes[index].loopsEnd) return;
  rasteriser.reset();
  for (size_t loop = firstLoop; loop < shapes[index].loopsEnd; ++loop) {
    const size_t from = loop == 0 ? 0 : loopEnds[loop - 1];
    rasteriser.move_to_d(points[from].x, points[from].y);
    for (size_t i = from + 1; i < loopEnds[loop]; ++i) rasteriser.line_to_d(points[i].x, points[i].y);
    rasteriser.close_polygon();
  }
  if (!rasteriser.rewind_scanlines()) return;
  scanline.reset(rasteriser.min_x(), rasteriser.max_x());
  const uint32_t rgb = shapes[index].rgb;
  // The rasteriser's clip box is the batch's: every row and span lies inside.
  while (rasteriser.sweep_scanline(scanline)) {
    const int y = scanline.y();
    auto span = scanline.begin();
    for (unsigned n = scanline.num_spans(); n > 0; --n, ++span)
      mixer.Add(span->x, y, std::abs(span->len), span->covers, span->len < 0, rgb);
  }
}

// The pixels the clip, the image and the shapes have in common.
TRect TAaBatch::Impl::Box(const TPixelRows& pixels) const {
  auto within = [](double value, int low, int high) {
    return static_cast<int>(std::clamp(value, static_cast<double>(low), static_cast<double>(high)));
  };
  const int boxLeft = std::max(clip.left, 0), boxRight = std::min(clip.right, pixels.width);
  const int boxTop = std::max(clip.top, 0), boxBottom = std::min(clip.bottom, pixels.height);
  return MakeRect(within(std::floor(left), boxLeft, boxRight), within(std::floor(top), boxTop, boxBottom),
                  within(std::ceil(right) + 1, boxLeft, boxRight), within(std::ceil(bottom) + 1, boxTop, boxBottom));
}

void TAaBatch::Render(const TPixelRows& pixels) {
  const TRect box = impl_->Box(pixels);
  if (pixels.bits != nullptr && !Empty() && box.left < box.right && box.top < box.bottom) {
    // Far-out points would overflow AGG's fixed-point cells: clipped first.
    impl_->rasteriser.clip_box(box.left, box.top, box.right, box.bottom);
    impl_->mixer.Begin(pixels, box);
    for (size_t i = impl_->shapes.size(); i-- > 0;) impl_->RenderShape(i);
    impl_->mixer.End();
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
