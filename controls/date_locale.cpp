#include "controls/date_locale.h"

#include "framework/text_codec.h"
#include "store/format_settings.h"

#include <string_view>

namespace wf {

DateLocale currentDateLocale() {
  const FormatSettings& settings = formatSettings();
  DateLocale result;
  result.shortDateFormat = fromCodePage(settings.shortDateFormat);
  const QString separator = fromCodePage(std::string_view(&settings.dateSeparator, 1));
  result.separator = separator.isEmpty() ? QChar(u'/') : separator[0];
  // The settings list Sunday first; the calendar wants Monday first.
  for (int day = 1; day <= 7; ++day) {
    result.shortDayNames << fromCodePage(settings.shortDayNames[static_cast<std::size_t>(day % 7)]);
  }
  for (const std::string& name : settings.longMonthNames)
    result.longMonthNames << fromCodePage(name);
  return result;
}

}  // namespace wf
