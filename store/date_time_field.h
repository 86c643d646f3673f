// A date-time field: days since 30 December 1899 with the time as fraction, shown through its
// DisplayFormat ("ddddd" is the locale's short date) or, without one, as short date and time.
#pragma once

#include "store/field.h"

namespace wf {

class TDateTimeField : public TField {
 public:
  explicit TDateTimeField(std::string fieldName, TFieldKind kind = fkData);

  std::string AsString() const override;
  // An empty text clears; other text is read as a date in the short date order.
  void setAsString(const std::string& text) override;
  double AsFloat() const override;
  void setAsFloat(double value) override;
  double AsDateTime() const override;
  void setAsDateTime(double value) override;
  std::string DisplayText() const override;
  std::string EditText() const override;
};

}  // namespace wf
