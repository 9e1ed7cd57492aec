// Files the action tests write beside the test program: a scratch file that
// is deleted when the test lets go of it, a chart's picture saved to one and
// read back pixel by pixel, and a one-colour BMP to load as a back image.
#pragma once

#include <string>

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

// The chart's picture at its window size, saved to a scratch file.
class SavedPicture {
 public:
  SavedPicture(kd::TNeoChart& chart, const std::string& name);
  bool Saved() const { return saved_; }
  // The colour at (x, y), -1 when the file or the point is not there.
  long Pixel(int x, int y) const;

 private:
  ProgramFile file_;
  bool saved_ = false;
};

// Writes a 24-bit BMP of width x height filled with `color`.
bool WriteSolidBitmap(const std::string& path, int width, int height, kd::TColor color);

}  // namespace kdhost
