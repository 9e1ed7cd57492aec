// A window timer owned by an object: enabled and disabled at will, killed
// with its owner, counted among the module's live timers while it runs.
#pragma once

#include "platform/Win32.h"

namespace kd::platform {

class WindowTimer {
 public:
  WindowTimer(HWND window, UINT_PTR id, UINT intervalMs) : window_(window), id_(id), interval_(intervalMs) {}
  ~WindowTimer() { SetEnabled(false); }
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;

  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  UINT_PTR Id() const { return id_; }

 private:
  HWND window_;
  UINT_PTR id_;
  UINT interval_;
  bool enabled_ = false;
};

}  // namespace kd::platform
