// Text forms of field values: money, numbers and dates in the locale's formats, and reading
// typed text back.
#include <gtest/gtest.h>

#include "store/date_text.h"
#include "store/number_text.h"

namespace wf::test {
namespace {

FormatSettings usSettings() { return FormatSettings(); }

TEST(FieldTextTest, CurrencyPatternsAndRounding) {
  struct Case {
    double value;
    int format;
    int negFormat;
    int decimals;
    const char* text;
  };
  const std::vector<Case> cases = {
      {1234.5, 0, 0, 2, "$1,234.50"},
      {1234567.891, 0, 0, 2, "$1,234,567.89"},
      {0.125, 0, 0, 2, "$0.13"},  // halves away from zero
      {1.005, 0, 0, 2, "$1.01"},  // after rounding to 15 significant digits
      {0.004, 0, 0, 2, "$0.00"},
      {-0.004, 0, 0, 2, "$0.00"},  // rounds to zero: no sign
      {999.995, 0, 0, 2, "$1,000.00"},
      {12.5, 1, 0, 2, "12.50$"},
      {12.5, 2, 0, 2, "$ 12.50"},
      {12.5, 3, 0, 0, "13 $"},
      {-5, 0, 0, 2, "($5.00)"},
      {-5, 0, 1, 2, "-$5.00"},
      {-5, 0, 2, 2, "$-5.00"},
      {-5, 0, 3, 2, "$5.00-"},
      {-5, 0, 4, 2, "(5.00$)"},
      {-5, 0, 5, 2, "-5.00$"},
      {-5, 0, 6, 2, "5.00-$"},
      {-5, 0, 7, 2, "5.00$-"},
      {-5, 0, 8, 2, "-5.00 $"},
      {-5, 0, 9, 2, "-$ 5.00"},
      {-5, 0, 10, 2, "5.00 $-"},
      {-5, 0, 11, 2, "$ 5.00-"},
      {-5, 0, 12, 2, "$ -5.00"},
      {-5, 0, 13, 2, "5.00- $"},
      {-5, 0, 14, 2, "($ 5.00)"},
      {-5, 0, 15, 2, "(5.00 $)"},
      {1e20, 0, 0, 2, "$100,000,000,000,000,000,000.00"},
  };
  for (const Case& c : cases) {
    FormatSettings fs = usSettings();
    fs.currencyFormat = c.format;
    fs.negCurrFormat = c.negFormat;
    fs.currencyDecimals = c.decimals;
    EXPECT_EQ(formatCurrency(c.value, fs), c.text) << c.value << " " << c.negFormat;
  }
  FormatSettings euro = usSettings();
  euro.currencyString = "\x80";
  euro.currencyFormat = 3;
  euro.negCurrFormat = 8;
  euro.thousandSeparator = '.';
  euro.decimalSeparator = ',';
  EXPECT_EQ(formatCurrency(-1234.5, euro), "-1.234,50 \x80");
  EXPECT_EQ(formatFixed(-1234.5, 2, euro), "-1234,50");
}

TEST(FieldTextTest, GeneralAndFixedNumbers) {
  FormatSettings fs = usSettings();
  const std::vector<std::pair<double, const char*>> general = {
      {1234.5, "1234.5"},
      {0.1, "0.1"},
      {-2, "-2"},
      {1e20, "1E20"},
      {1.5e-6, "1.5E-6"},
      {0.00001, "0.00001"},
      {123456789012345.0, "123456789012345"},
      {37.0371, "37.0371"},
      {0, "0"}};
  for (const auto& [value, text] : general) EXPECT_EQ(formatGeneral(value, fs), text) << value;
  EXPECT_EQ(formatFixed(2.5, 0, fs), "3");
  EXPECT_EQ(formatFixed(0.5, 2, fs), "0.50");
}

TEST(FieldTextTest, ReadingTypedNumbers) {
  FormatSettings fs = usSettings();
  struct Case {
    const char* text;
    bool valid;
    double value;
  };
  const std::vector<Case> cases = {
      {"12.5", true, 12.5}, {" -3 ", true, -3}, {"+.5", true, 0.5}, {"1e3", true, 1000},
      {"7.", true, 7},      {"1,5", false, 0},  {"", false, 0},     {"abc", false, 0},
      {"1e", false, 0},     {"$5", false, 0},   {"1 2", false, 0},  {".", false, 0},
      {"--1", false, 0},
  };
  for (const Case& c : cases) {
    double value = 0;
    EXPECT_EQ(parseFloatText(c.text, fs, value), c.valid) << c.text;
    if (c.valid) {
      EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    }
  }
  FormatSettings comma = fs;
  comma.decimalSeparator = ',';
  double value = 0;
  EXPECT_TRUE(parseFloatText("1,5", comma, value));
  EXPECT_DOUBLE_EQ(value, 1.5);
  EXPECT_FALSE(parseFloatText("1.5", comma, value));

  std::int64_t whole = 0;
  EXPECT_TRUE(parseIntegerText(" 42", whole));
  EXPECT_EQ(whole, 42);
  EXPECT_TRUE(parseIntegerText("-32769", whole));
  EXPECT_FALSE(parseIntegerText("4.0", whole));
  EXPECT_FALSE(parseIntegerText("99999999999999999999", whole));
  EXPECT_FALSE(parseIntegerText("+-1", whole));
}

TEST(FieldTextTest, DateFormats) {
  FormatSettings fs = usSettings();
  const double jan15 = 45306;                      // Monday 15 January 2024
  const double jan15Afternoon = 45306.6041666667;  // 14:30
  EXPECT_EQ(formatDateTime("ddddd", jan15Afternoon, fs), "1/15/2024");
  EXPECT_EQ(formatDateTime("", jan15, fs), "1/15/2024");
  EXPECT_EQ(formatDateTime("", jan15Afternoon, fs), "1/15/2024 2:30:00 PM");
  EXPECT_EQ(formatDateTime("dddd d mmmm yyyy", jan15, fs), "Monday 15 January 2024");
  EXPECT_EQ(formatDateTime("ddd dd-mmm-yy", jan15, fs), "Mon 15-Jan-24");
  EXPECT_EQ(formatDateTime("hh:mm 'at' d/m", jan15Afternoon, fs), "14:30 at 15/1");
  EXPECT_EQ(formatDateTime("ddddd", 0, fs), "12/30/1899");
  EXPECT_EQ(formatDateTime("ddddd", -693593, fs), "1/1/0001");

  FormatSettings german = fs;
  german.shortDateFormat = "dd.MM.yyyy";
  german.dateSeparator = '.';
  EXPECT_EQ(formatDateTime("ddddd", jan15, german), "15.01.2024");
  FormatSettings slashes = fs;
  slashes.shortDateFormat = "yyyy/MM/dd";
  slashes.dateSeparator = '-';
  EXPECT_EQ(formatDateTime("ddddd", jan15, slashes), "2024-01-15");
}

TEST(FieldTextTest, ReadingTypedDates) {
  FormatSettings fs = usSettings();
  double value = 0;
  ASSERT_TRUE(parseDateTimeText("1/15/2024", fs, value));
  EXPECT_DOUBLE_EQ(value, 45306);
  ASSERT_TRUE(parseDateTimeText("1/15/2024 2:30 PM", fs, value));
  EXPECT_NEAR(value, 45306 + 14.5 / 24, 1e-9);
  ASSERT_TRUE(parseDateTimeText("12/31/99", fs, value));
  EXPECT_EQ(formatDateTime("yyyy", value, fs).size(), 4u);
  EXPECT_FALSE(parseDateTimeText("2/30/2024", fs, value));
  EXPECT_FALSE(parseDateTimeText("13/1/2024", fs, value));
  EXPECT_FALSE(parseDateTimeText("tomorrow", fs, value));
  EXPECT_FALSE(parseDateTimeText("1/15/2024 25:00", fs, value));
  FormatSettings german = fs;
  german.shortDateFormat = "dd.MM.yyyy";
  german.dateSeparator = '.';
  ASSERT_TRUE(parseDateTimeText("15.01.2024", german, value));
  EXPECT_DOUBLE_EQ(value, 45306);
}

}  // namespace
}  // namespace wf::test
