// The picture checks against real metafiles and hostile ones: every metafile
// GDI records here and every one gnuplot writes (made by ./run test into
// corpus\gnuplot) loads and draws; one-field damages of them are refused or
// drawn without harm; well-formed records too costly to play are skipped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/GdiDevice.h"
#include "platform/MetafilePlayback.h"
#include "platform/Pictures.h"
#include "platform/ResourceCounters.h"
#include "support/Pixels.h"
#include "support/RecordedMetafiles.h"

using namespace kd;
using namespace kd::platform;
using kdtest::Bytes;

namespace {

std::string ExtensionOf(const std::string& name) { return name.substr(name.rfind('.') + 1); }

// Pixels the picture changed when drawn over white at 200 x 200.
int DrawnPixels(const TPicture& picture) {
  auto image = GdiOffscreenImage::Create(200, 200, false);
  PatBlt(image->DC(), 0, 0, 200, 200, WHITENESS);
  image->Device().DrawPicture(picture, MakeRect(0, 0, 200, 200));
  return 200 * 200 - kdtest::CountColor(*image, MakeRect(0, 0, 200, 200), RGBColor(255, 255, 255));
}

std::vector<std::string> FilesIn(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

// Loads one damaged file; an accepted one is drawn. True when accepted.
bool LoadsAndDraws(const Bytes& bytes, const std::string& extension) {
  std::unique_ptr<TPicture> picture;
  try {
    picture = LoadPictureData(bytes.data(), bytes.size(), extension);
  } catch (const PictureError&) {
    return false;
  }
  DrawnPixels(*picture);
  return true;
}

void Put(Bytes& bytes, size_t at, uint32_t value, size_t width) {
  for (size_t i = 0; i < width && at + i < bytes.size(); ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace

TEST(PictureCorpus, EveryMetafileGdiRecordsLoadsAndDraws) {
  const auto files = kdtest::RecordedMetafiles();
  ASSERT_GE(files.size(), 19u);
  // KD_CORPUS_OUT keeps a copy, for seeding the fuzz target.
  const char* keep = std::getenv("KD_CORPUS_OUT");
  size_t largest = 0;
  for (const auto& file : files) {
    SCOPED_TRACE(file.name);
    if (keep != nullptr) kdtest::WriteBytes(std::string(keep) + "\\" + file.name, file.bytes);
    largest = std::max(largest, file.bytes.size());
    std::unique_ptr<TPicture> picture;
    EXPECT_NO_THROW(picture = LoadPictureData(file.bytes.data(), file.bytes.size(), ExtensionOf(file.name)));
    if (picture) {
      EXPECT_GT(DrawnPixels(*picture), 100);
    }
  }
  EXPECT_GT(largest, 40000u) << "one file of thousands of records";
}

TEST(PictureCorpus, EveryMetafileGnuplotWritesLoadsAndDraws) {
  const std::vector<std::string> names = FilesIn("corpus\\gnuplot", "*.emf");
  ASSERT_GE(names.size(), 6u) << "./run test writes them with gnuplot's emf terminal";
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const Bytes bytes = kdtest::ReadBytes("corpus\\gnuplot\\" + name);
    std::unique_ptr<TPicture> picture;
    EXPECT_NO_THROW(picture = LoadPictureData(bytes.data(), bytes.size(), "emf"));
    if (picture) {
      EXPECT_GT(DrawnPixels(*picture), 100);
    }
  }
}

// Every 16 or 32-bit field of the smaller recorded files set to hostile
// values in turn: each damaged file is refused or draws, and nothing is left.
TEST(PictureCorpus, OneFieldDamagesAreRefusedOrDrawnSafely) {
  const long baseline = LiveGdiObjects();
  int refused = 0, drawn = 0;
  for (const auto& file : kdtest::RecordedMetafiles()) {
    if (file.bytes.size() > 20000) continue;
    const std::string extension = ExtensionOf(file.name);
    const size_t width = extension == "wmf" ? 2 : 4;
    // At most some 150 positions per file, spread over the whole file.
    const size_t step = std::max(width, (file.bytes.size() / 150 + width - 1) / width * width);
    for (size_t at = 0; at < file.bytes.size(); at += step) {
      for (uint32_t value : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x00008000u}) {
        Bytes damaged = file.bytes;
        Put(damaged, at, value, width);
        (LoadsAndDraws(damaged, extension) ? drawn : refused) += 1;
      }
    }
  }
  EXPECT_GT(refused, 500);
  EXPECT_GT(drawn, 500);
  EXPECT_EQ(LiveGdiObjects(), baseline);
}

// A 1 x 1 window extent blowing an ellipse, a pen and a font up to millions
// of pixels: those records are skipped, the rest of the picture plays.
TEST(PictureCorpus, RecordsTooCostlyToPlayAreSkipped) {
  // A frame of about 100 x 100 pixels, played at 100 x 100: one unit, one pixel.
  const RECT frame{0, 0, 2646, 2646};
  HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
  SetMapMode(recorder, MM_ANISOTROPIC);
  SetWindowExtEx(recorder, 1, 1, nullptr);
  SetViewportExtEx(recorder, 1, 1, nullptr);
  Rectangle(recorder, 10, 10, 50, 50);
  SetWindowExtEx(recorder, 1, 1, nullptr);
  SetViewportExtEx(recorder, 100000, 100000, nullptr);
  Ellipse(recorder, -1000, -1000, 1000, 1000);
  SetViewportExtEx(recorder, 1, 1, nullptr);
  HPEN wide = CreatePen(PS_SOLID, 2000000000, RGB(0, 0, 255));
  HGDIOBJ oldPen = SelectObject(recorder, wide);
  MoveToEx(recorder, 0, 0, nullptr);
  LineTo(recorder, 60, 60);
  SelectObject(recorder, oldPen);
  DeleteObject(wide);
  HFONT huge = CreateFontA(-2000000000, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  HGDIOBJ oldFont = SelectObject(recorder, huge);
  TextOutA(recorder, 0, 0, "W", 1);
  SelectObject(recorder, oldFont);
  DeleteObject(huge);
  HENHMETAFILE metafile = CloseEnhMetaFile(recorder);

  auto image = GdiOffscreenImage::Create(100, 100, false);
  PatBlt(image->DC(), 0, 0, 100, 100, WHITENESS);
  BoundedMetafilePlayer player;
  const RECT dest{0, 0, 100, 100};
  player.Play(image->DC(), metafile, dest);
  DeleteEnhMetaFile(metafile);
  EXPECT_EQ(player.SkippedRecords(), 3u) << "the ellipse, the line and the text";
  EXPECT_EQ(player.RecordLimit(), SIZE_MAX);
  EXPECT_EQ(image->PixelAt(30, 30), RGBColor(255, 255, 255)) << "inside the rectangle";
  EXPECT_EQ(image->PixelAt(10, 30), RGBColor(0, 0, 0)) << "its outline";
}
