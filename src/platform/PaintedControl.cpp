// The painted control's window class, creation and paint dispatch.
#include "platform/PaintedControl.h"

#include <stdexcept>

#include "platform/ChildWindow.h"
#include "platform/FloatingPoint.h"
#include "platform/GdiObjects.h"
#include "platform/WideText.h"

namespace kd::platform {

namespace {
const wchar_t* kClassName = L"kdPieChartDecoration";

void RegisterControlClass() {
  WNDCLASSW existing = {};
  if (GetClassInfoW(ModuleInstance(), kClassName, &existing)) return;
  WNDCLASSW wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = DefWindowProcW;  // replaced per window once its owner is attached
  wc.hInstance = ModuleInstance();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  if (!RegisterClassW(&wc)) throw std::runtime_error("cannot register the decoration class");
}
}  // namespace

PaintedControl::PaintedControl(HWND parent, const RECT& place, const std::wstring& text, int id) {
  RegisterControlClass();
  window_ = CreateWindowExW(0, kClassName, text.c_str(), WS_CHILD | WS_VISIBLE, place.left, place.top,
                            place.right - place.left, place.bottom - place.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
  if (!window_) throw std::runtime_error("cannot create a decoration");
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
}

PaintedControl::~PaintedControl() {
  // Normally the dialog has destroyed the window already; detach in any case.
  if (IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
    DestroyWindow(window_);
  }
}

std::wstring PaintedControl::Text() const { return WindowTextWide(window_); }

void PaintedControl::SetText(const std::wstring& text) {
  SetWindowTextW(window_, text.c_str());
  InvalidateRect(window_, nullptr, FALSE);
}

void PaintedControl::Resize(int width, int height) {
  SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK PaintedControl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<PaintedControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self) {
    FloatingPointScope floatingPoint;  // the host's environment may unmask exceptions
    try {
      switch (message) {
        case WM_PAINT: {
          PaintScope paint(window);
          RECT client{};
          GetClientRect(window, &client);
          self->Paint(paint.DC(), client.right, client.bottom);
          return 0;
        }
        case WM_ERASEBKGND:
          return 1;  // Paint covers every pixel
        case WM_LBUTTONUP:
          self->OnClick();
          return 0;
        case WM_NCDESTROY:
          SetWindowLongPtrW(window, GWLP_USERDATA, 0);
          break;
        default:
          break;
      }
    } catch (...) {
      if (message == WM_PAINT) ValidateRect(window, nullptr);
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kd::platform
