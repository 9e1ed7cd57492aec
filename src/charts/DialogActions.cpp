// Action routines: kdFontBox, kdColorBox, kdPieChartSaveBitmap. The two
// pickers hand the user's choice to a host variable in the very text forms the
// font and colour parameters read, so a script can pass it straight on.
#include "charts/ActionRoutines.h"
#include "charts/ColorForm.h"
#include "charts/Conversions.h"
#include "host/HostServices.h"
#include "platform/ScreenMetrics.h"

namespace kd {

// Always true: cancelling is no failure, and the script goes on either way.
bool kdFontBox(const ActionParams& p) {
  try {
    TFormColorText form;
    if (!form.FontDialog2.Execute()) return true;
    form.Label1.Font = platform::FontDataOf(form.FontDialog2.Font, platform::ScreenPixelsPerInch());
    SetHostVariable(p[0], FontParameterText(form.Label1.Font));
  } catch (...) {
  }
  return true;
}

bool kdColorBox(const ActionParams& p) {
  try {
    TFormColorText form;
    if (!form.ColorDialog2.Execute()) return true;
    SetHostVariable(p[0], RgbTripleText(static_cast<TColor>(form.ColorDialog2.Color & 0xFFFFFF)));
  } catch (...) {
  }
  return true;
}

bool kdPieChartSaveBitmap(const ActionParams& p) {
  bool written = false;
  const bool found = RunOnChart(p[0], [&](TNeoChart& chart) { written = chart.SaveBitmap(p[1]); });
  return found && written;
}

}  // namespace kd
