#include "engine/Legend.h"

#include <algorithm>

#include "engine/Canvas3D.h"
#include "engine/ChartSeries.h"
#include "engine/EngineError.h"

namespace kd {

namespace {
// Space between a colour box and its text, and around the box.
constexpr int kBoxGap = 4;
constexpr int kBoxMargin = 8;
// Default gap to the chart rectangle: this percentage of the chart width.
constexpr int kDefaultMarginPercent = 3;
}  // namespace

TChartLegend::TChartLegend() = default;

void TChartLegend::Changed() const {
  if (repaint_) repaint_();
}

void TChartLegend::SetVisible(bool value) {
  if (StoreChanged(visible_, value)) Changed();
}

void TChartLegend::SetAlignment(TLegendAlignment value) {
  if (StoreChanged(alignment_, value)) Changed();
}

void TChartLegend::SetColor(TColor value) {
  if (StoreChanged(color_, value)) Changed();
}

void TChartLegend::SetBrushStyle(TBrushStyle value) {
  if (StoreChanged(brushStyle_, value)) Changed();
}

void TChartLegend::SetColorWidth(int value) {
  if (value < 0 || value > 100)
    throw LegendException("Legend Color Width must be between 0 and 100 %");
  if (StoreChanged(colorWidth_, value)) Changed();
}

void TChartLegend::SetFont(const FontData& value) {
  if (StoreChanged(font_, value)) Changed();
}

void TChartLegend::SetFrame(const TChartPen& value) {
  if (StoreChanged(frame_, value)) Changed();
}

void TChartLegend::SetInverted(bool value) {
  if (StoreChanged(inverted_, value)) Changed();
}

void TChartLegend::SetResizeChart(bool value) {
  if (StoreChanged(resizeChart_, value)) Changed();
}

void TChartLegend::SetShadowColor(TColor value) {
  if (StoreChanged(shadowColor_, value)) Changed();
}

void TChartLegend::SetShadowSize(int value) {
  if (StoreChanged(shadowSize_, value)) Changed();
}

void TChartLegend::SetTextStyle(TLegendTextStyle value) {
  if (StoreChanged(textStyle_, value)) Changed();
}

void TChartLegend::SetTopPos(int value) {
  if (value < 0 || value > 100)
    throw LegendException("Top Legend Position must be between 0 and 100 %");
  if (StoreChanged(topPos_, value)) Changed();
}

void TChartLegend::SetFirstValue(int value) {
  if (value < 0) throw LegendException("First Legend Value must be > 0");
  if (StoreChanged(firstValue_, value)) Changed();
}

void TChartLegend::SetHorizMargin(int value) {
  if (StoreChanged(horizMargin_, value)) Changed();
}

void TChartLegend::SetLegendStyle(TLegendStyle value) {
  if (StoreChanged(legendStyle_, value)) Changed();
}

int TChartLegend::TotalRows(const TChartSeries& series) const {
  if (!series.ShowInLegend()) return 0;
  return std::max(0, series.LegendItemCount() - firstValue_);
}

int TChartLegend::FittingRows(int top, int itemHeight, const TRect& chartRect, int total) const {
  // A font without height fits no rows rather than dividing by zero.
  if (top >= chartRect.bottom || itemHeight <= 0) return 0;
  const int rows = (chartRect.bottom - top - 2 * frame_.LayoutWidth()) / itemHeight;
  return std::max(0, std::min(rows, total));
}

void TChartLegend::Draw(TChartCanvas3D& canvas, const TChartSeries& series,
                        const TRect& chartBounds, TRect& chartRect, TColor panelColor) {
  const int startWidth = chartRect.Width();
  canvas.SetFont(font_);
  itemHeight_ = canvas.TextHeight("W");

  const int total = TotalRows(series);
  legendRect_ = TRect();
  legendRect_.top =
      chartBounds.top + RoundEven(topPos_ * (chartBounds.bottom - chartBounds.top) / 100.0);
  rows_ = FittingRows(legendRect_.top, itemHeight_, chartRect, total);
  legendRect_.bottom = legendRect_.top + rows_ * itemHeight_ + 2;

  int widest = 0;
  for (int k = firstValue_; k < firstValue_ + rows_; ++k)
    widest = std::max(widest, canvas.TextWidth(series.LegendItemText(k)));

  legendRect_.right = chartRect.right - shadowSize_;
  if (frame_.Draws()) legendRect_.right -= frame_.LayoutWidth() + 1;
  textLeft_ = legendRect_.right - widest - 2;
  colorBoxWidth_ = RoundEven((widest + 10) * colorWidth_ / 100.0);
  legendRect_.left = textLeft_ - colorBoxWidth_ - kBoxMargin;

  if (rows_ < 1) return;

  DrawBackground(canvas);

  TChartPen boxPen;
  boxPen.color = color_ == clBlack ? clWhite : clBlack;
  const int shown = std::min(total, rows_);
  const int last = firstValue_ + shown - 1;
  for (int i = 0; i < shown; ++i) {
    const int k = inverted_ ? last - i : firstValue_ + i;
    DrawRow(canvas, series, k, i, panelColor, boxPen);
  }

  if (resizeChart_) chartRect.right = legendRect_.left;
  chartRect.right -= horizMargin_ != 0
                         ? horizMargin_
                         : RoundEven(kDefaultMarginPercent * startWidth / 100.0);
}

void TChartLegend::DrawBackground(TChartCanvas3D& canvas) const {
  TRect box = legendRect_;
  int reach;
  TChartPen pen = frame_;
  if (frame_.Draws()) {
    if (pen.color == clDefault) pen.color = clBlack;
    const int fw = frame_.LayoutWidth();
    box = MakeRect(box.left - fw, box.top - fw, box.right + fw, box.bottom + fw);
    reach = shadowSize_ + fw + (fw - 1) / 2;
  } else {
    reach = shadowSize_ - 1;
  }
  if (shadowSize_ > 0) {
    canvas.SetBrush(TChartBrush{shadowColor_, bsSolid});
    canvas.SetBackMode(bmTransparent);
    canvas.FillRect(MakeRect(legendRect_.left + shadowSize_, legendRect_.top + shadowSize_,
                             legendRect_.right + reach, legendRect_.bottom + reach));
  }
  canvas.SetPen(pen);
  if (brushStyle_ == bsSolid || brushStyle_ == bsClear) {
    canvas.SetBrush(TChartBrush{color_, brushStyle_});
    canvas.SetBackMode(bmTransparent);
  } else {
    // Hatch lines over the legend's colour.
    canvas.SetBrush(TChartBrush{color_ == clBlack ? clWhite : clBlack, brushStyle_});
    canvas.SetBackMode(bmOpaque);
    canvas.SetBackColor(color_);
  }
  canvas.Rectangle(box);
}

void TChartLegend::DrawRow(TChartCanvas3D& canvas, const TChartSeries& series, int row, int line,
                           TColor panelColor, const TChartPen& boxPen) const {
  const int y = legendRect_.top + 1 + line * itemHeight_;
  const int x = textLeft_;
  const std::string text = series.LegendItemText(row);
  if (text.empty()) return;
  // Rows are written on a transparent background, whatever the last box did.
  canvas.SetBackMode(bmTransparent);
  canvas.TextOut(x, y, text, taLeftJustify);

  const int slice = series.LegendItemToSlice(row);
  const TColor color = series.SliceColor(slice);
  if (color == clNone) return;
  TColor background = series.CircleBackColor();
  if (background == clDefault) background = color_;
  if (background == clDefault) background = panelColor;
  canvas.SetSliceBrush(color, series.SliceBrushStyle(slice), background);
  canvas.SetPen(boxPen);
  const TRect box = MakeRect(x - kBoxGap - colorBoxWidth_, y + 2, x - kBoxGap, y + itemHeight_ - 2);
  canvas.Rectangle(box);
  if (color == color_) {
    // The box would vanish in the legend's own colour: outline it again.
    TChartPen outline = boxPen;
    outline.color = color == clBlack ? clWhite : clBlack;
    canvas.SetPen(outline);
    canvas.SetBrush(TChartBrush{color, bsClear});
    canvas.Rectangle(box);
    canvas.SetPen(boxPen);
  }
}

}  // namespace kd
