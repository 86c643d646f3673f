// Date-time values between their in-memory form (days since 30 December 1899) and the stored form
// (milliseconds since 1 January 0001), and to and from calendar dates.
#include "store/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace wf {
namespace {

TEST(DateTime, StoredForms) {
  struct Case {
    const char* name;
    CalendarDateTime calendar;
    double days;
    double stored;
  };
  const Case cases[] = {
      {"15 January 2024", {2024, 1, 15}, 45306.0, 63840960000000.0},
      {"15 January 2024 14:30", {2024, 1, 15, 14, 30}, 45306.0 + 14.5 / 24, 63841012200000.0},
      {"30 December 1899", {1899, 12, 30}, 0.0, 693594.0 * 86400000},
      {"30 December 1899 06:00", {1899, 12, 30, 6}, 0.25, 693594.0 * 86400000 + 21600000},
      {"29 December 1899 06:00", {1899, 12, 29, 6}, -1.25, 693593.0 * 86400000 + 21600000},
      {"1 January 0001", {1, 1, 1}, -693593.0, 86400000.0},
      {"1 January 0001 00:00:00.001",
       {1, 1, 1, 0, 0, 0, 1},
       -693593.0 - 1.0 / 86400000,
       86400001.0},
      {"31 December 9999 23:59:59.999",
       {9999, 12, 31, 23, 59, 59, 999},
       2958465.0 + 86399999.0 / 86400000,
       3652059.0 * 86400000 + 86399999},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_DOUBLE_EQ(dateTimeFromCalendar(c.calendar), c.days);
    EXPECT_EQ(dateTimeToStoredMs(c.days), c.stored);
    const std::optional<double> back = storedMsToDateTime(c.stored);
    ASSERT_TRUE(back);
    EXPECT_DOUBLE_EQ(*back, c.days);
    EXPECT_EQ(dateTimeToStoredMs(*back), c.stored);
    EXPECT_EQ(calendarFromDateTime(c.days), c.calendar);
  }
}

TEST(DateTime, ExampleBytes) {
  const double stored = *dateTimeToStoredMs(dateTimeFromCalendar({2024, 1, 15}));
  const uint8_t expected[8] = {0x00, 0x00, 0x18, 0xDF, 0x10, 0x08, 0xCD, 0x42};
  EXPECT_EQ(std::memcmp(&stored, expected, 8), 0);
}

TEST(DateTime, EveryMillisecondOfADaySurvivesTheRoundTrip) {
  const double base = 738900.0 * 86400000;
  for (int64_t ms = 0; ms < 86400000; ms += 997) {
    const double stored = base + double(ms);
    EXPECT_EQ(dateTimeToStoredMs(*storedMsToDateTime(stored)), stored) << ms;
  }
}

TEST(DateTime, EveryStoredValueReadConvertsBackToItself) {
  for (double stored :
       {0.0, 1.0, 43200000.0, 86399999.0, -1.0, -86400000.0, -86400001.0, -123456789012.0,
        -562949953421311.0, 562949953421311.0, 315537897599999.0}) {
    SCOPED_TRACE(stored);
    const std::optional<double> days = storedMsToDateTime(stored);
    ASSERT_TRUE(days);
    EXPECT_EQ(dateTimeToStoredMs(*days), stored);
  }
}

TEST(DateTime, ValuesThatCannotBeConverted) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double v : {std::nan(""), inf, -inf, 1e300, -1e17, 562949953421312.0}) {
    EXPECT_FALSE(storedMsToDateTime(v)) << v;
    EXPECT_FALSE(dateTimeToStoredMs(v)) << v;
  }
  EXPECT_FALSE(calendarFromDateTime(-693594.0));  // 31 December of year 0
  EXPECT_FALSE(calendarFromDateTime(2958466.0));  // 1 January 10000
}

}  // namespace
}  // namespace wf
