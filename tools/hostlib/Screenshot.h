// Captures a window's picture into a 24-bit BMP file, or its client pixels.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kdhost {

bool SaveWindowPicture(HWND window, const std::string& fileName);

// The pixels of a window's client area as 0xRRGGBB, row after row from the
// top; empty when the window cannot be read.
std::vector<unsigned> ClientPixels(HWND window);

}  // namespace kdhost
