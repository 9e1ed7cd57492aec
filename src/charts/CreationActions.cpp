// Action routines: kdPieChartCreate, kdQuickCreationPieChart, kdPieChartDelete.
#include "charts/ActionRoutines.h"

namespace kd {

bool kdPieChartCreate(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdQuickCreationPieChart(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdPieChartDelete(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

}  // namespace kd
