// A value produced by a report expression: a whole number, a real number, a text, a truth value
// or an error with its message.
#pragma once

#include <QString>
#include <QtGlobal>

namespace wf {

class ExprValue {
 public:
  enum class Kind { Integer, Real, Text, Boolean, Error };

  ExprValue() = default;
  static ExprValue integer(qint64 value);
  static ExprValue real(double value);
  static ExprValue text(const QString& value);
  static ExprValue boolean(bool value);
  static ExprValue error(const QString& message);

  Kind kind() const { return kind_; }
  bool isNumber() const { return kind_ == Kind::Integer || kind_ == Kind::Real; }
  qint64 asInteger() const { return integer_; }
  // The numeric value of an integer or a real; 0 otherwise.
  double asReal() const;
  bool asBoolean() const { return boolean_; }
  // The text of a text value or the message of an error.
  const QString& asString() const { return text_; }

  // The printed form: digits for whole numbers, the general number format of the locale
  // (15 significant digits, its decimal separator) for reals, "True"/"False", an error's
  // message.
  QString toText() const;

  bool operator==(const ExprValue& other) const;

 private:
  Kind kind_ = Kind::Integer;
  qint64 integer_ = 0;
  double real_ = 0;
  bool boolean_ = false;
  QString text_;
};

}  // namespace wf
