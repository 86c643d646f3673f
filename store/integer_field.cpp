#include "store/integer_field.h"

#include <cmath>
#include <cstdint>

#include "store/number_text.h"
#include "store/table_error.h"

namespace wf {

TIntegerField::TIntegerField(std::string fieldName, TFieldKind kind)
    : TIntegerField(std::move(fieldName), ftInteger, INT32_MIN, INT32_MAX, kind) {}

TIntegerField::TIntegerField(std::string fieldName, TFieldType type, std::int64_t minValue,
                             std::int64_t maxValue, TFieldKind kind)
    : TField(std::move(fieldName), type, 0, kind), minValue_(minValue), maxValue_(maxValue) {}

TSmallintField::TSmallintField(std::string fieldName, TFieldKind kind)
    : TIntegerField(std::move(fieldName), ftSmallint, INT16_MIN, INT16_MAX, kind) {}

TAutoIncField::TAutoIncField(std::string fieldName)
    : TIntegerField(std::move(fieldName), ftAutoInc, INT32_MIN, INT32_MAX, fkData) {
  setReadOnly(true);
}

std::string TIntegerField::AsString() const {
  Value v = read();
  return v.hasValue() ? std::to_string(v.toInt()) : std::string();
}

void TIntegerField::setAsString(const std::string& text) {
  if (text.empty()) {
    Clear();
    return;
  }
  std::int64_t value = 0;
  if (!parseIntegerText(text, value) || value < INT32_MIN || value > INT32_MAX)
    throw TableError("'" + text + "' is not a valid integer value for field '" + DisplayName() +
                     "'");
  setChecked(value);
}

void TIntegerField::setChecked(std::int64_t value) {
  if (value < minValue_ || value > maxValue_) {
    const FormatSettings& fs = formatSettings();
    throw TableError(formatGeneral(static_cast<double>(value), fs) +
                     " is not a valid value for field '" + DisplayName() +
                     "'. The allowed range is " +
                     formatGeneral(static_cast<double>(minValue_), fs) + " to " +
                     formatGeneral(static_cast<double>(maxValue_), fs));
  }
  write(Value::fromInt(value));
}

std::int32_t TIntegerField::AsInteger() const { return static_cast<std::int32_t>(read().toInt()); }
void TIntegerField::setAsInteger(std::int32_t value) { setChecked(value); }
double TIntegerField::AsFloat() const { return static_cast<double>(read().toInt()); }

void TIntegerField::setAsFloat(double value) {
  if (!std::isfinite(value) || std::fabs(value) > 9.0e15) {
    const FormatSettings& fs = formatSettings();
    throw TableError(formatGeneral(value, fs) + " is not a valid value for field '" +
                     DisplayName() + "'. The allowed range is " +
                     formatGeneral(static_cast<double>(minValue_), fs) + " to " +
                     formatGeneral(static_cast<double>(maxValue_), fs));
  }
  setChecked(std::llround(value));
}

std::string TIntegerField::DisplayText() const { return AsString(); }
std::string TIntegerField::EditText() const { return AsString(); }

}  // namespace wf
