// Implements the picture loader and the three kinds of picture it makes:
// pixel pictures (bmp and jpeg, kept as 32-bit pixels), icons and metafiles
// (wmf converted to emf). Every header, table and record is checked against
// the file's length before GDI sees it, so a damaged file is refused instead
// of read past its end. Not here: gif, png, tiff; icons beyond the first image
// of an .ico file; saving.
#include "platform/Pictures.h"
#include "platform/ScreenMetrics.h"
#include "engine/TextHelpers.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/GdiDevice.h"
#include "platform/GdiObjects.h"
#include "platform/JpegDecoder.h"

namespace kd::platform {
namespace {

// Header of a top-down 32-bit DIB: the one pixel layout every picture ends in.
BITMAPINFO TopDownRgb32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}


using Bytes = std::vector<unsigned char>;

// More pixels than this are refused before any memory is taken for them.
constexpr unsigned long long kMaxPixels = 1ull << 27;
// Picture files larger than this are not read.
constexpr unsigned long long kMaxFileBytes = 256ull << 20;

[[noreturn]] void Refuse(const std::string& message) { throw PictureError(message); }

uint16_t U16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int32_t I32(const unsigned char* p) { return static_cast<int32_t>(U32(p)); }
int16_t I16(const unsigned char* p) { return static_cast<int16_t>(U16(p)); }

// ---------------------------------------------------------------- pictures

// Pixels kept in memory, top-down, 0x00RRGGBB: no GDI handle while loaded.
class PixelPicture : public TPicture, public GdiDrawable {
 public:
  PixelPicture(int width, int height, std::vector<uint32_t> pixels)
      : width_(width), height_(height), pixels_(std::move(pixels)) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }

  void DrawTo(HDC dc, const RECT& dest) const override {
    BITMAPINFO info = TopDownRgb32(width_, height_);
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, 0, 0,
                  width_, height_, pixels_.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
  }

 private:
  int width_;
  int height_;
  std::vector<uint32_t> pixels_;
};

class IconPicture : public TPicture, public GdiDrawable {
 public:
  IconPicture(Icon icon, int width, int height)
      : icon_(std::move(icon)), width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void DrawTo(HDC dc, const RECT& dest) const override {
    DrawIconEx(dc, dest.left, dest.top, icon_.Get(), dest.right - dest.left,
               dest.bottom - dest.top, 0, nullptr, DI_NORMAL);
  }

 private:
  Icon icon_;
  int width_;
  int height_;
};

class MetafilePicture : public TPicture, public GdiDrawable {
 public:
  MetafilePicture(EnhMetaFile metafile, int width, int height)
      : metafile_(std::move(metafile)), width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void DrawTo(HDC dc, const RECT& dest) const override {
    PlayEnhMetaFile(dc, metafile_.Get(), &dest);
  }

 private:
  EnhMetaFile metafile_;
  int width_;
  int height_;
};

// -------------------------------------------------------------------- bmp

struct BmpLayout {
  size_t headerSize = 0;   // bytes of the info header in the file
  int width = 0;
  int height = 0;          // negative: top-down
  int bitCount = 0;
  uint32_t compression = BI_RGB;
  size_t colorCount = 0;   // palette entries in the file
  size_t masksSize = 0;    // BITFIELDS masks after a 40-byte header
  size_t dataSize = 0;     // pixel bytes GDI may read
};

[[noreturn]] void RefuseBitmap() { Refuse("Bitmap image is not valid"); }

BmpLayout ReadBmpLayout(const unsigned char* data, size_t size) {
  if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') RefuseBitmap();
  BmpLayout layout;
  const unsigned char* info = data + 14;
  layout.headerSize = U32(info);
  const bool core = layout.headerSize == 12;
  if (!core && layout.headerSize != 40 && layout.headerSize != 52 && layout.headerSize != 56 &&
      layout.headerSize != 108 && layout.headerSize != 124) {
    RefuseBitmap();
  }
  if (14 + layout.headerSize > size) RefuseBitmap();
  int planes;
  if (core) {
    layout.width = U16(info + 4);
    layout.height = U16(info + 6);
    planes = U16(info + 8);
    layout.bitCount = U16(info + 10);
  } else {
    layout.width = I32(info + 4);
    layout.height = I32(info + 8);
    planes = U16(info + 12);
    layout.bitCount = U16(info + 14);
    layout.compression = U32(info + 16);
  }
  const int bits = layout.bitCount;
  if (planes != 1 || layout.width <= 0 || layout.height == 0 || layout.height == INT32_MIN) {
    RefuseBitmap();
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) RefuseBitmap();
  const unsigned long long rows = static_cast<unsigned long long>(std::abs(layout.height));
  if (static_cast<unsigned long long>(layout.width) * rows > kMaxPixels) RefuseBitmap();

  const uint32_t c = layout.compression;
  const bool rle = c == BI_RLE8 || c == BI_RLE4;
  if (!(c == BI_RGB || (c == BI_BITFIELDS && (bits == 16 || bits == 32)) ||
        (c == BI_RLE8 && bits == 8) || (c == BI_RLE4 && bits == 4))) {
    RefuseBitmap();
  }
  if (rle && layout.height < 0) RefuseBitmap();
  if (c == BI_BITFIELDS && layout.headerSize == 40) layout.masksSize = 12;

  const size_t offset = U32(data + 10);
  const size_t entrySize = core ? 3 : 4;
  if (bits <= 8) {
    const size_t full = size_t{1} << bits;
    if (core) {
      // The old header has no count: a full table, or what fits before the pixels.
      const size_t room = offset > 14 + 12 ? (offset - 14 - 12) / 3 : 0;
      layout.colorCount = std::max<size_t>(1, std::min(full, room));
    } else {
      const uint32_t used = U32(info + 32);
      if (used > full) RefuseBitmap();
      layout.colorCount = used != 0 ? used : full;
    }
  }
  const size_t tableEnd = 14 + layout.headerSize + layout.masksSize + layout.colorCount * entrySize;
  if (tableEnd > size) RefuseBitmap();

  if (offset < tableEnd || offset > size) RefuseBitmap();
  if (rle) {
    layout.dataSize = U32(info + 20);
    if (layout.dataSize == 0) RefuseBitmap();
  } else {
    const unsigned long long stride = (static_cast<unsigned long long>(layout.width) * bits + 31) / 32 * 4;
    layout.dataSize = static_cast<size_t>(stride * rows);
  }
  if (layout.dataSize > size - offset) RefuseBitmap();  // truncated
  return layout;
}

// The file's header as a BITMAPINFO GDI reads, the palette widened to RGBQUAD
// for the old core header.
Bytes BmpInfoFor(const unsigned char* data, const BmpLayout& layout) {
  const unsigned char* info = data + 14;
  const size_t tableBytes = layout.masksSize + layout.colorCount * 4;
  if (layout.headerSize != 12) {
    Bytes out(info, info + layout.headerSize + tableBytes);
    return out;
  }
  Bytes out(sizeof(BITMAPINFOHEADER) + tableBytes, 0);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = layout.width;
  header.biHeight = layout.height;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(layout.bitCount);
  header.biCompression = BI_RGB;
  header.biClrUsed = static_cast<DWORD>(layout.colorCount);
  std::memcpy(out.data(), &header, sizeof header);
  const unsigned char* triples = info + 12;
  for (size_t i = 0; i < layout.colorCount; ++i) {
    unsigned char* quad = out.data() + sizeof header + 4 * i;
    std::memcpy(quad, triples + 3 * i, 3);
  }
  return out;
}

std::unique_ptr<TPicture> LoadBmp(const unsigned char* data, size_t size) {
  const BmpLayout layout = ReadBmpLayout(data, size);
  Bytes info = BmpInfoFor(data, layout);
  if (layout.headerSize != 12) {
    // GDI sizes RLE data by biSizeImage; the layout checked it against the file.
    reinterpret_cast<BITMAPINFOHEADER*>(info.data())->biSizeImage = static_cast<DWORD>(layout.dataSize);
  }
  const int width = layout.width;
  const int height = std::abs(layout.height);

  MemoryDC dc(CreateCompatibleDC(nullptr));
  if (!dc) Refuse("Out of system resources");
  BITMAPINFO target = TopDownRgb32(width, height);
  void* bits = nullptr;
  Bitmap bitmap(CreateDIBSection(dc.Get(), &target, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) Refuse("Out of system resources");
  const unsigned char* pixelData = data + U32(data + 10);
  const int copied = SetDIBits(dc.Get(), bitmap.Get(), 0, static_cast<UINT>(height), pixelData,
                               reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
  if (copied <= 0) RefuseBitmap();
  GdiFlush();
  const auto* source = static_cast<const uint32_t*>(bits);
  std::vector<uint32_t> pixels(source, source + static_cast<size_t>(width) * height);
  for (uint32_t& p : pixels) p &= 0x00FFFFFFu;  // a 32-bit file may carry alpha
  return std::make_unique<PixelPicture>(width, height, std::move(pixels));
}

// -------------------------------------------------------------------- jpeg

std::unique_ptr<TPicture> LoadJpeg(const unsigned char* data, size_t size) {
  DecodedImage image;
  std::string error;
  if (!DecodeJpeg(data, size, image, error)) Refuse("JPEG error: " + error);
  return std::make_unique<PixelPicture>(image.width, image.height, std::move(image.pixels));
}

// -------------------------------------------------------------------- ico

[[noreturn]] void RefuseIcon() { Refuse("Icon image is not valid"); }

// The bitmap form of an icon image must hold its header, palette and both
// masks (the stored height counts both).
void CheckIconImage(const unsigned char* image, size_t bytes) {
  static const unsigned char kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes >= 8 && std::memcmp(image, kPng, 8) == 0) return;  // checked by the platform's decoder
  if (bytes < 40 || U32(image) != 40) RefuseIcon();
  const int width = I32(image + 4);
  const int height = I32(image + 8);
  const int bitCount = U16(image + 14);
  if (width <= 0 || height <= 0 || width > 1024 || height > 2048) RefuseIcon();
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
      bitCount != 32) {
    RefuseIcon();
  }
  const uint32_t used = U32(image + 32);
  const size_t colors = bitCount <= 8 ? (used != 0 ? used : (size_t{1} << bitCount)) : used;
  const size_t rows = static_cast<size_t>(height) / 2;
  const size_t colorStride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
  const size_t maskStride = (static_cast<size_t>(width) + 31) / 32 * 4;
  const size_t need = 40 + colors * 4 + (colorStride + maskStride) * rows;
  if (need > bytes) RefuseIcon();
}

std::unique_ptr<TPicture> LoadIco(const unsigned char* data, size_t size) {
  if (size < 6 + 16 || U16(data) != 0 || U16(data + 2) != 1) RefuseIcon();
  const size_t count = U16(data + 4);
  if (count == 0 || 6 + 16 * count > size) RefuseIcon();
  // The first image of the file, as the platform's icon pictures show.
  const unsigned char* entry = data + 6;
  const int width = entry[0] == 0 ? 256 : entry[0];
  const int height = entry[1] == 0 ? 256 : entry[1];
  const size_t bytes = U32(entry + 8);
  const size_t offset = U32(entry + 12);
  if (bytes == 0 || offset > size || bytes > size - offset) RefuseIcon();
  CheckIconImage(data + offset, bytes);
  Icon icon(CreateIconFromResourceEx(const_cast<PBYTE>(data + offset), static_cast<DWORD>(bytes),
                                     TRUE, 0x00030000, width, height, LR_DEFAULTCOLOR));
  if (!icon) RefuseIcon();
  return std::make_unique<IconPicture>(std::move(icon), width, height);
}

// -------------------------------------------------------------- metafiles

[[noreturn]] void RefuseMetafile() { Refuse("Metafile is not valid"); }

std::unique_ptr<TPicture> MetafilePictureOf(EnhMetaFile metafile) {
  ENHMETAHEADER header{};
  if (GetEnhMetaFileHeader(metafile.Get(), sizeof header, &header) == 0) RefuseMetafile();
  // The frame is in hundredths of a millimetre, inclusive.
  int width = MulDiv(header.rclFrame.right - header.rclFrame.left, ScreenPixelsPerInch(LOGPIXELSX), 2540);
  int height = MulDiv(header.rclFrame.bottom - header.rclFrame.top, ScreenPixelsPerInch(LOGPIXELSY), 2540);
  if (width <= 0 || height <= 0) {
    width = header.rclBounds.right - header.rclBounds.left + 1;
    height = header.rclBounds.bottom - header.rclBounds.top + 1;
  }
  return std::make_unique<MetafilePicture>(std::move(metafile), std::max(width, 0), std::max(height, 0));
}

// Walks the records of a Windows metafile; true when they end with the
// end-of-file record inside the stated size.
size_t CheckedWmfSize(const unsigned char* data, size_t size) {
  if (size < 18) RefuseMetafile();
  const uint16_t type = U16(data);
  const uint16_t headerWords = U16(data + 2);
  const uint16_t version = U16(data + 4);
  const unsigned long long bytes = 2ull * U32(data + 6);
  if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x100 && version != 0x300)) {
    RefuseMetafile();
  }
  if (bytes < 18 || bytes > size) RefuseMetafile();
  size_t pos = 18;
  while (pos + 6 <= bytes) {
    const unsigned long long recordBytes = 2ull * U32(data + pos);
    const uint16_t function = U16(data + pos + 4);
    if (recordBytes < 6 || recordBytes > bytes - pos) RefuseMetafile();
    if (function == 0) return static_cast<size_t>(bytes);  // META_EOF
    pos += static_cast<size_t>(recordBytes);
  }
  RefuseMetafile();
}

std::unique_ptr<TPicture> LoadWmf(const unsigned char* data, size_t size) {
  constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;
  constexpr size_t kPlaceableSize = 22;
  METAFILEPICT pict{};
  const METAFILEPICT* pictPtr = nullptr;
  int placedWidth = 0, placedHeight = 0;
  if (size >= 4 && U32(data) == kPlaceableKey) {
    if (size < kPlaceableSize) RefuseMetafile();
    uint16_t checksum = 0;
    for (int i = 0; i < 10; ++i) checksum ^= U16(data + 2 * i);
    if (checksum != U16(data + 20)) RefuseMetafile();
    const int left = I16(data + 6), top = I16(data + 8), right = I16(data + 10), bottom = I16(data + 12);
    const int inch = U16(data + 14);
    if (inch == 0) RefuseMetafile();
    const int width = std::abs(right - left);
    const int height = std::abs(bottom - top);
    pict.mm = MM_ANISOTROPIC;
    pict.xExt = MulDiv(width, 2540, inch);
    pict.yExt = MulDiv(height, 2540, inch);
    pictPtr = &pict;
    placedWidth = MulDiv(width, ScreenPixelsPerInch(LOGPIXELSX), inch);
    placedHeight = MulDiv(height, ScreenPixelsPerInch(LOGPIXELSY), inch);
    data += kPlaceableSize;
    size -= kPlaceableSize;
  }
  const size_t bytes = CheckedWmfSize(data, size);
  EnhMetaFile metafile(SetWinMetaFileBits(static_cast<UINT>(bytes), data, nullptr, pictPtr));
  if (!metafile) RefuseMetafile();
  if (pictPtr == nullptr) return MetafilePictureOf(std::move(metafile));
  return std::make_unique<MetafilePicture>(std::move(metafile), placedWidth, placedHeight);
}

std::unique_ptr<TPicture> LoadEmf(const unsigned char* data, size_t size) {
  constexpr uint32_t kSignature = 0x464D4520u;  // " EMF"
  if (size < 88 || U32(data) != EMR_HEADER || U32(data + 40) != kSignature) RefuseMetafile();
  const size_t headerBytes = U32(data + 4);
  const size_t bytes = U32(data + 48);
  if (headerBytes < 88 || headerBytes > bytes || bytes > size) RefuseMetafile();
  size_t pos = 0;
  bool ended = false;
  while (pos + 8 <= bytes) {
    const uint32_t type = U32(data + pos);
    const size_t recordBytes = U32(data + pos + 4);
    if (recordBytes < 8 || recordBytes % 4 != 0 || recordBytes > bytes - pos) RefuseMetafile();
    pos += recordBytes;
    if (type == EMR_EOF) {
      ended = true;
      break;
    }
  }
  if (!ended) RefuseMetafile();
  EnhMetaFile metafile(SetEnhMetaFileBits(static_cast<UINT>(pos), data));
  if (!metafile) RefuseMetafile();
  return MetafilePictureOf(std::move(metafile));
}

// ---------------------------------------------------------------- files

std::string ExtensionOf(const std::string& fileName) {
  const size_t slash = fileName.find_last_of("\\/:");
  const size_t dot = fileName.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return fileName.substr(dot + 1);
}

bool IsKnownExtension(const std::string& lower) {
  return lower == "bmp" || lower == "ico" || lower == "wmf" || lower == "emf" || lower == "jpg" ||
         lower == "jpeg";
}

[[noreturn]] void RefuseExtension(const std::string& extension) {
  char message[300];
  std::snprintf(message, sizeof message, "Unknown picture file extension (.%s)",
                extension.substr(0, 200).c_str());
  Refuse(message);
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : handle_(h) {}
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

Bytes ReadWholeFile(const std::string& fileName) {
  FileHandle file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) Refuse("Cannot open file \"" + fileName + "\"");
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > kMaxFileBytes) {
    Refuse("Cannot read file \"" + fileName + "\"");
  }
  Bytes bytes(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got,
                  nullptr) ||
        got == 0) {
      Refuse("Cannot read file \"" + fileName + "\"");
    }
    done += got;
  }
  return bytes;
}

}  // namespace

std::unique_ptr<TPicture> LoadPictureData(const unsigned char* data, size_t size,
                                          const std::string& extension) {
  const std::string kind = AsciiLowerText(extension);
  if (!IsKnownExtension(kind)) RefuseExtension(extension);
  if (data == nullptr || size == 0) Refuse("Picture file is empty");
  try {
    if (kind == "bmp") return LoadBmp(data, size);
    if (kind == "ico") return LoadIco(data, size);
    if (kind == "wmf") return LoadWmf(data, size);
    if (kind == "emf") return LoadEmf(data, size);
    return LoadJpeg(data, size);
  } catch (const std::bad_alloc&) {
    Refuse("Not enough memory for the picture");
  }
}

std::unique_ptr<TPicture> LoadPictureFile(const std::string& fileName) {
  const std::string extension = ExtensionOf(fileName);
  if (!IsKnownExtension(AsciiLowerText(extension))) RefuseExtension(extension);
  Bytes bytes;
  try {
    bytes = ReadWholeFile(fileName);
  } catch (const std::bad_alloc&) {
    Refuse("Not enough memory for the picture");
  }
  return LoadPictureData(bytes.data(), bytes.size(), extension);
}

}  // namespace kd::platform
