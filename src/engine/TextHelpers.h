// Small text helpers every folder shares: ASCII case folding and comparison,
// blank stripping and splitting a text at a separator. Bytes 0x80..0xFF are
// never touched: they belong to the host's code page. Leaves out everything
// locale-aware (TextLocale).
#pragma once

#include <string>
#include <string_view>

namespace kd {

inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

inline std::string AsciiLowerText(std::string text) {
  for (char& c : text) c = AsciiLower(c);
  return text;
}

// Equal texts when ASCII letters are compared without regard to case.
inline bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

// The text with every blank (space) removed.
inline std::string WithoutBlanks(std::string_view text) {
  std::string result;
  for (char c : text)
    if (c != ' ') result += c;
  return result;
}

// Calls f(piece) for each piece of `text` between separators, the last one
// included (so "a\r" gives "a" and "").
template <class F>
void ForEachPiece(const std::string& text, char separator, F f) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    if (end == std::string::npos) {
      f(text.substr(start));
      return;
    }
    f(text.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace kd
