// The pie series: the chart's data (value, label and colour per slice), the
// settings that shape the pie, the grouping of small slices into one other
// slice, and the angle table each paint draws from. Drawing is in
// PieDrawing.h, the marks in Marks.h.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/ChartSeries.h"
#include "engine/Color.h"
#include "engine/Device.h"
#include "engine/EngineError.h"
#include "engine/Geometry.h"
#include "engine/Legend.h"
#include "engine/Marks.h"

namespace kd {

// A bad property value refused by the series; the stored value stays.
class PieException : public EngineError {
 public:
  using EngineError::EngineError;
};

// An index outside a list: "List index out of bounds (%d)".
class EListError : public std::out_of_range {
 public:
  explicit EListError(int index);
};

enum TChartListOrder { loNone, loAscending, loDescending };

// One list of values with cached statistics. Values read back multiplied by
// Multiplier; the statistics are over the read-back values.
class TChartValueList {
 public:
  TChartValueList(std::string name, TChartListOrder order) : Name(std::move(name)), Order(order) {}

  std::string Name;
  TChartListOrder Order;
  bool DateTime = false;  // kept only; a pie has no dates

  double Multiplier() const { return multiplier_; }
  void SetMultiplier(double value);

  int Count() const { return static_cast<int>(values_.size()); }
  double Value(int index) const { return values_[index] * multiplier_; }
  void SetValue(int index, double value);
  void Insert(int index, double value);
  void Delete(int index);
  void Clear();
  void Exchange(int a, int b);
  void Reserve(int count) { values_.reserve(count); }

  double MinValue() const;
  double MaxValue() const;
  double Total() const;
  double TotalAbs() const;
  // Replaces the cached absolute total until the list changes again; the
  // grouping uses it so that grouped values count once.
  void OverrideTotalAbs(double total);
  // First index whose read-back value equals value exactly, else -1.
  int Locate(double value) const;

 private:
  void Recalc() const;

  std::vector<double> values_;
  double multiplier_ = 1.0;
  mutable double min_ = 0, max_ = 0, total_ = 0, totalAbs_ = 0;
  mutable bool dirty_ = true;
};

enum TPieOtherStyle { poNone = 0, poBelowPercent = 1, poBelowValue = 2 };

struct TPieOtherSlice {
  TPieOtherStyle Style = poNone;
  double Value = 0;
  std::string Text = "Other";

  bool operator==(const TPieOtherSlice& o) const {
    return Style == o.Style && Value == o.Value && Text == o.Text;
  }
  bool operator!=(const TPieOtherSlice& o) const { return !(*this == o); }
};

// X value of the slice the grouping appends, and of the slices it took in.
constexpr double OtherSliceMarker = 2147483647.0;
constexpr double GroupedMarker = -1.0;

struct TSliceAngles {
  double FromAngle = 0;  // radians, counter-clockwise from three o'clock,
  double MidAngle = 0;   // before the rotation is added
  double ToAngle = 0;
};

// Where the pie lies on the current paint (pixels).
struct TPieGeometry {
  TRect PieBounds;
  int PieWidth = 0;
  int PieHeight = 0;
  int PieCenterX = 0;
  int PieCenterY = 0;
  int RadiusX = 0;
  int RadiusY = 0;
  TPoint ArcCursor;          // end point of the last flat slice drawn
  double ArcCursorAngle = 0; // its exact angle, rotation included
  bool HasExploded = false;  // some slice is pulled out on this paint
  int DepthStart = 0;
  int DepthEnd = 0;
  // Slices in the order they were drawn: back to front in 3D view with a
  // slice pulled out, else slice order. Kept to spare an allocation a paint.
  std::vector<int> DrawOrder;
  // The marks as measured for their room on this paint.
  TMarksMeasure Marks;
};

class TPieSeries : public TChartSeries {
 public:
  TPieSeries();

  // ---- data
  int AddSlice(double value, const std::string& label = std::string(), TColor color = clDefault);
  void DeleteSlice(int index);  // EListError outside 0..SliceCount()-1
  void ClearSlices();
  int SliceCount() const { return pieValues_.Count(); }

  double SliceValue(int index) const { return pieValues_.Value(index); }
  double SliceXValue(int index) const { return xValues_.Value(index); }
  // The slice's place in the list as marks and legend show it: its X value,
  // but the index for the generated other slice (whose X is only a marker).
  double SlicePosition(int index) const;
  // Empty when the slice has no label.
  const std::string& SliceLabel(int index) const;
  TColor SliceColor(int index) const override;
  // Slice taken into the generated other slice: kept, but never drawn.
  bool IsGrouped(int index) const { return xValues_.Value(index) == GroupedMarker; }
  static TColor PaletteColor(int index);

  TChartValueList& PieValues() { return pieValues_; }
  const TChartValueList& PieValues() const { return pieValues_; }
  TChartValueList& XValues() { return xValues_; }
  const TChartValueList& XValues() const { return xValues_; }

  // ---- series settings
  TColor SeriesColor() const { return seriesColor_; }
  void SetSeriesColor(TColor value);
  bool ColorEachPoint() const { return colorEachPoint_; }
  void SetColorEachPoint(bool value);  // false also forgets every slice's own colour
  const std::string& ValueFormat() const { return valueFormat_; }
  void SetValueFormat(const std::string& value);
  const std::string& PercentFormat() const { return percentFormat_; }
  void SetPercentFormat(const std::string& value);
  TSeriesMarks& Marks() { return marks_; }
  const TSeriesMarks& Marks() const { return marks_; }

  // ---- pie settings
  bool Circled() const { return circled_; }
  void SetCircled(bool value);
  int RotationAngle() const { return rotationAngle_; }
  // Stores value mod 360; a negative value raises PieException.
  void SetRotationAngle(int value);
  double RotationRadians() const { return rotationRadians_; }
  int CustomXRadius() const { return customXRadius_; }
  void SetCustomXRadius(int value);
  int CustomYRadius() const { return customYRadius_; }
  void SetCustomYRadius(int value);
  TColor CircleBackColor() const override { return circleBackColor_; }
  void SetCircleBackColor(TColor value);
  int ExplodeBiggest() const { return explodeBiggest_; }
  void SetExplodeBiggest(int value);
  // Gives the slice with the largest value the ExplodeBiggest percentage;
  // the other slices keep theirs.
  void UpdateExplodeBiggest();
  // Explode percentage of a slice; 0 beyond the list.
  int ExplodedSlice(int index) const;
  void SetExplodedSlice(int index, int percent);
  const TPieOtherSlice& OtherSlice() const { return otherSlice_; }
  void SetOtherSlice(const TPieOtherSlice& value);
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool value);
  bool UsePatterns() const { return usePatterns_; }
  void SetUsePatterns(bool value);
  const TChartPen& PiePen() const { return piePen_; }
  void SetPiePen(const TChartPen& value);  // a negative width keeps the old one

  // ---- per paint
  // Sorts by PieValues.Order, drops the other slice of the last paint and
  // groups the small slices anew (the panel ignores the repaint requests a
  // paint makes, so regrouping on every paint does not loop).
  void GroupSmallSlices() override;
  void ComputeSliceAngles();
  const std::vector<TSliceAngles>& Angles() const { return angles_; }
  const TSliceAngles& Angle(int index) const { return angles_[index]; }
  TPieGeometry& Geometry() { return geometry_; }
  const TPieGeometry& Geometry() const { return geometry_; }

  // ---- legend rows: the slices that are not grouped
  int LegendItemCount() const override;
  // The slice shown on legend row `row`; row itself when there are fewer.
  int LegendItemToSlice(int row) const override;
  // Text of a legend row in the panel legend's TextStyle.
  std::string LegendItemText(int row) const override;
  // Legend text of one slice in `style`, line separators turned to blanks.
  std::string SliceLegendText(int slice, TLegendTextStyle style) const;
  TBrushStyle SliceBrushStyle(int slice) const override;

  // ---- the panel's paint steps (PieDrawing.h and Marks.h do the work)
  void SetParentChart(TChart* chart) override;
  void PreparePieBounds() override;
  void DrawSlices() override;
  void DrawAllMarks() override;
  // Slice under a point of the panel's last paint, or -1.
  int SliceAtPoint(int x, int y) const;

 private:
  void Changed() const;      // a setting changed
  void DataChanged() const;  // the slices changed; only while Active
  void RemoveSlice(int index);
  int AppendSlice(double x, double value, const std::string& label, TColor color);
  void SortByOrder();
  void ExchangeSlices(int a, int b);
  const std::vector<int>& LegendRows() const;


  TChartValueList xValues_{"", loAscending};
  TChartValueList pieValues_{"Pie", loNone};
  std::vector<TColor> colors_;
  std::vector<std::string> labels_;
  std::vector<int> exploded_;

  TColor seriesColor_ = clDefault;
  bool colorEachPoint_ = true;
  std::string valueFormat_;
  std::string percentFormat_;
  TSeriesMarks marks_;

  bool circled_ = false;
  int rotationAngle_ = 0;
  double rotationRadians_ = 0;
  int customXRadius_ = 0;
  int customYRadius_ = 0;
  TColor circleBackColor_ = clDefault;
  int explodeBiggest_ = 0;
  TPieOtherSlice otherSlice_;
  bool dark3D_ = true;
  bool usePatterns_ = false;
  TChartPen piePen_;

  std::vector<TSliceAngles> angles_;
  TPieGeometry geometry_;

  mutable std::vector<int> legendRows_;
  mutable bool legendRowsDirty_ = true;
};

}  // namespace kd
