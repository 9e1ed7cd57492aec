#include "HostWindow.h"

#include "FloatMode.h"
#include "HostSide.h"
#include "host/HostInterface.h"

namespace kdhost {

namespace {
const char* kPageClass = "kdpieHostPage";
const char* kRectangleClass = "kdpieHostRectangle";

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kPageClass;
  RegisterClassA(&wc);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kRectangleClass;
  RegisterClassA(&wc);
  done = true;
}
}  // namespace

HostWindow::HostWindow(const char* caption, int width, int height) {
  RegisterClasses();
  window_ = CreateWindowExA(0, kPageClass, caption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                            0, 0, width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

HostWindow::~HostWindow() {
  HostSide::Get().ClearRectangles();
  if (window_) DestroyWindow(window_);
  PumpMessages();
}

HWND HostWindow::AddRectangle(const std::string& name, int x, int y, int width, int height) {
  HWND rect = CreateWindowExA(0, kRectangleClass, name.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                              x, y, width, height, window_, nullptr, GetModuleHandleA(nullptr), nullptr);
  rectangles_[name] = rect;
  HostSide::Get().AddRectangle(name, rect);
  return rect;
}

HWND HostWindow::Rectangle(const std::string& name) const {
  auto it = rectangles_.find(name);
  return it == rectangles_.end() ? nullptr : it->second;
}

void HostWindow::MoveRectangle(const std::string& name, int x, int y, int width, int height) {
  HWND rect = Rectangle(name);
  if (!rect) return;
  MoveWindow(rect, x, y, width, height, TRUE);
  for (HWND child = GetWindow(rect, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
  {
    FloatCheck check("the rectangle's resize message", false);
    SendMessageA(child, kd::kHostRectangleMessage, reinterpret_cast<WPARAM>(rect), kd::kHostRectangleResized);
  }
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    FloatCheck check("a dispatched window message", false);
    DispatchMessageA(&msg);
  }
}

void PumpFor(int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (static_cast<int>(end - GetTickCount()) > 0) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpMessages();
  }
}

bool PumpUntil(const std::function<bool()>& done, int maxMs) {
  DWORD end = GetTickCount() + static_cast<DWORD>(maxMs);
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpMessages();
  }
  return true;
}

}  // namespace kdhost
