// The byte image of one record in memory, and the one walk over it every reader shares.
//
// An image is: ceil(columns / 4) indicator bytes (two bits per column: bit 0 null, bit 1
// unassigned), then the values of the columns that have one, in column order: 2, 4 or 8 bytes
// for numbers, a 1- or 2-byte length and the characters for strings, a 4-byte length and the
// bytes for blobs and memos, and a tag byte and the value for columns of a kind the table does
// not interpret. Numbers are in the host's byte order: images never leave memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "store/datapacket.h"
#include "store/field_def.h"

namespace wf {

// A field of a record image, read without copying.
struct FieldRef {
  BlankState state = BlankState::Unassigned;
  std::int64_t integer = 0;
  double number = 0;
  std::string_view bytes;
  bool hasValue() const { return state == BlankState::HasValue; }
};

class RecordImageLayout {
 public:
  RecordImageLayout(std::vector<TFieldType> types, std::vector<int> widths);

  std::size_t columnCount() const { return types_.size(); }
  TFieldType type(std::size_t column) const { return types_[column]; }
  int width(std::size_t column) const { return widths_[column]; }

  // The image of a set of values: its size first, then written into that many bytes. Strings
  // longer than their column are cut to it.
  std::size_t encodedSize(const std::vector<ValueView>& values) const;
  void write(const std::vector<ValueView>& values, std::uint8_t* image) const;

  std::size_t imageSize(const std::uint8_t* image) const;
  FieldRef field(const std::uint8_t* image, std::size_t column) const;
  Value value(const std::uint8_t* image, std::size_t column) const;
  // Every value in one pass, viewing strings and bytes where they lie.
  void views(const std::uint8_t* image, std::vector<ValueView>& out) const;

 private:
  // Calls visit(column, blankBits, start of its value) for the first `count` columns in order
  // and returns where column `count`'s value starts. A blank column has no bytes; visit's
  // pointer is then where the next value starts.
  template <class Visit>
  const std::uint8_t* walk(const std::uint8_t* image, std::size_t count, Visit&& visit) const;
  unsigned blankBits(const std::uint8_t* image, std::size_t column) const {
    return (image[column / 4] >> (2 * (column % 4))) & 3u;
  }
  // The bytes after a value's start where the next value starts.
  const std::uint8_t* skipValue(std::size_t column, const std::uint8_t* p) const;
  void readValue(std::size_t column, const std::uint8_t* p, ValueView& out) const;
  std::size_t valueSize(std::size_t column, const ValueView& v) const;
  std::uint8_t* writeValue(std::size_t column, std::uint8_t* p, const ValueView& v) const;
  // The most characters a string column keeps: its width, within what its length prefix holds.
  std::size_t stringLimit(std::size_t column) const;

  std::vector<TFieldType> types_;
  std::vector<int> widths_;
  std::vector<std::uint8_t> lengthPrefixBytes_;  // per string column: 1 or 2
  std::size_t indicatorBytes_;
};

}  // namespace wf
