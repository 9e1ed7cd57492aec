// Implements ChooseFontBox, ChooseColorBox and FontDataOf
// over ChooseFontA and ChooseColorA. Both dialogs run their own modal loop, so
// the host's windows keep painting and timers keep firing while they are open.
// Not here: hooks (the dialogs open where the platform puts them), help
// buttons, custom colours kept between calls.
#include "platform/CommonDialogs.h"

#include <commdlg.h>

#include <array>
#include <cstring>

#include "platform/GdiObjects.h"

namespace kd::platform {

std::optional<FontChoice> ChooseFontBox(HWND owner, const FontChoice& initial) {
  FontChoice chosen = initial;
  CHOOSEFONTA request = {};
  request.lStructSize = sizeof request;
  request.hwndOwner = IsWindow(owner) ? owner : nullptr;
  request.lpLogFont = &chosen.logFont;
  request.Flags = CF_EFFECTS | CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
  request.rgbColors = initial.color;
  if (!ChooseFontA(&request)) return std::nullopt;
  chosen.color = request.rgbColors;
  return chosen;
}

std::optional<COLORREF> ChooseColorBox(HWND owner, COLORREF initial) {
  std::array<COLORREF, 16> customColors = {};
  CHOOSECOLORA request = {};
  request.lStructSize = sizeof request;
  request.hwndOwner = IsWindow(owner) ? owner : nullptr;
  request.rgbResult = initial;
  request.lpCustColors = customColors.data();
  request.Flags = CC_RGBINIT;
  if (!ChooseColorA(&request)) return std::nullopt;
  return request.rgbResult;
}

FontData FontDataOf(const FontChoice& choice, int pixelsPerInch) {
  const LOGFONTA& lf = choice.logFont;
  FontData font;
  // The face name field may lack its terminating zero; never read past it.
  font.name.assign(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
  font.color = static_cast<TColor>(choice.color & 0xFFFFFF);
  font.size = -MulDiv(lf.lfHeight, 72, pixelsPerInch > 0 ? pixelsPerInch : 96);
  font.styles = 0;
  if (lf.lfWeight >= FW_BOLD) font.styles |= fsBold;
  if (lf.lfItalic) font.styles |= fsItalic;
  if (lf.lfUnderline) font.styles |= fsUnderline;
  if (lf.lfStrikeOut) font.styles |= fsStrikeOut;
  font.charset = lf.lfCharSet;
  return font;
}

}  // namespace kd::platform
