// kdpie-cairo-frame: the yardstick for our frame times. The chart engine
// paints the very chart bench_ChartPaint paints (800 x 600, marks, legend,
// gdFromCenter gradient, 1 to 10,000 slices, flat and 3D) onto a device that
// renders through native cairo, with anti-aliasing off and on; the medians
// are printed beside each other. Not a test, and not shipped: it needs
// Debian's libcairo2-dev, which `./run bench` installs.
// Left out: pictures (the bench chart has none) and system colours beyond a
// fixed grey table.
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../bench/BenchChart.h"
#include "NativeTiming.h"
#include "engine/Chart.h"
#include "engine/Device.h"
#include "engine/PieSeries.h"

using namespace kd;
using kdbench::BenchChart;
using kdbench::NativeMedianMs;

namespace {

constexpr double kPi = 3.14159265358979323846;

double Red(TColor c) { return RedOf(c) / 255.0; }
double Green(TColor c) { return GreenOf(c) / 255.0; }
double Blue(TColor c) { return BlueOf(c) / 255.0; }

class CairoImage;

// Renders every device call with cairo at pixel centres, as GDI would place
// the same integer geometry.
class CairoDevice : public TDevice {
 public:
  CairoDevice(cairo_surface_t* surface, bool antialias)
      : surface_(surface), cr_(cairo_create(surface)), antialias_(antialias) {
    cairo_set_antialias(cr_, antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
  }
  ~CairoDevice() override { cairo_destroy(cr_); }

  void SetPen(const TChartPen& pen) override { pen_ = pen; }
  void SetBrush(const TChartBrush& brush) override { brush_ = brush; }
  void SetFont(const FontData& font) override {
    font_ = font;
    cairo_select_font_face(cr_, font.name.c_str(),
                           (font.styles & fsItalic) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           (font.styles & fsBold) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, font.size * 96.0 / 72.0);
  }
  void SetBackMode(TBackMode mode) override { backMode_ = mode; }
  void SetBackColor(TColor color) override { backColor_ = color; }

  int TextWidth(const std::string& text) override {
    cairo_text_extents_t e;
    cairo_text_extents(cr_, text.c_str(), &e);
    return static_cast<int>(std::lround(e.x_advance));
  }
  int TextHeight(const std::string&) override {
    cairo_font_extents_t e;
    cairo_font_extents(cr_, &e);
    return static_cast<int>(std::lround(e.height));
  }
  void TextOut(int x, int y, const std::string& text, TAlignment align) override {
    Touch();
    const int width = TextWidth(text);
    const double left = align == taLeftJustify ? x : align == taCenter ? x - width / 2.0 : x - width;
    cairo_font_extents_t e;
    cairo_font_extents(cr_, &e);
    if (backMode_ == bmOpaque) {
      Source(backColor_);
      cairo_rectangle(cr_, left, y, width, e.height);
      cairo_fill(cr_);
    }
    Source(font_.color);
    cairo_move_to(cr_, left, y + e.ascent);
    cairo_show_text(cr_, text.c_str());
  }

  void Line(int x0, int y0, int x1, int y1) override {
    if (!pen_.Draws()) return;
    Touch();
    cairo_move_to(cr_, x0 + 0.5, y0 + 0.5);
    cairo_line_to(cr_, x1 + 0.5, y1 + 0.5);
    Stroke();
  }
  void Polyline(const TPoint* points, int count) override {
    if (!pen_.Draws() || count < 2) return;
    Touch();
    PathThrough(points, count);
    Stroke();
  }
  void Rectangle(const TRect& rect) override {
    Touch();
    const double inset = pen_.Draws() ? pen_.LayoutWidth() / 2.0 : 0;
    cairo_rectangle(cr_, rect.left + inset, rect.top + inset, rect.Width() - 2 * inset,
                    rect.Height() - 2 * inset);
    FillAndStroke();
  }
  void FillRect(const TRect& rect) override {
    Touch();
    cairo_rectangle(cr_, rect.left, rect.top, rect.Width(), rect.Height());
    Fill();
  }
  void Polygon(const TPoint* points, int count) override {
    if (count < 3) return;
    Touch();
    PathThrough(points, count);
    cairo_close_path(cr_);
    FillAndStroke();
  }
  void Ellipse(const TRect& bounds) override {
    Touch();
    EllipsePath(bounds, 0, 2 * kPi, false);
    FillAndStroke();
  }
  void Pie(const TRect& bounds, TPoint start, TPoint end) override {
    Touch();
    const double cx = (bounds.left + bounds.right) / 2.0, cy = (bounds.top + bounds.bottom) / 2.0;
    const double rx = std::max(bounds.Width() / 2.0, 0.5), ry = std::max(bounds.Height() / 2.0, 0.5);
    const double a0 = std::atan2((start.y - cy) / ry, (start.x - cx) / rx);
    double a1 = std::atan2((end.y - cy) / ry, (end.x - cx) / rx);
    if (start == end) a1 = a0 - 2 * kPi;
    cairo_move_to(cr_, cx, cy);
    EllipsePath(bounds, a0, a1, true);
    cairo_close_path(cr_);
    FillAndStroke();
  }

  void DrawPicture(const TPicture& picture, const TRect& dest) override;

  void SetClipRect(const TRect& rect) override {
    cairo_reset_clip(cr_);
    cairo_rectangle(cr_, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_clip(cr_);
  }
  void ClearClip() override { cairo_reset_clip(cr_); }

  std::unique_ptr<TOffscreenImage> CreateOffscreen(int width, int height, bool) override;

  TPixelRows DirectPixels() override {
    cairo_surface_flush(surface_);
    dirty_ = true;
    TPixelRows rows;
    rows.bits = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface_));
    rows.width = cairo_image_surface_get_width(surface_);
    rows.height = cairo_image_surface_get_height(surface_);
    rows.stride = cairo_image_surface_get_stride(surface_) / 4;
    return rows;
  }

  TColor ResolveColor(TColor color) const override {
    return IsSystemColor(color) ? RGBColor(0xF0, 0xF0, 0xF0) : color;
  }
  TScreenInfo Screen() const override { return TScreenInfo{1920, 1080, 508, 286}; }

  cairo_t* Context() { return cr_; }

 private:
  // Direct pixel writes must be announced before cairo draws again.
  void Touch() {
    if (dirty_) cairo_surface_mark_dirty(surface_);
    dirty_ = false;
  }
  void Source(TColor color) {
    const TColor c = ResolveColor(color);
    cairo_set_source_rgb(cr_, Red(c), Green(c), Blue(c));
  }
  void PathThrough(const TPoint* points, int count) {
    cairo_move_to(cr_, points[0].x + 0.5, points[0].y + 0.5);
    for (int i = 1; i < count; ++i) cairo_line_to(cr_, points[i].x + 0.5, points[i].y + 0.5);
  }
  void EllipsePath(const TRect& bounds, double from, double to, bool negative) {
    const double cx = (bounds.left + bounds.right) / 2.0, cy = (bounds.top + bounds.bottom) / 2.0;
    const double rx = std::max(bounds.Width() / 2.0, 0.5), ry = std::max(bounds.Height() / 2.0, 0.5);
    cairo_save(cr_);
    cairo_translate(cr_, cx, cy);
    cairo_scale(cr_, rx, ry);
    if (negative)
      cairo_arc_negative(cr_, 0, 0, 1, from, to);
    else
      cairo_arc(cr_, 0, 0, 1, from, to);
    cairo_restore(cr_);
  }
  void FillSource() {
    if (brush_.style == bsSolid) {
      Source(brush_.color);
      return;
    }
    cairo_set_source(cr_, Hatch(brush_.style, ResolveColor(brush_.color)));
  }
  // An 8 x 8 tile of the hatch's lines, made once per style and colour.
  cairo_pattern_t* Hatch(TBrushStyle style, TColor color) {
    auto& slot = hatches_[{style, color}];
    if (slot) return slot.get();
    cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
    cairo_t* t = cairo_create(tile);
    cairo_set_source_rgb(t, Red(color), Green(color), Blue(color));
    cairo_set_line_width(t, 1);
    const bool h = style == bsHorizontal || style == bsCross, v = style == bsVertical || style == bsCross;
    const bool f = style == bsFDiagonal || style == bsDiagCross, b = style == bsBDiagonal || style == bsDiagCross;
    if (h) cairo_move_to(t, 0, 0.5), cairo_line_to(t, 8, 0.5);
    if (v) cairo_move_to(t, 0.5, 0), cairo_line_to(t, 0.5, 8);
    if (f) cairo_move_to(t, 0, 0), cairo_line_to(t, 8, 8);
    if (b) cairo_move_to(t, 8, 0), cairo_line_to(t, 0, 8);
    cairo_stroke(t);
    cairo_destroy(t);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(tile);
    cairo_surface_destroy(tile);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    slot.reset(pattern);
    return pattern;
  }
  void Fill() {
    if (brush_.style == bsClear) {
      cairo_new_path(cr_);
      return;
    }
    FillSource();
    cairo_fill(cr_);
  }
  void Stroke() {
    static const std::map<TPenStyle, std::vector<double>> kDashes = {
        {psDash, {18, 6}}, {psDot, {3, 3}}, {psDashDot, {9, 6, 3, 6}}, {psDashDotDot, {9, 3, 3, 3, 3, 3}}};
    const auto dash = kDashes.find(pen_.style);
    if (dash != kDashes.end())
      cairo_set_dash(cr_, dash->second.data(), static_cast<int>(dash->second.size()), 0);
    else
      cairo_set_dash(cr_, nullptr, 0, 0);
    cairo_set_line_width(cr_, std::max(1, pen_.LayoutWidth()));
    Source(pen_.color);
    cairo_stroke(cr_);
  }
  void FillAndStroke() {
    if (brush_.style != bsClear) {
      FillSource();
      if (pen_.Draws())
        cairo_fill_preserve(cr_);
      else
        cairo_fill(cr_);
    }
    if (pen_.Draws())
      Stroke();
    else
      cairo_new_path(cr_);
  }

  struct PatternFree {
    void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
  };
  cairo_surface_t* surface_;
  cairo_t* cr_;
  bool antialias_;
  bool dirty_ = false;
  TChartPen pen_;
  TChartBrush brush_;
  FontData font_;
  TBackMode backMode_ = bmTransparent;
  TColor backColor_ = clWhite;
  std::map<std::pair<TBrushStyle, TColor>, std::unique_ptr<cairo_pattern_t, PatternFree>> hatches_;
};

class CairoImage : public TOffscreenImage {
 public:
  CairoImage(int width, int height, bool antialias)
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(width, 1), std::max(height, 1))),
        device_(surface_, antialias),
        antialias_(antialias) {}
  ~CairoImage() override { cairo_surface_destroy(surface_); }
  int Width() const override { return cairo_image_surface_get_width(surface_); }
  int Height() const override { return cairo_image_surface_get_height(surface_); }
  TDevice& Device() override { return device_; }
  cairo_surface_t* Surface() const { return surface_; }
  bool Antialias() const { return antialias_; }

 private:
  cairo_surface_t* surface_;
  CairoDevice device_;
  bool antialias_;
};

void CairoDevice::DrawPicture(const TPicture& picture, const TRect& dest) {
  const auto* image = dynamic_cast<const CairoImage*>(&picture);
  if (!image || dest.Width() <= 0 || dest.Height() <= 0) return;
  Touch();
  cairo_surface_flush(image->Surface());
  cairo_save(cr_);
  cairo_translate(cr_, dest.left, dest.top);
  cairo_scale(cr_, static_cast<double>(dest.Width()) / image->Width(),
              static_cast<double>(dest.Height()) / image->Height());
  cairo_set_source_surface(cr_, image->Surface(), 0, 0);
  cairo_paint(cr_);
  cairo_restore(cr_);
}

std::unique_ptr<TOffscreenImage> CairoDevice::CreateOffscreen(int width, int height, bool) {
  return std::make_unique<CairoImage>(width, height, antialias_);
}


}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const int width = 800, height = 600;
  std::printf("Native cairo: full repaint of an %d x %d chart (marks, legend, gdFromCenter gradient), "
              "median of %d, ms\n", width, height, runs);
  std::printf("  %8s  %10s %10s  %10s %10s\n", "slices", "flat", "flat AA", "3D", "3D AA");
  for (int slices : {1, 10, 100, 1000, 10000}) {
    std::printf("  %8d", slices);
    for (int view3D = 0; view3D < 2; ++view3D) {
      for (int antialias = 0; antialias < 2; ++antialias) {
        CairoImage window(width, height, antialias != 0);
        BenchChart bench(slices, view3D != 0);
        const double ms = NativeMedianMs(slices >= 10000 ? std::max(3, runs / 3) : runs, [&] {
          bench.chart.Invalidate();
          bench.chart.Paint(window.Device(), MakeRect(0, 0, width, height));
          cairo_surface_flush(window.Surface());
        });
        std::printf(" %10.2f", ms);
      }
      std::printf(" ");
    }
    std::printf("\n");
  }
  if (argc > 2) {
    CairoImage shot(width, height, true);
    BenchChart bench(100, true);
    bench.chart.Paint(shot.Device(), MakeRect(0, 0, width, height));
    cairo_surface_write_to_png(shot.Surface(), argv[2]);
  }
  return 0;
}
