#include "controls/date_locale.h"

#include <QLocale>

namespace wf {

DateLocale currentDateLocale() {
  const QLocale locale;
  DateLocale result;
  result.shortDateFormat = locale.dateFormat(QLocale::ShortFormat);
  for (QChar c : result.shortDateFormat) {
    if (!c.isLetter() && !c.isSpace() && c != u'\'') {
      result.separator = c;
      break;
    }
  }
  for (int day = Qt::Monday; day <= Qt::Sunday; ++day) {
    result.shortDayNames << locale.dayName(day, QLocale::ShortFormat);
  }
  for (int month = 1; month <= 12; ++month) {
    result.longMonthNames << locale.monthName(month, QLocale::LongFormat);
  }
  return result;
}

}  // namespace wf
