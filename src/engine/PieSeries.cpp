#include "engine/PieSeries.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "engine/Chart.h"
#include "engine/NumberFormat.h"
#include "engine/PieDrawing.h"

namespace kd {

namespace {


constexpr TColor kSlicePalette[16] = {
    0x0000FF,  // red
    0x008000,  // green
    0x00FFFF,  // yellow
    0xFF0000,  // blue
    0xFFFFFF,  // white
    0x808080,  // gray
    0xFF00FF,  // fuchsia
    0x808000,  // teal
    0x800000,  // navy
    0x000080,  // maroon
    0x00FF00,  // lime
    0x008080,  // olive
    0x800080,  // purple
    0xC0C0C0,  // silver
    0xFFFF00,  // aqua
    0x000000,  // black
};

const std::string kNoLabel;

// What the drawing of the pie needs from the panel on this paint.
TPiePaintContext ContextOf(TChart& chart) {
  TPiePaintContext context;
  context.canvas = &chart.Canvas();
  context.chartRect = chart.ChartRect();
  context.panelColor = chart.Color();
  context.backWallColor = chart.BackWallColor();
  context.seriesDepth = chart.SeriesDepth();
  context.legendTextStyle = chart.Legend().TextStyle();
  return context;
}

}  // namespace

EListError::EListError(int index)
    : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")") {}

// ------------------------------------------------------------ value list

void TChartValueList::SetMultiplier(double value) {
  if (StoreChanged(multiplier_, value)) dirty_ = true;
}

void TChartValueList::SetValue(int index, double value) {
  values_.at(index) = value;
  dirty_ = true;
}

void TChartValueList::Insert(int index, double value) {
  values_.insert(values_.begin() + index, value);
  dirty_ = true;
}

void TChartValueList::Delete(int index) {
  values_.erase(values_.begin() + index);
  dirty_ = true;
}

void TChartValueList::Clear() {
  values_.clear();
  dirty_ = true;
}

void TChartValueList::Exchange(int a, int b) {
  std::swap(values_[a], values_[b]);
  dirty_ = true;
}

void TChartValueList::Recalc() const {
  if (!dirty_) return;
  dirty_ = false;
  min_ = max_ = total_ = totalAbs_ = 0;
  if (values_.empty()) return;
  const double first = Value(0);
  min_ = max_ = total_ = first;
  totalAbs_ = std::fabs(first);
  for (size_t i = 1; i < values_.size(); ++i) {
    const double v = values_[i] * multiplier_;
    if (v < min_)
      min_ = v;
    else if (v > max_)
      max_ = v;
    total_ += v;
    totalAbs_ += std::fabs(v);
  }
}

double TChartValueList::MinValue() const {
  Recalc();
  return min_;
}

double TChartValueList::MaxValue() const {
  Recalc();
  return max_;
}

double TChartValueList::Total() const {
  Recalc();
  return total_;
}

double TChartValueList::TotalAbs() const {
  Recalc();
  return totalAbs_;
}

void TChartValueList::OverrideTotalAbs(double total) {
  Recalc();
  totalAbs_ = total;
}

int TChartValueList::Locate(double value) const {
  for (size_t i = 0; i < values_.size(); ++i)
    if (values_[i] * multiplier_ == value) return static_cast<int>(i);
  return -1;
}

// ------------------------------------------------------------ series

TPieSeries::TPieSeries() : valueFormat_(kValueFormat), percentFormat_(kPercentFormat) {
  marks_.SetRepaintRequest([this] { Changed(); });
}

void TPieSeries::Changed() const { Repaint(); }

void TPieSeries::DataChanged() const {
  legendRowsDirty_ = true;
  if (Active()) Changed();
}

int TPieSeries::AppendSlice(double x, double value, const std::string& label, TColor color) {
  // The X list keeps ascending order: a new slice goes after the last X not
  // larger than its own, which puts it before a generated other slice.
  int index = xValues_.Count();
  while (index > 0 && x < xValues_.Value(index - 1)) --index;
  xValues_.Insert(index, x);
  pieValues_.Insert(index, value);
  colors_.insert(colors_.begin() + index, color);
  labels_.insert(labels_.begin() + index, label);
  legendRowsDirty_ = true;
  return index;
}

int TPieSeries::AddSlice(double value, const std::string& label, TColor color) {
  const int index = AppendSlice(xValues_.Count(), value, label, color);
  DataChanged();
  return index;
}

void TPieSeries::RemoveSlice(int index) {
  if (index < 0 || index >= SliceCount()) throw EListError(index);
  xValues_.Delete(index);
  pieValues_.Delete(index);
  if (index < static_cast<int>(colors_.size())) colors_.erase(colors_.begin() + index);
  if (index < static_cast<int>(labels_.size())) labels_.erase(labels_.begin() + index);
  marks_.DeletePosition(index);
  // The explode percentages stay where they are: they belong to positions.
  legendRowsDirty_ = true;
}

void TPieSeries::DeleteSlice(int index) {
  RemoveSlice(index);
  DataChanged();
}

void TPieSeries::ClearSlices() {
  xValues_.Clear();
  pieValues_.Clear();
  colors_.clear();
  labels_.clear();
  exploded_.clear();
  marks_.ClearPositions();
  DataChanged();
}

const std::string& TPieSeries::SliceLabel(int index) const {
  if (index < 0 || index >= static_cast<int>(labels_.size())) return kNoLabel;
  return labels_[index];
}

TColor TPieSeries::PaletteColor(int index) {
  const int slot = index % 16;
  return kSlicePalette[slot < 0 ? slot + 16 : slot];
}

TColor TPieSeries::SliceColor(int index) const {
  if (index < 0 || index >= static_cast<int>(colors_.size())) return seriesColor_;
  const TColor stored = colors_[index];
  if (stored != clDefault) return stored;
  return colorEachPoint_ ? PaletteColor(index) : seriesColor_;
}

// ------------------------------------------------------------ settings

void TPieSeries::SetSeriesColor(TColor value) {
  if (StoreChanged(seriesColor_, value)) Changed();
}

void TPieSeries::SetColorEachPoint(bool value) {
  if (!StoreChanged(colorEachPoint_, value)) return;
  if (!value) std::fill(colors_.begin(), colors_.end(), clDefault);
  Changed();
}

void TPieSeries::SetValueFormat(const std::string& value) {
  if (StoreChanged(valueFormat_, value)) Changed();
}

void TPieSeries::SetPercentFormat(const std::string& value) {
  if (StoreChanged(percentFormat_, value)) Changed();
}

void TPieSeries::SetCircled(bool value) {
  if (StoreChanged(circled_, value)) Changed();
}

void TPieSeries::SetRotationAngle(int value) {
  if (value < 0) throw PieException("Rotation Angle must be between 0 and 359 degrees");
  // The rotation animation hands an ever-growing counter: keep it in a turn.
  const int angle = value % 360;
  if (angle == rotationAngle_) return;
  rotationAngle_ = angle;
  rotationRadians_ = angle * (kTwoPi / 360.0);
  Changed();
}

void TPieSeries::SetCustomXRadius(int value) {
  if (StoreChanged(customXRadius_, value)) Changed();
}

void TPieSeries::SetCustomYRadius(int value) {
  if (StoreChanged(customYRadius_, value)) Changed();
}

void TPieSeries::SetCircleBackColor(TColor value) {
  if (StoreChanged(circleBackColor_, value)) Changed();
}

void TPieSeries::SetExplodeBiggest(int value) {
  if (StoreChanged(explodeBiggest_, value)) Changed();
  UpdateExplodeBiggest();
}

void TPieSeries::UpdateExplodeBiggest() {
  if (SliceCount() == 0) return;
  const int index = pieValues_.Locate(pieValues_.MaxValue());
  if (index != -1) SetExplodedSlice(index, explodeBiggest_);
}

int TPieSeries::ExplodedSlice(int index) const {
  if (index < 0 || index >= static_cast<int>(exploded_.size())) return 0;
  return exploded_[index];
}

void TPieSeries::SetExplodedSlice(int index, int percent) {
  if (index < 0) throw EListError(index);
  if (index >= static_cast<int>(exploded_.size())) {
    if (percent == 0) return;  // reads as 0 already
    exploded_.resize(index + 1, 0);
  }
  if (StoreChanged(exploded_[index], percent)) Changed();
}

void TPieSeries::SetOtherSlice(const TPieOtherSlice& value) {
  if (StoreChanged(otherSlice_, value)) Changed();
}

void TPieSeries::SetDark3D(bool value) {
  if (StoreChanged(dark3D_, value)) Changed();
}

void TPieSeries::SetUsePatterns(bool value) {
  if (StoreChanged(usePatterns_, value)) Changed();
}

void TPieSeries::SetPiePen(const TChartPen& value) {
  TChartPen pen = value;
  if (pen.width < 0) pen.width = piePen_.width;
  if (StoreChanged(piePen_, pen)) Changed();
}

// ------------------------------------------------------------ per paint

void TPieSeries::ExchangeSlices(int a, int b) {
  xValues_.Exchange(a, b);
  pieValues_.Exchange(a, b);
  std::swap(colors_[a], colors_[b]);
  std::swap(labels_[a], labels_[b]);
  std::swap(exploded_[a], exploded_[b]);
}

void TPieSeries::SortByOrder() {
  const TChartListOrder order = pieValues_.Order;
  if (order == loNone || SliceCount() < 2) return;
  const int n = SliceCount();
  if (static_cast<int>(exploded_.size()) < n) exploded_.resize(n, 0);

  // Sort a permutation, then apply it by cycles: n log n, whole slices move.
  std::vector<int> perm(n);
  std::iota(perm.begin(), perm.end(), 0);
  std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
    const double va = pieValues_.Value(a), vb = pieValues_.Value(b);
    return order == loAscending ? va < vb : va > vb;
  });
  // perm[k] is the slice that belongs at k; walk each cycle once.
  std::vector<bool> placed(n, false);
  for (int start = 0; start < n; ++start) {
    if (placed[start]) continue;
    int k = start;
    while (perm[k] != start) {
      ExchangeSlices(k, perm[k]);
      placed[k] = true;
      k = perm[k];
    }
    placed[k] = true;
  }
  legendRowsDirty_ = true;
}

void TPieSeries::GroupSmallSlices() {
  SortByOrder();

  for (int i = 0; i < SliceCount(); ++i) {
    if (xValues_.Value(i) == OtherSliceMarker) {
      RemoveSlice(i);
      break;
    }
  }
  for (int i = 0; i < SliceCount(); ++i) xValues_.SetValue(i, i);
  legendRowsDirty_ = true;

  if (otherSlice_.Style == poNone) return;
  const double totalAbs = pieValues_.TotalAbs();
  if (!(totalAbs > 0)) return;

  double sum = 0;
  bool grouped = false;
  for (int i = 0; i < SliceCount(); ++i) {
    const double v = pieValues_.Value(i);
    const double measure = otherSlice_.Style == poBelowPercent ? v * 100.0 / totalAbs : v;
    if (measure < otherSlice_.Value) {
      xValues_.SetValue(i, GroupedMarker);
      sum += v;
      grouped = true;
    }
  }
  if (sum != 0) {
    // The stored value goes in unscaled, so that it reads back as `sum`.
    const double multiplier = pieValues_.Multiplier();
    AppendSlice(OtherSliceMarker, multiplier != 0 ? sum / multiplier : 0, otherSlice_.Text,
                clDefault);
  }
  if (!grouped) return;
  // The grouped slices are now counted by the other slice alone. The total
  // is summed over exactly the slices drawn, in the order the angles add
  // them up, so that the last slice closes the circle also when negative
  // values were grouped.
  double drawn = 0;
  for (int i = 0; i < SliceCount(); ++i)
    if (!IsGrouped(i)) drawn += std::fabs(pieValues_.Value(i));
  pieValues_.OverrideTotalAbs(drawn);
}

void TPieSeries::ComputeSliceAngles() {
  const int n = SliceCount();
  const double total = pieValues_.TotalAbs();
  const double factor = total == 0 ? 0 : kTwoPi / total;
  angles_.resize(n);
  double sum = 0;
  for (int i = 0; i < n; ++i) {
    TSliceAngles& a = angles_[i];
    a.FromAngle = i == 0 ? 0 : angles_[i - 1].ToAngle;
    if (total == 0) {
      a.ToAngle = kTwoPi;
    } else {
      if (!IsGrouped(i)) sum += std::fabs(pieValues_.Value(i));
      a.ToAngle = sum == total ? kTwoPi : sum * factor;
      if (a.ToAngle - a.FromAngle > kTwoPi) a.ToAngle = a.FromAngle + kTwoPi;
    }
    a.MidAngle = (a.FromAngle + a.ToAngle) / 2;
  }
}

// ------------------------------------------------------------ legend rows

const std::vector<int>& TPieSeries::LegendRows() const {
  if (legendRowsDirty_) {
    legendRows_.clear();
    for (int i = 0; i < SliceCount(); ++i)
      if (!IsGrouped(i)) legendRows_.push_back(i);
    legendRowsDirty_ = false;
  }
  return legendRows_;
}

int TPieSeries::LegendItemCount() const { return static_cast<int>(LegendRows().size()); }

int TPieSeries::LegendItemToSlice(int row) const {
  const std::vector<int>& rows = LegendRows();
  if (row >= 0 && row < static_cast<int>(rows.size())) return rows[row];
  return row;
}

double TPieSeries::SlicePosition(int index) const {
  const double x = xValues_.Value(index);
  return x == OtherSliceMarker ? index : x;
}

std::string TPieSeries::SliceLegendText(int slice, TLegendTextStyle style) const {
  if (slice < 0 || slice >= SliceCount()) return std::string();
  const std::string& label = SliceLabel(slice);
  const double value = SliceValue(slice);
  const double total = pieValues_.TotalAbs();
  std::string text;
  switch (style) {
    case ltsPlain:
      text = label;
      break;
    case ltsLeftValue:
      text = FormatFloat(valueFormat_, value) + " " + label;
      break;
    case ltsRightValue:
      text = label + " " + FormatFloat(valueFormat_, value);
      break;
    case ltsLeftPercent:
    case ltsRightPercent: {
      const std::string percent = FormatFloat(percentFormat_, total == 0 ? 100.0 : value * 100.0 / total);
      text = style == ltsLeftPercent ? percent + " " + label : label + " " + percent;
      break;
    }
    case ltsXValue:
      text = FormatFloat(kValueFormat, SlicePosition(slice));
      break;
  }
  std::replace(text.begin(), text.end(), LineSeparator, ' ');
  return text;
}

std::string TPieSeries::LegendItemText(int row) const {
  const TChart* chart = ParentChart();
  return SliceLegendText(LegendItemToSlice(row), chart ? chart->Legend().TextStyle() : ltsLeftValue);
}

TBrushStyle TPieSeries::SliceBrushStyle(int slice) const {
  return usePatterns_ ? PatternForIndex(slice) : bsSolid;
}

// ------------------------------------------------------------ panel

void TPieSeries::SetParentChart(TChart* chart) {
  TChartSeries::SetParentChart(chart);
  if (!chart) return;
  // A pie is seen from above at 45 degrees, without perspective.
  TView3DOptions view = chart->View3DOptions();
  view.Orthogonal = false;
  view.Rotation = 360;
  view.Elevation = 315;
  view.Perspective = 0;
  view.Tilt = 0;
  chart->SetView3DOptions(view);
}

void TPieSeries::PreparePieBounds() {
  if (TChart* chart = ParentChart()) kd::PreparePieBounds(*this, ContextOf(*chart));
}

void TPieSeries::DrawSlices() {
  if (TChart* chart = ParentChart()) kd::DrawSlices(*this, ContextOf(*chart));
}

void TPieSeries::DrawAllMarks() {
  if (TChart* chart = ParentChart()) kd::DrawAllMarks(*this, ContextOf(*chart));
}

int TPieSeries::SliceAtPoint(int x, int y) const {
  TChart* chart = ParentChart();
  return chart ? kd::SliceAtPoint(*this, chart->Canvas(), x, y) : -1;
}

}  // namespace kd
