// A host page: a real top-level window holding named rectangle objects, each a
// real child window, as the host gives its rectangle objects.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

namespace kdhost {

class HostWindow {
 public:
  HostWindow(const char* caption, int width, int height);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HWND handle() const { return window_; }

  // Adds a rectangle object and makes it known to the host side's request 7.
  HWND AddRectangle(const std::string& name, int x, int y, int width, int height);
  HWND Rectangle(const std::string& name) const;

  // Tells a rectangle's children it moved or was resized, as the host does.
  void MoveRectangle(const std::string& name, int x, int y, int width, int height);

 private:
  HWND window_ = nullptr;
  std::map<std::string, HWND> rectangles_;
};

// Runs the window messages waiting on this thread.
void PumpMessages();

// Pumps messages for about `ms` milliseconds (timers fire meanwhile).
void PumpFor(int ms);

// Pumps messages until `done` answers true or `maxMs` pass; returns `done`'s last answer.
bool PumpUntil(const std::function<bool()>& done, int maxMs);

}  // namespace kdhost
