// Action routines: kdPieChartVisible, kdPieChartMonochrome, kdPieChartColor, kdPieChartGradient, kdPieChartImage, kdPieChartPattern, kdPieChartBorder, kdPieChart3D, kdPieChartView, kdPieChartCircled, kdPieChartRotate.
#include "charts/ActionRoutines.h"
#include "charts/ActionSteps.h"
#include "charts/RotationState.h"
#include "platform/Pictures.h"

namespace kd {

namespace {

struct GradientKeyword {
  const char* text;
  TGradientDirection direction;
  // The engine has no corner directions from the right: those are the left
  // ones with the two colours exchanged.
  bool swapColors;
};

const GradientKeyword kGradientDirections[] = {
    {"TopBottom", gdTopBottom, false},
    {"BottomTop", gdBottomTop, false},
    {"LeftRight", gdLeftRight, false},
    {"RightLeft", gdRightLeft, false},
    {"FromCenter", gdFromCenter, false},
    {"FromTopLeft", gdFromTopLeft, false},
    {"FromBottomLeft", gdFromBottomLeft, false},
    {"FromTopRight", gdFromTopLeft, true},
    {"FromBottomRight", gdFromBottomLeft, true},
};

const GradientKeyword* FindGradientDirection(const std::string& text) {
  for (const GradientKeyword& keyword : kGradientDirections)
    if (text == keyword.text) return &keyword;
  return nullptr;
}

const Keyword<TBackImageMode> kBackImageModes[] = {
    {"Stretch", pbmStretch}, {"Tile", pbmTile}, {"Center", pbmCenter}};

// One row of kdPieChartView: the value is clamped as text to minimum..maximum
// and then read again, a text that is no number giving the fallback.
struct ViewValue {
  const char* text;
  int minimum;
  int maximum;
  int fallback;
  void (*store)(TNeoChart& chart, int value);
};

const ViewValue kViewValues[] = {
    {"Perspective", 0, 100, 0, [](TNeoChart& c, int v) { c.Chart().SetPerspective(v); }},
    {"Rotation", 0, 360, 0, [](TNeoChart& c, int v) { c.Chart().SetRotation(v); }},
    {"Elevation", 0, 360, 0, [](TNeoChart& c, int v) { c.Chart().SetElevation(v); }},
    {"Rotation Angle", 0, 360, 0, [](TNeoChart& c, int v) { c.Series().SetRotationAngle(v); }},
    {"Explode Biggest", 0, 100, 0, [](TNeoChart& c, int v) { c.Series().SetExplodeBiggest(v); }},
    {"Horiz Offset", -1500, 1500, 0, [](TNeoChart& c, int v) { c.Chart().SetHorizOffset(v); }},
    {"Vert Offset", -1500, 1500, 0, [](TNeoChart& c, int v) { c.Chart().SetVertOffset(v); }},
    {"Zoom", 1, 500, 1, [](TNeoChart& c, int v) { c.Chart().SetZoom(v); }},
    {"Depth", 1, 100, 1, [](TNeoChart& c, int v) { c.Chart().SetChart3DPercent(v); }},
};

int ClampedViewValue(const ViewValue& row, const std::string& text) {
  std::string clamped = text;
  int value = IntegerParameter(text, 1);
  if (value < row.minimum) clamped = std::to_string(row.minimum);
  if (value > row.maximum) clamped = std::to_string(row.maximum);
  return IntegerParameter(clamped, row.fallback);
}

}  // namespace

bool kdPieChartVisible(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    if (std::optional<bool> visible = ShowHideParameter(p[1])) chart.SetPanelVisible(*visible);
  });
}

bool kdPieChartMonochrome(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    ApplySwitch(p[1], [&](bool on) { chart.Chart().SetMonochrome(on); });
  });
}

bool kdPieChartColor(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    TChart& panel = chart.Chart();
    ApplyColorOverGradient(panel, p[1], [&](TColor color) { panel.SetColor(color); });
  });
}

bool kdPieChartGradient(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    TColor first = clWhite, second = clWhite;
    ApplyColorText(p[1], [&](TColor color) { first = color; });
    ApplyColorText(p[2], [&](TColor color) { second = color; });
    const GradientKeyword* keyword = FindGradientDirection(p[3]);
    if (!keyword) return;
    if (keyword->swapColors) std::swap(first, second);
    TChartGradient& gradient = chart.Chart().Gradient();
    gradient.SetVisible(true);
    gradient.SetStartColor(first);
    gradient.SetEndColor(second);
    gradient.SetDirection(keyword->direction);
  });
}

bool kdPieChartImage(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    TChart& panel = chart.Chart();
    // A file that does not load fails the action and keeps the old image.
    panel.SetBackImage(platform::LoadPictureFile(p[1]));
    if (std::optional<TBackImageMode> mode = KeywordParameter(p[2], kBackImageModes))
      panel.SetBackImageMode(*mode);
    // "hide" keeps the image inside the chart rectangle, "show" spreads it
    // over the whole panel.
    if (std::optional<bool> show = ShowHideParameter(p[3])) panel.SetBackImageInside(!*show);
  });
}

bool kdPieChartPattern(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    ApplySwitch(p[1], [&](bool on) { chart.Series().SetUsePatterns(on); });
  });
}

bool kdPieChartBorder(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    TChartPen pen = chart.Series().PiePen();
    ApplyPenTexts(pen, p[1], p[2], p[3]);
    pen.width = IntegerParameter(p[4], 1);  // the series keeps its width for a negative one
    chart.Series().SetPiePen(pen);
  });
}

bool kdPieChart3D(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    ApplySwitch(p[1], [&](bool on) { chart.Chart().SetView3D(on); });
  });
}

bool kdPieChartView(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    for (const ViewValue& row : kViewValues) {
      if (p[1] != row.text) continue;
      row.store(chart, ClampedViewValue(row, p[2]));
      return;
    }
  });
}

bool kdPieChartCircled(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    ApplySwitch(p[1], [&](bool on) { chart.Series().SetCircled(on); });
  });
}

bool kdPieChartRotate(const ActionParams& p) {
  return RunOnChart(p[0], [&](TNeoChart& chart) {
    // The step is module-wide: the last one given drives every rotating chart.
    ApplySwitch(p[1], [&](bool on) {
      if (on) Rotation().step = IntegerParameter(p[2], 1);
      chart.RotationTimer().SetEnabled(on);
    });
  });
}

}  // namespace kd
