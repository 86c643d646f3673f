// Whole-number fields: TIntegerField (32-bit), TSmallintField (16-bit, range-checked) and
// TAutoIncField (read-only, numbered by the table when a new record is posted).
#pragma once

#include <cstdint>

#include "store/field.h"

namespace wf {

class TIntegerField : public TField {
 public:
  explicit TIntegerField(std::string fieldName, TFieldKind kind = fkData);

  std::string AsString() const override;
  // An empty text clears; other text must be a whole number in the field's range.
  void setAsString(const std::string& text) override;
  std::int32_t AsInteger() const override;
  void setAsInteger(std::int32_t value) override;
  double AsFloat() const override;
  void setAsFloat(double value) override;
  std::string DisplayText() const override;
  std::string EditText() const override;

  std::int64_t MinValue() const { return minValue_; }
  std::int64_t MaxValue() const { return maxValue_; }

 protected:
  TIntegerField(std::string fieldName, TFieldType type, std::int64_t minValue,
                std::int64_t maxValue, TFieldKind kind);

 private:
  void setChecked(std::int64_t value);

  std::int64_t minValue_;
  std::int64_t maxValue_;
};

class TSmallintField : public TIntegerField {
 public:
  explicit TSmallintField(std::string fieldName, TFieldKind kind = fkData);
};

class TAutoIncField : public TIntegerField {
 public:
  explicit TAutoIncField(std::string fieldName);
};

}  // namespace wf
