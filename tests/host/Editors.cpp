// The design-time editors through nbEditAction, operated by a scripted author
// in the real dialogs: classes, captions, lists and numbers as the author sees
// them, the texts written on OK, nothing written on Cancel, pickers, the
// colour and font dialogs, translated captions, and the About box.
#include <optional>

#include "EditorRun.h"
#include "PlugInHost.h"
#include "editors/EditorForm.h"
#include "host/ActionTable.h"

namespace kdhost {
namespace {

using kd::editors::kIdButton;
using kd::editors::kIdCommand;
using kd::editors::kIdDescription;
using kd::editors::kIdSlotCaption;
using kd::editors::kIdSlotControl;
using Slots = std::vector<std::optional<std::string>>;

class EditorTest : public PlugInTest {
 protected:
  void SetUp() override {
    PlugInTest::SetUp();
    RegisterWithHost();
  }
};

// Every editor with texts its controls can show unchanged: OK writes them back.
struct EditorCase {
  int id;
  const char* className;
  Slots slots;
};

const EditorCase kEditors[] = {
    {2, "TFormOne", {"Sales"}},
    {3, "TFormOne", {"Sales"}},
    {4, "TFormPlus", {"Sales", "[Title]", "Foot", "Right", "Arial|clBlack|12|fsBold |204"}},
    {5, "TFormNumbColor", {"Sales", "North", "25", "255,0,0"}},
    {6, "TFormComboSpin4", {"Sales", "3"}},
    {7, "TFormOne", {"Sales"}},
    {8, "TFormComboSpin4", {"Sales", "Hide"}},
    {9, "TFormComboSpin4", {"Sales", "False"}},
    {10, "TDublForm", {"Sales", "1,2,3"}},
    {11, "TFormFreePlus", {"Sales", "1,2,3", "[Second]", "FromBottomRight"}},
    {12, "TEditTwo", {"Sales", "C:\\back.jpg", "Center", "Hide"}},
    {13, "TFormComboSpin4", {"Sales", "True"}},
    {14, "TFormCombo3", {"Sales", "0,0,0", "Hide", "InsideFrame", "90000"}},
    {15, "TFormComboSpin4", {"Sales", "True"}},
    {16, "TFormComboSpin4", {"Sales", "Depth", "-9000"}},
    {17, "TFormComboSpin4", {"Sales", "True"}},
    {18, "TFormDublPlus", {"Sales", "Foreground", "False"}},
    {19, "TDublForm", {"Sales", "[Font]"}},
    {20, "TDublForm", {"Sales", "9,9,9"}},
    {21, "TFormComboSpin4", {"Sales", "1999999999"}},
    {22, "TFormComboSpin4", {"Sales", "False"}},
    {23, "TFormNumbColor", {"Sales", "", "300"}},
    {24, "TFormDublPlus", {"Sales", "TransparentTextFone", "True"}},
    {25, "TFormComboSpin4", {"Sales", "XValue"}},
    {26, "TDublForm", {"Sales", "clRed"}},
    {27, "TDublForm", {"Sales", "Arial|clBlack|8||0"}},
    {28, "TFormNumbColor", {"Sales", "0,0,0", "100"}},
    {29, "TFormComboSpin4", {"Sales", "DashDotDot"}},
    {30, "TFormCombo3", {"Sales", "", "Show", "Clear", "1"}},
    {31, "TFormOne", {"[PickedFont]"}},
    {32, "TFormOne", {"[PickedColor]"}},
    {33, "TDublForm", {"Sales", "out\\chart.bmp"}},
    {34, "TFormComboSpin4", {"Sales", "True", "100"}},
};

bool HasCyrillic(const std::wstring& text) {
  for (wchar_t c : text)
    if (c >= 0x0400 && c <= 0x04FF) return true;
  return false;
}

TEST_F(EditorTest, EveryEditorShowsItsFrameAndWritesBackWhatItRead) {
  for (const EditorCase& c : kEditors) {
    SCOPED_TRACE(c.id);
    const std::string name = kd::FindAction(c.id)->name;
    ASSERT_EQ(static_cast<int>(c.slots.size()), kd::ActionParameterCount(c.id));
    EditRun run = RunEditor(c.id, c.slots);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(run.seen.className, c.className);
    EXPECT_EQ(run.seen.caption, name);
    EXPECT_EQ(run.seen.client.cx, 524);
    EXPECT_EQ(run.seen.client.cy, std::string(c.className) == "TFormCombo3" ? 382 : 336);
    EXPECT_EQ(run.seen.texts[kIdCommand], std::wstring(name.begin(), name.end()));
    EXPECT_EQ(run.seen.badgeWidth, 15 * static_cast<int>(name.size()));
    EXPECT_TRUE(HasCyrillic(run.seen.texts[kIdDescription])) << "Russian defaults must read as Cyrillic";
    EXPECT_TRUE(HasCyrillic(run.seen.texts[kIdSlotCaption]));
    for (size_t i = 0; i < c.slots.size(); ++i) {
      EXPECT_EQ(run.texts[i], *c.slots[i]) << "slot " << i + 1;
      EXPECT_EQ(run.moduleBlock[i], c.slots[i]->size() + 1) << "a fresh block of length + 1";
      EXPECT_FALSE(run.beforeStillLive[i]) << "the replaced block is freed";
    }
  }
}

TEST_F(EditorTest, CancelAndTheCloseBoxWriteNothing) {
  for (int finish : {IDCANCEL, -1}) {
    Author author;
    author.finish = IDCANCEL;
    if (finish == -1) author.act = [](HWND editor) { SendMessageA(editor, WM_SYSCOMMAND, SC_CLOSE, 0); };
    // The author changes every kind of control first.
    auto act = author.act;
    author.act = [act](HWND editor) {
      TypeInto(GetDlgItem(editor, kIdSlotControl), "Changed");
      SelectComboItem(editor, kIdSlotControl + 1, "Rotation");
      TypeInto(GetDlgItem(editor, kIdSlotControl + 2), "7");
      if (act) act(editor);
    };
    EditRun run = RunEditor(16, {"Sales", "Zoom", "900"}, author);
    EXPECT_FALSE(run.result);
    EXPECT_EQ(run.after, run.before);
    EXPECT_EQ(run.texts, (std::vector<std::string>{"Sales", "Zoom", "900"}));
  }
}

// The read and write rules of lists and number boxes, and the byte round trip.
struct RuleCase {
  const char* what;
  int id;
  Slots slots;
  std::function<void(HWND)> act;
  std::vector<std::string> written;
};

TEST_F(EditorTest, ListsAndNumbersFollowTheirRules) {
  const RuleCase cases[] = {
      {"unmatched keyword", 8, {"S", "show"}, nullptr, {"S", ""}},
      {"keyword in other case", 9, {"S", "true"}, nullptr, {"S", ""}},
      {"no integer: the default", 6, {"S", "abc"}, nullptr, {"S", "1"}},
      {"opening range of the view box", 16, {"S", "Zoom", "900"}, nullptr, {"S", "Zoom", "900"}},
      {"the author's pick sets the range",
       16,
       {"S", "Zoom", "900"},
       [](HWND e) { SelectComboItem(e, kIdSlotControl + 1, "Zoom"); },
       {"S", "Zoom", "500"}},
      {"empty shadow distance", 23, {"S", "1,2,3", ""}, nullptr, {"S", "1,2,3", "0"}},
      {"empty border width", 14, {"S", "", "Show", "Dot", ""}, nullptr, {"S", "", "Show", "Dot", "1"}},
      {"empty arrow length", 30, {"S", "", "", "", ""}, nullptr, {"S", "", "", "", "10"}},
      {"clamped to the maximum", 34, {"S", "True", "150"}, nullptr, {"S", "True", "100"}},
      {"clamped to the minimum", 21, {"S", "-5"}, nullptr, {"S", "0"}},
      {"typed text that is no integer", 6, {"S", "4"}, [](HWND e) { TypeInto(GetDlgItem(e, kIdSlotControl + 1), "x"); },
       {"S", "1"}},
      {"bytes outside ASCII untouched", 5, {"\x80\xC0\xFF", "\x98\xE9", "1", ""}, nullptr,
       {"\x80\xC0\xFF", "\x98\xE9", "1", ""}},
      {"null slots", 10, {std::nullopt, std::nullopt}, nullptr, {"", ""}},
  };
  for (const RuleCase& c : cases) {
    SCOPED_TRACE(c.what);
    Author author;
    author.act = c.act;
    EditRun run = RunEditor(c.id, c.slots, author);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(run.texts, c.written);
  }
}

TEST_F(EditorTest, ListsShowTheirItemsInOrderAndTheMatchSelected) {
  EditRun frame = RunEditor(29, {"S", "DashDot"});
  EXPECT_EQ(frame.seen.items[kIdSlotControl + 1],
            (std::vector<std::string>{"Solid", "Dash", "Dot", "DashDotDot", "DashDot", "Clear"}));
  EXPECT_EQ(frame.seen.selection[kIdSlotControl + 1], 4);
  EditRun border = RunEditor(14, {"S", "", "Show", "Dash", "abc"});
  EXPECT_EQ(border.seen.items[kIdSlotControl + 3],
            (std::vector<std::string>{"Solid", "Dash", "Dot", "DashDot", "DashDotDot", "Clear", "InsideFrame"}));
  EXPECT_EQ(border.seen.selection[kIdSlotControl + 2], 0);
  EXPECT_EQ(border.seen.texts[kIdSlotControl + 4], L"1");
  EditRun view = RunEditor(16, {"S", "zoom", "3"});
  EXPECT_EQ(view.seen.selection[kIdSlotControl + 1], -1);
}

TEST_F(EditorTest, PickersAskTheHostAndTakeOnlyAcceptedAnswers) {
  host.objectPicks.push_back({true, "Rect7"});
  host.variablePicks.push_back({false, "Ignored"});
  host.variablePicks.push_back({true, "[Var]"});
  Author author;
  author.act = [](HWND editor) {
    ClickId(editor, kIdButton + 1);          // object picker of the rectangle row
    ClickId(editor, kIdButton + 2 * 1 + 1);  // variable picker of row 2: refused
    ClickId(editor, kIdButton + 2 * 1 + 1);  // and accepted
    Sleep(200);
  };
  EditRun run = RunEditor(10, {"Old", "1,2,3"}, author);
  EXPECT_EQ(run.texts, (std::vector<std::string>{"Rect7", "[Var]"}));
  ASSERT_EQ(host.questions.size(), 3u);
  EXPECT_EQ(host.questions[0], (std::pair<int, std::string>{8, "Old"}));
  EXPECT_EQ(host.questions[1], (std::pair<int, std::string>{14, "1,2,3"}));
  EXPECT_EQ(ledger.LiveModuleBlocks(), 0u) << "every question's block is released";
}

TEST_F(EditorTest, WithoutTheHostsCallbackThePickersDoNothing) {
  Plugin().nbRegisterInterfaceAccess(nullptr);
  Author author;
  author.act = [](HWND editor) {
    ClickId(editor, kIdButton + 1);
    Sleep(100);
  };
  EditRun run = RunEditor(3, {"Old"}, author);
  RegisterWithHost();
  EXPECT_TRUE(run.result);
  EXPECT_EQ(run.texts[0], "Old");
  EXPECT_TRUE(host.questions.empty());
  EXPECT_EQ(run.windows, 1) << "no message box";
}

TEST_F(EditorTest, TheColourFontAndFileButtonsWriteTheirTexts) {
  Author colour;
  colour.act = [](HWND editor) { ClickId(editor, kIdButton + 2); };
  colour.common = [](const SeenWindow& dialog) {
    TypeInto(GetDlgItem(dialog.window, 706), "0");
    TypeInto(GetDlgItem(dialog.window, 707), "0");
    TypeInto(GetDlgItem(dialog.window, 708), "255");
    ClickId(dialog.window, IDOK);
  };
  EXPECT_EQ(RunEditor(10, {"S", "old"}, colour).texts[1], "0,0,255");

  Author font;
  font.act = [](HWND editor) { ClickId(editor, kIdButton + 2); };
  font.common = [](const SeenWindow& dialog) {
    SelectComboItem(dialog.window, 0x470, "Liberation Sans");
    SelectComboItem(dialog.window, 0x471, "Bold");
    SelectComboItem(dialog.window, 0x472, "10");
    SendMessageA(GetDlgItem(dialog.window, 0x411), BM_CLICK, 0, 0);  // underline
    ClickId(dialog.window, IDOK);
  };
  const std::string text = RunEditor(19, {"S", "old"}, font).texts[1];
  EXPECT_EQ(text.rfind("Liberation Sans|", 0), 0u) << text;
  EXPECT_NE(text.find("|10|fsBold fsUnderline |"), std::string::npos) << text;

  // The save button appends ".bmp" always, also to a name that has it.
  Author save;
  save.act = [](HWND editor) { ClickId(editor, kIdButton + 2); };
  save.common = [](const SeenWindow& dialog) {
    for (const ControlInfo& c : dialog.controls)
      if (c.id == 0x47C && c.className == "Edit") TypeInto(c.window, "C:\\windows\\temp\\kd-chart.bmp");
    ClickId(dialog.window, IDOK);
  };
  EXPECT_EQ(RunEditor(33, {"S", "old"}, save).texts[1], "C:\\windows\\temp\\kd-chart.bmp.bmp");

  // The open button takes the chosen file's full path as it is.
  Author open;
  open.act = [](HWND editor) { ClickId(editor, kIdButton + 2 * 1 + 1); };
  open.common = [](const SeenWindow& dialog) {
    for (const ControlInfo& c : dialog.controls)
      if (c.id == 0x47C && c.className == "Edit") TypeInto(c.window, "C:\\windows\\win.ini");
    ClickId(dialog.window, IDOK);
  };
  EXPECT_EQ(RunEditor(12, {"S", "old", "Tile", "Show"}, open).texts[1], "C:\\windows\\win.ini");
}

TEST_F(EditorTest, CaptionsComeFromTheLocalisationFileWhenItHasThem) {
  std::vector<std::string> lines = ValidHeader();
  lines.push_back("036*Border colour:");
  lines.push_back("040*Sets the border.");
  WriteLocalisation(lines);
  EditRun run = RunEditor(14, {"S", "", "", "", ""});
  EXPECT_EQ(run.seen.texts[kIdSlotCaption + 1], L"Border colour:");
  EXPECT_EQ(run.seen.texts[kIdDescription], L"Sets the border.");
  // Untranslated captions keep their Russian defaults.
  EXPECT_EQ(InCodePage(run.seen.texts[kIdSlotCaption + 3], 1251), "\xD1\xF2\xE8\xEB\xFC \xEB\xE8\xED\xE8\xE8 \xE1\xEE\xF0\xE4\xFE\xF0\xE0:");
}

TEST_F(EditorTest, OtherIdentifiersOpenNothingAndTouchNothing) {
  for (int id : {0, 35, -1}) {
    EditRun run = RunEditor(id, {"A", "B", "C", "D", "E", "F", "G", "H", "I"});
    EXPECT_FALSE(run.result) << id;
    EXPECT_EQ(run.after, run.before);
    EXPECT_EQ(run.windows, 0);
  }
  // Fewer slots than the action has: refused before anything is read.
  EXPECT_FALSE(RunEditor(14, {"A", "B"}).result);
}

TEST_F(EditorTest, AboutShowsOurBoxEachTimeAnew) {
  std::vector<SeenWindow> seen;
  {
    DialogDriver driver(CloseEverything());
    Plugin().nbAbout();
    Plugin().nbAbout();
    seen = driver.Seen();
  }
  ASSERT_EQ(seen.size(), 2u);
  for (const SeenWindow& about : seen) {
    EXPECT_EQ(about.className, "TAboutBoxForm");
    EXPECT_EQ(about.caption, "About");
    EXPECT_NE(about.AllText().find("kdPieChart  \n"), std::string::npos);
  }
}

}  // namespace
}  // namespace kdhost
