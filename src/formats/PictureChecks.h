// The checks every picture file passes before the system's graphics code
// sees it: BMP and ICO headers (all through one DIB header reader), and the
// record-by-record walk of Windows and enhanced metafiles (sizes, counts,
// offsets, object indices, save levels, and the costs a record may ask of
// playback), and the limits a JPEG's header and scans must keep. Portable
// byte parsing only. Not here: decoding or drawing the pictures, the
// per-frame playback bounds (the platform layer).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/EngineError.h"

namespace kd {

// A picture file that cannot be read, has an unknown extension or damaged contents.
class PictureError : public EngineError {
 public:
  using EngineError::EngineError;
};

// More pixels than this in a picture file's bitmap are refused before any
// memory is taken for them.
constexpr uint64_t kMaxPicturePixels = 1ull << 27;
// Bitmaps inside metafiles are played on every frame: a tighter bound.
constexpr uint64_t kMaxMetafileBitmapPixels = 1ull << 24;
// A progressive JPEG passes over the whole picture once a scan: at most
// this many scans (encoders write about 10; djpeg's -maxscans is the same
// idea), and fewer for large pictures, so that scans times pixels stays
// within the second budget (some 170 scans at 4096 x 3072, 16 at the cap).
constexpr int kMaxJpegScans = 500;
constexpr uint64_t kMaxJpegScanPixels = 1ull << 31;
// The frame header's size, checked before any decoding is done.
bool JpegSizeAllowed(uint64_t width, uint64_t height);
// Whether scan number `scan` (from 1) of a picture of `pixels` may be read.
bool JpegScanAllowed(int scan, uint64_t pixels);

// Logical palettes the system keeps never need more entries than this.
constexpr uint32_t kMaxPaletteEntries = 1024;

// Compression kinds a DIB may use (the others are refused).
enum DibCompression : uint32_t { kDibRgb = 0, kDibRle8 = 1, kDibRle4 = 2, kDibBitfields = 3 };

// A checked DIB header and colour table.
struct DibLayout {
  size_t headerSize = 0;   // bytes of the header as stored (12 for the old core header)
  int width = 0;
  int height = 0;          // negative: top-down
  int bitCount = 0;
  uint32_t compression = kDibRgb;
  size_t colorCount = 0;   // colour table entries
  size_t entrySize = 4;    // bytes per entry: 4, 3 (core header) or 2 (palette indices)
  size_t masksSize = 0;    // BITFIELDS masks after a 40-byte header
  uint32_t imageSize = 0;  // the header's own image size (RLE data)

  size_t TableEnd() const { return headerSize + masksSize + colorCount * entrySize; }
  // Bytes of pixel data the system reads for `rows` rows (all rows when negative).
  uint64_t BitsSize(int64_t rows = -1) const;
};

// Reads the DIB header at `info` (with `available` bytes after it). Core
// headers carry a full colour table unless `coreEntries` says fewer fit;
// `paletteIndices` makes the table 16-bit palette indices. Throws
// PictureError when the header, its table or its size is not sound.
DibLayout ReadDibHeader(const uint8_t* info, size_t available, bool paletteIndices,
                        uint64_t maxPixels, size_t coreEntries = SIZE_MAX);

// A BMP file: its DIB and where the pixel data starts.
struct BmpLayout {
  DibLayout dib;
  size_t bitsOffset = 0;
};
BmpLayout CheckBmpFile(const uint8_t* data, size_t size);

// The first image of an ICO file (the one icon pictures show).
struct IconLayout {
  size_t offset = 0;
  size_t bytes = 0;
  int width = 0;   // from the directory entry
  int height = 0;
  bool png = false;
};
IconLayout CheckIcoFile(const uint8_t* data, size_t size);

// A Windows metafile whose records all passed, ready for the system: the
// metafile part (after any placeable header) up to its end-of-file record,
// with the header's size fields set from the walk, and every bitmap of up
// to 8 bits carrying its colour count and table.
struct WmfLayout {
  bool placeable = false;
  int left = 0, top = 0, right = 0, bottom = 0;  // placeable bounding box
  int unitsPerInch = 0;
  std::vector<uint8_t> metafile;
};
WmfLayout CheckWmfFile(const uint8_t* data, size_t size);

// An enhanced metafile whose records all passed, up to its end-of-file
// record, with the header's byte and record counts set from the walk.
std::vector<uint8_t> CheckEmfFile(const uint8_t* data, size_t size);

}  // namespace kd
