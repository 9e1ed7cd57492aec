#include "charts/ColorForm.h"

#include <cstring>

namespace kd {

bool TFontDialog::Execute() {
  std::optional<platform::FontChoice> chosen = platform::ChooseFontBox(GetActiveWindow(), Font);
  if (!chosen) return false;
  Font = *chosen;
  return true;
}

bool TColorDialog::Execute() {
  std::optional<COLORREF> chosen = platform::ChooseColorBox(GetActiveWindow(), Color);
  if (!chosen) return false;
  Color = *chosen;
  return true;
}

TFormColorText::TFormColorText() {
  LOGFONTA& lf = FontDialog2.Font.logFont;
  lf.lfHeight = -11;  // character height in pixels, without the internal leading
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(lf.lfFaceName, "MS Sans Serif");
  FontDialog2.Font.color = GetSysColor(COLOR_WINDOWTEXT);
}

}  // namespace kd
