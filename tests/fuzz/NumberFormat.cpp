// Fuzz target: number patterns and "%s" texts with arbitrary values, in a
// locale with ordinary and with odd separators.
#include <cmath>

#include "FuzzInput.h"
#include "engine/NumberFormat.h"
#include "engine/TextLocale.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kdfuzz::FuzzInput input(data, size);
  kd::TextLocale locale = kd::TextLocale::Classic();
  locale.decimalSeparator = static_cast<char>(input.Byte());
  locale.thousandSeparator = static_cast<char>(input.Byte());
  kd::SetCurrentLocale(locale);
  const double value = input.Number();
  const std::string pattern = input.Text();
  const std::string text = kd::FormatFloat(pattern, value);
  // Digits are bounded by a double's range: no pattern makes a text longer
  // than the pattern plus a few hundred digits and separators.
  if (text.size() > 4 * pattern.size() + 1000) __builtin_trap();
  kd::FormatTexts(pattern, input.Text(), input.Text());
  return 0;
}
