// The marks of the pie series: the labelled boxes around the pie, each
// joined to its slice by an arrow. TSeriesMarks holds the settings; the
// functions below compute the texts and draw the boxes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/Changed.h"
#include "engine/Color.h"
#include "engine/Device.h"
#include "engine/FontData.h"
#include "engine/Geometry.h"
#include "engine/Legend.h"

namespace kd {

enum TSeriesMarksStyle {
  smsValue = 0,
  smsPercent = 1,
  smsLabel = 2,
  smsLabelPercent = 3,
  smsLabelValue = 4,
  smsLegend = 5,
  smsPercentTotal = 6,
  smsLabelPercentTotal = 7,
  smsXValue = 8,
};

// Starts a new line inside a mark or legend text.
constexpr char LineSeparator = '\r';

struct TSeriesMarkPosition {
  TPoint ArrowStart;
  TPoint ArrowEnd;
  bool IsCustom = false;  // a custom position wins over the computed one
  int BoxHeight = 0;
  int BoxLeft = 0;
  int BoxTop = 0;
  int BoxWidth = 0;
};

class TSeriesMarks {
 public:
  TSeriesMarks();

  void SetRepaintRequest(TRepaintRequest request) { repaint_ = std::move(request); }

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  // Kept as the number the author chose: a number outside the nine styles
  // shows no text.
  TSeriesMarksStyle Style() const { return style_; }
  void SetStyle(TSeriesMarksStyle value);
  const TChartPen& Arrow() const { return arrow_; }
  void SetArrow(const TChartPen& value);  // a negative width keeps the old one
  int ArrowLength() const { return arrowLength_; }
  void SetArrowLength(int value);
  TColor BackColor() const { return backColor_; }
  void SetBackColor(TColor value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  const TChartPen& Frame() const { return frame_; }
  void SetFrame(const TChartPen& value);  // a negative width keeps the old one
  const FontData& Font() const { return font_; }
  void SetFont(const FontData& value);
  bool Clip() const { return clip_; }
  void SetClip(bool value);

  // Depth at which the marks of the current paint are drawn in 3D view.
  int MarksDepth = 0;

  // Remembered positions by slice index; absent until a mark was placed.
  std::vector<std::optional<TSeriesMarkPosition>>& Positions() { return positions_; }
  const std::vector<std::optional<TSeriesMarkPosition>>& Positions() const { return positions_; }
  void DeletePosition(int index);
  void ClearPositions() { positions_.clear(); }

 private:
  void Changed() const;

  TRepaintRequest repaint_;
  bool visible_ = true;
  TSeriesMarksStyle style_ = smsLabel;
  TChartPen arrow_;
  int arrowLength_ = 8;
  TColor backColor_ = 0x80FFFF;
  bool transparent_ = false;
  TChartPen frame_;
  FontData font_;
  bool clip_ = false;
  std::vector<std::optional<TSeriesMarkPosition>> positions_;
};

class TPieSeries;
class TChartCanvas3D;
struct TPiePaintContext;

// The size of "W" in the marks font: the margin of a box and the arrow's
// room around the pie.
struct TMarkLetter {
  int width = 0;
  int height = 0;
};

// The marks as measured once in a paint: each slice's text and the width of
// its widest line, and the letter size, all in `font`.
struct TMarksMeasure {
  bool valid = false;
  FontData font;
  TMarkLetter letter;
  std::vector<std::string> texts;
  std::vector<int> widths;
};

// Measures every slice's mark in the canvas's current font into `measure`.
void MeasureMarks(const TPieSeries& series, TChartCanvas3D& canvas, TLegendTextStyle legendStyle,
                  TMarksMeasure& measure);

// The text of slice `index`'s mark by the marks' Style; `legendStyle` is the
// legend's TextStyle, which smsLegend follows.
std::string SliceMarkText(const TPieSeries& series, int index, TLegendTextStyle legendStyle);

// Draws the mark of every slice that has one; called after the slices while
// the marks are visible. Reuses the measures taken for the marks' room when
// the marks are drawn in the font they were measured in.
void DrawAllMarks(TPieSeries& series, const TPiePaintContext& context);
// Places the measured box of slice `index` around the pie and draws it.
void PlaceSliceMark(TPieSeries& series, const TPiePaintContext& context, int index,
                    const std::string& text, const TMarkLetter& letter, TSeriesMarkPosition& position);
void DrawMarkBox(TPieSeries& series, const TPiePaintContext& context, int index, TColor sliceColor,
                 TSeriesMarkPosition position, const std::string& text, const TMarkLetter& letter);

}  // namespace kd
