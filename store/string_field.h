// A text field of at most Size single-byte characters: longer text is cut without message,
// trailing spaces go when the record is stored, and an empty text is a value.
#pragma once

#include "store/field.h"

namespace wf {

class TStringField : public TField {
 public:
  TStringField(std::string fieldName, int size, TFieldKind kind = fkData);

  std::string AsString() const override;
  void setAsString(const std::string& text) override;
  std::int32_t AsInteger() const override;
  void setAsInteger(std::int32_t value) override;
  double AsFloat() const override;
  void setAsFloat(double value) override;
};

}  // namespace wf
