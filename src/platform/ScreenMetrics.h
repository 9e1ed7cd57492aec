// The screen's pixels per inch, the one measure that turns point sizes and
// metafile units into pixels, and its size in pixels and millimetres (the
// pixel aspect of circled pies). Both are read once per process: opening a
// screen DC on every paint costs more than painting a small chart.
// Leaves out per-monitor scaling and changes of resolution while running.
#pragma once

#include "engine/Device.h"
#include "platform/Win32.h"

namespace kd::platform {

// LOGPIXELSX or LOGPIXELSY of the screen; 96 when the screen cannot be asked.
int ScreenPixelsPerInch(int index = LOGPIXELSY);

// The screen's size; the defaults of TScreenInfo when it cannot be asked.
const TScreenInfo& ScreenSize();

}  // namespace kd::platform
