// Captures a window's picture into a 24-bit BMP file.
#pragma once

#include <windows.h>

#include <string>

namespace kdhost {

bool SaveWindowPicture(HWND window, const std::string& fileName);

}  // namespace kdhost
