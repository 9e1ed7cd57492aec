// JPEG decoding through libjpeg into plain 32-bit pixels. Refuses corrupt and
// truncated data instead of letting libjpeg exit the process. Not here: the
// bitmap made from the pixels (Pictures) and JPEG writing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kd::platform {

// Top-down rows, one 0x00RRGGBB value per pixel (the byte order of a 32-bit DIB).
struct DecodedImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

// True and `out` filled on success; false with libjpeg's message in `error`
// otherwise, `out` then left as it was.
bool DecodeJpeg(const unsigned char* data, size_t size, DecodedImage& out, std::string& error);

}  // namespace kd::platform
