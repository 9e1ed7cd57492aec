// The decorations that dress the design-time dialogs: the gradient strip with
// its label, the rounded gradient command badge, the light description box,
// picture boxes, the link label, panel edge lines and the flat picture button.
// Shapes and gradients draw through TDevice with the engine's gradient; texts
// draw as UTF-16 in fonts of an exact character height in pixels, so Cyrillic
// reads as Cyrillic on any system. Leaves out: layout (the editor frame places
// them), behaviour beyond painting.
#pragma once

#include "platform/Win32.h"

#include <memory>
#include <string>

#include "engine/Device.h"
#include "platform/GdiObjects.h"
#include "platform/PaintedControl.h"

namespace kd::widgets {

// A font whose characters are `height` pixels high (internal leading excluded).
platform::Font PixelFont(const wchar_t* face, int height, bool bold = false);

// Colours of the dialogs.
constexpr TColor kBadgeStart = 0x400080;    // red 128, green 0, blue 64
constexpr TColor kLightYellow = 0xE1FFFF;   // red 255, green 255, blue 225
constexpr TColor kDescriptionText = 0x400080;

// Horizontal gradient strip carrying a black label (Arial 13 px).
class GradientStrip : public platform::PaintedControl {
 public:
  GradientStrip(HWND parent, const RECT& place, const std::wstring& label, int id = 0);

 protected:
  void Paint(HDC dc, int width, int height) override;

 private:
  platform::Font font_;
};

// Rounded gradient badge with the command name (Arial 15 px).
class GradientBadge : public platform::PaintedControl {
 public:
  GradientBadge(HWND parent, const RECT& place, const std::wstring& label, int id = 0);

 protected:
  void Paint(HDC dc, int width, int height) override;

 private:
  platform::Font font_;
};

// Light box with a word-wrapped description (Arial 13 px) inset by 5 x 3.
class DescriptionBox : public platform::PaintedControl {
 public:
  DescriptionBox(HWND parent, const RECT& place, const std::wstring& text, int id = 0);

 protected:
  void Paint(HDC dc, int width, int height) override;

 private:
  platform::Font font_;
};

// Plain text in a chosen font and colour on the dialog face (credit lines, titles).
class TextLabel : public platform::PaintedControl {
 public:
  TextLabel(HWND parent, const RECT& place, const std::wstring& text, platform::Font font,
            TColor color, TColor background, int id = 0);

 protected:
  void Paint(HDC dc, int width, int height) override;

 private:
  platform::Font font_;
  TColor color_;
  TColor background_;
};

// A picture scaled into the control, or the dialog face when there is none.
class PictureBox : public platform::PaintedControl {
 public:
  PictureBox(HWND parent, const RECT& place, std::shared_ptr<const TPicture> picture, int id = 0);

 protected:
  void Paint(HDC dc, int width, int height) override;

 private:
  std::shared_ptr<const TPicture> picture_;
};

// A thin outline with a gradient line along the top and the left edge.
void DrawPanelEdges(TDevice& device, const TRect& panel);
// A one-pixel grey outline.
void DrawOutline(TDevice& device, const TRect& rect);

// Paints an owner-drawn flat button: face, the glyph centred, a sunken edge while pressed.
void DrawPictureButton(const DRAWITEMSTRUCT& item, const TPicture* glyph);

}  // namespace kd::widgets
