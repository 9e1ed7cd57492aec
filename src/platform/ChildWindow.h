// A borderless window that lives as the child of a foreign (host) window and
// hands its messages to its owner. The window is destroyed with its owner and
// counted among the module's live windows.
#pragma once

#include "platform/Win32.h"

#include <functional>

namespace kd::platform {

class ChildWindow {
 public:
  // Returns true when the message was handled; `result` is then the answer.
  using Handler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

  // Creates the window hidden, as a child of `parent`. Throws on failure.
  ChildWindow(HWND parent, Handler handler);
  ~ChildWindow();
  ChildWindow(const ChildWindow&) = delete;
  ChildWindow& operator=(const ChildWindow&) = delete;

  HWND Handle() const { return window_; }

  // Puts the window on top of its siblings at (0, 0) with the given size and shows it.
  void PlaceAndShow(int width, int height);
  // Puts the window at `place` in its parent's client area and shows it.
  void ShowAt(const RECT& place);
  void Hide();
  // Moves the window under another parent; nothing happens when it is the same one.
  void SetParentWindow(HWND parent);
  HWND ParentWindow() const;
  void Invalidate();
  // The client size of the window.
  SIZE ClientSize() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  Handler handler_;
};

// The client size of any window (0 x 0 for an invalid handle).
SIZE ClientSizeOf(HWND window);

// The module's own instance handle (the DLL, not the host program).
HINSTANCE ModuleInstance();

}  // namespace kd::platform
