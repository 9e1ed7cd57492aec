// The chart panel: background, back image, title and foot, legend, 3D view
// settings and the order in which one frame of the chart is painted. The
// window that shows the panel hands it a device to paint on and listens for
// repaint requests.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "engine/Canvas3D.h"
#include "engine/Changed.h"
#include "engine/ChartTitle.h"
#include "engine/Color.h"
#include "engine/Device.h"
#include "engine/Geometry.h"
#include "engine/Gradient.h"
#include "engine/Legend.h"

namespace kd {

class TChartSeries;

enum TBackImageMode { pbmStretch, pbmTile, pbmCenter };

class TChart {
 public:
  static constexpr int kMin3DPercent = 1;
  static constexpr int kMax3DPercent = 100;

  TChart();
  ~TChart();
  TChart(const TChart&) = delete;
  TChart& operator=(const TChart&) = delete;

  // ---- Repainting. Every change marks the panel dirty and calls the
  // handler the window sets (to invalidate itself); requests made while a
  // frame is being painted are part of that frame and ignored.
  void SetInvalidateHandler(std::function<void()> handler) { onInvalidate_ = std::move(handler); }
  void Invalidate();
  bool Dirty() const { return dirty_; }

  // ---- Series, held but not owned.
  void AddSeries(TChartSeries* series);
  void RemoveSeries(TChartSeries* series);
  int SeriesCount() const { return static_cast<int>(series_.size()); }
  TChartSeries* Series(int index) const { return series_[index]; }

  // ---- Properties. Setters compare before they store.
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TChartGradient& Gradient() { return gradient_; }
  const TChartGradient& Gradient() const { return gradient_; }
  void SetGradient(const TChartGradient& value) { gradient_.Assign(value); }
  // The loaded back image, or nullptr.
  const TPicture* BackImage() const { return backImage_.get(); }
  void SetBackImage(std::unique_ptr<TPicture> picture);
  TBackImageMode BackImageMode() const { return backImageMode_; }
  void SetBackImageMode(TBackImageMode value);
  bool BackImageInside() const { return backImageInside_; }
  void SetBackImageInside(bool value);
  // Paints the off-screen image one bit per pixel; the export stays in colour.
  bool Monochrome() const { return monochrome_; }
  void SetMonochrome(bool value);
  bool View3D() const { return view3D_; }
  void SetView3D(bool value);
  // 1..100, else EngineError "3D effect percent must be between 1 and 100".
  int Chart3DPercent() const { return chart3DPercent_; }
  void SetChart3DPercent(int value);
  const TView3DOptions& View3DOptions() const { return view3DOptions_; }
  void SetView3DOptions(const TView3DOptions& value);
  void SetElevation(int value);
  void SetRotation(int value);
  void SetPerspective(int value);
  void SetZoom(int value);
  void SetHorizOffset(int value);
  void SetVertOffset(int value);
  // Margins of the chart rectangle in percent of the chart bounds.
  int MarginLeft() const { return marginLeft_; }
  void SetMarginLeft(int value);
  int MarginTop() const { return marginTop_; }
  void SetMarginTop(int value);
  int MarginRight() const { return marginRight_; }
  void SetMarginRight(int value);
  int MarginBottom() const { return marginBottom_; }
  void SetMarginBottom(int value);
  TChartTitle& Title() { return title_; }
  const TChartTitle& Title() const { return title_; }
  void SetTitle(const TChartTitle& value) { title_.Assign(value); }
  TChartTitle& Foot() { return foot_; }
  const TChartTitle& Foot() const { return foot_; }
  void SetFoot(const TChartTitle& value) { foot_.Assign(value); }
  TChartLegend& Legend() { return legend_; }
  const TChartLegend& Legend() const { return legend_; }
  // True: paint into an off-screen image and copy that to the window.
  bool BufferedDisplay() const { return buffered_; }
  void SetBufferedDisplay(bool value);
  // The back wall is never drawn here; its brush colour still backs hatched
  // slices.
  TColor BackWallColor() const { return clWhite; }

  // ---- Geometry of the frame being painted (valid from its layout on).
  const TRect& ChartBounds() const { return chartBounds_; }
  const TRect& ChartRect() const { return chartRect_; }
  int ChartWidth() const { return chartRect_.Width(); }
  int ChartHeight() const { return chartRect_.Height(); }
  int ChartXCenter() const { return (chartRect_.left + chartRect_.right) / 2; }
  int ChartYCenter() const { return (chartRect_.top + chartRect_.bottom) / 2; }
  int SeriesDepth() const { return seriesDepth_; }
  TChartCanvas3D& Canvas() { return canvas_; }

  // Brush of a slice: hatch lines in `color` over `background`.
  void SetSliceBrush(TColor color, TBrushStyle style, TColor background) {
    canvas_.SetSliceBrush(color, style, background);
  }

  // ---- Painting.
  // On a window's paint: copies the off-screen image while nothing changed,
  // else draws the chart into `client`.
  void Paint(TDevice& window, const TRect& client);
  // Draws one whole frame onto `target` at `dest`.
  void Draw(TDevice& target, const TRect& dest);
  // The whole panel of width x height onto `target` (a bitmap the platform
  // then writes), always in colour and without the off-screen image.
  void DrawForExport(TDevice& target, int width, int height);
  // The off-screen image kept between paints, or nullptr.
  const TOffscreenImage* OffscreenImage() const { return offscreen_.get(); }
  // The drawn background kept beside the off-screen image, or nullptr.
  const TOffscreenImage* BackgroundImage() const { return background_.get(); }

 private:
  void Changed() { Invalidate(); }
  void DrawFrame(const TRect& bounds);
  void NormalizeChartRect();
  // Everything that decides the background's pixels, system colours resolved.
  struct BackgroundKey {
    int width = 0, height = 0;
    bool monochrome = false;
    TColor color = clBlack;
    bool gradient = false;
    TGradientDirection direction = gdTopBottom;
    TColor startColor = clBlack, endColor = clBlack;
    long backImage = 0;  // serial of the image drawn over the whole panel, 0: none
    TBackImageMode backImageMode = pbmStretch;
    bool operator==(const BackgroundKey& o) const;
  };
  void DiscardImages();
  void PaintBackground();
  BackgroundKey CurrentBackgroundKey() const;
  bool CopyCachedBackground();
  void DrawBackground();
  void FillBackground(const TRect& rect);
  void DrawBackImage(const TRect& rect, bool inner);
  void TileBackImage(const TPicture& image, const TRect& r);
  void DrawTitlesAndLegend(TChartSeries* active);
  TChartSeries* FirstActiveSeries() const;

  std::function<void()> onInvalidate_;
  bool dirty_ = true;
  bool painting_ = false;
  std::vector<TChartSeries*> series_;

  TColor color_ = clBtnFace;
  TChartGradient gradient_;
  std::unique_ptr<TPicture> backImage_;
  long backImageSerial_ = 0;  // counts the images set, so a new one never looks like the old
  TBackImageMode backImageMode_ = pbmStretch;
  bool backImageInside_ = false;
  bool monochrome_ = false;
  bool view3D_ = true;
  int chart3DPercent_ = 15;
  TView3DOptions view3DOptions_;
  int marginLeft_ = 3;
  int marginTop_ = 4;
  int marginRight_ = 3;
  int marginBottom_ = 4;
  TChartTitle title_;
  TChartTitle foot_;
  TChartLegend legend_;
  bool buffered_ = true;

  TChartCanvas3D canvas_;
  std::unique_ptr<TOffscreenImage> offscreen_;
  // The background as last drawn into the off-screen image, blitted while its
  // key holds; costs a second image of the panel's size.
  std::unique_ptr<TOffscreenImage> background_;
  bool backgroundMonochrome_ = false;
  bool backgroundValid_ = false;
  BackgroundKey backgroundKey_;
  TRect chartBounds_;
  TRect chartRect_;
  int seriesDepth_ = 0;
};

// The settings the chart window's design gives a new panel over the class
// defaults: white background, one empty title and foot line, and the pie's
// 3D view (elevation 315, rotation 360, no perspective, not orthogonal).
void ApplyChartWindowDesign(TChart& chart);

}  // namespace kd
