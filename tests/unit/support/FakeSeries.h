// A series for panel and legend tests: fixed legend rows, and a log of the
// paint steps the panel calls, with the chart rectangle each step saw.
#pragma once

#include <string>
#include <vector>

#include "engine/ChartSeries.h"
#include "engine/Geometry.h"

namespace kd::test {

struct FakeRow {
  std::string text;
  TColor color = clRed;
  TBrushStyle style = bsSolid;
};

class FakeSeries : public TChartSeries {
 public:
  std::vector<FakeRow> rows;
  TColor circleBackColor = clDefault;
  bool repaintWhileGrouping = false;

  struct Step {
    std::string name;
    TRect chartRect;
  };
  std::vector<Step> steps;
  std::vector<std::string> StepNames() const;

  void GroupSmallSlices() override;
  void PreparePieBounds() override;
  void DrawSlices() override;
  void DrawAllMarks() override;

  int LegendItemCount() const override { return static_cast<int>(rows.size()); }
  int LegendItemToSlice(int row) const override { return row; }
  std::string LegendItemText(int row) const override;
  TColor SliceColor(int slice) const override;
  TBrushStyle SliceBrushStyle(int slice) const override;
  TColor CircleBackColor() const override { return circleBackColor; }

 private:
  void Log(const char* name);
};

}  // namespace kd::test
