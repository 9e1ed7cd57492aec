// Implements AaGdiDevice: the drawing state and the order of drawing between
// the batch and GDI; hatches take the rows of GDI's own.
// Not here: GDI's own drawing (GdiDevice), the shapes' geometry (SmoothShapes).
#include "platform/AaGdiDevice.h"

#include <algorithm>

namespace kd::platform {

AaGdiDevice::AaGdiDevice(HDC dc, const TPixelRows& pixels) : GdiDevice(dc) {
  SetPixelMemory(pixels);
  SetFontQuality(ANTIALIASED_QUALITY);
  DeferShapeObjects();
  ClearClip();
}

uint32_t AaGdiDevice::RgbOf(COLORREF c) const {
  return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
}

raster::TSmoothStyle AaGdiDevice::Style() const {
  raster::TSmoothStyle style;
  style.pen = CurrentPen();
  style.brush = CurrentBrush();
  style.backMode = CurrentBackMode();
  style.penRgb = RgbOf(Rgb(style.pen.color));
  style.brushRgb = RgbOf(Rgb(style.brush.color));
  style.backRgb = RgbOf(CurrentBackColor());
  style.imageWidth = PixelMemory().width;
  style.imageHeight = PixelMemory().height;
  if (const auto rows = GdiHatchRows(style.brush.style)) style.hatch = *rows;
  return style;
}

bool AaGdiDevice::ToGdi(bool filled) {
  // A hatch GDI cannot show us is left to GDI as well.
  const TBrushStyle brush = CurrentBrush().style;
  const bool unknownHatch = filled && brush != bsSolid && brush != bsClear && !GdiHatchRows(brush);
  if (PixelMemory().bits != nullptr && !unknownHatch) return false;
  FinishDrawing();
  RealiseShapeObjects();
  return true;
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

void AaGdiDevice::Line(int x0, int y0, int x1, int y1) {
  if (ToGdi(false)) return GdiDevice::Line(x0, y0, x1, y1);
  shapes_.Line(Style(), TPointF{double(x0), double(y0)}, TPointF{double(x1), double(y1)});
}

void AaGdiDevice::Polyline(const TPoint* points, int count) {
  if (ToGdi(false)) return GdiDevice::Polyline(points, count);
  shapes_.Polyline(Style(), points, count);
}

void AaGdiDevice::Polygon(const TPoint* points, int count) {
  if (ToGdi(true)) return GdiDevice::Polygon(points, count);
  shapes_.Polygon(Style(), points, count);
}

void AaGdiDevice::PolygonExact(const TPoint* points, const TPointF* exact, int count) {
  if (ToGdi(true)) {
    if (points != nullptr) GdiDevice::Polygon(points, count);
  } else if (exact != nullptr) {
    shapes_.Polygon(Style(), exact, count);
  }
}

void AaGdiDevice::Rectangle(const TRect& rect) {
  if (ToGdi(true)) return GdiDevice::Rectangle(rect);
  shapes_.Rectangle(Style(), rect);
}

void AaGdiDevice::FillRect(const TRect& rect) {
  if (ToGdi(true)) return GdiDevice::FillRect(rect);
  shapes_.FillRect(Style(), rect);
}

void AaGdiDevice::Ellipse(const TRect& bounds) {
  if (ToGdi(true)) return GdiDevice::Ellipse(bounds);
  shapes_.Ellipse(Style(), bounds);
}

void AaGdiDevice::Pie(const TRect& bounds, TPoint start, TPoint end) {
  if (ToGdi(true)) return GdiDevice::Pie(bounds, start, end);
  shapes_.Pie(Style(), bounds, start, end);
}

void AaGdiDevice::PieExact(const TRect& bounds, TPoint start, TPoint end, double fromAngle, double toAngle) {
  if (ToGdi(true)) return GdiDevice::Pie(bounds, start, end);
  shapes_.Pie(Style(), bounds, fromAngle, toAngle);
}

void AaGdiDevice::PieExactOnly(const TRect& bounds, double fromAngle, double toAngle) {
  if (!ToGdi(true)) shapes_.Pie(Style(), bounds, fromAngle, toAngle);
}

}  // namespace kd::platform
