// The chart's drawing surface: keeps the current pen, brush, font and text
// background, forwards drawing to a device, and maps chart points with a
// depth onto the screen while the panel is in 3D view.
#pragma once

#include <cmath>

#include <optional>
#include <string>
#include <utility>

#include "engine/Color.h"
#include "engine/Device.h"
#include "engine/FontData.h"
#include "engine/Geometry.h"
#include "engine/Gradient.h"

namespace kd {

// The 3D view settings of the panel (plain data; the panel's setters repaint).
struct TView3DOptions {
  int Elevation = 345;
  int Rotation = 345;
  int Perspective = 15;
  bool Orthogonal = true;
  int Zoom = 100;  // percent
  bool ZoomText = true;
  int HorizOffset = 0;  // pixels
  int VertOffset = 0;
  int Tilt = 0;

  bool operator==(const TView3DOptions& o) const {
    return Elevation == o.Elevation && Rotation == o.Rotation && Perspective == o.Perspective &&
           Orthogonal == o.Orthogonal && Zoom == o.Zoom && ZoomText == o.ZoomText &&
           HorizOffset == o.HorizOffset && VertOffset == o.VertOffset && Tilt == o.Tilt;
  }
  bool operator!=(const TView3DOptions& o) const { return !(*this == o); }
};

// Rounds to the nearest integer, halves to even, like every rounding of the
// projection and layout. The library's nearbyint saves and restores the
// floating-point state on every call, and a frame rounds tens of thousands
// of values: rounded here, halves to even as nearbyint does in the default
// rounding mode. Within +-2^31 the fraction below is exact and the result
// fits an int.
inline int RoundEven(double value) {
  constexpr double kLimit = 2147483647.0;
  if (!(value > -kLimit && value < kLimit)) return static_cast<int>(std::nearbyint(value));
  const long long whole = static_cast<long long>(value);  // towards zero
  const double fraction = value - static_cast<double>(whole);
  const bool odd = (whole & 1) != 0;
  if (fraction > 0.5 || (fraction == 0.5 && odd)) return static_cast<int>(whole + 1);
  if (fraction < -0.5 || (fraction == -0.5 && odd)) return static_cast<int>(whole - 1);
  return static_cast<int>(whole);
}

class TChartCanvas3D {
 public:
  // The amount by which the pie darkens its sides.
  static constexpr int kDarkSideAmount = 32;
  // The most arc points one 3D slice uses.
  static constexpr int kMaxArcPoints = 32;

  TChartCanvas3D() = default;

  // The device the next drawing goes to; the canvas's state is sent to it
  // again before it is first used.
  void SetDevice(TDevice* device);
  TDevice* Device() const { return device_; }

  // ---- State. Setting is cheap: the device hears of a change only when a
  // drawing call needs it.
  const TChartPen& Pen() const { return pen_; }
  void SetPen(const TChartPen& pen);
  const TChartBrush& Brush() const { return brush_; }
  void SetBrush(const TChartBrush& brush);
  const FontData& Font() const { return font_; }
  void SetFont(const FontData& font);
  TBackMode BackMode() const { return backMode_; }
  void SetBackMode(TBackMode mode);
  TColor BackColor() const { return backColor_; }
  void SetBackColor(TColor color);

  // Brush of a slice or legend box: hatch lines in `color` over `background`;
  // a hatch in the background's own colour turns black (white on black).
  void SetSliceBrush(TColor color, TBrushStyle style, TColor background);

  // ---- Flat primitives in screen pixels. Without a device they do nothing
  // and measure 0.
  int TextWidth(const std::string& text);
  int TextHeight(const std::string& text);
  void TextOut(int x, int y, const std::string& text, TAlignment align = taLeftJustify);
  void Line(int x0, int y0, int x1, int y1);
  void Rectangle(const TRect& rect);
  void FillRect(const TRect& rect);
  void Polygon(const TPoint* points, int count);
  void Ellipse(const TRect& bounds);
  void Pie(const TRect& bounds, TPoint start, TPoint end);
  // The shapes at their exact coordinates beside the rounded ones (TDevice).
  void PolygonExact(const TPoint* points, const TPointF* exact, int count);
  void PieExact(const TRect& bounds, TPoint start, TPoint end, double fromAngle, double toAngle);
  void PieExactOnly(const TRect& bounds, double fromAngle, double toAngle);
  void DrawPicture(const TPicture& picture, const TRect& dest);
  void ClipRectangle(const TRect& rect);
  void UnClipRectangle();
  // Fills `rect` with a gradient from the from-colour to the to-colour;
  // leaves the brush as it was.
  void GradientFill(const TRect& rect, TColor from, TColor to, TGradientDirection direction);
  // RGB of any colour; system colours through the device.
  TColor ResolveColor(TColor color) const;

  // ---- 3D view.
  void SetupView(const TView3DOptions& options, bool view3D);
  void CenterView(int totalDepth, const TRect& chartRect);
  TPoint Project3D(int x, int y, int z) const;
  // The same projection of an exact point, unrounded.
  TPointF Project3DExact(double x, double y, double z) const;
  TPoint Unproject3D(int x, int y, int z) const;
  void BeginFrontPlane();
  void EndFrontPlane();
  void LineAtDepth(TPoint p, TPoint q, int z);
  // One pie slice with depth: radial faces (when asked), top face, rim.
  // Angles in radians, a0 <= a1, rotation included; z1 is the top face. The
  // exact shape starts at exactFrom (at a0 when NaN).
  void DrawPieSlice3D(int cx, int cy, int rx, int ry, int z0, int z1, double a0, double a1,
                      bool darkSides, bool radialFaces, double exactFrom = std::nan(""));
  // The pixels of the top and bottom arc of DrawPieSlice3D with these values
  // when each arc lands on one pixel; nullopt when an arc spans more.
  std::optional<std::pair<TPoint, TPoint>> SliceArcPixels(int cx, int cy, int rx, int ry, int z0, int z1,
                                                          double a0, double a1) const;
  // Each channel lowered by `amount`, floored at 0.
  TColor DarkenColor(TColor color, int amount) const;

  bool Is3D() const { return is3D_; }
  bool IsOrthogonal() const { return orthogonal_; }
  double ZoomScale() const { return zoomScale_; }
  bool ZoomText() const { return zoomText_; }
  // Marks text grows with the zoom in 3D view when ZoomText is on.
  int ZoomedFontSize(int size) const;

  // Projection state, readable for tests and hit testing.
  double PerspectiveFactor() const { return perspectiveFactor_; }
  int ProjectionCenterX() const { return projectionCenterX_; }
  int ProjectionCenterY() const { return projectionCenterY_; }
  int DepthCenter() const { return depthCenter_; }
  int ScreenOriginX() const { return screenOriginX_; }
  int ScreenOriginY() const { return screenOriginY_; }
  struct Coefficients {
    double a11 = 1, a12 = 0, a13 = 0, a21 = 0, a22 = 1, a23 = 0, p1 = 0, p2 = 0, p3 = 0;
  };
  const Coefficients& Coefs() const { return coefs_; }

 private:
  enum Sync : unsigned { kPen = 1, kBrush = 2, kFont = 4, kBackMode = 8, kBackColor = 16, kAll = 31 };
  // Sends the parts of the state in `what` the device has not heard yet.
  bool Ready(unsigned what);
  void FillPolygon(const TPoint* points, int count) { Polygon(points, count); }
  // A point's projection before the screen origin is added.
  TPointF ProjectFromOrigin(double x, double y, double z) const;

  TDevice* device_ = nullptr;
  unsigned stale_ = kAll;
  TChartPen pen_;
  TChartBrush brush_;
  FontData font_;
  TBackMode backMode_ = bmTransparent;
  TColor backColor_ = clWhite;

  TView3DOptions view_;
  bool is3D_ = false;
  bool savedIs3D_ = false;
  bool orthogonal_ = false;
  bool zoomText_ = true;
  double zoomScale_ = 1.0;
  double perspectiveFactor_ = 0.0;
  int projectionCenterX_ = 0;
  int projectionCenterY_ = 0;
  int depthCenter_ = 0;
  int screenOriginX_ = 0;
  int screenOriginY_ = 0;
  Coefficients coefs_;
};

}  // namespace kd
