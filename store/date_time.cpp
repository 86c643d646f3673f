#include "store/date_time.h"

#include "store/datapacket_format.h"

#include <cmath>
#include <cstdlib>

namespace wf {

namespace {

using dpformat::kDayOf1899;
using dpformat::kMsPerDay;

// Whole milliseconds stay exact in a double up to 2^53; well beyond year 9999 either way.
constexpr double kMaxExactMs = 9007199254740992.0;
// Stored values read are kept within 2^49 ms (beyond year 17,000 either way): there a double
// still holds the day count with far better than millisecond precision, so every stored value
// read converts back to itself.
constexpr double kMaxReadMs = 562949953421312.0;

// Days since 1 March of year 0 shifted so that 1 January 1970 is day 0 (civil calendar
// arithmetic on 400-year eras).
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

// 30 December 1899 counted from 1 January 1970.
constexpr int64_t k1899FromUnixEpoch = -25569;

}  // namespace

std::optional<double> dateTimeToStoredMs(double days) {
  if (!std::isfinite(days)) return std::nullopt;
  const double scaled = std::round(days * double(kMsPerDay));
  if (std::fabs(scaled) >= kMaxExactMs) return std::nullopt;
  const int64_t m = static_cast<int64_t>(scaled);
  const int64_t magnitude = m < 0 ? -m : m;
  const int64_t wholeDays = magnitude / kMsPerDay;
  const int64_t dayNumber = kDayOf1899 + (m < 0 ? -wholeDays : wholeDays);
  const int64_t stored = dayNumber * kMsPerDay + magnitude % kMsPerDay;
  if (std::abs(stored) >= int64_t(kMaxExactMs)) return std::nullopt;
  return double(stored);
}

std::optional<double> storedMsToDateTime(double storedMs) {
  if (!std::isfinite(storedMs)) return std::nullopt;
  // Stored values are whole milliseconds: only the rare one that is not needs the (slower)
  // rounding. The range test first keeps the conversion to an integer defined.
  const bool wholeAlready =
      std::fabs(storedMs) < kMaxReadMs && double(static_cast<int64_t>(storedMs)) == storedMs;
  const double whole = wholeAlready ? storedMs : std::round(storedMs);
  if (std::fabs(whole) >= kMaxReadMs) return std::nullopt;
  const int64_t s = static_cast<int64_t>(whole);
  // Floor division: for stored values below 0 (not dates at all) this keeps t in [0, kMsPerDay),
  // which makes reading the exact inverse of writing.
  int64_t d = s / kMsPerDay;
  if (s % kMsPerDay < 0) --d;
  const int64_t t = s - d * kMsPerDay;
  const double fraction = double(t) / double(kMsPerDay);
  const double dayPart = double(d - kDayOf1899);
  return d >= kDayOf1899 ? dayPart + fraction : dayPart - fraction;
}

double dateTimeFromCalendar(const CalendarDateTime& c) {
  const int64_t dayCount = daysFromCivil(c.year, c.month, c.day) - k1899FromUnixEpoch;
  const int64_t ms = ((int64_t(c.hour) * 60 + c.minute) * 60 + c.second) * 1000 + c.millisecond;
  const double fraction = double(ms) / double(kMsPerDay);
  return dayCount >= 0 ? double(dayCount) + fraction : double(dayCount) - fraction;
}

std::optional<CalendarDateTime> calendarFromDateTime(double days) {
  if (!std::isfinite(days) || std::fabs(days) > 3.0e6) return std::nullopt;
  const int64_t m = static_cast<int64_t>(std::round(days * double(kMsPerDay)));
  const int64_t magnitude = m < 0 ? -m : m;
  const int64_t dayCount = m < 0 ? -(magnitude / kMsPerDay) : magnitude / kMsPerDay;
  int64_t ms = magnitude % kMsPerDay;
  CalendarDateTime c;
  civilFromDays(dayCount + k1899FromUnixEpoch, c.year, c.month, c.day);
  if (c.year < 1 || c.year > 9999) return std::nullopt;
  c.millisecond = static_cast<int>(ms % 1000);
  ms /= 1000;
  c.second = static_cast<int>(ms % 60);
  ms /= 60;
  c.minute = static_cast<int>(ms % 60);
  c.hour = static_cast<int>(ms / 60);
  return c;
}

}  // namespace wf
