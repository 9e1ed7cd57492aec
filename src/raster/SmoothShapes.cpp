// Implements TSmoothShapes: the pixel devices' rules for where a shape's
// pixels lie, turned into the batch's polygons and lines.
// Not here: the sector outlines (SectorShape), rasterising (AaRaster).
#include "raster/SmoothShapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "raster/SectorShape.h"

namespace kd::raster {
namespace {

// The pixel devices' dash lengths of a thin pen; wider pens draw solid.
const TDashPattern& DashesOf(const TChartPen& pen) {
  static const TDashPattern kSolid;
  static const TDashPattern kDash{18, 6}, kDot{3, 3}, kDashDot{9, 6, 3, 6}, kDashDotDot{9, 3, 3, 3, 3, 3},
      kAlternate{1, 1};
  if (pen.smallDots) return kAlternate;
  if (pen.width > 1) return kSolid;
  switch (pen.style) {
    case psDash: return kDash;
    case psDot: return kDot;
    case psDashDot: return kDashDot;
    case psDashDotDot: return kDashDotDot;
    default: return kSolid;
  }
}

std::vector<TPointF> Centres(const std::vector<TPointF>& shape) {
  std::vector<TPointF> centres(shape.size());
  std::transform(shape.begin(), shape.end(), centres.begin(),
                 [](const TPointF& p) { return PixelCentre(p.x, p.y); });
  return centres;
}

// A pen inside its frame keeps its whole width within the bounds.
TRect InsideFrame(const TRect& bounds, const TChartPen& pen) {
  if (pen.style != psInsideFrame || pen.width <= 1) return bounds;
  const int inset = std::min({pen.width / 2, std::abs(bounds.Width()) / 2, std::abs(bounds.Height()) / 2});
  return MakeRect(bounds.left + inset, bounds.top + inset, bounds.right - inset, bounds.bottom - inset);
}

}  // namespace

TPaint TSmoothStyle::BrushPaint() const {
  TPaint paint(brushRgb);
  if (!Hatched()) return paint;
  paint.hatched = true;
  paint.hatch = hatch;
  paint.gapRgb = backRgb;
  paint.gapsShow = backMode == bmOpaque;
  return paint;
}

void TSmoothShapes::Outline(const TSmoothStyle& style, const std::vector<TPointF>& centres, bool closed) {
  const TChartPen& pen = style.pen;
  if (!pen.Draws() || centres.size() < 2) return;
  // A pen as wide as the image's outline covers all of it: no wider one differs.
  const double widest = 2.0 * (style.imageWidth + style.imageHeight) + 2;
  const double width = std::clamp<double>(pen.smallDots ? 1 : pen.width, 1, widest);
  const TDashPattern& dashes = DashesOf(pen);
  const int count = static_cast<int>(centres.size());
  if (dashes.empty()) {
    batch_.Stroke(centres.data(), count, closed, width, style.penRgb);
    return;
  }
  if (style.backMode == bmOpaque && !pen.smallDots)
    batch_.Stroke(centres.data(), count, closed, width, style.backRgb);
  batch_.StrokeDashed(centres.data(), count, closed, width, dashes, style.penRgb);
}

void TSmoothShapes::FillAndOutline(const TSmoothStyle& style, const std::vector<TPointF>& shape) {
  const std::vector<TPointF> centres = Centres(shape);
  const int count = static_cast<int>(shape.size());
  if (style.Fills()) {
    // A solid pen hides the fill's edges: the fill needs no smoothing of its own.
    if (style.pen.Draws() && DashesOf(style.pen).empty() && count >= 3)
      batch_.FillUnderOutline(centres.data(), count, style.BrushPaint());
    else
      batch_.Fill(shape.data(), count, style.BrushPaint());
  }
  Outline(style, centres, true);
}

void TSmoothShapes::Line(const TSmoothStyle& style, TPointF from, TPointF to) {
  Outline(style, {PixelCentre(from.x, from.y), PixelCentre(to.x, to.y)}, false);
}

void TSmoothShapes::Polyline(const TSmoothStyle& style, const TPoint* points, int count) {
  if (points == nullptr || count < 2) return;
  points_.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) points_[i] = PixelCentre(points[i].x, points[i].y);
  Outline(style, points_, false);
}

void TSmoothShapes::Polygon(const TSmoothStyle& style, const TPoint* points, int count) {
  if (points == nullptr || count < 2) return;
  points_.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) points_[i] = TPointF{double(points[i].x), double(points[i].y)};
  FillAndOutline(style, points_);
}

void TSmoothShapes::Polygon(const TSmoothStyle& style, const TPointF* points, int count) {
  if (points == nullptr || count < 2) return;
  points_.assign(points, points + count);
  FillAndOutline(style, points_);
}

void TSmoothShapes::Rectangle(const TSmoothStyle& style, const TRect& rect) {
  const TRect r = InsideFrame(rect, style.pen);
  const double left = std::min(r.left, r.right), right = std::max(r.left, r.right);
  const double top = std::min(r.top, r.bottom), bottom = std::max(r.top, r.bottom);
  if (right - left < 1 || bottom - top < 1) return;
  // A pixel device's fill stops a pixel short of the right and bottom edges;
  // its pen runs along the pixels inside them.
  FillAndOutline(style, {{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}});
}

void TSmoothShapes::FillRect(const TSmoothStyle& style, const TRect& rect) {
  if (!style.Fills()) return;
  batch_.FillBox(std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
                 std::max(rect.left, rect.right), std::max(rect.top, rect.bottom), style.BrushPaint());
}

void TSmoothShapes::Ellipse(const TSmoothStyle& style, const TRect& bounds) {
  FillAndOutline(style, EllipseShape(InsideFrame(bounds, style.pen)));
}

void TSmoothShapes::Pie(const TSmoothStyle& style, const TRect& bounds, TPoint start, TPoint end) {
  FillAndOutline(style, SectorShape(bounds, start, end));
}

void TSmoothShapes::Pie(const TSmoothStyle& style, const TRect& bounds, double fromAngle, double toAngle) {
  FillAndOutline(style, SectorShape(bounds, fromAngle, toAngle));
}

}  // namespace kd::raster
