#include "store/date_time_field.h"

#include "store/date_text.h"
#include "store/table_error.h"

namespace wf {

TDateTimeField::TDateTimeField(std::string fieldName, TFieldKind kind)
    : TField(std::move(fieldName), ftDateTime, 0, kind) {}

std::string TDateTimeField::AsString() const {
  Value v = read();
  return v.hasValue() ? formatDateTime(std::string(), v.toDouble(), formatSettings())
                      : std::string();
}

void TDateTimeField::setAsString(const std::string& text) {
  if (text.empty()) {
    Clear();
    return;
  }
  double value = 0;
  if (!parseDateTimeText(text, formatSettings(), value))
    throw TableError("'" + text + "' is not a valid date and time");
  setAsDateTime(value);
}

double TDateTimeField::AsFloat() const { return read().toDouble(); }
void TDateTimeField::setAsFloat(double value) { setAsDateTime(value); }
double TDateTimeField::AsDateTime() const { return read().toDouble(); }
void TDateTimeField::setAsDateTime(double value) { write(Value::fromDouble(value)); }

std::string TDateTimeField::DisplayText() const {
  Value v = read();
  return v.hasValue() ? formatDateTime(DisplayFormat(), v.toDouble(), formatSettings())
                      : std::string();
}

std::string TDateTimeField::EditText() const { return AsString(); }

}  // namespace wf
