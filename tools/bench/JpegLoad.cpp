// bench_JpegLoad: how long loading takes for the largest JPEG pictures the
// decoder meets: 4096 x 3072 progressive (libjpeg's usual script, and 883
// scans), arithmetic-coded progressive, and ~100-byte arithmetic headers
// announcing 2^27 and 2^30 pixels. Refused pictures are timed to the refusal.
// Not a test: nothing here passes or fails.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchTiming.h"
#include "platform/Pictures.h"
#include "support/Pixels.h"

using kdtest::Bytes;
using kdtest::JpegCoding;

namespace {

std::vector<kd::TColor> Scene(int width, int height) {
  std::vector<kd::TColor> pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned noise = (static_cast<unsigned>(x) * 2654435761u ^ static_cast<unsigned>(y) * 40503u) >> 27;
      pixels[static_cast<size_t>(y) * width + x] = kd::RGBColor((x / 16) % 256, (y / 12) % 256, (x + y) % 200 + noise);
    }
  }
  return pixels;
}

// A small picture whose frame header announces width x height.
Bytes Announcing(int width, int height) {
  Bytes jpeg = kdtest::EncodeJpeg(Scene(8, 8), 8, 8, 50, false, JpegCoding{true, true, 0});
  for (size_t i = 0; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xCA) {  // SOF10: progressive, arithmetic
      jpeg[i + 5] = static_cast<unsigned char>(height >> 8), jpeg[i + 6] = static_cast<unsigned char>(height);
      jpeg[i + 7] = static_cast<unsigned char>(width >> 8), jpeg[i + 8] = static_cast<unsigned char>(width);
      break;
    }
  }
  return jpeg;
}

void Measure(const char* name, const Bytes& jpeg, int runs) {
  std::string outcome = "loads";
  const double ms = kdbench::MedianOf(runs, [&] {
    const double start = kdbench::NowMs();
    try {
      kd::platform::LoadPictureData(jpeg.data(), jpeg.size(), "jpg");
    } catch (const kd::PictureError& e) {
      outcome = std::string("refused: ") + e.what();
    }
    return kdbench::NowMs() - start;
  });
  std::printf("%-40s %9zu bytes %8.0f ms  %s\n", name, jpeg.size(), ms, outcome.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const int w = 4096, h = 3072;
  const auto scene = Scene(w, h);
  Measure("4096 x 3072 baseline", kdtest::EncodeJpeg(scene, w, h, 90), runs);
  Measure("4096 x 3072 progressive, 10 scans", kdtest::EncodeJpeg(scene, w, h, 90, false, {true, false, 0}), runs);
  Measure("4096 x 3072 progressive arithmetic", kdtest::EncodeJpeg(scene, w, h, 90, false, {true, true, 0}), runs);
  Measure("4096 x 3072 progressive, 883 scans", kdtest::EncodeJpeg(scene, w, h, 90, false, {true, false, 883}), runs);
  Measure("header announcing 16384 x 8192", Announcing(16384, 8192), runs);
  Measure("header announcing 32768 x 32768", Announcing(32768, 32768), runs);
  return 0;
}
