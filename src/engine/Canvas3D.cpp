#include "engine/Canvas3D.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace kd {

namespace {

constexpr double kDegToRad = kPi / 180.0;
// Keeps the inverse projection from dividing by zero at edge-on views.
constexpr double kMinCoefficient = 0.00001;
constexpr double kPerspectiveDivisor = 35000.0;
// One arc point per this many degrees of a 3D slice.
constexpr double kDegreesPerArcPoint = 10.0;

}  // namespace

// ---------------------------------------------------------------- state

void TChartCanvas3D::SetDevice(TDevice* device) {
  device_ = device;
  stale_ = kAll;
}

void TChartCanvas3D::SetPen(const TChartPen& pen) {
  if (pen == pen_) return;
  pen_ = pen;
  stale_ |= kPen;
}

void TChartCanvas3D::SetBrush(const TChartBrush& brush) {
  if (brush == brush_) return;
  brush_ = brush;
  stale_ |= kBrush;
}

void TChartCanvas3D::SetFont(const FontData& font) {
  if (font == font_) return;
  font_ = font;
  stale_ |= kFont;
}

void TChartCanvas3D::SetBackMode(TBackMode mode) {
  if (mode == backMode_) return;
  backMode_ = mode;
  stale_ |= kBackMode;
}

void TChartCanvas3D::SetBackColor(TColor color) {
  if (color == backColor_) return;
  backColor_ = color;
  stale_ |= kBackColor;
}

void TChartCanvas3D::SetSliceBrush(TColor color, TBrushStyle style, TColor background) {
  const bool hatched = style != bsSolid && style != bsClear;
  // A hatch in the colour of its own background would vanish.
  if (style != bsSolid && color == background)
    color = background == clBlack ? clWhite : clBlack;
  SetBrush(TChartBrush{color, style});
  if (hatched) {
    SetBackMode(bmOpaque);
    SetBackColor(background);
  } else {
    SetBackMode(bmTransparent);
  }
}

bool TChartCanvas3D::Ready(unsigned what) {
  if (!device_) return false;
  const unsigned send = stale_ & what;
  if (send & kPen) device_->SetPen(pen_);
  if (send & kBrush) device_->SetBrush(brush_);
  if (send & kFont) device_->SetFont(font_);
  if (send & kBackMode) device_->SetBackMode(backMode_);
  if (send & kBackColor) device_->SetBackColor(backColor_);
  stale_ &= ~send;
  return true;
}

// ---------------------------------------------------------------- flat primitives

namespace {
constexpr unsigned kShapeState = 1 | 2 | 8 | 16;  // pen, brush, back mode and colour
}

int TChartCanvas3D::TextWidth(const std::string& text) {
  return Ready(kFont) ? device_->TextWidth(text) : 0;
}

int TChartCanvas3D::TextHeight(const std::string& text) {
  return Ready(kFont) ? device_->TextHeight(text) : 0;
}

void TChartCanvas3D::TextOut(int x, int y, const std::string& text, TAlignment align) {
  if (Ready(kFont | kBackMode | kBackColor)) device_->TextOut(x, y, text, align);
}

void TChartCanvas3D::Line(int x0, int y0, int x1, int y1) {
  if (Ready(kPen | kBackMode | kBackColor)) device_->Line(x0, y0, x1, y1);
}

void TChartCanvas3D::Rectangle(const TRect& rect) {
  if (Ready(kShapeState)) device_->Rectangle(rect);
}

void TChartCanvas3D::FillRect(const TRect& rect) {
  if (Ready(kBrush | kBackMode | kBackColor)) device_->FillRect(rect);
}

void TChartCanvas3D::Polygon(const TPoint* points, int count) {
  if (Ready(kShapeState)) device_->Polygon(points, count);
}

void TChartCanvas3D::Ellipse(const TRect& bounds) {
  if (Ready(kShapeState)) device_->Ellipse(bounds);
}

void TChartCanvas3D::Pie(const TRect& bounds, TPoint start, TPoint end) {
  if (Ready(kShapeState)) device_->Pie(bounds, start, end);
}

void TChartCanvas3D::PolygonExact(const TPoint* points, const TPointF* exact, int count) {
  if (Ready(kShapeState)) device_->PolygonExact(points, exact, count);
}

void TChartCanvas3D::PieExact(const TRect& bounds, TPoint start, TPoint end, double fromAngle,
                              double toAngle) {
  if (Ready(kShapeState)) device_->PieExact(bounds, start, end, fromAngle, toAngle);
}

void TChartCanvas3D::PieExactOnly(const TRect& bounds, double fromAngle, double toAngle) {
  if (Ready(kShapeState)) device_->PieExactOnly(bounds, fromAngle, toAngle);
}

void TChartCanvas3D::DrawPicture(const TPicture& picture, const TRect& dest) {
  if (device_) device_->DrawPicture(picture, dest);
}

void TChartCanvas3D::ClipRectangle(const TRect& rect) {
  if (device_) device_->SetClipRect(rect);
}

void TChartCanvas3D::UnClipRectangle() {
  if (device_) device_->ClearClip();
}

void TChartCanvas3D::GradientFill(const TRect& rect, TColor from, TColor to,
                                  TGradientDirection direction) {
  if (!Ready(kBackMode | kBackColor)) return;
  FillGradient(*device_, rect, from, to, direction);
  // The fill selected brushes of its own; ours goes back before the next use.
  stale_ |= kBrush;
}

TColor TChartCanvas3D::ResolveColor(TColor color) const {
  if (!IsSystemColor(color)) return color;
  return device_ ? device_->ResolveColor(color) : clBlack;
}

// ---------------------------------------------------------------- 3D view

void TChartCanvas3D::SetupView(const TView3DOptions& options, bool view3D) {
  view_ = options;
  is3D_ = view3D;
  orthogonal_ = view3D && options.Orthogonal;
  zoomText_ = options.ZoomText;
  zoomScale_ = 1.0;
  if (!view3D) return;
  zoomScale_ = options.Zoom * 0.01;
  if (orthogonal_) return;

  const double r = options.Rotation * kDegToRad;
  const double e = options.Elevation * kDegToRad;
  const double t = options.Tilt * kDegToRad;
  const double sr = std::sin(r), cr = std::cos(r);
  const double se = std::sin(e), ce = std::cos(e);
  const double st = std::sin(t), ct = std::cos(t);
  coefs_.a11 = std::max(sr * se * st + cr * ct, kMinCoefficient);
  coefs_.a12 = ce * st;
  coefs_.a13 = cr * se * st - ct * sr;
  coefs_.a21 = ct * sr * se - cr * st;
  coefs_.a22 = std::max(ce * ct, kMinCoefficient);
  coefs_.a23 = cr * ct * se + sr * st;
  coefs_.p1 = ce * sr;
  coefs_.p2 = se;
  coefs_.p3 = cr * ce;
  perspectiveFactor_ = 0.0;
}

void TChartCanvas3D::CenterView(int totalDepth, const TRect& chartRect) {
  projectionCenterX_ = (chartRect.left + chartRect.right) / 2;
  projectionCenterY_ = (chartRect.top + chartRect.bottom) / 2;
  depthCenter_ = totalDepth / 2;
  screenOriginX_ = projectionCenterX_ + view_.HorizOffset;
  screenOriginY_ = projectionCenterY_ + view_.VertOffset;
  if (view_.Perspective > 0) perspectiveFactor_ = view_.Perspective / kPerspectiveDivisor;
}

TPointF TChartCanvas3D::ProjectFromOrigin(double x, double y, double z) const {
  if (orthogonal_)
    return TPointF{zoomScale_ * (x + z - projectionCenterX_), zoomScale_ * (y - projectionCenterY_ - z)};
  const double dx = x - projectionCenterX_;
  const double dy = y - projectionCenterY_;
  const double dz = z - depthCenter_;
  double f = zoomScale_;
  if (perspectiveFactor_ > 0)
    f = zoomScale_ * (1 - perspectiveFactor_ * (dx * coefs_.p1 - dy * coefs_.p2 + dz * coefs_.p3));
  return TPointF{(dx * coefs_.a11 + dy * coefs_.a12 + dz * coefs_.a13) * f,
                 (dx * coefs_.a21 + dy * coefs_.a22 + dz * coefs_.a23) * f};
}

TPoint TChartCanvas3D::Project3D(int x, int y, int z) const {
  if (!is3D_) return TPoint{x, y};
  // Rounded before the origin is added: an odd origin would turn a half the
  // other way.
  const TPointF p = ProjectFromOrigin(x, y, z);
  return TPoint{RoundEven(p.x) + screenOriginX_, RoundEven(p.y) + screenOriginY_};
}

TPointF TChartCanvas3D::Project3DExact(double x, double y, double z) const {
  if (!is3D_) return TPointF{x, y};
  const TPointF p = ProjectFromOrigin(x, y, z);
  return TPointF{p.x + screenOriginX_, p.y + screenOriginY_};
}

TPoint TChartCanvas3D::Unproject3D(int x, int y, int z) const {
  if (zoomScale_ == 0) return TPoint{x, y};
  const double k = 1.0 / zoomScale_;
  if (orthogonal_) {
    return TPoint{RoundEven((x - screenOriginX_) * k) - z + projectionCenterX_,
                  RoundEven((y - screenOriginY_) * k) + z + projectionCenterY_};
  }
  if (!is3D_ || coefs_.a11 == 0 || coefs_.a22 == 0) return TPoint{x, y};
  const double dz = z - depthCenter_;
  const double ux =
      ((x - screenOriginX_) * k - dz * coefs_.a13 - (y - projectionCenterY_) * coefs_.a12) / coefs_.a11;
  const double uy =
      ((y - screenOriginY_) * k - dz * coefs_.a23 - (x - projectionCenterX_) * coefs_.a21) / coefs_.a22;
  return TPoint{RoundEven(ux) + projectionCenterX_, RoundEven(uy) + projectionCenterY_};
}

void TChartCanvas3D::BeginFrontPlane() {
  savedIs3D_ = is3D_;
  is3D_ = false;
}

void TChartCanvas3D::EndFrontPlane() { is3D_ = savedIs3D_; }

void TChartCanvas3D::LineAtDepth(TPoint p, TPoint q, int z) {
  const TPoint a = Project3D(p.x, p.y, z);
  const TPoint b = Project3D(q.x, q.y, z);
  Line(a.x, a.y, b.x, b.y);
}

int TChartCanvas3D::ZoomedFontSize(int size) const {
  if (!is3D_ || !zoomText_) return size;
  return std::max(1, RoundEven(size * view_.Zoom / 100.0));
}

TColor TChartCanvas3D::DarkenColor(TColor color, int amount) const {
  const TColor rgb = ResolveColor(color);
  auto channel = [amount](int c) { return amount >= c ? 0 : c - amount; };
  return RGBColor(channel(RedOf(rgb)), channel(GreenOf(rgb)), channel(BlueOf(rgb)));
}

namespace {

// Arc points of a 3D slice: one per 10 degrees, at least 2, at most 32.
int ArcPointCount(double a0, double a1) {
  return std::min(30, RoundEven(std::fabs(a1 - a0) / kDegToRad / kDegreesPerArcPoint)) + 2;
}

TPoint ArcPoint(int cx, int cy, int rx, int ry, double angle) {
  return TPoint{cx + RoundEven(rx * std::cos(angle)), cy - RoundEven(ry * std::sin(angle))};
}

// The runs of arc points (1-based, first to last) whose rim shows: where
// the top arc runs left to right. At most two.
struct RimRuns {
  int count = 0;
  std::array<std::pair<int, int>, 2> runs{};
  bool operator==(const RimRuns& o) const {
    return count == o.count && std::equal(runs.begin(), runs.begin() + count, o.runs.begin());
  }
  bool operator!=(const RimRuns& o) const { return !(*this == o); }
  void Add(int s, int e) { runs[count++] = {s, e}; }
};

template <class Points>
RimRuns VisibleRim(const Points& top, int n) {
  RimRuns rim;
  int k = 2;
  while (k <= n && top[k].x <= top[k - 1].x) ++k;
  if (k > n) return rim;
  const int s = k - 1;
  int e = 0;
  for (int j = k + 1; j <= n - 1; ++j) {
    if (top[j].x < top[j - 1].x) {
      e = j;
      break;
    }
  }
  if (e == 0 && top[n].x >= top[n - 1].x) e = n;
  if (e != 0) {
    rim.Add(s, e);
  } else if (n - 1 > s) {
    // The run rises up to the second last point and turns at the last:
    // its visible part still gets its rim.
    rim.Add(s, n - 1);
  }
  if (e != n && top[n].x > top[n - 1].x) {
    int s2 = n - 1;
    while (s2 > 1 && top[s2].x > top[s2 - 1].x) --s2;
    if (s2 > 1) rim.Add(s2, n);
  }
  return rim;
}

}  // namespace

std::optional<std::pair<TPoint, TPoint>> TChartCanvas3D::SliceArcPixels(int cx, int cy, int rx, int ry,
                                                                         int z0, int z1, double a0,
                                                                         double a1) const {
  if (ArcPointCount(a0, a1) != 2) return std::nullopt;
  const TPoint p = ArcPoint(cx, cy, rx, ry, a0);
  const TPoint q = ArcPoint(cx, cy, rx, ry, a1);
  const TPoint top = Project3D(p.x, p.y, z1), bottom = Project3D(p.x, p.y, z0);
  if (top != Project3D(q.x, q.y, z1) || bottom != Project3D(q.x, q.y, z0)) return std::nullopt;
  return std::make_pair(top, bottom);
}

void TChartCanvas3D::DrawPieSlice3D(int cx, int cy, int rx, int ry, int z0, int z1, double a0,
                                    double a1, bool darkSides, bool radialFaces, double exactFrom) {
  // Fixed arrays: a frame of many slices allocates nothing here. Each point
  // is kept rounded (pixel devices) and exact (smooth ones); the rim's
  // visible runs are found on the rounded ones, so both draw the same faces.
  const int n = ArcPointCount(a0, a1);
  std::array<TPoint, kMaxArcPoints + 1> top;     // 1-based: top[1..n]
  std::array<TPoint, kMaxArcPoints + 1> bottom;
  std::array<TPointF, kMaxArcPoints + 1> topExact, bottomExact;
  std::array<TPoint, 2 * kMaxArcPoints + 1> poly;
  std::array<TPointF, 2 * kMaxArcPoints + 1> polyExact;

  const TPoint c1 = Project3D(cx, cy, z1);
  const TPointF c1Exact = Project3DExact(cx, cy, z1);
  const double step = (a1 - a0) / (n - 1);
  if (std::isnan(exactFrom)) exactFrom = a0;
  const double exactStep = (a1 - exactFrom) / (n - 1);
  for (int k = 1; k <= n; ++k) {
    const double angle = a0 + (k - 1) * step;
    const TPoint p = ArcPoint(cx, cy, rx, ry, angle);
    top[k] = Project3D(p.x, p.y, z1);
    bottom[k] = Project3D(p.x, p.y, z0);
    // The last point at a1 itself: the next slice's first, to the last bit.
    const double exactAngle = k == n ? a1 : exactFrom + (k - 1) * exactStep;
    const double x = cx + rx * std::cos(exactAngle), y = cy - ry * std::sin(exactAngle);
    topExact[k] = Project3DExact(x, y, z1);
    bottomExact[k] = Project3DExact(x, y, z0);
  }

  // Hatched slices keep their hatch lines and darken the gaps behind them.
  const bool hatched = brush_.style != bsSolid && brush_.style != bsClear;
  const TColor base = hatched ? backColor_ : brush_.color;
  auto useColor = [&](TColor color) {
    if (hatched)
      SetBackColor(color);
    else
      SetBrush(TChartBrush{color, brush_.style});
  };
  const TColor sideColor = darkSides ? DarkenColor(base, kDarkSideAmount) : base;

  if (radialFaces) {
    const TPoint c0 = Project3D(cx, cy, z0);
    const TPointF c0Exact = Project3DExact(cx, cy, z0);
    for (const int k : {n, 1}) {
      if (k == n ? top[n].x >= cx : top[1].x <= cx) continue;
      useColor(sideColor);
      const TPoint face[4] = {c1, top[k], bottom[k], c0};
      const TPointF faceExact[4] = {c1Exact, topExact[k], bottomExact[k], c0Exact};
      PolygonExact(face, faceExact, 4);
    }
  }

  useColor(base);
  poly[0] = c1;
  polyExact[0] = c1Exact;
  for (int k = 1; k <= n; ++k) poly[k] = top[k], polyExact[k] = topExact[k];
  PolygonExact(poly.data(), polyExact.data(), n + 1);

  auto band = [&](int s, int e, bool rounded, bool exact) {
    int count = 0;
    for (int k = s; k <= e; ++k, ++count) poly[count] = top[k], polyExact[count] = topExact[k];
    for (int k = e; k >= s; --k, ++count) poly[count] = bottom[k], polyExact[count] = bottomExact[k];
    useColor(sideColor);
    PolygonExact(rounded ? poly.data() : nullptr, exact ? polyExact.data() : nullptr, count);
  };
  // Rounded points may stand still where the exact ones still move (at the
  // pie's sides): each shape gets the rim its own points show.
  const RimRuns rounded = VisibleRim(top, n), exact = VisibleRim(topExact, n);
  for (int i = 0; i < rounded.count; ++i)
    band(rounded.runs[i].first, rounded.runs[i].second, true, rounded == exact);
  if (rounded != exact)
    for (int i = 0; i < exact.count; ++i) band(exact.runs[i].first, exact.runs[i].second, false, true);
  useColor(base);
}

}  // namespace kd
