// A device for native tests: every call is kept as plain data, so tests can
// assert exact geometry. Each drawing call also carries the state (pen, brush,
// font, text background) in force when it was made.
//
// Text metrics, fixed so that layouts can be computed by hand:
//   width  = 6 x characters x font size / 8   (size 8: 6 pixels a character)
//   height = 13 x font size / 8, whatever the text (size 8: 13 pixels)
// System colours come from kSystemColors (anything else: gray 0x808080).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/Device.h"

namespace kd::test {

enum class Call {
  SetPen,
  SetBrush,
  SetFont,
  SetBackMode,
  SetBackColor,
  TextOut,
  Line,
  Polyline,
  Rectangle,
  FillRect,
  Polygon,
  Ellipse,
  Pie,
  DrawPicture,
  SetClipRect,
  ClearClip,
  CreateOffscreen,
};

struct DeviceState {
  TChartPen pen;
  TChartBrush brush;
  FontData font;
  TBackMode backMode = bmOpaque;  // the platform's own start
  TColor backColor = clWhite;
};

struct DeviceCall {
  Call kind;
  DeviceState state;            // after a setter: the new state
  TRect rect;                   // shapes, fills, clip, picture destination, offscreen size
  std::vector<TPoint> points;   // line (2), polyline, polygon, pie start/end
  std::string text;
  TAlignment align = taLeftJustify;
  const TPicture* picture = nullptr;
  bool monochrome = false;      // CreateOffscreen
};

// A picture of a given size that draws nothing.
class TestPicture : public TPicture {
 public:
  TestPicture(int width, int height) : width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }

 private:
  int width_;
  int height_;
};

struct SystemColorEntry {
  int index;
  TColor rgb;
};
extern const SystemColorEntry kSystemColors[];

class RecordingDevice : public TDevice {
 public:
  std::vector<DeviceCall> calls;
  DeviceState state;
  TScreenInfo screen{1024, 768, 320, 240};  // square pixels
  bool refuseOffscreen = false;             // CreateOffscreen gives nullptr

  // ---- queries for tests
  std::vector<DeviceCall> Of(Call kind) const;
  int Count(Call kind) const;
  // Texts written, in order.
  std::vector<std::string> Texts() const;
  const DeviceCall* FindText(const std::string& text) const;
  void Clear() { calls.clear(); }

  static int TextWidthFor(const std::string& text, int size);
  static int TextHeightFor(int size);

  // ---- TDevice
  void SetPen(const TChartPen& pen) override;
  void SetBrush(const TChartBrush& brush) override;
  void SetFont(const FontData& font) override;
  void SetBackMode(TBackMode mode) override;
  void SetBackColor(TColor color) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;
  void TextOut(int x, int y, const std::string& text, TAlignment align) override;
  void Line(int x0, int y0, int x1, int y1) override;
  void Polyline(const TPoint* points, int count) override;
  void Rectangle(const TRect& rect) override;
  void FillRect(const TRect& rect) override;
  void Polygon(const TPoint* points, int count) override;
  void Ellipse(const TRect& bounds) override;
  void Pie(const TRect& bounds, TPoint start, TPoint end) override;
  void DrawPicture(const TPicture& picture, const TRect& dest) override;
  void SetClipRect(const TRect& rect) override;
  void ClearClip() override;
  std::unique_ptr<TOffscreenImage> CreateOffscreen(int width, int height, bool monochrome) override;
  TColor ResolveColor(TColor color) const override;
  TScreenInfo Screen() const override { return screen; }

 private:
  DeviceCall& Record(Call kind);
};

// The off-screen image RecordingDevice makes: a recorder of its own.
class RecordingOffscreen : public TOffscreenImage {
 public:
  RecordingOffscreen(int width, int height, bool monochrome)
      : width_(width), height_(height), monochrome_(monochrome) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  bool Monochrome() const { return monochrome_; }
  TDevice& Device() override { return device; }

  RecordingDevice device;

 private:
  int width_;
  int height_;
  bool monochrome_;
};

}  // namespace kd::test
