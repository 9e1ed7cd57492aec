#include "ChartHost.h"

#include <cstdio>

#include "plugin/EntryPoints.h"
#include "platform/ResourceCounters.h"
#include "support/Pixels.h"

namespace kdhost {

ChartPage::ChartPage() : page_("kdPieChart test page", 1000, 760) {
  page_.AddRectangle("Rect1", 10, 10, 400, 300);
  page_.AddRectangle("Rect2", 420, 10, 300, 200);
  page_.AddRectangle("Wide", 10, 320, 800, 600);
}

void ChartTest::SetUp() {
  PlugInTest::SetUp();
  page = std::make_unique<ChartPage>();
  RegisterWithHost();
}

void ChartTest::TearDown() {
  Plugin().nbMessage(kd::kMessageLeaveRunMode, 0);
  page.reset();
  PlugInTest::TearDown();
}

void AttachInProcessModule(HostSide& host) {
  auto unused = reinterpret_cast<kd::OpaqueCallback>(&HostSide::Unused);
  kd::RegisterInterfaceAccess(&HostSide::InterfaceAccess);
  kd::RegisterScriptProcessor(unused);
  kd::RegisterPlugIn(&HostSide::Register, unused, unused, &HostSide::SetVariable);
}

bool ExecInProcess(int id, const std::vector<std::string>& params) {
  std::vector<std::string> copies = params;
  std::vector<kd::HostText> texts;
  for (std::string& p : copies) texts.push_back(p.data());
  return kd::ExecAction(id, texts.empty() ? nullptr : texts.data(), static_cast<int32_t>(texts.size()) - 1);
}

void InProcessChartTest::SetUp() {
  inModule_ = std::make_unique<kd::platform::FloatingPointScope>();
  host.Reset();
  page = std::make_unique<ChartPage>();
  // The in-process module asks the same host side as the DLL does, and its
  // text blocks go through the same ledger.
  BlockLedger::Get().Install(GetModuleHandleA(nullptr));
  BlockLedger::Get().ResetCounts();
  kd::RegisterInterfaceAccess(&HostSide::InterfaceAccess);
  gdiBaseline = kd::platform::LiveGdiObjects();
}

void InProcessChartTest::TearDown() {
  kd::Message(kd::kMessageLeaveRunMode);
  PumpMessages();
  page.reset();
  EXPECT_EQ(kd::platform::LiveWindows(), 0);
  EXPECT_EQ(kd::platform::LiveTimers(), 0);
  EXPECT_EQ(kd::platform::LiveGdiObjects(), gdiBaseline);
  EXPECT_TRUE(BlockLedger::Get().Errors().empty()) << BlockLedger::Get().Errors().front();
  inModule_.reset();
}

kd::TNeoChart& InProcessChartTest::Create(const std::string& records) {
  EXPECT_TRUE(ExecInProcess(1, {"Rect1", "", records, "", "", "", "", "", ""}));
  kd::TNeoChart* chart = Chart("Rect1");
  if (!chart) throw std::runtime_error("chart was not created");
  return *chart;
}

std::pair<int, int> BitmapSize(const std::string& file) {
  const kdtest::BmpFile bmp = kdtest::ReadBmp(file);
  return {bmp.width, bmp.height};
}

long BitmapPixel(const std::string& file, int x, int y) {
  const kdtest::BmpFile bmp = kdtest::ReadBmp(file);
  if (x < 0 || y < 0 || x >= bmp.width || y >= bmp.height) return -1;
  return bmp.At(x, y);
}

}  // namespace kdhost
