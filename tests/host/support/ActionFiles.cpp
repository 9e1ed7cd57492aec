#include "ActionFiles.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <vector>

#include "ChartHost.h"
#include "PlugInModule.h"

namespace kdhost {

ProgramFile::ProgramFile(const std::string& name) : path_(ProgramFolder() + name) {
  DeleteFileA(path_.c_str());
}

ProgramFile::~ProgramFile() { DeleteFileA(path_.c_str()); }

SavedPicture::SavedPicture(kd::TNeoChart& chart, const std::string& name) {
  ProgramFile file(name);
  if (chart.SaveBitmap(file.Path())) bitmap_ = kdtest::ReadBmp(file.Path());
}

long SavedPicture::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= bitmap_.width || y >= bitmap_.height) return -1;
  return bitmap_.At(x, y);
}

int SavedPicture::Count(kd::TColor color, kd::TRect rect) const {
  int count = 0;
  for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, bitmap_.height); ++y)
    for (int x = std::max(rect.left, 0); x < std::min(rect.right, bitmap_.width); ++x)
      count += bitmap_.At(x, y) == color;
  return count;
}

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
