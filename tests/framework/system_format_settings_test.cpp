#include "framework/system_format_settings.h"

#include "store/code_page.h"

#include <gtest/gtest.h>

namespace wf {
namespace {

struct LocaleCase {
  const char* locale;
  std::string currency;
  int currencyFormat;
  int negCurrFormat;
  char thousands;
  char decimal;
  char dateSeparator;
  std::string shortDate;
  std::string shortTime;
  std::string sunday;
};

TEST(SystemFormatSettings, LocalesGiveTheirFormats) {
  const std::vector<LocaleCase> cases = {
      {"en_US", "$", 0, 0, ',', '.', '/', "m/d/yyyy", "h:nn ampm", "Sun"},
      {"en_GB", "\xA3", 0, 0, ',', '.', '/', "dd/mm/yyyy", "hh:nn", "Sun"},
      {"de_DE", "\x80", 3, 8, '.', ',', '.', "dd/mm/yyyy", "hh:nn", "So."},
      {"fr_FR", "\x80", 3, 15, '\xA0', ',', '/', "dd/mm/yyyy", "hh:nn", "dim."},
      {"nl_NL", "\x80", 2, 14, '.', ',', '-', "dd/mm/yyyy", "hh:nn", "zo"},
      // A symbol the code page lacks gives way to the ISO code, names to the English ones.
      {"hi_IN", "INR", 0, 2, ',', '.', '/', "d/m/yyyy", "h:nn ampm", "Sun"},
      // No currency: the store's defaults stay. A short date with a month name becomes numeric
      // in the same order.
      {"C", "$", 0, 0, ',', '.', '/', "d/m/yyyy", "hh:nn:ss", "Sun"},
  };
  const int before = CodePage::active().number();
  CodePage::setActive(1252);
  for (const LocaleCase& c : cases) {
    SCOPED_TRACE(c.locale);
    const FormatSettings s = formatSettingsFromLocale(QLocale(QString::fromLatin1(c.locale)));
    EXPECT_EQ(s.currencyString, c.currency);
    EXPECT_EQ(s.currencyFormat, c.currencyFormat);
    EXPECT_EQ(s.negCurrFormat, c.negCurrFormat);
    EXPECT_EQ(s.currencyDecimals, 2);
    EXPECT_EQ(s.thousandSeparator, c.thousands);
    EXPECT_EQ(s.decimalSeparator, c.decimal);
    EXPECT_EQ(s.dateSeparator, c.dateSeparator);
    EXPECT_EQ(s.shortDateFormat, c.shortDate);
    EXPECT_EQ(s.shortTimeFormat, c.shortTime);
    EXPECT_EQ(s.shortDayNames[0].substr(0, c.sunday.size()), c.sunday);
  }
  CodePage::setActive(before);
}

TEST(SystemFormatSettings, TextsAreInTheActiveCodePage) {
  struct Case {
    int codePage;
    const char* locale;
    std::string currency;
    std::string monday;
  };
  const Case cases[] = {
      {1250, "pl_PL", "z\xB3",
       "poniedzia\xB3"
       "ek"},
      {1250, "cs_CZ", "K\xE8", "pond\xECl\xED"},
      {1253, "el_GR", "\x80", "\xC4\xE5\xF5\xF4\xDD\xF1\xE1"},
      {1251, "ru_RU", "RUB", "\xEF\xEE\xED\xE5\xE4\xE5\xEB\xFC\xED\xE8\xEA"},
      // Texts the code page cannot hold are never written with stand-ins.
      {1252, "pl_PL", "PLN", "Monday"},
      {1252, "el_GR", "\x80", "Monday"},
      {1254, "tr_TR", "TRY", "Pazartesi"},
      {1252, "tr_TR", "TRY", "Monday"},
  };
  const int before = CodePage::active().number();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.codePage) + " " + c.locale);
    CodePage::setActive(c.codePage);
    const FormatSettings s = formatSettingsFromLocale(QLocale(QString::fromLatin1(c.locale)));
    EXPECT_EQ(s.currencyString, c.currency);
    EXPECT_EQ(s.longDayNames[1], c.monday);
  }
  // "Ocak" would fit 1252, "Şubat" would not: the months stay English together.
  EXPECT_EQ(formatSettingsFromLocale(QLocale(QStringLiteral("tr_TR"))).longMonthNames[0],
            "January");
  CodePage::setActive(before);
}

TEST(SystemFormatSettings, NamesAndDecimalsFollowTheLocale) {
  const FormatSettings german = formatSettingsFromLocale(QLocale(QStringLiteral("de_DE")));
  EXPECT_EQ(german.longMonthNames[2], "M\xE4rz");
  EXPECT_EQ(german.longDayNames[1], "Montag");
  EXPECT_EQ(formatSettingsFromLocale(QLocale(QStringLiteral("ja_JP"))).currencyDecimals, 0);
}

TEST(SystemFormatSettings, QtPatternsInTheStoresNotation) {
  EXPECT_EQ(dateFormatFromQt(QStringLiteral("dd.MM.yy"), QLatin1Char('.')), "dd/mm/yyyy");
  EXPECT_EQ(dateFormatFromQt(QStringLiteral("d 'de' MMMM 'de' yyyy"), QLatin1Char('/')),
            "d \"de\" mmmm \"de\" yyyy");
  EXPECT_EQ(timeFormatFromQt(QStringLiteral("HH:mm:ss t"), QLatin1Char(':')), "hh:nn:ss");
  EXPECT_EQ(timeFormatFromQt(QStringLiteral("h.mm AP"), QLatin1Char('.')), "h:nn ampm");
}

}  // namespace
}  // namespace wf
