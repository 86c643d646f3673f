// Fills the store's format settings (currency, separators, date and time formats, day and month
// names) from a Qt locale, so fields and reports show values the way the user's locale does.
#pragma once

#include "store/format_settings.h"

#include <QLocale>
#include <QString>

namespace wf {

// The settings a locale gives, with texts in the active code page. A currency symbol the code
// page lacks is replaced by the currency's ISO code, a set of day or month names by the
// English ones.
FormatSettings formatSettingsFromLocale(const QLocale& locale);

// Puts the system locale's settings into formatSettings(). Called once at start-up.
void applySystemFormatSettings();

// A Qt date or time pattern ("M/d/yy", "HH:mm") in the store's format notation ("m/d/yyyy",
// "hh:nn"); the date separator found becomes "/", the time separator ":". Two-digit years are
// widened to four, so a stored date never reads back into another century.
std::string dateFormatFromQt(const QString& pattern, QChar dateSeparator);
std::string timeFormatFromQt(const QString& pattern, QChar timeSeparator);

}  // namespace wf
