#include "reports/expression_value.h"

#include "framework/text_codec.h"
#include "store/number_text.h"

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
    case Kind::Integer: return static_cast<double>(integer_);
    case Kind::Real: return real_;
    default: return 0;
  }
}

QString ExprValue::toText() const {
  switch (kind_) {
    case Kind::Integer: return QString::number(integer_);
    case Kind::Real: return fromCodePage(formatGeneral(real_, formatSettings()));
    case Kind::Boolean: return boolean_ ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Text:
    case Kind::Error: return text_;
  }
  return QString();
}

bool ExprValue::operator==(const ExprValue& other) const {
  if (kind_ != other.kind_) return false;
  switch (kind_) {
    case Kind::Integer: return integer_ == other.integer_;
    case Kind::Real: return real_ == other.real_;
    case Kind::Boolean: return boolean_ == other.boolean_;
    case Kind::Text:
    case Kind::Error: return text_ == other.text_;
  }
  return false;
}

}  // namespace wf
