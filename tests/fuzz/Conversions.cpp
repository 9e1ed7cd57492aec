// Fuzz target: the parameter conversions (items, numbers, colours, switches,
// lower-casing) on arbitrary texts, under a single-byte and a double-byte locale.
#include "FuzzInput.h"
#include "charts/Conversions.h"
#include "engine/TextLocale.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kdfuzz::FuzzInput input(data, size);
  kd::TextLocale locale = kd::TextLocale::Classic();
  if (input.Byte() & 1) {
    for (int c = 0x81; c < 0xFF; ++c) locale.leadByte[c] = true;  // a double-byte code page
    locale.decimalSeparator = ',';
    locale.thousandSeparator = ' ';
  }
  kd::SetCurrentLocale(locale);
  const char delimiter = static_cast<char>(input.Byte());
  const std::string text = input.Text();
  const std::vector<std::string> items = kd::DelimitedSplit(text, delimiter);
  try {
    kd::SplitItem(items, input.Byte());
  } catch (const kd::ConversionError&) {
  }
  try {
    kd::IntegerParameter(text);
  } catch (const kd::ConversionError&) {
  }
  kd::IntegerParameter(text, 7);
  try {
    kd::FloatingParameter(text);
  } catch (const kd::ConversionError&) {
  }
  try {
    kd::RgbTripleText(kd::ColorParameter(text));
  } catch (const kd::ConversionError&) {
  }
  kd::LowerCaseText(text);
  bool flag = false;
  kd::ApplySwitchParameter(text, flag);
  return 0;
}
