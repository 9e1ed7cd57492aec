// The platform's common font and colour dialogs, shown modally, and the
// reading of a chosen font as the engine's FontData. Not here: the open and
// save picture dialogs of the editors, dialog hooks, printer fonts.
#pragma once

#include "platform/Win32.h"

#include <optional>

#include "engine/FontData.h"

namespace kd::platform {

// What the font dialog opens with and what it hands back: the font and, from
// its effects section, the colour.
struct FontChoice {
  LOGFONTA logFont = {};
  COLORREF color = 0;
};

// The font dialog with the effects section (colour, underline, strike-out),
// screen fonts only, opening with `initial`. Nothing when the user cancels or
// the dialog cannot be shown.
std::optional<FontChoice> ChooseFontBox(HWND owner, const FontChoice& initial);

// The colour dialog opening with `initial` selected and no custom colours.
// Nothing when the user cancels or the dialog cannot be shown.
std::optional<COLORREF> ChooseColorBox(HWND owner, COLORREF initial);

// The chosen font as FontData: the size in points from the character height
// at `pixelsPerInch` (a positive cell height gives a negative size, which the
// device turns back into the same cell height), bold from weight 700 up.
FontData FontDataOf(const FontChoice& choice, int pixelsPerInch);

}  // namespace kd::platform
