// The create-chart editor's preview: a private chart panel with one pie
// series, in the design state of the editor, painted double-buffered by the
// engine through the GDI device in a child window of the dialog. It is no
// chart object: the registry never sees it and it lives only with its dialog.
// Leaves out: what the editor's controls change (CreateChartEditor).
#pragma once

#include "platform/Win32.h"

#include "engine/Chart.h"
#include "engine/PieSeries.h"
#include "platform/ChildWindow.h"

namespace kd::editors {

class TPreviewChart {
 public:
  // Shows the preview at `place` inside `dialog`.
  TPreviewChart(HWND dialog, const RECT& place);
  ~TPreviewChart();
  TPreviewChart(const TPreviewChart&) = delete;
  TPreviewChart& operator=(const TPreviewChart&) = delete;

  TChart& Chart() { return chart_; }
  TPieSeries& Series() { return series_; }
  HWND Window() const { return window_.Handle(); }

 private:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void RequestRepaint();

  TChart chart_;
  TPieSeries series_;
  bool repaintPending_ = false;
  // Declared last: the window goes first, so no paint reaches a half-destroyed chart.
  platform::ChildWindow window_;
};

// The preview's design: white panel, no title, foot or legend, depth 25 %,
// the pie's 3D view at zoom 94 %, red series, marks in percent style with
// black arrows of length 5.
void ApplyPreviewDesign(TChart& chart, TPieSeries& series);

}  // namespace kd::editors
