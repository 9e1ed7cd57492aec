// The registration table: its shape and the facts the dispatch relies on.
#include "host/ActionTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace kd {
namespace {

TEST(ActionTable, FiveCategoriesBeforeTheirActions) {
  const std::vector<ActionEntry>& table = ActionTable();
  ASSERT_EQ(table.size(), 39u);
  EXPECT_EQ(table.front().id, 0);
  EXPECT_STREQ(table.front().name, "PieChart");
  EXPECT_EQ(table.back().id, 34);
  EXPECT_STREQ(table.back().name, "kdPieChartRotate");

  std::string categories;
  int32_t expectedId = 1;
  for (const ActionEntry& entry : table) {
    if (entry.id == 0) {
      categories += std::string(entry.name) + " ";
      EXPECT_EQ(entry.key, nullptr);
      EXPECT_STREQ(entry.defaultHint, "");
      EXPECT_EQ(entry.types, std::vector<uint8_t>{kParamText});
      EXPECT_EQ(entry.count, 0);
      continue;
    }
    // Actions come in identifier order, each with one type per parameter.
    EXPECT_EQ(entry.id, expectedId++);
    EXPECT_EQ(static_cast<int32_t>(entry.types.size()), entry.count) << entry.name;
    char key[16];
    std::snprintf(key, sizeof key, "%03d*", 84 + entry.id);
    EXPECT_STREQ(entry.key, key) << entry.name;
  }
  EXPECT_EQ(categories, "PieChart Legend Marks Dialogs Additionally ");
  EXPECT_EQ(expectedId, 35);
  EXPECT_EQ(HighestActionId(), 34);
}

TEST(ActionTable, ParameterCountsAndTypes) {
  EXPECT_EQ(ActionParameterCount(1), 9);
  EXPECT_EQ(ActionParameterCount(0), 0);
  EXPECT_EQ(ActionParameterCount(35), 0);
  EXPECT_EQ(ActionParameterCount(-1), 0);
  EXPECT_EQ(FindAction(35), nullptr);
  ASSERT_NE(FindAction(5), nullptr);
  EXPECT_EQ(FindAction(5)->types, (std::vector<uint8_t>{1, 1, 3, 1}));
  EXPECT_EQ(FindAction(31)->types, std::vector<uint8_t>{kParamVariable});
}

TEST(ActionTable, HintsAreCodePage1251Bytes) {
  // "Округлить диаграмму." in code page 1251.
  const unsigned char circled[] = {0xCE, 0xEA, 0xF0, 0xF3, 0xE3, 0xEB, 0xE8, 0xF2, 0xFC, 0x20,
                                   0xE4, 0xE8, 0xE0, 0xE3, 0xF0, 0xE0, 0xEC, 0xEC, 0xF3, 0x2E};
  EXPECT_EQ(std::string(FindAction(17)->defaultHint),
            std::string(reinterpret_cast<const char*>(circled), sizeof circled));
  // The quick creation hint names the action that fills the chart.
  EXPECT_NE(std::string(FindAction(2)->defaultHint).find("( kdPieChartAddSeries )"),
            std::string::npos);
  // "Вкл\Откл" keeps its backslash; the shadow hint its quotes around "тени".
  EXPECT_EQ(std::string(FindAction(13)->defaultHint).substr(0, 8), "\xC2\xEA\xEB\\\xCE\xF2\xEA\xEB");
  EXPECT_NE(std::string(FindAction(23)->defaultHint).find("\"\xF2\xE5\xED\xE8\""),
            std::string::npos);
}

}  // namespace
}  // namespace kd
