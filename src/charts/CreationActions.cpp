// Action routines: kdPieChartCreate, kdQuickCreationPieChart, kdPieChartDelete.
#include <memory>

#include "charts/ActionRoutines.h"
#include "charts/Conversions.h"
#include "charts/HostWindowQuery.h"

namespace kd {

namespace {

// Deletes any chart of that name; true when one was found and removed.
bool DeleteChart(const std::string& name) {
  try {
    ChartRegistry* charts = Charts();
    TNeoChart* chart = charts ? charts->Find(name) : nullptr;
    if (!chart) return false;
    if (!chart->Name().empty()) chart->Close();
    charts->Remove(name);
    return true;
  } catch (...) {
    return false;
  }
}

// Steps shared by both creation actions: replace any chart of the name by a
// new one in the host object's window; null when the host has no window.
TNeoChart* CreateChartWindow(const std::string& name) {
  DeleteChart(name);
  HWND host = QueryHostWindow(name);
  if (!host) return nullptr;
  auto chart = std::make_unique<TNeoChart>(name, host);
  TNeoChart* created = chart.get();
  EnsureCharts().Add(std::move(chart));
  return created;
}

}  // namespace

bool kdPieChartCreate(const ActionParams& p) {
  try {
    if (!CreateChartWindow(p[0])) return false;
    TNeoChart* chart = FindChart(p[0]);
    if (!chart) return false;
    if (chart->Name().empty()) return true;
    TChart& panel = chart->Chart();
    TPieSeries& series = chart->Series();

    panel.SetColor(clWhite);
    if (!p[1].empty()) Guarded([&] { panel.SetColor(ColorParameter(p[1])); });
    ReadRecordList(p[2], [&](const PieRecord& r) { series.AddSlice(r.value, r.label, r.color); });

    bool monochrome = panel.Monochrome(), view3D = panel.View3D();
    bool marks = series.Marks().Visible(), patterns = series.UsePatterns();
    ApplySwitchParameter(p[3], monochrome);
    ApplySwitchParameter(p[4], view3D);
    ApplySwitchParameter(p[5], marks);
    ApplySwitchParameter(p[6], patterns);
    panel.SetMonochrome(monochrome);
    panel.SetView3D(view3D);
    series.Marks().SetVisible(marks);
    series.SetUsePatterns(patterns);

    series.SetExplodeBiggest(IntegerParameter(p[7], 0));
    series.SetRotationAngle(IntegerParameter(p[8], 0));
    return true;
  } catch (...) {
    return false;
  }
}

bool kdQuickCreationPieChart(const ActionParams& p) {
  try {
    CreateChartWindow(p[0]);
    return true;
  } catch (...) {
    return false;
  }
}

bool kdPieChartDelete(const ActionParams& p) { return DeleteChart(p[0]); }

}  // namespace kd
