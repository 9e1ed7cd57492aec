// Implements the picture checks and the JPEG limits. The metafile walks know the layout of every
// record kind that carries a count, an offset, a size or an object index, and
// refuse kinds they do not know: playback trusts those fields. Records made
// only of fixed numbers (coordinates, colours, modes) need only their size.
// Not here: what a record costs under the transform in force when it is
// played (the platform layer bounds that while playing).
#include "formats/PictureChecks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <string>

namespace kd {
namespace {

[[noreturn]] void RefuseBitmap() { throw PictureError("Bitmap image is not valid"); }
[[noreturn]] void RefuseIcon() { throw PictureError("Icon image is not valid"); }
[[noreturn]] void RefuseMetafile() { throw PictureError("Metafile is not valid"); }

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int32_t I32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }
int16_t I16(const uint8_t* p) { return static_cast<int16_t>(U16(p)); }
uint32_t U32BE(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | p[3];
}
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// True when [offset, offset + length) lies inside [0, size); no overflow.
bool Inside(uint64_t offset, uint64_t length, uint64_t size) {
  return offset <= size && length <= size - offset;
}

bool KnownHeaderSize(size_t size) {
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool KnownBitCount(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool CompressionFits(uint32_t c, int bits) {
  return c == kDibRgb || (c == kDibBitfields && (bits == 16 || bits == 32)) ||
         (c == kDibRle8 && bits == 8) || (c == kDibRle4 && bits == 4);
}

// Colour profiles named or embedded in a V4/V5 header are refused: the
// system would look for them on disk or in the file.
bool NamesAProfile(const uint8_t* info, size_t headerSize) {
  if (headerSize < 108) return false;
  const uint32_t csType = U32(info + 56);
  return csType == 0x4C494E4Bu || csType == 0x4D424544u;  // 'LINK', 'MBED'
}

}  // namespace

uint64_t DibLayout::BitsSize(int64_t rows) const {
  if (compression == kDibRle8 || compression == kDibRle4) return imageSize;
  const uint64_t all = static_cast<uint64_t>(height < 0 ? -static_cast<int64_t>(height) : height);
  const uint64_t used = rows < 0 ? all : std::min<uint64_t>(all, static_cast<uint64_t>(rows));
  const uint64_t stride = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
  return stride * used;
}

DibLayout ReadDibHeader(const uint8_t* info, size_t available, bool paletteIndices,
                        uint64_t maxPixels, size_t coreEntries) {
  if (available < 12) RefuseBitmap();
  DibLayout dib;
  dib.headerSize = U32(info);
  if (!KnownHeaderSize(dib.headerSize) || dib.headerSize > available) RefuseBitmap();
  const bool core = dib.headerSize == 12;
  int planes;
  uint32_t used = 0;
  if (core) {
    dib.width = U16(info + 4);
    dib.height = U16(info + 6);
    planes = U16(info + 8);
    dib.bitCount = U16(info + 10);
  } else {
    dib.width = I32(info + 4);
    dib.height = I32(info + 8);
    planes = U16(info + 12);
    dib.bitCount = U16(info + 14);
    dib.compression = U32(info + 16);
    dib.imageSize = U32(info + 20);
    used = U32(info + 32);
  }
  if (planes != 1 || dib.width <= 0 || dib.height == 0 || dib.height == INT32_MIN) RefuseBitmap();
  if (!KnownBitCount(dib.bitCount) || !CompressionFits(dib.compression, dib.bitCount)) RefuseBitmap();
  const uint64_t rows = static_cast<uint64_t>(std::abs(static_cast<int64_t>(dib.height)));
  if (static_cast<uint64_t>(dib.width) * rows > maxPixels) RefuseBitmap();
  const bool rle = dib.compression == kDibRle8 || dib.compression == kDibRle4;
  if (rle && (dib.height < 0 || dib.imageSize == 0)) RefuseBitmap();
  if (NamesAProfile(info, dib.headerSize)) RefuseBitmap();
  if (dib.compression == kDibBitfields && dib.headerSize == 40) dib.masksSize = 12;

  dib.entrySize = paletteIndices ? 2 : core ? 3 : 4;
  if (dib.bitCount <= 8) {
    const size_t full = size_t{1} << dib.bitCount;
    if (used > full) RefuseBitmap();
    dib.colorCount = core ? std::max<size_t>(1, std::min(full, coreEntries)) : used != 0 ? used : full;
  } else {
    if (used > 256) RefuseBitmap();  // the system reads at most 256 entries of a table it ignores
    dib.colorCount = used;
  }
  if (dib.TableEnd() > available) RefuseBitmap();
  return dib;
}

// ---------------------------------------------------------------- jpeg

bool JpegSizeAllowed(uint64_t width, uint64_t height) {
  return width != 0 && height != 0 && width * height <= kMaxPicturePixels;
}

bool JpegScanAllowed(int scan, uint64_t pixels) {
  return scan <= kMaxJpegScans && static_cast<uint64_t>(scan) * pixels <= kMaxJpegScanPixels;
}

// ---------------------------------------------------------------- bmp, ico

BmpLayout CheckBmpFile(const uint8_t* data, size_t size) {
  if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') RefuseBitmap();
  BmpLayout layout;
  layout.bitsOffset = U32(data + 10);
  // The old core header has no count: a full table, or what fits before the pixels.
  const size_t room = layout.bitsOffset > 14 + 12 ? (layout.bitsOffset - 14 - 12) / 3 : 0;
  layout.dib = ReadDibHeader(data + 14, size - 14, false, kMaxPicturePixels, room);
  if (layout.bitsOffset < 14 + layout.dib.TableEnd()) RefuseBitmap();
  if (!Inside(layout.bitsOffset, layout.dib.BitsSize(), size)) RefuseBitmap();
  return layout;
}

namespace {

// A PNG icon image: signature and a header chunk of sane dimensions; the
// system's decoder does the rest.
bool CheckedPngIcon(const uint8_t* image, size_t bytes) {
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes < 8 || std::memcmp(image, kPng, 8) != 0) return false;
  if (bytes < 8 + 8 + 13 + 4 || U32BE(image + 8) != 13 || std::memcmp(image + 12, "IHDR", 4) != 0) {
    RefuseIcon();
  }
  const uint32_t width = U32BE(image + 16), height = U32BE(image + 20);
  if (width == 0 || height == 0 || width > 1024 || height > 1024) RefuseIcon();
  return true;
}

// The bitmap form of an icon image holds its header, palette, colour rows and
// mask rows (the stored height counts both).
void CheckBitmapIcon(const uint8_t* image, size_t bytes) {
  if (bytes < 40 || U32(image) != 40) RefuseIcon();
  DibLayout dib;
  try {
    dib = ReadDibHeader(image, bytes, false, 1024ull * 2048);
  } catch (const PictureError&) {
    RefuseIcon();
  }
  if (dib.height <= 0 || dib.width > 1024 || dib.height > 2048 || dib.compression != kDibRgb) RefuseIcon();
  const uint64_t rows = static_cast<uint64_t>(dib.height) / 2;
  const uint64_t colorStride = (static_cast<uint64_t>(dib.width) * dib.bitCount + 31) / 32 * 4;
  const uint64_t maskStride = (static_cast<uint64_t>(dib.width) + 31) / 32 * 4;
  if (!Inside(dib.TableEnd(), (colorStride + maskStride) * rows, bytes)) RefuseIcon();
}

}  // namespace

IconLayout CheckIcoFile(const uint8_t* data, size_t size) {
  if (size < 6 + 16 || U16(data) != 0 || U16(data + 2) != 1) RefuseIcon();
  const size_t count = U16(data + 4);
  if (count == 0 || 6 + 16 * count > size) RefuseIcon();
  const uint8_t* entry = data + 6;
  IconLayout icon;
  icon.width = entry[0] == 0 ? 256 : entry[0];
  icon.height = entry[1] == 0 ? 256 : entry[1];
  icon.bytes = U32(entry + 8);
  icon.offset = U32(entry + 12);
  if (icon.bytes == 0 || !Inside(icon.offset, icon.bytes, size)) RefuseIcon();
  icon.png = CheckedPngIcon(data + icon.offset, icon.bytes);
  if (!icon.png) CheckBitmapIcon(data + icon.offset, icon.bytes);
  return icon;
}

// ------------------------------------------------------------ object tables

namespace {

// What each slot of a metafile's object table holds while the records play.
enum class ObjectKind : uint8_t { kFree, kPen, kBrush, kFont, kPalette, kRegion, kColorSpace, kAny };

class ObjectTable {
 public:
  explicit ObjectTable(size_t size) : slots_(size, ObjectKind::kFree) {}

  void Create(size_t index, ObjectKind kind) {
    if (index == 0 && emfStyle_) RefuseMetafile();  // slot 0 stands for the metafile itself
    if (index >= slots_.size() || slots_[index] != ObjectKind::kFree) RefuseMetafile();
    Fill(index, kind);
  }
  // Windows metafiles put each new object into the lowest free slot.
  void CreateInFreeSlot(ObjectKind kind) {
    const size_t lowest = freed_.empty() ? neverUsed_ : std::min(*freed_.begin(), neverUsed_);
    if (lowest >= slots_.size()) RefuseMetafile();
    Fill(lowest, kind);
  }
  void InRange(size_t index) const {
    if (index >= slots_.size() || (index == 0 && emfStyle_)) RefuseMetafile();
  }
  void Use(size_t index, ObjectKind kind) const {
    if (index >= slots_.size() || slots_[index] == ObjectKind::kFree) RefuseMetafile();
    if (kind != ObjectKind::kAny && slots_[index] != kind) RefuseMetafile();
  }
  // Deleting an empty slot deletes no handle: some writers do it, and it is harmless.
  void Delete(size_t index) {
    InRange(index);
    slots_[index] = ObjectKind::kFree;
    if (index < neverUsed_) freed_.insert(index);
  }
  void SetEmfStyle() { emfStyle_ = true; }

 private:
  void Fill(size_t index, ObjectKind kind) {
    slots_[index] = kind;
    freed_.erase(index);
    // Slots from neverUsed_ on are all free; those below it that are free are in freed_.
    while (neverUsed_ < slots_.size() && slots_[neverUsed_] != ObjectKind::kFree) ++neverUsed_;
  }

  std::vector<ObjectKind> slots_;
  std::set<size_t> freed_;  // kept so that finding the lowest free slot stays cheap
  size_t neverUsed_ = 0;
  bool emfStyle_ = false;
};

// Save levels: deep nesting costs a copy of the drawing state per level.
class SaveLevels {
 public:
  void Save() {
    if (++depth_ > kMaxDepth) RefuseMetafile();
  }
  // `level` negative: that many levels back; positive: that absolute level.
  void Restore(int64_t level, bool absoluteAllowed) {
    if (level < 0 && -level <= depth_) {
      depth_ += level;
    } else if (absoluteAllowed && level > 0 && level <= depth_) {
      depth_ = level - 1;
    } else {
      RefuseMetafile();
    }
  }

 private:
  static constexpr int64_t kMaxDepth = 4096;
  int64_t depth_ = 0;
};

// Brush styles a record may give by value: solid, hollow, hatched. The
// pattern styles carry a handle or a pointer no file can hold.
void CheckBrushStyle(uint32_t style, uint32_t hatch) {
  if (style > 2 || (style == 2 && hatch > 5)) RefuseMetafile();
}

DibLayout ReadRecordDibHeader(const uint8_t* info, uint64_t infoBytes, bool paletteIndices) {
  try {
    return ReadDibHeader(info, static_cast<size_t>(infoBytes), paletteIndices, kMaxMetafileBitmapPixels);
  } catch (const PictureError&) {
    RefuseMetafile();
  }
}

// A DIB inside a record: header and table in [info, info + infoBytes),
// `rows` rows of pixels in [bits, bits + bitsBytes).
DibLayout CheckRecordDib(const uint8_t* info, uint64_t infoBytes, uint64_t bitsBytes, bool paletteIndices,
                         int64_t rows) {
  const DibLayout dib = ReadRecordDibHeader(info, infoBytes, paletteIndices);
  if (dib.BitsSize(rows) > bitsBytes) RefuseMetafile();
  return dib;
}

}  // namespace

// ---------------------------------------------------------------- wmf

namespace {

// Windows metafile record functions.
enum WmfFunction : uint16_t {
  kWmfEof = 0x0000, kWmfSaveDc = 0x001E, kWmfRealizePalette = 0x0035, kWmfSetPalEntries = 0x0037,
  kWmfCreatePalette = 0x00F7, kWmfSetBkMode = 0x0102, kWmfSetMapMode = 0x0103, kWmfSetRop2 = 0x0104,
  kWmfSetRelAbs = 0x0105, kWmfSetPolyFillMode = 0x0106, kWmfSetStretchBltMode = 0x0107,
  kWmfSetTextCharExtra = 0x0108, kWmfRestoreDc = 0x0127, kWmfInvertRegion = 0x012A,
  kWmfPaintRegion = 0x012B, kWmfSelectClipRegion = 0x012C, kWmfSelectObject = 0x012D,
  kWmfSetTextAlign = 0x012E, kWmfResizePalette = 0x0139, kWmfDibCreatePatternBrush = 0x0142,
  kWmfSetLayout = 0x0149, kWmfDeleteObject = 0x01F0, kWmfSetBkColor = 0x0201,
  kWmfSetTextColor = 0x0209, kWmfSetTextJustification = 0x020A, kWmfSetWindowOrg = 0x020B,
  kWmfSetWindowExt = 0x020C, kWmfSetViewportOrg = 0x020D, kWmfSetViewportExt = 0x020E,
  kWmfOffsetWindowOrg = 0x020F, kWmfOffsetViewportOrg = 0x0211, kWmfLineTo = 0x0213,
  kWmfMoveTo = 0x0214, kWmfOffsetClipRgn = 0x0220, kWmfFillRegion = 0x0228,
  kWmfSetMapperFlags = 0x0231, kWmfSelectPalette = 0x0234, kWmfCreatePenIndirect = 0x02FA,
  kWmfCreateFontIndirect = 0x02FB, kWmfCreateBrushIndirect = 0x02FC, kWmfPolygon = 0x0324,
  kWmfPolyline = 0x0325, kWmfScaleWindowExt = 0x0410, kWmfScaleViewportExt = 0x0412,
  kWmfExcludeClipRect = 0x0415, kWmfIntersectClipRect = 0x0416, kWmfEllipse = 0x0418,
  kWmfFloodFill = 0x0419, kWmfRectangle = 0x041B, kWmfSetPixel = 0x041F, kWmfFrameRegion = 0x0429,
  kWmfAnimatePalette = 0x0436, kWmfTextOut = 0x0521, kWmfPolyPolygon = 0x0538,
  kWmfExtFloodFill = 0x0548, kWmfRoundRect = 0x061C, kWmfPatBlt = 0x061D, kWmfEscape = 0x0626,
  kWmfCreateRegion = 0x06FF, kWmfArc = 0x0817, kWmfPie = 0x081A, kWmfChord = 0x0830,
  kWmfDibBitBlt = 0x0940, kWmfExtTextOut = 0x0A32, kWmfDibStretchBlt = 0x0B41,
  kWmfSetDibToDev = 0x0D33, kWmfStretchDib = 0x0F43,
};

// Records made of fixed numbers only, with the parameter words they need.
struct WmfFixedRecord {
  uint16_t function;
  uint16_t words;
};
constexpr WmfFixedRecord kWmfFixedRecords[] = {
    {kWmfRealizePalette, 0}, {kWmfSetBkMode, 1}, {kWmfSetMapMode, 1}, {kWmfSetRop2, 1},
    {kWmfSetRelAbs, 1}, {kWmfSetPolyFillMode, 1}, {kWmfSetStretchBltMode, 1},
    {kWmfSetTextCharExtra, 1}, {kWmfSetTextAlign, 1}, {kWmfSetLayout, 2}, {kWmfSetBkColor, 2},
    {kWmfSetTextColor, 2}, {kWmfSetTextJustification, 2}, {kWmfSetWindowOrg, 2},
    {kWmfSetWindowExt, 2}, {kWmfSetViewportOrg, 2}, {kWmfSetViewportExt, 2},
    {kWmfOffsetWindowOrg, 2}, {kWmfOffsetViewportOrg, 2}, {kWmfLineTo, 2}, {kWmfMoveTo, 2},
    {kWmfOffsetClipRgn, 2}, {kWmfSetMapperFlags, 2}, {kWmfScaleWindowExt, 4},
    {kWmfScaleViewportExt, 4}, {kWmfExcludeClipRect, 4}, {kWmfIntersectClipRect, 4},
    {kWmfEllipse, 4}, {kWmfFloodFill, 4}, {kWmfRectangle, 4}, {kWmfSetPixel, 4},
    {kWmfExtFloodFill, 5}, {kWmfRoundRect, 6}, {kWmfPatBlt, 6}, {kWmfArc, 8}, {kWmfPie, 8},
    {kWmfChord, 8},
};

// What a record's DIB needs in the copy: the colour count set in the header
// at `header` (none when `colors` is 0), and a table of `entryBytes` entries
// put in at `tableAt` when the record has none (none when 0).
struct DibFix {
  size_t header = 0;
  size_t colors = 0;
  size_t tableAt = 0;
  size_t entryBytes = 0;
};

// The copy of one record, fixed as `fix` says. A missing table becomes grey
// steps (or palette indices in order): the record kept no colours.
void AppendRecord(std::vector<uint8_t>& out, const uint8_t* record, size_t bytes, const DibFix& fix) {
  const size_t start = out.size();
  out.insert(out.end(), record, record + bytes);
  if (fix.colors == 0) return;
  Put32(out.data() + start + fix.header + 32, static_cast<uint32_t>(fix.colors));
  if (fix.entryBytes == 0) return;
  std::vector<uint8_t> table(fix.colors * fix.entryBytes, 0);
  for (size_t i = 0; i < fix.colors; ++i) {
    uint8_t* e = table.data() + i * fix.entryBytes;
    const auto level = static_cast<uint8_t>(fix.colors > 1 ? i * 255 / (fix.colors - 1) : 0);
    if (fix.entryBytes == 2) e[0] = static_cast<uint8_t>(i), e[1] = static_cast<uint8_t>(i >> 8);
    else e[0] = e[1] = e[2] = level;
  }
  out.insert(out.begin() + static_cast<std::ptrdiff_t>(start + fix.tableAt), table.begin(), table.end());
  Put32(out.data() + start, static_cast<uint32_t>((out.size() - start) / 2));
}

class WmfWalk {
 public:
  // `fix` says what the record's copy needs for the system to play it.
  WmfWalk(const uint8_t* record, size_t bytes, ObjectTable& objects, SaveLevels& levels, DibFix& fix)
      : r_(record), size_(bytes), objects_(objects), levels_(levels), fix_(fix) {}

  void Check() {
    const uint16_t function = U16(r_ + 4);
    for (const WmfFixedRecord& fixed : kWmfFixedRecords) {
      if (fixed.function == function) return Need(6 + 2u * fixed.words);
    }
    switch (function) {
      case kWmfSaveDc: return levels_.Save();
      case kWmfRestoreDc: return Need(8), levels_.Restore(I16(r_ + 6), true);
      case kWmfSelectObject: return Need(8), objects_.Use(Param(0), ObjectKind::kAny);
      case kWmfDeleteObject: return Need(8), objects_.Delete(Param(0));
      case kWmfSelectPalette: return Need(8), objects_.Use(Param(0), ObjectKind::kPalette);
      case kWmfSelectClipRegion:
      case kWmfInvertRegion:
      case kWmfPaintRegion: return Need(8), objects_.Use(Param(0), ObjectKind::kRegion);
      case kWmfFillRegion: return Need(10), UseTwo(0);
      case kWmfFrameRegion: return Need(14), UseTwo(2);
      case kWmfCreatePenIndirect: return Need(16), objects_.CreateInFreeSlot(ObjectKind::kPen);
      case kWmfCreateBrushIndirect:
        Need(14);
        CheckBrushStyle(Param(0), Param(3));
        return objects_.CreateInFreeSlot(ObjectKind::kBrush);
      case kWmfCreateFontIndirect: return CreateFont();
      case kWmfCreatePalette: return CreatePalette();
      case kWmfDibCreatePatternBrush: return CreatePatternBrush();
      case kWmfCreateRegion: return CreateRegion();
      case kWmfSetPalEntries:
      case kWmfAnimatePalette: return PaletteEntries();
      case kWmfResizePalette:
        Need(8);
        if (Param(0) > kMaxPaletteEntries) RefuseMetafile();
        return;
      case kWmfPolygon:
      case kWmfPolyline: return Need(8), Need(8 + 4ull * Param(0));
      case kWmfPolyPolygon: return PolyPolygon();
      case kWmfTextOut: return Need(8), Need(8 + (Param(0) + 1ull) / 2 * 2 + 4);
      case kWmfExtTextOut: return ExtTextOut();
      case kWmfEscape: return Need(10), Need(10ull + Param(1));
      case kWmfDibBitBlt: return Blit(12, 22);
      case kWmfDibStretchBlt: return Blit(14, 26);
      case kWmfStretchDib: return Need(28), Dib(28, Param(2), -1);
      case kWmfSetDibToDev: return Need(24), Dib(24, Param(0), Param(1));
      default: RefuseMetafile();  // unknown, or an old bitmap record playback reads blindly
    }
  }

 private:
  uint16_t Param(size_t i) const { return U16(r_ + 6 + 2 * i); }
  void Need(uint64_t bytes) const {
    if (bytes > size_) RefuseMetafile();
  }
  // A brush and a region (parameters come in reverse order of the call's arguments).
  void UseTwo(size_t first) const {
    objects_.Use(Param(first), ObjectKind::kBrush);
    objects_.Use(Param(first + 1), ObjectKind::kRegion);
  }

  // A LOGFONT16 with a face name the system copies up to its NUL.
  void CreateFont() {
    Need(6 + 18);
    if (size_ < 6 + 18 + 32 && std::memchr(r_ + 24, 0, size_ - 24) == nullptr) RefuseMetafile();
    objects_.CreateInFreeSlot(ObjectKind::kFont);
  }
  void CreatePalette() {
    Need(10);
    if (Param(1) > kMaxPaletteEntries) RefuseMetafile();
    Need(10 + 4ull * Param(1));
    objects_.CreateInFreeSlot(ObjectKind::kPalette);
  }
  void PaletteEntries() const {
    Need(10);
    if (uint32_t{Param(0)} + Param(1) > kMaxPaletteEntries) RefuseMetafile();
    Need(10 + 4ull * Param(1));
  }
  void CreatePatternBrush() {
    Need(10);
    if (Param(1) > 1) RefuseMetafile();
    Dib(10, Param(1), -1);
    objects_.CreateInFreeSlot(ObjectKind::kBrush);
  }
  // Scans of (count, top, bottom, count/2 pairs, count) words.
  void CreateRegion() {
    Need(28);
    size_t pos = 28;
    for (uint32_t scan = 0; scan < Param(5); ++scan) {
      Need(pos + 2);
      const uint16_t count = U16(r_ + pos);
      if (count % 2 != 0) RefuseMetafile();
      pos += 2 * (3 + size_t{count} + 1);
      Need(pos);
    }
    objects_.CreateInFreeSlot(ObjectKind::kRegion);
  }
  void PolyPolygon() const {
    Need(8);
    const size_t polygons = Param(0);
    Need(8 + 2 * polygons);
    uint64_t points = 0;
    for (size_t i = 0; i < polygons; ++i) points += Param(1 + i);
    Need(8 + 2 * polygons + 4 * points);
  }
  void ExtTextOut() const {
    Need(14);
    const bool rect = (Param(3) & 0x0006) != 0;  // ETO_OPAQUE, ETO_CLIPPED
    Need(14 + (rect ? 8 : 0) + uint64_t{Param(2)});
  }
  // The DIB blits: `plainWords` words without a bitmap, else a DIB at `dibAt`.
  void Blit(size_t plainWords, size_t dibAt) const {
    if (size_ == 2 * plainWords) return;
    Need(dibAt);
    Dib(dibAt, 0, -1);
  }
  // A DIB at `at` whose bits follow its table. Recorders write the table
  // sized by the usage (palette indices are words), and Wine's writes none
  // when the header counts no colours. The system's own conversion faults on
  // a header of up to 8 bits that counts no colours, and could read a
  // missing table from the bits: the copy gets the count, and the table.
  void Dib(size_t at, uint16_t usage, int64_t rows) const {
    if (usage > 1) RefuseMetafile();
    Need(at + 12);
    const uint64_t held = size_ - at;
    if (U32(r_ + at) > held) RefuseMetafile();
    constexpr size_t kWidestTable = 256 * 4;
    const DibLayout dib = ReadRecordDibHeader(r_ + at, held + kWidestTable, false);
    const uint64_t bits = dib.BitsSize(rows);
    const uint64_t beforeTable = dib.headerSize + dib.masksSize;
    const size_t entry = usage == 1 ? 2 : dib.entrySize;
    const bool noCount = dib.headerSize >= 40 && dib.bitCount <= 8 && U32(r_ + at + 32) == 0;
    if (beforeTable + dib.colorCount * entry + bits <= held) {
      if (noCount) fix_ = {at, dib.colorCount, 0, 0};
    } else if (noCount && beforeTable + bits <= held) {
      fix_ = {at, dib.colorCount, static_cast<size_t>(at + beforeTable), entry};
    } else {
      RefuseMetafile();
    }
  }

  const uint8_t* r_;
  size_t size_;
  ObjectTable& objects_;
  SaveLevels& levels_;
  DibFix& fix_;
};

}  // namespace

WmfLayout CheckWmfFile(const uint8_t* data, size_t size) {
  constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;
  constexpr size_t kPlaceableSize = 22;
  WmfLayout layout;
  if (size >= 4 && U32(data) == kPlaceableKey) {
    if (size < kPlaceableSize) RefuseMetafile();
    uint16_t checksum = 0;
    for (int i = 0; i < 10; ++i) checksum ^= U16(data + 2 * i);
    if (checksum != U16(data + 20)) RefuseMetafile();
    layout.placeable = true;
    layout.left = I16(data + 6);
    layout.top = I16(data + 8);
    layout.right = I16(data + 10);
    layout.bottom = I16(data + 12);
    layout.unitsPerInch = U16(data + 14);
    if (layout.unitsPerInch == 0 || layout.left == layout.right || layout.top == layout.bottom) {
      RefuseMetafile();
    }
    data += kPlaceableSize;
    size -= kPlaceableSize;
  }
  if (size < 18) RefuseMetafile();
  const uint16_t type = U16(data), headerWords = U16(data + 2), version = U16(data + 4);
  if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x100 && version != 0x300)) {
    RefuseMetafile();
  }
  // The header's own size may disagree (some writers count a placeable
  // header too): the walk of the records decides where the metafile ends.
  ObjectTable objects(U16(data + 10));
  SaveLevels levels;
  // Tables put into the copy may make it this much larger than the file.
  constexpr size_t kMaxAddedBytes = size_t{32} << 20;
  std::vector<uint8_t>& out = layout.metafile;
  out.reserve(size);
  out.assign(data, data + 18);
  size_t pos = 18;
  uint64_t largest = 9;
  for (;;) {
    if (!Inside(pos, 6, size)) RefuseMetafile();
    const uint64_t recordBytes = 2ull * U32(data + pos);
    if (recordBytes < 6 || !Inside(pos, recordBytes, size)) RefuseMetafile();
    DibFix fix;
    const bool end = U16(data + pos + 4) == kWmfEof;
    if (!end) WmfWalk(data + pos, static_cast<size_t>(recordBytes), objects, levels, fix).Check();
    const size_t start = out.size();
    AppendRecord(out, data + pos, static_cast<size_t>(recordBytes), fix);
    largest = std::max<uint64_t>(largest, (out.size() - start) / 2);
    if (out.size() > pos + recordBytes + kMaxAddedBytes) RefuseMetafile();
    pos += static_cast<size_t>(recordBytes);
    if (end) break;
  }
  Put32(out.data() + 6, static_cast<uint32_t>(out.size() / 2));
  Put32(out.data() + 12, static_cast<uint32_t>(largest));
  return layout;
}

// ---------------------------------------------------------------- emf

namespace {

// Enhanced metafile record types.
enum EmfType : uint32_t {
  kEmfHeader = 1, kEmfPolyBezier = 2, kEmfPolygon = 3, kEmfPolyline = 4, kEmfPolyBezierTo = 5,
  kEmfPolylineTo = 6, kEmfPolyPolyline = 7, kEmfPolyPolygon = 8, kEmfSetWindowExtEx = 9,
  kEmfSetWindowOrgEx = 10, kEmfSetViewportExtEx = 11, kEmfSetViewportOrgEx = 12,
  kEmfSetBrushOrgEx = 13, kEmfEof = 14, kEmfSetPixelV = 15, kEmfSetMapperFlags = 16,
  kEmfSetMapMode = 17, kEmfSetBkMode = 18, kEmfSetPolyFillMode = 19, kEmfSetRop2 = 20,
  kEmfSetStretchBltMode = 21, kEmfSetTextAlign = 22, kEmfSetColorAdjustment = 23,
  kEmfSetTextColor = 24, kEmfSetBkColor = 25, kEmfOffsetClipRgn = 26, kEmfMoveToEx = 27,
  kEmfSetMetaRgn = 28, kEmfExcludeClipRect = 29, kEmfIntersectClipRect = 30,
  kEmfScaleViewportExtEx = 31, kEmfScaleWindowExtEx = 32, kEmfSaveDc = 33, kEmfRestoreDc = 34,
  kEmfSetWorldTransform = 35, kEmfModifyWorldTransform = 36, kEmfSelectObject = 37,
  kEmfCreatePen = 38, kEmfCreateBrushIndirect = 39, kEmfDeleteObject = 40, kEmfAngleArc = 41,
  kEmfEllipse = 42, kEmfRectangle = 43, kEmfRoundRect = 44, kEmfArc = 45, kEmfChord = 46,
  kEmfPie = 47, kEmfSelectPalette = 48, kEmfCreatePalette = 49, kEmfSetPaletteEntries = 50,
  kEmfResizePalette = 51, kEmfRealizePalette = 52, kEmfExtFloodFill = 53, kEmfLineTo = 54,
  kEmfArcTo = 55, kEmfPolyDraw = 56, kEmfSetArcDirection = 57, kEmfSetMiterLimit = 58,
  kEmfBeginPath = 59, kEmfEndPath = 60, kEmfCloseFigure = 61, kEmfFillPath = 62,
  kEmfStrokeAndFillPath = 63, kEmfStrokePath = 64, kEmfFlattenPath = 65, kEmfWidenPath = 66,
  kEmfSelectClipPath = 67, kEmfAbortPath = 68, kEmfGdiComment = 70, kEmfFillRgn = 71,
  kEmfFrameRgn = 72, kEmfInvertRgn = 73, kEmfPaintRgn = 74, kEmfExtSelectClipRgn = 75,
  kEmfBitBlt = 76, kEmfStretchBlt = 77, kEmfMaskBlt = 78, kEmfPlgBlt = 79,
  kEmfSetDiBitsToDevice = 80, kEmfStretchDiBits = 81, kEmfExtCreateFontIndirectW = 82,
  kEmfExtTextOutA = 83, kEmfExtTextOutW = 84, kEmfPolyBezier16 = 85, kEmfPolygon16 = 86,
  kEmfPolyline16 = 87, kEmfPolyBezierTo16 = 88, kEmfPolylineTo16 = 89, kEmfPolyPolyline16 = 90,
  kEmfPolyPolygon16 = 91, kEmfPolyDraw16 = 92, kEmfCreateMonoBrush = 93,
  kEmfCreateDibPatternBrushPt = 94, kEmfExtCreatePen = 95, kEmfPolyTextOutA = 96,
  kEmfPolyTextOutW = 97, kEmfSetIcmMode = 98, kEmfCreateColorSpace = 99, kEmfSetColorSpace = 100,
  kEmfDeleteColorSpace = 101, kEmfGlsRecord = 102, kEmfGlsBoundedRecord = 103,
  kEmfPixelFormat = 104, kEmfDrawEscape = 105, kEmfExtEscape = 106, kEmfSmallTextOut = 108,
  kEmfForceUfiMapping = 109, kEmfNamedEscape = 110, kEmfColorCorrectPalette = 111,
  kEmfSetIcmProfileA = 112, kEmfSetIcmProfileW = 113, kEmfAlphaBlend = 114, kEmfSetLayout = 115,
  kEmfTransparentBlt = 116, kEmfGradientFill = 118, kEmfSetLinkedUfis = 119,
  kEmfSetTextJustification = 120, kEmfColorMatchToTargetW = 121, kEmfCreateColorSpaceW = 122,
};

// Records made of fixed numbers only, with the bytes they need.
struct EmfFixedRecord {
  uint32_t type;
  uint32_t bytes;
};
constexpr EmfFixedRecord kEmfFixedRecords[] = {
    {kEmfSetWindowExtEx, 16}, {kEmfSetWindowOrgEx, 16}, {kEmfSetViewportExtEx, 16},
    {kEmfSetViewportOrgEx, 16}, {kEmfSetBrushOrgEx, 16}, {kEmfSetPixelV, 20},
    {kEmfSetMapperFlags, 12}, {kEmfSetMapMode, 12}, {kEmfSetBkMode, 12}, {kEmfSetPolyFillMode, 12},
    {kEmfSetRop2, 12}, {kEmfSetStretchBltMode, 12}, {kEmfSetTextAlign, 12},
    {kEmfSetColorAdjustment, 32}, {kEmfSetTextColor, 12}, {kEmfSetBkColor, 12},
    {kEmfOffsetClipRgn, 16}, {kEmfMoveToEx, 16}, {kEmfSetMetaRgn, 8}, {kEmfExcludeClipRect, 24},
    {kEmfIntersectClipRect, 24}, {kEmfScaleViewportExtEx, 24}, {kEmfScaleWindowExtEx, 24},
    {kEmfSetWorldTransform, 32}, {kEmfModifyWorldTransform, 36}, {kEmfCreatePen, 28},
    {kEmfAngleArc, 28}, {kEmfEllipse, 24}, {kEmfRectangle, 24}, {kEmfRoundRect, 32}, {kEmfArc, 40},
    {kEmfChord, 40}, {kEmfPie, 40}, {kEmfRealizePalette, 8}, {kEmfExtFloodFill, 24},
    {kEmfLineTo, 16}, {kEmfArcTo, 40}, {kEmfSetArcDirection, 12}, {kEmfSetMiterLimit, 12},
    {kEmfBeginPath, 8}, {kEmfEndPath, 8}, {kEmfCloseFigure, 8}, {kEmfFillPath, 24},
    {kEmfStrokeAndFillPath, 24}, {kEmfStrokePath, 24}, {kEmfFlattenPath, 8}, {kEmfWidenPath, 8},
    {kEmfSelectClipPath, 12}, {kEmfAbortPath, 8}, {kEmfSetIcmMode, 12}, {kEmfPixelFormat, 48},
    {kEmfForceUfiMapping, 16}, {kEmfSetLayout, 12}, {kEmfSetTextJustification, 16},
};

// Records with one size field (at `at`) counting bytes of data after
// `fixed` bytes, and no other field playback trusts.
struct EmfDataRecord {
  uint32_t type;
  uint32_t fixed;
  uint32_t at;
  uint32_t second;  // a second size field, or 0
};
constexpr EmfDataRecord kEmfDataRecords[] = {
    {kEmfGdiComment, 12, 8, 0},      {kEmfGlsRecord, 12, 8, 0},        {kEmfGlsBoundedRecord, 28, 24, 0},
    {kEmfDrawEscape, 16, 12, 0},     {kEmfExtEscape, 16, 12, 0},       {kEmfNamedEscape, 20, 12, 16},
    {kEmfSetIcmProfileA, 20, 12, 16}, {kEmfSetIcmProfileW, 20, 12, 16}, {kEmfColorMatchToTargetW, 24, 16, 20},
    {kEmfSetLinkedUfis, 12, 8, 0},
};

constexpr uint32_t kStockObject = 0x80000000u;
constexpr uint32_t kLastStockObject = 19;  // DC_PEN
constexpr uint32_t kDefaultPalette = kStockObject | 15;
constexpr uint32_t kMonoUsage = 2;  // DIB_PAL_MONO: no colour table

// A record's bitmap, when it carries one.
struct BitmapSize {
  bool present = false;
  int64_t width = 0, height = 0;
};

class EmfWalk {
 public:
  EmfWalk(const uint8_t* record, size_t bytes, ObjectTable& objects, SaveLevels& levels)
      : r_(record), size_(bytes), objects_(objects), levels_(levels) {}

  void Check() {
    const uint32_t type = U32(r_);
    for (const EmfFixedRecord& fixed : kEmfFixedRecords) {
      if (fixed.type == type) return Need(fixed.bytes), Create(type);
    }
    for (const EmfDataRecord& data : kEmfDataRecords) {
      if (data.type == type) {
        Need(data.fixed);
        return Need(uint64_t{data.fixed} + At(data.at) + (data.second ? At(data.second) : 0));
      }
    }
    switch (type) {
      case kEmfPolyBezier: case kEmfPolygon: case kEmfPolyline: case kEmfPolyBezierTo:
      case kEmfPolylineTo: return Points(8);
      case kEmfPolyBezier16: case kEmfPolygon16: case kEmfPolyline16: case kEmfPolyBezierTo16:
      case kEmfPolylineTo16: return Points(4);
      case kEmfPolyPolyline: case kEmfPolyPolygon: return PolyPoints(8);
      case kEmfPolyPolyline16: case kEmfPolyPolygon16: return PolyPoints(4);
      case kEmfPolyDraw: return Need(28), Need(28 + 9ull * At(24));
      case kEmfPolyDraw16: return Need(28), Need(28 + 5ull * At(24));
      case kEmfSaveDc: return Need(8), levels_.Save();
      case kEmfRestoreDc: return Need(12), levels_.Restore(I32(r_ + 8), false);
      case kEmfSelectObject: return Need(12), Select(At(8));
      case kEmfDeleteObject: return Need(12), objects_.Delete(At(8));
      case kEmfSelectPalette:
        Need(12);
        // Converted Windows metafiles select palettes whose creation was not
        // recorded: an empty slot selects no handle, so only the range matters.
        if (At(8) != kDefaultPalette) objects_.InRange(At(8));
        return;
      case kEmfCreateBrushIndirect:
        Need(24);
        CheckBrushStyle(At(12), At(20));
        return objects_.Create(At(8), ObjectKind::kBrush);
      case kEmfCreatePalette: return CreatePalette();
      case kEmfSetPaletteEntries: return PaletteEntries();
      case kEmfResizePalette:
        Need(16);
        objects_.Use(At(8), ObjectKind::kPalette);
        if (At(12) > kMaxPaletteEntries) RefuseMetafile();
        return;
      case kEmfColorCorrectPalette:
        Need(24);
        objects_.Use(At(8), ObjectKind::kPalette);
        if (uint64_t{At(12)} + At(16) > kMaxPaletteEntries) RefuseMetafile();
        return;
      case kEmfExtCreateFontIndirectW: return Need(12 + 92), objects_.Create(At(8), ObjectKind::kFont);
      case kEmfCreateColorSpace: return Need(12 + 328), objects_.Create(At(8), ObjectKind::kColorSpace);
      case kEmfCreateColorSpaceW:
        Need(608);
        Need(608ull + At(604));
        return objects_.Create(At(8), ObjectKind::kColorSpace);
      case kEmfSetColorSpace: return Need(12), objects_.Use(At(8), ObjectKind::kColorSpace);
      case kEmfDeleteColorSpace:
        Need(12);
        objects_.Use(At(8), ObjectKind::kColorSpace);
        return objects_.Delete(At(8));
      case kEmfFillRgn: return Need(32), objects_.Use(At(28), ObjectKind::kBrush), Region(24, 32);
      case kEmfFrameRgn: return Need(40), objects_.Use(At(28), ObjectKind::kBrush), Region(24, 40);
      case kEmfInvertRgn: case kEmfPaintRgn: return Need(28), Region(24, 28);
      case kEmfExtSelectClipRgn:
        Need(16);
        if (At(8) != 0) Region(8, 16);
        return;
      case kEmfBitBlt: return Blit(false);
      case kEmfStretchBlt: case kEmfAlphaBlend: case kEmfTransparentBlt: return Blit(true);
      case kEmfMaskBlt: return MaskBlit();
      case kEmfPlgBlt: return ParallelogramBlit();
      case kEmfSetDiBitsToDevice: return Need(76), void(Bitmap(64, 48, false, At(72)));
      case kEmfStretchDiBits: return StretchDib();
      case kEmfCreateMonoBrush: case kEmfCreateDibPatternBrushPt:
        Need(32);
        Bitmap(12, 16, false, -1, type == kEmfCreateMonoBrush);
        return objects_.Create(At(8), ObjectKind::kBrush);
      case kEmfExtCreatePen: return ExtCreatePen();
      case kEmfExtTextOutA: return Need(76), Text(36, 1);
      case kEmfExtTextOutW: return Need(76), Text(36, 2);
      case kEmfPolyTextOutA: case kEmfPolyTextOutW: return PolyText(type == kEmfPolyTextOutA ? 1 : 2);
      case kEmfSmallTextOut: return SmallText();
      case kEmfGradientFill: return Gradient();
      default: RefuseMetafile();  // unknown, a second header, or reserved
    }
  }

 private:
  uint32_t At(size_t offset) const { return U32(r_ + offset); }
  void Need(uint64_t bytes) const {
    if (bytes > size_) RefuseMetafile();
  }
  void Create(uint32_t type) {
    if (type == kEmfCreatePen) objects_.Create(At(8), ObjectKind::kPen);
  }
  void Select(uint32_t index) const {
    if (index & kStockObject) {
      if ((index & ~kStockObject) > kLastStockObject) RefuseMetafile();
      return;
    }
    objects_.Use(index, ObjectKind::kAny);
  }
  // Bounds, a count at 24 and that many points of `pointBytes` at 28.
  void Points(uint32_t pointBytes) const {
    Need(28);
    Need(28 + uint64_t{pointBytes} * At(24));
  }
  // Bounds, polygon count at 24, point count at 28, the polygon counts, then the points.
  void PolyPoints(uint32_t pointBytes) const {
    Need(32);
    const uint64_t polygons = At(24), points = At(28);
    Need(32 + 4 * polygons + pointBytes * points);
    uint64_t sum = 0;
    for (uint64_t i = 0; i < polygons; ++i) sum += At(32 + 4 * i);
    if (sum > points) RefuseMetafile();
  }
  void CreatePalette() {
    Need(16);
    const uint32_t entries = U16(r_ + 14);
    if (entries > kMaxPaletteEntries) RefuseMetafile();
    Need(16 + 4ull * entries);
    objects_.Create(At(8), ObjectKind::kPalette);
  }
  void PaletteEntries() const {
    Need(20);
    objects_.Use(At(8), ObjectKind::kPalette);
    if (uint64_t{At(12)} + At(16) > kMaxPaletteEntries) RefuseMetafile();
    Need(20 + 4ull * At(16));
  }
  // Region data of `At(sizeAt)` bytes at `dataAt`: a 32-byte header and its rectangles.
  void Region(size_t sizeAt, size_t dataAt) const {
    const uint64_t bytes = At(sizeAt);
    Need(dataAt + bytes);
    if (bytes < 32) RefuseMetafile();
    const uint8_t* data = r_ + dataAt;
    if (U32(data) != 32 || U32(data + 4) != 1) RefuseMetafile();
    if (16ull * U32(data + 8) > bytes - 32) RefuseMetafile();
  }
  // A bitmap given by usage, header offset and size, bits offset and size
  // (four fields from `fieldsAt`). `optional`: no header means no bitmap;
  // `monoAllowed`: masks and monochrome brushes may come without a table.
  // Returns the bitmap's size, none when an optional one is absent.
  BitmapSize Bitmap(size_t usageAt, size_t fieldsAt, bool optional, int64_t rows,
                    bool monoAllowed = false) const {
    const uint32_t offInfo = At(fieldsAt), infoBytes = At(fieldsAt + 4);
    const uint32_t offBits = At(fieldsAt + 8), bitsBytes = At(fieldsAt + 12);
    // Playback tells a blit without a source by either field: both must say so.
    if (optional && offInfo == 0 && infoBytes == 0 && offBits == 0 && bitsBytes == 0) return {};
    const uint32_t usage = At(usageAt);
    if (offInfo < 8 || !Inside(offInfo, infoBytes, size_) || !Inside(offBits, bitsBytes, size_)) {
      RefuseMetafile();
    }
    if (usage == kMonoUsage && monoAllowed) return MonoBits(offInfo, infoBytes, bitsBytes);
    if (usage > 1) RefuseMetafile();
    const DibLayout dib = CheckRecordDib(r_ + offInfo, infoBytes, bitsBytes, usage == 1, rows);
    return {true, dib.width, std::abs(int64_t{dib.height})};
  }
  // A monochrome brush's bitmap with no colour table: playback takes only
  // the header's width and height and reads 32-bit aligned rows of bits.
  BitmapSize MonoBits(uint32_t offInfo, uint32_t infoBytes, uint32_t bitsBytes) const {
    if (infoBytes < 40 || U32(r_ + offInfo) < 40 || U32(r_ + offInfo) > infoBytes) RefuseMetafile();
    const int64_t width = I32(r_ + offInfo + 4), height = std::abs(int64_t{I32(r_ + offInfo + 8)});
    if (width <= 0 || height == 0 || static_cast<uint64_t>(width * height) > kMaxMetafileBitmapPixels) {
      RefuseMetafile();
    }
    if (static_cast<uint64_t>((width + 31) / 32 * 4 * height) > bitsBytes) RefuseMetafile();
    return {true, width, height};
  }
  // A blit's source rectangle (origin at `originAt`, extents given) lies in
  // its bitmap once the source transform at `xformAt` (none: 0) has placed
  // it: playback's stretch code trusts it, and huge extents overflow there.
  void SourceInside(const BitmapSize& bitmap, size_t originAt, int64_t cx, int64_t cy, size_t xformAt) const {
    if (!bitmap.present) return;
    float m[6] = {1, 0, 0, 1, 0, 0};
    if (xformAt != 0) std::memcpy(m, r_ + xformAt, sizeof m);
    if (!std::all_of(m, m + 6, [](float v) { return std::isfinite(v); })) RefuseMetafile();
    const double x = I32(r_ + originAt), y = I32(r_ + originAt + 4);
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
    for (int corner = 0; corner < 4; ++corner) {
      const double px = x + (corner & 1 ? cx : 0), py = y + (corner & 2 ? cy : 0);
      const double dx = px * m[0] + py * m[2] + m[4], dy = px * m[1] + py * m[3] + m[5];
      left = std::min(left, dx), right = std::max(right, dx);
      top = std::min(top, dy), bottom = std::max(bottom, dy);
    }
    // Half a pixel of slack for the transform's rounding.
    constexpr double kFar = 1 << 24;
    const bool sound = left >= -kFar && top >= -kFar && right <= kFar && bottom <= kFar &&
                       right - left <= bitmap.width + 0.5 && bottom - top <= bitmap.height + 0.5;
    if (!sound) RefuseMetafile();
  }
  // Source and destination extents within a sensible stretch of each other.
  static void ScaleSensible(int64_t source, int64_t destination) {
    constexpr int64_t kMaxStretch = 1 << 20;
    const int64_t s = std::max<int64_t>(1, std::abs(source)), d = std::max<int64_t>(1, std::abs(destination));
    if (s / d > kMaxStretch || d / s > kMaxStretch) RefuseMetafile();
  }
  // BitBlt, StretchBlt, AlphaBlend, TransparentBlt: the source at 44, its
  // transform at 52, extents those of the destination unless stretched.
  void Blit(bool stretched) const {
    Need(stretched ? 108 : 100);
    const BitmapSize source = Bitmap(80, 84, true, -1);
    const int64_t cx = I32(r_ + 32), cy = I32(r_ + 36);
    const int64_t sx = stretched ? I32(r_ + 100) : cx, sy = stretched ? I32(r_ + 104) : cy;
    if (source.present) ScaleSensible(sx, cx), ScaleSensible(sy, cy);
    SourceInside(source, 44, sx, sy, 52);
  }
  // StretchDIBits: the source at 32 with extents at 40, drawn over the
  // extents at 72; no source transform.
  void StretchDib() const {
    Need(80);
    const BitmapSize source = Bitmap(64, 48, false, -1);
    const int64_t cx = I32(r_ + 40), cy = I32(r_ + 44);
    ScaleSensible(cx, I32(r_ + 72)), ScaleSensible(cy, I32(r_ + 76));
    SourceInside(source, 32, cx, cy, 0);
  }
  // MaskBlt: the source as for BitBlt, the mask at 100 of the same extents.
  void MaskBlit() const {
    Need(128);
    const BitmapSize source = Bitmap(80, 84, true, -1), mask = Bitmap(108, 112, true, -1, true);
    const int64_t cx = I32(r_ + 32), cy = I32(r_ + 36);
    SourceInside(source, 44, cx, cy, 52);
    SourceInside(mask, 100, cx, cy, 0);
  }
  // PlgBlt: three destination points at 24, the source at 48 with extents
  // at 56, its transform at 64, the mask at 112 of the source's extents.
  void ParallelogramBlit() const {
    Need(140);
    const BitmapSize source = Bitmap(92, 96, true, -1), mask = Bitmap(120, 124, true, -1, true);
    const int64_t cx = I32(r_ + 56), cy = I32(r_ + 60);
    if (source.present) {
      const int64_t x0 = I32(r_ + 24), y0 = I32(r_ + 28);
      for (size_t point : {32, 40}) {
        ScaleSensible(std::max(cx, cy), I32(r_ + point) - x0);
        ScaleSensible(std::max(cx, cy), I32(r_ + point + 4) - y0);
      }
    }
    SourceInside(source, 48, cx, cy, 64);
    SourceInside(mask, 112, cx, cy, 0);
  }
  void ExtCreatePen() {
    Need(52);
    const uint32_t brushStyle = At(36);
    if (brushStyle > 2) RefuseMetafile();  // pattern pens: playback reads a pointer from the file
    if (brushStyle == 2 && At(44) > 5) RefuseMetafile();
    Need(52 + 4ull * At(48));
    objects_.Create(At(8), ObjectKind::kPen);
  }
  // An EMRTEXT at `at`: string and spacing offsets count from the record's start.
  void Text(size_t at, uint32_t charBytes) const {
    const uint64_t chars = At(at + 8);
    const uint32_t offString = At(at + 12), options = At(at + 16), offDx = At(at + 36);
    if (chars == 0) return;
    if (!Inside(offString, chars * charBytes, size_)) RefuseMetafile();
    const uint64_t dxBytes = chars * ((options & 0x2000) ? 8 : 4);  // ETO_PDY: pairs
    if (offDx != 0 && !Inside(offDx, dxBytes, size_)) RefuseMetafile();
  }
  void PolyText(uint32_t charBytes) const {
    Need(40);
    const uint64_t strings = At(36);
    Need(40 + 40 * strings);
    for (uint64_t i = 0; i < strings; ++i) Text(40 + 40 * i, charBytes);
  }
  void SmallText() const {
    Need(36);
    const uint32_t options = At(20);
    const uint64_t clip = (options & 0x100) ? 0 : 16;  // ETO_NO_RECT
    const uint64_t charBytes = (options & 0x200) ? 1 : 2;  // ETO_SMALL_CHARS
    Need(36 + clip + charBytes * At(16));
  }
  // Vertices, then rectangles (two indices) or triangles (three), each
  // index naming a vertex.
  void Gradient() const {
    Need(36);
    const uint64_t vertices = At(24), meshes = At(28);
    const uint32_t mode = At(32);
    if (mode > 2) RefuseMetafile();
    const uint64_t indices = mode == 2 ? 3 : 2;
    Need(36 + 16 * vertices + 4 * indices * meshes);
    const size_t first = static_cast<size_t>(36 + 16 * vertices);
    for (uint64_t i = 0; i < indices * meshes; ++i) {
      if (At(first + 4 * i) >= vertices) RefuseMetafile();
    }
  }

  const uint8_t* r_;
  size_t size_;
  ObjectTable& objects_;
  SaveLevels& levels_;
};

// The header record: its size, signature, object table, description and
// pixel format inside it.
size_t CheckEmfHeader(const uint8_t* data, size_t size) {
  constexpr uint32_t kSignature = 0x464D4520u;  // " EMF"
  if (size < 88 || U32(data) != kEmfHeader || U32(data + 40) != kSignature) RefuseMetafile();
  const size_t headerBytes = U32(data + 4);
  if (headerBytes < 88 || headerBytes % 4 != 0 || headerBytes > size) RefuseMetafile();
  if (U16(data + 56) == 0) RefuseMetafile();  // the table's slot 0 is the metafile itself
  const uint32_t descriptionChars = U32(data + 60), offDescription = U32(data + 64);
  if (descriptionChars != 0 && !Inside(offDescription, 2ull * descriptionChars, headerBytes)) {
    RefuseMetafile();
  }
  if (headerBytes >= 100) {
    const uint32_t formatBytes = U32(data + 88), offFormat = U32(data + 92);
    if (formatBytes != 0 && !Inside(offFormat, formatBytes, headerBytes)) RefuseMetafile();
  }
  return headerBytes;
}

// The end-of-file record's palette lies inside it.
void CheckEmfEof(const uint8_t* record, size_t bytes) {
  if (bytes < 20) RefuseMetafile();
  const uint32_t entries = U32(record + 8), offset = U32(record + 12);
  if (entries > kMaxPaletteEntries || (entries != 0 && !Inside(offset, 4ull * entries, bytes - 4))) {
    RefuseMetafile();
  }
}

}  // namespace

std::vector<uint8_t> CheckEmfFile(const uint8_t* data, size_t size) {
  size_t pos = CheckEmfHeader(data, size);
  ObjectTable objects(U16(data + 56));
  objects.SetEmfStyle();
  SaveLevels levels;
  uint32_t records = 1;
  for (;;) {
    if (!Inside(pos, 8, size)) RefuseMetafile();
    const uint32_t type = U32(data + pos);
    const size_t recordBytes = U32(data + pos + 4);
    if (recordBytes < 8 || recordBytes % 4 != 0 || !Inside(pos, recordBytes, size)) RefuseMetafile();
    ++records;
    if (type == kEmfEof) {
      CheckEmfEof(data + pos, recordBytes);
      pos += recordBytes;
      break;
    }
    EmfWalk(data + pos, recordBytes, objects, levels).Check();
    pos += recordBytes;
  }
  // The walk decides the length; the palette count belongs to the end record.
  std::vector<uint8_t> sound(data, data + pos);
  Put32(sound.data() + 48, static_cast<uint32_t>(pos));
  Put32(sound.data() + 52, records);
  Put32(sound.data() + 68, 0);
  return sound;
}

}  // namespace kd
