// The locale's formats used by the text forms of fields and reports: currency, numbers,
// dates and the names of days and months. The program fills formatSettings() from the system
// locale at start-up; tests set the fields explicitly. Texts are bytes in the tables' code page.
#pragma once

#include <array>
#include <string>

namespace wf {

struct FormatSettings {
  // Money: the symbol, its place for positive amounts (0 "$1", 1 "1$", 2 "$ 1", 3 "1 $")
  // and for negative amounts (0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$",
  // 6 "1-$", 7 "1$-", 8 "-1 $", 9 "-$ 1", 10 "1 $-", 11 "$ 1-", 12 "$ -1", 13 "1- $",
  // 14 "($ 1)", 15 "(1 $)"), and the count of decimals shown.
  std::string currencyString = "$";
  int currencyFormat = 0;
  int negCurrFormat = 0;
  int currencyDecimals = 2;

  char thousandSeparator = ',';
  char decimalSeparator = '.';

  // Date and time: format strings use d, m, y, h, n, s, z, am/pm and the separators "/" and
  // ":", which stand for dateSeparator and timeSeparator.
  char dateSeparator = '/';
  char timeSeparator = ':';
  std::string shortDateFormat = "M/d/yyyy";
  std::string longDateFormat = "dddd, mmmm d, yyyy";
  std::string shortTimeFormat = "h:nn AMPM";
  std::string longTimeFormat = "h:nn:ss AMPM";
  std::string timeAmString = "AM";
  std::string timePmString = "PM";

  // Sunday first; January first.
  std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> longDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};
  std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> longMonthNames{"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
};

// The process-wide settings used by the field text forms. Only the user-interface thread
// reads or changes them.
FormatSettings& formatSettings();

}  // namespace wf
