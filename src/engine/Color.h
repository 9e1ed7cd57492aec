// Colour values: red in the lowest byte, then green, then blue; a top byte of
// 0xFF names a system colour by index.
#pragma once

#include <cstdint>

namespace kd {

using TColor = int32_t;

constexpr TColor clDefault = 0x20000000;  // no colour of its own
constexpr TColor clNone = 0x1FFFFFFF;     // null slice: no mark, no legend box
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor kSystemColorFlag = static_cast<TColor>(0xFF000000u);

constexpr TColor RGBColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(TColor c) { return c & 0xFF; }
constexpr int GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(TColor c) { return (c >> 16) & 0xFF; }
constexpr bool IsSystemColor(TColor c) { return (static_cast<uint32_t>(c) >> 24) == 0xFF; }
constexpr TColor SystemColor(int index) { return static_cast<TColor>(0xFF000000u | (index & 0xFF)); }
constexpr int SystemColorIndex(TColor c) { return c & 0xFF; }

// System colours the panel uses (platform colour indexes).
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clBtnHighlight = SystemColor(20);

}  // namespace kd
