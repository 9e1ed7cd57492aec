#include "HostileTexts.h"

#include <algorithm>

namespace kdhost {

const std::vector<std::string> HostileTexts::kQuotes = {
    "\"", "\"\"\"", "\"abc", "a\"b", "\"A;1;\"\"|B", "\"255,0,0", "\"Arial|clRed|10", "\"\"|\"\";\"\""};
const std::vector<std::string> HostileTexts::kNumbers = {
    "2147483647", "-2147483648", "2147483648", "-2147483649", "$FFFFFFFF", "0x80000000", "$7FFFFFFF",
    "0",          "-1",          "1e308",      "1e309",       "-1e-320",   "359",        "360",
    "100",        "101",         "-100",       "99999999999999999999", "0,5", "1.5", "+", "-"};
const std::vector<std::string> HostileTexts::kWords = {
    "true", "FALSE", "show", "hide", "255,0,0", "0,0,0,0", "256,-1,0", "Arial|clRed|10|fsBold|204",
    "Arial|$FFFFFFFF|-2147483648|fsBold fsItalic fsUnderline fsStrikeOut|999", "||||", "A;1;|B;2;0,255,0",
    "Elevation", "Rotation", "Perspective", "Depth", "Zoom", "Legend", "Visible", "VisibleMarks",
    "VisibleFrame", "TransparentTextFone", "Label", "LabelPercentTotal", "XValue", "Value", "Percent",
    "Dash", "DashDotDot", "InsideFrame", "Clear", "Solid", "TopBottom", "FromCenter", "FromTopLeft",
    "Stretch", "Tile", "Center", "Foreground", "clRed", "clNone", "clDefault"};

std::string HostileTexts::Next() {
  switch (Below(12)) {
    case 0: return "";
    case 1: return Huge();
    case 2: return Pick(kQuotes);
    case 3: return AllBytes();
    case 4: case 5: case 6: return Pick(kNumbers);
    case 7: return Soup("|;,\" 0123456789-.$xAE", 1 + Below(40));
    case 8: case 9: return Pick(kWords);
    case 10: return RandomBytes(Below(24));
    default: return Pick(kNumbers) + Pick({",", "|", ";", " "}) + Pick(kWords);
  }
}

std::string HostileTexts::ChartName(const std::string& existing) {
  switch (Below(5)) {
    case 0: return "Missing";
    case 1: return Next();
    default: {
      std::string name = existing;
      if (Below(2))
        for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
      return name;
    }
  }
}

std::string HostileTexts::Soup(const std::string& alphabet, int length) {
  std::string text;
  for (int i = 0; i < length; ++i) text += alphabet[Below(static_cast<int>(alphabet.size()))];
  return text;
}

std::string HostileTexts::RandomBytes(int length) {
  std::string text;
  for (int i = 0; i < length; ++i) text += static_cast<char>(1 + Below(255));
  return text;
}

std::string HostileTexts::AllBytes() {
  std::string text;
  for (int c = 1; c <= 255; ++c) text += static_cast<char>(c);
  std::shuffle(text.begin(), text.end(), random_);
  return text;
}

std::string HostileTexts::Huge() {
  const std::string unit = Below(2) ? "255,0,0|" : "A;1;0,0,255|";
  std::string text;
  while (text.size() < 100 * 1024) text += Below(50) ? unit : Soup("|;,\"", 3);
  return text;
}

}  // namespace kdhost
