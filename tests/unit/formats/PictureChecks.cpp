// The portable picture checks on files built here: sound metafiles of many
// record kinds pass; one-field damages named after the faults they would
// cause in playback are refused, record kind by record kind; header size
// fields that disagree with the records leave the decision to the walk;
// BMP and ICO headers; and every field of the sound files damaged in turn.
#include "formats/PictureChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using kd::PictureError;
using Bytes = std::vector<uint8_t>;

namespace {

void Add16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Add32(Bytes& b, uint32_t v) {
  Add16(b, v & 0xFFFF);
  Add16(b, v >> 16);
}
void Set32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t U32At(const Bytes& b, size_t at) {
  return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | static_cast<uint32_t>(b.at(at + 3)) << 24;
}
void Set16(Bytes& b, size_t at, uint32_t v) {
  b.at(at) = static_cast<uint8_t>(v);
  b.at(at + 1) = static_cast<uint8_t>(v >> 8);
}

// A 2 x 2 one-bit DIB: header, two colours, two rows of four bytes.
Bytes TinyDib(int width = 2, int height = 2) {
  Bytes b;
  for (uint32_t v : {40u, static_cast<uint32_t>(width), static_cast<uint32_t>(height)}) Add32(b, v);
  Add16(b, 1);
  Add16(b, 1);
  for (int i = 0; i < 6; ++i) Add32(b, 0);
  Add32(b, 0x000000);
  Add32(b, 0xFFFFFF);
  for (int i = 0; i < 8; ++i) b.push_back(0x80);
  return b;
}

// ------------------------------------------------------------ emf builder

// An EMF record: type, size, then 32-bit fields and raw bytes.
Bytes EmfRecord(uint32_t type, std::initializer_list<uint32_t> fields, const Bytes& tail = {}) {
  Bytes b;
  Add32(b, type);
  Add32(b, 0);
  for (uint32_t f : fields) Add32(b, f);
  b.insert(b.end(), tail.begin(), tail.end());
  while (b.size() % 4) b.push_back(0);
  Set32(b, 4, static_cast<uint32_t>(b.size()));
  return b;
}

Bytes Emf(const std::vector<Bytes>& records, uint32_t handles = 4) {
  Bytes b;
  Add32(b, 1);
  Add32(b, 108);
  for (int i = 0; i < 8; ++i) Add32(b, i % 4 < 2 ? 0 : 100);  // bounds, frame
  Add32(b, 0x464D4520);
  Add32(b, 0x10000);
  Add32(b, 0);  // bytes, set below
  Add32(b, static_cast<uint32_t>(records.size() + 2));
  Add16(b, handles);
  Add16(b, 0);
  for (int i = 0; i < 12; ++i) Add32(b, i == 3 || i == 4 ? 100 : 0);
  for (const Bytes& r : records) b.insert(b.end(), r.begin(), r.end());
  const Bytes eof = EmfRecord(14, {0, 16, 20});
  b.insert(b.end(), eof.begin(), eof.end());
  Set32(b, 48, static_cast<uint32_t>(b.size()));
  return b;
}

const uint32_t kBounds[4] = {0, 0, 10, 10};
#define BOUNDS kBounds[0], kBounds[1], kBounds[2], kBounds[3]

// STRETCHDIBITS of the tiny DIB: header at 80, bits after its table.
Bytes StretchDiBits(uint32_t offInfo = 80, uint32_t infoBytes = 48, uint32_t offBits = 128,
                    uint32_t bitsBytes = 8, const Bytes& dib = TinyDib()) {
  return EmfRecord(81, {BOUNDS, 0, 0, 0, 0, 2, 2, offInfo, infoBytes, offBits, bitsBytes, 0, 0xCC0020, 2, 2}, dib);
}

Bytes ExtTextOutW(uint32_t chars, uint32_t offString, uint32_t offDx) {
  Bytes text = {'P', 0, 'i', 0, 'e', 0, 0, 0};
  for (int i = 0; i < 3; ++i) Add32(text, 8);
  return EmfRecord(84, {BOUNDS, 1, 0, 0, 5, 5, chars, offString, 0, BOUNDS, offDx}, text);
}

Bytes Gradient(uint32_t lastIndex) {
  Bytes tail;
  for (int v = 0; v < 2; ++v) {
    Add32(tail, v * 10);
    Add32(tail, v * 10);
    for (int c = 0; c < 4; ++c) Add16(tail, 0xFF00 * v);
  }
  Add32(tail, 0);
  Add32(tail, lastIndex);
  return EmfRecord(118, {BOUNDS, 2, 1, 0}, tail);
}

Bytes FillRgn(uint32_t brush, uint32_t rectangles) {
  Bytes region;
  for (uint32_t v : {32u, 1u, rectangles, 16u, 0u, 0u, 10u, 10u, 0u, 0u, 10u, 10u}) Add32(region, v);
  return EmfRecord(71, {BOUNDS, static_cast<uint32_t>(region.size()), brush}, region);
}

// Sound records of many kinds, in an order that makes their indices good.
std::vector<Bytes> SoundEmfRecords() {
  return {
      EmfRecord(3, {BOUNDS, 3, 0, 0, 10, 0, 5, 10}),                  // POLYGON
      EmfRecord(86, {BOUNDS, 3, 0, 0x000A0000, 0x0005000A}),          // POLYGON16
      EmfRecord(8, {BOUNDS, 2, 5, 3, 2, 0, 0, 1, 1, 2, 0, 3, 3, 4, 4}),  // POLYPOLYGON
      EmfRecord(56, {BOUNDS, 2, 0, 0, 5, 5}, {6, 2}),                 // POLYDRAW
      EmfRecord(38, {1, 0, 1, 0, 0}),                                 // CREATEPEN 1
      EmfRecord(37, {1}),                                             // SELECTOBJECT
      EmfRecord(39, {2, 2, 0xFF, 3}),                                 // CREATEBRUSHINDIRECT 2, hatched
      EmfRecord(37, {0x80000000u | 5}),                               // a stock brush
      FillRgn(2, 1),
      EmfRecord(33, {}),                                              // SAVEDC
      EmfRecord(34, {0xFFFFFFFFu}),                                   // RESTOREDC -1
      StretchDiBits(),
      ExtTextOutW(3, 76, 84),
      Gradient(1),
      EmfRecord(49, {3, 0x00020300, 0x0000FF, 0x00FF00}),             // CREATEPALETTE 3, 2 entries
      EmfRecord(51, {3, 16}),                                         // RESIZEPALETTE
      EmfRecord(40, {3}),
      EmfRecord(40, {1}),
      EmfRecord(40, {2}),
      EmfRecord(70, {4}, {'n', 'o', 't', 'e'}),                        // GDICOMMENT
  };
}

// The sound file with record `index` replaced.
Bytes EmfWith(size_t index, const Bytes& record) {
  std::vector<Bytes> records = SoundEmfRecords();
  records.at(index) = record;
  return Emf(records);
}

// ------------------------------------------------------------ wmf builder

Bytes WmfRecord(uint16_t function, std::initializer_list<uint32_t> params, const Bytes& tail = {}) {
  Bytes b;
  Add32(b, 0);
  Add16(b, function);
  for (uint32_t p : params) Add16(b, p);
  b.insert(b.end(), tail.begin(), tail.end());
  if (b.size() % 2) b.push_back(0);
  Set32(b, 0, static_cast<uint32_t>(b.size() / 2));
  return b;
}

Bytes Wmf(const std::vector<Bytes>& records, uint32_t objects = 3, bool placeable = false) {
  Bytes b;
  if (placeable) {
    const uint16_t header[10] = {0xCDD7, 0x9AC6, 0, 0, 0, 100, 100, 96, 0, 0};
    uint16_t sum = 0;
    for (uint16_t w : header) {
      Add16(b, w);
      sum ^= w;
    }
    Add16(b, sum);
  }
  const size_t start = b.size();
  for (uint32_t w : {1u, 9u, 0x300u}) Add16(b, w);
  Add32(b, 0);
  Add16(b, objects);
  Add32(b, 0);
  Add16(b, 0);
  uint32_t largest = 9;
  for (const Bytes& r : records) {
    b.insert(b.end(), r.begin(), r.end());
    largest = std::max(largest, static_cast<uint32_t>(r.size() / 2));
  }
  const Bytes eof = WmfRecord(0, {});
  b.insert(b.end(), eof.begin(), eof.end());
  Set32(b, start + 6, static_cast<uint32_t>((b.size() - start) / 2));
  Set32(b, start + 12, largest);
  return b;
}

Bytes Region16(uint32_t scans, uint32_t firstCount) {
  Bytes tail;
  for (uint32_t v : {firstCount, 0u, 10u, 0u, 10u, firstCount}) Add16(tail, v);
  return WmfRecord(0x06FF, {0, 6, 0, 0, 40, scans, 2, 0, 0, 10, 10}, tail);
}

std::vector<Bytes> SoundWmfRecords() {
  Bytes dib = TinyDib();
  dib[32] = 2;  // counted colours: the copy keeps the records as they are
  return {
      WmfRecord(0x0324, {3, 0, 0, 10, 0, 5, 10}),                // POLYGON
      WmfRecord(0x0538, {2, 3, 2, 0, 0, 1, 1, 2, 0, 3, 3, 4, 4}),  // POLYPOLYGON
      WmfRecord(0x02FA, {0, 1, 0, 0, 0}),                        // CREATEPENINDIRECT: slot 0
      WmfRecord(0x012D, {0}),                                    // SELECTOBJECT
      WmfRecord(0x02FC, {2, 0xFF, 0, 3}),                        // CREATEBRUSHINDIRECT hatched: slot 1
      Region16(1, 2),                                            // CREATEREGION: slot 2
      WmfRecord(0x0228, {1, 2}),                                 // FILLREGION brush 1, region 2
      WmfRecord(0x001E, {}),                                     // SAVEDC
      WmfRecord(0x0127, {0xFFFF}),                               // RESTOREDC -1
      WmfRecord(0x0521, {3}, {'P', 'i', 'e', 0, 5, 0, 5, 0}),    // TEXTOUT
      WmfRecord(0x0A32, {5, 5, 3, 0}, {'P', 'i', 'e', 0}),       // EXTTEXTOUT
      WmfRecord(0x0F43, {0x20, 0xCC, 0, 2, 2, 0, 0, 2, 2, 0, 0}, dib),  // STRETCHDIB
      WmfRecord(0x0D33, {0, 2, 0, 0, 0, 2, 2, 0, 0}, dib),              // SETDIBTODEV
      WmfRecord(0x0940, {0x20, 0xCC, 0, 0, 2, 2, 0, 0}, dib),           // DIBBITBLT
      WmfRecord(0x0626, {15, 4}, {'n', 'o', 't', 'e'}),           // ESCAPE
      WmfRecord(0x01F0, {0}),                                    // DELETEOBJECT
      WmfRecord(0x01F0, {1}),
  };
}

Bytes WmfWith(size_t index, const Bytes& record) {
  std::vector<Bytes> records = SoundWmfRecords();
  records.at(index) = record;
  return Wmf(records);
}

bool EmfPasses(const Bytes& b) {
  try {
    kd::CheckEmfFile(b.data(), b.size());
    return true;
  } catch (const PictureError&) {
    return false;
  }
}
bool WmfPasses(const Bytes& b) {
  try {
    kd::CheckWmfFile(b.data(), b.size());
    return true;
  } catch (const PictureError&) {
    return false;
  }
}

}  // namespace

TEST(PictureChecks, SoundMetafilesOfManyRecordKindsPass) {
  const Bytes emf = Emf(SoundEmfRecords());
  EXPECT_EQ(kd::CheckEmfFile(emf.data(), emf.size()), emf);
  const Bytes wmf = Wmf(SoundWmfRecords(), 3, true);
  const kd::WmfLayout layout = kd::CheckWmfFile(wmf.data(), wmf.size());
  EXPECT_TRUE(layout.placeable);
  EXPECT_EQ(layout.unitsPerInch, 96);
  EXPECT_EQ(layout.metafile, Bytes(wmf.begin() + 22, wmf.end()));
}

TEST(PictureChecks, DamagedEmfRecordsAreRefused) {
  const struct {
    const char* fault;
    size_t index;
    Bytes record;
  } cases[] = {
      {"polygon count beyond the record", 0, EmfRecord(3, {BOUNDS, 0x7FFFFFFF, 0, 0})},
      {"polygon16 count beyond the record", 1, EmfRecord(86, {BOUNDS, 0x7FFFFFFF, 0})},
      {"polypolygon counts beyond the points", 2, EmfRecord(8, {BOUNDS, 2, 2, 3, 2, 0, 0, 1, 1})},
      {"polypolygon polygon count huge", 2, EmfRecord(8, {BOUNDS, 0x40000000, 1, 1, 0, 0})},
      {"polydraw count beyond the record", 3, EmfRecord(56, {BOUNDS, 0x7FFFFFFF, 0, 0})},
      {"create into slot 0", 19, EmfRecord(38, {0, 0, 1, 0, 0})},
      {"create beyond the table", 19, EmfRecord(38, {4, 0, 1, 0, 0})},
      {"select beyond the table", 5, EmfRecord(37, {0xFFFF})},
      {"select an unknown stock object", 7, EmfRecord(37, {0x80000000u | 100})},
      {"delete a stock object", 16, EmfRecord(40, {0x80000005u})},
      {"brush pattern held by pointer", 6, EmfRecord(39, {2, 6, 0, 0x12345678})},
      {"region rectangles beyond the data", 8, FillRgn(2, 100)},
      {"region painted with a pen", 8, FillRgn(1, 1)},
      {"restore without a save", 9, EmfRecord(34, {0xFFFFFFFFu})},
      {"restore to an absolute level", 10, EmfRecord(34, {1})},
      {"bitmap header outside the record", 11, StretchDiBits(0x7FFFFFF0)},
      {"bitmap bits outside the record", 11, StretchDiBits(80, 48, 0xFFFFFFF0)},
      {"bitmap bits too few", 11, StretchDiBits(80, 48, 128, 4)},
      {"bitmap of 65536 x 65536", 11, StretchDiBits(80, 48, 128, 8, TinyDib(65536, 65536))},
      {"string outside the record", 12, ExtTextOutW(3, 0x7FFFFFF0, 0)},
      {"spacing outside the record", 12, ExtTextOutW(3, 76, 0xFFFFFFF0)},
      {"character count beyond the string", 12, ExtTextOutW(0x40000000, 76, 84)},
      {"gradient index beyond the vertices", 13, Gradient(2)},
      {"palette entries beyond the record", 14, EmfRecord(49, {3, 0x7FFF0300})},
      {"palette resized to 2^31-1", 15, EmfRecord(51, {3, 0x7FFFFFFF})},
      {"palette resize of a brush", 15, EmfRecord(51, {2, 16})},
      {"comment longer than the record", 19, EmfRecord(70, {0x7FFFFFFF})},
      {"unknown record kind", 19, EmfRecord(200, {0})},
      {"second header", 19, EmfRecord(1, {0, 0, 0, 0})},
      {"record too short for its kind", 0, EmfRecord(42, {1, 2})},
  };
  for (const auto& c : cases) EXPECT_FALSE(EmfPasses(EmfWith(c.index, c.record))) << c.fault;
}

TEST(PictureChecks, DamagedWmfRecordsAreRefused) {
  // A header that counts its colours: without the count, a header and
  // table read the same as a header and bits with no table.
  Bytes dib = TinyDib();
  dib[32] = 2;
  const Bytes headerOnly(dib.begin(), dib.begin() + 48);
  const struct {
    const char* fault;
    size_t index;
    Bytes record;
  } cases[] = {
      {"polygon of 32767 points in a 4-point record", 0, WmfRecord(0x0324, {32767, 0, 0, 1, 1, 2, 2, 3, 3})},
      {"polypolygon counts beyond the record", 1, WmfRecord(0x0538, {2, 3000, 2, 0, 0})},
      {"select object 0xFFFF", 3, WmfRecord(0x012D, {0xFFFF})},
      {"select an empty slot", 3, WmfRecord(0x012D, {2})},
      {"delete object 0xFFFF", 15, WmfRecord(0x01F0, {0xFFFF})},
      {"brush pattern held by pointer", 4, WmfRecord(0x02FC, {6, 0, 0, 0x1234})},
      {"region scans beyond the record", 5, Region16(1000, 2)},
      {"region scan with an odd count", 5, Region16(1, 3)},
      {"fill a region with a region", 6, WmfRecord(0x0228, {2, 2})},
      {"restore without a save", 7, WmfRecord(0x0127, {0xFFFF})},
      {"restore beyond the saved levels", 8, WmfRecord(0x0127, {0xFFFE})},
      {"text longer than the record", 9, WmfRecord(0x0521, {3000}, {'P', 'i'})},
      {"extended text longer than the record", 10, WmfRecord(0x0A32, {5, 5, 3000, 0}, {'P'})},
      {"stretched DIB with a header but no bits", 11, WmfRecord(0x0F43, {0x20, 0xCC, 0, 2, 2, 0, 0, 2, 2, 0, 0}, headerOnly)},
      {"DIB to device with more scans than bits", 12, WmfRecord(0x0D33, {0, 2, 0, 0, 0, 2, 2, 0, 0}, Bytes(dib.begin(), dib.end() - 4))},
      {"DIB blit without bits", 13, WmfRecord(0x0940, {0x20, 0xCC, 0, 0, 2, 2, 0, 0}, headerOnly)},
      {"escape longer than the record", 14, WmfRecord(0x0626, {15, 4000}, {'n'})},
      {"old bitmap blit", 13, WmfRecord(0x0922, {0x20, 0xCC, 0, 0, 2, 2, 0, 0, 2, 2, 2, 0x0101})},
      {"unknown function", 14, WmfRecord(0x0777, {1})},
      {"palette of 65535 entries", 14, WmfRecord(0x00F7, {0x300, 65535})},
      {"face name without its end", 14, WmfRecord(0x02FB, {10, 0, 0, 0, 400, 0, 0, 0, 0}, {'A', 'r'})},
  };
  for (const auto& c : cases) EXPECT_FALSE(WmfPasses(WmfWith(c.index, c.record))) << c.fault;
}

// Tables as recorders write them: Wine leaves out the table of a header
// that counts no colours, palette indices are words. The copy for the
// system counts its colours and holds their table.
TEST(PictureChecks, WmfDibTablesAsRecordersWriteThemPass) {
  const Bytes full = TinyDib();  // no count, two colours, then two rows of bits
  Bytes counted = full, indices = TinyDib();
  counted[32] = indices[32] = 2;
  indices.erase(indices.begin() + 44, indices.begin() + 48);  // two words of indices
  const auto without = [](Bytes dib, size_t from, size_t bytes) {
    dib.erase(dib.begin() + from, dib.begin() + from + bytes);
    return dib;
  };
  Bytes deep = without(full, 40, 8);
  deep[14] = 8;  // 8 bits a pixel, no table
  const struct {
    const char* layout;
    uint16_t usage;
    Bytes dib;
    bool passes;
  } cases[] = {
      {"colours counted and held", 0, counted, true},
      {"no count, full table", 0, full, true},
      {"no count, no table", 0, without(full, 40, 8), true},
      {"8 bits, no count, no table", 0, deep, true},
      {"palette indices as words", 1, indices, true},
      {"no count, no table, bits cut short", 0, without(full, 40, 12), false},
      {"counted colours, no table", 0, without(counted, 40, 8), false},
      {"palette indices missing", 1, without(indices, 40, 4), false},
  };
  for (const auto& c : cases) {
    const Bytes wmf = Wmf({WmfRecord(0x0F43, {0x20, 0xCC, c.usage, 2, 2, 0, 0, 2, 2, 0, 0}, c.dib)});
    EXPECT_EQ(WmfPasses(wmf), c.passes) << c.layout;
    if (!c.passes) continue;
    const Bytes copy = kd::CheckWmfFile(wmf.data(), wmf.size()).metafile;
    const uint32_t colors = 1u << c.dib[14], recordBytes = 2 * U32At(copy, 18);
    EXPECT_EQ(U32At(copy, 18 + 28 + 32), colors) << c.layout;
    EXPECT_EQ(recordBytes, 28 + 40 + colors * (c.usage == 1 ? 2 : 4) + 8) << c.layout;
    EXPECT_EQ(copy.size(), 18 + recordBytes + 6u) << c.layout;
  }
}

namespace {
constexpr uint32_t kOne = 0x3F800000u;  // 1.0f
#define IDENTITY kOne, 0, 0, kOne, 0, 0

// A 1-bit DIB of side x side pixels with all its rows (up to 32 pixels wide).
Bytes SquareDib(int side) {
  Bytes dib = TinyDib(side, side);
  dib.resize(48 + 4 * side, 0x80);
  return dib;
}

// STRETCHBLT (BITBLT when `stretched` is false) of a 4 x 4 DIB from (x, y)
// over (cx, cy), drawn over (dx, dy), under a source transform.
Bytes StretchBlt(int32_t x, int32_t y, int32_t cx, int32_t cy, int32_t dx = 8, int32_t dy = 8,
                 std::initializer_list<uint32_t> xform = {IDENTITY}, bool stretched = true) {
  const uint32_t header = stretched ? 108 : 100;
  std::vector<uint32_t> f = {BOUNDS, 0, 0, uint32_t(dx), uint32_t(dy), 0xCC0020, uint32_t(x), uint32_t(y)};
  f.insert(f.end(), xform);
  f.insert(f.end(), {0, 0, header, 48, header + 48, 16});
  if (stretched) f.insert(f.end(), {uint32_t(cx), uint32_t(cy)});
  Bytes b = EmfRecord(stretched ? 77 : 76, {}, SquareDib(4));
  Bytes fields;
  for (uint32_t v : f) Add32(fields, v);
  b.insert(b.begin() + 8, fields.begin(), fields.end());
  Set32(b, 4, static_cast<uint32_t>(b.size()));
  return b;
}

// MASKBLT of 4 x 4 from the same DIB, the mask (`maskSide` square) read from (mx, my).
Bytes MaskBlt(int32_t mx, int32_t my, int maskSide = 4) {
  Bytes mask = SquareDib(maskSide);
  const uint32_t maskBits = static_cast<uint32_t>(mask.size() - 48);
  return EmfRecord(78, {BOUNDS, 0, 0, 4, 4, 0xCCAA0020, 0, 0, IDENTITY, 0, 0, 128, 48, 176, 16,
                        uint32_t(mx), uint32_t(my), 0, 192, 48, 240, maskBits},
                   [&] { Bytes t = SquareDib(4); t.insert(t.end(), mask.begin(), mask.end()); return t; }());
}

// PLGBLT of 4 x 4 from (x, y) onto the parallelogram (0,0), (px, 0), (0, 8).
Bytes PlgBlt(int32_t px, int32_t cx) {
  return EmfRecord(79, {BOUNDS, 0, 0, uint32_t(px), 0, 0, 8, 0, 0, uint32_t(cx), 4, IDENTITY, 0, 0, 140, 48,
                        188, 16, 0, 0, 0, 0, 0, 0, 0},
                   SquareDib(4));
}
}  // namespace

// Blits' source rectangles lie in the bitmaps they carry, placed by the
// source transform, at a sensible stretch from the destination.
TEST(PictureChecks, BlitSourcesLieInTheirBitmaps) {
  constexpr int32_t kHuge = 0x7FFFFFFF;
  const struct {
    const char* blit;
    Bytes record;
    bool passes;
  } cases[] = {
      {"the whole bitmap", StretchBlt(0, 0, 4, 4), true},
      {"mirrored", StretchBlt(4, 4, -4, -4), true},
      {"scaled by the transform to fit", StretchBlt(0, 0, 8, 8, 8, 8, {0x3F000000u, 0, 0, 0x3F000000u, 0, 0}), true},
      {"source of 2^31-1 over 4 x 4", StretchBlt(0, 0, kHuge, kHuge), false},
      {"wider than the bitmap", StretchBlt(0, 0, 5, 4), false},
      {"origin far outside", StretchBlt(kHuge - 2, 0, 4, 4), false},
      {"transform blowing it up", StretchBlt(0, 0, 4, 4, 8, 8, {0x7E967699u, 0, 0, kOne, 0, 0}), false},
      {"transform of NaN", StretchBlt(0, 0, 4, 4, 8, 8, {0x7FC00000u, 0, 0, kOne, 0, 0}), false},
      {"4 pixels stretched over 2^31-1", StretchBlt(0, 0, 4, 4, kHuge, 8), false},
      {"plain blit of 4 x 4", StretchBlt(0, 0, 0, 0, 4, 4, {IDENTITY}, false), true},
      {"plain blit of 2^31-1", StretchBlt(0, 0, 0, 0, kHuge, 4, {IDENTITY}, false), false},
      {"mask inside", MaskBlt(0, 0), true},
      {"mask origin far outside", MaskBlt(-kHuge, 0), false},
      {"mask smaller than the blit", MaskBlt(0, 0, 2), false},
      {"parallelogram of the bitmap", PlgBlt(8, 4), true},
      {"parallelogram of 2^31-1 points", PlgBlt(kHuge, 4), false},
      {"parallelogram source of 2^31-1", PlgBlt(8, kHuge), false},
      {"stretched DIB wider than its bitmap",
       EmfRecord(81, {BOUNDS, 0, 0, 0, 0, 3, 2, 80, 48, 128, 8, 0, 0xCC0020, 2, 2}, TinyDib()), false},
  };
  for (const auto& c : cases) EXPECT_EQ(EmfPasses(EmfWith(11, c.record)), c.passes) << c.blit;
}

TEST(PictureChecks, HeaderSizesThatDisagreeWithTheRecordsLeaveTheDecisionToTheWalk) {
  // A writer that counts the placeable header in the metafile's size (11 words more).
  Bytes wmf = Wmf(SoundWmfRecords(), 3, true);
  const uint32_t words = static_cast<uint32_t>((wmf.size() - 22) / 2);
  Set32(wmf, 22 + 6, words + 11);
  const kd::WmfLayout layout = kd::CheckWmfFile(wmf.data(), wmf.size());
  EXPECT_EQ(layout.metafile.size(), wmf.size() - 22);
  EXPECT_EQ(layout.metafile[6] | layout.metafile[7] << 8, static_cast<int>(words));
  // Trailing bytes after the end record are left out.
  wmf.resize(wmf.size() + 10, 0xEE);
  EXPECT_EQ(kd::CheckWmfFile(wmf.data(), wmf.size()).metafile.size(), layout.metafile.size());

  Bytes emf = Emf(SoundEmfRecords());
  const size_t size = emf.size();
  Set32(emf, 48, 0x7FFFFFFF);
  Set32(emf, 68, 300);  // palette entries the end record does not hold
  const Bytes sound = kd::CheckEmfFile(emf.data(), emf.size());
  EXPECT_EQ(sound.size(), size);
  EXPECT_EQ(sound[48] | sound[49] << 8, static_cast<int>(size));
  EXPECT_EQ(sound[68], 0);
  // Without its end record the file is refused.
  emf.resize(size - 20);
  EXPECT_FALSE(EmfPasses(emf));
}

namespace {

Bytes Bmp(uint32_t headerSize, int32_t width, int32_t height, uint16_t bits, uint32_t compression,
          size_t pixelBytes) {
  Bytes b = {'B', 'M'};
  Add32(b, 0);
  Add32(b, 0);
  Add32(b, 14 + headerSize + (bits <= 8 ? 4u << bits : 0));
  Add32(b, headerSize);
  Add32(b, static_cast<uint32_t>(width));
  Add32(b, static_cast<uint32_t>(height));
  Add16(b, 1);
  Add16(b, bits);
  Add32(b, compression);
  Add32(b, static_cast<uint32_t>(pixelBytes));
  b.resize(14 + headerSize + (bits <= 8 ? 4u << bits : 0) + pixelBytes, 0);
  return b;
}

Bytes Ico(const Bytes& image) {
  Bytes b;
  for (uint32_t v : {0u, 1u, 1u}) Add16(b, v);
  b.insert(b.end(), {32, 32, 0, 0});
  Add16(b, 1);
  Add16(b, 32);
  Add32(b, static_cast<uint32_t>(image.size()));
  Add32(b, 22);
  b.insert(b.end(), image.begin(), image.end());
  return b;
}

Bytes PngIcon(uint32_t width, uint32_t height) {
  Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (uint32_t v : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<uint8_t>(v >> shift));
  }
  b.insert(b.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});
  return b;
}

template <typename Check>
bool Passes(const Bytes& b, Check check) {
  try {
    check(b.data(), b.size());
    return true;
  } catch (const PictureError&) {
    return false;
  }
}

}  // namespace

TEST(PictureChecks, BmpAndIcoHeadersGoThroughOneCheckedReader) {
  EXPECT_TRUE(Passes(Bmp(40, 3, 2, 24, 0, 24), kd::CheckBmpFile));
  EXPECT_TRUE(Passes(Bmp(124, 3, -2, 8, 0, 8), kd::CheckBmpFile));
  Bytes profile = Bmp(124, 3, 2, 24, 0, 24);
  Set32(profile, 14 + 56, 0x4D424544);  // an embedded colour profile
  const struct {
    const char* fault;
    Bytes file;
  } bad[] = {
      {"unknown header size", Bmp(41, 3, 2, 24, 0, 16)},
      {"no width", Bmp(40, 0, 2, 24, 0, 16)},
      {"bit count 7", Bmp(40, 3, 2, 7, 0, 16)},
      {"top-down RLE", Bmp(40, 3, -2, 8, 1, 16)},
      {"65536 x 65536 pixels", Bmp(40, 65536, 65536, 1, 0, 16)},
      {"rows cut short", Bmp(40, 3, 2, 24, 0, 23)},
      {"JPEG inside", Bmp(40, 3, 2, 24, 4, 16)},
      {"embedded profile", profile},
  };
  for (const auto& c : bad) EXPECT_FALSE(Passes(c.file, kd::CheckBmpFile)) << c.fault;

  EXPECT_TRUE(Passes(Ico(PngIcon(32, 32)), kd::CheckIcoFile));
  EXPECT_FALSE(Passes(Ico(PngIcon(65536, 65536)), kd::CheckIcoFile)) << "PNG icon of 65536 x 65536";
  Bytes icon = Bmp(40, 32, 64, 32, 0, 32 * 32 * 4 + 32 * 4);
  icon.erase(icon.begin(), icon.begin() + 14);
  EXPECT_TRUE(Passes(Ico(icon), kd::CheckIcoFile));
  icon.resize(icon.size() - 1);
  EXPECT_FALSE(Passes(Ico(icon), kd::CheckIcoFile)) << "mask cut short";
}

// Every 16 and 32-bit field of the sound files set to hostile values in
// turn: what passes must pass again unchanged and lie inside the input.
TEST(PictureChecks, EveryFieldDamagedInTurnIsRefusedOrStaysSound) {
  const Bytes emf = Emf(SoundEmfRecords());
  const Bytes wmf = Wmf(SoundWmfRecords());
  int refused = 0;
  for (uint32_t value : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x8000u, 0u, 1u}) {
    for (size_t at = 0; at + 4 <= emf.size(); at += 4) {
      Bytes damaged = emf;
      Set32(damaged, at, value);
      try {
        const Bytes sound = kd::CheckEmfFile(damaged.data(), damaged.size());
        ASSERT_LE(sound.size(), damaged.size());
        ASSERT_EQ(kd::CheckEmfFile(sound.data(), sound.size()), sound) << at;
      } catch (const PictureError&) {
        ++refused;
      }
    }
    for (size_t at = 0; at + 2 <= wmf.size(); at += 2) {
      Bytes damaged = wmf;
      Set16(damaged, at, value);
      try {
        const kd::WmfLayout layout = kd::CheckWmfFile(damaged.data(), damaged.size());
        ASSERT_LE(layout.metafile.size(), damaged.size());
        ASSERT_EQ(kd::CheckWmfFile(layout.metafile.data(), layout.metafile.size()).metafile, layout.metafile);
      } catch (const PictureError&) {
        ++refused;
      }
    }
  }
  EXPECT_GT(refused, 500);
}
