// Watches the GDI objects, windows and timers a loaded module makes, seen from
// the host's side: the module's imports of the functions that make and free
// them are routed through the ledger (as BlockLedger does for text blocks),
// so a host can tell what the module holds at any moment without asking it.
// Windows and timers that went with a destroyed parent count as gone.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kdhost {

class ResourceLedger {
 public:
  static ResourceLedger& Get();

  // Routes the module's imports through the ledger; false when it imports
  // none of the watched functions.
  bool Install(HMODULE module);

  // Pens, brushes, fonts, bitmaps, memory and borrowed DCs, metafiles, icons.
  long LiveGdiObjects() const { return static_cast<long>(gdiObjects_.size()); }
  long LiveWindows();
  long LiveTimers();

  // Frees of handles the module never made (double frees, stock objects).
  const std::vector<std::string>& Errors() const { return errors_; }

  // Called by the hooks.
  template <class Handle>
  Handle Made(Handle h) {
    if (h != nullptr) gdiObjects_.insert(reinterpret_cast<void*>(h));
    return h;
  }
  void Freed(const void* h, const char* how);
  void WindowMade(HWND window) {
    if (window != nullptr) windows_.insert(window);
  }
  void TimerSet(HWND window, UINT_PTR id) { timers_.insert({window, id}); }
  void TimerKilled(HWND window, UINT_PTR id) { timers_.erase({window, id}); }

 private:
  std::set<const void*> gdiObjects_;
  std::set<HWND> windows_;
  std::set<std::pair<HWND, UINT_PTR>> timers_;
  std::vector<std::string> errors_;
};

}  // namespace kdhost
