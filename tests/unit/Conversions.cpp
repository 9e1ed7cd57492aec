// Parameter conversions: the text forms scripts write and the pickers produce.
#include "charts/Conversions.h"

#include <gtest/gtest.h>

#include "charts/ColorNames.h"
#include "engine/TextLocale.h"

namespace kd {
namespace {

using Items = std::vector<std::string>;

// Restores the classic locale after a test that changes it.
class ConversionsTest : public ::testing::Test {
 protected:
  void TearDown() override { SetCurrentLocale(TextLocale::Classic()); }
};

TEST_F(ConversionsTest, SplitEmptyItemsAndBlanks) {
  EXPECT_EQ(DelimitedSplit("a,,b", ','), (Items{"a", "", "b"}));
  EXPECT_EQ(DelimitedSplit("a,b,", ','), (Items{"a", "b", ""}));
  EXPECT_EQ(DelimitedSplit(",a", ','), (Items{"", "a"}));
  EXPECT_EQ(DelimitedSplit("a b,c", ','), (Items{"a", "b", "c"}));
  EXPECT_EQ(DelimitedSplit("  a ,\t b  ", ','), (Items{"a", "b"}));
  EXPECT_EQ(DelimitedSplit("a, ", ','), (Items{"a"}));  // the delimiter is not last
  EXPECT_TRUE(DelimitedSplit("", ',').empty());
  EXPECT_TRUE(DelimitedSplit("   ", ',').empty());
}

TEST_F(ConversionsTest, SplitQuotedItems) {
  EXPECT_EQ(DelimitedSplit("\"a, b\",c", ','), (Items{"a, b", "c"}));
  EXPECT_EQ(DelimitedSplit("\"say \"\"hi\"\"\"", ','), (Items{"say \"hi\""}));
  EXPECT_EQ(DelimitedSplit("\"\",x", ','), (Items{"", "x"}));
  // Without a closing quote the item is the rest less its last character.
  EXPECT_EQ(DelimitedSplit("\"abc", ','), (Items{"ab"}));
  EXPECT_EQ(DelimitedSplit("x,\"", ','), (Items{"x", ""}));
}

TEST_F(ConversionsTest, SplitStepsOverDoubleByteCharacters) {
  EXPECT_EQ(DelimitedSplit("\x81,x,y", ','), (Items{"\x81", "x", "y"}));
  TextLocale locale = TextLocale::Classic();
  locale.leadByte[0x81] = true;
  SetCurrentLocale(locale);
  // The comma is the trail byte of one character, not a delimiter.
  EXPECT_EQ(DelimitedSplit("\x81,x,y", ','), (Items{"\x81,x", "y"}));
  EXPECT_EQ(DelimitedSplit("\"\x81\"\",z", ','), (Items{"\x81\"", "z"}));
  // A lead byte at the very end stays a character of its own.
  EXPECT_EQ(DelimitedSplit("a,\x81", ','), (Items{"a", "\x81"}));
}

TEST_F(ConversionsTest, IntegerForms) {
  EXPECT_EQ(IntegerParameter("$FF"), 255);
  EXPECT_EQ(IntegerParameter("xFF"), 255);
  EXPECT_EQ(IntegerParameter("0xff"), 255);
  EXPECT_EQ(IntegerParameter("-$10"), -16);
  EXPECT_EQ(IntegerParameter("$FFFFFFFF"), -1);
  EXPECT_EQ(IntegerParameter("$000000001"), 1);  // leading zeros are not significant
  EXPECT_EQ(IntegerParameter("  +42"), 42);
  EXPECT_EQ(IntegerParameter("-2147483648"), INT32_MIN);
}

TEST_F(ConversionsTest, IntegerFailures) {
  for (const char* text : {"2147483648", "-2147483649", "$100000000", "1 ", "", " ", "+", "-",
                           "$", "0x", "1.5", "+-1", "- 1", "\t1", "12a", "99999999999999999999"})
    EXPECT_THROW(IntegerParameter(text), ConversionError) << '"' << text << '"';
  EXPECT_EQ(IntegerParameter("abc", 7), 7);
  EXPECT_EQ(IntegerParameter("5", 7), 5);
}

TEST_F(ConversionsTest, FloatingUsesTheLocaleSeparator) {
  EXPECT_DOUBLE_EQ(FloatingParameter("2.5"), 2.5);
  EXPECT_DOUBLE_EQ(FloatingParameter("  -1.25e2  "), -125.0);
  EXPECT_DOUBLE_EQ(FloatingParameter("3"), 3.0);
  EXPECT_DOUBLE_EQ(FloatingParameter(".5"), 0.5);
  EXPECT_THROW(FloatingParameter("2,5"), ConversionError);
  TextLocale locale = TextLocale::Classic();
  locale.decimalSeparator = ',';
  SetCurrentLocale(locale);
  EXPECT_DOUBLE_EQ(FloatingParameter("2,5"), 2.5);
  EXPECT_THROW(FloatingParameter("2.5"), ConversionError);
}

TEST_F(ConversionsTest, FloatingFailuresAndRange) {
  for (const char* text : {"", " ", "+", "e5", "1e", "1,000", "1.2.3", "1 2", "0x10", "inf",
                           "nan", "1e400", "-1e400"})
    EXPECT_THROW(FloatingParameter(text), ConversionError) << '"' << text << '"';
  EXPECT_DOUBLE_EQ(FloatingParameter("1.7e308"), 1.7e308);
  EXPECT_EQ(FloatingParameter("1e-400"), 0.0);  // below the smallest double: zero
}

TEST_F(ConversionsTest, ColorFromRgbTriple) {
  EXPECT_EQ(ColorParameter("255,0,0"), 0x0000FF);
  EXPECT_EQ(ColorParameter("0,0,255"), 0xFF0000);
  EXPECT_EQ(ColorParameter("256,-1,0"), 0x00FF00);
  EXPECT_EQ(ColorParameter("1, 2, 3"), 0x030201);
  EXPECT_EQ(ColorParameter("1,2,3,junk"), 0x030201);
  EXPECT_EQ(ColorParameter("$10,0,0"), 0x000010);
  EXPECT_THROW(ColorParameter("1,2"), ConversionError);
  EXPECT_THROW(ColorParameter(" "), ConversionError);
  EXPECT_THROW(ColorParameter("1,2,x"), ConversionError);
  EXPECT_EQ(RgbTripleText(ColorParameter("12,34,56")), "12,34,56");
}

TEST_F(ConversionsTest, ColorNamesIgnoreAsciiCase) {
  TColor color = 0;
  EXPECT_TRUE(ColorFromName("CLRED", color));
  EXPECT_EQ(color, 0x0000FF);
  EXPECT_TRUE(ColorFromName("clHotLight", color));  // index 25 has no name
  EXPECT_EQ(color, static_cast<TColor>(0xFF00001A));
  color = 5;
  EXPECT_FALSE(ColorFromName("clRed ", color));
  EXPECT_FALSE(ColorFromName("clRe", color));
  EXPECT_EQ(color, 5);
  EXPECT_EQ(ColorText(0x0000FF), "clRed");
  EXPECT_EQ(ColorText(0x00123456), "$00123456");
}

TEST_F(ConversionsTest, FontParameterAppliesEveryField) {
  FontData font;
  font.styles = fsUnderline;
  ApplyFontParameter("Times New Roman|clRed|12|fsBold fsItalic |204", font);
  EXPECT_EQ(font.name, "TimesNewRoman");
  EXPECT_EQ(font.color, 0x0000FF);
  EXPECT_EQ(font.size, 12);
  EXPECT_EQ(font.styles, fsBold | fsItalic | fsUnderline);  // styles are only added
  EXPECT_EQ(font.charset, 204);

  ApplyFontParameter("|$000000FF|9||460", font);
  EXPECT_EQ(font.name, "TimesNewRoman");  // an empty face keeps the name
  EXPECT_EQ(font.color, 0x0000FF);
  EXPECT_EQ(font.styles, fsBold | fsItalic | fsUnderline);
  EXPECT_EQ(font.charset, 460 & 0xFF);
}

TEST_F(ConversionsTest, FontParameterStopsAtTheFirstFailure) {
  FontData font;
  EXPECT_THROW(ApplyFontParameter("Verdana|clBlue", font), ConversionError);
  EXPECT_EQ(font.name, "Verdana");
  EXPECT_EQ(font.color, 0xFF0000);
  EXPECT_EQ(font.size, FontData().size);

  FontData other;
  EXPECT_THROW(ApplyFontParameter("Courier|notacolour|12|fsBold|0", other), ConversionError);
  EXPECT_EQ(other.name, "Courier");
  EXPECT_EQ(other.color, FontData().color);
  EXPECT_EQ(other.styles, 0);

  FontData longName;
  ApplyFontParameter(std::string(40, 'F') + "|0|8|fsbold|1", longName);
  EXPECT_EQ(longName.name, std::string(31, 'F'));
  EXPECT_EQ(longName.styles, 0);  // style words are case-sensitive
}

TEST_F(ConversionsTest, FontTextRoundTrip) {
  FontData font;
  font.name = "Arial";
  font.size = 10;
  font.styles = fsBold | fsItalic;
  font.charset = 204;
  EXPECT_EQ(FontParameterText(font), "Arial|clBlack|10|fsBold fsItalic |204");
  FontData read;
  ApplyFontParameter(FontParameterText(font), read);
  EXPECT_EQ(read, font);
  // Faces holding a separator, a quote or a control character are quoted.
  for (const char* face : {"A|B", "Say\"Hi\"", "Tab\tFace", "\"|\x01"}) {
    font.name = face;
    FontData again;
    ApplyFontParameter(FontParameterText(font), again);
    EXPECT_EQ(again, font) << FontParameterText(font);
  }
}

TEST_F(ConversionsTest, SwitchWords) {
  EXPECT_EQ(SwitchParameter("TRUE"), std::optional<bool>(true));
  EXPECT_EQ(SwitchParameter("True"), std::optional<bool>(true));
  EXPECT_EQ(SwitchParameter("false"), std::optional<bool>(false));
  bool value = true;
  for (const char* text : {"true ", " false", "", "yes", "1"}) {
    ApplySwitchParameter(text, value);
    EXPECT_TRUE(value) << '"' << text << '"';
  }
  ApplySwitchParameter("FALSE", value);
  EXPECT_FALSE(value);
}

TEST_F(ConversionsTest, LowerCaseFollowsTheLocale) {
  TextLocale locale = TextLocale::Classic();
  locale.lowerCase[0xC0] = 0xE0;  // cp1251 capital A to small a
  locale.leadByte[0x81] = true;
  SetCurrentLocale(locale);
  EXPECT_EQ(LowerCaseText("SHOW\xC0"), "show\xE0");
  EXPECT_EQ(LowerCaseText("\x81" "A"), "\x81" "A");  // a trail byte is not a letter
}

TEST_F(ConversionsTest, RecordListReadsGoodRecords) {
  std::vector<PieRecord> records = RecordListParameter("A;1;|B;2.5;0,255,0");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].label, "A");
  EXPECT_EQ(records[0].value, 1.0);
  EXPECT_EQ(records[0].color, clDefault);
  EXPECT_EQ(records[1].label, "B");
  EXPECT_EQ(records[1].value, 2.5);
  EXPECT_EQ(records[1].color, 0x00FF00);

  // A label with a blank is quoted in the record, the record quoted in the list.
  records = RecordListParameter("\"\"\"North Pole\"\";5;\"|x;1;;extra");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].label, "North Pole");
  EXPECT_EQ(records[1].label, "x");  // fields after the third are ignored
}

TEST_F(ConversionsTest, RecordListSkipsBadRecords) {
  EXPECT_TRUE(RecordListParameter("").empty());
  EXPECT_TRUE(RecordListParameter("A;1").empty());
  EXPECT_TRUE(RecordListParameter("A;1;255").empty());
  // An unquoted blank cuts the list itself: "North" fails, "Pole;5;" is read.
  std::vector<PieRecord> cut = RecordListParameter("North Pole;5;");
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].label, "Pole");
  // Quoted only in the list, the blank cuts the record: "Pole" becomes the value.
  EXPECT_TRUE(RecordListParameter("\"North Pole;5;\"").empty());
  std::vector<PieRecord> records = RecordListParameter("A;x;|B;2;|C;3;1,2|D;4;");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].label, "B");
  EXPECT_EQ(records[1].label, "D");
}

TEST_F(ConversionsTest, RecordListGoesOnWhenAddingFails) {
  std::vector<std::string> added;
  ReadRecordList("A;1;|B;2;|C;3;", [&added](const PieRecord& record) {
    if (record.label == "B") throw std::runtime_error("refused");
    added.push_back(record.label);
  });
  EXPECT_EQ(added, (Items{"A", "C"}));
}

}  // namespace
}  // namespace kd
