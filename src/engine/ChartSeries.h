// What the chart panel and its legend need of a series. The pie series
// derives from this; the panel holds its series without owning them (the
// chart window owns both).
#pragma once

#include <string>

#include "engine/Color.h"
#include "engine/Device.h"

namespace kd {

class TChart;

class TChartSeries {
 public:
  TChartSeries() = default;
  virtual ~TChartSeries();
  TChartSeries(const TChartSeries&) = delete;
  TChartSeries& operator=(const TChartSeries&) = delete;

  // Set by TChart::AddSeries / RemoveSeries. A series that applies settings
  // to its panel when attached overrides this and calls the base first.
  virtual void SetParentChart(TChart* chart) { parent_ = chart; }
  TChart* ParentChart() const { return parent_; }

  bool Active() const { return active_; }
  void SetActive(bool value);
  bool ShowInLegend() const { return showInLegend_; }
  void SetShowInLegend(bool value);

  // Asks the panel to redraw; nothing while no panel holds the series.
  void Repaint() const;

  // Paint steps, called by the panel in this order on every frame.
  virtual void GroupSmallSlices() = 0;   // before titles and legend
  virtual void PreparePieBounds() = 0;   // after the chart rectangle is final
  virtual void DrawSlices() = 0;
  virtual void DrawAllMarks() = 0;       // draws nothing while the marks are hidden

  // Legend rows (one per slice outside the grouped other slice).
  virtual int LegendItemCount() const = 0;
  virtual int LegendItemToSlice(int row) const = 0;
  virtual std::string LegendItemText(int row) const = 0;
  virtual TColor SliceColor(int slice) const = 0;
  // Hatch of a slice when patterns are on, else bsSolid.
  virtual TBrushStyle SliceBrushStyle(int slice) const = 0;
  // Background behind hatched slices; clDefault: the panel's choice.
  virtual TColor CircleBackColor() const = 0;

 private:
  TChart* parent_ = nullptr;
  bool active_ = true;
  bool showInLegend_ = true;
};

}  // namespace kd
