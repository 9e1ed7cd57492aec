// Action routines: kdFontBox, kdColorBox, kdPieChartSaveBitmap.
#include "charts/ActionRoutines.h"

namespace kd {

bool kdFontBox(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdColorBox(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdPieChartSaveBitmap(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

}  // namespace kd
