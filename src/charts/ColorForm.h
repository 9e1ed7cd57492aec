// The carrier form of the two pickers: the font dialog `FontDialog2`, the
// colour dialog `ColorDialog2` and the label `Label1` through whose font a
// chosen font is read back. One form lives for one kdFontBox or kdColorBox
// call, so neither dialog remembers a choice from an earlier call. The form is
// never shown and owns no dialog (the host's active window does), so it needs
// no window of its own.
#pragma once

#include "engine/FontData.h"
#include "platform/CommonDialogs.h"

namespace kd {

struct TFontDialog {
  // Opens with `Font`; on OK `Font` holds the choice and the result is true.
  bool Execute();
  platform::FontChoice Font;
};

struct TColorDialog {
  // Opens with `Color` selected; on OK `Color` holds the choice.
  bool Execute();
  COLORREF Color = 0;
};

struct TLabel {
  FontData Font;
};

class TFormColorText {
 public:
  // FontDialog2 starts from the form's font: MS Sans Serif with 11-pixel
  // characters in the window-text colour, no style, default character set.
  TFormColorText();

  TColorDialog ColorDialog2;
  TFontDialog FontDialog2;
  TLabel Label1;
};

}  // namespace kd
