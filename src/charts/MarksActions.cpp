// Action routines: kdPieChartMarks, kdPieMarksStyle, kdPieMarksBackground, kdPieMarksFont, kdPieMarksFrame, kdPieMarksFrameStyle, kdPieMarksArrow.
#include "charts/ActionRoutines.h"

namespace kd {

bool kdPieChartMarks(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdPieMarksStyle(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdPieMarksBackground(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdPieMarksFont(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdPieMarksFrame(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdPieMarksFrameStyle(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

bool kdPieMarksArrow(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart&) {});
}

}  // namespace kd
