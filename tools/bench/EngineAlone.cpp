// bench_EngineAlone: the chart engine's own cost per frame, drawn onto a
// device that draws nothing (fixed text metrics, no GDI call). Beside
// bench_ChartPaint it splits a frame's time between our code and the
// platform's drawing; run in both builds it shows what the compiler's
// floating point does to the engine.
// Not a test: nothing here passes or fails.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "engine/Chart.h"
#include "engine/PieSeries.h"

using namespace kd;
using kdbench::FastestMs;

namespace {

// Counts what it is asked to draw and draws nothing.
class NullDevice : public TDevice {
 public:
  long calls = 0;
  void SetPen(const TChartPen&) override { ++calls; }
  void SetBrush(const TChartBrush&) override { ++calls; }
  void SetFont(const FontData&) override { ++calls; }
  void SetBackMode(TBackMode) override { ++calls; }
  void SetBackColor(TColor) override { ++calls; }
  int TextWidth(const std::string& text) override { return 7 * static_cast<int>(text.size()); }
  int TextHeight(const std::string&) override { return 13; }
  void TextOut(int, int, const std::string&, TAlignment) override { ++calls; }
  void Line(int, int, int, int) override { ++calls; }
  void Polyline(const TPoint*, int) override { ++calls; }
  void Rectangle(const TRect&) override { ++calls; }
  void FillRect(const TRect&) override { ++calls; }
  void Polygon(const TPoint*, int) override { ++calls; }
  void Ellipse(const TRect&) override { ++calls; }
  void Pie(const TRect&, TPoint, TPoint) override { ++calls; }
  void DrawPicture(const TPicture&, const TRect&) override { ++calls; }
  void SetClipRect(const TRect&) override { ++calls; }
  void ClearClip() override { ++calls; }
  std::unique_ptr<TOffscreenImage> CreateOffscreen(int, int, bool) override { return nullptr; }
  TColor ResolveColor(TColor color) const override { return color & 0xFFFFFF; }
  TScreenInfo Screen() const override { return TScreenInfo{1280, 1024, 338, 270}; }
};

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  std::printf("Engine alone: one frame of an 800 x 600 chart (marks, legend, gdFromCenter gradient)\n");
  std::printf("onto a device that draws nothing, fastest of %d\n", runs);
  std::printf("  %8s  %12s  %12s  %12s\n", "slices", "flat ms", "3D ms", "device calls");
  NullDevice device;
  for (int slices : {1, 100, 1000, 10000}) {
    double ms[2];
    long calls = 0;
    for (int view3D = 0; view3D < 2; ++view3D) {
      TChart chart;
      TPieSeries series;
      ApplyChartWindowDesign(chart);
      chart.AddSeries(&series);
      series.Marks().SetVisible(true);
      chart.Legend().SetVisible(true);
      chart.Gradient().SetVisible(true);
      chart.Gradient().SetDirection(gdFromCenter);
      chart.SetView3D(view3D != 0);
      for (int i = 0; i < slices; ++i) series.AddSlice(1 + i % 7, "Slice " + std::to_string(i + 1));
      const long before = device.calls;
      chart.Draw(device, MakeRect(0, 0, 800, 600));
      calls = device.calls - before;
      ms[view3D] = FastestMs(runs, [&] {
        chart.Invalidate();
        chart.Draw(device, MakeRect(0, 0, 800, 600));
      });
      chart.RemoveSeries(&series);
    }
    std::printf("  %8d  %12.3f  %12.3f  %12ld\n", slices, ms[0], ms[1], calls);
  }
  return 0;
}
