// The screen's pixels per inch and size, each read once.
#include "platform/ScreenMetrics.h"

#include "platform/GdiObjects.h"

namespace kd::platform {

namespace {

int ReadPixelsPerInch(int index) {
  WindowDC screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.Get(), index) : 0;
  return dpi > 0 ? dpi : 96;
}

TScreenInfo ReadScreenSize() {
  TScreenInfo info;
  WindowDC screen(nullptr);
  if (!screen) return info;
  info.widthPixels = GetDeviceCaps(screen.Get(), HORZRES);
  info.heightPixels = GetDeviceCaps(screen.Get(), VERTRES);
  info.widthMillimetres = GetDeviceCaps(screen.Get(), HORZSIZE);
  info.heightMillimetres = GetDeviceCaps(screen.Get(), VERTSIZE);
  return info;
}

}  // namespace

int ScreenPixelsPerInch(int index) {
  static const int horizontal = ReadPixelsPerInch(LOGPIXELSX);
  static const int vertical = ReadPixelsPerInch(LOGPIXELSY);
  return index == LOGPIXELSX ? horizontal : vertical;
}

const TScreenInfo& ScreenSize() {
  static const TScreenInfo info = ReadScreenSize();
  return info;
}

}  // namespace kd::platform
