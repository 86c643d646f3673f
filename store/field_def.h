// Column definitions of a client table: the field types, the stored field and index
// definitions from which a table is created empty, and the framework's names of the types.
#pragma once

#include <cstdint>
#include <string>

namespace wf {

enum TFieldType : std::uint8_t {
  ftUnknown,
  ftString,    // text of at most Size single-byte characters
  ftSmallint,  // signed 16-bit
  ftInteger,   // signed 32-bit
  ftAutoInc,   // signed 32-bit numbered by the table
  ftFloat,     // IEEE double (only met in foreign files)
  ftCurrency,  // IEEE double holding money
  ftDateTime,  // IEEE double, days since 30 December 1899
  ftBlob,      // bytes of any length
  ftMemo,      // text of any length
};

enum TFieldKind : std::uint8_t { fkData, fkCalculated };

// Attribute bits of a field definition (and of a column in a table file).
inline constexpr std::uint16_t faHiddenCol = 1;
inline constexpr std::uint16_t faReadonly = 2;
inline constexpr std::uint16_t faRequired = 4;
inline constexpr std::uint16_t faLink = 8;

// Longest field name a table accepts.
inline constexpr int kMaxFieldNameLength = 31;

struct FieldDef {
  std::string name;
  TFieldType type = ftUnknown;
  int size = 0;  // width of a string field, 0 for the others
  std::uint16_t attributes = 0;
};

struct IndexDef {
  std::string name;
  std::string fields;  // ";"-separated field names, may be empty
  int options = 0;
};

// The framework's name of a field type ("String", "Integer", "AutoInc", ...), as used in
// "Type mismatch" messages.
const char* fieldTypeName(TFieldType type);

// Whether values of the type are held as a double, an integer or bytes.
bool isIntegerType(TFieldType type);
bool isFloatType(TFieldType type);
bool isBytesType(TFieldType type);

}  // namespace wf
