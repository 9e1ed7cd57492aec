// The drawing surface the engine paints through. The engine computes every
// coordinate itself and hands the device finished geometry in integer pixels
// (slices also at their exact coordinates); the device only renders (GDI on
// Windows, a recorder in the unit tests).
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/Color.h"
#include "engine/FontData.h"
#include "engine/Geometry.h"

namespace kd {

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

// Background behind text and behind the lines of a hatched brush.
enum TBackMode { bmTransparent, bmOpaque };

// Horizontal placement of a text against its x; y is always the text's top.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A pen as the chart's settings carry it (slice outline, frames, arrows) and
// as the device draws with it. An invisible pen or psClear draws no line.
struct TChartPen {
  TColor color = clBlack;
  int width = 1;
  TPenStyle style = psSolid;
  bool visible = true;
  bool smallDots = false;  // width-1 pen drawn as alternate single pixels

  bool Draws() const { return visible && style != psClear; }
  // The width the layout makes room for. Widths are kept as the author set
  // them (up to 2^31-1), but no device draws a pen wider than its surface, and
  // sums of widths must not overflow.
  int LayoutWidth() const { return std::clamp(width, 0, kWidestLayoutPen); }
  static constexpr int kWidestLayoutPen = 1 << 20;
  bool operator==(const TChartPen& o) const {
    return color == o.color && width == o.width && style == o.style && visible == o.visible &&
           smallDots == o.smallDots;
  }
  bool operator!=(const TChartPen& o) const { return !(*this == o); }
};

// Hatched brushes draw their lines in `color`; the gaps get the device's
// background colour when the background mode is opaque.
struct TChartBrush {
  TColor color = clWhite;
  TBrushStyle style = bsSolid;

  bool operator==(const TChartBrush& o) const { return color == o.color && style == o.style; }
  bool operator!=(const TChartBrush& o) const { return !(*this == o); }
};

// The display the chart is shown on; the round-pie rule needs its pixel aspect.
struct TScreenInfo {
  int widthPixels = 1;
  int heightPixels = 1;
  int widthMillimetres = 0;
  int heightMillimetres = 0;
};

// The pixel memory of a 32-bit image: top-down rows of 0x00RRGGBB values
// (blue in the lowest byte), `stride` values from one row to the next.
struct TPixelRows {
  uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};

// A picture the platform loaded (bmp, ico, wmf, emf, jpeg). The engine only
// asks its size and hands it back to a device to draw.
class TPicture {
 public:
  virtual ~TPicture() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

class TDevice;

// An off-screen image with a device of its own; drawn to another device with
// DrawPicture at its own size.
class TOffscreenImage : public TPicture {
 public:
  virtual TDevice& Device() = 0;
};

// Colours the engine passes are RGB or system colours (top byte 0xFF); the
// device resolves system colours itself. clDefault and clNone never reach a
// device from the engine; a device draws them as black should they arrive.
class TDevice {
 public:
  virtual ~TDevice() = default;

  // Drawing state, kept until changed.
  virtual void SetPen(const TChartPen& pen) = 0;
  virtual void SetBrush(const TChartBrush& brush) = 0;
  virtual void SetFont(const FontData& font) = 0;
  virtual void SetBackMode(TBackMode mode) = 0;
  virtual void SetBackColor(TColor color) = 0;

  // Text in the current font, colour from the font; background per back mode.
  virtual int TextWidth(const std::string& text) = 0;
  virtual int TextHeight(const std::string& text) = 0;
  virtual void TextOut(int x, int y, const std::string& text, TAlignment align) = 0;

  // Outlines use the pen, fills the brush. Rectangles and the bounds of
  // ellipses and sectors exclude their right and bottom edges; an outline
  // lies inside them, and with no pen the fill covers the whole rectangle.
  virtual void Line(int x0, int y0, int x1, int y1) = 0;  // end point not drawn
  virtual void Polyline(const TPoint* points, int count) = 0;
  virtual void Rectangle(const TRect& rect) = 0;     // outline and fill
  virtual void FillRect(const TRect& rect) = 0;      // fill only, no pen
  virtual void Polygon(const TPoint* points, int count) = 0;
  virtual void Ellipse(const TRect& bounds) = 0;
  // Elliptic sector of the ellipse inscribed in `bounds`, from the ray through
  // `start` counter-clockwise to the ray through `end` (both from the centre);
  // equal points give the whole ellipse. The device may fill it as a polygon
  // of arc points, but bounds, rays and direction are exactly these.
  virtual void Pie(const TRect& bounds, TPoint start, TPoint end) = 0;

  // The same shapes with the engine's exact coordinates beside the rounded
  // ones: a device that draws whole pixels draws the rounded shape, a smooth
  // one the exact shape, so its edges land where the geometry says. Either
  // polygon may be null: that kind of device draws nothing. The sector's
  // exact rays are angles (radians, counter-clockwise from the right) of
  // the ellipse in `bounds`; PieExactOnly is such a sector for smooth
  // devices alone (a sliver a pixel device leaves out).
  virtual void PolygonExact(const TPoint* points, const TPointF* exact, int count) {
    (void)exact;
    if (points != nullptr) Polygon(points, count);
  }
  virtual void PieExact(const TRect& bounds, TPoint start, TPoint end, double fromAngle, double toAngle) {
    (void)fromAngle, (void)toAngle;
    Pie(bounds, start, end);
  }
  virtual void PieExactOnly(const TRect& bounds, double fromAngle, double toAngle) {
    (void)bounds, (void)fromAngle, (void)toAngle;
  }

  // Pictures are stretched to fill `dest` exactly.
  virtual void DrawPicture(const TPicture& picture, const TRect& dest) = 0;

  virtual void SetClipRect(const TRect& rect) = 0;
  virtual void ClearClip() = 0;

  // A fresh image of the given size, 1 bit per pixel when `monochrome`;
  // nullptr when the platform cannot make one.
  virtual std::unique_ptr<TOffscreenImage> CreateOffscreen(int width, int height,
                                                           bool monochrome) = 0;

  // The engine has finished a frame (or a background): what the device kept
  // for reuse within it may go.
  virtual void FrameDone() {}

  // The target's own pixel memory, for writing directly once all drawing so
  // far has reached it; empty unless the target is a 32-bit image in memory.
  // Direct writes know nothing of the clip region.
  virtual TPixelRows DirectPixels() { return TPixelRows{}; }

  // RGB value of a colour; system colours from the platform's current table.
  virtual TColor ResolveColor(TColor color) const = 0;
  virtual TScreenInfo Screen() const = 0;
};

}  // namespace kd
