// A pie series painted onto a recording device without a panel: the canvas
// is set up as the panel would for a chart rectangle, flat or in the pie's 3D
// view, and the paint steps run in the panel's order.
#pragma once

#include "engine/Canvas3D.h"
#include "engine/Marks.h"
#include "engine/PieDrawing.h"
#include "engine/PieSeries.h"
#include "support/RecordingDevice.h"

namespace kd::test {

struct PieScene {
  explicit PieScene(const TRect& chartRect, bool view3D = false, int depth = 0) {
    canvas.SetDevice(&device);
    TView3DOptions view;
    view.Orthogonal = false;
    view.Rotation = 360;
    view.Elevation = 315;
    view.Perspective = 0;
    canvas.SetupView(view, view3D);
    canvas.CenterView(depth, chartRect);
    context.canvas = &canvas;
    context.chartRect = chartRect;
    context.panelColor = clWhite;
    context.backWallColor = clWhite;
    context.seriesDepth = view3D ? depth : 0;
  }

  void PaintSlices() {
    series.GroupSmallSlices();
    PreparePieBounds(series, context);
    DrawSlices(series, context);
  }
  void Paint() {
    PaintSlices();
    DrawAllMarks(series, context);
  }
  const TPieGeometry& Geometry() const { return series.Geometry(); }

  RecordingDevice device;
  TChartCanvas3D canvas;
  TPieSeries series;
  TPiePaintContext context;
};

}  // namespace kd::test
