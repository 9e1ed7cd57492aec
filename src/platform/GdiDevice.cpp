// Implements GdiDevice, GdiOffscreenImage and the sector outline. Elliptic
// sectors are filled as polygons through arc points a few pixels apart:
// GDI's own Pie is some fifty times slower under Wine, and a chart with many
// slices and a rotating pie paints all of them every frame.
// Not here: gradients (the engine bands them with FillRect, or writes them
// into an image's pixel memory), metafile output.
#include "platform/GdiDevice.h"
#include "platform/AaGdiDevice.h"
#include "platform/ScreenMetrics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace kd::platform {
namespace {

// Chords of 3 pixels stay within a hundredth of a pixel of the true ellipse
// from a radius of about 100 pixels on.
constexpr double kSectorStep = 3.0;
constexpr int kMaxSectorSteps = 4096;

int PenStyleOf(TPenStyle style) {
  switch (style) {
    case psDash: return PS_DASH;
    case psDot: return PS_DOT;
    case psDashDot: return PS_DASHDOT;
    case psDashDotDot: return PS_DASHDOTDOT;
    case psClear: return PS_NULL;
    case psInsideFrame: return PS_INSIDEFRAME;
    case psSolid: break;
  }
  return PS_SOLID;
}

int HatchOf(TBrushStyle style) {
  switch (style) {
    case bsVertical: return HS_VERTICAL;
    case bsFDiagonal: return HS_FDIAGONAL;
    case bsBDiagonal: return HS_BDIAGONAL;
    case bsCross: return HS_CROSS;
    case bsDiagCross: return HS_DIAGCROSS;
    default: return HS_HORIZONTAL;
  }
}

bool IsHatch(TBrushStyle style) { return style != bsSolid && style != bsClear; }

UINT TextAlignOf(TAlignment align) {
  switch (align) {
    case taRightJustify: return TA_TOP | TA_RIGHT | TA_NOUPDATECP;
    case taCenter: return TA_TOP | TA_CENTER | TA_NOUPDATECP;
    case taLeftJustify: break;
  }
  return TA_TOP | TA_LEFT | TA_NOUPDATECP;
}

RECT ToRect(const TRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// Width and height of what can be drawn on dc: the selected bitmap of a
// memory DC; otherwise the larger of its window and the whole display.
SIZE DrawableSize(HDC dc) {
  BITMAP bitmap{};
  if (GetObjectType(dc) == OBJ_MEMDC &&
      GetObject(GetCurrentObject(dc, OBJ_BITMAP), sizeof bitmap, &bitmap) != 0)
    return SIZE{bitmap.bmWidth, std::abs(bitmap.bmHeight)};
  SIZE size{std::max(GetSystemMetrics(SM_CXVIRTUALSCREEN), GetDeviceCaps(dc, HORZRES)),
            std::max(GetSystemMetrics(SM_CYVIRTUALSCREEN), GetDeviceCaps(dc, VERTRES))};
  RECT window;
  if (HWND owner = WindowFromDC(dc); owner != nullptr && GetWindowRect(owner, &window)) {
    size.cx = std::max<LONG>(size.cx, window.right - window.left);
    size.cy = std::max<LONG>(size.cy, window.bottom - window.top);
  }
  return size;
}

// A line that touches the surface covers all of it once the pen is twice the
// surface's diagonal wide, so no wider pen changes a pixel; GDI's time grows
// with the width, though, and a width near 2^31 never returns.
int WidestUsefulPen(HDC dc) {
  const SIZE size = DrawableSize(dc);
  const double diagonal = std::hypot(std::max<double>(size.cx, 1), std::max<double>(size.cy, 1));
  return static_cast<int>(std::min(2 * std::ceil(diagonal), 1.0e9));
}

// True when text drawn at x, y cannot touch the clip box: its extent,
// placed by the alignment and widened by half its height on every side for
// italic overhangs and glyphs that leave their cell. A chart of thousands of
// slices on a small window puts most marks off it, and GDI takes as long for
// those as for visible text (32-bit Wine ten times longer, underlined text
// longer still): such a frame outlasts the rotation tick and the message
// loop never empties. Text anchored inside is drawn without measuring.
bool TextMissesClip(const RECT& clip, int x, int y, SIZE size, TAlignment align) {
  const int64_t width = size.cx, height = size.cy, margin = height / 2 + 1;
  const int64_t left = x - (align == taRightJustify ? width : align == taCenter ? width / 2 : 0);
  return left + width + margin <= clip.left || left - margin >= clip.right ||
         y + height + margin <= clip.top || y - margin >= clip.bottom;
}

bool SameFontFace(const FontData& a, const FontData& b) {
  return a.name == b.name && a.size == b.size && a.styles == b.styles && a.charset == b.charset;
}

// Nearest integer, halves away from zero, exactly as lround; the library's
// lround costs several times more, and a sector rounds hundreds of points.
LONG RoundHalfAway(double value) {
  constexpr double kLimit = 2147483647.0;  // inside it the fraction is exact and the result a LONG
  if (!(value > -kLimit && value < kLimit)) return static_cast<LONG>(std::lround(value));
  const long long whole = static_cast<long long>(value);  // towards zero
  const double fraction = value - static_cast<double>(whole);
  if (fraction >= 0.5) return static_cast<LONG>(whole + 1);
  if (fraction <= -0.5) return static_cast<LONG>(whole - 1);
  return static_cast<LONG>(whole);
}

// Point of parameter t on the ellipse through the pixel centres of bounds.
POINT EllipsePoint(double cx, double cy, double rx, double ry, double t) {
  return POINT{RoundHalfAway(cx + rx * std::cos(t)), RoundHalfAway(cy - ry * std::sin(t))};
}

}  // namespace

std::vector<POINT> SectorArcPoints(const RECT& bounds, POINT start, POINT end, double maxStep) {
  const double left = std::min(bounds.left, bounds.right);
  const double right = std::max(bounds.left, bounds.right);
  const double top = std::min(bounds.top, bounds.bottom);
  const double bottom = std::max(bounds.top, bounds.bottom);
  // Rays leave the centre of the bounding rectangle, as GDI's Pie defines it.
  const double rayX = (left + right) / 2;
  const double rayY = (top + bottom) / 2;
  const double halfW = std::max((right - left) / 2, 0.5);
  const double halfH = std::max((bottom - top) / 2, 0.5);
  // The outline runs through pixel centres, right and bottom edges excluded,
  // like GDI's Ellipse.
  const double cx = (left + right - 1) / 2;
  const double cy = (top + bottom - 1) / 2;
  const double rx = std::max((right - left - 1) / 2, 0.0);
  const double ry = std::max((bottom - top - 1) / 2, 0.0);

  const double from = std::atan2((rayY - start.y) / halfH, (start.x - rayX) / halfW);
  double to = std::atan2((rayY - end.y) / halfH, (end.x - rayX) / halfW);
  // Counter-clockwise. The same radial point sweeps all round: decided on the
  // integer points, since two atan2 results of one point need not compare
  // equal (x87 code keeps one in an 80-bit register and rounds the other).
  const bool wholeRound = start.x == end.x && start.y == end.y;
  if (wholeRound) to = from + 2 * kPi;
  else if (to <= from) to += 2 * kPi;
  const double sweep = to - from;

  const double arcLength = sweep * std::max(rx, ry);
  // Far past any screen (custom radii are not clipped) the chords may grow.
  const double wanted = std::ceil(arcLength / std::max(maxStep, 0.5));
  const int steps = static_cast<int>(std::clamp(wanted, 1.0, static_cast<double>(kMaxSectorSteps)));
  std::vector<POINT> points;
  points.reserve(static_cast<size_t>(steps) + 1);
  for (int i = 0; i <= steps; ++i) {
    const double t = i == steps ? to : from + sweep * i / steps;
    const POINT p = EllipsePoint(cx, cy, rx, ry, t);
    if (!points.empty() && points.back().x == p.x && points.back().y == p.y) continue;
    points.push_back(p);
  }
  return points;
}

// ------------------------------------------------------------------ GdiDevice

GdiDevice::GdiDevice(HDC dc)
    : dc_(dc), pixelsPerInch_(ScreenPixelsPerInch()), savedState_(dc) {
  backMode_ = GetBkMode(dc_) == OPAQUE ? bmOpaque : bmTransparent;
  backColor_ = GetBkColor(dc_);
}

int GdiDevice::WidestPen() const {
  if (widestPen_ == 0) widestPen_ = WidestUsefulPen(dc_);
  return widestPen_;
}

GdiDevice::~GdiDevice() = default;

TColor GdiDevice::ResolveColor(TColor color) const {
  if (color == clDefault || color == clNone) return clBlack;
  if (IsSystemColor(color)) return static_cast<TColor>(GetSysColor(color & 0xFF) & 0xFFFFFF);
  return color & 0xFFFFFF;
}

COLORREF GdiDevice::Rgb(TColor color) const {
  TColor rgb = ResolveColor(color);
  if (!blackAndWhite_) return static_cast<COLORREF>(rgb);
  // Each colour becomes the nearer of black and white by its brightness. Left
  // to GDI, a one-bit target turns every colour but the background colour
  // black, so a light panel would come out as a black one.
  const int brightness = (299 * RedOf(rgb) + 587 * GreenOf(rgb) + 114 * BlueOf(rgb)) / 1000;
  return brightness >= 128 ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

void GdiDevice::SetPen(const TChartPen& pen) {
  if (hasPen_ && pen == penData_) return;
  penData_ = pen;
  hasPen_ = true;
  penPending_ = deferShapeObjects_;
  if (!penPending_) SelectPen();
}

void GdiDevice::RealiseShapeObjects() {
  if (penPending_) SelectPen();
  if (brushPending_) SelectBrush();
  penPending_ = brushPending_ = false;
}

void GdiDevice::SelectPen() {
  const TChartPen& pen = penData_;
  if (!pen.Draws()) {
    selectedPen_ = GetStockObject(NULL_PEN);
    SelectObject(dc_, selectedPen_);
    return;
  }
  // Asking the surface's size costs more than a frame's pens under Wine, so
  // only pens too wide to be drawn quickly anywhere ask for it.
  constexpr int kAlwaysQuick = 1024;
  const int width = pen.smallDots ? 1 : pen.width > kAlwaysQuick ? std::min(pen.width, WidestPen())
                                                                 : std::max(pen.width, 0);
  const PenKey key{Rgb(pen.color), width, pen.smallDots ? psSolid : pen.style, pen.smallDots};
  if (HPEN kept = pens_.Find(key)) {
    selectedPen_ = kept;
    SelectObject(dc_, kept);
    return;
  }
  Pen created;
  if (pen.smallDots) {
    LOGBRUSH lb{BS_SOLID, key.color, 0};
    created.Reset(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr));
  } else {
    created.Reset(CreatePen(PenStyleOf(pen.style), width, key.color));
  }
  if (!created) return;  // out of GDI resources: keep drawing with the old pen
  ++objectsCreated_;
  selectedPen_ = created.Get();
  SelectObject(dc_, created.Get());
  pens_.Keep(key, std::move(created));
}

void GdiDevice::SetBrush(const TChartBrush& brush) {
  // The gradient sets the same colour for many bands in a row: reuse the brush.
  if (hasBrush_ && brush == brushData_) return;
  brushData_ = brush;
  hasBrush_ = true;
  brushPending_ = deferShapeObjects_;
  if (!brushPending_) SelectBrush();
}

void GdiDevice::SelectBrush() {
  const TChartBrush& brush = brushData_;
  if (brush.style == bsClear) {
    selectedBrush_ = GetStockObject(NULL_BRUSH);
    SelectObject(dc_, selectedBrush_);
    return;
  }
  const BrushKey key{Rgb(brush.color), IsHatch(brush.style) ? brush.style : bsSolid};
  if (HBRUSH kept = brushes_.Find(key)) {
    selectedBrush_ = kept;
    SelectObject(dc_, kept);
    return;
  }
  Brush created(IsHatch(brush.style) ? CreateHatchBrush(HatchOf(brush.style), key.color)
                                     : CreateSolidBrush(key.color));
  if (!created) return;
  ++objectsCreated_;
  selectedBrush_ = created.Get();
  SelectObject(dc_, created.Get());
  brushes_.Keep(key, std::move(created));
}

bool GdiDevice::FontKey::operator==(const FontKey& o) const { return SameFontFace(face, o.face); }

void GdiDevice::SetFont(const FontData& font) {
  const bool sameFace = hasFont_ && SameFontFace(font, fontData_);
  fontData_ = font;
  if (sameFace) return;  // only the colour changed: it is applied per text
  hasFont_ = true;
  extents_ = nullptr;
  const FontKey key{font};
  SelectFont(key);
  if (selectedFontKey_ && SameFontFace(*selectedFontKey_, font)) extents_ = &ExtentsOf(font);
}

GdiDevice::TextExtents& GdiDevice::ExtentsOf(const FontData& face) {
  for (TextExtents& extents : extentCaches_)
    if (extents.face && SameFontFace(*extents.face, face)) return extents;
  TextExtents& oldest = extentCaches_[nextExtents_];
  nextExtents_ = (nextExtents_ + 1) % extentCaches_.size();
  oldest.face = face;
  oldest.sizes.clear();
  return oldest;
}

SIZE GdiDevice::Extent(const std::string& text) {
  if (extents_ != nullptr) {
    if (const auto found = extents_->sizes.find(text); found != extents_->sizes.end()) return found->second;
  }
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  if (extents_ != nullptr) {
    if (extents_->sizes.size() >= kExtentsKept) extents_->sizes.clear();
    extents_->sizes.emplace(text, size);
  }
  return size;
}

void GdiDevice::SelectFont(const FontKey& key) {
  const FontData& font = key.face;
  if (HFONT kept = fonts_.Find(key)) {
    selectedFont_ = kept;
    selectedFontKey_ = font;
    SelectObject(dc_, kept);
    return;
  }
  // Negative height asks for the character height, as point sizes mean.
  const int height = -MulDiv(font.size, pixelsPerInch_, 72);
  Font created(CreateFontA(height, 0, 0, 0, (font.styles & fsBold) ? FW_BOLD : FW_NORMAL,
                           (font.styles & fsItalic) ? TRUE : FALSE,
                           (font.styles & fsUnderline) ? TRUE : FALSE,
                           (font.styles & fsStrikeOut) ? TRUE : FALSE, font.charset,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, fontQuality_,
                           DEFAULT_PITCH | FF_DONTCARE, font.name.c_str()));
  if (!created) return;  // out of GDI resources: the old font stays, unmeasured
  ++objectsCreated_;
  selectedFont_ = created.Get();
  selectedFontKey_ = font;
  SelectObject(dc_, created.Get());
  fonts_.Keep(key, std::move(created));
}

void GdiDevice::FrameDone() {
  pens_.KeepOnly(selectedPen_);
  brushes_.KeepOnly(selectedBrush_);
  fonts_.KeepOnly(selectedFont_);
}

// Each mark and legend row sets them again: only changes reach the DC.
void GdiDevice::SetBackMode(TBackMode mode) {
  if (mode == backMode_) return;
  backMode_ = mode;
  SetBkMode(dc_, mode == bmOpaque ? OPAQUE : TRANSPARENT);
}

void GdiDevice::SetBackColor(TColor color) {
  const COLORREF rgb = Rgb(color);
  if (rgb == backColor_) return;
  backColor_ = rgb;
  SetBkColor(dc_, rgb);
}

int GdiDevice::TextWidth(const std::string& text) { return Extent(text).cx; }

int GdiDevice::TextHeight(const std::string& text) { return Extent(text).cy; }

void GdiDevice::TextOut(int x, int y, const std::string& text, TAlignment align) {
  if (clipKind_ == kClipUnknown) clipKind_ = GetClipBox(dc_, &clipBox_);
  if (clipKind_ == NULLREGION) return;
  const bool anchorInside = x >= clipBox_.left && x < clipBox_.right && y >= clipBox_.top && y < clipBox_.bottom;
  if (clipKind_ != ERROR && !anchorInside && TextMissesClip(clipBox_, x, y, Extent(text), align)) return;
  // Marks and legend rows mostly share colour and alignment: set only changes.
  if (const COLORREF color = Rgb(fontData_.color); color != textColor_) {
    SetTextColor(dc_, color);
    textColor_ = color;
  }
  if (const UINT textAlign = TextAlignOf(align); textAlign != textAlign_) {
    SetTextAlign(dc_, textAlign);
    textAlign_ = textAlign;
  }
  ::TextOutA(dc_, x, y, text.c_str(), static_cast<int>(text.size()));
}

void GdiDevice::Line(int x0, int y0, int x1, int y1) {
  MoveToEx(dc_, x0, y0, nullptr);
  LineTo(dc_, x1, y1);
}

void GdiDevice::CopyPoints(const TPoint* points, int count) {
  scratch_.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) scratch_[i] = POINT{points[i].x, points[i].y};
}

void GdiDevice::Polyline(const TPoint* points, int count) {
  if (points == nullptr || count < 2) return;
  CopyPoints(points, count);
  ::Polyline(dc_, scratch_.data(), count);
}

void GdiDevice::Rectangle(const TRect& rect) {
  ::Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

void GdiDevice::FillRect(const TRect& rect) {
  if (hasBrush_ && brushData_.style == bsClear) return;
  const int left = std::min(rect.left, rect.right);
  const int top = std::min(rect.top, rect.bottom);
  const int width = std::abs(rect.Width());
  const int height = std::abs(rect.Height());
  if (width == 0 || height == 0) return;
  if (hasBrush_ && IsHatch(brushData_.style) && backMode_ == bmTransparent) {
    // A blit always paints the hatch gaps; a pen-less rectangle honours the
    // transparent background (and stops a pixel short, hence the + 1).
    SelectionScope noPen(dc_, GetStockObject(NULL_PEN));
    ::Rectangle(dc_, left, top, left + width + 1, top + height + 1);
    return;
  }
  PatBlt(dc_, left, top, width, height, PATCOPY);
}

void GdiDevice::Polygon(const TPoint* points, int count) {
  if (points == nullptr || count < 2) return;
  CopyPoints(points, count);
  ::Polygon(dc_, scratch_.data(), count);
}

void GdiDevice::Ellipse(const TRect& bounds) {
  ::Ellipse(dc_, bounds.left, bounds.top, bounds.right, bounds.bottom);
}

void GdiDevice::Pie(const TRect& bounds, TPoint start, TPoint end) {
  if (bounds.Width() == 0 || bounds.Height() == 0) return;
  const std::vector<POINT> arc =
      SectorArcPoints(ToRect(bounds), POINT{start.x, start.y}, POINT{end.x, end.y}, kSectorStep);
  scratch_.clear();
  // The centre is the rectangle's integer centre, so neighbouring sectors
  // share their corner and their ray points exactly: no gaps between slices.
  scratch_.push_back(POINT{static_cast<LONG>((int64_t{bounds.left} + bounds.right) / 2),
                           static_cast<LONG>((int64_t{bounds.top} + bounds.bottom) / 2)});
  scratch_.insert(scratch_.end(), arc.begin(), arc.end());
  ::Polygon(dc_, scratch_.data(), static_cast<int>(scratch_.size()));
}

void GdiDevice::DrawPicture(const TPicture& picture, const TRect& dest) {
  const auto* drawable = dynamic_cast<const GdiDrawable*>(&picture);
  if (drawable == nullptr) return;
  drawable->DrawTo(dc_, ToRect(dest));
  // A metafile played here may leave other text settings and clipping behind.
  textColor_ = CLR_INVALID;
  textAlign_ = GDI_ERROR;
  backMode_ = GetBkMode(dc_) == OPAQUE ? bmOpaque : bmTransparent;
  backColor_ = GetBkColor(dc_);
  clipKind_ = kClipUnknown;
}

void GdiDevice::SetClipRect(const TRect& rect) {
  SelectClipRgn(dc_, nullptr);
  IntersectClipRect(dc_, rect.left, rect.top, rect.right, rect.bottom);
  clipKind_ = kClipUnknown;
}

void GdiDevice::ClearClip() {
  SelectClipRgn(dc_, nullptr);
  clipKind_ = kClipUnknown;
}

std::unique_ptr<TOffscreenImage> GdiDevice::CreateOffscreen(int width, int height, bool monochrome) {
  return GdiOffscreenImage::Create(width, height, monochrome);
}

TScreenInfo GdiDevice::Screen() const { return ScreenSize(); }

TPixelRows GdiDevice::DirectPixels() {
  if (pixels_.bits == nullptr) return TPixelRows{};
  GdiFlush();  // drawing GDI still holds back must land before ours
  return pixels_;
}

std::optional<std::array<uint8_t, 8>> GdiHatchRows(TBrushStyle style) {
  if (!IsHatch(style)) return std::nullopt;
  static std::array<std::optional<std::array<uint8_t, 8>>, bsDiagCross + 1> read;
  std::optional<std::array<uint8_t, 8>>& rows = read[style];
  if (rows) return rows;
  auto tile = GdiOffscreenImage::Create(8, 8, false);
  Brush hatch(CreateHatchBrush(HatchOf(style), RGB(0, 0, 0)));
  if (!tile || !hatch) return std::nullopt;
  SetBkMode(tile->DC(), OPAQUE);
  SetBkColor(tile->DC(), RGB(255, 255, 255));
  const RECT all{0, 0, 8, 8};
  ::FillRect(tile->DC(), &all, hatch.Get());
  GdiFlush();
  std::array<uint8_t, 8> bits{};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if ((tile->PixelAt(x, y) & 0xFFFFFF) == 0) bits[y] |= static_cast<uint8_t>(1u << x);
  rows = bits;
  return rows;
}

// ---------------------------------------------------------- GdiOffscreenImage

std::unique_ptr<GdiOffscreenImage> GdiOffscreenImage::Create(int width, int height, bool monochrome) {
  if (width <= 0 || height <= 0) return nullptr;
  std::unique_ptr<GdiOffscreenImage> image(new GdiOffscreenImage());
  image->dc_.Reset(CreateCompatibleDC(nullptr));
  if (!image->dc_) return nullptr;

  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
  } info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = -height;  // top-down
  info.header.biPlanes = 1;
  info.header.biBitCount = monochrome ? 1 : 32;
  info.header.biCompression = BI_RGB;
  if (monochrome) {
    info.header.biClrUsed = 2;
    info.colors[1] = RGBQUAD{255, 255, 255, 0};
  }
  void* bits = nullptr;
  image->bitmap_.Reset(CreateDIBSection(image->dc_.Get(), reinterpret_cast<BITMAPINFO*>(&info),
                                        DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!image->bitmap_ || bits == nullptr) return nullptr;

  image->width_ = width;
  image->height_ = height;
  image->monochrome_ = monochrome;
  image->bits_ = static_cast<const unsigned char*>(bits);
  image->stride_ = monochrome ? ((width + 31) / 32) * 4 : width * 4;
  image->bitmapSelection_.emplace(image->dc_.Get(), image->bitmap_.Get());
  if (monochrome) {
    image->device_ = std::make_unique<GdiDevice>(image->dc_.Get());
    image->device_->SetBlackAndWhite(true);
  } else {
    image->device_ = std::make_unique<AaGdiDevice>(
        image->dc_.Get(), TPixelRows{static_cast<uint32_t*>(bits), width, height, width});
  }
  return image;
}

GdiOffscreenImage::~GdiOffscreenImage() {
  device_.reset();
  bitmapSelection_.reset();
}

void GdiOffscreenImage::DrawTo(HDC dc, const RECT& dest) const {
  device_->FinishDrawing();
  // A one-bit source takes the destination's text and background colours
  // for its 0 and 1 bits: make them black and white for the copy.
  COLORREF oldText = 0, oldBack = 0;
  if (monochrome_) {
    oldText = SetTextColor(dc, RGB(0, 0, 0));
    oldBack = SetBkColor(dc, RGB(255, 255, 255));
  }
  const int destWidth = dest.right - dest.left;
  const int destHeight = dest.bottom - dest.top;
  if (destWidth == width_ && destHeight == height_) {
    BitBlt(dc, dest.left, dest.top, width_, height_, dc_.Get(), 0, 0, SRCCOPY);
  } else {
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, dest.left, dest.top, destWidth, destHeight, dc_.Get(), 0, 0, width_, height_,
               SRCCOPY);
    SetStretchBltMode(dc, oldMode);
  }
  if (monochrome_) {
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
  }
}

TColor GdiOffscreenImage::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return clBlack;
  device_->FinishDrawing();
  GdiFlush();
  const unsigned char* row = bits_ + static_cast<size_t>(y) * stride_;
  if (monochrome_) return ((row[x / 8] >> (7 - x % 8)) & 1) ? clWhite : clBlack;
  const unsigned char* p = row + 4 * x;  // blue, green, red, unused
  return RGBColor(p[2], p[1], p[0]);
}

}  // namespace kd::platform
