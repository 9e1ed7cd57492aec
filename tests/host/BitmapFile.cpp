// The BMP writer: exact pixels at both depths, odd widths (row padding), a
// one-bit image written in colour depth, and refused requests.
#include <gtest/gtest.h>

#include "platform/BitmapFile.h"
#include "platform/GdiDevice.h"
#include "support/Pixels.h"

using namespace kd;
using namespace kd::platform;

namespace {

TColor Pattern(int x, int y) { return RGBColor(x * 7, y * 11, (x * y) & 0xFF); }

}  // namespace

TEST(BitmapFileWriter, WritesEveryPixelAtBothDepthsWithPaddedRows) {
  kdtest::ScratchFolder folder;
  const int width = 13, height = 9;  // 13 * 3 bytes: rows need padding at 24 bits
  auto image = GdiOffscreenImage::Create(width, height, false);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) SetPixelV(image->DC(), x, y, static_cast<COLORREF>(Pattern(x, y)));
  }
  for (int bits : {24, 32}) {
    const std::string path = folder.File("p" + std::to_string(bits) + ".bmp");
    ASSERT_TRUE(WriteBitmapFile(path, *image, bits));
    const kdtest::BmpFile file = kdtest::ReadBmp(path);
    ASSERT_EQ(file.width, width);
    ASSERT_EQ(file.height, height);
    EXPECT_EQ(file.bitsPerPixel, bits);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) ASSERT_EQ(file.At(x, y), Pattern(x, y)) << bits << ": " << x << "," << y;
    }
    const size_t stride = bits == 24 ? 40 : 52;
    EXPECT_EQ(kdtest::ReadBytes(path).size(), 54 + stride * height);
  }
}

TEST(BitmapFileWriter, OneBitImageIsWrittenAsBlackAndWhitePixels) {
  kdtest::ScratchFolder folder;
  auto mono = GdiOffscreenImage::Create(40, 3, true);
  PatBlt(mono->DC(), 0, 0, 40, 3, WHITENESS);
  PatBlt(mono->DC(), 0, 1, 37, 1, BLACKNESS);
  ASSERT_TRUE(WriteBitmapFile(folder.File("m.bmp"), *mono));
  const kdtest::BmpFile file = kdtest::ReadBmp(folder.File("m.bmp"));
  ASSERT_EQ(file.bitsPerPixel, 24);
  EXPECT_EQ(file.At(0, 0), clWhite);
  EXPECT_EQ(file.At(36, 1), clBlack);
  EXPECT_EQ(file.At(37, 1), clWhite);
  EXPECT_EQ(file.At(39, 2), clWhite);
}

TEST(BitmapFileWriter, RefusesWhatItCannotWrite) {
  kdtest::ScratchFolder folder;
  auto image = GdiOffscreenImage::Create(4, 4, false);
  EXPECT_FALSE(WriteBitmapFile(folder.File("x.bmp"), *image, 16));
  EXPECT_FALSE(kdtest::FileExists(folder.File("x.bmp")));
  EXPECT_FALSE(WriteBitmapFile("", *image));
  EXPECT_FALSE(WriteBitmapFile(folder.File("missing\\x.bmp"), *image));
  EXPECT_FALSE(kdtest::FileExists(folder.File("missing")));
  EXPECT_FALSE(WriteBitmapFile(folder.Path(), *image)) << "a folder is no file";
}
