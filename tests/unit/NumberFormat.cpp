#include "engine/NumberFormat.h"

#include <gtest/gtest.h>

#include <limits>

#include "engine/TextLocale.h"

namespace kd {
namespace {

class NumberFormatTest : public ::testing::Test {
 protected:
  void SetUp() override { SetCurrentLocale(TextLocale::Classic()); }
  void TearDown() override { SetCurrentLocale(TextLocale::Classic()); }
};

TEST_F(NumberFormatTest, ValuePatternGroupsAndKeepsUpToThreeDecimals) {
  EXPECT_EQ("1,234.5", FormatFloat(kValueFormat, 1234.5));
  EXPECT_EQ("0", FormatFloat(kValueFormat, 0));
  EXPECT_EQ("12", FormatFloat(kValueFormat, 12));
  EXPECT_EQ("999", FormatFloat(kValueFormat, 999));
  EXPECT_EQ("1,000", FormatFloat(kValueFormat, 1000));
  EXPECT_EQ("1,234,567.891", FormatFloat(kValueFormat, 1234567.8912));
  EXPECT_EQ("0.333", FormatFloat(kValueFormat, 1.0 / 3));
}

TEST_F(NumberFormatTest, RoundsHalvesAwayFromZeroOnTheDecimalValue) {
  EXPECT_EQ("0.001", FormatFloat(kValueFormat, 0.0005));
  EXPECT_EQ("0", FormatFloat(kValueFormat, 0.0004));
  EXPECT_EQ("1.01", FormatFloat("0.00", 1.005));   // binary 1.00499999...
  EXPECT_EQ("0.13", FormatFloat("0.00", 0.125));   // exact half, not to even
  EXPECT_EQ("1,000", FormatFloat(kValueFormat, 999.9996));  // carry through every digit
  EXPECT_EQ("10", FormatFloat("0", 9.5));
}

TEST_F(NumberFormatTest, NegativeValues) {
  EXPECT_EQ("-1,234.5", FormatFloat(kValueFormat, -1234.5));
  EXPECT_EQ("-0.001", FormatFloat(kValueFormat, -0.0005));
  EXPECT_EQ("0", FormatFloat(kValueFormat, -0.0001));  // no "-0"
  EXPECT_EQ("-25 %", FormatFloat(kPercentFormat, -25));
}

TEST_F(NumberFormatTest, LargeAndTinyValues) {
  EXPECT_EQ("100,000,000,000,000,000,000", FormatFloat(kValueFormat, 1e20));
  EXPECT_EQ("2,147,483,647", FormatFloat(kValueFormat, 2147483647.0));
  EXPECT_EQ("0", FormatFloat(kValueFormat, 1e-300));
  EXPECT_EQ("INF", FormatFloat(kValueFormat, std::numeric_limits<double>::infinity()));
  EXPECT_EQ("NAN", FormatFloat(kValueFormat, std::numeric_limits<double>::quiet_NaN()));
}

TEST_F(NumberFormatTest, PercentPatternIsNotScaled) {
  EXPECT_EQ("25 %", FormatFloat(kPercentFormat, 25));
  EXPECT_EQ("33.33 %", FormatFloat(kPercentFormat, 100.0 / 3));
  EXPECT_EQ("66.67 %", FormatFloat(kPercentFormat, 200.0 / 3));
  EXPECT_EQ("0 %", FormatFloat(kPercentFormat, 0));
  EXPECT_EQ("1000 %", FormatFloat(kPercentFormat, 1000));  // no comma in the pattern: no grouping
}

TEST_F(NumberFormatTest, RequiredDigitsAndLiterals) {
  EXPECT_EQ("007.50", FormatFloat("000.00", 7.5));
  EXPECT_EQ(".5", FormatFloat("#.##", 0.5));
  EXPECT_EQ("$ 3", FormatFloat("$ #", 3));
  EXPECT_EQ("n/a", FormatFloat("n/a", 3));
}

TEST_F(NumberFormatTest, UsesTheLocaleSeparators) {
  TextLocale german = TextLocale::Classic();
  german.decimalSeparator = ',';
  german.thousandSeparator = '.';
  SetCurrentLocale(german);
  EXPECT_EQ("1.234,5", FormatFloat(kValueFormat, 1234.5));
  EXPECT_EQ("12,5 %", FormatFloat(kPercentFormat, 12.5));
  german.thousandSeparator = '\xA0';
  SetCurrentLocale(german);
  EXPECT_EQ("1\xA0" "000", FormatFloat(kValueFormat, 1000));
}

TEST_F(NumberFormatTest, PercentOfTotal) {
  EXPECT_EQ("25 % of 4", FormatTexts(kPercentOfTotalFormat, "25 %", "4"));
  EXPECT_EQ("a b ", FormatTexts("%s %s %s", "a", "b"));  // a third %s has nothing to fill
  EXPECT_EQ("100% x", FormatTexts("100%% %s", "x", "y"));
}

}  // namespace
}  // namespace kd
