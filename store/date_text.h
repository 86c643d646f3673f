// Date-time values (days since 30 December 1899, time of day as fraction) as text: formatting
// by a display format such as "ddddd" and reading typed dates in the short date order.
#pragma once

#include <string>

#include "store/format_settings.h"

namespace wf {

// Formats by a display format. Tokens (letters in either case): c (short date, then the long
// time unless it is midnight), d dd (day), ddd dddd (day names), ddddd (short date), dddddd
// (long date), m mm mmm mmmm (month; minutes right after an hour), yy yyyy, h hh, n nn, s ss,
// z zzz, t (short time), tt (long time), am/pm, a/p, ampm, "/" (date separator), ":" (time
// separator), and quoted literals. An empty format is "c". A value outside the years 1 to 9999
// gives an empty text.
std::string formatDateTime(const std::string& format, double value, const FormatSettings& settings);

// Reads a date in the order of the short date format (day, month and year separated by the
// date separator; a missing year is this year; a two-digit year falls in the 100 years around
// today), optionally followed by a time h:n[:s] with an optional AM/PM. False for other text
// or a date that does not exist.
bool parseDateTimeText(const std::string& text, const FormatSettings& settings, double& value);

}  // namespace wf
