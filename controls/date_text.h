// Text form of the date edit's dates: choosing the edit's format and mask from the locale's short
// date format, writing a date in that format, and reading typed text back. Pure functions; the
// caller passes "today" so that results do not depend on the clock.
#pragma once

#include <QChar>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace wf {

// The order of day, month and year in the locale's short date format.
enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

// How many digits the edit shows for the year; Default follows the locale's short date format.
enum class YearDigits { Default, Four, Two };

// Two-digit years are read into the 100 years that begin this many years before today.
inline constexpr int kTwoDigitYearWindow = 60;

// The first D, M or Y/E letter of the short date format decides (case-insensitively): M gives
// month-day-year, Y or E year-month-day, D or no letter at all day-month-year.
DateOrder dateOrderOf(QStringView shortDateFormat);

// True when the short date format contains "YYYY" in any letter case.
bool hasFourDigitYears(QStringView shortDateFormat);

// Four-digit years for YearDigits::Four, or for Default when the locale shows them.
bool usesFourDigitYears(YearDigits digits, bool localeFourDigitYears);

// The edit's date format, written with '/' for the date separator: "DD/MM/YYYY", "MM/DD/YY", ...
QString dateEditFormat(DateOrder order, bool fourDigitYears);

// The edit's mask: 9 an optional digit, / the date separator, the leading ! puts missing
// digits in front as blanks, ";1;" keeps the separators in the text; the blank character ends it.
// Blank characters below 32 become a space.
QString dateEditMask(DateOrder order, bool fourDigitYears, QChar blank);

// The same mask in Qt's input-mask notation, with the locale's separator in place of '/'.
QString qtInputMask(QStringView editMask, QChar separator);

// A blank character as the edit uses it: control characters become a space.
QChar normalizedBlank(QChar blank);

// Years 0 to 99 move into the window [currentYear - window, currentYear - window + 99]; other
// years are returned unchanged. In 2026, 25 becomes 2025 and 70 becomes 1970.
int expandTwoDigitYear(int year, int currentYear, int window = kTwoDigitYearWindow);

// Writes a date in an edit format ("DD/MM/YYYY" and the like; the letters in any case; '/' is
// replaced by the separator). An invalid date gives an empty text.
QString formatDateText(QDate date, QStringView format, QChar separator);

// Everything reading a typed date depends on besides the text itself.
struct DateTextRules {
  QString format;                             // the edit's format, e.g. "DD/MM/YYYY"
  QChar separator = u'/';                     // the locale's date separator
  DateOrder order = DateOrder::DayMonthYear;  // the locale's order, for free reading
  QChar blank = u' ';          // the mask's blank character (space is always blank too)
  QStringList longMonthNames;  // January..December, only for formats with "MMM"
  int twoDigitYearWindow = kTwoDigitYearWindow;
};

// Reads a date: first by position under the letters of the format, then, when that gives no
// valid date, freely as two or three numbers separated by the date separator. Nothing when
// neither gives a valid date (year 1 to 9999). Day and month typed with the year positions
// left blank read as a date in the current year.
std::optional<QDate> parseDateText(QStringView text, const DateTextRules& rules, QDate today);

// The date the edit holds for a text: a text without characters is the empty date (a null
// QDate); an unreadable text, including one of only blanks and separators, gives today when
// defaultToday is set and the empty date otherwise.
QDate readDateText(QStringView text, const DateTextRules& rules, QDate today, bool defaultToday);

// True when the text has nothing but blanks and date separators.
bool isBlankDateText(QStringView text, QChar separator, QChar blank);

}  // namespace wf
