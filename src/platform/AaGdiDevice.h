// The drawing device of an off-screen image in colour: filled shapes and
// lines are anti-aliased into the image's own pixels, collected until GDI or
// the engine needs the pixels and then rendered together, so that shapes
// meeting along an edge leave no seam. Text (anti-aliased fonts), pictures
// and hatched brushes stay with GDI on the same image.
// Not here: the rasteriser itself (raster/AaRaster), monochrome images.
#pragma once

#include "platform/GdiDevice.h"
#include "raster/AaRaster.h"

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
  void Ellipse(const TRect& bounds) override;
  void Pie(const TRect& bounds, TPoint start, TPoint end) override;
  void DrawPicture(const TPicture& picture, const TRect& dest) override;
  void SetClipRect(const TRect& rect) override;
  void ClearClip() override;
  void FrameDone() override;
  TPixelRows DirectPixels() override;
  void FinishDrawing() override;

 private:
  bool Smooth() const { return PixelMemory().bits != nullptr; }
  bool HatchedBrush() const;
  bool Fills() const { return CurrentBrush().style != bsClear; }
  uint32_t RgbOf(TColor color) const;
  // Fills the shape with the brush and draws its outline (through the pixel
  // centres of the same points) with the pen.
  void FillAndOutline(const std::vector<raster::TPointF>& shape);
  void Outline(const std::vector<raster::TPointF>& centres, bool closed);
  void SetBatchClip(const TRect& rect);

  raster::TAaBatch batch_;
  std::vector<raster::TPointF> points_;  // scratch
};

}  // namespace kd::platform
