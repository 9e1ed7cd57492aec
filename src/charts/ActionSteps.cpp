#include "charts/ActionSteps.h"
#include "engine/TextHelpers.h"

namespace kd {

std::optional<bool> ShowHideParameter(const std::string& text) {
  std::string word = LowerCaseText(text);
  if (word == "show") return true;
  if (word == "hide") return false;
  return std::nullopt;
}

std::optional<TPenStyle> PenStyleParameter(const std::string& text, bool acceptInsideFrame) {
  static const Keyword<TPenStyle> kStyles[] = {
      {"Solid", psSolid},   {"Dash", psDash},   {"Dot", psDot},
      {"DashDot", psDashDot}, {"DashDotDot", psDashDotDot}, {"Clear", psClear},
      {"InsideFrame", psInsideFrame}};
  std::optional<TPenStyle> style = KeywordParameter(text, kStyles);
  if (style == psInsideFrame && !acceptInsideFrame) return std::nullopt;
  return style;
}

void ApplyPenTexts(TChartPen& pen, const std::string& colorText, const std::string& showText,
                   const std::string& styleText) {
  ApplyColorText(colorText, [&](TColor color) { pen.color = color; });
  if (std::optional<bool> visible = ShowHideParameter(showText)) pen.visible = *visible;
  if (std::optional<TPenStyle> style = PenStyleParameter(styleText, true)) pen.style = *style;
}

size_t FontFieldCount(const std::string& text) {
  return DelimitedSplit(WithoutBlanks(text), '|').size();
}

}  // namespace kd
