// The preview's window, design and painting.
#include "editors/PreviewChart.h"

#include "platform/GdiDevice.h"

namespace kd::editors {

void ApplyPreviewDesign(TChart& chart, TPieSeries& series) {
  ApplyChartWindowDesign(chart);
  chart.Title().SetVisible(false);
  chart.Foot().SetVisible(false);
  chart.Legend().SetVisible(false);
  chart.SetChart3DPercent(25);
  chart.SetZoom(94);
  series.SetSeriesColor(RGBColor(255, 0, 0));
  series.Marks().SetVisible(true);
  series.Marks().SetStyle(smsPercent);
  series.Marks().SetArrow(TChartPen{clBlack, 1, psSolid, true});
  series.Marks().SetArrowLength(5);
}

TPreviewChart::TPreviewChart(HWND dialog, const RECT& place)
    : window_(dialog, [this](UINT m, WPARAM w, LPARAM l, LRESULT& r) { return HandleMessage(m, w, l, r); }) {
  chart_.AddSeries(&series_);
  ApplyPreviewDesign(chart_, series_);
  chart_.SetInvalidateHandler([this] { RequestRepaint(); });
  window_.ShowAt(place);
}

TPreviewChart::~TPreviewChart() {
  chart_.SetInvalidateHandler(nullptr);
  chart_.RemoveSeries(&series_);
}

void TPreviewChart::RequestRepaint() {
  // One request until the paint: filling the table adds a slice per record.
  if (repaintPending_) return;
  repaintPending_ = true;
  InvalidateRect(window_.Handle(), nullptr, FALSE);
}

bool TPreviewChart::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND:
      result = 1;  // the off-screen image covers every pixel: no flicker
      return true;
    case WM_PAINT: {
      repaintPending_ = false;
      platform::PaintScope paint(window_.Handle());
      const SIZE size = window_.ClientSize();
      platform::GdiDevice device(paint.DC());
      chart_.Paint(device, TRect{0, 0, size.cx, size.cy});
      return true;
    }
    default:
      return false;
  }
}

}  // namespace kd::editors
