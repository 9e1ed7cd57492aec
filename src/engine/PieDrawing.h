// Drawing the pie series: fitting the pie ellipse into the chart rectangle
// (room for marks, round shape, exploded slices), the slices as flat sectors
// or 3D slices, back to front when a slice is pulled out, and the conversions
// between slice angles and screen points.
#pragma once

#include <cmath>

#include "engine/Color.h"
#include "engine/Device.h"
#include "engine/Geometry.h"
#include "engine/Legend.h"

namespace kd {

class TChartCanvas3D;
class TPieSeries;

// What one paint of the pie needs from its panel.
struct TPiePaintContext {
  TChartCanvas3D* canvas = nullptr;
  TRect chartRect;                 // what title, foot and legend left over
  TColor panelColor = clWhite;
  TColor backWallColor = clDefault;
  int seriesDepth = 0;             // 0 in flat view
  TLegendTextStyle legendTextStyle = ltsLeftValue;  // for the smsLegend marks
};

// Hatch of slice `index` when patterns are on: six styles in turn.
TBrushStyle PatternForIndex(int index);

// Background behind hatched slices: the series' CircleBackColor, else the
// back wall's colour, else the panel's.
TColor CircleBackground(const TPieSeries& series, TColor backWallColor, TColor panelColor);

// ---- Geometry of the current paint (the series' Geometry()).
void NormalizePieBounds(TPieSeries& series);
void ApplyRadii(TPieSeries& series);
void PreparePieBounds(TPieSeries& series, const TPiePaintContext& context);

// Point at `angle` (radians, rotation added here) on the ellipse with half
// axes rx, ry around the pie centre.
TPoint SliceAngleToPoint(const TPieSeries& series, double angle, int rx, int ry);
// Angle of a screen point seen from the pie centre, rotation taken off, in [0, 2pi).
double PointToSliceAngle(const TPieSeries& series, int x, int y);
// How far slice `index` is pulled out: (ox, oy) with y upwards; the screen
// position moves by (ox, -oy).
TPoint SliceExplodeOffset(const TPieSeries& series, int index);
// Radii reaching the rim of a pulled-out slice.
TPoint ExplodedRadii(const TPieSeries& series, int index);

// Distance of a slice's middle from the back of the pie, 0..pi.
double SliceDepthKey(const TPieSeries& series, int index);

// Draws every slice; refreshes ExplodeBiggest and the angle table first.
// The order used is left in the series' Geometry().DrawOrder. In 3D view a
// slice whose arc lands on the pixel of the next one drawn is left to it.
void DrawSlices(TPieSeries& series, const TPiePaintContext& context);
// exactFrom: where a smooth device's shape of a 3D slice starts, when the
// slices before it were left to it (NaN: at its own start).
void DrawSlice(TPieSeries& series, const TPiePaintContext& context, int index, double exactFrom = std::nan(""));

// Slice under a screen point of the last paint, or -1.
int SliceAtPoint(const TPieSeries& series, const TChartCanvas3D& canvas, int x, int y);

}  // namespace kd
