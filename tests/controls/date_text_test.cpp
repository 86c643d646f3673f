// Choosing, writing and reading the date edit's texts, and the date-time values behind them.
#include "controls/date_text.h"
#include "controls/date_serial.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace wf {
namespace {

const QDate kToday(2026, 6, 15);

TEST(DateTextFormat, OrderAndYearDigitsComeFromTheShortDateFormat) {
  struct Case {
    const char* shortFormat;
    DateOrder order;
    bool fourDigits;
  };
  const Case cases[] = {
      {"M/d/yyyy", DateOrder::MonthDayYear, true},  {"dd/MM/yyyy", DateOrder::DayMonthYear, true},
      {"dd.MM.yy", DateOrder::DayMonthYear, false}, {"yyyy-MM-dd", DateOrder::YearMonthDay, true},
      {"YY/MM/DD", DateOrder::YearMonthDay, false}, {"ggg e/M/d", DateOrder::YearMonthDay, false},
      {"", DateOrder::DayMonthYear, false},         {"yYyY.mm.dd", DateOrder::YearMonthDay, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shortFormat);
    EXPECT_EQ(dateOrderOf(QString::fromLatin1(c.shortFormat)), c.order);
    EXPECT_EQ(hasFourDigitYears(QString::fromLatin1(c.shortFormat)), c.fourDigits);
  }
}

TEST(DateTextFormat, SixFormatsAndMasks) {
  struct Case {
    DateOrder order;
    bool fourDigits;
    const char* format;
    const char* mask;
  };
  const Case cases[] = {
      {DateOrder::MonthDayYear, true, "MM/DD/YYYY", "!99/99/9999;1; "},
      {DateOrder::MonthDayYear, false, "MM/DD/YY", "!99/99/99;1; "},
      {DateOrder::DayMonthYear, true, "DD/MM/YYYY", "!99/99/9999;1; "},
      {DateOrder::DayMonthYear, false, "DD/MM/YY", "!99/99/99;1; "},
      {DateOrder::YearMonthDay, true, "YYYY/MM/DD", "!9999/99/99;1; "},
      {DateOrder::YearMonthDay, false, "YY/MM/DD", "!99/99/99;1; "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_EQ(dateEditFormat(c.order, c.fourDigits), QString::fromLatin1(c.format));
    EXPECT_EQ(dateEditMask(c.order, c.fourDigits, u' '), QString::fromLatin1(c.mask));
  }
}

TEST(DateTextFormat, YearDigitsOverrideTheLocale) {
  EXPECT_TRUE(usesFourDigitYears(YearDigits::Default, true));
  EXPECT_FALSE(usesFourDigitYears(YearDigits::Default, false));
  EXPECT_TRUE(usesFourDigitYears(YearDigits::Four, false));
  EXPECT_FALSE(usesFourDigitYears(YearDigits::Two, true));
}

TEST(DateTextFormat, BlankCharacterEndsTheMaskAndControlCharactersBecomeSpace) {
  EXPECT_EQ(dateEditMask(DateOrder::DayMonthYear, true, u'_'), QStringLiteral("!99/99/9999;1;_"));
  EXPECT_EQ(dateEditMask(DateOrder::DayMonthYear, true, QChar(9)),
            QStringLiteral("!99/99/9999;1; "));
}

TEST(DateTextFormat, QtMaskCarriesTheLocaleSeparator) {
  EXPECT_EQ(qtInputMask(u"!99/99/9999;1; ", u'.'), QStringLiteral("99.99.9999; "));
  EXPECT_EQ(qtInputMask(u"!9999/99/99;1;_", u'-'), QStringLiteral("9999-99-99;_"));
  // A separator that means something in Qt's masks is escaped.
  EXPECT_EQ(qtInputMask(u"!99/99/99;1; ", u'#'), QStringLiteral("99\\#99\\#99; "));
}

TEST(DateTextYears, TwoDigitYearsFallIntoTheSixtyYearWindow) {
  struct Case {
    int year, currentYear, expected;
  };
  const Case cases[] = {{25, 2026, 2025}, {70, 2026, 1970},  {66, 2026, 1966}, {65, 2026, 2065},
                        {0, 2026, 2000},  {99, 2026, 1999},  {99, 2060, 2099}, {0, 2061, 2100},
                        {100, 2026, 100}, {2026, 2026, 2026}};
  for (const Case& c : cases) {
    EXPECT_EQ(expandTwoDigitYear(c.year, c.currentYear), c.expected)
        << c.year << " in " << c.currentYear;
  }
}

TEST(DateTextWrite, FormatsWithTheLocaleSeparator) {
  const QDate date(2026, 12, 9);
  EXPECT_EQ(formatDateText(date, u"DD/MM/YYYY", u'/'), QStringLiteral("09/12/2026"));
  EXPECT_EQ(formatDateText(date, u"DD/MM/YYYY", u'.'), QStringLiteral("09.12.2026"));
  EXPECT_EQ(formatDateText(date, u"MM/DD/YY", u'/'), QStringLiteral("12/09/26"));
  EXPECT_EQ(formatDateText(date, u"YYYY/MM/DD", u'-'), QStringLiteral("2026-12-09"));
  EXPECT_EQ(formatDateText(QDate(5, 1, 2), u"YYYY/MM/DD", u'-'), QStringLiteral("0005-01-02"));
  EXPECT_EQ(formatDateText(QDate(1905, 3, 4), u"YY/MM/DD", u'/'), QStringLiteral("05/03/04"));
  EXPECT_EQ(formatDateText(QDate(), u"DD/MM/YYYY", u'/'), QString());
}

struct ParseCase {
  const char* format;
  char separator;
  DateOrder order;
  const char* text;
  QDate expected;  // null: no date can be read
};

DateTextRules rulesFor(const ParseCase& c) {
  DateTextRules rules;
  rules.format = QString::fromLatin1(c.format);
  rules.separator = QChar::fromLatin1(c.separator);
  rules.order = c.order;
  rules.longMonthNames =
      QStringList{"January", "February", "March",     "April",   "May",      "June",
                  "July",    "August",   "September", "October", "November", "December"};
  return rules;
}

TEST(DateTextRead, TablesForTheThreeOrders) {
  constexpr auto DMY = DateOrder::DayMonthYear;
  constexpr auto MDY = DateOrder::MonthDayYear;
  constexpr auto YMD = DateOrder::YearMonthDay;
  const ParseCase cases[] = {
      // Day-month-year, four-digit years.
      {"DD/MM/YYYY", '/', DMY, "09/12/2026", QDate(2026, 12, 9)},
      {"DD/MM/YYYY", '/', DMY, "31/02/2026", QDate()},
      {"DD/MM/YYYY", '/', DMY, "29/02/2024", QDate(2024, 2, 29)},
      {"DD/MM/YYYY", '/', DMY, "09/12/25  ", QDate(2025, 12, 9)},
      {"DD/MM/YYYY", '/', DMY, "09/12/70  ", QDate(1970, 12, 9)},
      {"DD/MM/YYYY", '/', DMY, "09/12/0025", QDate(2025, 12, 9)},
      {"DD/MM/YYYY", '/', DMY, " 9/ 1/2026", QDate(2026, 1, 9)},
      {"DD/MM/YYYY", '/', DMY, "09/12/    ", QDate(2026, 12, 9)},
      {"DD/MM/YYYY", '/', DMY, "  /  /    ", QDate()},
      {"DD/MM/YYYY", '/', DMY, "  /12/2026", QDate()},
      {"DD/MM/YYYY", '/', DMY, "9/12/2026", QDate(2026, 12, 9)},
      {"DD/MM/YYYY", '/', DMY, "9/12/26", QDate(2026, 12, 9)},
      {"DD/MM/YYYY", '/', DMY, "9/12/0026", QDate(26, 12, 9)},
      {"DD/MM/YYYY", '/', DMY, "9/12", QDate(2026, 12, 9)},
      {"DD/MM/YYYY", '/', DMY, " 9 / 12 ", QDate(2026, 12, 9)},
      {"DD/MM/YYYY", '/', DMY, "9/12/", QDate()},
      {"DD/MM/YYYY", '/', DMY, "9", QDate()},
      {"DD/MM/YYYY", '/', DMY, "09/12/2026x", QDate()},
      {"DD/MM/YYYY", '/', DMY, "09/12/2026 1", QDate()},
      {"DD/MM/YYYY", '/', DMY, "9.12.2026", QDate()},
      {"DD/MM/YYYY", '.', DMY, "09.12.2026", QDate(2026, 12, 9)},
      {"DD/MM/YYYY", '/', DMY, "00/12/2026", QDate()},
      {"DD/MM/YYYY", '/', DMY, "09/13/2026", QDate()},
      {"DD/MM/YYYY", '/', DMY, "99999999/1/2026", QDate()},
      // Day-month-year, two-digit years.
      {"DD/MM/YY", '/', DMY, "09/12/26", QDate(2026, 12, 9)},
      {"DD/MM/YY", '/', DMY, "09/12/66", QDate(1966, 12, 9)},
      {"DD/MM/YY", '/', DMY, "09/12/65", QDate(2065, 12, 9)},
      {"DD/MM/YY", '/', DMY, "29/02/25", QDate()},
      {"DD/MM/YY", '/', DMY, "  /  /  ", QDate()},
      // Month-day-year.
      {"MM/DD/YYYY", '/', MDY, "12/09/2026", QDate(2026, 12, 9)},
      {"MM/DD/YYYY", '/', MDY, "02/30/2026", QDate()},
      {"MM/DD/YYYY", '/', MDY, "12/9", QDate(2026, 12, 9)},
      {"MM/DD/YYYY", '/', MDY, "12/9/70", QDate(1970, 12, 9)},
      {"MM/DD/YY", '/', MDY, "12/09/25", QDate(2025, 12, 9)},
      {"MM/DD/YY", '/', MDY, "12/09/70", QDate(1970, 12, 9)},
      // Year-month-day.
      {"YYYY/MM/DD", '-', YMD, "2026-12-09", QDate(2026, 12, 9)},
      {"YYYY/MM/DD", '-', YMD, "25-12-09", QDate(2025, 12, 9)},
      {"YYYY/MM/DD", '-', YMD, "2026-02-29", QDate()},
      {"YYYY/MM/DD", '-', YMD, "12-9", QDate(2026, 12, 9)},
      {"YY/MM/DD", '.', YMD, "70.01.02", QDate(1970, 1, 2)},
      {"YY/MM/DD", '.', YMD, "25.01.02", QDate(2025, 1, 2)},
      {"YY/MM/DD", '.', YMD, "  .  .  ", QDate()},
      // A month written by name.
      {"DD/MMM/YYYY", '/', DMY, "09/Dec/2026", QDate(2026, 12, 9)},
      {"DD/MMM/YYYY", '/', DMY, "09/Xyz/2026", QDate()},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(std::string(c.format) + " '" + c.text + "'");
    const auto date = parseDateText(QString::fromLatin1(c.text), rulesFor(c), kToday);
    if (c.expected.isValid()) {
      ASSERT_TRUE(date.has_value());
      EXPECT_EQ(*date, c.expected);
    } else {
      EXPECT_FALSE(date.has_value()) << date->toString(Qt::ISODate).toStdString();
    }
  }
}

TEST(DateTextRead, BlankCharacterOfTheMaskIsSkipped) {
  DateTextRules rules = rulesFor({"DD/MM/YYYY", '/', DateOrder::DayMonthYear, "", QDate()});
  rules.blank = u'_';
  EXPECT_EQ(parseDateText(u"_9/12/2026", rules, kToday), QDate(2026, 12, 9));
  EXPECT_EQ(parseDateText(u"09/12/26__", rules, kToday), QDate(2026, 12, 9));
  EXPECT_FALSE(parseDateText(u"__/__/____", rules, kToday).has_value());
}

TEST(DateTextRead, FallbackIsTodayOnlyWithDefaultToday) {
  const DateTextRules rules = rulesFor({"DD/MM/YYYY", '/', DateOrder::DayMonthYear, "", QDate()});
  EXPECT_EQ(readDateText(u"31/02/2026", rules, kToday, true), kToday);
  EXPECT_EQ(readDateText(u"31/02/2026", rules, kToday, false), QDate());
  EXPECT_EQ(readDateText(u"  /  /    ", rules, kToday, true), kToday);
  EXPECT_EQ(readDateText(u"  /  /    ", rules, kToday, false), QDate());
  // No characters at all is the empty date, whatever DefaultToday says.
  EXPECT_EQ(readDateText(u"", rules, kToday, true), QDate());
  EXPECT_EQ(readDateText(u"09/12/2026", rules, kToday, false), QDate(2026, 12, 9));
}

TEST(DateTextRead, BlankTextHasOnlyBlanksAndSeparators) {
  EXPECT_TRUE(isBlankDateText(u"  /  /    ", u'/', u' '));
  EXPECT_TRUE(isBlankDateText(u"__.__.__", u'.', u'_'));
  EXPECT_TRUE(isBlankDateText(u"", u'/', u' '));
  EXPECT_FALSE(isBlankDateText(u"  /1 /    ", u'/', u' '));
  EXPECT_FALSE(isBlankDateText(u"  .  .  ", u'/', u' '));
}

TEST(DateSerial, ConvertsBetweenValuesAndDates) {
  EXPECT_EQ(dateOfSerial(36526.0), QDate(2000, 1, 1));
  EXPECT_EQ(dateOfSerial(36526.75), QDate(2000, 1, 1));
  EXPECT_EQ(dateOfSerial(-1.25), QDate(1899, 12, 29));
  EXPECT_DOUBLE_EQ(timeOfSerial(-1.25), 0.25);
  EXPECT_DOUBLE_EQ(timeOfSerial(36526.75), 0.75);
  EXPECT_DOUBLE_EQ(serialOf(QDate(1899, 12, 29), 0.25), -1.25);
  EXPECT_DOUBLE_EQ(serialOf(QDate(2000, 1, 1), 0.5), 36526.5);
  EXPECT_EQ(dateOfSerial(-693593.0), QDate(1, 1, 1));
  EXPECT_EQ(dateOfSerial(2958465.5), QDate(9999, 12, 31));
  // The empty date and values outside the years 1 to 9999 are no date.
  EXPECT_FALSE(dateOfSerial(0.0).isValid());
  EXPECT_FALSE(dateOfSerial(0.5).isValid());
  EXPECT_FALSE(dateOfSerial(-693594.0).isValid());
  EXPECT_FALSE(dateOfSerial(2958466.0).isValid());
  EXPECT_FALSE(dateOfSerial(std::numeric_limits<double>::quiet_NaN()).isValid());
  EXPECT_FALSE(dateOfSerial(std::numeric_limits<double>::infinity()).isValid());
  EXPECT_DOUBLE_EQ(serialOf(QDateTime(QDate(2026, 6, 15), QTime(18, 0))), 46188.75);
}

}  // namespace
}  // namespace wf
