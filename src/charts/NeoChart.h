// One chart object: a borderless chart window inside a host rectangle's
// window, holding the chart panel, its pie series and the rotation timer.
#pragma once

#include <string>

#include "engine/Chart.h"
#include "engine/PieSeries.h"
#include "platform/ChildWindow.h"
#include "platform/WindowTimer.h"

namespace kd {

class TNeoChart {
 public:
  // Creates the window as a child of `hostWindow`, sized to its client area and shown.
  TNeoChart(std::string name, HWND hostWindow);
  ~TNeoChart();
  TNeoChart(const TNeoChart&) = delete;
  TNeoChart& operator=(const TNeoChart&) = delete;

  const std::string& Name() const { return name_; }
  TChart& Chart() { return chart_; }
  TPieSeries& Series() { return series_; }
  platform::WindowTimer& RotationTimer() { return rotationTimer_; }
  HWND Window() const { return window_.Handle(); }

  // The panel's visibility: a hidden panel leaves the window's white face.
  bool PanelVisible() const { return panelVisible_; }
  void SetPanelVisible(bool visible);

  // Hides the window; freeing it is the registry's business.
  void Close() { window_.Hide(); }

  // Writes the panel's picture at the window's client size to a BMP file.
  bool SaveBitmap(const std::string& fileName);

 private:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void RequestRepaint();
  void Paint();
  void Reparent();
  void OnRotationTick();

  std::string name_;
  TChart chart_;
  TPieSeries series_;
  bool panelVisible_ = true;
  bool repaintPending_ = false;
  // Declared last: the window and its timer go first, so no message reaches a half-destroyed chart.
  platform::ChildWindow window_;
  platform::WindowTimer rotationTimer_;
};

}  // namespace kd
