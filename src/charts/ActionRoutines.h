// The 34 action routines, one per identifier; each family lives in a file
// of its own (CreationActions.cpp, DataActions.cpp, ...).
#pragma once

#include "charts/ActionSkeleton.h"

namespace kd {

// CreationActions.cpp
bool kdPieChartCreate(const ActionParams& p);
bool kdQuickCreationPieChart(const ActionParams& p);
bool kdPieChartDelete(const ActionParams& p);

// DataActions.cpp
bool kdPieChartTitle(const ActionParams& p);
bool kdPieChartAddSeries(const ActionParams& p);
bool kdPieDeleteSeries(const ActionParams& p);
bool kdPieChartClear(const ActionParams& p);

// AppearanceActions.cpp
bool kdPieChartVisible(const ActionParams& p);
bool kdPieChartMonochrome(const ActionParams& p);
bool kdPieChartColor(const ActionParams& p);
bool kdPieChartGradient(const ActionParams& p);
bool kdPieChartImage(const ActionParams& p);
bool kdPieChartPattern(const ActionParams& p);
bool kdPieChartBorder(const ActionParams& p);
bool kdPieChart3D(const ActionParams& p);
bool kdPieChartView(const ActionParams& p);
bool kdPieChartCircled(const ActionParams& p);
bool kdPieChartRotate(const ActionParams& p);

// LegendActions.cpp
bool kdPieChartLegend(const ActionParams& p);
bool kdPieLegendFont(const ActionParams& p);
bool kdPieLegendColor(const ActionParams& p);
bool kdPieLegendMarksWidth(const ActionParams& p);
bool kdPieLegendInverted(const ActionParams& p);
bool kdPieLegendShadow(const ActionParams& p);

// MarksActions.cpp
bool kdPieChartMarks(const ActionParams& p);
bool kdPieMarksStyle(const ActionParams& p);
bool kdPieMarksBackground(const ActionParams& p);
bool kdPieMarksFont(const ActionParams& p);
bool kdPieMarksFrame(const ActionParams& p);
bool kdPieMarksFrameStyle(const ActionParams& p);
bool kdPieMarksArrow(const ActionParams& p);

// DialogActions.cpp
bool kdFontBox(const ActionParams& p);
bool kdColorBox(const ActionParams& p);
bool kdPieChartSaveBitmap(const ActionParams& p);

// The routine of an identifier 1..34, null for any other.
using ActionRoutine = bool (*)(const ActionParams&);
ActionRoutine RoutineOf(int32_t id);

}  // namespace kd
