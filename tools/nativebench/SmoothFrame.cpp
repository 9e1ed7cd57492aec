// kdpie-smooth-frame: the anti-aliased shapes of a frame, measured natively.
// The chart engine paints the bench chart (tools/bench/BenchChart.h) onto a
// device that sends its shapes through the very code the Windows device
// uses (raster/SmoothShapes, raster/AaRaster) and renders the batch where
// that device does (before each text and picture); text itself is left out.
// So the rasteriser's share of bench_ChartPaint's frame can be timed and
// profiled natively (valgrind --tool=callgrind, perf). Not a test.
//   kdpie-smooth-frame [runs] [slices 3D|flat]   one chart only when given
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../bench/BenchChart.h"
#include "NativeTiming.h"
#include "engine/Chart.h"
#include "raster/SmoothShapes.h"

using namespace kd;
using kdbench::BenchChart;
using kdbench::NativeMedianMs;

namespace {

uint32_t Rgb(TColor c) { return (uint32_t{RedOf(c)} << 16) | (uint32_t{GreenOf(c)} << 8) | BlueOf(c); }

class SmoothImage;

class SmoothDevice : public TDevice {
 public:
  SmoothDevice(std::vector<uint32_t>& pixels, int width, int height)
      : pixels_(pixels), width_(width), height_(height) {
    ClearClip();
  }

  void SetPen(const TChartPen& pen) override { style_.pen = pen, style_.penRgb = Rgb(ResolveColor(pen.color)); }
  void SetBrush(const TChartBrush& brush) override {
    style_.brush = brush, style_.brushRgb = Rgb(ResolveColor(brush.color));
  }
  void SetFont(const FontData&) override {}
  void SetBackMode(TBackMode mode) override { style_.backMode = mode; }
  void SetBackColor(TColor color) override { style_.backRgb = Rgb(ResolveColor(color)); }

  // Text of a typical 8-point face; drawing it is GDI's part of the frame.
  int TextWidth(const std::string& text) override { return 6 * static_cast<int>(text.size()); }
  int TextHeight(const std::string&) override { return 13; }
  void TextOut(int, int, const std::string&, TAlignment) override { Finish(); }

  void Line(int x0, int y0, int x1, int y1) override {
    shapes_.Line(style_, TPointF{double(x0), double(y0)}, TPointF{double(x1), double(y1)});
  }
  void Polyline(const TPoint* points, int count) override { shapes_.Polyline(style_, points, count); }
  void Rectangle(const TRect& rect) override { shapes_.Rectangle(style_, rect); }
  void FillRect(const TRect& rect) override { shapes_.FillRect(style_, rect); }
  void Polygon(const TPoint* points, int count) override { shapes_.Polygon(style_, points, count); }
  void PolygonExact(const TPoint*, const TPointF* exact, int count) override {
    if (exact != nullptr) shapes_.Polygon(style_, exact, count);
  }
  void PieExactOnly(const TRect& bounds, double from, double to) override { shapes_.Pie(style_, bounds, from, to); }
  void Ellipse(const TRect& bounds) override { shapes_.Ellipse(style_, bounds); }
  void Pie(const TRect& bounds, TPoint start, TPoint end) override { shapes_.Pie(style_, bounds, start, end); }
  void PieExact(const TRect& bounds, TPoint, TPoint, double from, double to) override {
    shapes_.Pie(style_, bounds, from, to);
  }
  void DrawPicture(const TPicture& picture, const TRect& dest) override;
  void SetClipRect(const TRect& rect) override {
    Finish();
    batch_.SetClip(MakeRect(std::clamp(rect.left, 0, width_), std::clamp(rect.top, 0, height_),
                            std::clamp(rect.right, 0, width_), std::clamp(rect.bottom, 0, height_)));
  }
  void ClearClip() override { SetClipRect(MakeRect(0, 0, width_, height_)); }
  std::unique_ptr<TOffscreenImage> CreateOffscreen(int width, int height, bool) override;
  void FrameDone() override { Finish(); }
  TPixelRows DirectPixels() override {
    Finish();
    return Rows();
  }
  TColor ResolveColor(TColor color) const override {
    return IsSystemColor(color) ? RGBColor(0xF0, 0xF0, 0xF0) : color;
  }
  TScreenInfo Screen() const override { return TScreenInfo{1920, 1080, 508, 286}; }

  TPixelRows Rows() { return TPixelRows{pixels_.data(), width_, height_, width_}; }

 private:
  void Finish() {
    if (!batch_.Empty()) batch_.Render(Rows());
  }

  std::vector<uint32_t>& pixels_;
  int width_, height_;
  raster::TSmoothStyle style_{};
  raster::TAaBatch batch_;
  raster::TSmoothShapes shapes_{batch_};
};

class SmoothImage : public TOffscreenImage {
 public:
  SmoothImage(int width, int height)
      : width_(std::max(width, 1)), height_(std::max(height, 1)),
        pixels_(static_cast<size_t>(width_) * height_, 0xFFFFFF), device_(pixels_, width_, height_) {
    device_.SetBrush(TChartBrush{});
  }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  TDevice& Device() override { return device_; }
  const std::vector<uint32_t>& Pixels() const { return pixels_; }

 private:
  int width_, height_;
  std::vector<uint32_t> pixels_;
  SmoothDevice device_;
};

// Pictures of the same size are copied (the background cache); others are
// left out: the bench chart has none.
void SmoothDevice::DrawPicture(const TPicture& picture, const TRect& dest) {
  Finish();
  const auto* image = dynamic_cast<const SmoothImage*>(&picture);
  if (!image || dest.left != 0 || dest.top != 0 || image->Width() != width_ || image->Height() != height_) return;
  std::memcpy(pixels_.data(), image->Pixels().data(), pixels_.size() * sizeof(uint32_t));
}

std::unique_ptr<TOffscreenImage> SmoothDevice::CreateOffscreen(int width, int height, bool) {
  return std::make_unique<SmoothImage>(width, height);
}


double FrameMs(int runs, int slices, bool view3D) {
  const int width = 800, height = 600;
  SmoothImage window(width, height);
  BenchChart bench(slices, view3D);
  return NativeMedianMs(runs, [&] {
    bench.chart.Invalidate();
    bench.chart.Paint(window.Device(), MakeRect(0, 0, width, height));
  });
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  if (argc > 3) {
    const bool view3D = std::strcmp(argv[3], "3D") == 0;
    std::printf("%s slices %s: %.2f ms\n", argv[2], argv[3], FrameMs(runs, std::atoi(argv[2]), view3D));
    return 0;
  }
  std::printf("Smooth shapes of an 800 x 600 bench chart frame (no text), native, median of %d, ms\n", runs);
  std::printf("  %8s  %10s %10s\n", "slices", "flat", "3D");
  for (const int slices : {1, 10, 100, 1000, 10000}) {
    const int n = slices >= 10000 ? std::max(3, runs / 3) : runs;
    std::printf("  %8d  %10.2f %10.2f\n", slices, FrameMs(n, slices, false), FrameMs(n, slices, true));
  }
  return 0;
}
