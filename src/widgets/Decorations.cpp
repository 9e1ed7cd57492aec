// Painting of the dialog decorations.
#include "widgets/Decorations.h"

#include "engine/Gradient.h"
#include "platform/GdiDevice.h"

namespace kd::widgets {

namespace {

constexpr TColor kStripEnd = 0xFFFFFF;
constexpr TColor kStripStart = 0xE8C8B0;  // soft blue-grey, fading to white
constexpr TColor kBadgeEnd = 0xC080E0;    // the badge fades to a light rose

COLORREF Rgb(TColor color) { return static_cast<COLORREF>(color & 0xFFFFFF); }

// Draws `text` in `font` and `color` on a transparent background into `box`.
void DrawLabel(HDC dc, HFONT font, TColor color, const std::wstring& text, RECT box, UINT format) {
  platform::SelectionScope selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Rgb(color));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format | DT_NOPREFIX);
}

void FillSolid(TDevice& device, const TRect& rect, TColor color) {
  device.SetBrush(TChartBrush{color, bsSolid});
  device.FillRect(rect);
}

}  // namespace

platform::Font PixelFont(const wchar_t* face, int height, bool bold) {
  return platform::Font(CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
}

GradientStrip::GradientStrip(HWND parent, const RECT& place, const std::wstring& label, int id)
    : PaintedControl(parent, place, label, id), font_(PixelFont(L"Arial", 13)) {}

void GradientStrip::Paint(HDC dc, int width, int height) {
  {
    platform::GdiDevice device(dc);
    FillGradient(device, TRect{0, 0, width, height}, kStripStart, kStripEnd, gdLeftRight);
  }
  DrawLabel(dc, font_.Get(), clBlack, Text(), RECT{4, 0, width, height},
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

GradientBadge::GradientBadge(HWND parent, const RECT& place, const std::wstring& label, int id)
    : PaintedControl(parent, place, label, id), font_(PixelFont(L"Arial", 15)) {}

void GradientBadge::Paint(HDC dc, int width, int height) {
  {
    platform::GdiDevice device(dc);
    FillSolid(device, TRect{0, 0, width, height}, clBtnFace);
  }
  // The rounded shape clips the gradient; the region is owned for this paint only.
  platform::Region shape(CreateRoundRectRgn(0, 0, width + 1, height + 1, 12, 12));
  {
    platform::SavedDCState saved(dc);
    if (shape) SelectClipRgn(dc, shape.Get());
    platform::GdiDevice device(dc);
    FillGradient(device, TRect{0, 0, width, height}, kBadgeStart, kBadgeEnd, gdLeftRight);
  }
  DrawLabel(dc, font_.Get(), kLightYellow, Text(), RECT{8, 0, width, height},
            DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

DescriptionBox::DescriptionBox(HWND parent, const RECT& place, const std::wstring& text, int id)
    : PaintedControl(parent, place, text, id), font_(PixelFont(L"Arial", 13)) {}

void DescriptionBox::Paint(HDC dc, int width, int height) {
  {
    platform::GdiDevice device(dc);
    FillSolid(device, TRect{0, 0, width, height}, kLightYellow);
  }
  DrawLabel(dc, font_.Get(), kDescriptionText, Text(), RECT{5, 3, 5 + 415, 3 + 64},
            DT_LEFT | DT_TOP | DT_WORDBREAK);
}

TextLabel::TextLabel(HWND parent, const RECT& place, const std::wstring& text, platform::Font font,
                     TColor color, TColor background, int id)
    : PaintedControl(parent, place, text, id), font_(std::move(font)), color_(color), background_(background) {}

void TextLabel::Paint(HDC dc, int width, int height) {
  {
    platform::GdiDevice device(dc);
    FillSolid(device, TRect{0, 0, width, height}, background_);
  }
  DrawLabel(dc, font_.Get(), color_, Text(), RECT{0, 0, width, height}, DT_LEFT | DT_TOP | DT_WORDBREAK);
}

PictureBox::PictureBox(HWND parent, const RECT& place, std::shared_ptr<const TPicture> picture, int id)
    : PaintedControl(parent, place, L"", id), picture_(std::move(picture)) {}

void PictureBox::Paint(HDC dc, int width, int height) {
  platform::GdiDevice device(dc);
  const TRect all{0, 0, width, height};
  FillSolid(device, all, clBtnFace);
  if (picture_) device.DrawPicture(*picture_, all);
}

void DrawPanelEdges(TDevice& device, const TRect& panel) {
  DrawOutline(device, panel);
  FillGradient(device, TRect{panel.left, panel.top, panel.right, panel.top + 2}, kBadgeStart, kStripEnd,
               gdLeftRight);
  FillGradient(device, TRect{panel.left, panel.top, panel.left + 2, panel.bottom}, kBadgeStart, kStripEnd,
               gdTopBottom);
}

void DrawOutline(TDevice& device, const TRect& rect) {
  device.SetPen(TChartPen{0xA0A0A0, 1, psSolid});
  device.SetBrush(TChartBrush{clWhite, bsClear});
  device.Rectangle(rect);
}

void DrawPictureButton(const DRAWITEMSTRUCT& item, const TPicture* glyph) {
  const RECT& r = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  platform::GdiDevice device(item.hDC);
  FillSolid(device, TRect{r.left, r.top, r.right, r.bottom}, clBtnFace);
  if (glyph) {
    const int w = glyph->Width(), h = glyph->Height();
    const int x = r.left + (r.right - r.left - w) / 2 + (pressed ? 1 : 0);
    const int y = r.top + (r.bottom - r.top - h) / 2 + (pressed ? 1 : 0);
    device.DrawPicture(*glyph, TRect{x, y, x + w, y + h});
  }
  RECT edge = r;
  if (pressed) DrawEdge(item.hDC, &edge, BDR_SUNKENOUTER, BF_RECT);
  else if (item.itemState & ODS_FOCUS) DrawEdge(item.hDC, &edge, BDR_RAISEDINNER, BF_RECT);
}

}  // namespace kd::widgets
