// Registration, init texts and the messages, through the loaded DLL.
#include <cstring>

#include "PlugInHost.h"

namespace kdhost {
namespace {

using Registration_ = PlugInTest;
using InitTexts = PlugInTest;
using Messages = PlugInTest;

TEST_F(Registration_, MakesThirtyNineCallsInTableOrder) {
  RegisterWithHost();
  const auto& r = host.registrations;
  ASSERT_EQ(r.size(), 39u);

  // Categories sit right before their actions, with a one-byte placeholder.
  const std::pair<size_t, const char*> categories[] = {
      {0, "PieChart"}, {18, "Legend"}, {25, "Marks"}, {33, "Dialogs"}, {36, "Additionally"}};
  for (auto [index, name] : categories) {
    EXPECT_EQ(r[index].id, 0);
    EXPECT_EQ(r[index].name, name);
    EXPECT_EQ(r[index].hint, "");
    EXPECT_EQ(r[index].count, 0);
    EXPECT_EQ(r[index].high, 0);
    EXPECT_EQ(r[index].types, std::vector<unsigned char>{1});
  }

  // Actions carry identifiers 1..34 in order.
  int expected = 1;
  for (const Registration& entry : r) {
    if (entry.id == 0) continue;
    EXPECT_EQ(entry.id, expected++) << entry.name;
    EXPECT_EQ(entry.high, entry.count - 1) << entry.name;
    EXPECT_EQ(entry.types.size(), static_cast<size_t>(entry.count)) << entry.name;
  }
  EXPECT_EQ(expected, 35);

  EXPECT_EQ(r[1].name, "kdPieChartCreate");
  EXPECT_EQ(r[1].types, std::vector<unsigned char>(9, 1));
  EXPECT_EQ(r[5].name, "kdPieChartAddSeries");
  EXPECT_EQ(r[5].types, (std::vector<unsigned char>{1, 1, 3, 1}));
  EXPECT_EQ(r[34].name, "kdFontBox");
  EXPECT_EQ(r[34].types, std::vector<unsigned char>{6});
  EXPECT_EQ(r[38].name, "kdPieChartRotate");
  EXPECT_EQ(r[38].types, (std::vector<unsigned char>{1, 1, 3}));
}

TEST_F(Registration_, DefaultHintsAreCodePage1251Russian) {
  RegisterWithHost();
  const auto& r = host.registrations;
  ASSERT_EQ(r.size(), 39u);
  EXPECT_EQ(Cp1251ToUtf8(r[1].hint), u8"Создать объект PieChart.");
  EXPECT_EQ(Cp1251ToUtf8(r[13].hint), u8"Вкл\\Откл заштриховку диаграммы.");
  EXPECT_EQ(Cp1251ToUtf8(r[24].hint),
            u8"Установить цвет и удалённость \"тени\" от панели списка обозначений.");
  // The quick creation hint names the action that fills such a chart.
  EXPECT_NE(r[2].hint.find("kdPieChartAddSeries"), std::string::npos);
  // Single bytes, not UTF-8: "С" is 0xD1 in code page 1251.
  EXPECT_EQ(static_cast<unsigned char>(r[1].hint[0]), 0xD1);
}

TEST_F(InitTexts, HandsOverExactBlocksAndFreesWhatTheHostLeftThere) {
  kd::HostText name = ledger.HostBlock("old name");
  kd::HostText author = nullptr;
  kd::HostText description = ledger.HostBlock("");
  char* oldName = name;
  char* oldDescription = description;

  Plugin().nbInitPlugIn(1234, &name, &author, &description);
  EXPECT_STREQ(name, "kdPieChart");
  EXPECT_STRNE(author, "");
  EXPECT_STREQ(description, "Drawing pie charts in VisualNeo.");
  EXPECT_FALSE(ledger.IsLiveHostBlock(oldName));
  EXPECT_FALSE(ledger.IsLiveHostBlock(oldDescription));
  for (kd::HostText t : {name, author, description})
    EXPECT_EQ(ledger.ModuleBlockSize(t), std::strlen(t) + 1);

  // A second call frees the blocks of the first.
  char* firstAuthor = author;
  Plugin().nbInitPlugIn(1234, &name, &author, &description);
  EXPECT_FALSE(ledger.IsLiveModuleBlock(firstAuthor));
  EXPECT_EQ(ledger.LiveModuleBlocks(), 3u);
  for (kd::HostText t : {name, author, description}) ledger.HostFree(t);
  EXPECT_EQ(ledger.LiveModuleBlocks(), 0u);
}

TEST_F(Messages, AnyCodeIsHarmlessWithoutCharts) {
  for (int code = -1; code <= 9; ++code) Plugin().nbMessage(code, 0);
  Plugin().nbMessage(kd::kMessageLeaveRunMode, 0);
  Plugin().nbMessage(kd::kMessageLeaveRunMode, 0);
  EXPECT_EQ(ledger.ModuleAllocations(), 0);
}

}  // namespace
}  // namespace kdhost
