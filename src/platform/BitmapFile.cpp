// Implements WriteBitmapFile and ExportChartBitmap. The whole file is built in
// memory first, so a failing disk leaves at most a file we then delete.
// Not here: compression, palettes, reading.
#include "platform/BitmapFile.h"

#include <cstring>
#include <exception>
#include <vector>

#include "engine/Chart.h"

namespace kd::platform {
namespace {

void Put16(unsigned char* p, uint16_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}
void Put32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// Blue, green, red of pixel x in a source row.
void SourcePixel(const GdiOffscreenImage& image, const unsigned char* row, int x, unsigned char* bgr) {
  if (image.Monochrome()) {
    const unsigned char v = ((row[x / 8] >> (7 - x % 8)) & 1) ? 255 : 0;
    bgr[0] = bgr[1] = bgr[2] = v;
    return;
  }
  std::memcpy(bgr, row + 4 * x, 3);
}

std::vector<unsigned char> EncodeBitmap(const GdiOffscreenImage& image, int bitsPerPixel) {
  const int width = image.Width();
  const int height = image.Height();
  const int bytesPerPixel = bitsPerPixel / 8;
  const size_t stride = (static_cast<size_t>(width) * bytesPerPixel + 3) / 4 * 4;
  const size_t headers = 14 + 40;
  const size_t imageBytes = stride * height;
  std::vector<unsigned char> file(headers + imageBytes, 0);

  unsigned char* p = file.data();
  p[0] = 'B';
  p[1] = 'M';
  Put32(p + 2, static_cast<uint32_t>(file.size()));
  Put32(p + 10, static_cast<uint32_t>(headers));
  unsigned char* info = p + 14;
  Put32(info, 40);
  Put32(info + 4, static_cast<uint32_t>(width));
  Put32(info + 8, static_cast<uint32_t>(height));  // positive: bottom-up rows
  Put16(info + 12, 1);
  Put16(info + 14, static_cast<uint16_t>(bitsPerPixel));
  Put32(info + 16, BI_RGB);
  Put32(info + 20, static_cast<uint32_t>(imageBytes));
  Put32(info + 24, 3780);  // 96 dpi in pixels per metre
  Put32(info + 28, 3780);

  GdiFlush();
  for (int y = 0; y < height; ++y) {
    const unsigned char* source = image.Bits() + static_cast<size_t>(y) * image.Stride();
    unsigned char* dest = file.data() + headers + static_cast<size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) SourcePixel(image, source, x, dest + static_cast<size_t>(x) * bytesPerPixel);
  }
  return file;
}

bool WriteWholeFile(const std::string& fileName, const std::vector<unsigned char>& bytes) {
  HANDLE file = CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  size_t done = 0;
  bool ok = true;
  while (ok && done < bytes.size()) {
    DWORD wrote = 0;
    ok = WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &wrote, nullptr) &&
         wrote != 0;
    done += wrote;
  }
  ok = CloseHandle(file) && ok;
  if (!ok) DeleteFileA(fileName.c_str());
  return ok;
}

}  // namespace

bool WriteBitmapFile(const std::string& fileName, const GdiOffscreenImage& image, int bitsPerPixel) {
  if (bitsPerPixel != 24 && bitsPerPixel != 32) return false;
  if (fileName.empty()) return false;
  try {
    return WriteWholeFile(fileName, EncodeBitmap(image, bitsPerPixel));
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool ExportChartBitmap(TChart& chart, int width, int height, const std::string& fileName,
                       int bitsPerPixel) {
  try {
    std::unique_ptr<GdiOffscreenImage> image = GdiOffscreenImage::Create(width, height, false);
    if (!image) return false;
    // No pre-fill: the panel paints every pixel of its bounds.
    chart.DrawForExport(image->Device(), width, height);
    return WriteBitmapFile(fileName, *image, bitsPerPixel);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace kd::platform
