// Files the action tests write beside the test program: a scratch file that
// is deleted when the test lets go of it, a chart's picture saved to one and
// read back pixel by pixel, and a one-colour BMP to load as a back image.
#pragma once

#include <string>

#include "Pixels.h"
#include "charts/NeoChart.h"
#include "engine/Color.h"

namespace kdhost {

class ProgramFile {
 public:
  explicit ProgramFile(const std::string& name);
  ~ProgramFile();
  ProgramFile(const ProgramFile&) = delete;
  ProgramFile& operator=(const ProgramFile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The chart's picture at its window size, saved to a scratch file and read back.
class SavedPicture {
 public:
  SavedPicture(kd::TNeoChart& chart, const std::string& name);
  bool Saved() const { return !bitmap_.pixels.empty(); }
  // The colour at (x, y), -1 when the file or the point is not there.
  long Pixel(int x, int y) const;
  // Pixels of exactly `color` in the rectangle (the whole picture by default).
  int Count(kd::TColor color, kd::TRect rect = {0, 0, 1 << 20, 1 << 20}) const;

 private:
  kdtest::BmpFile bitmap_;
};

// Writes a 24-bit BMP of width x height filled with `color`.
bool WriteSolidBitmap(const std::string& path, int width, int height, kd::TColor color);

}  // namespace kdhost
