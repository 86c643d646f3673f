// The parts of the locale the date edit reads: the short date format with its separator, the
// short day names and the long month names.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace wf {

struct DateLocale {
  QString shortDateFormat = QStringLiteral("M/d/yyyy");
  QChar separator = u'/';
  QStringList shortDayNames;   // Monday first, seven names
  QStringList longMonthNames;  // January first, twelve names
};

// The locale as the program's format settings (store/format_settings.h) hold it now.
DateLocale currentDateLocale();

}  // namespace wf
