// Records the metafile corpus: each scene draws on a recording DC with plain
// GDI calls in a 200 x 200 unit area. Not here: checks on the results.
#include "RecordedMetafiles.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kdtest {
namespace {

using Scene = void (*)(HDC);

void UseAndDelete(HDC dc, HGDIOBJ object, void (*draw)(HDC)) {
  HGDIOBJ old = SelectObject(dc, object);
  draw(dc);
  SelectObject(dc, old);
  DeleteObject(object);
}

void Shapes(HDC dc) {
  Rectangle(dc, 10, 10, 60, 40);
  RoundRect(dc, 70, 10, 130, 40, 10, 10);
  Ellipse(dc, 140, 10, 190, 40);
  Arc(dc, 10, 50, 60, 100, 10, 50, 60, 100);
  Chord(dc, 70, 50, 120, 100, 70, 50, 120, 100);
  Pie(dc, 130, 50, 180, 100, 180, 75, 130, 50);
  const POINT triangle[] = {{10, 190}, {50, 110}, {90, 190}};
  Polygon(dc, triangle, 3);
  const POINT zigzag[] = {{100, 110}, {120, 150}, {140, 110}, {160, 150}, {180, 110}};
  Polyline(dc, zigzag, 5);
  const POINT twoBoxes[] = {{100, 160}, {130, 160}, {130, 190}, {100, 190},
                            {140, 160}, {190, 160}, {165, 195}};
  const INT counts[] = {4, 3};
  PolyPolygon(dc, twoBoxes, counts, 2);
  const DWORD lineCounts[] = {2, 3};
  PolyPolyline(dc, twoBoxes, lineCounts, 2);
  const POINT curve[] = {{10, 100}, {40, 60}, {80, 140}, {110, 100}};
  PolyBezier(dc, curve, 4);
  MoveToEx(dc, 5, 5, nullptr);
  LineTo(dc, 195, 5);
  SetPixel(dc, 100, 100, RGB(255, 0, 0));
  SetPixelV(dc, 101, 100, RGB(0, 0, 255));
  AngleArc(dc, 100, 130, 20, 0.0f, 270.0f);
  SetArcDirection(dc, AD_CLOCKWISE);
  Arc(dc, 20, 120, 80, 180, 20, 150, 80, 150);
  ExtFloodFill(dc, 35, 25, RGB(255, 255, 255), FLOODFILLSURFACE);
  PatBlt(dc, 150, 150, 30, 30, PATCOPY);
  PatBlt(dc, 150, 150, 10, 10, DSTINVERT);
}

void Pens(HDC dc) {
  const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
  int y = 10;
  for (int style : styles) {
    for (int width : {0, 1, 5}) {
      HPEN pen = CreatePen(style, width, RGB(20 * y % 256, 0, 128));
      HGDIOBJ old = SelectObject(dc, pen);
      MoveToEx(dc, 10 + 60 * (width > 0) + 60 * (width > 1), y, nullptr);
      LineTo(dc, 60 + 60 * (width > 0) + 60 * (width > 1), y + 5);
      Rectangle(dc, 180, y, 195, y + 8);
      SelectObject(dc, old);
      DeleteObject(pen);
    }
    y += 12;
  }
  LOGBRUSH solid{BS_SOLID, RGB(0, 128, 0), 0};
  const DWORD dashes[] = {6, 3, 2, 3};
  const DWORD caps[] = {PS_ENDCAP_ROUND, PS_ENDCAP_SQUARE, PS_ENDCAP_FLAT};
  const DWORD joins[] = {PS_JOIN_ROUND, PS_JOIN_BEVEL, PS_JOIN_MITER};
  for (int i = 0; i < 3; ++i) {
    HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | caps[i] | joins[i], 4, &solid, 4, dashes);
    HGDIOBJ old = SelectObject(dc, pen);
    const POINT corner[] = {{20 + 50 * i, 120}, {50 + 50 * i, 150}, {20 + 50 * i, 180}};
    Polyline(dc, corner, 3);
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  LOGBRUSH hatch{BS_HATCHED, RGB(0, 0, 255), HS_CROSS};
  HPEN hatched = ExtCreatePen(PS_GEOMETRIC | PS_SOLID, 8, &hatch, 0, nullptr);
  UseAndDelete(dc, hatched, [](HDC d) { Rectangle(d, 160, 120, 190, 190); });
  HPEN cosmetic = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &solid, 0, nullptr);
  UseAndDelete(dc, cosmetic, [](HDC d) { Ellipse(d, 10, 185, 190, 198); });
  SetMiterLimit(dc, 5.0f, nullptr);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(WHITE_PEN));
  SelectObject(dc, GetStockObject(DC_PEN));
  SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, 100, 100, 110, 110);
}

// A logical palette of `entries` colours running from green to red.
HPALETTE MakePalette(int entries) {
  std::vector<unsigned char> buffer(sizeof(LOGPALETTE) + entries * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<WORD>(entries);
  for (int i = 0; i < entries; ++i) {
    const int level = i * 255 / std::max(1, entries - 1);
    palette->palPalEntry[i] = {static_cast<BYTE>(level), static_cast<BYTE>(255 - level), 128, 0};
  }
  return CreatePalette(palette);
}

// A top-down DIB of w x h in `bits` bits per pixel with a colourful pattern.
struct TestDib {
  std::vector<unsigned char> header;  // BITMAPINFOHEADER plus table or masks
  std::vector<unsigned char> bits;
  const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(header.data()); }
};

TestDib MakeDib(int bits, int width, int height, DWORD compression = BI_RGB) {
  TestDib dib;
  const int colors = bits <= 8 ? 1 << bits : 0;
  const int masks = compression == BI_BITFIELDS ? 3 : 0;
  dib.header.assign(sizeof(BITMAPINFOHEADER) + 4 * (colors + masks), 0);
  auto* h = reinterpret_cast<BITMAPINFOHEADER*>(dib.header.data());
  h->biSize = sizeof(BITMAPINFOHEADER);
  h->biWidth = width;
  h->biHeight = height;
  h->biPlanes = 1;
  h->biBitCount = static_cast<WORD>(bits);
  h->biCompression = compression;
  h->biClrUsed = static_cast<DWORD>(colors);
  auto* table = reinterpret_cast<DWORD*>(dib.header.data() + sizeof(BITMAPINFOHEADER));
  for (int i = 0; i < colors; ++i) table[i] = (i * 0x1F3A5Bu * 7) & 0xFFFFFF;
  if (masks) {
    table[0] = bits == 16 ? 0xF800 : 0xFF0000;
    table[1] = bits == 16 ? 0x07E0 : 0x00FF00;
    table[2] = bits == 16 ? 0x001F : 0x0000FF;
  }
  if (compression == BI_RLE8) {
    for (int y = 0; y < height; ++y) {
      dib.bits.insert(dib.bits.end(), {static_cast<unsigned char>(width / 2), static_cast<unsigned char>(y),
                                       static_cast<unsigned char>(width - width / 2),
                                       static_cast<unsigned char>(255 - y), 0, 0});
    }
    dib.bits.insert(dib.bits.end(), {0, 1});
    dib.bits.resize((dib.bits.size() + 3) / 4 * 4);  // the recorder wants whole 32-bit words
    h->biSizeImage = static_cast<DWORD>(dib.bits.size());
    return dib;
  }
  const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
  dib.bits.resize(stride * height);
  // Wine's Windows metafile recorder copies biSizeImage bytes of bits, even
  // none; without it the records would end before their bits.
  h->biSizeImage = static_cast<DWORD>(dib.bits.size());
  for (size_t i = 0; i < dib.bits.size(); ++i) dib.bits[i] = static_cast<unsigned char>(i * 37 + i / stride * 11);
  return dib;
}

void Bitmaps(HDC dc) {
  const int depths[] = {1, 4, 8, 16, 24, 32};
  int x = 5;
  for (int bits : depths) {
    const TestDib dib = MakeDib(bits, 13, 9);
    StretchDIBits(dc, x, 5, 26, 18, 0, 0, 13, 9, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY);
    SetDIBitsToDevice(dc, x, 30, 13, 9, 0, 0, 0, 9, dib.bits.data(), dib.Info(), DIB_RGB_COLORS);
    x += 32;
  }
  const TestDib rle = MakeDib(8, 16, 8, BI_RLE8);
  StretchDIBits(dc, 5, 45, 32, 16, 0, 0, 16, 8, rle.bits.data(), rle.Info(), DIB_RGB_COLORS, SRCCOPY);
  const TestDib fields = MakeDib(16, 10, 10, BI_BITFIELDS);
  StretchDIBits(dc, 45, 45, 20, 20, 0, 0, 10, 10, fields.bits.data(), fields.Info(), DIB_RGB_COLORS, SRCCOPY);
  const TestDib fields32 = MakeDib(32, 10, 10, BI_BITFIELDS);
  StretchDIBits(dc, 70, 45, 20, 20, 0, 0, 10, 10, fields32.bits.data(), fields32.Info(), DIB_RGB_COLORS,
                SRCCOPY);

  // Blits from a memory DC holding a 24-bit DIB section.
  HDC source = CreateCompatibleDC(nullptr);
  const TestDib colour = MakeDib(24, 20, 20);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(source, colour.Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
  std::memcpy(bits, colour.bits.data(), colour.bits.size());
  HGDIOBJ oldSource = SelectObject(source, section);
  BitBlt(dc, 100, 45, 20, 20, source, 0, 0, SRCCOPY);
  StretchBlt(dc, 125, 45, 40, 30, source, 0, 0, 20, 20, SRCCOPY);
  HBITMAP mask = CreateBitmap(20, 20, 1, 1, nullptr);
  MaskBlt(dc, 5, 80, 20, 20, source, 0, 0, mask, 0, 0, MAKEROP4(SRCCOPY, SRCPAINT));
  const POINT parallelogram[] = {{40, 80}, {70, 85}, {35, 110}};
  PlgBlt(dc, parallelogram, source, 0, 0, 20, 20, nullptr, 0, 0);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 128, 0};
  GdiAlphaBlend(dc, 80, 80, 30, 30, source, 0, 0, 20, 20, blend);
  GdiTransparentBlt(dc, 115, 80, 30, 30, source, 0, 0, 20, 20, RGB(0, 0, 0));
  SelectObject(source, oldSource);
  DeleteObject(section);
  DeleteObject(mask);
  DeleteDC(source);
}

// Palette depths as Windows metafiles record them: DIBs of 1, 4 and 8 bits
// with full and short tables, by colours and by palette indices, part-band
// SetDIBitsToDevice, blits from DIB sections of those depths, DIB brushes.
void Depths(HDC dc) {
  HPALETTE palette = MakePalette(256);
  HPALETTE oldPalette = SelectPalette(dc, palette, FALSE);
  RealizePalette(dc);
  // Wine's enhanced recorder faults on a header that counts no colours.
  const bool windowsFormat = GetObjectType(dc) == OBJ_METADC;
  int y = 5;
  for (int bits : {1, 4, 8}) {
    for (int used : {0, 2}) {
      if (used == 0 && !windowsFormat) continue;
      TestDib dib = MakeDib(bits, 13, 9);
      reinterpret_cast<BITMAPINFOHEADER*>(dib.header.data())->biClrUsed = static_cast<DWORD>(used);
      const int x = used == 0 ? 5 : 100;
      StretchDIBits(dc, x, y, 26, 18, 0, 0, 13, 9, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY);
      SetDIBitsToDevice(dc, x + 30, y, 13, 9, 0, 0, 2, 5, dib.bits.data(), dib.Info(), DIB_RGB_COLORS);
      // Palette indices: the table is words, not colours.
      TestDib indices = MakeDib(bits, 13, 9);
      auto* words = reinterpret_cast<WORD*>(indices.header.data() + sizeof(BITMAPINFOHEADER));
      for (int i = 0; i < (1 << bits); ++i) words[i] = static_cast<WORD>(i);
      StretchDIBits(dc, x + 50, y, 13, 9, 0, 0, 13, 9, indices.bits.data(), indices.Info(), DIB_PAL_COLORS,
                    SRCCOPY);
    }
    HDC source = CreateCompatibleDC(nullptr);
    const TestDib dib = MakeDib(bits, 20, 20);
    void* pixels = nullptr;
    HBITMAP section = CreateDIBSection(source, dib.Info(), DIB_RGB_COLORS, &pixels, nullptr, 0);
    std::memcpy(pixels, dib.bits.data(), dib.bits.size());
    HGDIOBJ oldSection = SelectObject(source, section);
    BitBlt(dc, 5, y + 22, 20, 20, source, 0, 0, SRCCOPY);
    StretchBlt(dc, 30, y + 22, 40, 20, source, 0, 0, 20, 20, SRCCOPY);
    SelectObject(source, oldSection);
    DeleteObject(section);
    DeleteDC(source);
    std::vector<unsigned char> packed = dib.header;
    packed.insert(packed.end(), dib.bits.begin(), dib.bits.end());
    UseAndDelete(dc, CreateDIBPatternBrushPt(packed.data(), DIB_RGB_COLORS),
                 [](HDC d) { Rectangle(d, 80, 150, 190, 190); });
    y += 48;
  }
  SelectPalette(dc, oldPalette, FALSE);
  DeleteObject(palette);
}

void Brushes(HDC dc) {
  const int hatches[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
  int x = 5;
  for (int hatch : hatches) {
    HBRUSH brush = CreateHatchBrush(hatch, RGB(x, 0, 200));
    HGDIOBJ old = SelectObject(dc, brush);
    Rectangle(dc, x, 5, x + 28, 40);
    SelectObject(dc, old);
    DeleteObject(brush);
    x += 32;
  }
  SetBkMode(dc, TRANSPARENT);
  HBRUSH solid = CreateSolidBrush(RGB(250, 200, 0));
  UseAndDelete(dc, solid, [](HDC d) { Ellipse(d, 5, 45, 60, 90); });
  LOGBRUSH hollow{BS_NULL, 0, 0};
  UseAndDelete(dc, CreateBrushIndirect(&hollow), [](HDC d) { Rectangle(d, 65, 45, 120, 90); });
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(200, 255, 200));
  const WORD checker[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
  HBITMAP mono = CreateBitmap(8, 8, 1, 1, checker);
  UseAndDelete(dc, CreatePatternBrush(mono), [](HDC d) { Rectangle(d, 125, 45, 195, 90); });
  DeleteObject(mono);
  for (int bits : {1, 4, 8, 24}) {
    TestDib dib = MakeDib(bits, 8, 8);
    std::vector<unsigned char> packed = dib.header;
    packed.insert(packed.end(), dib.bits.begin(), dib.bits.end());
    HBRUSH pattern = CreateDIBPatternBrushPt(packed.data(), DIB_RGB_COLORS);
    HGDIOBJ old = SelectObject(dc, pattern);
    Rectangle(dc, 5 + bits * 6, 100, 40 + bits * 6, 140);
    SelectObject(dc, old);
    DeleteObject(pattern);
  }
  SetBrushOrgEx(dc, 3, 3, nullptr);
  for (int stock : {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH, NULL_BRUSH, DC_BRUSH}) {
    SelectObject(dc, GetStockObject(stock));
    Rectangle(dc, 5 + stock * 10, 150, 14 + stock * 10, 195);
  }
  SetPolyFillMode(dc, WINDING);
  SetROP2(dc, R2_XORPEN);
  Rectangle(dc, 150, 150, 190, 190);
  SetROP2(dc, R2_COPYPEN);
}

void Texts(HDC dc) {
  SetTextColor(dc, RGB(0, 0, 160));
  SetBkColor(dc, RGB(255, 255, 180));
  HFONT font = CreateFontA(16, 0, 0, 0, FW_BOLD, TRUE, TRUE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
  HGDIOBJ old = SelectObject(dc, font);
  TextOutA(dc, 5, 5, "Pie charts", 10);
  TextOutW(dc, 5, 25, L"\x0414\x0430\x043D\x043D\x044B\x0435", 6);
  const INT dx[] = {12, 12, 12, 12, 12};
  RECT clip{5, 45, 120, 65};
  ExtTextOutW(dc, 5, 45, ETO_OPAQUE | ETO_CLIPPED, &clip, L"Spaced", 5, dx);
  ExtTextOutA(dc, 5, 65, 0, nullptr, "Plain text", 10, nullptr);
  SetTextAlign(dc, TA_RIGHT | TA_BOTTOM);
  TextOutA(dc, 195, 195, "Aligned", 7);
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  SetTextCharacterExtra(dc, 3);
  SetTextJustification(dc, 10, 1);
  TextOutA(dc, 5, 85, "Extra spacing", 13);
  SetTextJustification(dc, 0, 0);
  SelectObject(dc, old);
  DeleteObject(font);
  HFONT turned = CreateFontA(20, 0, 450, 450, FW_NORMAL, FALSE, FALSE, TRUE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                             "Times New Roman");
  old = SelectObject(dc, turned);
  TextOutA(dc, 60, 190, "Turned", 6);
  POLYTEXTW lines[2] = {{120, 110, 3, L"One", 0, {120, 110, 190, 130}, nullptr},
                        {120, 140, 3, L"Two", 0, {120, 140, 190, 160}, nullptr}};
  PolyTextOutW(dc, lines, 2);
  SelectObject(dc, old);
  DeleteObject(turned);
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  TextOutA(dc, 5, 110, "System", 6);
  SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
  TextOutA(dc, 5, 130, "Variable", 8);
  SetMapperFlags(dc, 1);
}

void Paths(HDC dc) {
  BeginPath(dc);
  MoveToEx(dc, 10, 10, nullptr);
  LineTo(dc, 90, 10);
  const POINT curve[] = {{120, 40}, {60, 80}, {90, 90}};
  PolyBezierTo(dc, curve, 3);
  ArcTo(dc, 20, 50, 80, 110, 80, 80, 20, 80);
  CloseFigure(dc);
  EndPath(dc);
  StrokeAndFillPath(dc);
  BeginPath(dc);
  Ellipse(dc, 110, 10, 190, 90);
  EndPath(dc);
  FillPath(dc);
  BeginPath(dc);
  Rectangle(dc, 10, 110, 90, 190);
  EndPath(dc);
  WidenPath(dc);
  StrokePath(dc);
  BeginPath(dc);
  const POINT drawn[] = {{110, 110}, {190, 110}, {150, 190}, {120, 150}, {130, 130}, {140, 140}};
  const BYTE types[] = {PT_MOVETO, PT_LINETO, PT_LINETO, PT_BEZIERTO, PT_BEZIERTO, PT_BEZIERTO | PT_CLOSEFIGURE};
  PolyDraw(dc, drawn, types, 6);
  EndPath(dc);
  FlattenPath(dc);
  StrokePath(dc);
  BeginPath(dc);
  Rectangle(dc, 100, 100, 180, 180);
  EndPath(dc);
  SelectClipPath(dc, RGN_AND);
  Ellipse(dc, 90, 90, 200, 200);
  BeginPath(dc);
  LineTo(dc, 5, 5);
  AbortPath(dc);
}

void Regions(HDC dc) {
  HRGN box = CreateRectRgn(10, 10, 90, 90);
  HRGN round = CreateEllipticRgn(60, 60, 190, 190);
  const POINT star[] = {{100, 10}, {120, 80}, {190, 80}, {130, 110}, {150, 190}, {100, 140},
                        {50, 190}, {70, 110}, {10, 80}, {80, 80}};
  HRGN poly = CreatePolygonRgn(star, 10, ALTERNATE);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  FillRgn(dc, box, red);
  FrameRgn(dc, round, blue, 3, 5);
  InvertRgn(dc, poly);
  SelectObject(dc, blue);
  PaintRgn(dc, poly);
  ExtSelectClipRgn(dc, round, RGN_COPY);
  Rectangle(dc, 0, 0, 200, 200);
  SelectClipRgn(dc, nullptr);
  ExcludeClipRect(dc, 20, 20, 40, 40);
  IntersectClipRect(dc, 5, 5, 195, 195);
  OffsetClipRgn(dc, 2, 2);
  SetMetaRgn(dc);
  Ellipse(dc, 10, 10, 190, 190);
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(box);
  DeleteObject(round);
  DeleteObject(poly);
  DeleteObject(red);
  DeleteObject(blue);
}

void Transforms(HDC dc) {
  SaveDC(dc);
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, 100, 100, nullptr);
  SetViewportExtEx(dc, 200, 200, nullptr);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  Rectangle(dc, 5, 5, 45, 45);
  ScaleViewportExtEx(dc, 1, 2, 1, 2, nullptr);
  ScaleWindowExtEx(dc, 1, 1, 1, 1, nullptr);
  OffsetViewportOrgEx(dc, 10, 10, nullptr);
  OffsetWindowOrgEx(dc, -5, -5, nullptr);
  Ellipse(dc, 50, 50, 90, 90);
  SaveDC(dc);
  SetGraphicsMode(dc, GM_ADVANCED);
  const double angle = 0.5;
  XFORM turn{static_cast<FLOAT>(std::cos(angle)), static_cast<FLOAT>(std::sin(angle)),
             static_cast<FLOAT>(-std::sin(angle)), static_cast<FLOAT>(std::cos(angle)), 100, 20};
  SetWorldTransform(dc, &turn);
  Rectangle(dc, 0, 0, 40, 20);
  XFORM shift{1, 0, 0, 1, 10, 30};
  ModifyWorldTransform(dc, &shift, MWT_RIGHTMULTIPLY);
  Rectangle(dc, 0, 0, 40, 20);
  ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
  RestoreDC(dc, -1);
  SetMapMode(dc, MM_LOMETRIC);
  Rectangle(dc, 100, -100, 400, -400);
  RestoreDC(dc, -1);
  SetMapMode(dc, MM_TEXT);
  SetStretchBltMode(dc, HALFTONE);
  SetLayout(dc, 0);
  Rectangle(dc, 150, 150, 195, 195);
}

void Gradients(HDC dc) {
  TRIVERTEX vertices[] = {{10, 10, 0xFF00, 0, 0, 0}, {190, 60, 0, 0, 0xFF00, 0},
                          {10, 70, 0, 0xFF00, 0, 0}, {190, 120, 0xFF00, 0xFF00, 0, 0},
                          {100, 130, 0, 0, 0xFF00, 0}, {10, 195, 0xFF00, 0, 0xFF00, 0},
                          {190, 195, 0, 0xFF00, 0xFF00, 0}};
  GRADIENT_RECT first{0, 1}, second{2, 3};
  GdiGradientFill(dc, vertices, 7, &first, 1, GRADIENT_FILL_RECT_H);
  GdiGradientFill(dc, vertices, 7, &second, 1, GRADIENT_FILL_RECT_V);
  GRADIENT_TRIANGLE triangle{4, 5, 6};
  GdiGradientFill(dc, vertices, 7, &triangle, 1, GRADIENT_FILL_TRIANGLE);
}

void Palettes(HDC dc) {
  HPALETTE made = MakePalette(16);
  HPALETTE old = SelectPalette(dc, made, FALSE);
  RealizePalette(dc);
  PALETTEENTRY entries[2] = {{255, 0, 0, 0}, {0, 255, 0, 0}};
  SetPaletteEntries(made, 0, 2, entries);
  AnimatePalette(made, 2, 2, entries);
  ResizePalette(made, 32);
  HBRUSH brush = CreateSolidBrush(PALETTEINDEX(1));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  Rectangle(dc, 10, 10, 190, 190);
  SelectObject(dc, oldBrush);
  DeleteObject(brush);
  SelectPalette(dc, old, FALSE);
  DeleteObject(made);
  SetICMMode(dc, ICM_OFF);
  const char comment[] = "recorded for the picture tests";
  GdiComment(dc, sizeof comment, reinterpret_cast<const BYTE*>(comment));
}

// Thousands of records: a grid of small shapes with changing pens and brushes.
void ManyRecords(HDC dc) {
  for (int i = 0; i < 1500; ++i) {
    const int x = (i % 40) * 5, y = (i / 40) * 5;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(i % 256, (i * 7) % 256, 90));
    HGDIOBJ old = SelectObject(dc, pen);
    if (i % 3 == 0) {
      Rectangle(dc, x, y, x + 4, y + 4);
    } else {
      MoveToEx(dc, x, y, nullptr);
      LineTo(dc, x + 4, y + 4);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
  }
}

struct NamedScene {
  const char* name;
  Scene draw;
  bool windowsFormat;  // the Windows metafile format holds it too
  bool plainToo;       // also recorded without a placeable header
};
constexpr NamedScene kScenes[] = {
    {"shapes", Shapes, true, false},         {"pens", Pens, true, false},
    {"bitmaps", Bitmaps, true, false},       {"depths", Depths, true, true},
    {"brushes", Brushes, true, false},       {"texts", Texts, true, false},
    {"paths", Paths, false, false},          {"regions", Regions, true, false},
    {"transforms", Transforms, false, false}, {"gradients", Gradients, false, false},
    {"palettes", Palettes, true, true},      {"many", ManyRecords, true, false},
};

std::vector<unsigned char> RecordEnhanced(Scene draw) {
  HDC screen = GetDC(nullptr);
  const int mmPerPixelX100 = MulDiv(2540, 1, GetDeviceCaps(screen, LOGPIXELSX));
  RECT frame{0, 0, 200 * mmPerPixelX100, 200 * mmPerPixelX100};
  HDC dc = CreateEnhMetaFileA(screen, nullptr, &frame, "kdPieChart tests\0scene\0");
  ReleaseDC(nullptr, screen);
  draw(dc);
  HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  std::vector<unsigned char> bytes(GetEnhMetaFileBits(metafile, 0, nullptr));
  GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), bytes.data());
  DeleteEnhMetaFile(metafile);
  return bytes;
}

// A Windows metafile of 200 x 200 units, as it is recorded.
std::vector<unsigned char> RecordPlain(Scene draw) {
  HDC dc = CreateMetaFileW(nullptr);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetWindowExtEx(dc, 200, 200, nullptr);
  draw(dc);
  HMETAFILE metafile = CloseMetaFile(dc);
  std::vector<unsigned char> bytes(GetMetaFileBitsEx(metafile, 0, nullptr));
  GetMetaFileBitsEx(metafile, static_cast<UINT>(bytes.size()), bytes.data());
  DeleteMetaFile(metafile);
  return bytes;
}

// The same behind a placeable header of 200 x 200 units at 96 per inch.
std::vector<unsigned char> RecordWindows(Scene draw) {
  std::vector<unsigned char> bytes = RecordPlain(draw);
  bytes.insert(bytes.begin(), 22, 0);
  const WORD header[10] = {0xCDD7, 0x9AC6, 0, 0, 0, 200, 200, 96, 0, 0};
  WORD checksum = 0;
  for (WORD w : header) checksum ^= w;
  std::memcpy(bytes.data(), header, sizeof header);
  std::memcpy(bytes.data() + 20, &checksum, 2);
  return bytes;
}

}  // namespace

std::vector<RecordedMetafile> RecordedMetafiles() {
  std::vector<RecordedMetafile> files;
  for (const NamedScene& scene : kScenes) {
    files.push_back({std::string(scene.name) + ".emf", RecordEnhanced(scene.draw)});
    if (scene.windowsFormat) files.push_back({std::string(scene.name) + ".wmf", RecordWindows(scene.draw)});
    if (scene.plainToo) files.push_back({std::string(scene.name) + "-plain.wmf", RecordPlain(scene.draw)});
  }
  return files;
}

}  // namespace kdtest
