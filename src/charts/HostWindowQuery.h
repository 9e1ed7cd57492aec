// Asks the host for the window of a named host object (request 7).
#pragma once

#include <string>

#include "platform/Win32.h"

namespace kd {

// The window handle the host answers; null for 0. Throws when the host cannot
// be asked or its answer is not an integer.
HWND QueryHostWindow(const std::string& name);

}  // namespace kd
