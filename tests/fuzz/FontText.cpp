// Fuzz target: font texts "face|colour|size|styles|charset" applied to a font
// and written back; the text written back must read again.
#include "FuzzInput.h"
#include "charts/Conversions.h"
#include "engine/TextLocale.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kdfuzz::FuzzInput input(data, size);
  kd::SetCurrentLocale(kd::TextLocale::Classic());
  kd::FontData font;
  try {
    kd::ApplyFontParameter(input.Text(), font);
  } catch (const kd::ConversionError&) {
  }
  // The text written back reads again as the same font.
  kd::FontData again;
  kd::ApplyFontParameter(kd::FontParameterText(font), again);
  if (!(again == font)) __builtin_trap();
  return 0;
}
