// Implements the sector and ellipse outlines. The angles are found exactly as
// the GDI device finds them, so a sector starts and ends where it does there.
// Not here: the GDI device's rounded arc points.
#include "raster/SectorShape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kd::raster {
namespace {

constexpr int kMaxSteps = 4096;

struct Ellipse {
  double cx, cy, rx, ry;      // through the pixel centres
  double rayX, rayY;          // where the rays leave
  double halfW, halfH;        // the rays' scale
};

Ellipse EllipseOf(const TRect& bounds) {
  const double left = std::min(bounds.left, bounds.right);
  const double right = std::max(bounds.left, bounds.right);
  const double top = std::min(bounds.top, bounds.bottom);
  const double bottom = std::max(bounds.top, bounds.bottom);
  return Ellipse{(left + right - 1) / 2,
                 (top + bottom - 1) / 2,
                 std::max((right - left - 1) / 2, 0.0),
                 std::max((bottom - top - 1) / 2, 0.0),
                 (left + right) / 2,
                 (top + bottom) / 2,
                 std::max((right - left) / 2, 0.5),
                 std::max((bottom - top) / 2, 0.5)};
}

// Chords short enough to stay within a twentieth of a pixel of the ellipse.
int StepsFor(const Ellipse& e, double sweep) {
  const double radius = std::max(e.rx, e.ry);
  const double step = std::clamp(std::sqrt(0.4 * radius), 0.5, 8.0);
  const double wanted = std::ceil(sweep * radius / step);
  return static_cast<int>(std::clamp(wanted, 4.0, static_cast<double>(kMaxSteps)));
}

void AppendArc(const Ellipse& e, double from, double sweep, bool withLast, std::vector<TPointF>& out) {
  const int steps = StepsFor(e, sweep);
  const double to = from + sweep;
  for (int i = 0; i < steps + (withLast ? 1 : 0); ++i) {
    const double t = i == steps ? to : from + sweep * i / steps;
    out.push_back(TPointF{e.cx + e.rx * std::cos(t), e.cy - e.ry * std::sin(t)});
  }
}

// The sector's corner, the integer centre of bounds, then its arc.
std::vector<TPointF> SectorOf(const TRect& bounds, const Ellipse& e, double from, double to) {
  std::vector<TPointF> out;
  out.push_back(TPointF{static_cast<double>((int64_t{bounds.left} + bounds.right) / 2),
                        static_cast<double>((int64_t{bounds.top} + bounds.bottom) / 2)});
  AppendArc(e, from, to - from, true, out);
  return out;
}

}  // namespace

std::vector<TPointF> SectorShape(const TRect& bounds, TPoint start, TPoint end) {
  if (bounds.Width() == 0 || bounds.Height() == 0) return {};
  const Ellipse e = EllipseOf(bounds);
  const double from = std::atan2((e.rayY - start.y) / e.halfH, (start.x - e.rayX) / e.halfW);
  double to = std::atan2((e.rayY - end.y) / e.halfH, (end.x - e.rayX) / e.halfW);
  // Decided on the integer points, as the GDI device decides it.
  if (start.x == end.x && start.y == end.y) to = from + 2 * kPi;
  else if (to <= from) to += 2 * kPi;
  return SectorOf(bounds, e, from, to);
}

std::vector<TPointF> SectorShape(const TRect& bounds, double fromAngle, double toAngle) {
  if (bounds.Width() == 0 || bounds.Height() == 0 || !std::isfinite(fromAngle + toAngle)) return {};
  // A sweep past a whole turn is the whole ellipse; a negative one none.
  const double sweep = std::min(toAngle - fromAngle, 2 * kPi);
  if (!(sweep > 0)) return {};
  return SectorOf(bounds, EllipseOf(bounds), fromAngle, fromAngle + sweep);
}

std::vector<TPointF> EllipseShape(const TRect& bounds) {
  std::vector<TPointF> out;
  if (bounds.Width() == 0 || bounds.Height() == 0) return out;
  AppendArc(EllipseOf(bounds), 0, 2 * kPi, false, out);
  return out;
}

}  // namespace kd::raster
