// The picture loader on files made at run time: BMP (written by the module's
// own writer, plus hand-made palette, RLE and core-header files), JPEG (made
// with libjpeg's compressor), icons and both metafile kinds; damaged files of
// every kind refused; unknown extensions; the live GDI object count.
#include <gtest/gtest.h>

#include <memory>

#include "platform/BitmapFile.h"
#include "platform/GdiDevice.h"
#include "platform/Pictures.h"
#include "platform/ResourceCounters.h"
#include "support/Pixels.h"

using namespace kd;
using namespace kd::platform;
using kdtest::Bytes;

namespace {

constexpr TColor kRed = RGBColor(255, 0, 0);
constexpr TColor kGreen = RGBColor(0, 255, 0);
constexpr TColor kBlue = RGBColor(0, 0, 255);
constexpr TColor kYellow = RGBColor(255, 255, 0);

// Quadrants: red top-left, green top-right, blue bottom-left, yellow bottom-right.
TColor QuadrantColor(int x, int y, int width, int height) {
  const bool right = x >= width / 2, bottom = y >= height / 2;
  if (!bottom) return right ? kGreen : kRed;
  return right ? kYellow : kBlue;
}

std::vector<TColor> QuadrantPixels(int width, int height) {
  std::vector<TColor> pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(QuadrantColor(x, y, width, height));
  }
  return pixels;
}

std::unique_ptr<GdiOffscreenImage> QuadrantImage(int width, int height) {
  auto image = GdiOffscreenImage::Create(width, height, false);
  TDevice& device = image->Device();
  for (int q = 0; q < 4; ++q) {
    const int x0 = (q % 2) * (width / 2), y0 = (q / 2) * (height / 2);
    TChartBrush brush;
    brush.color = QuadrantColor(x0, y0, width, height);
    device.SetBrush(brush);
    device.FillRect(MakeRect(x0, y0, q % 2 ? width : width / 2, q / 2 ? height : height / 2));
  }
  return image;
}

// Draws the picture stretched over a fresh white w x h image.
std::unique_ptr<GdiOffscreenImage> Render(const TPicture& picture, int width, int height) {
  auto image = GdiOffscreenImage::Create(width, height, false);
  PatBlt(image->DC(), 0, 0, width, height, WHITENESS);
  image->Device().DrawPicture(picture, MakeRect(0, 0, width, height));
  return image;
}

void ExpectQuadrants(const GdiOffscreenImage& image, int tolerance) {
  const int w = image.Width(), h = image.Height();
  EXPECT_TRUE(kdtest::Near(image.PixelAt(w / 4, h / 4), kRed, tolerance));
  EXPECT_TRUE(kdtest::Near(image.PixelAt(3 * w / 4, h / 4), kGreen, tolerance));
  EXPECT_TRUE(kdtest::Near(image.PixelAt(w / 4, 3 * h / 4), kBlue, tolerance));
  EXPECT_TRUE(kdtest::Near(image.PixelAt(3 * w / 4, 3 * h / 4), kYellow, tolerance));
}

std::string RefusalOf(const std::string& path) {
  try {
    LoadPictureFile(path);
  } catch (const PictureError& e) {
    return e.what();
  }
  return "";
}

void Put16(Bytes& b, size_t at, int v) {
  b[at] = static_cast<unsigned char>(v);
  b[at + 1] = static_cast<unsigned char>(v >> 8);
}
void Put32(Bytes& b, size_t at, int v) {
  for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<unsigned char>(v >> (8 * i));
}

// An 8-bit BMP of 4 x 2 pixels, palette red, green, blue, yellow; `rle`
// stores the rows run-length encoded, `core` uses the old 12-byte header.
Bytes PaletteBmp(bool rle, bool core, bool topDown) {
  const int headerSize = core ? 12 : 40, entry = core ? 3 : 4;
  const TColor palette[4] = {kRed, kGreen, kBlue, kYellow};
  // Bottom row (stored first when bottom-up): blue blue yellow yellow.
  const Bytes bottom = {2, 2, 3, 3}, top = {0, 0, 1, 1};
  Bytes data;
  if (rle) {
    data = {2, 2, 2, 3, 0, 0, 2, 0, 2, 1, 0, 1};  // runs, end of line, runs, end of bitmap
  } else {
    const Bytes& first = topDown ? top : bottom;
    const Bytes& second = topDown ? bottom : top;
    data.insert(data.end(), first.begin(), first.end());
    data.insert(data.end(), second.begin(), second.end());
  }
  const int offset = 14 + headerSize + 4 * entry;
  Bytes b(static_cast<size_t>(offset), 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 10, offset);
  Put32(b, 14, headerSize);
  if (core) {
    Put16(b, 18, 4);
    Put16(b, 20, 2);
    Put16(b, 22, 1);
    Put16(b, 24, 8);
  } else {
    Put32(b, 18, 4);
    Put32(b, 22, topDown ? -2 : 2);
    Put16(b, 26, 1);
    Put16(b, 28, 8);
    Put32(b, 30, rle ? BI_RLE8 : BI_RGB);
    Put32(b, 34, static_cast<int>(data.size()));
    Put32(b, 46, 4);  // colours used
  }
  for (int i = 0; i < 4; ++i) {
    unsigned char* p = &b[14 + headerSize + entry * i];
    p[0] = static_cast<unsigned char>(BlueOf(palette[i]));
    p[1] = static_cast<unsigned char>(GreenOf(palette[i]));
    p[2] = static_cast<unsigned char>(RedOf(palette[i]));
  }
  b.insert(b.end(), data.begin(), data.end());
  Put32(b, 2, static_cast<int>(b.size()));
  return b;
}

Bytes Truncated(const Bytes& bytes, size_t keep) { return Bytes(bytes.begin(), bytes.begin() + keep); }

class PicturesTest : public testing::Test {
 protected:
  std::string Write(const std::string& name, const Bytes& bytes) {
    const std::string path = folder_.File(name);
    EXPECT_TRUE(kdtest::WriteBytes(path, bytes));
    return path;
  }
  std::string QuadrantJpeg(const std::string& name) {
    return Write(name, kdtest::EncodeJpeg(QuadrantPixels(64, 48), 64, 48, 95));
  }
  std::string QuadrantBmp(const std::string& name, int bitsPerPixel) {
    auto image = QuadrantImage(40, 30);
    const std::string path = folder_.File(name);
    EXPECT_TRUE(WriteBitmapFile(path, *image, bitsPerPixel));
    return path;
  }

  kdtest::ScratchFolder folder_;
};

}  // namespace

TEST_F(PicturesTest, BmpFromTheModulesWriterLoadsAtItsSizeAndStretches) {
  for (int bits : {24, 32}) {
    SCOPED_TRACE(bits);
    auto picture = LoadPictureFile(QuadrantBmp("q" + std::to_string(bits) + ".bmp", bits));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 40);
    EXPECT_EQ(picture->Height(), 30);
    auto same = Render(*picture, 40, 30);
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) ASSERT_EQ(same->PixelAt(x, y), QuadrantColor(x, y, 40, 30)) << x << "," << y;
    }
    ExpectQuadrants(*Render(*picture, 160, 90), 0);
  }
}

TEST_F(PicturesTest, PaletteRleAndCoreHeaderBmpsLoadUpright) {
  struct Case {
    const char* name;
    bool rle, core, topDown;
  } cases[] = {{"pal.bmp", false, false, false}, {"rle.bmp", true, false, false},
               {"core.bmp", false, true, false}, {"topdown.bmp", false, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto picture = LoadPictureFile(Write(c.name, PaletteBmp(c.rle, c.core, c.topDown)));
    ASSERT_EQ(picture->Width(), 4);
    ASSERT_EQ(picture->Height(), 2);
    ExpectQuadrants(*Render(*picture, 4, 2), 0);
  }
}

TEST_F(PicturesTest, JpegDecodesWithItsColours) {
  auto picture = LoadPictureFile(QuadrantJpeg("q.jpg"));
  EXPECT_EQ(picture->Width(), 64);
  EXPECT_EQ(picture->Height(), 48);
  ExpectQuadrants(*Render(*picture, 64, 48), 24);
  // The .jpeg spelling and upper-case extensions are the same format.
  auto again = LoadPictureFile(Write("Q.JPEG", kdtest::ReadBytes(folder_.File("q.jpg"))));
  EXPECT_EQ(again->Width(), 64);
}

TEST_F(PicturesTest, SingleChannelJpegDecodesToGrey) {
  std::vector<TColor> grey(32 * 32, RGBColor(128, 0, 0));
  auto picture = LoadPictureFile(Write("g.jpg", kdtest::EncodeJpeg(grey, 32, 32, 90, true)));
  EXPECT_TRUE(kdtest::Near(Render(*picture, 32, 32)->PixelAt(16, 16), RGBColor(128, 128, 128), 3));
}

// Progressive and arithmetic coding decode with their colours; a picture of
// too many scans, and a header announcing 2^30 pixels, are refused for what
// they are (the size before any scan is read, when libjpeg would first
// fill a buffer of the whole picture and then find the data missing).
TEST_F(PicturesTest, JpegCodingsDecodeWithinTheirLimits) {
  const auto pixels = QuadrantPixels(64, 48);
  Bytes huge = kdtest::EncodeJpeg(pixels, 64, 48, 95, false, {true, true, 0});
  for (size_t i = 0; i + 9 < huge.size(); ++i) {
    if (huge[i] == 0xFF && huge[i + 1] == 0xCA) {  // the frame header: 32768 x 32768
      huge[i + 5] = huge[i + 7] = 0x80;
      huge[i + 6] = huge[i + 8] = 0;
      break;
    }
  }
  const struct {
    const char* coding;
    Bytes jpeg;
    const char* refusal;  // nullptr: decodes
  } cases[] = {
      {"progressive", kdtest::EncodeJpeg(pixels, 64, 48, 95, false, {true, false, 0}), nullptr},
      {"arithmetic", kdtest::EncodeJpeg(pixels, 64, 48, 95, false, {false, true, 0}), nullptr},
      {"progressive arithmetic", kdtest::EncodeJpeg(pixels, 64, 48, 95, false, {true, true, 0}), nullptr},
      {"500 scans", kdtest::EncodeJpeg(pixels, 64, 48, 95, false, {true, false, kMaxJpegScans}), nullptr},
      {"501 scans", kdtest::EncodeJpeg(pixels, 64, 48, 95, false, {true, false, kMaxJpegScans + 1}),
       "JPEG error: JPEG picture has too many scans"},
      {"announcing 2^30 pixels", huge, "JPEG error: JPEG picture size not supported"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.coding);
    try {
      auto picture = LoadPictureData(c.jpeg.data(), c.jpeg.size(), "jpg");
      EXPECT_EQ(c.refusal, nullptr);
      if (c.refusal == nullptr) ExpectQuadrants(*Render(*picture, 64, 48), 24);
    } catch (const PictureError& e) {
      EXPECT_STREQ(e.what(), c.refusal);
    }
  }
}

TEST_F(PicturesTest, IconsAndMetafilesDrawScaledIntoTheirRectangle) {
  auto icon = LoadPictureFile(Write("i.ico", kdtest::MakeIco(kBlue)));
  EXPECT_EQ(icon->Width(), 16);
  EXPECT_EQ(icon->Height(), 16);
  auto iconImage = Render(*icon, 48, 48);
  EXPECT_EQ(iconImage->PixelAt(2, 2), kBlue);
  EXPECT_EQ(iconImage->PixelAt(45, 45), kBlue);

  const std::pair<const char*, Bytes> metafiles[] = {
      {"p.wmf", kdtest::MakeWmf(kGreen, true)},
      {"plain.wmf", kdtest::MakeWmf(kGreen, false)},
      {"e.emf", kdtest::MakeEmf(kGreen)},
  };
  for (const auto& m : metafiles) {
    SCOPED_TRACE(m.first);
    auto picture = LoadPictureFile(Write(m.first, m.second));
    EXPECT_GT(picture->Width(), 0);
    EXPECT_GT(picture->Height(), 0);
    auto image = Render(*picture, 80, 80);
    EXPECT_EQ(image->PixelAt(40, 40), kGreen);
  }
  // The placeable header's box of 100 units at 96 per inch is 100 pixels at 96 dpi.
  auto placed = LoadPictureFile(folder_.File("p.wmf"));
  EXPECT_EQ(placed->Width(), MulDiv(100, GdiOffscreenImage::Create(1, 1, false)->Gdi().PixelsPerInch(), 96));
}

TEST_F(PicturesTest, DamagedFilesOfEveryKindAreRefused) {
  const Bytes jpeg = kdtest::EncodeJpeg(QuadrantPixels(64, 48), 64, 48, 95);
  const Bytes bmp = kdtest::ReadBytes(QuadrantBmp("good.bmp", 24));
  Bytes noJpegSize = jpeg;
  for (size_t i = 0; i + 8 < noJpegSize.size(); ++i) {
    if (noJpegSize[i] == 0xFF && noJpegSize[i + 1] == 0xC0) {  // SOF0: zero the height and width
      std::fill(noJpegSize.begin() + i + 5, noJpegSize.begin() + i + 9, 0);
      break;
    }
  }
  Bytes bmpHugeSize = bmp;
  Put32(bmpHugeSize, 18, 100000);
  Put32(bmpHugeSize, 22, 100000);
  Bytes bmpBadHeader = bmp;
  Put32(bmpBadHeader, 14, 41);
  Bytes bmpOffsetPastEnd = bmp;
  Put32(bmpOffsetPastEnd, 10, static_cast<int>(bmp.size()) + 10);
  Bytes bmpTooManyColours = PaletteBmp(false, false, false);
  Put32(bmpTooManyColours, 46, 1000);
  Bytes wmfBadChecksum = kdtest::MakeWmf(kRed, true);
  wmfBadChecksum[20] ^= 0x55;
  const Bytes emf = kdtest::MakeEmf(kRed);
  const Bytes wmf = kdtest::MakeWmf(kRed, false);
  const Bytes ico = kdtest::MakeIco(kRed);

  const std::pair<const char*, Bytes> damaged[] = {
      {"half.jpg", Truncated(jpeg, jpeg.size() / 2)},
      {"head.jpg", Truncated(jpeg, 200)},
      {"nosize.jpg", noJpegSize},
      {"text.jpg", Bytes{'h', 'e', 'l', 'l', 'o'}},
      {"empty.jpeg", Bytes{}},
      {"half.bmp", Truncated(bmp, bmp.size() / 2)},
      {"head.bmp", Truncated(bmp, 20)},
      {"huge.bmp", bmpHugeSize},
      {"header.bmp", bmpBadHeader},
      {"offset.bmp", bmpOffsetPastEnd},
      {"colours.bmp", bmpTooManyColours},
      {"jpeg.bmp", jpeg},
      {"half.ico", Truncated(ico, ico.size() - 100)},
      {"half.emf", Truncated(emf, emf.size() - 20)},
      {"half.wmf", Truncated(wmf, wmf.size() - 6)},
      {"sum.wmf", wmfBadChecksum},
  };
  const long baseline = LiveGdiObjects();
  for (const auto& d : damaged) {
    SCOPED_TRACE(d.first);
    EXPECT_NE(RefusalOf(Write(d.first, d.second)), "");
  }
  EXPECT_EQ(RefusalOf(folder_.File("missing.bmp")).rfind("Cannot open file", 0), 0u);
  EXPECT_EQ(LiveGdiObjects(), baseline);
}

TEST_F(PicturesTest, UnknownExtensionsAreRefusedByName) {
  EXPECT_EQ(RefusalOf(Write("p.gif", Bytes{1, 2, 3})), "Unknown picture file extension (.gif)");
  EXPECT_EQ(RefusalOf(Write("p.PNG", Bytes{1, 2, 3})), "Unknown picture file extension (.PNG)");
  EXPECT_EQ(RefusalOf(folder_.File("noextension")), "Unknown picture file extension (.)");
  EXPECT_EQ(RefusalOf(""), "Unknown picture file extension (.)");
  // The extension decides before the file is opened: a missing .tif is unknown, not missing.
  EXPECT_EQ(RefusalOf(folder_.File("missing.tif")), "Unknown picture file extension (.tif)");
  EXPECT_EQ(RefusalOf(folder_.Path() + "\\dir.v2\\file"), "Unknown picture file extension (.)");
}

TEST_F(PicturesTest, LoadedPicturesHoldNoGdiObjectsOnceFreed) {
  const std::string jpg = QuadrantJpeg("a.jpg"), bmp = QuadrantBmp("a.bmp", 24);
  const std::string ico = Write("a.ico", kdtest::MakeIco(kRed)), emf = Write("a.emf", kdtest::MakeEmf(kRed));
  const std::string wmf = Write("a.wmf", kdtest::MakeWmf(kRed, true));
  const long baseline = LiveGdiObjects();
  {
    std::vector<std::unique_ptr<TPicture>> pictures;
    for (const std::string& path : {jpg, bmp, ico, emf, wmf}) pictures.push_back(LoadPictureFile(path));
    for (const auto& p : pictures) Render(*p, 30, 30);
    EXPECT_EQ(LiveGdiObjects(), baseline + 3) << "an icon and two metafiles";
  }
  EXPECT_EQ(LiveGdiObjects(), baseline);
}
