#include "engine/Marks.h"
#include "engine/TextHelpers.h"

#include <algorithm>
#include <cmath>

#include "engine/Canvas3D.h"
#include "engine/HiddenBoxes.h"
#include "engine/NumberFormat.h"
#include "engine/PieDrawing.h"
#include "engine/PieSeries.h"

namespace kd {

namespace {

std::string ValueText(const TPieSeries& series, int index) {
  return FormatFloat(series.ValueFormat(), series.SliceValue(index));
}

std::string LabelOrValueText(const TPieSeries& series, int index) {
  const std::string& label = series.SliceLabel(index);
  return label.empty() ? ValueText(series, index) : label;
}

std::string PercentText(const TPieSeries& series, int index, bool withTotal) {
  const double total = series.PieValues().TotalAbs();
  const double percent = total == 0 ? 100.0 : std::fabs(series.SliceValue(index)) * 100.0 / total;
  const std::string text = FormatFloat(series.PercentFormat(), percent);
  if (!withTotal) return text;
  return FormatTexts(kPercentOfTotalFormat, text, FormatFloat(series.ValueFormat(), total));
}

}  // namespace

TSeriesMarks::TSeriesMarks() { arrow_.color = clWhite; }

void TSeriesMarks::Changed() const {
  if (repaint_) repaint_();
}

void TSeriesMarks::SetVisible(bool value) {
  if (StoreChanged(visible_, value)) Changed();
}

void TSeriesMarks::SetStyle(TSeriesMarksStyle value) {
  if (StoreChanged(style_, value)) Changed();
}

void TSeriesMarks::SetArrow(const TChartPen& value) {
  TChartPen pen = value;
  if (pen.width < 0) pen.width = arrow_.width;
  if (StoreChanged(arrow_, pen)) Changed();
}

void TSeriesMarks::SetArrowLength(int value) {
  if (StoreChanged(arrowLength_, value)) Changed();
}

void TSeriesMarks::SetBackColor(TColor value) {
  if (StoreChanged(backColor_, value)) Changed();
}

void TSeriesMarks::SetTransparent(bool value) {
  if (StoreChanged(transparent_, value)) Changed();
}

void TSeriesMarks::SetFrame(const TChartPen& value) {
  TChartPen pen = value;
  if (pen.width < 0) pen.width = frame_.width;
  if (StoreChanged(frame_, pen)) Changed();
}

void TSeriesMarks::SetFont(const FontData& value) {
  if (StoreChanged(font_, value)) Changed();
}

void TSeriesMarks::SetClip(bool value) {
  if (StoreChanged(clip_, value)) Changed();
}

void TSeriesMarks::DeletePosition(int index) {
  if (index < 0 || index >= static_cast<int>(positions_.size())) return;
  positions_.erase(positions_.begin() + index);
}

// ------------------------------------------------------------ texts

std::string SliceMarkText(const TPieSeries& series, int index, TLegendTextStyle legendStyle) {
  switch (series.Marks().Style()) {
    case smsValue:
      return ValueText(series, index);
    case smsPercent:
      return PercentText(series, index, false);
    case smsLabel:
      return LabelOrValueText(series, index);
    case smsLabelPercent:
      return LabelOrValueText(series, index) + " " + PercentText(series, index, false);
    case smsLabelValue:
      return LabelOrValueText(series, index) + " " + ValueText(series, index);
    case smsLegend:
      return series.SliceLegendText(index, legendStyle);
    case smsPercentTotal:
      return PercentText(series, index, true);
    case smsLabelPercentTotal:
      return LabelOrValueText(series, index) + " " + PercentText(series, index, true);
    case smsXValue:
      return FormatFloat(kValueFormat, series.SlicePosition(index));
  }
  return std::string();
}

// ------------------------------------------------------------ drawing

void MeasureMarks(const TPieSeries& series, TChartCanvas3D& canvas, TLegendTextStyle legendStyle,
                  TMarksMeasure& measure) {
  measure.font = canvas.Font();
  measure.letter = TMarkLetter{canvas.TextWidth("W"), canvas.TextHeight("W")};
  const int n = series.SliceCount();
  measure.texts.resize(n);
  measure.widths.resize(n);
  for (int i = 0; i < n; ++i) {
    measure.texts[i] = SliceMarkText(series, i, legendStyle);
    int widest = 0;
    ForEachPiece(measure.texts[i], LineSeparator,
                 [&](const std::string& line) { widest = std::max(widest, canvas.TextWidth(line)); });
    measure.widths[i] = widest;
  }
  measure.valid = true;
}

namespace {

// Where slice `index`'s mark goes around the pie: its arrow and box.
void PlaceMark(TPieSeries& series, int index, const TMarkLetter& letter, TSeriesMarkPosition& position) {
  TSeriesMarks& marks = series.Marks();
  const TPieGeometry& g = series.Geometry();
  const TPoint r = ExplodedRadii(series, index);
  marks.MarksDepth = g.DepthEnd;

  const int w = letter.width;
  const int h = letter.height;
  const int length = marks.ArrowLength();
  const double mid = series.Angle(index).MidAngle;
  position.ArrowEnd = SliceAngleToPoint(series, mid, r.x + w + length, r.y + h + length);
  position.ArrowStart = SliceAngleToPoint(series, mid, r.x, r.y);
  // Right of the centre the box hangs right of its anchor, below it under
  // the centre; elsewhere left of and above it.
  position.BoxLeft = position.ArrowEnd.x > g.PieCenterX ? position.ArrowEnd.x
                                                        : position.ArrowEnd.x - position.BoxWidth;
  position.BoxTop = position.ArrowEnd.y > g.PieCenterY ? position.ArrowEnd.y
                                                       : position.ArrowEnd.y - position.BoxHeight;
}

// The position the mark is drawn at: a custom one wins, the computed one is
// remembered; in 3D the box follows its projected anchor without being scaled.
TSeriesMarkPosition ResolveMark(TSeriesMarks& marks, const TChartCanvas3D& canvas, int index,
                                TSeriesMarkPosition position) {
  auto& remembered = marks.Positions();
  if (static_cast<int>(remembered.size()) <= index) remembered.resize(index + 1);
  if (!remembered[index]) remembered[index] = TSeriesMarkPosition{};
  if (remembered[index]->IsCustom)
    position = *remembered[index];
  else
    *remembered[index] = position;
  if (canvas.Is3D()) {
    const TPoint p = canvas.Project3D(position.ArrowEnd.x, position.ArrowEnd.y, marks.MarksDepth);
    position.BoxLeft = p.x - (position.ArrowEnd.x - position.BoxLeft);
    position.BoxTop = p.y - (position.ArrowEnd.y - position.BoxTop);
  }
  return position;
}

// What a mark's box and text touch, and what its box covers for certain:
// its rectangle when filled and framed with a solid pen; inside a broken
// frame only the fill; without a frame the fill stops a pixel short of the
// right and bottom edges. A pen wider than a pixel reaches out of the box.
TPaintedBox MarkBoxPixels(const TSeriesMarks& marks, const TSeriesMarkPosition& position, int textWidth,
                          int textHeight, int lineHeight) {
  const TRect box = MakeRect(position.BoxLeft, position.BoxTop, position.BoxLeft + position.BoxWidth,
                             position.BoxTop + position.BoxHeight);
  const TChartPen& frame = marks.Frame();
  const int width = frame.LayoutWidth();
  const int out = frame.Draws() && width > 1 && frame.style != psInsideFrame ? width / 2 + 1 : 0;
  // The text's lines centred below the frame. Glyphs stay within their
  // lines' height but may reach past their advance: widened by half a line
  // for italic overhangs (as the GDI device widens text against its clip),
  // for upright letters' bearings by 3 pixels, more in large fonts.
  const bool italic = (marks.Font().styles & fsItalic) != 0;
  const int reach = italic ? lineHeight / 2 + 1 : std::max(3, lineHeight / 8);
  const int centre = box.left + position.BoxWidth / 2, top = box.top + (frame.visible ? width : 0);
  const TRect text = MakeRect(centre - textWidth / 2 - reach, top - 1, centre + textWidth / 2 + reach,
                              top + textHeight + 1);
  TPaintedBox painted{MakeRect(box.left - out, box.top - out, box.right + out, box.bottom + out), text, TRect{}};
  if (marks.Transparent()) return painted;
  if (!frame.Draws())
    painted.opaque = MakeRect(box.left, box.top, box.right - 1, box.bottom - 1);
  else if ((frame.style == psSolid || frame.style == psInsideFrame) && !frame.smallDots)
    painted.opaque = box;
  else
    painted.opaque = MakeRect(box.left + width, box.top + width, box.right - width, box.bottom - width);
  return painted;
}

// Draws a resolved mark: its arrow, and its box and text unless later
// boxes hide them whole.
void DrawResolvedMark(TSeriesMarks& marks, const TPiePaintContext& context, TColor sliceColor,
                      TSeriesMarkPosition position, const std::string& text, const TMarkLetter& letter,
                      THiddenParts hidden = {}) {
  TChartCanvas3D& canvas = *context.canvas;
  if (marks.Arrow().visible) {
    // An arrow in the slice's or the panel's colour would not show.
    TChartPen pen = marks.Arrow();
    if (pen.color == sliceColor || pen.color == context.panelColor)
      pen.color = context.panelColor == clBlack ? clWhite : clBlack;
    canvas.SetPen(pen);
    canvas.SetBrush(TChartBrush{canvas.Brush().color, bsClear});
    if (canvas.Is3D())
      canvas.LineAtDepth(position.ArrowStart, position.ArrowEnd, marks.MarksDepth);
    else
      canvas.Line(position.ArrowStart.x, position.ArrowStart.y, position.ArrowEnd.x,
                  position.ArrowEnd.y);
  }
  if (hidden.box) return;

  const TChartPen& frame = marks.Frame();
  if (frame.visible || !marks.Transparent()) {
    canvas.SetBrush(TChartBrush{marks.BackColor(), marks.Transparent() ? bsClear : bsSolid});
    canvas.SetPen(frame);
    canvas.Rectangle(MakeRect(position.BoxLeft, position.BoxTop, position.BoxLeft + position.BoxWidth,
                              position.BoxTop + position.BoxHeight));
  }
  if (frame.visible) position.BoxTop += frame.LayoutWidth();

  if (hidden.text) return;
  canvas.SetBrush(TChartBrush{canvas.Brush().color, bsClear});
  canvas.SetBackMode(bmTransparent);
  const int x = position.BoxLeft + position.BoxWidth / 2;
  const int h = letter.height;
  int y = position.BoxTop;
  ForEachPiece(text, LineSeparator, [&](const std::string& line) {
    canvas.TextOut(x, y, line, taCenter);
    y += h;
  });
}

}  // namespace

void DrawAllMarks(TPieSeries& series, const TPiePaintContext& context) {
  TSeriesMarks& marks = series.Marks();
  if (!marks.Visible() || !context.canvas) return;
  TChartCanvas3D& canvas = *context.canvas;
  if (marks.Clip()) canvas.ClipRectangle(context.chartRect);

  FontData font = marks.Font();
  font.size = canvas.ZoomedFontSize(font.size);
  canvas.SetFont(font);
  TMarksMeasure& measure = series.Geometry().Marks;
  // Zoomed text, or no room reserved this paint: measure in the drawing font.
  if (!measure.valid || !(measure.font == font) || static_cast<int>(measure.texts.size()) != series.SliceCount())
    MeasureMarks(series, canvas, context.legendTextStyle, measure);
  const TMarkLetter letter = measure.letter;
  const int frame = marks.Frame().visible ? 2 * marks.Frame().LayoutWidth() : 0;

  // Placed first and drawn after: a box that the boxes of its neighbours
  // hide whole is not drawn (its arrow still is), nor a text they hide.
  std::vector<std::pair<int, TSeriesMarkPosition>> placed;
  std::vector<TPaintedBox> boxes;
  for (int i = 0; i < series.SliceCount(); ++i) {
    if (series.SliceColor(i) == clNone || series.IsGrouped(i)) continue;
    const std::string& text = measure.texts[i];
    if (text.empty()) continue;
    TSeriesMarkPosition position;
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), LineSeparator));
    position.BoxWidth = measure.widths[i] + letter.width + frame;
    position.BoxHeight = lines * letter.height + frame;
    PlaceMark(series, i, letter, position);
    placed.emplace_back(i, ResolveMark(marks, canvas, i, position));
    boxes.push_back(MarkBoxPixels(marks, placed.back().second, measure.widths[i], lines * letter.height, letter.height));
  }
  const std::vector<THiddenParts> hidden = HiddenBoxes(boxes);
  for (size_t k = 0; k < placed.size(); ++k) {
    const int i = placed[k].first;
    DrawResolvedMark(marks, context, series.SliceColor(i), placed[k].second, measure.texts[i], letter, hidden[k]);
  }
  measure.valid = false;
  if (marks.Clip()) canvas.UnClipRectangle();
}

void PlaceSliceMark(TPieSeries& series, const TPiePaintContext& context, int index,
                    const std::string& text, const TMarkLetter& letter, TSeriesMarkPosition& position) {
  if (series.IsGrouped(index) || !context.canvas) return;
  PlaceMark(series, index, letter, position);
  DrawMarkBox(series, context, index, series.SliceColor(index), position, text, letter);
}

void DrawMarkBox(TPieSeries& series, const TPiePaintContext& context, int index, TColor sliceColor,
                 TSeriesMarkPosition position, const std::string& text, const TMarkLetter& letter) {
  if (index < 0 || !context.canvas) return;
  TSeriesMarks& marks = series.Marks();
  DrawResolvedMark(marks, context, sliceColor, ResolveMark(marks, *context.canvas, index, position), text, letter);
}

}  // namespace kd
