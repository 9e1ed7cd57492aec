// Fuzz target: the picture checks on arbitrary bytes, the format picked by
// the bytes themselves (BMP, ICO, enhanced metafile, else Windows metafile).
// What a check accepts must pass the same check again unchanged.
#include <cstring>

#include "formats/PictureChecks.h"

namespace {

void CheckWmf(const uint8_t* data, size_t size) {
  const kd::WmfLayout layout = kd::CheckWmfFile(data, size);
  const kd::WmfLayout again = kd::CheckWmfFile(layout.metafile.data(), layout.metafile.size());
  if (again.metafile != layout.metafile) __builtin_trap();
}

void CheckEmf(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> sound = kd::CheckEmfFile(data, size);
  if (kd::CheckEmfFile(sound.data(), sound.size()) != sound) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const uint8_t kIco[4] = {0, 0, 1, 0};
  try {
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
      kd::CheckBmpFile(data, size);
    } else if (size >= 4 && std::memcmp(data, kIco, 4) == 0) {
      const kd::IconLayout icon = kd::CheckIcoFile(data, size);
      if (icon.offset + icon.bytes > size) __builtin_trap();
    } else if (size >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0 && data[3] == 0) {
      CheckEmf(data, size);
    } else {
      CheckWmf(data, size);
    }
  } catch (const kd::PictureError&) {
  }
  return 0;
}
