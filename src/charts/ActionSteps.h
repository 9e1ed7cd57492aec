// Steps several action families share: a colour text applied to one setting,
// a colour that replaces the background gradient, switch and show/hide words,
// line style keywords, the three texts of an outline pen, and font texts.
#pragma once

#include <optional>
#include <string>

#include "charts/ActionSkeleton.h"
#include "charts/Conversions.h"
#include "engine/Chart.h"
#include "engine/Device.h"
#include "engine/FontData.h"

namespace kd {

// An empty colour text skips the step; one that does not parse is swallowed
// and the setting keeps its colour.
template <class Store>
void ApplyColorText(const std::string& text, Store&& store) {
  if (text.empty()) return;
  Guarded([&] { store(ColorParameter(text)); });
}

// A colour the author gives to a background part (panel, legend, marks)
// means the gradient must go: it goes even when the colour does not parse.
template <class Store>
void ApplyColorOverGradient(TChart& panel, const std::string& text, Store&& store) {
  if (text.empty()) return;
  panel.Gradient().SetVisible(false);
  ApplyColorText(text, store);
}

// "true" or "false" in any case passes the value on; other texts do nothing.
template <class Store>
void ApplySwitch(const std::string& text, Store&& store) {
  if (std::optional<bool> value = SwitchParameter(text)) store(*value);
}

// True for "show", false for "hide", in any case; nothing otherwise.
std::optional<bool> ShowHideParameter(const std::string& text);

// "Solid", "Dash", "Dot", "DashDot", "DashDotDot", "Clear", and
// "InsideFrame" where the action accepts it; exact case.
std::optional<TPenStyle> PenStyleParameter(const std::string& text, bool acceptInsideFrame);

// Colour, show/hide and line style of an outline pen, in this order.
void ApplyPenTexts(TChartPen& pen, const std::string& colorText, const std::string& showText,
                   const std::string& styleText);

// Applies a font text field by field to a copy of `font` and stores the copy
// also when a field fails, so the fields before it stay applied; the failure
// then goes on to the caller.
template <class Store>
void ApplyFontText(const std::string& text, FontData font, Store&& store) {
  try {
    ApplyFontParameter(text, font);
  } catch (...) {
    store(font);
    throw;
  }
  store(font);
}

// Fields of a font text, counted as the font conversion splits them.
size_t FontFieldCount(const std::string& text);

// The legend's and the marks' font text: one of fewer than five fields
// changes nothing, and a failing field is swallowed after the earlier ones
// were applied.
template <class Store>
void ApplyCompleteFontText(const std::string& text, const FontData& font, Store&& store) {
  if (FontFieldCount(text) < 5) return;
  Guarded([&] { ApplyFontText(text, font, store); });
}

}  // namespace kd
