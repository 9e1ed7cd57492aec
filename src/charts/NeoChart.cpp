#include "charts/NeoChart.h"

#include "charts/HostWindowQuery.h"
#include "charts/RotationState.h"
#include "platform/BitmapFile.h"
#include "platform/GdiDevice.h"
#include "host/HostInterface.h"

namespace kd {

namespace {
constexpr UINT_PTR kRotationTimerId = 2;
constexpr UINT kRotationInterval = 70;

// The series as the chart window's design leaves it.
void ApplySeriesDesign(TPieSeries& series) {
  series.Marks().SetVisible(true);
  series.Marks().SetArrowLength(8);
  series.SetSeriesColor(RGBColor(255, 0, 0));
}
}  // namespace

TNeoChart::TNeoChart(std::string name, HWND hostWindow)
    : name_(std::move(name)),
      window_(hostWindow, [this](UINT m, WPARAM w, LPARAM l, LRESULT& r) { return HandleMessage(m, w, l, r); }),
      rotationTimer_(window_.Handle(), kRotationTimerId, kRotationInterval) {
  ApplyChartWindowDesign(chart_);
  chart_.AddSeries(&series_);
  ApplySeriesDesign(series_);
  chart_.SetInvalidateHandler([this] { RequestRepaint(); });
  SIZE client = platform::ClientSizeOf(hostWindow);
  window_.PlaceAndShow(client.cx, client.cy);
}

TNeoChart::~TNeoChart() {
  chart_.SetInvalidateHandler(nullptr);
  chart_.RemoveSeries(&series_);
}

void TNeoChart::SetPanelVisible(bool visible) {
  if (visible == panelVisible_) return;
  panelVisible_ = visible;
  RequestRepaint();
}

void TNeoChart::RequestRepaint() {
  // One request until the paint: a record list of thousands of slices would
  // otherwise ask the system thousands of times.
  if (repaintPending_) return;
  repaintPending_ = true;
  window_.Invalidate();
}

bool TNeoChart::SaveBitmap(const std::string& fileName) {
  SIZE size = window_.ClientSize();
  return platform::ExportChartBitmap(chart_, size.cx, size.cy, fileName);
}

bool TNeoChart::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND:
      result = 1;  // the paint covers every pixel; erasing first would flicker
      return true;
    case WM_PAINT:
      Paint();
      return true;
    case WM_SIZE:
      chart_.Invalidate();
      return true;
    case WM_TIMER:
      if (wParam != kRotationTimerId) return false;
      OnRotationTick();
      return true;
    case kHostRectangleMessage:
      if (lParam == kHostRectangleResized) Reparent();
      return true;
    default:
      return false;
  }
}

void TNeoChart::Paint() {
  repaintPending_ = false;
  platform::PaintScope paint(window_.Handle());
  SIZE size = window_.ClientSize();
  TRect client{0, 0, size.cx, size.cy};
  platform::GdiDevice device(paint.DC());
  if (!panelVisible_) {
    device.SetBrush(TChartBrush{clWhite, bsSolid});
    device.FillRect(client);
    return;
  }
  chart_.Paint(device, client);
}

void TNeoChart::Reparent() {
  // A failing query leaves the window where it was; so does an answer of no
  // window, which would otherwise turn the chart into a stray top-level window.
  HWND host = QueryHostWindow(name_);
  if (!IsWindow(host)) return;
  SIZE client = platform::ClientSizeOf(host);
  window_.PlaceAndShow(client.cx, client.cy);
  window_.SetParentWindow(host);
}

void TNeoChart::OnRotationTick() {
  int angle = Rotation().Advance();
  if (angle >= 0) series_.SetRotationAngle(angle);
}

}  // namespace kd
