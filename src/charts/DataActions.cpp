// Action routines: kdPieChartTitle, kdPieChartAddSeries, kdPieDeleteSeries, kdPieChartClear.
#include "charts/ActionRoutines.h"

namespace kd {

bool kdPieChartTitle(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdPieChartAddSeries(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdPieDeleteSeries(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdPieChartClear(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

}  // namespace kd
