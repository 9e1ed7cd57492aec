#include "engine/PieDrawing.h"
#include "engine/TextHelpers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>

#include "engine/Canvas3D.h"
#include "engine/Marks.h"
#include "engine/PieSeries.h"

namespace kd {

namespace {


// Below this size a slice is not worth drawing.
constexpr int kMinPieSize = 5;

void ReserveMarksRoom(TPieSeries& series, const TPiePaintContext& context) {
  const TSeriesMarks& marks = series.Marks();
  TChartCanvas3D& canvas = *context.canvas;
  int room = marks.ArrowLength();
  if (marks.Frame().visible) room += 2 * marks.Frame().LayoutWidth();
  canvas.SetFont(marks.Font());
  TMarksMeasure& measure = series.Geometry().Marks;
  MeasureMarks(series, canvas, context.legendTextStyle, measure);
  const int widest =
      measure.widths.empty() ? 0 : *std::max_element(measure.widths.begin(), measure.widths.end());
  TRect& b = series.Geometry().PieBounds;
  b.top += room + measure.letter.height;
  b.bottom -= room + measure.letter.height;
  const int w = measure.letter.width + widest + room;
  b.left += w;
  b.right -= w;
  NormalizePieBounds(series);
}

// Pixel aspect of the display (1 on square pixels), from its size in pixels
// and in millimetres.
double PixelAspect(const TScreenInfo& screen) {
  if (screen.heightPixels == 0) return 1;
  double ratio = static_cast<double>(screen.widthPixels) / screen.heightPixels;
  if (screen.heightMillimetres != 0) {
    const double f = static_cast<double>(screen.widthMillimetres) / screen.heightMillimetres;
    if (f != 0) ratio /= f;
  }
  return ratio > 0 ? ratio : 1;
}

void ApplyCircledRatio(TPieSeries& series, const TPiePaintContext& context) {
  TDevice* device = context.canvas->Device();
  const double ratio = device ? PixelAspect(device->Screen()) : 1.0;
  ApplyRadii(series);
  TPieGeometry& g = series.Geometry();
  const int t = RoundEven(g.RadiusY * ratio);
  if (g.RadiusX > t) {
    const int d = g.RadiusX - t;
    g.PieBounds.left += d;
    g.PieBounds.right -= d;
  } else {
    const int d = g.RadiusY - RoundEven(g.RadiusX / ratio);
    g.PieBounds.top += d;
    g.PieBounds.bottom -= d;
  }
  NormalizePieBounds(series);
}

// The slice with the largest explode percentage (the first of equals), or -1.
int MostExploded(const TPieSeries& series) {
  int best = -1;
  int most = 0;
  for (int i = 0; i < series.SliceCount(); ++i) {
    const int p = series.ExplodedSlice(i);
    if (p > most) {
      most = p;
      best = i;
    }
  }
  return best;
}

TPoint Offset(TPoint p, int dx, int dy) { return TPoint{p.x + dx, p.y + dy}; }

// Where slice `index` puts its arc in 3D view when that is one pixel.
std::optional<std::pair<TPoint, TPoint>> ArcPixels(const TPieSeries& series, const TChartCanvas3D& canvas,
                                                   int index, TPoint offset) {
  const TPieGeometry& g = series.Geometry();
  const TSliceAngles& a = series.Angle(index);
  return canvas.SliceArcPixels(g.PieCenterX + offset.x, g.PieCenterY - offset.y, g.RadiusX, g.RadiusY,
                               g.DepthStart, g.DepthEnd, a.FromAngle + series.RotationRadians(),
                               a.ToAngle + series.RotationRadians());
}

// A 3D slice whose arc lands on one pixel is a few shapes (edges, a radial
// face) that depend on nothing but that pixel and the centre. When the slice
// drawn right after it lands on the same pixel from the same centre and
// fills what it covers, every pixel of the first is drawn again: it can go.
bool DrawnOverByNext(const TPieSeries& series, const TChartCanvas3D& canvas, int index, int next) {
  if (series.IsGrouped(index) || series.IsGrouped(next) || series.SliceColor(next) == clNone) return false;
  const TPoint offset = SliceExplodeOffset(series, index);
  if (offset != SliceExplodeOffset(series, next)) return false;
  const auto pixels = ArcPixels(series, canvas, index, offset);
  return pixels && pixels == ArcPixels(series, canvas, next, offset);
}

// Angle of (x, y) seen from (cx, cy) on an ellipse of half axes rx, ry,
// counter-clockwise from three o'clock, rotation taken off, in [0, 2pi).
double AngleFrom(const TPieSeries& series, int cx, int cy, int rx, int ry, int x, int y) {
  double a;
  if (x == cx)
    a = y > cy ? -kHalfPi : kHalfPi;
  else if (ry == 0)
    a = 0;
  else
    a = std::atan2(static_cast<double>(cy - y) / ry, static_cast<double>(x - cx) / rx);
  if (a < 0) a += kTwoPi;
  a -= series.RotationRadians();
  if (a < 0) a += kTwoPi;
  return a;
}

}  // namespace

TBrushStyle PatternForIndex(int index) {
  static constexpr TBrushStyle kPatterns[6] = {bsHorizontal, bsVertical, bsFDiagonal,
                                               bsBDiagonal,  bsCross,    bsDiagCross};
  const int slot = index % 6;
  return kPatterns[slot < 0 ? slot + 6 : slot];
}

TColor CircleBackground(const TPieSeries& series, TColor backWallColor, TColor panelColor) {
  if (series.CircleBackColor() != clDefault) return series.CircleBackColor();
  if (backWallColor != clDefault) return backWallColor;
  return panelColor;
}

// ------------------------------------------------------------ bounds

void NormalizePieBounds(TPieSeries& series) {
  TPieGeometry& g = series.Geometry();
  TRect& b = g.PieBounds;
  // Even sizes keep the centre on a whole pixel.
  if ((b.right - b.left) % 2 != 0) --b.right;
  if ((b.bottom - b.top) % 2 != 0) --b.bottom;
  if (b.right - b.left < 4) b.right = b.left + 4;
  if (b.bottom - b.top < 4) b.bottom = b.top + 4;
  g.PieWidth = b.right - b.left;
  g.PieHeight = b.bottom - b.top;
  g.PieCenterX = (b.left + b.right) / 2;
  g.PieCenterY = (b.top + b.bottom) / 2;
}

void ApplyRadii(TPieSeries& series) {
  TPieGeometry& g = series.Geometry();
  if (series.CustomXRadius() != 0) {
    g.RadiusX = series.CustomXRadius();
    g.PieWidth = 2 * series.CustomXRadius();
  } else {
    g.RadiusX = g.PieWidth / 2;
  }
  if (series.CustomYRadius() != 0) {
    g.RadiusY = series.CustomYRadius();
    g.PieHeight = 2 * series.CustomYRadius();
  } else {
    g.RadiusY = g.PieHeight / 2;
  }
  g.PieBounds = MakeRect(g.PieCenterX - g.RadiusX, g.PieCenterY - g.RadiusY,
                         g.PieCenterX + g.RadiusX, g.PieCenterY + g.RadiusY);
}

void PreparePieBounds(TPieSeries& series, const TPiePaintContext& context) {
  TPieGeometry& g = series.Geometry();
  g.PieBounds = context.chartRect;
  g.DepthStart = 0;
  g.DepthEnd = context.seriesDepth;
  g.Marks.valid = false;
  NormalizePieBounds(series);
  if (series.Marks().Visible() && context.canvas) ReserveMarksRoom(series, context);
  if (series.Circled() && context.canvas) ApplyCircledRatio(series, context);
  ApplyRadii(series);
}

// ------------------------------------------------------------ angles and points

TPoint SliceAngleToPoint(const TPieSeries& series, double angle, int rx, int ry) {
  const TPieGeometry& g = series.Geometry();
  const double a = angle + series.RotationRadians();
  return TPoint{g.PieCenterX + RoundEven(rx * std::cos(a)), g.PieCenterY - RoundEven(ry * std::sin(a))};
}

double PointToSliceAngle(const TPieSeries& series, int x, int y) {
  const TPieGeometry& g = series.Geometry();
  return AngleFrom(series, g.PieCenterX, g.PieCenterY, g.RadiusX, g.RadiusY, x, y);
}

TPoint SliceExplodeOffset(const TPieSeries& series, int index) {
  const TPieGeometry& g = series.Geometry();
  const int p = series.ExplodedSlice(index);
  if (!g.HasExploded || p <= 0 || index >= static_cast<int>(series.Angles().size())) return TPoint{};
  const double a = series.Angle(index).MidAngle + series.RotationRadians();
  return TPoint{RoundEven(std::cos(a) * g.RadiusX * p / 100.0),
                RoundEven(std::sin(a) * g.RadiusY * p / 100.0)};
}

TPoint ExplodedRadii(const TPieSeries& series, int index) {
  const TPieGeometry& g = series.Geometry();
  const double factor = 1 + series.ExplodedSlice(index) * 0.01;
  return TPoint{RoundEven(g.RadiusX * factor), RoundEven(g.RadiusY * factor)};
}

double SliceDepthKey(const TPieSeries& series, int index) {
  double a = series.Angle(index).MidAngle + series.RotationRadians();
  if (a > kTwoPi) a -= kTwoPi;
  if (a <= kHalfPi) return kHalfPi - a;
  const double b = a - kHalfPi;
  return b <= kPi ? b : kTwoPi - b;
}

// ------------------------------------------------------------ slices

void DrawSlices(TPieSeries& series, const TPiePaintContext& context) {
  if (series.ExplodeBiggest() > 0) series.UpdateExplodeBiggest();
  TPieGeometry& g = series.Geometry();
  const int exploded = MostExploded(series);
  g.HasExploded = exploded != -1;
  series.ComputeSliceAngles();

  if (g.HasExploded) {
    // Shrink the pie so that the slice pulled out furthest still fits.
    const TPoint o = SliceExplodeOffset(series, exploded);
    g.PieBounds.left += std::abs(o.x) / 2;
    g.PieBounds.right -= std::abs(o.x) / 2;
    g.PieBounds.top += std::abs(o.y) / 2;
    g.PieBounds.bottom -= std::abs(o.y) / 2;
    NormalizePieBounds(series);
    ApplyRadii(series);
  }
  g.ArcCursor = SliceAngleToPoint(series, 0, g.RadiusX, g.RadiusY);
  g.ArcCursorAngle = series.RotationRadians();

  const int n = series.SliceCount();
  g.DrawOrder.resize(n);
  for (int i = 0; i < n; ++i) g.DrawOrder[i] = i;
  const bool view3D = context.canvas && context.canvas->Is3D();
  if (view3D && g.HasExploded) {
    // A pulled-out slice may overlap its neighbours: paint from the back of
    // the pie to the front. Any slice count works; equal keys keep slice order.
    std::stable_sort(g.DrawOrder.begin(), g.DrawOrder.end(), [&series](int a, int b) {
      return SliceDepthKey(series, a) < SliceDepthKey(series, b);
    });
  }
  // Where the exact shape of the next slice starts when the slices before
  // it were left to it: at the first of them, or a sliver would open there.
  double exactFrom = std::nan("");
  for (size_t k = 0; k < g.DrawOrder.size(); ++k) {
    const int i = g.DrawOrder[k];
    // Like the flat pie, the 3D pie leaves a slice narrower than a pixel to
    // the next one, when that draws over all of it.
    if (view3D && k + 1 < g.DrawOrder.size() && DrawnOverByNext(series, *context.canvas, i, g.DrawOrder[k + 1])) {
      if (g.DrawOrder[k + 1] != i + 1) exactFrom = std::nan("");
      else if (std::isnan(exactFrom)) exactFrom = series.Angle(i).FromAngle;
      continue;
    }
    DrawSlice(series, context, i, exactFrom);
    exactFrom = std::nan("");
  }
}

void DrawSlice(TPieSeries& series, const TPiePaintContext& context, int index, double exactFrom) {
  TPieGeometry& g = series.Geometry();
  if (g.PieWidth < kMinPieSize || g.PieHeight < kMinPieSize) return;
  if (series.IsGrouped(index) || !context.canvas) return;
  TChartCanvas3D& canvas = *context.canvas;

  const TColor background = CircleBackground(series, context.backWallColor, context.panelColor);
  const TColor color = series.SliceColor(index);
  if (color == clNone) {
    // A null slice keeps its room in the pie but shows only its outline.
    canvas.SetBrush(TChartBrush{background, bsClear});
    canvas.SetBackMode(bmTransparent);
  } else {
    canvas.SetSliceBrush(color, series.SliceBrushStyle(index), background);
  }
  canvas.SetPen(series.PiePen());

  const TPoint o = SliceExplodeOffset(series, index);
  const TSliceAngles& a = series.Angle(index);
  if (canvas.Is3D()) {
    const double rotation = series.RotationRadians();
    canvas.DrawPieSlice3D(g.PieCenterX + o.x, g.PieCenterY - o.y, g.RadiusX, g.RadiusY, g.DepthStart,
                          g.DepthEnd, a.FromAngle + rotation, a.ToAngle + rotation, series.Dark3D(), g.HasExploded,
                          (std::isnan(exactFrom) ? a.FromAngle : exactFrom) + rotation);
    return;
  }

  const TPoint end = SliceAngleToPoint(series, a.ToAngle, g.RadiusX, g.RadiusY);
  const TRect bounds = MakeRect(g.PieBounds.left + o.x, g.PieBounds.top - o.y, g.PieBounds.right + o.x,
                                g.PieBounds.bottom - o.y);
  const double endAngle = a.ToAngle + series.RotationRadians();
  // A slice narrower than a pixel is left to the next one, which starts at
  // the same cursor and covers it. The last one has none: a smooth device
  // still needs its sliver, or the pie would not close.
  const int n = series.SliceCount();
  if (end == g.ArcCursor && n != 1 && !(n > 1 && a.ToAngle - a.FromAngle > 1.0)) {
    if (index == n - 1) canvas.PieExactOnly(bounds, g.ArcCursorAngle, endAngle);
    return;
  }
  canvas.PieExact(bounds, Offset(g.ArcCursor, o.x, -o.y), Offset(end, o.x, -o.y), g.ArcCursorAngle,
                  endAngle);
  g.ArcCursor = end;
  g.ArcCursorAngle = endAngle;
}

// ------------------------------------------------------------ hit test

int SliceAtPoint(const TPieSeries& series, const TChartCanvas3D& canvas, int x, int y) {
  const TPieGeometry& g = series.Geometry();
  if (g.RadiusX <= 0 || g.RadiusY <= 0) return -1;
  const TPoint p = canvas.Unproject3D(x, y, 0);
  const int n = std::min(series.SliceCount(), static_cast<int>(series.Angles().size()));
  for (int i = 0; i < n; ++i) {
    if (series.IsGrouped(i)) continue;
    // A pulled-out slice is tested around its own, moved centre, and only
    // inside the ellipse: the corners of its bounding box are not the slice.
    const TPoint o = SliceExplodeOffset(series, i);
    const int cx = g.PieCenterX + o.x;
    const int cy = g.PieCenterY - o.y;
    const double dx = static_cast<double>(p.x - cx) / g.RadiusX;
    const double dy = static_cast<double>(p.y - cy) / g.RadiusY;
    if (dx * dx + dy * dy > 1.0) continue;
    const double a = AngleFrom(series, cx, cy, g.RadiusX, g.RadiusY, p.x, p.y);
    const TSliceAngles& s = series.Angle(i);
    if (s.FromAngle <= a && a <= s.ToAngle && s.FromAngle < s.ToAngle) return i;
  }
  return -1;
}

}  // namespace kd
