// The engine's drawing device on a GDI device context, and the off-screen
// image (a 32-bit DIB section, or a 1-bit one for monochrome drawing) with a
// device of its own. Implements pens, solid and hatched brushes, fonts sized
// at the screen's DPI, text, lines, rectangles, polygons, ellipses, elliptic
// sectors (filled as polygons), pictures, clipping and system colours.
// Not here: loading pictures (Pictures), writing files (BitmapFile), windows.
#pragma once

#include "platform/Win32.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/Device.h"
#include "platform/GdiObjects.h"

namespace kd::platform {

// A picture the GDI device knows how to draw; every picture the platform
// makes implements it next to TPicture.
class GdiDrawable {
 public:
  virtual ~GdiDrawable() = default;
  // Draws the whole picture scaled into dest on dc.
  virtual void DrawTo(HDC dc, const RECT& dest) const = 0;
};

// The GDI objects of one kind a device made lately, kept for reuse: a frame
// goes back and forth between a few brushes (a slice's top and its darker
// rim, the marks' boxes, the legend's colour boxes), and making, selecting
// and freeing one costs more than many a drawing call. At most kKept live
// (a palette of 16 colours and their darker sides fit); the one selected
// into the DC is never freed.
template <class Key, class Handle>
class RecentGdiObjects {
 public:
  static constexpr int kKept = 48;

  // The object made for key, or nullptr.
  Handle Find(const Key& key) const {
    for (const Entry& entry : entries_)
      if (entry.object && entry.key == key) return entry.object.Get();
    return nullptr;
  }
  // Keeps a new object, freeing the one kept longest; call once the new one
  // is selected, so that the one freed is not.
  void Keep(const Key& key, OwnedGdiHandle<Handle, DeleteGdiObject> object) {
    Entry& entry = entries_[next_];
    next_ = (next_ + 1) % kKept;
    entry.key = key;
    entry.object = std::move(object);
  }
  // Frees every object but `selected`.
  void KeepOnly(HGDIOBJ selected) {
    for (Entry& entry : entries_)
      if (entry.object.Get() != selected) entry.object.Reset();
  }

 private:
  struct Entry {
    Key key{};
    OwnedGdiHandle<Handle, DeleteGdiObject> object;
  };
  std::array<Entry, kKept> entries_;
  int next_ = 0;
};

// Draws on a DC it does not own (a window's paint DC, a memory DC). The DC's
// state is restored and the device's pens, brushes and fonts are deleted when
// the device goes; between frames it keeps only the selected ones.
class GdiDevice : public TDevice {
 public:
  explicit GdiDevice(HDC dc);
  ~GdiDevice() override;
  GdiDevice(const GdiDevice&) = delete;
  GdiDevice& operator=(const GdiDevice&) = delete;

  HDC DC() const { return dc_; }

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
  // GDI rules: with an invisible pen the fill stops one pixel short of the
  // right and bottom edges.
  void Rectangle(const TRect& rect) override;
  void FillRect(const TRect& rect) override;
  void Polygon(const TPoint* points, int count) override;
  void Ellipse(const TRect& bounds) override;
  void Pie(const TRect& bounds, TPoint start, TPoint end) override;

  void DrawPicture(const TPicture& picture, const TRect& dest) override;

  void SetClipRect(const TRect& rect) override;
  void ClearClip() override;

  std::unique_ptr<TOffscreenImage> CreateOffscreen(int width, int height, bool monochrome) override;
  // Frees the pens, brushes and fonts kept for reuse but the selected ones.
  void FrameDone() override;

  TColor ResolveColor(TColor color) const override;
  // Read from the screen once per process.
  TScreenInfo Screen() const override;
  // The pixel memory set below, after GdiFlush; empty when none was set.
  TPixelRows DirectPixels() override;
  // The 32-bit pixels of the bitmap selected into the DC, for direct writing.
  void SetPixelMemory(const TPixelRows& pixels) { pixels_ = pixels; }

  // Fonts are sized from points at this many pixels per inch.
  int PixelsPerInch() const { return pixelsPerInch_; }
  // Draws every colour as black or white, whichever is nearer (one-bit images).
  void SetBlackAndWhite(bool on) { blackAndWhite_ = on; }
  // Pens are made no wider than this, whatever width they carry.
  int WidestPen() const;
  // Pens, brushes and fonts created so far (tests prove the reuse rules).
  long ObjectsCreated() const { return objectsCreated_; }
  // Font quality of the fonts made from now on (DEFAULT_QUALITY until set).
  void SetFontQuality(BYTE quality) { fontQuality_ = quality; }
  // Makes everything drawn so far reach the target's pixels.
  virtual void FinishDrawing() {}

 protected:
  COLORREF Rgb(TColor color) const;
  // The drawing state as last set; a fresh DC's black pen and white brush before.
  const TChartPen& CurrentPen() const { return penData_; }
  const TChartBrush& CurrentBrush() const { return brushData_; }
  TBackMode CurrentBackMode() const { return backMode_; }
  COLORREF CurrentBackColor() const { return backColor_; }
  // The pixel memory without flushing GDI; empty when none was set.
  const TPixelRows& PixelMemory() const { return pixels_; }
  // Pens and brushes reach the DC only when RealiseShapeObjects asks: for a
  // device that draws most shapes itself, selecting them costs more than
  // its frame's own drawing.
  void DeferShapeObjects() { deferShapeObjects_ = true; }
  void RealiseShapeObjects();

 private:
  void CopyPoints(const TPoint* points, int count);
  // The pen or brush set last into the DC, made or found among those kept.
  void SelectPen();
  void SelectBrush();

  HDC dc_;
  int pixelsPerInch_;
  mutable int widestPen_ = 0;  // wider pens draw the same pixels, only slower; 0 until asked
  long objectsCreated_ = 0;

  // What tells GDI objects apart: resolved colour and the rest of the data.
  struct PenKey {
    COLORREF color = 0;
    int width = 0;
    TPenStyle style = psSolid;
    bool smallDots = false;
    bool operator==(const PenKey& o) const {
      return color == o.color && width == o.width && style == o.style && smallDots == o.smallDots;
    }
  };
  struct BrushKey {
    COLORREF color = 0;
    TBrushStyle style = bsSolid;
    bool operator==(const BrushKey& o) const { return color == o.color && style == o.style; }
  };
  struct FontKey {
    FontData face;  // colour left at its default: text colour is set per text
    bool operator==(const FontKey& o) const;
  };

  // Text sizes measured in a font: marks and legend rows are measured anew
  // every frame, in a few fonts. Kept for the fonts used last, up to
  // kExtentsKept texts each.
  struct TextExtents {
    std::optional<FontData> face;
    std::unordered_map<std::string, SIZE> sizes;
  };
  static constexpr size_t kExtentsKept = 16384;
  TextExtents& ExtentsOf(const FontData& face);
  SIZE Extent(const std::string& text);
  void SelectFont(const FontKey& key);
  std::array<TextExtents, 4> extentCaches_;
  size_t nextExtents_ = 0;
  TextExtents* extents_ = nullptr;        // of the selected font; none when unknown
  std::optional<FontData> selectedFontKey_;  // the face of the font selected by us

  // Declared before the saved state: the state is restored (our objects
  // deselected) before they are deleted.
  RecentGdiObjects<PenKey, HPEN> pens_;
  RecentGdiObjects<BrushKey, HBRUSH> brushes_;
  RecentGdiObjects<FontKey, HFONT> fonts_;
  HGDIOBJ selectedPen_ = nullptr;
  HGDIOBJ selectedBrush_ = nullptr;
  HGDIOBJ selectedFont_ = nullptr;
  SavedDCState savedState_;

  TChartPen penData_;
  TChartBrush brushData_;
  FontData fontData_;
  bool hasPen_ = false;
  bool hasBrush_ = false;
  bool hasFont_ = false;
  TBackMode backMode_ = bmTransparent;  // as on the DC
  COLORREF backColor_ = 0;              // as on the DC
  // Text colour and alignment last set on the DC; CLR_INVALID: not known.
  COLORREF textColor_ = CLR_INVALID;
  UINT textAlign_ = GDI_ERROR;
  // The DC's clip box and GetClipBox's kind of it, read at the first text
  // after a clip change.
  static constexpr int kClipUnknown = -1;
  int clipKind_ = kClipUnknown;
  RECT clipBox_{};
  bool blackAndWhite_ = false;
  bool deferShapeObjects_ = false;
  bool penPending_ = false, brushPending_ = false;  // set but not selected yet
  BYTE fontQuality_ = DEFAULT_QUALITY;
  TPixelRows pixels_;
  std::vector<POINT> scratch_;
};

// The rows of GDI's own hatch of a hatched style (bit x of row y set where
// its lines cover pixel (x, y) of every 8 x 8 tile), read once from an image
// GDI hatched; nullopt for solid and clear, or when GDI could not make one.
std::optional<std::array<uint8_t, 8>> GdiHatchRows(TBrushStyle style);

// An off-screen image: a DIB section selected into a memory DC, drawn on by
// its own GdiDevice. Top-down rows; 32 bits per pixel, or 1 bit (black and
// white) when monochrome, so GDI reduces every colour drawn into it.
class GdiOffscreenImage : public TOffscreenImage, public GdiDrawable {
 public:
  // nullptr when the size is not positive or GDI cannot make the bitmap.
  static std::unique_ptr<GdiOffscreenImage> Create(int width, int height, bool monochrome);
  ~GdiOffscreenImage() override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  TDevice& Device() override { return *device_; }
  GdiDevice& Gdi() { return *device_; }
  // An image in colour draws its shapes anti-aliased; a monochrome one, crisp.
  void DrawTo(HDC dc, const RECT& dest) const override;

  bool Monochrome() const { return monochrome_; }
  HDC DC() const { return dc_.Get(); }
  HBITMAP Handle() const { return bitmap_.Get(); }
  // RGB colour of one pixel (after all drawing so far has landed).
  TColor PixelAt(int x, int y) const;
  // Raw top-down rows for bulk reading, once the device's own drawing has
  // landed; call GdiFlush() first.
  const unsigned char* Bits() const {
    device_->FinishDrawing();
    return bits_;
  }
  int Stride() const { return stride_; }

 private:
  GdiOffscreenImage() = default;

  int width_ = 0;
  int height_ = 0;
  bool monochrome_ = false;
  const unsigned char* bits_ = nullptr;
  int stride_ = 0;
  MemoryDC dc_;
  Bitmap bitmap_;
  std::optional<SelectionScope> bitmapSelection_;  // puts the DC's own bitmap back before the DC goes
  std::unique_ptr<GdiDevice> device_;
};

// Arc points of the elliptic sector of the ellipse inscribed in bounds, from
// the ray through start counter-clockwise to the ray through end, at most
// maxStep pixels apart, first and last point exactly on the rays; the centre
// is not included. Equal rays give the whole ellipse.
std::vector<POINT> SectorArcPoints(const RECT& bounds, POINT start, POINT end, double maxStep);

}  // namespace kd::platform
