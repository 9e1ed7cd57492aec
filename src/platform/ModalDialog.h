// The base of every modal dialog of the module: a window of one of the
// module's own dialog classes with an exact client size in pixels, centred on
// the screen, run by the platform's dialog manager (so Tab, Enter and Escape
// work), its children made in code. A static procedure finds the object,
// holds the only catch-all and ends the dialog; the failure is thrown again
// from ShowModal, so the caller frees everything and reports it.
// Leaves out: resizing, non-modal use, dialog-unit layouts.
#pragma once

#include "platform/Win32.h"

#include <exception>
#include <string>

namespace kd::platform {

class ModalDialog {
 public:
  // `className` is registered on first use; its windows carry `icon` (may be null).
  ModalDialog(const wchar_t* className, int clientWidth, int clientHeight, HICON icon = nullptr);
  virtual ~ModalDialog() = default;
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  // Shows the dialog over `owner` until End is called or the close box is
  // pressed (IDCANCEL). Rethrows a failure raised inside a handler.
  int ShowModal(HWND owner, const std::wstring& caption);

  HWND Handle() const { return window_; }
  void End(int result);
  // Puts the dialog on top of the window order again (after a common dialog).
  void BringToTop() const;

 protected:
  // Makes the children; the window exists and has its final size.
  virtual void OnCreate() = 0;
  // WM_COMMAND from a child; true when handled.
  virtual bool OnCommand(int id, int code, HWND control) { return false; }
  // Any other message; true when handled, `result` is then the answer.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) { return false; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void PlaceCentred();

  const wchar_t* className_;
  int clientWidth_;
  int clientHeight_;
  HICON icon_;
  std::wstring caption_;
  HWND window_ = nullptr;
  std::exception_ptr failure_;
};

// The owner for a dialog of the host: its active window, else the foreground
// window when it belongs to this process, else none.
HWND DialogOwner();

}  // namespace kd::platform
