// The hold watch as a window subclass of the common controls library.
#include "platform/ButtonHold.h"

#include <commctrl.h>

#include <stdexcept>

namespace kd::platform {

namespace {
constexpr UINT_PTR kSubclassId = 0x6B64;  // one watch per button
}

ButtonHold::ButtonHold(HWND button, Handler handler) : button_(button), handler_(std::move(handler)) {
  if (!SetWindowSubclass(button_, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    throw std::runtime_error("cannot watch a button");
}

ButtonHold::~ButtonHold() {
  if (IsWindow(button_)) RemoveWindowSubclass(button_, &SubclassProc, kSubclassId);
}

void ButtonHold::SetHeld(bool held) {
  if (held == held_) return;
  held_ = held;
  handler_(held);
}

LRESULT CALLBACK ButtonHold::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR data) {
  auto* self = reinterpret_cast<ButtonHold*>(data);
  // Nothing may unwind through the system's dispatch into the host.
  try {
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        self->SetHeld(true);
        break;
      case WM_LBUTTONUP: {
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        self->SetHeld(false);
        return result;
      }
      case WM_CAPTURECHANGED:
      case WM_CANCELMODE:
      case WM_NCDESTROY:
        self->SetHeld(false);
        if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &SubclassProc, id);
        break;
      default:
        break;
    }
  } catch (...) {
    // A failing handler leaves the button as an ordinary button.
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace kd::platform
