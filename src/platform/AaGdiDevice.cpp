// Implements AaGdiDevice. Shapes keep the GDI device's geometry: a polygon
// covers the pixels GDI's fill covers (with smooth slanted edges), a pen runs
// through the pixel centres and covers a thin line's pixels, first point
// included, last one not. Hatched shapes are drawn by GDI.
// Not here: GDI's own drawing (GdiDevice).
#include "platform/AaGdiDevice.h"

#include <algorithm>
#include <cmath>

#include "raster/SectorShape.h"

namespace kd::platform {
namespace {

using raster::PixelCentre;
using raster::TPointF;

// GDI's dash lengths of a thin pen; wider pens draw solid, as on GDI.
const raster::TDashPattern& DashesOf(const TChartPen& pen) {
  static const raster::TDashPattern kSolid;
  static const raster::TDashPattern kDash{18, 6}, kDot{3, 3}, kDashDot{9, 6, 3, 6},
      kDashDotDot{9, 3, 3, 3, 3, 3}, kAlternate{1, 1};
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

AaGdiDevice::AaGdiDevice(HDC dc, const TPixelRows& pixels) : GdiDevice(dc) {
  SetPixelMemory(pixels);
  SetFontQuality(ANTIALIASED_QUALITY);
  ClearClip();
}

uint32_t AaGdiDevice::RgbOf(TColor color) const {
  const COLORREF c = Rgb(color);
  return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
}

bool AaGdiDevice::HatchedBrush() const {
  const TBrushStyle style = CurrentBrush().style;
  return style != bsSolid && style != bsClear;
}

void AaGdiDevice::FinishDrawing() {
  if (batch_.Empty()) return;
  batch_.Render(GdiDevice::DirectPixels());  // flushes what GDI drew before
}

TPixelRows AaGdiDevice::DirectPixels() {
  FinishDrawing();
  return GdiDevice::DirectPixels();
}

void AaGdiDevice::FrameDone() {
  FinishDrawing();
  GdiDevice::FrameDone();
}

void AaGdiDevice::SetBatchClip(const TRect& rect) {
  FinishDrawing();
  // Never past the image: a shape reaching millions of pixels beyond it
  // would make more cells than the rasteriser keeps.
  const TPixelRows& image = PixelMemory();
  batch_.SetClip(MakeRect(std::clamp(std::min(rect.left, rect.right), 0, image.width),
                          std::clamp(std::min(rect.top, rect.bottom), 0, image.height),
                          std::clamp(std::max(rect.left, rect.right), 0, image.width),
                          std::clamp(std::max(rect.top, rect.bottom), 0, image.height)));
}

void AaGdiDevice::SetClipRect(const TRect& rect) {
  SetBatchClip(rect);
  GdiDevice::SetClipRect(rect);
}

void AaGdiDevice::ClearClip() {
  SetBatchClip(MakeRect(0, 0, PixelMemory().width, PixelMemory().height));
  GdiDevice::ClearClip();
}

void AaGdiDevice::TextOut(int x, int y, const std::string& text, TAlignment align) {
  FinishDrawing();
  GdiDevice::TextOut(x, y, text, align);
}

void AaGdiDevice::DrawPicture(const TPicture& picture, const TRect& dest) {
  FinishDrawing();
  GdiDevice::DrawPicture(picture, dest);
}

void AaGdiDevice::Outline(const std::vector<TPointF>& centres, bool closed) {
  const TChartPen& pen = CurrentPen();
  if (!pen.Draws() || centres.size() < 2) return;
  // A pen as wide as the image's outline covers all of it: no wider one differs.
  const double widest = 2.0 * (PixelMemory().width + PixelMemory().height) + 2;
  const double width = std::clamp<double>(pen.smallDots ? 1 : pen.width, 1, widest);
  const raster::TDashPattern& dashes = DashesOf(pen);
  const uint32_t rgb = RgbOf(pen.color);
  const int count = static_cast<int>(centres.size());
  if (dashes.empty()) {
    batch_.Stroke(centres.data(), count, closed, width, rgb);
    return;
  }
  if (CurrentBackMode() == bmOpaque && !pen.smallDots) {
    const COLORREF back = CurrentBackColor();
    batch_.Stroke(centres.data(), count, closed, width,
                  (uint32_t{GetRValue(back)} << 16) | (uint32_t{GetGValue(back)} << 8) | GetBValue(back));
  }
  batch_.StrokeDashed(centres.data(), count, closed, width, dashes, rgb);
}

void AaGdiDevice::FillAndOutline(const std::vector<TPointF>& shape) {
  const std::vector<TPointF> centres = Centres(shape);
  const int count = static_cast<int>(shape.size());
  if (Fills()) {
    // A solid pen hides the fill's edges: the fill needs no smoothing of its own.
    const TChartPen& pen = CurrentPen();
    if (pen.Draws() && DashesOf(pen).empty() && count >= 3)
      batch_.FillUnderOutline(centres.data(), count, RgbOf(CurrentBrush().color));
    else
      batch_.Fill(shape.data(), count, RgbOf(CurrentBrush().color));
  }
  Outline(centres, true);
}

void AaGdiDevice::Line(int x0, int y0, int x1, int y1) {
  if (!Smooth()) return GdiDevice::Line(x0, y0, x1, y1);
  Outline({PixelCentre(x0, y0), PixelCentre(x1, y1)}, false);
}

void AaGdiDevice::Polyline(const TPoint* points, int count) {
  if (!Smooth()) return GdiDevice::Polyline(points, count);
  if (points == nullptr || count < 2) return;
  points_.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) points_[i] = PixelCentre(points[i].x, points[i].y);
  Outline(points_, false);
}

void AaGdiDevice::Polygon(const TPoint* points, int count) {
  if (!Smooth() || HatchedBrush()) {
    FinishDrawing();
    return GdiDevice::Polygon(points, count);
  }
  if (points == nullptr || count < 2) return;
  points_.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) points_[i] = TPointF{double(points[i].x), double(points[i].y)};
  FillAndOutline(points_);
}

void AaGdiDevice::Rectangle(const TRect& rect) {
  if (!Smooth() || HatchedBrush()) {
    FinishDrawing();
    return GdiDevice::Rectangle(rect);
  }
  const TRect r = InsideFrame(rect, CurrentPen());
  const double left = std::min(r.left, r.right), right = std::max(r.left, r.right);
  const double top = std::min(r.top, r.bottom), bottom = std::max(r.top, r.bottom);
  if (right - left < 1 || bottom - top < 1) return;
  // GDI's fill stops a pixel short of the right and bottom edges; its pen
  // runs along the pixels inside them.
  FillAndOutline({{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}});
}

void AaGdiDevice::FillRect(const TRect& rect) {
  if (!Smooth() || HatchedBrush()) {
    FinishDrawing();
    return GdiDevice::FillRect(rect);
  }
  if (!Fills()) return;
  batch_.FillBox(std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
                 std::max(rect.left, rect.right), std::max(rect.top, rect.bottom),
                 RgbOf(CurrentBrush().color));
}

void AaGdiDevice::Ellipse(const TRect& bounds) {
  if (!Smooth() || HatchedBrush()) {
    FinishDrawing();
    return GdiDevice::Ellipse(bounds);
  }
  FillAndOutline(raster::EllipseShape(InsideFrame(bounds, CurrentPen())));
}

void AaGdiDevice::Pie(const TRect& bounds, TPoint start, TPoint end) {
  if (!Smooth() || HatchedBrush()) {
    FinishDrawing();
    return GdiDevice::Pie(bounds, start, end);
  }
  FillAndOutline(raster::SectorShape(bounds, start, end));
}

}  // namespace kd::platform
