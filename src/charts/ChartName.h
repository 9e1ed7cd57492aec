// Chart names compare ASCII letters without regard to case and every other
// byte exactly (so Cyrillic names in different case stay different charts).
#pragma once

#include <string_view>

namespace kd {

inline unsigned char AsciiLower(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

inline bool SameChartName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(static_cast<unsigned char>(a[i])) != AsciiLower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace kd
