// Helpers for the pixel tests of the platform layer: scratch folders, BMP
// files read back, JPEG files made with libjpeg's compressor, pixel counting.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Color.h"
#include "engine/Geometry.h"

namespace kd::platform {
class GdiOffscreenImage;
}

namespace kdtest {

using Bytes = std::vector<unsigned char>;

// A fresh empty folder under the temporary folder, removed with its files
// when the object goes.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

bool FileExists(const std::string& path);
bool WriteBytes(const std::string& path, const Bytes& bytes);
Bytes ReadBytes(const std::string& path);

// An uncompressed 24 or 32-bit BMP file read back; empty when not one.
struct BmpFile {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  std::vector<kd::TColor> pixels;  // top-down
  kd::TColor At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
BmpFile ReadBmp(const std::string& path);

// How a JPEG is coded: progressive with libjpeg's usual script, or with
// `scans` scans (spectral bands of one coefficient, refined bit by bit);
// arithmetic instead of Huffman coding.
struct JpegCoding {
  bool progressive = false;
  bool arithmetic = false;
  int scans = 0;
};

// Top-down RGB pixels (kd::TColor) encoded as a JPEG (baseline unless
// `coding` says otherwise); `grey` stores one channel (the red one).
Bytes EncodeJpeg(const std::vector<kd::TColor>& pixels, int width, int height, int quality,
                 bool grey = false, const JpegCoding& coding = {});

// Pixels of an off-screen image in a rectangle, and counts over them.
std::vector<kd::TColor> PixelsIn(const kd::platform::GdiOffscreenImage& image, const kd::TRect& rect);
int CountColor(const kd::platform::GdiOffscreenImage& image, const kd::TRect& rect, kd::TColor color);
bool Near(kd::TColor a, kd::TColor b, int tolerance);

// Picture data made with GDI: a Windows metafile (placeable: 100 x 100 units
// at 96 per inch) and an enhanced metafile, each filling its 100 x 100 frame
// with `color`; an .ico file of one opaque 16 x 16 image in `color`.
Bytes MakeWmf(kd::TColor color, bool placeable);
Bytes MakeEmf(kd::TColor color);
Bytes MakeIco(kd::TColor color);

}  // namespace kdtest
