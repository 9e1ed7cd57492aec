#include "support/FakeSeries.h"

#include "engine/Chart.h"

namespace kd::test {

std::vector<std::string> FakeSeries::StepNames() const {
  std::vector<std::string> out;
  for (const Step& s : steps) out.push_back(s.name);
  return out;
}

void FakeSeries::Log(const char* name) {
  Step s;
  s.name = name;
  if (ParentChart()) s.chartRect = ParentChart()->ChartRect();
  steps.push_back(s);
}

void FakeSeries::GroupSmallSlices() {
  Log("GroupSmallSlices");
  if (repaintWhileGrouping) Repaint();
}

void FakeSeries::PreparePieBounds() { Log("PreparePieBounds"); }
void FakeSeries::DrawSlices() { Log("DrawSlices"); }
void FakeSeries::DrawAllMarks() { Log("DrawAllMarks"); }

std::string FakeSeries::LegendItemText(int row) const {
  if (row < 0 || row >= static_cast<int>(rows.size())) return std::string();
  return rows[row].text;
}

TColor FakeSeries::SliceColor(int slice) const {
  if (slice < 0 || slice >= static_cast<int>(rows.size())) return clDefault;
  return rows[slice].color;
}

TBrushStyle FakeSeries::SliceBrushStyle(int slice) const {
  if (slice < 0 || slice >= static_cast<int>(rows.size())) return bsSolid;
  return rows[slice].style;
}

}  // namespace kd::test
