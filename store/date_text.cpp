#include "store/date_text.h"

#include <cctype>
#include <chrono>
#include <cmath>
#include <optional>
#include <vector>

#include "store/date_time.h"

namespace wf {

namespace {

std::string padded(int value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width)
    digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  return digits;
}

bool startsWithNoCase(const std::string& s, std::size_t at, const char* word) {
  for (std::size_t k = 0; word[k] != '\0'; ++k)
    if (at + k >= s.size() || std::tolower(static_cast<unsigned char>(s[at + k])) != word[k])
      return false;
  return true;
}

bool usesTwelveHours(const std::string& format) {
  for (std::size_t i = 0; i < format.size(); ++i)
    if (startsWithNoCase(format, i, "am/pm") || startsWithNoCase(format, i, "a/p") ||
        startsWithNoCase(format, i, "ampm"))
      return true;
  return false;
}

// 0 Sunday .. 6 Saturday; day 0 (30 December 1899) was a Saturday.
int dayOfWeek(double value) {
  long long day = static_cast<long long>(std::trunc(value));
  return static_cast<int>(((day + 6) % 7 + 7) % 7);
}

class Formatter {
 public:
  Formatter(const FormatSettings& fs, double value, const CalendarDateTime& parts)
      : fs_(fs), value_(value), parts_(parts) {}

  void append(const std::string& format, int depth) {
    if (depth > 3) return;
    bool twelve = usesTwelveHours(format);
    bool afterHour = false;
    std::size_t i = 0;
    while (i < format.size()) {
      char c = format[i];
      char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (c == '\'' || c == '"') {
        std::size_t close = format.find(c, i + 1);
        if (close == std::string::npos) close = format.size();
        out_ += format.substr(i + 1, close - i - 1);
        i = close + 1;
        continue;
      }
      if (lower == 'a') {
        if (startsWithNoCase(format, i, "am/pm")) {
          out_ += parts_.hour < 12 ? fs_.timeAmString : fs_.timePmString;
          i += 5;
        } else if (startsWithNoCase(format, i, "a/p")) {
          out_ += parts_.hour < 12 ? "a" : "p";
          i += 3;
        } else if (startsWithNoCase(format, i, "ampm")) {
          out_ += parts_.hour < 12 ? fs_.timeAmString : fs_.timePmString;
          i += 4;
        } else {
          out_ += c;
          ++i;
        }
        continue;
      }
      std::size_t run = 1;
      while (i + run < format.size() &&
             std::tolower(static_cast<unsigned char>(format[i + run])) == lower)
        ++run;
      switch (lower) {
        case 'c':
          append(fs_.shortDateFormat, depth + 1);
          if (value_ != std::trunc(value_)) {
            out_ += ' ';
            append(fs_.longTimeFormat, depth + 1);
          }
          break;
        case 'd': day(run, depth); break;
        case 'm':
          if (afterHour) {
            out_ += run >= 2 ? padded(parts_.minute, 2) : std::to_string(parts_.minute);
            run = std::min<std::size_t>(run, 2);
          } else {
            month(run);
          }
          break;
        case 'y': out_ += run <= 2 ? padded(parts_.year % 100, 2) : padded(parts_.year, 4); break;
        case 'h': {
          int hour = parts_.hour;
          if (twelve) hour = hour % 12 == 0 ? 12 : hour % 12;
          out_ += run >= 2 ? padded(hour, 2) : std::to_string(hour);
          run = std::min<std::size_t>(run, 2);
          break;
        }
        case 'n':
          out_ += run >= 2 ? padded(parts_.minute, 2) : std::to_string(parts_.minute);
          run = std::min<std::size_t>(run, 2);
          break;
        case 's':
          out_ += run >= 2 ? padded(parts_.second, 2) : std::to_string(parts_.second);
          run = std::min<std::size_t>(run, 2);
          break;
        case 'z':
          out_ += run >= 3 ? padded(parts_.millisecond, 3) : std::to_string(parts_.millisecond);
          run = std::min<std::size_t>(run, 3);
          break;
        case 't':
          append(run >= 2 ? fs_.longTimeFormat : fs_.shortTimeFormat, depth + 1);
          run = std::min<std::size_t>(run, 2);
          break;
        case '/': out_.append(run, fs_.dateSeparator); break;
        case ':': out_.append(run, fs_.timeSeparator); break;
        default: out_.append(run, c); break;
      }
      if (lower == 'h')
        afterHour = true;
      else if (std::isalpha(static_cast<unsigned char>(lower)))
        afterHour = false;
      i += run;
    }
  }

  const std::string& text() const { return out_; }

 private:
  void day(std::size_t run, int depth) {
    int weekday = dayOfWeek(value_);
    switch (run) {
      case 1: out_ += std::to_string(parts_.day); break;
      case 2: out_ += padded(parts_.day, 2); break;
      case 3: out_ += fs_.shortDayNames[static_cast<std::size_t>(weekday)]; break;
      case 4: out_ += fs_.longDayNames[static_cast<std::size_t>(weekday)]; break;
      case 5: append(fs_.shortDateFormat, depth + 1); break;
      default: append(fs_.longDateFormat, depth + 1); break;
    }
  }
  void month(std::size_t run) {
    std::size_t index = static_cast<std::size_t>(parts_.month - 1);
    switch (run) {
      case 1: out_ += std::to_string(parts_.month); break;
      case 2: out_ += padded(parts_.month, 2); break;
      case 3: out_ += fs_.shortMonthNames[index]; break;
      default: out_ += fs_.longMonthNames[index]; break;
    }
  }

  const FormatSettings& fs_;
  double value_;
  CalendarDateTime parts_;
  std::string out_;
};

int currentYear() {
  auto now = std::chrono::system_clock::now();
  std::chrono::year_month_day ymd{std::chrono::floor<std::chrono::days>(now)};
  return static_cast<int>(ymd.year());
}

bool readNumber(const std::string& s, std::size_t& i, int& value, int& digits) {
  value = 0;
  digits = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && digits < 9) {
    value = value * 10 + (s[i] - '0');
    ++i;
    ++digits;
  }
  return digits > 0;
}

void skipBlanks(const std::string& s, std::size_t& i) {
  while (i < s.size() && s[i] == ' ') ++i;
}

int daysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace

std::string formatDateTime(const std::string& format, double value, const FormatSettings& fs) {
  std::optional<CalendarDateTime> parts = calendarFromDateTime(value);
  if (!parts) return std::string();
  Formatter formatter(fs, value, *parts);
  formatter.append(format.empty() ? std::string("c") : format, 0);
  return formatter.text();
}

bool parseDateTimeText(const std::string& text, const FormatSettings& fs, double& value) {
  // The order of day, month and year follows the first of those letters in the short date format.
  char order = 'm';
  for (char c : fs.shortDateFormat) {
    char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == 'd' || lower == 'm' || lower == 'y') {
      order = lower;
      break;
    }
  }
  std::size_t i = 0;
  skipBlanks(text, i);
  int numbers[3] = {0, 0, 0};
  int digitCounts[3] = {0, 0, 0};
  int count = 0;
  while (count < 3) {
    if (!readNumber(text, i, numbers[count], digitCounts[count])) return false;
    ++count;
    if (i < text.size() && text[i] == fs.dateSeparator && count < 3) {
      ++i;
      continue;
    }
    break;
  }
  if (count < 2) return false;
  CalendarDateTime parts;
  int yearDigits = 4;
  if (order == 'y') {
    if (count == 2) {
      parts.year = currentYear();
      parts.month = numbers[0];
      parts.day = numbers[1];
    } else {
      parts.year = numbers[0];
      yearDigits = digitCounts[0];
      parts.month = numbers[1];
      parts.day = numbers[2];
    }
  } else {
    parts.day = order == 'd' ? numbers[0] : numbers[1];
    parts.month = order == 'd' ? numbers[1] : numbers[0];
    if (count == 3) {
      parts.year = numbers[2];
      yearDigits = digitCounts[2];
    } else {
      parts.year = currentYear();
    }
  }
  if (yearDigits <= 2) {
    int threshold = currentYear() - 50;
    parts.year += threshold / 100 * 100;
    if (parts.year < threshold) parts.year += 100;
  }
  if (parts.year < 1 || parts.year > 9999 || parts.month < 1 || parts.month > 12 || parts.day < 1 ||
      parts.day > daysInMonth(parts.year, parts.month))
    return false;

  skipBlanks(text, i);
  if (i < text.size()) {
    int digits = 0;
    if (!readNumber(text, i, parts.hour, digits)) return false;
    if (i >= text.size() || text[i] != fs.timeSeparator) return false;
    ++i;
    if (!readNumber(text, i, parts.minute, digits)) return false;
    if (i < text.size() && text[i] == fs.timeSeparator) {
      ++i;
      if (!readNumber(text, i, parts.second, digits)) return false;
    }
    skipBlanks(text, i);
    if (i < text.size()) {
      std::string rest = text.substr(i);
      while (!rest.empty() && rest.back() == ' ') rest.pop_back();
      auto same = [](const std::string& a, const std::string& b) {
        if (a.size() != b.size() || a.empty()) return false;
        for (std::size_t k = 0; k < a.size(); ++k)
          if (std::tolower(static_cast<unsigned char>(a[k])) !=
              std::tolower(static_cast<unsigned char>(b[k])))
            return false;
        return true;
      };
      bool pm = same(rest, fs.timePmString) || same(rest, "PM");
      bool am = same(rest, fs.timeAmString) || same(rest, "AM");
      if (!pm && !am) return false;
      if (parts.hour < 1 || parts.hour > 12) return false;
      parts.hour = parts.hour % 12 + (pm ? 12 : 0);
    }
    if (parts.hour > 23 || parts.minute > 59 || parts.second > 59) return false;
    i = text.size();
  }
  value = dateTimeFromCalendar(parts);
  return true;
}

}  // namespace wf
