#include "PlausibleParameters.h"

#include <map>

namespace kdsoak {
namespace {

// Per action, one entry per parameter after the chart name: a fixed text, a
// choice between texts ("a/b/c"), or a generator ("$colour", "$records",
// "$font", "$switch", "$pen", "$picture", "$value", "$int:low:high").
const std::map<int, std::vector<std::string>> kForms = {
    {1, {"$colour", "$records", "$switch", "$switch", "$switch", "$switch", "$int:0:60", "$int:0:359"}},
    {4, {"Sales 2024/Title line/", "Title/Foot", "Left/Center/Right", "$font"}},
    {5, {"North/South/East/West/\"Two words\"", "$value", "$colour"}},
    {6, {"$int:-1:12"}},
    {8, {"show/hide/Show"}},
    {9, {"$switch"}},
    {10, {"$colour"}},
    {11, {"$colour", "$colour",
          "TopBottom/BottomTop/LeftRight/RightLeft/FromCenter/FromTopLeft/FromBottomLeft/FromTopRight/"
          "FromBottomRight"}},
    {12, {"$picture", "Stretch/Tile/Center", "show/hide"}},
    {13, {"$switch"}},
    {14, {"$colour", "show/hide", "Solid/Dash/Dot/DashDot/DashDotDot/Clear/InsideFrame", "$pen"}},
    {15, {"$switch"}},
    {16, {"Perspective/Rotation/Elevation/Rotation Angle/Explode Biggest/Horiz Offset/Vert Offset/Zoom/Depth",
          "$int:-2000:2000"}},
    {17, {"$switch"}},
    {18, {"Visible/Foreground", "$switch"}},
    {19, {"$font"}},
    {20, {"$colour"}},
    {21, {"$int:0:100"}},
    {22, {"$switch"}},
    {23, {"$colour", "$int:0:20"}},
    {24, {"VisibleMarks/VisibleFrame/TransparentTextFone", "$switch"}},
    {25, {"Value/Percent/Label/LabelPercent/LabelValue/Legend/PercentTotal/LabelPercentTotal/XValue"}},
    {26, {"$colour"}},
    {27, {"$font"}},
    {28, {"$colour", "$pen"}},
    {29, {"Solid/Dash/Dot/DashDot/DashDotDot/Clear"}},
    {30, {"$colour", "show/hide", "Solid/Dash/Dot/DashDot/DashDotDot/Clear/InsideFrame", "$int:0:60"}},
    {33, {"$picture"}},
    {34, {"true/true/false", "$int:0:12"}},
};

std::vector<std::string> Split(const std::string& text, char delimiter) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t end; (end = text.find(delimiter, start)) != std::string::npos; start = end + 1)
    parts.push_back(text.substr(start, end - start));
  parts.push_back(text.substr(start));
  return parts;
}

}  // namespace

std::vector<std::string> PlausibleParameters::For(int id, int count, const std::string& picture) {
  std::vector<std::string> texts;
  auto forms = kForms.find(id);
  for (int i = 1; i < count; ++i) {
    if (forms == kForms.end() || i > static_cast<int>(forms->second.size())) {
      texts.emplace_back();
      continue;
    }
    const std::string& form = forms->second[static_cast<size_t>(i - 1)];
    texts.push_back(form[0] == '$' ? Token(form, picture) : Pick(Split(form, '/')));
  }
  return texts;
}

std::string PlausibleParameters::Token(const std::string& token, const std::string& picture) {
  if (token == "$colour") return Colour();
  if (token == "$records") return Records();
  if (token == "$font") return Font();
  if (token == "$switch") return Switch();
  if (token == "$pen") return PenWidth();
  if (token == "$picture") return picture;
  if (token == "$value") return Value();
  const std::vector<std::string> range = Split(token, ':');  // $int:low:high
  return Number(std::stoi(range[1]), std::stoi(range[2]));
}

std::string PlausibleParameters::Colour() {
  if (Between(0, 9) == 0) return "";
  return Number(0, 255) + "," + Number(0, 255) + "," + Number(0, 255);
}

std::string PlausibleParameters::Records() {
  std::string list;
  const int count = Between(0, 3) == 0 ? Between(0, 60) : Between(1, 8);
  for (int i = 0; i < count; ++i) {
    if (i) list += '|';
    list += "R" + std::to_string(i) + ";" + Value() + ";" + (Between(0, 2) ? "" : Colour());
  }
  return list;
}

std::string PlausibleParameters::Value() {
  // Mostly ordinary; sometimes a value whose sum overflows, a denormal or an
  // infinity, which the host's unmasked floating point must survive.
  if (Between(0, 19) == 0) return Pick({"1e308", "-1e308", "1e-320", "1e309", "0"});
  return Number(0, 500);
}

std::string PlausibleParameters::Font() {
  return Pick({"Arial", "Times New Roman", "Courier New", "Tahoma", "NoSuchFont"}) + "|" +
         Pick({"clBlack", "clRed", "clNavy", "255", "clHighlight"}) + "|" + Number(1, 48) + "|" +
         Pick({"", "fsBold", "fsItalic fsUnderline", "fsBold fsStrikeOut"}) + "|" + Pick({"0", "1", "204"});
}

std::string PlausibleParameters::PenWidth() {
  // Mostly thin; sometimes wider than the chart, or as wide as a width goes.
  switch (Between(0, 9)) {
    case 0: return Number(50, 5000);
    case 1: return "2147483647";
    default: return Number(0, 6);
  }
}

}  // namespace kdsoak
