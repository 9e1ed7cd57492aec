#include "support/RecordingDevice.h"

namespace kd::test {

const SystemColorEntry kSystemColors[] = {
    {5, 0xFFFFFF},   // window
    {8, 0x000000},   // window text
    {15, 0xC0C0C0},  // button face
    {16, 0x808080},  // button shadow
    {20, 0xFFFFFF},  // button highlight
    {-1, 0},
};

std::vector<DeviceCall> RecordingDevice::Of(Call kind) const {
  std::vector<DeviceCall> out;
  for (const DeviceCall& c : calls)
    if (c.kind == kind) out.push_back(c);
  return out;
}

int RecordingDevice::Count(Call kind) const {
  int n = 0;
  for (const DeviceCall& c : calls)
    if (c.kind == kind) ++n;
  return n;
}

std::vector<std::string> RecordingDevice::Texts() const {
  std::vector<std::string> out;
  for (const DeviceCall& c : calls)
    if (c.kind == Call::TextOut) out.push_back(c.text);
  return out;
}

const DeviceCall* RecordingDevice::FindText(const std::string& text) const {
  for (const DeviceCall& c : calls)
    if (c.kind == Call::TextOut && c.text == text) return &c;
  return nullptr;
}

int RecordingDevice::TextWidthFor(const std::string& text, int size) {
  return 6 * static_cast<int>(text.size()) * size / 8;
}

int RecordingDevice::TextHeightFor(int size) { return 13 * size / 8; }

DeviceCall& RecordingDevice::Record(Call kind) {
  DeviceCall c;
  c.kind = kind;
  c.state = state;
  calls.push_back(c);
  return calls.back();
}

void RecordingDevice::SetPen(const TChartPen& pen) {
  state.pen = pen;
  Record(Call::SetPen);
}

void RecordingDevice::SetBrush(const TChartBrush& brush) {
  state.brush = brush;
  Record(Call::SetBrush);
}

void RecordingDevice::SetFont(const FontData& font) {
  state.font = font;
  Record(Call::SetFont);
}

void RecordingDevice::SetBackMode(TBackMode mode) {
  state.backMode = mode;
  Record(Call::SetBackMode);
}

void RecordingDevice::SetBackColor(TColor color) {
  state.backColor = color;
  Record(Call::SetBackColor);
}

int RecordingDevice::TextWidth(const std::string& text) {
  return TextWidthFor(text, state.font.size);
}

int RecordingDevice::TextHeight(const std::string&) { return TextHeightFor(state.font.size); }

void RecordingDevice::TextOut(int x, int y, const std::string& text, TAlignment align) {
  DeviceCall& c = Record(Call::TextOut);
  c.points = {TPoint{x, y}};
  c.text = text;
  c.align = align;
}

void RecordingDevice::Line(int x0, int y0, int x1, int y1) {
  Record(Call::Line).points = {TPoint{x0, y0}, TPoint{x1, y1}};
}

void RecordingDevice::Polyline(const TPoint* points, int count) {
  Record(Call::Polyline).points.assign(points, points + count);
}

void RecordingDevice::Rectangle(const TRect& rect) { Record(Call::Rectangle).rect = rect; }

void RecordingDevice::FillRect(const TRect& rect) { Record(Call::FillRect).rect = rect; }

void RecordingDevice::Polygon(const TPoint* points, int count) {
  Record(Call::Polygon).points.assign(points, points + count);
}

void RecordingDevice::Ellipse(const TRect& bounds) { Record(Call::Ellipse).rect = bounds; }

void RecordingDevice::Pie(const TRect& bounds, TPoint start, TPoint end) {
  DeviceCall& c = Record(Call::Pie);
  c.rect = bounds;
  c.points = {start, end};
}

void RecordingDevice::DrawPicture(const TPicture& picture, const TRect& dest) {
  DeviceCall& c = Record(Call::DrawPicture);
  c.rect = dest;
  c.picture = &picture;
}

void RecordingDevice::SetClipRect(const TRect& rect) { Record(Call::SetClipRect).rect = rect; }

void RecordingDevice::ClearClip() { Record(Call::ClearClip); }

std::unique_ptr<TOffscreenImage> RecordingDevice::CreateOffscreen(int width, int height,
                                                                  bool monochrome) {
  DeviceCall& c = Record(Call::CreateOffscreen);
  c.rect = MakeRect(0, 0, width, height);
  c.monochrome = monochrome;
  if (refuseOffscreen) return nullptr;
  return std::make_unique<RecordingOffscreen>(width, height, monochrome);
}

TColor RecordingDevice::ResolveColor(TColor color) const {
  if (!IsSystemColor(color)) return color;
  for (const SystemColorEntry* e = kSystemColors; e->index >= 0; ++e)
    if (e->index == SystemColorIndex(color)) return e->rgb;
  return 0x808080;
}

}  // namespace kd::test
