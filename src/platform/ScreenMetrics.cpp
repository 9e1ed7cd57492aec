// The screen's pixels per inch, asked anew each time (the user may change it).
#include "platform/ScreenMetrics.h"

#include "platform/GdiObjects.h"

namespace kd::platform {

int ScreenPixelsPerInch(int index) {
  WindowDC screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.Get(), index) : 0;
  return dpi > 0 ? dpi : 96;
}

}  // namespace kd::platform
