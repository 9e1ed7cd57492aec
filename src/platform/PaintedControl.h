// A child control of the module's own Unicode window class that paints itself:
// the base of the dialog decorations. Its window text is the text it shows, so
// screen readers and tests read it like any label.
// Leaves out: focus, keyboard input (decorations take none).
#pragma once

#include "platform/Win32.h"

#include <string>

namespace kd::platform {

class PaintedControl {
 public:
  PaintedControl(HWND parent, const RECT& place, const std::wstring& text, int id = 0);
  virtual ~PaintedControl();
  PaintedControl(const PaintedControl&) = delete;
  PaintedControl& operator=(const PaintedControl&) = delete;

  HWND Handle() const { return window_; }
  std::wstring Text() const;
  void SetText(const std::wstring& text);
  void Resize(int width, int height);

 protected:
  // Paints the whole client area (width x height) on dc.
  virtual void Paint(HDC dc, int width, int height) = 0;
  // A mouse click on the control; nothing by default.
  virtual void OnClick() {}

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
};

}  // namespace kd::platform
