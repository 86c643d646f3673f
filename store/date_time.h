// Date-time values: in memory a double of days since 30 December 1899 with the time of day as
// fraction; in table files a double of whole milliseconds since 1 January 0001 (day 1).
#pragma once

#include <cstdint>
#include <optional>

namespace wf {

// The stored form of an in-memory date-time. Empty when `days` is not finite or too far from
// 1899 for whole milliseconds to be exact in a double.
std::optional<double> dateTimeToStoredMs(double days);

// The in-memory form of a stored date-time. Stored values below day 1 are not dates; they still
// read back to a number that converts to the same stored value. Empty when `storedMs` is not
// finite or beyond 2^49 ms either way (past year 17,000), where the way back could fail.
std::optional<double> storedMsToDateTime(double storedMs);

// A calendar date and time of day (proleptic Gregorian calendar).
struct CalendarDateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  bool operator==(const CalendarDateTime&) const = default;
};

// The in-memory date-time of a calendar date and time. Times before 1899 follow the convention's
// rule that the fraction is the time of day whatever the sign of the day count.
double dateTimeFromCalendar(const CalendarDateTime& c);
// The calendar date and time of an in-memory date-time, to the nearest millisecond. Empty for a
// value that is not finite or lies outside years 1 to 9999.
std::optional<CalendarDateTime> calendarFromDateTime(double days);

}  // namespace wf
