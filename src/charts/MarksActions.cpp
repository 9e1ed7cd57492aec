// Action routines: kdPieChartMarks, kdPieMarksStyle, kdPieMarksBackground, kdPieMarksFont, kdPieMarksFrame, kdPieMarksFrameStyle, kdPieMarksArrow.
#include "charts/ActionRoutines.h"
#include "charts/ActionSteps.h"

namespace kd {

namespace {

const Keyword<TSeriesMarksStyle> kMarksStyles[] = {
    {"Value", smsValue},
    {"Percent", smsPercent},
    {"Label", smsLabel},
    {"LabelPercent", smsLabelPercent},
    {"LabelValue", smsLabelValue},
    {"Legend", smsLegend},
    {"PercentTotal", smsPercentTotal},
    {"LabelPercentTotal", smsLabelPercentTotal},
    {"XValue", smsXValue},
};

}  // namespace

bool kdPieChartMarks(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    TSeriesMarks& marks = chart.Series().Marks();
    if (p[1] == "VisibleMarks") ApplySwitch(p[2], [&](bool on) { marks.SetVisible(on); });
    if (p[1] == "VisibleFrame") {
      ApplySwitch(p[2], [&](bool on) {
        TChartPen frame = marks.Frame();
        frame.visible = on;
        marks.SetFrame(frame);
      });
    }
    if (p[1] == "TransparentTextFone") ApplySwitch(p[2], [&](bool on) { marks.SetTransparent(on); });
  });
}

bool kdPieMarksStyle(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    if (std::optional<TSeriesMarksStyle> style = KeywordParameter(p[1], kMarksStyles))
      chart.Series().Marks().SetStyle(*style);
  });
}

bool kdPieMarksBackground(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    TSeriesMarks& marks = chart.Series().Marks();
    ApplyColorOverGradient(chart.Chart(), p[1], [&](TColor color) { marks.SetBackColor(color); });
  });
}

bool kdPieMarksFont(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    TSeriesMarks& marks = chart.Series().Marks();
    ApplyCompleteFontText(p[1], marks.Font(), [&](const FontData& font) { marks.SetFont(font); });
  });
}

bool kdPieMarksFrame(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    TSeriesMarks& marks = chart.Series().Marks();
    TChartPen frame = marks.Frame();
    ApplyColorText(p[1], [&](TColor color) { frame.color = color; });
    frame.width = IntegerParameter(p[2], 1);  // the marks keep their width for a negative one
    marks.SetFrame(frame);
  });
}

bool kdPieMarksFrameStyle(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    TSeriesMarks& marks = chart.Series().Marks();
    // The frame of a mark box has no inside-frame style.
    std::optional<TPenStyle> style = PenStyleParameter(p[1], false);
    if (!style) return;
    TChartPen frame = marks.Frame();
    frame.style = *style;
    marks.SetFrame(frame);
  });
}

bool kdPieMarksArrow(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    TSeriesMarks& marks = chart.Series().Marks();
    TChartPen arrow = marks.Arrow();
    ApplyPenTexts(arrow, p[1], p[2], p[3]);
    marks.SetArrow(arrow);
    marks.SetArrowLength(IntegerParameter(p[4], 1));
  });
}

}  // namespace kd
