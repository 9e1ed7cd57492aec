#include "ChartHost.h"

#include <cstdio>
#include <fstream>

#include "plugin/EntryPoints.h"
#include "platform/ResourceCounters.h"

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

bool ExecInProcess(int id, const std::vector<std::string>& params) {
  std::vector<std::string> copies = params;
  std::vector<kd::HostText> texts;
  for (std::string& p : copies) texts.push_back(p.data());
  return kd::ExecAction(id, texts.empty() ? nullptr : texts.data(), static_cast<int32_t>(texts.size()) - 1);
}

void InProcessChartTest::SetUp() {
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
}

kd::TNeoChart& InProcessChartTest::Create(const std::string& records) {
  EXPECT_TRUE(ExecInProcess(1, {"Rect1", "", records, "", "", "", "", "", ""}));
  kd::TNeoChart* chart = Chart("Rect1");
  if (!chart) throw std::runtime_error("chart was not created");
  return *chart;
}

namespace {
struct BitmapHeader {
  int width = 0, height = 0, bits = 0;
  long offset = 0;
};

bool ReadHeader(std::ifstream& in, BitmapHeader& h) {
  unsigned char head[54];
  if (!in.read(reinterpret_cast<char*>(head), sizeof head) || head[0] != 'B' || head[1] != 'M') return false;
  auto u32 = [&](int at) { return head[at] | head[at + 1] << 8 | head[at + 2] << 16 | head[at + 3] << 24; };
  h.offset = u32(10);
  h.width = u32(18);
  h.height = u32(22);
  h.bits = head[28] | head[29] << 8;
  return h.bits == 24 || h.bits == 32;
}
}  // namespace

std::pair<int, int> BitmapSize(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  BitmapHeader h;
  if (!ReadHeader(in, h)) return {0, 0};
  return {h.width, h.height < 0 ? -h.height : h.height};
}

long BitmapPixel(const std::string& file, int x, int y) {
  std::ifstream in(file, std::ios::binary);
  BitmapHeader h;
  if (!ReadHeader(in, h)) return -1;
  int height = h.height < 0 ? -h.height : h.height;
  if (x < 0 || y < 0 || x >= h.width || y >= height) return -1;
  int bytes = h.bits / 8;
  long stride = ((h.width * bytes) + 3) & ~3L;
  long row = h.height > 0 ? height - 1 - y : y;  // bottom-up unless the height is negative
  in.seekg(h.offset + row * stride + x * bytes);
  unsigned char bgr[3];
  if (!in.read(reinterpret_cast<char*>(bgr), 3)) return -1;
  return bgr[2] | bgr[1] << 8 | bgr[0] << 16;  // as a colour value: red lowest
}

}  // namespace kdhost
