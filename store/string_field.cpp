#include "store/string_field.h"

#include <cmath>

#include "store/number_text.h"
#include "store/table_error.h"

namespace wf {

TStringField::TStringField(std::string fieldName, int size, TFieldKind kind)
    : TField(std::move(fieldName), ftString, size, kind) {}

std::string TStringField::AsString() const { return read().bytes(); }

void TStringField::setAsString(const std::string& text) {
  std::size_t limit = Size() > 0 ? static_cast<std::size_t>(Size()) : text.size();
  write(Value::fromBytes(text.substr(0, limit)));
}

std::int32_t TStringField::AsInteger() const {
  std::string text = AsString();
  std::int64_t value = 0;
  if (!parseIntegerText(text, value) || value < INT32_MIN || value > INT32_MAX)
    throw TableError("'" + text + "' is not a valid integer value");
  return static_cast<std::int32_t>(value);
}

void TStringField::setAsInteger(std::int32_t value) { setAsString(std::to_string(value)); }

double TStringField::AsFloat() const {
  std::string text = AsString();
  double value = 0;
  if (!parseFloatText(text, formatSettings(), value))
    throw TableError("'" + text + "' is not a valid floating point value");
  return value;
}

void TStringField::setAsFloat(double value) { setAsString(formatGeneral(value, formatSettings())); }

}  // namespace wf
