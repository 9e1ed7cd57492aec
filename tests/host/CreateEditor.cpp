// The create-chart editor through the library, driven like an author would:
// the slots' round trip, the record-entry dialog, deleting records, the
// preview's pixels, the rotate buttons on the module-wide counter, and the
// resources left after many sessions (in-process, where they can be counted).
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "ChartHost.h"
#include "Screenshot.h"
#include "editors/CreateChartEditor.h"
#include "editors/EditDispatch.h"
#include "editors/RecordEntryDialog.h"
#include "platform/ResourceCounters.h"

namespace kdhost {
namespace {

using kd::editors::kIdSlotControl;
constexpr int kTableId = kIdSlotControl + 2;
constexpr int kMonochromeId = kIdSlotControl + 3;
constexpr int kAngleId = kIdSlotControl + 8;
constexpr unsigned kRed = 0xFF0000, kGreen = 0x008000, kBlue = 0x0000FF;

using Clock = std::chrono::steady_clock;

// Waits up to two seconds for `done`; true when it came.
bool WaitFor(const std::function<bool()>& done) {
  const auto end = Clock::now() + std::chrono::seconds(2);
  while (!done()) {
    if (Clock::now() > end) return false;
    Sleep(10);
  }
  return true;
}

// Clicks a control and returns once the dialog has handled the click (never
// for a button that opens a modal dialog).
void ClickNow(HWND dialog, int id) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

HWND PreviewOf(HWND dialog) { return FindWindowExA(dialog, nullptr, "kdPieChartWindow", nullptr); }

long CountColour(const std::vector<unsigned>& pixels, unsigned colour) {
  return static_cast<long>(std::count(pixels.begin(), pixels.end(), colour));
}

bool OnlyBlackAndWhite(const std::vector<unsigned>& pixels) {
  return !pixels.empty() && std::all_of(pixels.begin(), pixels.end(),
                                        [](unsigned p) { return p == 0 || p == 0xFFFFFF; });
}

std::vector<std::string> TableRow(HWND table, int row) {
  std::vector<std::string> texts;
  for (int column = 0; column < 3; ++column) {
    char buffer[256] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(table, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    texts.push_back(buffer);
  }
  return texts;
}

// Problems a driver script found, read on the test's thread afterwards.
struct Notes {
  void Add(const std::string& problem) {
    std::lock_guard<std::mutex> lock(mutex);
    all += problem + "; ";
  }
  std::string All() {
    std::lock_guard<std::mutex> lock(mutex);
    return all;
  }
  std::mutex mutex;
  std::string all;
};

struct EditResult {
  bool ok = false;
  std::vector<std::string> slots;
};

// Opens the create editor of `module` on the slot texts while `script` plays
// the author; the slots after the call.
EditResult EditCreate(PlugInModule& module, const std::vector<std::string>& texts, DialogDriver::Script script) {
  BlockLedger& ledger = BlockLedger::Get();
  std::vector<kd::HostText> slots(kd::editors::kCreateChartSlots, nullptr);
  for (size_t i = 0; i < texts.size(); ++i) slots[i] = ledger.HostBlock(texts[i]);
  EditResult result;
  {
    DialogDriver driver(std::move(script));
    result.ok = module.nbEditAction(1, slots.data(), kd::editors::kCreateChartSlots - 1);
  }
  for (kd::HostText& slot : slots) {
    result.slots.push_back(slot ? slot : "");
    if (slot) ledger.HostFree(slot);
  }
  return result;
}

DialogDriver::Script PressOk() {
  return [](const SeenWindow& dialog) { ClickId(dialog.window, IDOK); };
}

using CreateEditor = PlugInTest;

struct RoundTrip {
  std::vector<std::string> in;
  std::vector<std::string> out;
};

TEST_F(CreateEditor, OkWritesTheNineSlotsInTheFormsTheCreateActionReads) {
  const RoundTrip cases[] = {
      {{"Rect1", "255,255,0", "A;10;255,0,0|B;30;", "TRUE", "false", "junk", "", "150", "abc"},
       {"Rect1", "255,255,0", "A;10;255,0,0|B;30;", "True", "False", "True", "False", "100", "abc"}},
      // Nothing given: empty records, design flags (3D and marks), explode 0, angle 0.
      {{}, {"", "", "", "False", "True", "True", "False", "0", "0"}},
      // Short records and a trailing bar keep their rows; missing texts are written empty.
      {{"", "x", "E;7|F|G;1;|", "", "", "", "true", "-3", "-5"},
       {"", "x", "E;7;|F;;|G;1;|;;", "False", "True", "True", "True", "0", "-5"}},
  };
  for (const RoundTrip& c : cases) {
    EditResult result = EditCreate(Plugin(), c.in, PressOk());
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.slots, c.out) << c.in.size();
  }
}

TEST_F(CreateEditor, CancelWritesNothing) {
  EditResult result = EditCreate(Plugin(), {"Rect1", "", "A;1;"}, CancelEverything());
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.slots, (std::vector<std::string>{"Rect1", "", "A;1;", "", "", "", "", "", ""}));
}

TEST_F(CreateEditor, OpensWithEveryControlAtItsPlace) {
  auto notes = std::make_shared<Notes>();
  EditCreate(Plugin(), {"", "", "A;10;255,0,0|B;30;"}, [notes](const SeenWindow& dialog) {
    RECT client{};
    GetClientRect(dialog.window, &client);
    if (client.right != 576 || client.bottom != 436) notes->Add("client size");
    if (dialog.caption != "kdPieChartCreate") notes->Add("caption " + dialog.caption);
    auto placeOf = [&](HWND control) {
      RECT r{};
      GetWindowRect(control, &r);
      MapWindowPoints(nullptr, dialog.window, reinterpret_cast<POINT*>(&r), 2);
      return std::vector<long>{r.left, r.top, r.right - r.left, r.bottom - r.top};
    };
    HWND table = GetDlgItem(dialog.window, kTableId);
    HWND track = GetDlgItem(dialog.window, kIdSlotControl + 7);
    if (placeOf(table) != std::vector<long>{271, 8, 299, 137}) notes->Add("table place");
    if (placeOf(track) != std::vector<long>{93, 284, 173, 33}) notes->Add("track bar place");
    if (placeOf(PreviewOf(dialog.window)) != std::vector<long>{272, 151, 297, 188}) notes->Add("preview place");
    const LONG style = GetWindowLongA(table, GWL_STYLE);
    const LRESULT extended = SendMessageA(table, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    if ((style & LVS_TYPEMASK) != LVS_REPORT || !(extended & LVS_EX_GRIDLINES) || !(extended & LVS_EX_FULLROWSELECT))
      notes->Add("table style");
    for (int column = 0; column < 3; ++column)
      if (SendMessageA(table, LVM_GETCOLUMNWIDTH, column, 0) != std::vector<int>{100, 80, 115}[column])
        notes->Add("column width");
    if (SendMessageA(track, TBM_GETRANGEMIN, 0, 0) != 0 || SendMessageA(track, TBM_GETRANGEMAX, 0, 0) != 100)
      notes->Add("track bar range");
    // B's colour cell is empty; its slice takes the palette's second colour.
    if (TableRow(table, 0) != std::vector<std::string>{"A", "10", "255,0,0"} ||
        TableRow(table, 1) != std::vector<std::string>{"B", "30", ""})
      notes->Add("table rows");
    const bool painted = WaitFor([&] {
      std::vector<unsigned> pixels = ClientPixels(PreviewOf(dialog.window));
      return CountColour(pixels, kRed) > 100 && CountColour(pixels, kGreen) > 100;
    });
    if (!painted) notes->Add("preview lacks a red and a green slice");
    ClickId(dialog.window, IDCANCEL);
  });
  EXPECT_EQ(notes->All(), "");
}

TEST_F(CreateEditor, RecordsThatDoNotReadGetARowButNoSlice) {
  // A two-field colour and a value that is no number draw the same preview as no records.
  std::vector<unsigned> empty, unread;
  for (auto* capture : {&empty, &unread}) {
    const std::string records = capture == &empty ? "" : "C;5;1,2|D;x;";
    EditCreate(Plugin(), {"", "", records}, [capture](const SeenWindow& dialog) {
      Sleep(300);
      *capture = ClientPixels(PreviewOf(dialog.window));
      ClickId(dialog.window, IDCANCEL);
    });
  }
  ASSERT_FALSE(empty.empty());
  EXPECT_TRUE(empty == unread);
}

TEST_F(CreateEditor, MonochromeCheckBoxRedrawsThePreviewInBlackAndWhite) {
  auto notes = std::make_shared<Notes>();
  EditResult result = EditCreate(Plugin(), {"", "", "A;1;255,0,0|B;1;0,0,255"}, [notes](const SeenWindow& dialog) {
    HWND preview = PreviewOf(dialog.window);
    if (!WaitFor([&] { return CountColour(ClientPixels(preview), kBlue) > 100; })) notes->Add("no blue slice");
    ClickNow(dialog.window, kMonochromeId);
    if (!WaitFor([&] { return OnlyBlackAndWhite(ClientPixels(preview)); })) notes->Add("still in colour");
    ClickId(dialog.window, IDOK);
  });
  EXPECT_EQ(notes->All(), "");
  EXPECT_EQ(result.slots[3], "True");
}

// The author adds an unnamed record, cancels a second, adds a blue one and
// deletes the first row; the rebuilt preview skips a row that is no number.
TEST_F(CreateEditor, RecordsAreAddedThroughTheEntryDialogAndDeletedBySelection) {
  auto notes = std::make_shared<Notes>();
  auto editor = std::make_shared<std::atomic<HWND>>(nullptr);
  auto entries = std::make_shared<std::atomic<int>>(0);
  auto script = [=](const SeenWindow& dialog) {
    if (dialog.caption == "kdPieChartCreate") {
      *editor = dialog.window;
      ClickId(dialog.window, kd::editors::kIdAddRecord);
      return;
    }
    if (dialog.caption != "Table entry") {
      notes->Add("unexpected window " + dialog.caption);
      CloseTopLevel(dialog.window);
      return;
    }
    RECT client{};
    GetClientRect(dialog.window, &client);
    if (client.right != 224 || client.bottom != 213) notes->Add("entry size");
    struct Entry {
      const char* name;
      const char* value;
      const char* colour;
      int button;
    };
    const Entry kEntries[] = {{"", "42", "", IDOK}, {"Lost", "1", "", IDCANCEL}, {"Blue", "7", "0,0,255", IDOK}};
    const Entry& entry = kEntries[(*entries)++];
    TypeInto(GetDlgItem(dialog.window, kd::editors::kIdEntryName), entry.name);
    TypeInto(GetDlgItem(dialog.window, kd::editors::kIdEntryValue), entry.value);
    TypeInto(GetDlgItem(dialog.window, kd::editors::kIdEntryColour), entry.colour);
    ClickId(dialog.window, entry.button);
    WaitFor([&] { return !IsWindow(dialog.window); });
    HWND main = *editor;
    if (*entries < 3) {
      ClickId(main, kd::editors::kIdAddRecord);
      return;
    }
    HWND preview = PreviewOf(main);
    if (!WaitFor([&] { return CountColour(ClientPixels(preview), kRed) > 100; })) notes->Add("no red slice");
    LVITEMA select = {};
    select.stateMask = select.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(GetDlgItem(main, kTableId), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&select));
    ClickNow(main, kd::editors::kIdDeleteRecord);
    if (!WaitFor([&] { return CountColour(ClientPixels(preview), kRed) == 0; })) notes->Add("red slice stays");
    if (CountColour(ClientPixels(preview), kBlue) < 100) notes->Add("no blue slice");
    ClickId(main, IDOK);
  };
  DialogDriver::Script shared = script;
  EditResult result = EditCreate(Plugin(), {"", "", "A;10;255,0,0|Bad;x;|C;30;0,0,255"}, shared);
  EXPECT_EQ(notes->All(), "");
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.slots[2], "Bad;x;|C;30;0,0,255|Series;42;|Blue;7;0,0,255");
}

// ---------------------------------------------------------------- rotation

// Every text the angle label is given on this thread, in order.
std::mutex angleMutex;
std::vector<std::string> angleTexts;

LRESULT CALLBACK RecordAngleTexts(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && message->message == WM_SETTEXT && GetDlgCtrlID(message->hwnd) == kAngleId) {
    std::lock_guard<std::mutex> lock(angleMutex);
    std::wstring wide(reinterpret_cast<const wchar_t*>(message->lParam));
    angleTexts.emplace_back(wide.begin(), wide.end());
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<std::string> AngleTexts() {
  std::lock_guard<std::mutex> lock(angleMutex);
  return angleTexts;
}

// Holds a rotate button until the label has shown `ticks` more texts, then
// releases it and checks that the rotation stops.
DialogDriver::Script HoldRotate(int button, size_t ticks, std::shared_ptr<Notes> notes) {
  return [=](const SeenWindow& dialog) {
    HWND control = GetDlgItem(dialog.window, button);
    const size_t before = AngleTexts().size();
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    if (!WaitFor([&] { return AngleTexts().size() >= before + ticks; })) notes->Add("too few ticks");
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(control, WM_LBUTTONUP, 0, MAKELPARAM(5, 5), SMTO_NORMAL, 5000, &ignored);
    const size_t released = AngleTexts().size();
    Sleep(250);
    if (AngleTexts().size() != released) notes->Add("still rotating after the release");
    ClickId(dialog.window, IDCANCEL);
  };
}

// A copy of the library loads as a module of its own, with the counter at 360.
class FreshModule {
 public:
  explicit FreshModule(const std::string& name) : path_(ProgramFolder() + name) {
    CopyFileA((ProgramFolder() + "kdPieChart.nbp").c_str(), path_.c_str(), FALSE);
    module_ = std::make_unique<PlugInModule>(path_);
  }
  ~FreshModule() {
    module_.reset();
    DeleteFileA(path_.c_str());
  }
  PlugInModule& operator*() { return *module_; }

 private:
  std::string path_;
  std::unique_ptr<PlugInModule> module_;
};

std::vector<std::string> Ticks(size_t from, size_t count) {
  std::vector<std::string> texts = AngleTexts();
  if (texts.size() < from + count) return texts;
  return std::vector<std::string>(texts.begin() + from, texts.begin() + from + count);
}

TEST_F(CreateEditor, RotateButtonsStepTheModuleCounterWhileHeld) {
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordAngleTexts, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  auto notes = std::make_shared<Notes>();
  {
    FreshModule module("kdPieChartFreshUp.nbp");
    // The angle from slot 9 is only shown: the first tick continues from 360.
    EditCreate(*module, {"", "", "", "", "", "", "", "", "abc"},
               HoldRotate(kd::editors::kIdRotateUp, 4, notes));
    EXPECT_EQ(Ticks(0, 4), (std::vector<std::string>{"abc", "0", "3", "6"}));
    // A new session keeps the counter.
    const std::string last = AngleTexts().back();
    const size_t start = AngleTexts().size();
    EditCreate(*module, {}, HoldRotate(kd::editors::kIdRotateDown, 2, notes));
    EXPECT_EQ(Ticks(start, 2), (std::vector<std::string>{"0", std::to_string(std::stoi(last) - 3)}));
  }
  {
    FreshModule module("kdPieChartFreshDown.nbp");
    const size_t start = AngleTexts().size();
    EditCreate(*module, {}, HoldRotate(kd::editors::kIdRotateDown, 3, notes));
    EXPECT_EQ(Ticks(start, 3), (std::vector<std::string>{"0", "357", "354"}));
  }
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(notes->All(), "");
}

// ---------------------------------------------------------------- resources

using CreateEditorSessions = InProcessChartTest;

TEST_F(CreateEditorSessions, TwentySessionsWithRotationLeaveNothingBehind) {
  BlockLedger& ledger = BlockLedger::Get();
  for (int session = 0; session < 20; ++session) {
    // Every other session ends while the button is still held.
    const bool release = session % 2 == 0;
    DialogDriver driver([release](const SeenWindow& dialog) {
      HWND button = GetDlgItem(dialog.window, kd::editors::kIdRotateUp);
      PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      Sleep(150);
      if (release) PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      ClickId(dialog.window, IDOK);
    });
    std::vector<kd::HostText> slots(kd::editors::kCreateChartSlots, nullptr);
    slots[2] = ledger.HostBlock("A;1;255,0,0|B;2;|C;3;0,0,255");
    EXPECT_TRUE(kd::editors::EditAction(1, slots.data(), 8));
    for (kd::HostText slot : slots) ledger.HostFree(slot);
    EXPECT_EQ(kd::platform::LiveTimers(), 0) << session;
  }
  EXPECT_EQ(ledger.LiveModuleBlocks(), 0u);
}

}  // namespace
}  // namespace kdhost
