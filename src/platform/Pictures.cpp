// Implements the picture loader and the three kinds of picture it makes:
// pixel pictures (bmp and jpeg, kept as 32-bit pixels), icons and metafiles
// (wmf converted to emf). Every header, table and record passes the portable
// checks before GDI sees it, so a damaged file is refused instead of read past
// its end. Not here: the checks themselves, metafile playback bounds
// (MetafilePlayback); gif, png, tiff; icons beyond the first image of an .ico
// file; saving.
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
#include "platform/MetafilePlayback.h"

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

// Picture files larger than this are not read.
constexpr unsigned long long kMaxFileBytes = 256ull << 20;

[[noreturn]] void Refuse(const std::string& message) { throw PictureError(message); }


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
  void DrawTo(HDC dc, const RECT& dest) const override { player_.Play(dc, metafile_.Get(), dest); }

 private:
  EnhMetaFile metafile_;
  int width_;
  int height_;
  mutable BoundedMetafilePlayer player_;
};

// -------------------------------------------------------------------- bmp

[[noreturn]] void RefuseBitmap() { Refuse("Bitmap image is not valid"); }

// The file's header as a BITMAPINFO GDI reads, the palette widened to RGBQUAD
// for the old core header.
Bytes BmpInfoFor(const unsigned char* data, const DibLayout& layout) {
  const unsigned char* info = data + 14;
  const size_t tableBytes = layout.masksSize + layout.colorCount * 4;
  if (layout.headerSize != 12) {
    Bytes out(info, info + layout.headerSize + tableBytes);
    // GDI sizes RLE data by biSizeImage; the checks held it against the file.
    reinterpret_cast<BITMAPINFOHEADER*>(out.data())->biSizeImage = static_cast<DWORD>(layout.BitsSize());
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
  const BmpLayout file = CheckBmpFile(data, size);
  const DibLayout& layout = file.dib;
  Bytes info = BmpInfoFor(data, layout);
  const int width = layout.width;
  const int height = std::abs(layout.height);

  MemoryDC dc(CreateCompatibleDC(nullptr));
  if (!dc) Refuse("Out of system resources");
  BITMAPINFO target = TopDownRgb32(width, height);
  void* bits = nullptr;
  Bitmap bitmap(CreateDIBSection(dc.Get(), &target, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) Refuse("Out of system resources");
  const unsigned char* pixelData = data + file.bitsOffset;
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

std::unique_ptr<TPicture> LoadIco(const unsigned char* data, size_t size) {
  const IconLayout layout = CheckIcoFile(data, size);
  Icon icon(CreateIconFromResourceEx(const_cast<PBYTE>(data + layout.offset),
                                     static_cast<DWORD>(layout.bytes), TRUE, 0x00030000,
                                     layout.width, layout.height, LR_DEFAULTCOLOR));
  if (!icon) Refuse("Icon image is not valid");
  return std::make_unique<IconPicture>(std::move(icon), layout.width, layout.height);
}

// -------------------------------------------------------------- metafiles

[[noreturn]] void RefuseMetafile() { Refuse("Metafile is not valid"); }

// What GDI made of a metafile passes the record walk too: a Windows
// metafile is converted by playing it, and may carry an enhanced one inside.
EnhMetaFile CheckedByWalk(EnhMetaFile metafile) {
  if (!metafile) RefuseMetafile();
  const UINT bytes = GetEnhMetaFileBits(metafile.Get(), 0, nullptr);
  if (bytes == 0) RefuseMetafile();
  Bytes copy(bytes);
  if (GetEnhMetaFileBits(metafile.Get(), bytes, copy.data()) != bytes) RefuseMetafile();
  CheckEmfFile(copy.data(), copy.size());
  return metafile;
}

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

std::unique_ptr<TPicture> LoadWmf(const unsigned char* data, size_t size) {
  const WmfLayout layout = CheckWmfFile(data, size);
  METAFILEPICT pict{};
  const METAFILEPICT* pictPtr = nullptr;
  const int width = std::abs(layout.right - layout.left);
  const int height = std::abs(layout.bottom - layout.top);
  if (layout.placeable) {
    pict.mm = MM_ANISOTROPIC;
    pict.xExt = MulDiv(width, 2540, layout.unitsPerInch);
    pict.yExt = MulDiv(height, 2540, layout.unitsPerInch);
    pictPtr = &pict;
  }
  EnhMetaFile metafile = CheckedByWalk(EnhMetaFile(SetWinMetaFileBits(
      static_cast<UINT>(layout.metafile.size()), layout.metafile.data(), nullptr, pictPtr)));
  if (!layout.placeable) return MetafilePictureOf(std::move(metafile));
  return std::make_unique<MetafilePicture>(std::move(metafile),
                                           MulDiv(width, ScreenPixelsPerInch(LOGPIXELSX), layout.unitsPerInch),
                                           MulDiv(height, ScreenPixelsPerInch(LOGPIXELSY), layout.unitsPerInch));
}

std::unique_ptr<TPicture> LoadEmf(const unsigned char* data, size_t size) {
  const Bytes sound = CheckEmfFile(data, size);
  EnhMetaFile metafile(SetEnhMetaFileBits(static_cast<UINT>(sound.size()), sound.data()));
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
