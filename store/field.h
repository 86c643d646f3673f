// A field object: one named column (or one calculated value) of a client table. It reads and
// writes the table's active record: the edit buffer in edit and insert state, the current
// record in browse state, or the record being calculated inside OnCalcFields.
//
// Field objects are owned by their table (TClientTable::addField) and live as long as it.
// Setting a value goes through the table, which checks the state, stores the value into the
// buffer, recomputes the calculated fields and tells the data sources (fieldChanged).
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "store/datapacket.h"
#include "store/field_def.h"

namespace wf {

class TClientTable;

class TField {
 public:
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;
  virtual ~TField();

  const std::string& FieldName() const { return fieldName_; }
  // The name shown in messages; this system never sets a separate label.
  const std::string& DisplayName() const { return fieldName_; }
  TFieldType DataType() const { return dataType_; }
  int Size() const { return size_; }
  TFieldKind FieldKind() const { return fieldKind_; }
  TClientTable* DataSet() const { return table_; }
  // 1-based column of the bound table, 0 while unbound or for a calculated field.
  int FieldNo() const { return column_ + 1; }

  bool ReadOnly() const { return readOnly_; }
  void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
  const std::string& DefaultExpression() const { return defaultExpression_; }
  void setDefaultExpression(std::string expression) { defaultExpression_ = std::move(expression); }
  const std::string& DisplayFormat() const { return displayFormat_; }
  void setDisplayFormat(std::string format) { displayFormat_ = std::move(format); }

  // Null and unassigned both count as "no value".
  bool IsNull() const;
  BlankState blankState() const;
  Value value() const;

  // Reading gives the value of the active record; a field without value reads as 0 or "".
  // Setting needs edit or insert state (or a running OnCalcFields for calculated fields).
  virtual std::string AsString() const;
  virtual void setAsString(const std::string& text);
  virtual std::int32_t AsInteger() const;
  virtual void setAsInteger(std::int32_t value);
  virtual double AsFloat() const;
  virtual void setAsFloat(double value);
  double AsCurrency() const { return AsFloat(); }
  void setAsCurrency(double value) { setAsFloat(value); }
  virtual double AsDateTime() const;
  virtual void setAsDateTime(double value);
  // Clears the value: the field becomes null.
  void Clear();

  // The text grids and reports show (display format, currency format), and the text a data
  // edit shows while it is being edited. setText is what an edit writes back.
  virtual std::string DisplayText() const;
  virtual std::string EditText() const;
  void setText(const std::string& text) { setAsString(text); }

 protected:
  TField(std::string fieldName, TFieldType type, int size, TFieldKind kind);

  // The active record's value of this field.
  Value read() const;
  // Stores a value through the table (state, read-only and column-width checks).
  void write(Value value);
  [[noreturn]] void accessError(const char* typeName) const;

 private:
  friend class TClientTable;

  std::string fieldName_;
  TFieldType dataType_;
  int size_;
  TFieldKind fieldKind_;
  bool readOnly_ = false;
  std::string defaultExpression_;
  std::string displayFormat_;
  TClientTable* table_ = nullptr;
  int column_ = -1;     // bound column while the table is open
  int calcIndex_ = -1;  // slot of a calculated field
};

}  // namespace wf
