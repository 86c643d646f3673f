// Date-time values as the tables hold them (days since 30 December 1899, the time of day as the
// fraction) converted to and from calendar dates for the date edit.
#pragma once

#include <QDate>
#include <QDateTime>

namespace wf {

// 30 December 1899, day 0: the empty date.
QDate dateSerialEpoch();

// The calendar date of a value; a null QDate for the empty date (day 0) and for values outside
// the years 1 to 9999 or not finite.
QDate dateOfSerial(double value);

// The time of day of a value as a fraction of a day in [0, 1). Days before the epoch carry the
// time as a fraction counted away from zero (-1.25 is 29 December 1899, 06:00).
double timeOfSerial(double value);

// A date plus a time-of-day fraction as one value.
double serialOf(QDate date, double timeOfDay = 0.0);

// The value of a local date and time, to the millisecond.
double serialOf(const QDateTime& moment);

}  // namespace wf
