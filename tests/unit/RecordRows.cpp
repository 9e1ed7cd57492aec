// The record table's texts: rows and slices read from a record list, slices
// rebuilt from rows, and the record list written back.
#include "charts/RecordRows.h"

#include <gtest/gtest.h>

namespace kd {
namespace {

using Texts = std::vector<std::string>;

struct ReadCase {
  const char* list;
  const char* caption;
  Texts subTexts;
  bool hasSlice;
};

TEST(RecordRows, EveryRecordGetsItsRowAndOnlyCompleteOnesASlice) {
  const ReadCase cases[] = {
      {"A;10;255,0,0", "A", {"10", "255,0,0"}, true},
      {"B;30;", "B", {"30", ""}, true},
      {"C;5;1,2", "C", {"5", "1,2"}, false},      // two-field colour
      {"D;x;", "D", {"x", ""}, false},            // no number
      {"E;7", "E", {"7"}, false},                 // short record
      {"F", "F", {}, false},
      {"G;1;0,0,9;extra", "G", {"1", "0,0,9"}, true},
  };
  for (const ReadCase& c : cases) {
    const std::vector<TableRecord> records = ReadTableRecords(c.list);
    ASSERT_EQ(records.size(), 1u) << c.list;
    EXPECT_EQ(records[0].row.caption, c.caption) << c.list;
    EXPECT_EQ(records[0].row.subTexts, c.subTexts) << c.list;
    EXPECT_EQ(records[0].slice.has_value(), c.hasSlice) << c.list;
  }
}

TEST(RecordRows, SlicesCarryValueLabelAndColour) {
  const std::vector<TableRecord> records = ReadTableRecords("A;10;255,0,0|B;2.5;");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].slice->color, RGBColor(255, 0, 0));
  EXPECT_EQ(records[0].slice->label, "A");
  EXPECT_DOUBLE_EQ(records[1].slice->value, 2.5);
  EXPECT_EQ(records[1].slice->color, clDefault);
  EXPECT_TRUE(ReadTableRecords("").empty());
}

TEST(RecordRows, ListTextWritesMissingTextsEmpty) {
  const std::vector<TableRecord> records = ReadTableRecords("A;1;|");
  ASSERT_EQ(records.size(), 2u);  // the trailing bar leaves an empty record
  EXPECT_EQ(RecordListText({records[0].row, records[1].row, RecordRow{"E", {"7"}}}), "A;1;|;;|E;7;");
  EXPECT_EQ(RecordListText({}), "");
}

TEST(RecordRows, RebuiltRowsWithoutANumberOrAReadableColourGetNoSlice) {
  EXPECT_FALSE(RowSlice(RecordRow{"A", {"abc", ""}}));
  EXPECT_FALSE(RowSlice(RecordRow{"A", {"5", "1,2"}}));  // not the last colour read
  EXPECT_FALSE(RowSlice(RecordRow{"A", {}}));            // missing value counts as empty text
  const std::optional<PieRecord> slice = RowSlice(RecordRow{"A", {"5"}});
  ASSERT_TRUE(slice);
  EXPECT_EQ(slice->color, clDefault);
  EXPECT_EQ(RowSlice(RecordRow{"A", {"5", "0,0,255"}})->color, RGBColor(0, 0, 255));
}

TEST(RecordRows, EnteredRecordsWithAnUnreadableColourGetNoSlice) {
  EXPECT_EQ(EnteredSlice("", 4, "")->color, clDefault);
  EXPECT_EQ(EnteredSlice("", 4, "")->label, "");
  EXPECT_EQ(EnteredSlice("N", 4, "1,2,3")->color, RGBColor(1, 2, 3));
  EXPECT_FALSE(EnteredSlice("N", 4, "red"));
}

}  // namespace
}  // namespace kd
