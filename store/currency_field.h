// A money field: an IEEE double shown in the locale's currency format and edited as a
// fixed-point number with the currency decimals.
#pragma once

#include "store/field.h"

namespace wf {

class TCurrencyField : public TField {
 public:
  explicit TCurrencyField(std::string fieldName, TFieldKind kind = fkData);

  // The general number form (15 significant digits).
  std::string AsString() const override;
  // An empty text clears; other text must be a number in the locale's notation.
  void setAsString(const std::string& text) override;
  std::int32_t AsInteger() const override;
  void setAsInteger(std::int32_t value) override;
  double AsFloat() const override;
  void setAsFloat(double value) override;
  std::string DisplayText() const override;
  std::string EditText() const override;
};

}  // namespace wf
