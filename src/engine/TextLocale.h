// The locale facts the portable code needs, filled in by the platform layer:
// decimal and thousands separators, the ANSI code page's lead bytes and its
// lower-case mapping. Portable code never asks the operating system itself.
#pragma once

#include <array>

namespace kd {

struct TextLocale {
  char decimalSeparator = '.';
  char thousandSeparator = ',';
  std::array<bool, 256> leadByte{};          // true: first byte of a double-byte character
  std::array<unsigned char, 256> lowerCase{};  // ANSI lower-casing, byte to byte

  // A single-byte locale with "." and "," and ASCII lower-casing.
  static TextLocale Classic() {
    TextLocale l;
    for (int c = 0; c < 256; ++c)
      l.lowerCase[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return l;
  }
};

// The locale in force for the current call; the platform layer refreshes it
// from the user's settings on entry, tests set it directly.
const TextLocale& CurrentLocale();
void SetCurrentLocale(const TextLocale& locale);

}  // namespace kd
