#include <iterator>

#include "charts/ActionRoutines.h"

namespace kd {

ActionRoutine RoutineOf(int32_t id) {
  static constexpr ActionRoutine kRoutines[] = {
      kdPieChartCreate,
      kdQuickCreationPieChart,
      kdPieChartDelete,
      kdPieChartTitle,
      kdPieChartAddSeries,
      kdPieDeleteSeries,
      kdPieChartClear,
      kdPieChartVisible,
      kdPieChartMonochrome,
      kdPieChartColor,
      kdPieChartGradient,
      kdPieChartImage,
      kdPieChartPattern,
      kdPieChartBorder,
      kdPieChart3D,
      kdPieChartView,
      kdPieChartCircled,
      kdPieChartLegend,
      kdPieLegendFont,
      kdPieLegendColor,
      kdPieLegendMarksWidth,
      kdPieLegendInverted,
      kdPieLegendShadow,
      kdPieChartMarks,
      kdPieMarksStyle,
      kdPieMarksBackground,
      kdPieMarksFont,
      kdPieMarksFrame,
      kdPieMarksFrameStyle,
      kdPieMarksArrow,
      kdFontBox,
      kdColorBox,
      kdPieChartSaveBitmap,
      kdPieChartRotate,
  };
  if (id < 1 || id > static_cast<int32_t>(std::size(kRoutines))) return nullptr;
  return kRoutines[id - 1];
}

}  // namespace kd
