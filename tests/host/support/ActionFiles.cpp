#include "ActionFiles.h"

#include <windows.h>

#include <fstream>
#include <vector>

#include "ChartHost.h"
#include "PlugInModule.h"

namespace kdhost {

ProgramFile::ProgramFile(const std::string& name) : path_(ProgramFolder() + name) {
  DeleteFileA(path_.c_str());
}

ProgramFile::~ProgramFile() { DeleteFileA(path_.c_str()); }

SavedPicture::SavedPicture(kd::TNeoChart& chart, const std::string& name)
    : file_(name), saved_(chart.SaveBitmap(file_.Path())) {}

long SavedPicture::Pixel(int x, int y) const { return BitmapPixel(file_.Path(), x, y); }

bool WriteSolidBitmap(const std::string& path, int width, int height, kd::TColor color) {
  const int stride = (width * 3 + 3) & ~3;
  const unsigned imageSize = static_cast<unsigned>(stride * height);
  std::vector<unsigned char> bytes(54 + imageSize, 0);
  auto put32 = [&](size_t at, unsigned value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<unsigned>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<unsigned>(width));
  put32(22, static_cast<unsigned>(height));
  bytes[26] = 1;   // planes
  bytes[28] = 24;  // bits per pixel
  put32(34, imageSize);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      unsigned char* pixel = &bytes[54 + y * stride + x * 3];
      pixel[0] = static_cast<unsigned char>(kd::BlueOf(color));
      pixel[1] = static_cast<unsigned char>(kd::GreenOf(color));
      pixel[2] = static_cast<unsigned char>(kd::RedOf(color));
    }
  }
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace kdhost
