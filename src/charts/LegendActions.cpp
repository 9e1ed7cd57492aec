// Action routines: kdPieChartLegend, kdPieLegendFont, kdPieLegendColor, kdPieLegendMarksWidth, kdPieLegendInverted, kdPieLegendShadow.
#include "charts/ActionRoutines.h"
#include "charts/ActionSteps.h"

namespace kd {

bool kdPieChartLegend(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    TChartLegend& legend = chart.Chart().Legend();
    if (p[1] == "Visible") ApplySwitch(p[2], [&](bool on) { legend.SetVisible(on); });
    // A legend in the foreground floats over the chart instead of taking room from it.
    if (p[1] == "Foreground") ApplySwitch(p[2], [&](bool on) { legend.SetResizeChart(!on); });
  });
}

bool kdPieLegendFont(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    TChartLegend& legend = chart.Chart().Legend();
    ApplyCompleteFontText(p[1], legend.Font(), [&](const FontData& font) { legend.SetFont(font); });
  });
}

bool kdPieLegendColor(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    TChartLegend& legend = chart.Chart().Legend();
    ApplyColorOverGradient(chart.Chart(), p[1], [&](TColor color) { legend.SetColor(color); });
  });
}

bool kdPieLegendMarksWidth(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    // The legend refuses a width outside 0..100, which fails the action.
    chart.Chart().Legend().SetColorWidth(IntegerParameter(p[1], 5));
  });
}

bool kdPieLegendInverted(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    ApplySwitch(p[1], [&](bool on) { chart.Chart().Legend().SetInverted(on); });
  });
}

bool kdPieLegendShadow(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    TChartLegend& legend = chart.Chart().Legend();
    ApplyColorText(p[1], [&](TColor color) { legend.SetShadowColor(color); });
    legend.SetShadowSize(IntegerParameter(p[2], 0));
  });
}

}  // namespace kd
