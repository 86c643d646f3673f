#include "store/blob_field.h"

#include <fstream>
#include <istream>
#include <iterator>
#include <ostream>
#include <sstream>

#include "store/table_error.h"

namespace wf {

TBlobField::TBlobField(std::string fieldName) : TBlobField(std::move(fieldName), ftBlob) {}
TBlobField::TBlobField(std::string fieldName, TFieldType type)
    : TField(std::move(fieldName), type, 0, fkData) {}
TMemoField::TMemoField(std::string fieldName) : TBlobField(std::move(fieldName), ftMemo) {}

std::string TBlobField::AsString() const { return read().bytes(); }

void TBlobField::setAsString(const std::string& bytes) {
  if (bytes.empty())
    Clear();
  else
    write(Value::fromBytes(bytes));
}

std::string TBlobField::DisplayText() const { return std::string(); }
std::string TBlobField::EditText() const { return std::string(); }
std::string TMemoField::DisplayText() const { return AsString(); }
std::string TMemoField::EditText() const { return AsString(); }

void TBlobField::LoadFromFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw TableError("Cannot open file " + path);
  LoadFromStream(file);
}

void TBlobField::LoadFromStream(std::istream& stream) {
  std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  setAsString(bytes);
}

void TBlobField::SaveToStream(std::ostream& stream) const {
  std::string bytes = AsString();
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace wf
