#include "engine/Chart.h"

#include <algorithm>
#include <cstdio>

#include "engine/ChartSeries.h"
#include "engine/EngineError.h"

namespace kd {

namespace {

int PercentOf(int percent, int size) { return MulDivRound(percent, size, 100); }

// Marks a frame as being painted for as long as it lives, even when drawing
// throws.
class PaintingScope {
 public:
  explicit PaintingScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~PaintingScope() { flag_ = false; }

 private:
  bool& flag_;
};

// Lends the canvas a device for one frame (or for the background inside
// it) and gives the previous one back, even when drawing throws: the canvas
// never keeps a device past the frame.
class DeviceScope {
 public:
  DeviceScope(TChartCanvas3D& canvas, TDevice& device) : canvas_(canvas), previous_(canvas.Device()) {
    canvas_.SetDevice(&device);
  }
  ~DeviceScope() { canvas_.SetDevice(previous_); }

 private:
  TChartCanvas3D& canvas_;
  TDevice* previous_;
};

}  // namespace

TChart::TChart() {
  auto repaint = [this] { Invalidate(); };
  gradient_.SetRepaintRequest(repaint);
  title_.SetRepaintRequest(repaint);
  foot_.SetRepaintRequest(repaint);
  legend_.SetRepaintRequest(repaint);
}

TChart::~TChart() {
  for (TChartSeries* s : series_) s->SetParentChart(nullptr);
}

void TChart::Invalidate() {
  if (painting_) return;
  dirty_ = true;
  if (onInvalidate_) onInvalidate_();
}

// ---------------------------------------------------------------- series

void TChart::AddSeries(TChartSeries* series) {
  if (!series || std::find(series_.begin(), series_.end(), series) != series_.end()) return;
  if (series->ParentChart()) series->ParentChart()->RemoveSeries(series);
  series_.push_back(series);
  series->SetParentChart(this);
  Invalidate();
}

void TChart::RemoveSeries(TChartSeries* series) {
  auto it = std::find(series_.begin(), series_.end(), series);
  if (it == series_.end()) return;
  series_.erase(it);
  series->SetParentChart(nullptr);
  Invalidate();
}

TChartSeries* TChart::FirstActiveSeries() const {
  for (TChartSeries* s : series_)
    if (s->Active()) return s;
  return nullptr;
}

// ---------------------------------------------------------------- properties

void TChart::SetColor(TColor value) {
  if (StoreChanged(color_, value)) Changed();
}

void TChart::SetBackImage(std::unique_ptr<TPicture> picture) {
  if (!picture && !backImage_) return;
  backImage_ = std::move(picture);
  ++backImageSerial_;
  Changed();
}

void TChart::SetBackImageMode(TBackImageMode value) {
  if (StoreChanged(backImageMode_, value)) Changed();
}
void TChart::SetBackImageInside(bool value) {
  if (StoreChanged(backImageInside_, value)) Changed();
}

void TChart::SetMonochrome(bool value) {
  if (!StoreChanged(monochrome_, value)) return;
  DiscardImages();
  Changed();
}

void TChart::SetView3D(bool value) {
  if (StoreChanged(view3D_, value)) Changed();
}

void TChart::SetChart3DPercent(int value) {
  if (value < kMin3DPercent || value > kMax3DPercent) {
    char text[64];
    std::snprintf(text, sizeof text, "3D effect percent must be between %d and %d",
                  kMin3DPercent, kMax3DPercent);
    throw EngineError(text);
  }
  if (StoreChanged(chart3DPercent_, value)) Changed();
}

void TChart::SetView3DOptions(const TView3DOptions& value) {
  if (StoreChanged(view3DOptions_, value)) Changed();
}
void TChart::SetElevation(int value) {
  if (StoreChanged(view3DOptions_.Elevation, value)) Changed();
}
void TChart::SetRotation(int value) {
  if (StoreChanged(view3DOptions_.Rotation, value)) Changed();
}
void TChart::SetPerspective(int value) {
  if (StoreChanged(view3DOptions_.Perspective, value)) Changed();
}
void TChart::SetZoom(int value) {
  if (StoreChanged(view3DOptions_.Zoom, value)) Changed();
}
void TChart::SetHorizOffset(int value) {
  if (StoreChanged(view3DOptions_.HorizOffset, value)) Changed();
}
void TChart::SetVertOffset(int value) {
  if (StoreChanged(view3DOptions_.VertOffset, value)) Changed();
}
void TChart::SetMarginLeft(int value) {
  if (StoreChanged(marginLeft_, value)) Changed();
}
void TChart::SetMarginTop(int value) {
  if (StoreChanged(marginTop_, value)) Changed();
}
void TChart::SetMarginRight(int value) {
  if (StoreChanged(marginRight_, value)) Changed();
}
void TChart::SetMarginBottom(int value) {
  if (StoreChanged(marginBottom_, value)) Changed();
}

void TChart::SetBufferedDisplay(bool value) {
  if (StoreChanged(buffered_, value) && !buffered_) DiscardImages();
}

void TChart::DiscardImages() {
  offscreen_.reset();
  background_.reset();
}

// ---------------------------------------------------------------- painting

void TChart::Paint(TDevice& window, const TRect& client) {
  // A resized window needs a frame of its new size even when nothing changed.
  const bool sameSize = offscreen_ && offscreen_->Width() == client.Width() &&
                        offscreen_->Height() == client.Height();
  if (!dirty_ && buffered_ && sameSize) {
    window.DrawPicture(*offscreen_, MakeRect(0, 0, offscreen_->Width(), offscreen_->Height()));
    return;
  }
  Draw(window, client);
}

void TChart::DrawForExport(TDevice& target, int width, int height) {
  const bool wasBuffered = buffered_;
  SetBufferedDisplay(false);
  // The export must not leave the panel half-switched should drawing fail.
  struct Restore {
    TChart& chart;
    bool buffered;
    ~Restore() { chart.SetBufferedDisplay(buffered); }
  } restore{*this, wasBuffered};
  Draw(target, MakeRect(0, 0, width, height));
}

void TChart::Draw(TDevice& target, const TRect& dest) {
  PaintingScope scope(painting_);
  const int width = dest.Width();
  const int height = dest.Height();
  if (buffered_) {
    if (offscreen_ && (offscreen_->Width() != width || offscreen_->Height() != height))
      DiscardImages();
    if (!offscreen_) offscreen_ = target.CreateOffscreen(width, height, monochrome_);
  }
  if (!buffered_ || !offscreen_) {
    // Unbuffered, or no image to be had: straight onto the target.
    DeviceScope use(canvas_, target);
    DrawFrame(dest);
    return;
  }
  {
    DeviceScope use(canvas_, offscreen_->Device());
    DrawFrame(MakeRect(0, 0, width, height));
  }
  target.DrawPicture(*offscreen_, MakeRect(dest.left, dest.top, dest.left + width, dest.top + height));
  dirty_ = false;
}

void TChart::DrawFrame(const TRect& bounds) {
  canvas_.SetupView(view3DOptions_, view3D_);
  chartBounds_ = bounds;

  const int w = bounds.Width();
  const int h = bounds.Height();
  chartRect_.left = bounds.left + PercentOf(marginLeft_, w);
  chartRect_.top = bounds.top + PercentOf(marginTop_, h);
  chartRect_.right = bounds.right - PercentOf(marginRight_, w);
  chartRect_.bottom = bounds.bottom - PercentOf(marginBottom_, h);
  NormalizeChartRect();

  PaintBackground();

  TChartSeries* active = FirstActiveSeries();
  for (TChartSeries* s : series_)
    if (s->Active()) s->GroupSmallSlices();

  DrawTitlesAndLegend(active);

  seriesDepth_ = 0;
  if (view3D_) {
    const int k = view3DOptions_.Orthogonal ? 1 : 2;
    seriesDepth_ = RoundEven(chartRect_.Width() * chart3DPercent_ * 0.001 * k);
    if (view3DOptions_.Orthogonal) {
      chartRect_.right -= seriesDepth_;
      chartRect_.top += seriesDepth_;
      NormalizeChartRect();
    }
  }
  canvas_.CenterView(seriesDepth_, chartRect_);

  if (backImageInside_ && backImage_) DrawBackImage(chartRect_, true);

  for (TChartSeries* s : series_) {
    if (!s->Active()) continue;
    s->PreparePieBounds();
    s->DrawSlices();
    s->DrawAllMarks();
  }

  // Leave the canvas as a fresh one would be.
  canvas_.SetPen(TChartPen());
  canvas_.SetBrush(TChartBrush{clWhite, bsSolid});
  FontData font = canvas_.Font();
  font.color = clBlack;
  font.size = 10;
  canvas_.SetFont(font);
  canvas_.SetBackColor(clWhite);
  canvas_.SetBackMode(bmTransparent);
  if (TDevice* device = canvas_.Device()) device->FrameDone();
}

void TChart::NormalizeChartRect() {
  const TRect& b = chartBounds_;
  chartRect_.left = std::max(chartRect_.left, b.left);
  chartRect_.top = std::max(chartRect_.top, b.top);
  if (chartRect_.right < chartRect_.left)
    chartRect_.right = chartRect_.left + 1;
  else if (chartRect_.right == chartRect_.left)
    chartRect_.right = chartRect_.left + b.Width();
  if (chartRect_.bottom < chartRect_.top)
    chartRect_.bottom = chartRect_.top + 1;
  else if (chartRect_.bottom == chartRect_.top)
    chartRect_.bottom = chartRect_.top + b.Height();
}

void TChart::FillBackground(const TRect& rect) {
  if (gradient_.Visible()) {
    canvas_.GradientFill(rect, gradient_.StartColor(), gradient_.EndColor(), gradient_.Direction());
    return;
  }
  canvas_.SetBrush(TChartBrush{color_, bsSolid});
  canvas_.SetBackMode(bmTransparent);
  canvas_.FillRect(rect);
}

bool TChart::BackgroundKey::operator==(const BackgroundKey& o) const {
  return width == o.width && height == o.height && monochrome == o.monochrome && color == o.color &&
         gradient == o.gradient && direction == o.direction && startColor == o.startColor &&
         endColor == o.endColor && backImage == o.backImage && backImageMode == o.backImageMode;
}

TChart::BackgroundKey TChart::CurrentBackgroundKey() const {
  BackgroundKey key;
  key.width = chartBounds_.Width();
  key.height = chartBounds_.Height();
  key.monochrome = monochrome_;
  key.color = canvas_.ResolveColor(color_);
  key.gradient = gradient_.Visible();
  if (key.gradient) {
    key.direction = gradient_.Direction();
    key.startColor = canvas_.ResolveColor(gradient_.StartColor());
    key.endColor = canvas_.ResolveColor(gradient_.EndColor());
  }
  if (backImage_ && !backImageInside_) {
    key.backImage = backImageSerial_;
    key.backImageMode = backImageMode_;
  }
  return key;
}

void TChart::PaintBackground() {
  // Only frames into the panel's own image keep their background: an export
  // draws afresh, at its own size and always in colour.
  const bool intoOffscreen = offscreen_ && canvas_.Device() == &offscreen_->Device();
  if (intoOffscreen && CopyCachedBackground()) return;
  DrawBackground();
}

// Copies the background kept from an earlier frame, drawing it first when
// anything that shapes it has changed; false when no image can be had.
bool TChart::CopyCachedBackground() {
  const BackgroundKey key = CurrentBackgroundKey();
  const bool fits = background_ && background_->Width() == key.width &&
                    background_->Height() == key.height && backgroundMonochrome_ == key.monochrome;
  if (!fits) {
    background_.reset();
    backgroundValid_ = false;
    background_ = offscreen_->Device().CreateOffscreen(key.width, key.height, key.monochrome);
    if (!background_) return false;
    backgroundMonochrome_ = key.monochrome;
  }
  if (!backgroundValid_ || !(backgroundKey_ == key)) {
    backgroundValid_ = false;  // stays so should drawing fail half-way
    {
      DeviceScope use(canvas_, background_->Device());
      DrawBackground();
      background_->Device().FrameDone();
    }
    backgroundKey_ = key;
    backgroundValid_ = true;
  }
  canvas_.DrawPicture(*background_, chartBounds_);
  return true;
}

void TChart::DrawBackground() {
  FillBackground(chartBounds_);
  if (backImage_ && !backImageInside_) DrawBackImage(chartBounds_, false);
}

void TChart::DrawBackImage(const TRect& r, bool inner) {
  const TPicture* image = backImage_.get();
  if (!image) return;
  if (inner && view3D_ && !view3DOptions_.Orthogonal && seriesDepth_ != 0) return;
  if (backImageMode_ == pbmStretch) {
    canvas_.DrawPicture(*image, r);
    return;
  }
  canvas_.ClipRectangle(r);
  const int w = image->Width();
  const int h = image->Height();
  if (backImageMode_ == pbmTile) {
    if (w > 0 && h > 0) TileBackImage(*image, r);
  } else {
    FillBackground(r);
    const int x = r.left + (r.Width() - w) / 2;
    const int y = r.top + (r.Height() - h) / 2;
    canvas_.DrawPicture(*image, MakeRect(x, y, x + w, y + h));
  }
  canvas_.UnClipRectangle();
}

void TChart::TileBackImage(const TPicture& image, const TRect& r) {
  const TPicture* tile = &image;
  int w = image.Width(), h = image.Height();
  // A picture of a few pixels tiled over the panel would cost one draw per
  // tile, hundreds of thousands a frame: tile it into a block of about
  // kTileBlock pixels each way first, and tile the block. Such pictures are
  // bitmaps in practice, so the block's opaque pixels lose nothing.
  constexpr long kMostTiles = 4096;
  constexpr int kTileBlock = 32;
  std::unique_ptr<TOffscreenImage> block;
  const long tiles = (static_cast<long>(r.Width()) / w + 1) * (static_cast<long>(r.Height()) / h + 1);
  if (tiles > kMostTiles && canvas_.Device()) {
    const int bw = (kTileBlock / w + 1) * w, bh = (kTileBlock / h + 1) * h;
    block = canvas_.Device()->CreateOffscreen(bw, bh, false);
    if (block) {
      for (int y = 0; y < bh; y += h)
        for (int x = 0; x < bw; x += w) block->Device().DrawPicture(image, MakeRect(x, y, x + w, y + h));
      tile = block.get();
      w = bw;
      h = bh;
    }
  }
  for (int y = 0; y < r.Height(); y += h)
    for (int x = 0; x < r.Width(); x += w)
      canvas_.DrawPicture(*tile, MakeRect(r.left + x, r.top + y, r.left + x + w, r.top + y + h));
}

void TChart::DrawTitlesAndLegend(TChartSeries* active) {
  canvas_.BeginFrontPlane();
  const bool legendShown = legend_.Visible() && active;
  const bool legendAtSide =
      legend_.Alignment() == laLeft || legend_.Alignment() == laRight;
  auto drawLegend = [&] {
    legend_.Draw(canvas_, *active, chartBounds_, chartRect_, color_);
    NormalizeChartRect();
  };
  auto drawTitles = [&] {
    if (title_.Visible()) {
      title_.Draw(canvas_, chartRect_, true);
      NormalizeChartRect();
    }
    if (foot_.Visible()) {
      foot_.Draw(canvas_, chartRect_, false);
      NormalizeChartRect();
    }
  };
  if (legendShown && legendAtSide) {
    drawLegend();
    drawTitles();
  } else {
    drawTitles();
    if (legendShown) drawLegend();
  }
  canvas_.EndFrontPlane();
}

void ApplyChartWindowDesign(TChart& chart) {
  chart.SetColor(clWhite);
  chart.Title().SetText({std::string()});
  chart.Foot().SetText({std::string()});
  TView3DOptions view = chart.View3DOptions();
  view.Elevation = 315;
  view.Rotation = 360;
  view.Perspective = 0;
  view.Orthogonal = false;
  view.Tilt = 0;
  chart.SetView3DOptions(view);
}

}  // namespace kd
