// Byte fields: TBlobField (any bytes, pictures here) and TMemoField (text of any length).
// An empty byte sequence is stored as null.
#pragma once

#include <iosfwd>
#include <string>

#include "store/field.h"

namespace wf {

class TBlobField : public TField {
 public:
  explicit TBlobField(std::string fieldName);

  // The bytes (empty when the field has no value).
  std::string AsString() const override;
  void setAsString(const std::string& bytes) override;
  std::string DisplayText() const override;
  std::string EditText() const override;

  // Replace the content with the bytes of a file or stream; 0 bytes make the field null.
  // A file that cannot be read fails with "Cannot open file %s".
  void LoadFromFile(const std::string& path);
  void LoadFromStream(std::istream& stream);
  // Writes the bytes (nothing for no value).
  void SaveToStream(std::ostream& stream) const;

 protected:
  TBlobField(std::string fieldName, TFieldType type);
};

class TMemoField : public TBlobField {
 public:
  explicit TMemoField(std::string fieldName);

  std::string DisplayText() const override;
  std::string EditText() const override;
};

}  // namespace wf
