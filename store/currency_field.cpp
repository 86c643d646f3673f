#include "store/currency_field.h"

#include <cmath>

#include "store/number_text.h"
#include "store/table_error.h"

namespace wf {

TCurrencyField::TCurrencyField(std::string fieldName, TFieldKind kind)
    : TField(std::move(fieldName), ftCurrency, 0, kind) {}

std::string TCurrencyField::AsString() const {
  Value v = read();
  return v.hasValue() ? formatGeneral(v.toDouble(), formatSettings()) : std::string();
}

void TCurrencyField::setAsString(const std::string& text) {
  if (text.empty()) {
    Clear();
    return;
  }
  double value = 0;
  if (!parseFloatText(text, formatSettings(), value))
    throw TableError("'" + text + "' is not a valid floating point value for field '" +
                     DisplayName() + "'");
  setAsFloat(value);
}

std::int32_t TCurrencyField::AsInteger() const {
  double v = read().toDouble();
  if (!std::isfinite(v) || std::fabs(v) > 2147483647.0) return 0;
  return static_cast<std::int32_t>(std::llround(v));
}

void TCurrencyField::setAsInteger(std::int32_t value) { setAsFloat(value); }
double TCurrencyField::AsFloat() const { return read().toDouble(); }
void TCurrencyField::setAsFloat(double value) { write(Value::fromDouble(value)); }

std::string TCurrencyField::DisplayText() const {
  Value v = read();
  return v.hasValue() ? formatCurrency(v.toDouble(), formatSettings()) : std::string();
}

std::string TCurrencyField::EditText() const {
  Value v = read();
  const FormatSettings& fs = formatSettings();
  return v.hasValue() ? formatFixed(v.toDouble(), fs.currencyDecimals, fs) : std::string();
}

}  // namespace wf
