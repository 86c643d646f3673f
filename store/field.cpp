#include "store/field.h"
#include "store/null_value.h"

#include "store/client_table.h"
#include "store/table_error.h"

namespace wf {

TField::TField(std::string fieldName, TFieldType type, int size, TFieldKind kind)
    : fieldName_(std::move(fieldName)), dataType_(type), size_(size), fieldKind_(kind) {}

TField::~TField() = default;

Value TField::read() const { return table_ != nullptr ? table_->readField(*this) : Value(); }

void TField::write(Value value) {
  if (table_ == nullptr) throw TableError("Field '" + fieldName_ + "' has no dataset");
  table_->writeField(*this, std::move(value));
}

void TField::accessError(const char* typeName) const {
  throw TableError("Cannot access field '" + fieldName_ + "' as type " + typeName);
}

bool TField::IsNull() const { return !read().hasValue(); }
BlankState TField::blankState() const { return read().blankState(); }
Value TField::value() const { return read(); }

std::string TField::AsString() const { accessError("String"); }
void TField::setAsString(const std::string&) { accessError("String"); }
std::int32_t TField::AsInteger() const { accessError("Integer"); }
void TField::setAsInteger(std::int32_t) { accessError("Integer"); }
double TField::AsFloat() const { accessError("Float"); }
void TField::setAsFloat(double) { accessError("Float"); }
double TField::AsDateTime() const { accessError("DateTime"); }
void TField::setAsDateTime(double) { accessError("DateTime"); }

void TField::Clear() { write(nullValue()); }

std::string TField::DisplayText() const { return AsString(); }
std::string TField::EditText() const { return AsString(); }

}  // namespace wf
