// Action routines: kdPieChartTitle, kdPieChartAddSeries, kdPieDeleteSeries, kdPieChartClear.
#include "charts/ActionRoutines.h"
#include "charts/ActionSteps.h"

namespace kd {

namespace {

const Keyword<TAlignment> kAlignments[] = {
    {"Left", taLeftJustify}, {"Center", taCenter}, {"Right", taRightJustify}};

// Text, font and alignment of the title or the foot. A font field that fails
// to convert ends the action with the text and the earlier fields applied.
// A missing field counts as empty, and an empty colour, size or character
// set fails just as a missing one does, so the font text is applied as it is.
void ApplyTitle(TChartTitle& line, const ActionParams& p) {
  line.SetLine(0, p[1]);
  ApplyFontText(p[4], line.Font(), [&](const FontData& font) { line.SetFont(font); });
  if (std::optional<TAlignment> alignment = KeywordParameter(p[3], kAlignments))
    line.SetAlignment(*alignment);
}

}  // namespace

bool kdPieChartTitle(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    if (p[2] == "Title") ApplyTitle(chart.Chart().Title(), p);
    if (p[2] == "Foot") ApplyTitle(chart.Chart().Foot(), p);
  });
}

bool kdPieChartAddSeries(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    TPieSeries& series = chart.Series();
    // With a colour, a bad value or colour only skips the record; without
    // one, a bad value fails the action.
    if (!p[3].empty()) {
      Guarded([&] {
        TColor color = ColorParameter(p[3]);
        series.AddSlice(FloatingParameter(p[2]), p[1], color);
      });
      return;
    }
    series.AddSlice(FloatingParameter(p[2]), p[1], clDefault);
  });
}

bool kdPieDeleteSeries(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    if (p[1].empty()) return;
    TPieSeries& series = chart.Series();
    int number = IntegerParameter(p[1], 1);
    if (number >= 1 && number <= series.SliceCount()) series.DeleteSlice(number - 1);
  });
}

bool kdPieChartClear(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) { chart.Series().ClearSlices(); });
}

}  // namespace kd
