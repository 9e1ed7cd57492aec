// The chart every frame benchmark paints: the chart window's design with
// marks (arrows of 8), legend and a gdFromCenter gradient, `slices` slices of
// seven sizes. Shared by the Windows benchmarks and the native cairo
// yardstick, so both time the very same chart. Portable: engine only.
#pragma once

#include <string>

#include "engine/Chart.h"
#include "engine/PieSeries.h"

namespace kdbench {

struct BenchChart {
  kd::TChart chart;
  kd::TPieSeries series;
  BenchChart(int slices, bool view3D) {
    kd::ApplyChartWindowDesign(chart);
    chart.AddSeries(&series);
    series.Marks().SetVisible(true);
    series.Marks().SetArrowLength(8);
    chart.Legend().SetVisible(true);
    chart.Gradient().SetVisible(true);
    chart.Gradient().SetDirection(kd::gdFromCenter);
    chart.SetView3D(view3D);
    for (int i = 0; i < slices; ++i) series.AddSlice(1 + i % 7, "Slice " + std::to_string(i + 1));
  }
  ~BenchChart() { chart.RemoveSeries(&series); }
};

}  // namespace kdbench
