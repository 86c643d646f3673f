#include "controls/date_serial.h"

#include <cmath>

namespace wf {
namespace {
constexpr double kMillisecondsPerDay = 86400000.0;
}

QDate dateSerialEpoch() { return QDate(1899, 12, 30); }

QDate dateOfSerial(double value) {
  if (!std::isfinite(value)) return {};
  const double days = std::trunc(value);
  // Outside 0001-01-01 .. 9999-12-31.
  if (days < -693593.0 || days > 2958465.0) return {};
  if (days == 0.0) return {};
  return dateSerialEpoch().addDays(static_cast<qint64>(days));
}

double timeOfSerial(double value) {
  if (!std::isfinite(value)) return 0.0;
  return std::fabs(value - std::trunc(value));
}

double serialOf(QDate date, double timeOfDay) {
  if (!date.isValid()) return 0.0;
  const double days = static_cast<double>(dateSerialEpoch().daysTo(date));
  return days < 0 ? days - timeOfDay : days + timeOfDay;
}

double serialOf(const QDateTime& moment) {
  const QTime time = moment.time();
  return serialOf(moment.date(), time.msecsSinceStartOfDay() / kMillisecondsPerDay);
}

}  // namespace wf
