// The legend: the framed box right of the pie with one row per slice, a
// colour box and a text each. It takes its room from the chart rectangle
// before the pie is fitted into what is left.
#pragma once

#include <string>

#include "engine/Changed.h"
#include "engine/Color.h"
#include "engine/Device.h"
#include "engine/FontData.h"
#include "engine/Geometry.h"

namespace kd {

class TChartCanvas3D;
class TChartSeries;

// Only laRight is laid out; the others are kept as set.
enum TLegendAlignment { laLeft, laRight, laTop, laBottom };

enum TLegendTextStyle {
  ltsPlain = 0,
  ltsLeftValue = 1,
  ltsRightValue = 2,
  ltsLeftPercent = 3,
  ltsRightPercent = 4,
  ltsXValue = 5,
};

enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };

class TChartLegend {
 public:
  TChartLegend();

  void SetRepaintRequest(TRepaintRequest request) { repaint_ = std::move(request); }

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TLegendAlignment Alignment() const { return alignment_; }
  void SetAlignment(TLegendAlignment value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  // Fill style of the box; its colour is always Color().
  TBrushStyle BrushStyle() const { return brushStyle_; }
  void SetBrushStyle(TBrushStyle value);
  // Colour box width in percent of the text width; 0..100, else LegendException.
  int ColorWidth() const { return colorWidth_; }
  void SetColorWidth(int value);
  const FontData& Font() const { return font_; }
  void SetFont(const FontData& value);
  const TChartPen& Frame() const { return frame_; }
  void SetFrame(const TChartPen& value);
  bool Inverted() const { return inverted_; }
  void SetInverted(bool value);
  bool ResizeChart() const { return resizeChart_; }
  void SetResizeChart(bool value);
  TColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(TColor value);
  int ShadowSize() const { return shadowSize_; }
  void SetShadowSize(int value);
  TLegendTextStyle TextStyle() const { return textStyle_; }
  void SetTextStyle(TLegendTextStyle value);
  // Top in percent of the chart bounds' height; 0..100, else LegendException.
  int TopPos() const { return topPos_; }
  void SetTopPos(int value);
  // First row shown; not negative, else LegendException.
  int FirstValue() const { return firstValue_; }
  void SetFirstValue(int value);
  // Gap to the chart rectangle in pixels; 0 means 3 % of the chart width.
  int HorizMargin() const { return horizMargin_; }
  void SetHorizMargin(int value);
  TLegendStyle LegendStyle() const { return legendStyle_; }
  void SetLegendStyle(TLegendStyle value);

  // Rows the series offers from FirstValue on (0 when it is kept out).
  int TotalRows(const TChartSeries& series) const;
  // Rows of `itemHeight` that fit between `top` and the chart rectangle's
  // bottom, at most `total`.
  int FittingRows(int top, int itemHeight, const TRect& chartRect, int total) const;

  // Lays out and draws the legend for `series` on the flat front plane and
  // takes its room from `chartRect`. `panelColor` backs a clDefault circle
  // background.
  void Draw(TChartCanvas3D& canvas, const TChartSeries& series, const TRect& chartBounds,
            TRect& chartRect, TColor panelColor);

  // Layout of the last draw.
  const TRect& LegendRect() const { return legendRect_; }
  int ItemHeight() const { return itemHeight_; }
  int TextLeft() const { return textLeft_; }
  int ColorBoxWidth() const { return colorBoxWidth_; }
  int Rows() const { return rows_; }
  TColor LegendFillColor() const { return color_; }

 private:
  void Changed() const;
  void DrawBackground(TChartCanvas3D& canvas) const;
  void DrawRow(TChartCanvas3D& canvas, const TChartSeries& series, int row, int line,
               TColor panelColor, const TChartPen& boxPen) const;

  TRepaintRequest repaint_;
  bool visible_ = true;
  TLegendAlignment alignment_ = laRight;
  TColor color_ = clWhite;
  TBrushStyle brushStyle_ = bsSolid;
  int colorWidth_ = 12;
  FontData font_;
  TChartPen frame_;
  bool inverted_ = false;
  bool resizeChart_ = true;
  TColor shadowColor_ = clBlack;
  int shadowSize_ = 3;
  TLegendTextStyle textStyle_ = ltsLeftValue;
  int topPos_ = 10;
  int firstValue_ = 0;
  int horizMargin_ = 0;
  TLegendStyle legendStyle_ = lsAuto;

  TRect legendRect_;
  int itemHeight_ = 0;
  int textLeft_ = 0;
  int colorBoxWidth_ = 0;
  int rows_ = 0;
};

}  // namespace kd
