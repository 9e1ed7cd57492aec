// The hold watch as a window-procedure subclass that finds its watcher
// through a window property. A plain subclass rather than the common
// controls' subclass helpers: older versions of that library export those
// by ordinal only, and the module must load in any host.
#include "platform/ButtonHold.h"

#include <stdexcept>

#include "platform/FloatingPoint.h"

namespace kd::platform {

namespace {
const wchar_t* kProperty = L"kdPieChartButtonHold";
}

ButtonHold::ButtonHold(HWND button, Handler handler) : button_(button), handler_(std::move(handler)) {
  if (!SetPropW(button_, kProperty, this)) throw std::runtime_error("cannot watch a button");
  buttonProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(button_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));
}

ButtonHold::~ButtonHold() { Detach(); }

void ButtonHold::Detach() {
  if (!buttonProc_) return;
  SetWindowLongPtrW(button_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buttonProc_));
  RemovePropW(button_, kProperty);
  buttonProc_ = nullptr;
}

void ButtonHold::SetHeld(bool held) {
  if (held == held_) return;
  held_ = held;
  handler_(held);
}

LRESULT CALLBACK ButtonHold::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<ButtonHold*>(GetPropW(window, kProperty));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  const WNDPROC buttonProc = self->buttonProc_;
  // Nothing may unwind through the system's dispatch into the host.
  FloatingPointScope floatingPoint;
  try {
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        self->SetHeld(true);
        break;
      case WM_LBUTTONUP: {
        const LRESULT result = CallWindowProcW(buttonProc, window, message, wParam, lParam);
        self->SetHeld(false);
        return result;
      }
      case WM_CAPTURECHANGED:
      case WM_CANCELMODE:
        self->SetHeld(false);
        break;
      case WM_NCDESTROY:
        self->SetHeld(false);
        self->Detach();
        break;
      default:
        break;
    }
  } catch (...) {
    // A failing handler leaves the button an ordinary button.
  }
  return CallWindowProcW(buttonProc, window, message, wParam, lParam);
}

}  // namespace kd::platform
