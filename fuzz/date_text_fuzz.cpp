// Feeds typed text to the date edit's reader under each of its six formats. The first byte picks
// the format and the separator, the rest is the text (Latin-1). Any date read must be a real
// date of the years 1 to 9999, and a date written in a four-digit format must read back as
// itself (from year 100 on; earlier years are two-digit years by definition).
#include "controls/date_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const wf::DateOrder orders[] = {wf::DateOrder::MonthDayYear, wf::DateOrder::DayMonthYear,
                                  wf::DateOrder::YearMonthDay};
  const char separators[] = {'/', '.', '-', ' '};
  const uint8_t choice = data[0];
  const wf::DateOrder order = orders[choice % 3];
  const bool fourDigits = (choice / 3) % 2 == 0;
  wf::DateTextRules rules;
  rules.format = wf::dateEditFormat(order, fourDigits);
  rules.separator = QChar::fromLatin1(separators[(choice / 6) % 4]);
  rules.order = order;
  rules.blank = (choice & 0x80) ? QChar(u'_') : QChar(u' ');
  const QDate today(2026, 6, 15);

  const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data + 1),
                                           static_cast<qsizetype>(size - 1));
  const auto date = wf::parseDateText(text, rules, today);
  if (!date) return 0;
  if (!date->isValid() || date->year() < 1 || date->year() > 9999) std::abort();
  if (fourDigits && date->year() >= 100) {
    const QString written = wf::formatDateText(*date, rules.format, rules.separator);
    if (wf::parseDateText(written, rules, today) != date) std::abort();
  }
  return 0;
}
