// Module-wide robustness: every action fed with hostile parameter texts
// through the library, and the module's windows, timers and GDI objects back
// at their baseline after a hundred charts have lived and died.
#include <cstdint>

#include "ActionFiles.h"
#include "ChartHost.h"
#include "HostileTexts.h"
#include "host/ActionTable.h"
#include "plugin/EntryPoints.h"
#include "platform/ResourceCounters.h"

namespace kdhost {
namespace {

using RawExecAction = uint8_t(KD_HOSTCALL*)(int32_t id, kd::HostText* params, int32_t high);

// nbExecAction's result byte as the host reads it.
int RawExec(int id, const std::vector<std::string>& params) {
  static auto exec = reinterpret_cast<RawExecAction>(
      reinterpret_cast<void*>(GetProcAddress(Plugin().handle(), "nbExecAction")));
  BlockLedger& ledger = BlockLedger::Get();
  std::vector<kd::HostText> texts;
  for (const std::string& p : params) texts.push_back(ledger.HostBlock(p));
  int result = 0;
  {
    FloatCheck check("nbExecAction");
    result = exec(id, texts.empty() ? nullptr : texts.data(), static_cast<int32_t>(texts.size()) - 1);
  }
  for (kd::HostText t : texts) ledger.HostFree(t);
  return result;
}

bool HasChart(HWND rectangle) { return GetWindow(rectangle, GW_CHILD) != nullptr; }

using Robustness = ChartTest;

TEST_F(Robustness, EveryActionSurvivesHostileTexts) {
  // Bitmaps saved under junk names land in a folder of their own.
  char base[MAX_PATH], kept[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  GetCurrentDirectoryA(MAX_PATH, kept);
  const std::string scratch = std::string(base) + "kdpie-robust-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(scratch.c_str(), nullptr);
  ASSERT_TRUE(SetCurrentDirectoryA(scratch.c_str()));

  // The pickers' dialogs are cancelled as soon as they appear.
  DialogDriver driver(CancelEverything());
  HostileTexts texts(20240611);
  const HWND rect1 = page->window().Rectangle("Rect1");
  int calls = 0, trues = 0, bad = 0;
  for (int round = 0; round < 600; ++round) {
    if (!HasChart(rect1)) {
      ASSERT_TRUE(Exec(1, {"Rect1", "", "A;1;|B;2;|C;3;", "", "", "true", "", "", ""}));
    }
    const int id = 1 + texts.Below(kd::HighestActionId());
    std::vector<std::string> params(static_cast<size_t>(kd::ActionParameterCount(id)));
    for (std::string& p : params) p = texts.Next();
    if (id != 31 && id != 32) params[0] = texts.ChartName("Rect1");
    const int result = RawExec(id, params);
    ++calls;
    if (result == 1) ++trues;
    if (result != 0 && result != 1) {
      ++bad;
      ADD_FAILURE() << "action " << id << " returned " << result << " in round " << round;
    }
    PumpMessages();  // the chart paints whatever the action left behind
  }
  // Out-of-range identifiers are no actions.
  for (int id : {0, -1, 35, 1000, INT32_MIN}) EXPECT_EQ(RawExec(id, {"Rect1", "x", "y"}), 0);

  // The module still works afterwards.
  ASSERT_TRUE(Exec(1, {"Rect1", "0,0,255", "A;1;", "", "", "", "", "", ""}));
  PumpMessages();
  EXPECT_TRUE(Exec(33, {"Rect1", "after.bmp"}));
  EXPECT_EQ(BitmapSize("after.bmp"), std::make_pair(400, 300));
  Plugin().nbMessage(kd::kMessageLeaveRunMode, 0);
  PumpMessages();
  EXPECT_FALSE(HasChart(rect1));
  EXPECT_EQ(ledger.LiveModuleBlocks(), 0u);

  SetCurrentDirectoryA(kept);
  RemoveFolder(scratch);
  EXPECT_EQ(bad, 0);
  EXPECT_GT(trues, 50) << "too few calls reached a chart to prove anything";
  EXPECT_EQ(calls, 600);
}

// The host runs with floating-point exceptions unmasked (FloatMode): values,
// sizes and view settings at the ends of their ranges, drawn, rotated and
// saved, must raise nothing there and give the host its words back.
TEST_F(Robustness, ExtremeNumbersRaiseNothingInAnUnmaskedHost) {
  struct Case {
    const char* records;
    int width, height;
    std::vector<std::pair<std::string, std::string>> view;
  };
  const std::vector<std::pair<std::string, std::string>> ends = {
      {"Zoom", "1"}, {"Zoom", "500"}, {"Elevation", "0"}, {"Elevation", "360"}, {"Perspective", "100"},
      {"Depth", "100"}, {"Horiz Offset", "-1500"}, {"Vert Offset", "1500"}, {"Explode Biggest", "100"}};
  const Case cases[] = {
      {"A;1e308;255,0,0|B;1e308;0,0,255", 400, 300, {}},  // the sum overflows
      {"A;1e-320;|B;1e-320;|C;4.9e-324;", 400, 300, {}},  // denormal
      {"A;inf;|B;-inf;|C;nan;|D;1e309;|E;-1e308;", 400, 300, {}},
      {"A;0;|B;-0;", 400, 300, {}},  // a zero total
      {"A;1;|B;2;", 0, 0, {}},       // a zero-sized host rectangle
      {"A;1;|B;2;", 1, 1, ends},
      {"A;1e308;|B;1e-320;", 400, 300, ends},
  };
  ProgramFile file("extreme.bmp");
  int index = 0;
  for (const Case& c : cases) {
    const std::string name = "Extreme" + std::to_string(index++);
    page->window().AddRectangle(name, 5, 5, c.width, c.height);
    ASSERT_TRUE(Exec(1, {name, "", c.records, "", "", "true", "", "", ""})) << name;
    Exec(15, {name, "true"});
    Exec(24, {name, "VisibleMarks", "true"});
    Exec(25, {name, "PercentTotal"});
    for (const auto& [key, value] : c.view) EXPECT_TRUE(Exec(16, {name, key, value})) << name << " " << key;
    EXPECT_TRUE(Exec(34, {name, "true", "7"})) << name;
    PumpFor(150);  // paints and rotation ticks
    Exec(33, {name, file.Path()});
    EXPECT_TRUE(Exec(3, {name})) << name;
  }
}

using LeakCheck = InProcessChartTest;

TEST_F(LeakCheck, HundredChartsLeaveNothingBehind) {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  const std::string folder = std::string(base) + "kdpie-leak-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);

  const int charts = 100;
  std::vector<std::string> names;
  for (int i = 0; i < charts; ++i) {
    const std::string name = "Pie" + std::to_string(i);
    names.push_back(name);
    page->window().AddRectangle(name, 10 + (i % 10) * 95, 10 + (i / 10) * 72, 90, 68);
    ASSERT_TRUE(ExecInProcess(1, {name, "240,240,255", "A;1;|B;2;0,255,0|C;3;", i % 3 ? "" : "true", "", "true",
                                  i % 2 ? "true" : "", "10", "30"}));
    ExecInProcess(11, {name, "255,0,0", "0,0,255", "FromCenter"});
    ExecInProcess(14, {name, "0,0,0", "show", "Dash", "2"});
    ExecInProcess(19, {name, "Arial|clRed|10|fsBold fsItalic|204"});
    ExecInProcess(24, {name, "VisibleFrame", "true"});
    ExecInProcess(27, {name, "Times New Roman|clBlue|9|fsUnderline|0"});
    ASSERT_TRUE(ExecInProcess(34, {name, "true", "5"}));
    if (i % 10 == 9) PumpFor(200);  // paint and rotate the ten newest
    ASSERT_TRUE(ExecInProcess(33, {name, folder + "\\" + name + ".bmp"}));
    DeleteFileA((folder + "\\" + name + ".bmp").c_str());
  }
  EXPECT_EQ(kd::platform::LiveWindows(), charts);
  EXPECT_EQ(kd::platform::LiveTimers(), charts);

  // Half are deleted one by one, the rest go when the run ends.
  for (int i = 0; i < charts; i += 2) ASSERT_TRUE(ExecInProcess(3, {names[i]}));
  EXPECT_EQ(kd::platform::LiveWindows(), charts / 2);
  PumpFor(100);
  kd::Message(kd::kMessageLeaveRunMode);
  PumpMessages();
  EXPECT_EQ(kd::platform::LiveWindows(), 0);
  EXPECT_EQ(kd::platform::LiveTimers(), 0);
  EXPECT_EQ(kd::platform::LiveGdiObjects(), gdiBaseline);
  EXPECT_EQ(kd::FindChart(names[1]), nullptr);
  RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace kdhost
