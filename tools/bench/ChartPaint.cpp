// bench_ChartPaint: paint times of the chart engine on the GDI device under the
// real platform (or Wine). Prints medians of several runs as tables:
//   - a full repaint of an 800 x 600 chart into its off-screen image (and the
//     copy to the window image) for 1 to 10,000 slices, flat and 3D, with marks,
//     legend and a gdFromCenter gradient, beside the figures aimed at;
//   - the panel background alone, unchanged and with new colours every paint;
//   - the BMP export of a 1920 x 1080 chart;
//   - one elliptic sector with GDI's Pie against the device's polygon;
//   - a 380 x 400 3D chart with marks whose slice outline, marks frame and
//     arrow are ever wider, up to 2^31-1 ("wide" alone runs only this table).
// Not a test: nothing here passes or fails.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "BenchChart.h"
#include "engine/Chart.h"
#include "engine/PieSeries.h"
#include "platform/BitmapFile.h"
#include "platform/GdiDevice.h"

using namespace kd;
using kdbench::BenchChart;
using namespace kd::platform;
using kdbench::MedianMs;

namespace {

// Prints a time and, when there is one, the most it should take.
void PrintFigure(double ms, double target) {
  if (target > 0)
    std::printf("  %8.2f (<= %5.2f)", ms, target);
  else
    std::printf("  %8.2f %10s", ms, "");
}

void PaintTable(int runs) {
  const int width = 800, height = 600;
  auto window = GdiOffscreenImage::Create(width, height, false);
  std::printf("Full repaint of an %d x %d chart (marks, legend, gdFromCenter gradient), median of %d\n",
              width, height, runs);
  std::printf("  %8s  %19s  %19s\n", "slices", "flat ms (target)", "3D ms (target)");
  struct Row {
    int slices;
    double flatTarget, target3D;
  };
  for (const Row& row : {Row{1, 0.3, 0.3}, Row{10, 0, 0}, Row{100, 1.5, 1.5}, Row{1000, 9, 9},
                         Row{10000, 0, 50}}) {
    std::printf("  %8d", row.slices);
    for (int view3D = 0; view3D < 2; ++view3D) {
      BenchChart bench(row.slices, view3D != 0);
      const double ms = MedianMs(row.slices >= 10000 ? std::max(3, runs / 3) : runs, [&] {
        bench.chart.Invalidate();
        bench.chart.Paint(window->Device(), MakeRect(0, 0, width, height));
      });
      PrintFigure(ms, view3D ? row.target3D : row.flatTarget);
    }
    std::printf("\n");
  }
  BenchChart empty(0, false);
  empty.chart.Legend().SetVisible(false);
  const double background = MedianMs(runs, [&] {
    empty.chart.Invalidate();
    empty.chart.Paint(window->Device(), MakeRect(0, 0, width, height));
  });
  std::printf("  background only (gdFromCenter, no slices, unchanged):   %8.2f ms\n", background);
  // A new start colour every paint: the background must be drawn afresh.
  int shade = 0;
  const double fresh = MedianMs(runs, [&] {
    shade = (shade + 1) % 2;
    empty.chart.Gradient().SetStartColor(shade ? RGBColor(255, 255, 255) : RGBColor(250, 250, 250));
    empty.chart.Paint(window->Device(), MakeRect(0, 0, width, height));
  });
  std::printf("  background only (gdFromCenter, new colours each paint): %8.2f ms (<= 0.70)\n", fresh);
  BenchChart copy(100, true);
  copy.chart.Paint(window->Device(), MakeRect(0, 0, width, height));
  const double copyOnly = MedianMs(runs, [&] { copy.chart.Paint(window->Device(), MakeRect(0, 0, width, height)); });
  std::printf("  unchanged repaint (copy of the off-screen image): %.2f ms\n\n", copyOnly);
}

void ExportTable(int runs) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string path = std::string(temp) + "kdpie-bench-export.bmp";
  BenchChart bench(100, true);
  bool ok = true;
  const double ms = MedianMs(runs, [&] { ok = ExportChartBitmap(bench.chart, 1920, 1080, path) && ok; });
  DeleteFileA(path.c_str());
  std::printf("BMP export of a 1920 x 1080 chart (100 slices, 3D), median of %d: %.2f ms%s\n\n", runs, ms,
              ok ? "" : " (export FAILED)");
}

void SectorTable(int runs) {
  const int count = 200;
  auto image = GdiOffscreenImage::Create(800, 600, false);
  GdiDevice& device = image->Gdi();
  device.SetPen(TChartPen{});
  device.SetBrush(TChartBrush{RGBColor(200, 40, 40), bsSolid});
  const TRect bounds = MakeRect(100, 50, 700, 550);
  auto rayPoint = [&](int i) {
    const double a = 2 * 3.14159265358979 * i / count;
    return TPoint{400 + static_cast<int>(300 * std::cos(a)), 300 - static_cast<int>(250 * std::sin(a))};
  };
  const double gdi = MedianMs(runs, [&] {
    for (int i = 0; i < count; ++i) {
      const TPoint s = rayPoint(i), e = rayPoint(i + 1);
      ::Pie(device.DC(), bounds.left, bounds.top, bounds.right, bounds.bottom, s.x, s.y, e.x, e.y);
    }
  });
  const double polygon = MedianMs(runs, [&] {
    for (int i = 0; i < count; ++i) device.Pie(bounds, rayPoint(i), rayPoint(i + 1));
  });
  auto tenth = [&](int i) {
    const double a = 2 * 3.14159265358979 * i / 10;
    return TPoint{400 + static_cast<int>(300 * std::cos(a)), 300 - static_cast<int>(250 * std::sin(a))};
  };
  const double gdiTenth = MedianMs(runs, [&] {
    for (int i = 0; i < 10; ++i) {
      const TPoint s = tenth(i), e = tenth(i + 1);
      ::Pie(device.DC(), bounds.left, bounds.top, bounds.right, bounds.bottom, s.x, s.y, e.x, e.y);
    }
  });
  const double polygonTenth = MedianMs(runs, [&] {
    for (int i = 0; i < 10; ++i) device.Pie(bounds, tenth(i), tenth(i + 1));
  });
  const double gdiFull = MedianMs(runs, [&] {
    ::Pie(device.DC(), bounds.left, bounds.top, bounds.right, bounds.bottom, 700, 300, 700, 300);
  });
  const double polygonFull = MedianMs(runs, [&] { device.Pie(bounds, TPoint{700, 300}, TPoint{700, 300}); });
  std::printf("One elliptic sector on a 600 x 500 ellipse, median of %d\n", runs);
  std::printf("  %-28s  %12s  %12s\n", "", "GDI Pie ms", "polygon ms");
  std::printf("  %-28s  %12.4f  %12.4f\n", "1.8-degree slice (per call)", gdi / count, polygon / count);
  std::printf("  %-28s  %12.4f  %12.4f\n", "36-degree slice (per call)", gdiTenth / 10, polygonTenth / 10);
  std::printf("  %-28s  %12.4f  %12.4f\n", "whole ellipse", gdiFull, polygonFull);
}

void WidePenTable(int runs) {
  const int width = 380, height = 400;
  auto window = GdiOffscreenImage::Create(width, height, false);
  std::printf("Repaint of a %d x %d 3D chart with marks, outline, frame and arrow of one width, median of %d\n",
              width, height, runs);
  std::printf("  %12s  %12s\n", "pen width", "ms");
  for (int penWidth : {1, 100, 1000, 10000, 100000, 2147483647}) {
    BenchChart bench(5, true);
    bench.chart.Legend().SetVisible(false);
    bench.chart.Gradient().SetVisible(false);
    TChartPen pen;
    pen.width = penWidth;
    bench.series.SetPiePen(pen);
    bench.series.Marks().SetFrame(pen);
    bench.series.Marks().SetArrow(pen);
    std::printf("  %12d", penWidth);
    std::fflush(stdout);  // a width that never returns still shows how far it got
    const double ms = MedianMs(runs, [&] {
      bench.chart.Invalidate();
      bench.chart.Paint(window->Device(), MakeRect(0, 0, width, height));
    });
    std::printf("  %12.2f\n", ms);
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "wide") {
    WidePenTable(argc > 2 ? std::max(1, std::atoi(argv[2])) : 3);
    return 0;
  }
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  PaintTable(runs);
  WidePenTable(std::max(1, runs / 2));
  ExportTable(std::max(3, runs / 2));
  SectorTable(runs);
  return 0;
}
