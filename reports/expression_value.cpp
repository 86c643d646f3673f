#include "reports/expression_value.h"

#include <QLocale>

namespace wf {

ExprValue ExprValue::integer(qint64 value) {
  ExprValue v;
  v.kind_ = Kind::Integer;
  v.integer_ = value;
  return v;
}

ExprValue ExprValue::real(double value) {
  ExprValue v;
  v.kind_ = Kind::Real;
  v.real_ = value;
  return v;
}

ExprValue ExprValue::text(const QString& value) {
  ExprValue v;
  v.kind_ = Kind::Text;
  v.text_ = value;
  return v;
}

ExprValue ExprValue::boolean(bool value) {
  ExprValue v;
  v.kind_ = Kind::Boolean;
  v.boolean_ = value;
  return v;
}

ExprValue ExprValue::error(const QString& message) {
  ExprValue v;
  v.kind_ = Kind::Error;
  v.text_ = message;
  return v;
}

double ExprValue::asReal() const {
  switch (kind_) {
    case Kind::Integer:
      return static_cast<double>(integer_);
    case Kind::Real:
      return real_;
    default:
      return 0;
  }
}

QString ExprValue::toText() const {
  switch (kind_) {
    case Kind::Integer:
      return QString::number(integer_);
    case Kind::Real:
      return formatGeneralNumber(real_, localeDecimalSeparator());
    case Kind::Boolean:
      return boolean_ ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Text:
    case Kind::Error:
      return text_;
  }
  return QString();
}

bool ExprValue::operator==(const ExprValue& other) const {
  if (kind_ != other.kind_) return false;
  switch (kind_) {
    case Kind::Integer:
      return integer_ == other.integer_;
    case Kind::Real:
      return real_ == other.real_;
    case Kind::Boolean:
      return boolean_ == other.boolean_;
    case Kind::Text:
    case Kind::Error:
      return text_ == other.text_;
  }
  return false;
}

QString formatGeneralNumber(double value, QChar decimalSeparator) {
  // 'g' with 15 digits switches to an exponent at the same thresholds as the general format;
  // only the exponent's spelling differs ("1.5e+20" becomes "1.5E20").
  QString text = QString::number(value, 'g', 15);
  const qsizetype e = text.indexOf(QLatin1Char('e'));
  if (e >= 0) {
    QString mantissa = text.left(e);
    QString exponent = text.mid(e + 1);
    QString sign;
    if (exponent.startsWith(QLatin1Char('-'))) sign = QStringLiteral("-");
    if (exponent.startsWith(QLatin1Char('-')) || exponent.startsWith(QLatin1Char('+')))
      exponent.remove(0, 1);
    while (exponent.size() > 1 && exponent.startsWith(QLatin1Char('0'))) exponent.remove(0, 1);
    text = mantissa + QLatin1Char('E') + sign + exponent;
  }
  if (decimalSeparator != QLatin1Char('.')) text.replace(QLatin1Char('.'), decimalSeparator);
  return text;
}

QChar localeDecimalSeparator() {
  const QString point = QLocale::system().decimalPoint();
  return point.isEmpty() ? QLatin1Char('.') : point.at(0);
}

}  // namespace wf
