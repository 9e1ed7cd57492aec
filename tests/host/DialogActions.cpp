// The font and colour pickers driven through the platform's real common
// dialogs, and the export of a chart to a bitmap file.
#include <memory>
#include <mutex>

#include "ChartHost.h"
#include "Pixels.h"
#include "charts/RotationState.h"
#include "plugin/EntryPoints.h"
#include "host/ModuleState.h"

namespace kdhost {
namespace {

// Control identifiers of the platform's common dialogs.
constexpr int kFontFace = 0x470;       // combo boxes of the font dialog
constexpr int kFontStyle = 0x471;
constexpr int kFontSize = 0x472;
constexpr int kFontColor = 0x473;
constexpr int kFontScript = 0x474;
constexpr int kFontStrikeOut = 0x410;  // check boxes of its effects section
constexpr int kFontUnderline = 0x411;
constexpr int kColorRed = 706;         // edit fields of the colour dialog
constexpr int kColorGreen = 707;
constexpr int kColorBlue = 708;

std::string ControlText(const SeenWindow& dialog, int id) {
  for (const ControlInfo& c : dialog.controls)
    if (c.id == id) return c.text;
  return "<missing>";
}

// What a driver script found wrong, read on the test's thread afterwards.
struct ScriptLog {
  void Note(const std::string& problem) {
    std::lock_guard<std::mutex> lock(mutex);
    problems.push_back(problem);
  }
  std::string All() {
    std::lock_guard<std::mutex> lock(mutex);
    std::string all;
    for (const std::string& p : problems) all += p + "; ";
    return all;
  }
  std::mutex mutex;
  std::vector<std::string> problems;
  HWND owner = nullptr;
  bool strikeOutChecked = false;
  bool underlineChecked = false;
};

// Picks made in the font dialog before `button` is pressed; empty fields are left alone.
struct FontPick {
  std::string face, style, size, color;
  bool underline = false, strikeOut = false;
  int button = IDOK;
};

DialogDriver::Script FontScript(const FontPick& pick, std::shared_ptr<ScriptLog> log) {
  return [pick, log](const SeenWindow& dialog) {
    log->owner = GetWindow(dialog.window, GW_OWNER);
    log->strikeOutChecked = SendMessageA(GetDlgItem(dialog.window, kFontStrikeOut), BM_GETCHECK, 0, 0) == BST_CHECKED;
    log->underlineChecked = SendMessageA(GetDlgItem(dialog.window, kFontUnderline), BM_GETCHECK, 0, 0) == BST_CHECKED;
    const std::pair<int, std::string> combos[] = {
        {kFontFace, pick.face}, {kFontStyle, pick.style}, {kFontSize, pick.size}, {kFontColor, pick.color}};
    for (const auto& [id, text] : combos)
      if (!text.empty() && !SelectComboItem(dialog.window, id, text)) log->Note("no item " + text);
    if (pick.underline) ClickId(dialog.window, kFontUnderline);
    if (pick.strikeOut) ClickId(dialog.window, kFontStrikeOut);
    ClickId(dialog.window, pick.button);
  };
}

// Types red, green and blue into the colour dialog, then presses `button`.
DialogDriver::Script ColorScript(const std::string& red, const std::string& green, const std::string& blue,
                                 int button) {
  return [=](const SeenWindow& dialog) {
    TypeInto(GetDlgItem(dialog.window, kColorRed), red);
    TypeInto(GetDlgItem(dialog.window, kColorGreen), green);
    TypeInto(GetDlgItem(dialog.window, kColorBlue), blue);
    ClickId(dialog.window, button);
  };
}

using FontBox = ChartTest;

TEST_F(FontBox, CancelWritesNothingAndReturnsTrue) {
  auto log = std::make_shared<ScriptLog>();
  DialogDriver driver(FontScript({"Liberation Sans", "", "", "Red", false, false, IDCANCEL}, log));
  EXPECT_TRUE(Exec(31, {"FontVar"}));
  EXPECT_TRUE(host.variables.empty());
  ASSERT_EQ(driver.Seen().size(), 1u);
  EXPECT_EQ(log->All(), "");
}

TEST_F(FontBox, OpensWithTheFormsFontAndEffectsOwnedByTheActiveWindow) {
  SetActiveWindow(page->window().handle());
  auto log = std::make_shared<ScriptLog>();
  DialogDriver driver(FontScript({"", "", "", "", false, false, IDCANCEL}, log));
  EXPECT_TRUE(Exec(31, {"FontVar"}));
  std::vector<SeenWindow> seen = driver.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(log->owner, page->window().handle());
  // The effects section: colour in the window-text colour, no underline, no strike-out.
  EXPECT_EQ(ControlText(seen[0], kFontColor), "Black");
  EXPECT_FALSE(log->underlineChecked);
  EXPECT_FALSE(log->strikeOutChecked);
  EXPECT_EQ(ControlText(seen[0], kFontStyle), "Regular");
}

TEST_F(FontBox, FontWithoutStylesLeavesTheStyleFieldEmpty) {
  auto log = std::make_shared<ScriptLog>();
  DialogDriver driver(FontScript({"Liberation Sans", "Regular", "12", "", false, false, IDOK}, log));
  EXPECT_TRUE(Exec(31, {"My Var"}));
  ASSERT_EQ(log->All(), "");
  ASSERT_EQ(host.variables.size(), 1u);
  EXPECT_EQ(host.variables[0].first, "My Var");
  // Western script is the ANSI character set 0; the face name keeps its blank.
  EXPECT_EQ(host.variables[0].second, "Liberation Sans|clBlack|12||0");
}

TEST_F(FontBox, EveryStyleAndRedAndTheNextCallStartsAfresh) {
  {
    auto log = std::make_shared<ScriptLog>();
    DialogDriver driver(FontScript({"DejaVu Serif", "Bold Italic", "20", "Red", true, true, IDOK}, log));
    EXPECT_TRUE(Exec(31, {"F"}));
    ASSERT_EQ(log->All(), "");
  }
  ASSERT_EQ(host.variables.size(), 1u);
  EXPECT_EQ(host.variables[0].second, "DejaVu Serif|clRed|20|fsBold fsItalic fsUnderline fsStrikeOut |0");

  auto log = std::make_shared<ScriptLog>();
  DialogDriver driver(FontScript({"", "", "", "", false, false, IDCANCEL}, log));
  EXPECT_TRUE(Exec(31, {"F"}));
  ASSERT_EQ(driver.Seen().size(), 1u);
  EXPECT_EQ(ControlText(driver.Seen()[0], kFontColor), "Black");
  EXPECT_NE(ControlText(driver.Seen()[0], kFontStyle), "Bold Italic");
  EXPECT_FALSE(log->underlineChecked);
  EXPECT_EQ(host.variables.size(), 1u);
}

TEST_F(FontBox, AnyColourOutsideTheNameTableIsWrittenInHex) {
  auto log = std::make_shared<ScriptLog>();
  // Selecting a face first fills the script list, whose entries the next pick reads.
  DialogDriver driver([log](const SeenWindow& dialog) {
    if (!SelectComboItem(dialog.window, kFontFace, "Liberation Serif")) log->Note("face");
    // A colour only reachable through the combo's item data: put a custom value there.
    HWND combo = GetDlgItem(dialog.window, kFontColor);
    LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Teal"));
    SendMessageA(combo, CB_SETITEMDATA, index, RGB(0x12, 0x34, 0x56));
    if (!SelectComboItem(dialog.window, kFontColor, "Teal")) log->Note("colour");
    ClickId(dialog.window, IDOK);
  });
  EXPECT_TRUE(Exec(31, {"F"}));
  ASSERT_EQ(log->All(), "");
  ASSERT_EQ(host.variables.size(), 1u);
  const std::string& text = host.variables[0].second;
  EXPECT_EQ(text.substr(0, text.find('|', 17)), "Liberation Serif|$00563412");
}

using ColorBox = ChartTest;

TEST_F(ColorBox, PureRedIsWrittenAsAnRgbTriple) {
  DialogDriver driver(ColorScript("255", "0", "0", IDOK));
  EXPECT_TRUE(Exec(32, {"ColorVar"}));
  ASSERT_EQ(host.variables.size(), 1u);
  EXPECT_EQ(host.variables[0], (std::pair<std::string, std::string>{"ColorVar", "255,0,0"}));
}

TEST_F(ColorBox, OpensOnBlackEveryTimeAndCancelWritesNothing) {
  {
    DialogDriver driver(ColorScript("12", "200", "7", IDOK));
    EXPECT_TRUE(Exec(32, {"C"}));
    ASSERT_EQ(driver.Seen().size(), 1u);
    const SeenWindow& first = driver.Seen()[0];
    EXPECT_EQ(ControlText(first, kColorRed) + ControlText(first, kColorGreen) + ControlText(first, kColorBlue), "000");
  }
  ASSERT_EQ(host.variables.size(), 1u);
  EXPECT_EQ(host.variables[0].second, "12,200,7");

  DialogDriver driver(ColorScript("255", "255", "255", IDCANCEL));
  EXPECT_TRUE(Exec(32, {"C"}));
  ASSERT_EQ(driver.Seen().size(), 1u);
  const SeenWindow& second = driver.Seen()[0];
  EXPECT_EQ(ControlText(second, kColorRed) + ControlText(second, kColorGreen) + ControlText(second, kColorBlue), "000");
  EXPECT_EQ(host.variables.size(), 1u);
}

// The pickers' texts as the styling actions read them, inside the module.
using PickersInside = InProcessChartTest;

TEST_F(PickersInside, FontTextReachesTheLegendWithoutTheBlanks) {
  AttachInProcessModule(host);
  kd::TNeoChart& chart = Create();
  auto log = std::make_shared<ScriptLog>();
  {
    DialogDriver driver(FontScript({"Liberation Sans Narrow", "Bold", "14", "Red", false, false, IDOK}, log));
    ASSERT_TRUE(ExecInProcess(31, {"F"}));
  }
  ASSERT_EQ(log->All(), "");
  ASSERT_EQ(host.variables.size(), 1u);
  ASSERT_TRUE(ExecInProcess(19, {"Rect1", host.variables[0].second}));
  const kd::FontData& font = chart.Chart().Legend().Font();
  EXPECT_EQ(font.name, "LiberationSansNarrow");
  EXPECT_EQ(font.color, kd::clRed);
  EXPECT_EQ(font.size, 14);
  EXPECT_EQ(font.styles, kd::fsBold);
  EXPECT_EQ(font.charset, 0);
}

TEST_F(PickersInside, ChartsKeepRotatingWhileADialogIsOpen) {
  kd::TNeoChart& chart = Create();
  ASSERT_TRUE(ExecInProcess(34, {"Rect1", "true", "7"}));
  const int before = chart.Series().RotationAngle();
  DialogDriver driver([](const SeenWindow& dialog) {
    Sleep(500);  // several 70 ms ticks
    ClickId(dialog.window, IDCANCEL);
  });
  EXPECT_TRUE(ExecInProcess(32, {"C"}));
  EXPECT_NE(chart.Series().RotationAngle(), before);
}

TEST_F(PickersInside, WithoutASetVariableCallbackTheChoiceIsDroppedQuietly) {
  kd::SetVariableFn kept = kd::Module().setVariable;
  kd::Module().setVariable = nullptr;
  {
    DialogDriver driver(ColorScript("255", "0", "0", IDOK));
    EXPECT_TRUE(ExecInProcess(32, {"C"}));
  }
  kd::Module().setVariable = kept;
  EXPECT_TRUE(host.variables.empty());
}

// A fresh folder for the test's files, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static int serial = 0;
    path_ = std::string(base) + "kdpie-save-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++serial);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempFolder() {
    for (const std::string& name : Names()) DeleteFileA(File(name).c_str());
    RemoveDirectoryA(path_.c_str());
  }
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(File("*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      std::string name = found.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
  }

 private:
  std::string path_;
};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

constexpr long kBlue = 0xFF0000;  // 0,0,255 as a colour value

std::vector<std::string> CreateParams(const std::string& name, const std::string& color, const std::string& records,
                                      const std::string& monochrome = "") {
  return {name, color, records, monochrome, "", "", "", "", ""};
}

using SaveBitmap = ChartTest;

TEST_F(SaveBitmap, PictureHasTheChartsSizeAndBackground) {
  TempFolder folder;
  ASSERT_TRUE(Exec(1, CreateParams("Rect1", "0,0,255", "A;1;|B;2;")));
  ASSERT_TRUE(Exec(1, CreateParams("Wide", "0,255,0", "A;1;")));
  ASSERT_TRUE(Exec(33, {"RECT1", folder.File("rect.bmp")}));
  ASSERT_TRUE(Exec(33, {"Wide", folder.File("wide.bmp")}));
  EXPECT_EQ(BitmapSize(folder.File("rect.bmp")), std::make_pair(400, 300));
  EXPECT_EQ(BitmapSize(folder.File("wide.bmp")), std::make_pair(800, 600));
  for (auto [x, y] : {std::pair{0, 0}, {399, 0}, {0, 299}, {399, 299}})
    EXPECT_EQ(BitmapPixel(folder.File("rect.bmp"), x, y), kBlue) << x << "," << y;
  EXPECT_EQ(BitmapPixel(folder.File("wide.bmp"), 799, 599), 0x00FF00);

  // The chart's current settings, not those it was created with.
  ASSERT_TRUE(Exec(10, {"Rect1", "255,0,0"}));
  ASSERT_TRUE(Exec(33, {"Rect1", folder.File("rect.bmp")}));
  EXPECT_EQ(BitmapPixel(folder.File("rect.bmp"), 0, 0), 0x0000FF);
}

// The first chart an author fills record by record: one slice is the whole
// disk at every rotation, flat and in 3D, in both builds (the 32-bit one once
// lost the disk at 90 and 180 degrees, where the slice's start and end meet).
TEST_F(SaveBitmap, OneRecordIsTheWholeDiskAtEveryRotation) {
  TempFolder folder;
  for (const char* view3D : {"false", "true"}) {
    int reference = 0;
    for (const char* rotation : {"0", "90", "180", "270", "360", "45"}) {
      ASSERT_TRUE(Exec(1, {"Rect1", "", "", "false", view3D, "true", "false", "0", rotation}));
      ASSERT_TRUE(Exec(5, {"Rect1", "A", "1", "255,0,0"}));
      ASSERT_TRUE(Exec(33, {"Rect1", folder.File("one.bmp")}));
      const kdtest::BmpFile picture = kdtest::ReadBmp(folder.File("one.bmp"));
      int red = 0;
      for (kd::TColor c : picture.pixels) red += c == 0x0000FF;
      if (reference == 0) reference = red;
      EXPECT_GT(red, 20000) << "3D " << view3D << ", rotation " << rotation;
      EXPECT_NEAR(red, reference, reference / 50) << "3D " << view3D << ", rotation " << rotation;
    }
  }
}

TEST_F(SaveBitmap, MonochromeOnScreenIsExportedInColour) {
  TempFolder folder;
  ASSERT_TRUE(Exec(1, CreateParams("Rect1", "0,0,255", "A;1;0,255,0", "true")));
  PumpMessages();
  ASSERT_TRUE(Exec(33, {"Rect1", folder.File("mono.bmp")}));
  EXPECT_EQ(BitmapPixel(folder.File("mono.bmp"), 0, 0), kBlue);
  int green = 0;
  for (int y = 0; y < 300; y += 10)
    for (int x = 0; x < 400; x += 10)
      if (BitmapPixel(folder.File("mono.bmp"), x, y) == 0x00FF00) ++green;
  EXPECT_GT(green, 20) << "the one slice is drawn in its own colour";
}

TEST_F(SaveBitmap, HiddenPanelIsExportedAllTheSame) {
  TempFolder folder;
  ASSERT_TRUE(Exec(1, CreateParams("Rect1", "0,0,255", "A;1;")));
  ASSERT_TRUE(Exec(8, {"Rect1", "hide"}));
  ASSERT_TRUE(Exec(33, {"Rect1", folder.File("hidden.bmp")}));
  EXPECT_EQ(BitmapPixel(folder.File("hidden.bmp"), 0, 0), kBlue);
}

TEST_F(SaveBitmap, PathIsUsedUnchangedAndAnOldFileIsReplaced) {
  TempFolder folder;
  ASSERT_TRUE(Exec(2, {"Rect2"}));
  {
    std::FILE* old = std::fopen(folder.File("old.bmp").c_str(), "wb");
    ASSERT_NE(old, nullptr);
    std::fputs("not a picture", old);
    std::fclose(old);
  }
  ASSERT_TRUE(Exec(33, {"Rect2", folder.File("old.bmp")}));
  EXPECT_EQ(BitmapSize(folder.File("old.bmp")), std::make_pair(300, 200));

  // No extension is added; a relative path starts in the current folder.
  char kept[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, kept);
  ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
  const bool relative = Exec(33, {"Rect2", "picture"});
  SetCurrentDirectoryA(kept);
  EXPECT_TRUE(relative);
  EXPECT_EQ(BitmapSize(folder.File("picture")), std::make_pair(300, 200));
  EXPECT_FALSE(Exists(folder.File("picture.bmp")));
}

TEST_F(SaveBitmap, FailuresReturnFalseAndCreateNothing) {
  TempFolder folder;
  ASSERT_TRUE(Exec(2, {"Rect1"}));
  const std::string missing = folder.File("missing");
  EXPECT_FALSE(Exec(33, {"Rect1", missing + "\\chart.bmp"}));
  EXPECT_FALSE(Exists(missing));
  EXPECT_FALSE(Exec(33, {"Rect1", folder.Path()}));  // a folder is no file
  EXPECT_FALSE(Exec(33, {"Rect1", ""}));
  EXPECT_FALSE(Exec(33, {"Nowhere", folder.File("unknown.bmp")}));
  ASSERT_TRUE(Exec(3, {"Rect1"}));
  EXPECT_FALSE(Exec(33, {"Rect1", folder.File("deleted.bmp")}));
  EXPECT_TRUE(folder.Names().empty());
}

TEST_F(SaveBitmap, FileThatCannotBeWrittenIsLeftAsItWas) {
  TempFolder folder;
  ASSERT_TRUE(Exec(2, {"Rect1"}));
  const std::string path = folder.File("busy.bmp");
  HANDLE busy = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(busy, INVALID_HANDLE_VALUE);
  DWORD wrote = 0;
  WriteFile(busy, "mine", 4, &wrote, nullptr);
  EXPECT_FALSE(Exec(33, {"Rect1", path}));  // another program holds the file without sharing
  CloseHandle(busy);
  std::FILE* in = std::fopen(path.c_str(), "rb");
  ASSERT_NE(in, nullptr);
  char text[8] = {};
  std::fread(text, 1, sizeof text - 1, in);
  std::fclose(in);
  EXPECT_STREQ(text, "mine");
}

using SaveBitmapInside = InProcessChartTest;

TEST_F(SaveBitmapInside, ExportLeavesTheChartAsItWas) {
  TempFolder folder;
  kd::TNeoChart& chart = Create("A;1;|B;2;");
  ASSERT_TRUE(ExecInProcess(9, {"Rect1", "true"}));
  PumpMessages();
  ASSERT_TRUE(ExecInProcess(33, {"Rect1", folder.File("a.bmp")}));
  EXPECT_FALSE(ExecInProcess(33, {"Rect1", folder.File("no\\a.bmp")}));
  EXPECT_TRUE(chart.Chart().Monochrome());
  EXPECT_EQ(chart.Series().SliceCount(), 2);
  PumpMessages();  // and the screen paints again; TearDown counts what is left
}

}  // namespace
}  // namespace kdhost
