// Action routines: kdPieChartLegend, kdPieLegendFont, kdPieLegendColor, kdPieLegendMarksWidth, kdPieLegendInverted, kdPieLegendShadow.
#include "charts/ActionRoutines.h"

namespace kd {

bool kdPieChartLegend(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdPieLegendFont(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdPieLegendColor(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdPieLegendMarksWidth(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdPieLegendInverted(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdPieLegendShadow(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

}  // namespace kd
