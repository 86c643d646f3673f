#include "framework/system_format_settings.h"

#include "framework/text_codec.h"

#include <QDate>
#include <QTime>

#include <array>

namespace wf {
namespace {

// One character of the code page for a separator; narrow and plain no-break spaces become the
// code page's no-break space, anything else it lacks falls back to the given default.
char separatorChar(const QString& text, char fallback) {
  if (text.size() != 1) return fallback;
  const QChar c = text[0];
  if (c == QChar(0x202F) || c == QChar(0x00A0)) return '\xA0';
  std::string bytes;
  if (!tryToCodePage(text, bytes) || bytes.size() != 1) return fallback;
  return bytes[0];
}

// A locale text in the code page, or the given one when the code page cannot hold it.
std::string textOr(const QString& text, const std::string& fallback) {
  std::string bytes;
  return tryToCodePage(text, bytes) ? bytes : fallback;
}

bool fits(const QString& text) { return charactersOutsideCodePage(text).isEmpty(); }

// The first character of a pattern that is neither a letter nor a quote: the separator.
QChar separatorIn(const QString& pattern, QChar fallback) {
  bool quoted = false;
  for (QChar c : pattern) {
    if (c == QLatin1Char('\''))
      quoted = !quoted;
    else if (!quoted && !c.isLetter() && !c.isSpace())
      return c;
  }
  return fallback;
}

// Converts a Qt pattern token by token; letters map through the given function, quoted text and
// other characters are copied (the separator becomes its placeholder); literal text the code
// page cannot hold is left out.
template <typename MapToken>
std::string convertPattern(const QString& pattern, QChar separator, char placeholder,
                           MapToken mapToken) {
  QString out;
  for (qsizetype i = 0; i < pattern.size();) {
    const QChar c = pattern[i];
    if (c == QLatin1Char('\'')) {
      const qsizetype end = pattern.indexOf(QLatin1Char('\''), i + 1);
      const qsizetype stop = end < 0 ? pattern.size() : end + 1;
      const QString literal = pattern.mid(i + 1, stop - i - 2 < 0 ? 0 : stop - i - 2);
      if (!literal.isEmpty() && fits(literal)) out += QLatin1Char('"') + literal + QLatin1Char('"');
      i = stop;
      continue;
    }
    if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
        (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))) {
      qsizetype run = 1;
      while (i + run < pattern.size() && pattern[i + run] == c) ++run;
      out += mapToken(c, run);
      i += run;
      continue;
    }
    if (c == separator)
      out += QLatin1Char(placeholder);
    else if (fits(QString(c)))
      out += c;
    ++i;
  }
  return toCodePage(out.trimmed());
}

// Matches a sample like "-$1" against the store's numbered currency layouts.
int layoutIndex(const QString& sample, const std::array<const char*, 16>& layouts, int fallback) {
  for (size_t i = 0; i < layouts.size(); ++i)
    if (sample == QLatin1String(layouts[i])) return static_cast<int>(i);
  return fallback;
}

// The locale's amount 1 (or -1) as currency with the symbol as "$", the digits as "1" and every
// kind of space as a plain space.
QString currencySample(const QLocale& locale, double value, const QString& symbol) {
  QString text = locale.toCurrencyString(value, symbol);
  text.replace(symbol, QStringLiteral("$"));
  QString out;
  bool inNumber = false;
  for (QChar c : text) {
    if (c.isDigit() || (inNumber && (QString(c) == locale.decimalPoint() ||
                                     QString(c) == locale.groupSeparator()))) {
      if (!inNumber) out += QLatin1Char('1');
      inNumber = true;
      continue;
    }
    inNumber = false;
    if (c.isSpace() || c == QChar(0x202F) || c == QChar(0x00A0))
      out += QLatin1Char(' ');
    else if (QString(c) == locale.negativeSign() || c == QChar(0x2212))
      out += QLatin1Char('-');
    else
      out += c;
  }
  return out;
}

int currencyDecimals(const QLocale& locale) {
  const QString text = locale.toCurrencyString(1.0, QStringLiteral("$"));
  const qsizetype point = text.indexOf(locale.decimalPoint());
  if (point < 0) return 0;
  int digits = 0;
  for (qsizetype i = point + locale.decimalPoint().size(); i < text.size() && text[i].isDigit();
       ++i)
    ++digits;
  return digits;
}

// Typed dates are read in the order of the short date format, as numbers; a locale whose short
// date names the month ("d MMM yyyy") gets the same order with a numeric month instead.
QString numericShortDate(const QString& pattern, QChar* separator) {
  if (!pattern.contains(QStringLiteral("MMM"))) return pattern;
  QString order;
  for (QChar c : pattern)
    if ((c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) &&
        !order.contains(c))
      order += c;
  QStringList parts;
  for (QChar c : order)
    parts << (c == QLatin1Char('d')   ? QStringLiteral("d")
              : c == QLatin1Char('M') ? QStringLiteral("M")
                                      : QStringLiteral("yyyy"));
  *separator = QLatin1Char('/');
  return parts.join(QLatin1Char('/'));
}

}  // namespace

std::string dateFormatFromQt(const QString& pattern, QChar dateSeparator) {
  return convertPattern(pattern, dateSeparator, '/', [](QChar c, qsizetype run) -> QString {
    switch (c.unicode()) {
      case 'd': return QString(run, QLatin1Char('d'));
      case 'M':
      case 'L': return QString(run, QLatin1Char('m'));
      case 'y': return run <= 2 ? QStringLiteral("yyyy") : QString(run, QLatin1Char('y'));
      default: return QString();  // eras, time zones and the like have no counterpart
    }
  });
}

std::string timeFormatFromQt(const QString& pattern, QChar timeSeparator) {
  return convertPattern(pattern, timeSeparator, ':', [](QChar c, qsizetype run) -> QString {
    switch (c.unicode()) {
      case 'h':
      case 'H': return QString(std::min<qsizetype>(run, 2), QLatin1Char('h'));
      case 'm': return QString(std::min<qsizetype>(run, 2), QLatin1Char('n'));
      case 's': return QString(std::min<qsizetype>(run, 2), QLatin1Char('s'));
      case 'z': return run >= 3 ? QStringLiteral("zzz") : QStringLiteral("z");
      case 'a':
      case 'A': return QStringLiteral("ampm");
      default: return QString();
    }
  });
}

FormatSettings formatSettingsFromLocale(const QLocale& locale) {
  FormatSettings s;
  QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
  std::string symbolBytes;
  if (symbol.isEmpty() || !tryToCodePage(symbol, symbolBytes)) {
    symbol = locale.currencySymbol(QLocale::CurrencyIsoCode);
    if (!tryToCodePage(symbol, symbolBytes)) symbol.clear();
  }
  if (!symbol.isEmpty()) {
    s.currencyString = symbolBytes;
    static constexpr std::array<const char*, 16> kPositive = {
        "$1", "1$", "$ 1", "1 $", "", "", "", "", "", "", "", "", "", "", "", ""};
    static constexpr std::array<const char*, 16> kNegative = {
        "($1)", "-$1",  "$-1",  "$1-",  "(1$)", "-1$",  "1-$",   "1$-",
        "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
    s.currencyFormat = layoutIndex(currencySample(locale, 1.0, symbol), kPositive, 0);
    s.negCurrFormat = layoutIndex(currencySample(locale, -1.0, symbol), kNegative, 1);
  }
  s.currencyDecimals = currencyDecimals(locale);
  s.decimalSeparator = separatorChar(locale.decimalPoint(), '.');
  s.thousandSeparator = separatorChar(locale.groupSeparator(), ',');
  if (s.thousandSeparator == s.decimalSeparator) s.thousandSeparator = '\xA0';

  QChar dateSeparator = separatorIn(locale.dateFormat(QLocale::ShortFormat), QLatin1Char('/'));
  const QString shortDate =
      numericShortDate(locale.dateFormat(QLocale::ShortFormat), &dateSeparator);
  s.dateSeparator = separatorChar(QString(dateSeparator), '/');
  s.shortDateFormat = dateFormatFromQt(shortDate, dateSeparator);
  s.longDateFormat = dateFormatFromQt(locale.dateFormat(QLocale::LongFormat), dateSeparator);

  const QString shortTime = locale.timeFormat(QLocale::ShortFormat);
  const QChar timeSeparator = separatorIn(shortTime, QLatin1Char(':'));
  s.timeSeparator = separatorChar(QString(timeSeparator), ':');
  s.shortTimeFormat = timeFormatFromQt(shortTime, timeSeparator);
  s.longTimeFormat = timeFormatFromQt(locale.timeFormat(QLocale::LongFormat), timeSeparator);
  // Names the code page cannot hold keep the English ones, a whole set at a time, so that a
  // date never mixes two languages.
  s.timeAmString = textOr(locale.amText(), s.timeAmString);
  s.timePmString = textOr(locale.pmText(), s.timePmString);
  auto names = [](auto& set, auto nameOf) {
    auto fromLocale = set;
    for (size_t i = 0; i < set.size(); ++i)
      if (!tryToCodePage(nameOf(static_cast<int>(i)), fromLocale[i])) return;
    set = fromLocale;
  };
  // Qt counts Monday as 1, Sunday as 7; the settings start with Sunday.
  auto qtDay = [](int day) { return day == 0 ? 7 : day; };
  names(s.shortDayNames, [&](int day) { return locale.dayName(qtDay(day), QLocale::ShortFormat); });
  names(s.longDayNames, [&](int day) { return locale.dayName(qtDay(day), QLocale::LongFormat); });
  names(s.shortMonthNames,
        [&](int month) { return locale.monthName(month + 1, QLocale::ShortFormat); });
  names(s.longMonthNames,
        [&](int month) { return locale.monthName(month + 1, QLocale::LongFormat); });
  return s;
}

void applySystemFormatSettings() { formatSettings() = formatSettingsFromLocale(QLocale::system()); }

}  // namespace wf
