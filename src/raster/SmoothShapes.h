// The device's shapes (lines, rectangles, polygons, ellipses, sectors) as
// anti-aliased shapes of a batch, with the geometry of the pixel devices: a
// polygon covers the pixels a pixel device's fill covers, with smooth
// slanted edges; a pen runs through the pixel centres and covers a thin
// line's pixels, first point included, last one not. Portable, so the smooth
// drawing is measured and tested natively.
// Not here: text, pictures, the drawing state's own keeping and the hatches'
// rows (the device).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/Device.h"
#include "raster/AaRaster.h"

namespace kd::raster {

// The drawing state a shape is drawn with, colours resolved to 0x00RRGGBB.
struct TSmoothStyle {
  TChartPen pen;
  TChartBrush brush;
  TBackMode backMode = bmTransparent;
  uint32_t penRgb = 0, brushRgb = 0, backRgb = 0;
  int imageWidth = 0, imageHeight = 0;  // no pen is drawn wider than the image's outline
  std::array<uint8_t, 8> hatch{};         // a hatched brush's rows (TPaint)

  bool Hatched() const { return brush.style != bsSolid && brush.style != bsClear; }
  // What the brush paints: its colour, or its hatch over the back colour
  // (opaque back mode) or over what lies below.
  TPaint BrushPaint() const;
  bool Fills() const { return brush.style != bsClear; }
};

class TSmoothShapes {
 public:
  explicit TSmoothShapes(TAaBatch& batch) : batch_(batch) {}

  void Line(const TSmoothStyle& style, TPointF from, TPointF to);
  void Polyline(const TSmoothStyle& style, const TPoint* points, int count);
  void Polygon(const TSmoothStyle& style, const TPoint* points, int count);
  // The same polygon at the engine's exact coordinates.
  void Polygon(const TSmoothStyle& style, const TPointF* points, int count);
  void Rectangle(const TSmoothStyle& style, const TRect& rect);
  void FillRect(const TSmoothStyle& style, const TRect& rect);
  void Ellipse(const TSmoothStyle& style, const TRect& bounds);
  void Pie(const TSmoothStyle& style, const TRect& bounds, TPoint start, TPoint end);
  // The same sector between exact angles (counter-clockwise from the right,
  // of the ellipse in bounds).
  void Pie(const TSmoothStyle& style, const TRect& bounds, double fromAngle, double toAngle);

 private:
  // Fills the shape with the brush and draws its outline (through the pixel
  // centres of the same points) with the pen.
  void FillAndOutline(const TSmoothStyle& style, const std::vector<TPointF>& shape);
  void Outline(const TSmoothStyle& style, const std::vector<TPointF>& centres, bool closed);

  TAaBatch& batch_;
  std::vector<TPointF> points_;  // scratch
};

}  // namespace kd::raster
