// The drawing device of an off-screen image in colour: filled shapes and
// lines are anti-aliased into the image's own pixels, collected until GDI or
// the engine needs the pixels and then rendered together, so that shapes
// meeting along an edge leave no seam, and hatches keep GDI's own pattern
// with smooth edges. Text (anti-aliased fonts) and pictures stay with GDI on
// the same image.
// Not here: the shapes' geometry (raster/SmoothShapes), the rasteriser
// (raster/AaRaster), monochrome images.
#pragma once

#include "platform/GdiDevice.h"
#include "raster/AaRaster.h"
#include "raster/SmoothShapes.h"

namespace kd::platform {

class AaGdiDevice final : public GdiDevice {
 public:
  // dc has the 32-bit DIB section selected whose pixels these are.
  AaGdiDevice(HDC dc, const TPixelRows& pixels);

  void TextOut(int x, int y, const std::string& text, TAlignment align) override;
  void Line(int x0, int y0, int x1, int y1) override;
  void Polyline(const TPoint* points, int count) override;
  void Rectangle(const TRect& rect) override;
  void FillRect(const TRect& rect) override;
  void Polygon(const TPoint* points, int count) override;
  void PolygonExact(const TPoint* points, const TPointF* exact, int count) override;
  void Ellipse(const TRect& bounds) override;
  void Pie(const TRect& bounds, TPoint start, TPoint end) override;
  void PieExact(const TRect& bounds, TPoint start, TPoint end, double fromAngle, double toAngle) override;
  void PieExactOnly(const TRect& bounds, double fromAngle, double toAngle) override;
  void DrawPicture(const TPicture& picture, const TRect& dest) override;
  void SetClipRect(const TRect& rect) override;
  void ClearClip() override;
  void FrameDone() override;
  TPixelRows DirectPixels() override;
  void FinishDrawing() override;

 private:
  // The drawing state as the smooth shapes take it.
  raster::TSmoothStyle Style() const;
  // Whether a shape goes to GDI (no pixel memory, or a hatch unknown); what
  // the batch holds is rendered first, so the order of drawing holds.
  bool ToGdi(bool filled);
  uint32_t RgbOf(COLORREF color) const;
  void SetBatchClip(const TRect& rect);

  raster::TAaBatch batch_;
  raster::TSmoothShapes shapes_{batch_};
};

}  // namespace kd::platform
