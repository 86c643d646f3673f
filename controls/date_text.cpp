#include "controls/date_text.h"

#include <array>

namespace wf {
namespace {

bool isBlank(QChar c, QChar blank) { return c == u' ' || c == blank; }

// Where the first run of a format letter starts and how long it is.
struct Run {
  qsizetype start = -1;
  qsizetype length = 0;
};

Run findRun(QStringView format, QChar letter) {
  Run run;
  for (qsizetype i = 0; i < format.size(); ++i) {
    if (format[i].toUpper() != letter) continue;
    run.start = i;
    while (i < format.size() && format[i].toUpper() == letter) {
      ++run.length;
      ++i;
    }
    break;
  }
  return run;
}

// A field under its run: blank when every character is blank, otherwise the number of its digits
// or garbage when anything but digits and blanks stands there.
enum class FieldKind { Number, Blank, Garbage };
struct Field {
  FieldKind kind = FieldKind::Blank;
  int value = -1;
};

Field readNumberField(QStringView chars, QChar blank) {
  Field field;
  int value = 0;
  int digits = 0;
  for (QChar c : chars) {
    if (isBlank(c, blank)) continue;
    if (!c.isDigit() || c.unicode() > 0x7f || digits >= 6) return {FieldKind::Garbage, -1};
    value = value * 10 + (c.unicode() - u'0');
    ++digits;
  }
  if (digits == 0) return field;
  return {FieldKind::Number, value};
}

int monthByName(QStringView chars, const QStringList& longMonthNames, QChar blank) {
  QString name;
  for (QChar c : chars) {
    if (!isBlank(c, blank)) name += c;
  }
  if (name.isEmpty()) return -1;
  for (int i = 0; i < longMonthNames.size() && i < 12; ++i) {
    if (longMonthNames[i].startsWith(name, Qt::CaseInsensitive)) return i + 1;
  }
  return 0;
}

std::optional<QDate> validDate(int year, int month, int day) {
  if (year < 1 || year > 9999) return std::nullopt;
  if (!QDate::isValid(year, month, day)) return std::nullopt;
  return QDate(year, month, day);
}

// Reading by position: the characters under each letter's run of the format.
std::optional<QDate> readByPosition(QStringView text, const DateTextRules& rules, QDate today) {
  const QStringView format(rules.format);
  int day = 1;
  int month = 0;
  int year = today.year();
  if (text.size() <= format.size()) {
    for (QChar letter : {QChar(u'D'), QChar(u'M'), QChar(u'Y')}) {
      const Run run = findRun(format, letter);
      if (run.start < 0) continue;
      const QStringView chars = text.mid(run.start).left(run.length);
      if (letter == u'M' && run.length >= 3) {
        month = monthByName(chars, rules.longMonthNames, rules.blank);
        if (month < 0) return std::nullopt;
        continue;
      }
      const Field field = readNumberField(chars, rules.blank);
      if (field.kind == FieldKind::Garbage) return std::nullopt;
      if (letter == u'D') day = field.value;
      if (letter == u'M') month = field.value;
      // Day and month typed, year left blank: the current year.
      if (letter == u'Y') year = field.kind == FieldKind::Blank ? today.year() : field.value;
    }
  }
  if (year >= 0 && year <= 99)
    year = expandTwoDigitYear(year, today.year(), rules.twoDigitYearWindow);
  return validDate(year, month, day);
}

class FreeScanner {
 public:
  FreeScanner(QStringView text, QChar blank) : text_(text), blank_(blank) {}

  void skipBlanks() {
    while (pos_ < text_.size() && isBlank(text_[pos_], blank_)) ++pos_;
  }
  bool number(int& value, int& digits) {
    skipBlanks();
    value = 0;
    digits = 0;
    while (pos_ < text_.size() && text_[pos_].unicode() >= u'0' && text_[pos_].unicode() <= u'9') {
      if (digits >= 6) return false;
      value = value * 10 + (text_[pos_].unicode() - u'0');
      ++digits;
      ++pos_;
    }
    return digits > 0;
  }
  bool character(QChar c) {
    skipBlanks();
    if (pos_ >= text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  bool atEnd() {
    skipBlanks();
    return pos_ == text_.size();
  }

 private:
  QStringView text_;
  QChar blank_;
  qsizetype pos_ = 0;
};

// A number as read, with the count of digits it was written with.
struct ReadNumber {
  int value = 0;
  int digits = 0;
};

// Where the day, the month and the year stand among three numbers written in an order.
struct FieldPlaces {
  int day, month, year;
};

FieldPlaces fieldPlaces(DateOrder order) {
  switch (order) {
    case DateOrder::MonthDayYear: return {1, 0, 2};
    case DateOrder::DayMonthYear: return {0, 1, 2};
    case DateOrder::YearMonthDay: return {2, 1, 0};
  }
  return {0, 1, 2};
}

// Reading freely: two or three numbers separated by the date separator, in the locale's order.
std::optional<QDate> readFreely(QStringView text, const DateTextRules& rules, QDate today) {
  FreeScanner scan(text, rules.blank);
  std::array<ReadNumber, 3> n{};
  auto number = [&](ReadNumber& read) { return scan.number(read.value, read.digits); };
  if (!number(n[0]) || !scan.character(rules.separator) || !number(n[1])) return std::nullopt;
  if (scan.character(rules.separator)) {
    if (!number(n[2])) return std::nullopt;
  }
  if (!scan.atEnd()) return std::nullopt;

  int year = today.year();
  int month = 0;
  int day = 0;
  if (n[2].digits > 0) {
    const FieldPlaces at = fieldPlaces(rules.order);
    day = n[at.day].value;
    month = n[at.month].value;
    year = n[at.year].value;
    if (n[at.year].digits <= 2)
      year = expandTwoDigitYear(year, today.year(), rules.twoDigitYearWindow);
  } else {
    // Two numbers are the day and the month, the day first only in day-month-year order.
    const bool dayFirst = rules.order == DateOrder::DayMonthYear;
    day = n[dayFirst ? 0 : 1].value;
    month = n[dayFirst ? 1 : 0].value;
  }
  return validDate(year, month, day);
}

}  // namespace

DateOrder dateOrderOf(QStringView shortDateFormat) {
  for (QChar c : shortDateFormat) {
    const QChar upper = c.toUpper();
    if (upper == u'M') return DateOrder::MonthDayYear;
    if (upper == u'D') return DateOrder::DayMonthYear;
    if (upper == u'Y' || upper == u'E') return DateOrder::YearMonthDay;
  }
  return DateOrder::DayMonthYear;
}

bool hasFourDigitYears(QStringView shortDateFormat) {
  return shortDateFormat.contains(u"YYYY", Qt::CaseInsensitive);
}

bool usesFourDigitYears(YearDigits digits, bool localeFourDigitYears) {
  return digits == YearDigits::Four || (digits == YearDigits::Default && localeFourDigitYears);
}

QString dateEditFormat(DateOrder order, bool fourDigitYears) {
  const QString year = fourDigitYears ? QStringLiteral("YYYY") : QStringLiteral("YY");
  switch (order) {
    case DateOrder::MonthDayYear: return QStringLiteral("MM/DD/") + year;
    case DateOrder::DayMonthYear: return QStringLiteral("DD/MM/") + year;
    case DateOrder::YearMonthDay: return year + QStringLiteral("/MM/DD");
  }
  return {};
}

QString dateEditMask(DateOrder order, bool fourDigitYears, QChar blank) {
  const bool wideYearFirst = fourDigitYears && order == DateOrder::YearMonthDay;
  const bool wideYearLast = fourDigitYears && order != DateOrder::YearMonthDay;
  QString mask = QStringLiteral("!");
  mask += wideYearFirst  ? QStringLiteral("9999/99/99")
          : wideYearLast ? QStringLiteral("99/99/9999")
                         : QStringLiteral("99/99/99");
  mask += QStringLiteral(";1;");
  mask += normalizedBlank(blank);
  return mask;
}

QString qtInputMask(QStringView editMask, QChar separator) {
  // Characters with a meaning of their own in Qt masks must be escaped to stand for themselves.
  static const QString kSpecial = QStringLiteral("AaNnXx90Dd#HhBb><!{}[]\\;");
  const qsizetype firstSemicolon = editMask.indexOf(u';');
  const QStringView pattern = firstSemicolon < 0 ? editMask : editMask.left(firstSemicolon);
  QString result;
  for (QChar c : pattern) {
    if (c == u'!') continue;
    if (c == u'/') {
      if (kSpecial.contains(separator)) result += u'\\';
      result += separator;
    } else {
      result += c;
    }
  }
  const qsizetype lastSemicolon = editMask.lastIndexOf(u';');
  QChar blank = u' ';
  if (lastSemicolon >= 0 && lastSemicolon + 1 < editMask.size())
    blank = editMask[lastSemicolon + 1];
  result += u';';
  result += normalizedBlank(blank);
  return result;
}

QChar normalizedBlank(QChar blank) { return blank.unicode() < 32 ? QChar(u' ') : blank; }

int expandTwoDigitYear(int year, int currentYear, int window) {
  if (year < 0 || year > 99) return year;
  const int base = currentYear - window;
  int expanded = year + (base / 100) * 100;
  if (expanded < base) expanded += 100;
  return expanded;
}

QString formatDateText(QDate date, QStringView format, QChar separator) {
  if (!date.isValid()) return {};
  QString text;
  for (qsizetype i = 0; i < format.size();) {
    const QChar letter = format[i].toUpper();
    qsizetype length = 1;
    while (i + length < format.size() && format[i + length].toUpper() == letter) ++length;
    if (letter == u'D') {
      text += QString::number(date.day()).rightJustified(length >= 2 ? 2 : 1, u'0');
    } else if (letter == u'M') {
      text += QString::number(date.month()).rightJustified(length >= 2 ? 2 : 1, u'0');
    } else if (letter == u'Y') {
      text += length <= 2 ? QString::number(date.year() % 100).rightJustified(2, u'0')
                          : QString::number(date.year()).rightJustified(4, u'0');
    } else if (format[i] == u'/') {
      text += QString(length, separator);
    } else {
      text += format.mid(i, length).toString();
    }
    i += length;
  }
  return text;
}

std::optional<QDate> parseDateText(QStringView text, const DateTextRules& rules, QDate today) {
  if (auto date = readByPosition(text, rules, today)) return date;
  return readFreely(text, rules, today);
}

QDate readDateText(QStringView text, const DateTextRules& rules, QDate today, bool defaultToday) {
  if (text.isEmpty()) return {};
  if (auto date = parseDateText(text, rules, today)) return *date;
  return defaultToday ? today : QDate();
}

bool isBlankDateText(QStringView text, QChar separator, QChar blank) {
  for (QChar c : text) {
    if (c != separator && !isBlank(c, blank)) return false;
  }
  return true;
}

}  // namespace wf
