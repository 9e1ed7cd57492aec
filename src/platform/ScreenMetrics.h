// The screen's pixels per inch, the one measure that turns point sizes and
// metafile units into pixels. Leaves out per-monitor scaling.
#pragma once

#include "platform/Win32.h"

namespace kd::platform {

// LOGPIXELSX or LOGPIXELSY of the screen; 96 when the screen cannot be asked.
int ScreenPixelsPerInch(int index = LOGPIXELSY);

}  // namespace kd::platform
