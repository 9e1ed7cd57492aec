#include "engine/ChartSeries.h"

#include "engine/Chart.h"

namespace kd {

TChartSeries::~TChartSeries() {
  // The panel must not keep a pointer to a series that is gone.
  if (parent_) parent_->RemoveSeries(this);
}

void TChartSeries::SetActive(bool value) {
  if (StoreChanged(active_, value)) Repaint();
}

void TChartSeries::SetShowInLegend(bool value) {
  if (StoreChanged(showInLegend_, value)) Repaint();
}

void TChartSeries::Repaint() const {
  if (parent_) parent_->Invalidate();
}

}  // namespace kd
