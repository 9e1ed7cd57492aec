// Child windows of the module inside host windows: window class, creation,
// placement, re-parenting and destruction. Leaves out: layered-window
// attributes (a layered child with alpha 0 would be invisible on systems that
// support layered children, and they change nothing elsewhere), menus, focus.
#include "platform/ChildWindow.h"

#include <stdexcept>

#include "platform/FloatingPoint.h"
#include "platform/ResourceCounters.h"

namespace kd::platform {

namespace {
const char* kClassName = "kdPieChartWindow";

void RegisterWindowClass() {
  WNDCLASSA existing = {};
  if (GetClassInfoA(ModuleInstance(), kClassName, &existing)) return;
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = DefWindowProcA;  // replaced per window once its owner is attached
  wc.hInstance = ModuleInstance();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = nullptr;  // the owner paints every pixel
  wc.lpszClassName = kClassName;
  if (!RegisterClassA(&wc)) throw std::runtime_error("cannot register the chart window class");
}
}  // namespace

HINSTANCE ModuleInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ModuleInstance), &module);
  return module;
}

SIZE ClientSizeOf(HWND window) {
  RECT r = {};
  if (!GetClientRect(window, &r)) return SIZE{0, 0};
  return SIZE{r.right - r.left, r.bottom - r.top};
}

ChildWindow::ChildWindow(HWND parent, Handler handler) : handler_(std::move(handler)) {
  RegisterWindowClass();
  window_ = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr,
                            ModuleInstance(), nullptr);
  if (!window_) throw std::runtime_error("cannot create the chart window");
  CountCreated(Resource::Window);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
}

ChildWindow::~ChildWindow() {
  // Detach first: messages sent during destruction must not reach a dying owner.
  SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcA));
  DestroyWindow(window_);
  CountDeleted(Resource::Window);
}

LRESULT CALLBACK ChildWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ChildWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self && self->handler_) {
    // Nothing may unwind through the system's dispatch into the host, and no
    // hardware floating-point exception may rise in its unmasked environment.
    FloatingPointScope floatingPoint;
    try {
      LRESULT result = 0;
      if (self->handler_(message, wParam, lParam, result)) return result;
    } catch (...) {
      if (message == WM_PAINT) ValidateRect(window, nullptr);  // no endless repaint of a broken picture
      return 0;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void ChildWindow::PlaceAndShow(int width, int height) {
  SetWindowPos(window_, HWND_TOP, 0, 0, width, height, SWP_SHOWWINDOW);
}

void ChildWindow::ShowAt(const RECT& place) {
  SetWindowPos(window_, HWND_TOP, place.left, place.top, place.right - place.left, place.bottom - place.top,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void ChildWindow::Hide() { ShowWindow(window_, SW_HIDE); }

void ChildWindow::SetParentWindow(HWND parent) {
  if (GetParent(window_) != parent) SetParent(window_, parent);
}

HWND ChildWindow::ParentWindow() const { return GetParent(window_); }

void ChildWindow::Invalidate() { InvalidateRect(window_, nullptr, FALSE); }

SIZE ChildWindow::ClientSize() const { return ClientSizeOf(window_); }

}  // namespace kd::platform
