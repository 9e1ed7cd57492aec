// Watches a button control for the mouse being held on it: the owner hears
// when the left mouse button goes down on it and when it is released or the
// button loses the mouse, so it can repeat an action while the button is held.
// The watch replaces the button's window procedure (kept and called on) until
// the watcher or the button goes.
// Leaves out: keyboard presses (the space bar clicks but does not hold).
#pragma once

#include "platform/Win32.h"

#include <functional>

namespace kd::platform {

class ButtonHold {
 public:
  using Handler = std::function<void(bool held)>;

  ButtonHold(HWND button, Handler handler);
  ~ButtonHold();
  ButtonHold(const ButtonHold&) = delete;
  ButtonHold& operator=(const ButtonHold&) = delete;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Detach();
  void SetHeld(bool held);

  HWND button_;
  WNDPROC buttonProc_ = nullptr;
  Handler handler_;
  bool held_ = false;
};

}  // namespace kd::platform
