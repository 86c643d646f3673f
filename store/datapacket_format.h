// Byte layout of a datapacket: the constants the reader and the writer share. FORMAT.md beside
// this file describes the whole layout; each constant here carries the piece it stands for.
// All integers are little-endian, nothing is aligned or padded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "store/byte_coding.h"

namespace wf::dpformat {

// ---- Header (24 bytes) -------------------------------------------------------------------------
//  0  u32 signature        kSignature (bytes 96 19 E0 BD) or kAltSignature
//  4  u16 major version    1 (2 when a column has a logical type above 11); read: at most 3
//  6  u16 minor version    0; read: at most 3 (neither version is checked under kAltSignature)
//  8  u32 header size      24; the first column descriptor starts at this offset
// 12  u16 column count
// 14  u32 row count
// 18  u32 packet flags     kFlagHasMetadata | kFlagRowAreaOffsetValid
// 22  u16 row-area offset  offset of the first row (the file length when there are no rows)
inline constexpr uint32_t kSignature = 0xBDE01996;
inline constexpr uint32_t kAltSignature = 0x0000ABCD;
inline constexpr uint16_t kMaxVersion = 3;
inline constexpr uint32_t kHeaderSize = 24;
inline constexpr std::size_t kOffsetSignature = 0;
inline constexpr std::size_t kOffsetMajorVersion = 4;
inline constexpr std::size_t kOffsetMinorVersion = 6;
inline constexpr std::size_t kOffsetHeaderSize = 8;
inline constexpr std::size_t kOffsetColumnCount = 12;
inline constexpr std::size_t kOffsetRowCount = 14;
inline constexpr std::size_t kOffsetPacketFlags = 18;
inline constexpr std::size_t kOffsetRowAreaOffset = 22;
// Bit 0: the packet carries column descriptors and parameters (every file has it).
inline constexpr uint32_t kFlagHasMetadata = 0x1;
// Bit 1: the u16 at offset 22 is valid; set when the rows start within the first 65,535 bytes.
inline constexpr uint32_t kFlagRowAreaOffsetValid = 0x2;
inline constexpr std::size_t kMaxRowAreaOffset = 0xFFFF;

// ---- Column descriptor --------------------------------------------------------------------------
//  u8   name length L     1..31 written; a longer name read is cut to kMaxNameLength
//  L    name
//  u32  type code         see below
//  u16  attribute bits    kColumn* below
//  u16  parameter count P
//  ...  P parameters
inline constexpr std::size_t kMaxNameLength = 31;
inline constexpr uint16_t kColumnHidden = 0x1;
inline constexpr uint16_t kColumnReadOnly = 0x2;
inline constexpr uint16_t kColumnRequired = 0x4;
inline constexpr uint16_t kColumnLink = 0x8;

// ---- Parameter (column and table parameters alike) ----------------------------------------------
//  u8   name length N
//  N    name
//  u32  type code
//  ...  value: fixed (size bytes), varying (length prefix of size bytes, then that many bytes), or
//       array (u32 element count, then count elements of size bytes each)
inline constexpr std::size_t kArrayCountSize = 4;

// ---- Type code ----------------------------------------------------------------------------------
// bits 0-15   fixed value: its size in bytes; varying value: size of its length prefix (1, 2, 4)
// bits 16-21  logical type (kType* below)
// bit 22      varying: length prefix, then that many bytes
// bit 23      array of fixed-size elements (parameters only)
// bits 24-26  composite, packed array and nested-table columns; refused by the reader
// bit 31      parameters only: carry along when changes are exported; kept as read
inline constexpr uint32_t kSizeMask = 0x0000FFFF;
inline constexpr uint32_t kLogicalShift = 16;
inline constexpr uint32_t kLogicalMask = 0x3F;
inline constexpr uint32_t kVaryingBit = 0x00400000;
inline constexpr uint32_t kArrayBit = 0x00800000;
inline constexpr uint32_t kCompositeBits = 0x07000000;
inline constexpr uint32_t kExportBit = 0x80000000;

constexpr uint32_t sizeOf(uint32_t typeCode) { return typeCode & kSizeMask; }
constexpr uint32_t logicalTypeOf(uint32_t typeCode) {
  return (typeCode >> kLogicalShift) & kLogicalMask;
}
constexpr bool isVarying(uint32_t typeCode) { return (typeCode & kVaryingBit) != 0; }
constexpr bool isArray(uint32_t typeCode) { return (typeCode & kArrayBit) != 0; }

// Logical types (bits 16-21) with the sizes the reader accepts.
inline constexpr uint32_t kTypeInt = 1;       // signed integer: 1, 2, 4, 8
inline constexpr uint32_t kTypeUInt = 2;      // unsigned integer: 1, 2, 4, 8
inline constexpr uint32_t kTypeBool = 3;      // boolean: 1, 2, 4
inline constexpr uint32_t kTypeFloat = 4;     // IEEE double (8) or 80-bit extended (10, kept raw)
inline constexpr uint32_t kTypeBcd = 5;       // binary-coded decimal, any size, kept raw
inline constexpr uint32_t kTypeDate = 6;      // 4: day number, 1 January 0001 = day 1
inline constexpr uint32_t kTypeTime = 7;      // 4: milliseconds since midnight
inline constexpr uint32_t kTypeDateTime = 8;  // 8: double, milliseconds since 1 January 0001
inline constexpr uint32_t kTypeString = 9;    // varying (1- or 2-byte prefix) or fixed
inline constexpr uint32_t kTypeWideString = 10;  // varying, kept raw
inline constexpr uint32_t kTypeBytes = 11;       // varying (4-byte prefix: blob) or fixed
inline constexpr uint32_t kTypeComposite = 12;   // 12..15: composite, array, nested, reference
inline constexpr uint32_t kTypeReference = 15;
inline constexpr uint32_t kTypeBytesAlt = 16;      // read like kTypeBytes, varying
inline constexpr uint32_t kTypeDateTime16 = 17;    // 16 bytes, kept raw
inline constexpr uint32_t kTypeFixedDecimal = 18;  // any size, kept raw

// The type codes this system writes.
inline constexpr uint32_t kCodeInt32 = 0x00010004;     // auto-increment, integer
inline constexpr uint32_t kCodeInt16 = 0x00010002;     // small integer
inline constexpr uint32_t kCodeUInt16 = 0x00020002;    // WIDTH, DECIMALS, CALCULATED
inline constexpr uint32_t kCodeDouble = 0x00040008;    // currency, float
inline constexpr uint32_t kCodeDateTime = 0x00080008;  // date-time
inline constexpr uint32_t kCodeString1 = 0x00490001;   // string of width up to 253
inline constexpr uint32_t kCodeString2 = 0x00490002;   // string of width 254 or more; SUBTYPE
inline constexpr uint32_t kCodeBlob = 0x004B0004;      // blob, memo
// Widest string column that still takes a 1-byte length prefix (width + terminator <= 254).
inline constexpr uint16_t kMaxOneBytePrefixWidth = 253;

// ---- Row ----------------------------------------------------------------------------------------
//  u8   status            0 when written; change-log bits below
//  ceil(C/4) indicator bytes: column j uses byte j/4, bit 2*(j%4) null, bit 2*(j%4)+1 unchanged
//  ...  the values of the columns with both bits clear, in column order
inline constexpr uint8_t kRowEarlierVersion = 0x01;
inline constexpr uint8_t kRowDeleted = 0x02;
inline constexpr uint8_t kRowInserted = 0x04;
inline constexpr uint8_t kRowModified = 0x08;
inline constexpr uint8_t kRowFreeSlot = 0x20;
inline constexpr uint8_t kRowNotCurrent = kRowEarlierVersion | kRowDeleted | kRowFreeSlot;
inline constexpr uint8_t kIndicatorNull = 0x1;
inline constexpr uint8_t kIndicatorUnchanged = 0x2;

constexpr std::size_t indicatorBytes(std::size_t columnCount) { return (columnCount + 3) / 4; }

// A varying value other than a blob or memo may be at most this long, or as long as the largest
// storage size of a column of the packet when that is larger.
inline constexpr std::size_t kValueBufferSize = 258;

// How a column's values are laid out in a row, decided by its type code alone.
enum class ValueCoding {
  Unsupported,    // a type code the reader cannot map: the packet is refused
  SignedInt,      // 1, 2, 4, 8 bytes, two's complement
  UnsignedInt,    // 1, 2, 4, 8 bytes
  Bool,           // 1, 2, 4 bytes, not 0 is true
  Double,         // 8 bytes IEEE 754
  DateTime,       // 8 bytes IEEE 754: milliseconds since 1 January 0001
  Date,           // 4 bytes signed: day number
  Time,           // 4 bytes signed: milliseconds since midnight
  RawFixed,       // a fixed number of bytes kept as they are (80-bit float, BCD, decimals, ...)
  FixedString,    // a fixed number of bytes holding characters, ended early by a 0 byte
  VaryingString,  // 1- or 2-byte length prefix, then characters
  VaryingBytes,   // 1-, 2- (or for wide strings 4-) byte length prefix, then bytes
  Blob,           // 4-byte length prefix, then bytes; exempt from the value buffer limit
};

constexpr ValueCoding valueCodingOf(uint32_t typeCode) {
  if ((typeCode & (kArrayBit | kCompositeBits)) != 0) return ValueCoding::Unsupported;
  const uint32_t size = sizeOf(typeCode);
  const bool varying = isVarying(typeCode);
  const bool prefix12 = size == 1 || size == 2;
  const bool prefix124 = prefix12 || size == 4;
  const bool intSize = size == 1 || size == 2 || size == 4 || size == 8;
  switch (logicalTypeOf(typeCode)) {
    case kTypeInt: return !varying && intSize ? ValueCoding::SignedInt : ValueCoding::Unsupported;
    case kTypeUInt:
      return !varying && intSize ? ValueCoding::UnsignedInt : ValueCoding::Unsupported;
    case kTypeBool:
      return !varying && (size == 1 || size == 2 || size == 4) ? ValueCoding::Bool
                                                               : ValueCoding::Unsupported;
    case kTypeFloat:
      if (varying) return ValueCoding::Unsupported;
      return size == 8    ? ValueCoding::Double
             : size == 10 ? ValueCoding::RawFixed
                          : ValueCoding::Unsupported;
    case kTypeBcd:
    case kTypeFixedDecimal: return varying ? ValueCoding::Unsupported : ValueCoding::RawFixed;
    case kTypeDate: return !varying && size == 4 ? ValueCoding::Date : ValueCoding::Unsupported;
    case kTypeTime: return !varying && size == 4 ? ValueCoding::Time : ValueCoding::Unsupported;
    case kTypeDateTime:
      return !varying && size == 8 ? ValueCoding::DateTime : ValueCoding::Unsupported;
    case kTypeString:
      if (!varying) return ValueCoding::FixedString;
      return prefix12 ? ValueCoding::VaryingString : ValueCoding::Unsupported;
    case kTypeWideString:
      return varying && prefix124 ? ValueCoding::VaryingBytes : ValueCoding::Unsupported;
    case kTypeBytes:
      if (!varying) return ValueCoding::RawFixed;
      return size == 4  ? ValueCoding::Blob
             : prefix12 ? ValueCoding::VaryingBytes
                        : ValueCoding::Unsupported;
    case kTypeBytesAlt:
      if (!varying) return ValueCoding::Unsupported;
      return size == 4  ? ValueCoding::Blob
             : prefix12 ? ValueCoding::VaryingBytes
                        : ValueCoding::Unsupported;
    case kTypeDateTime16:
      return !varying && size == 16 ? ValueCoding::RawFixed : ValueCoding::Unsupported;
    default: return ValueCoding::Unsupported;
  }
}

// ---- Date-time ----------------------------------------------------------------------------------
// Stored as a double of whole milliseconds: day number (1 January 0001 = day 1) * kMsPerDay plus
// the milliseconds since midnight. 30 December 1899, day 0 in memory, is day kDayOf1899.
inline constexpr int64_t kMsPerDay = 86'400'000;
inline constexpr int64_t kDayOf1899 = 693'594;

// ---- Parameter names --------------------------------------------------------------------------
inline constexpr const char* kParamSubtype = "SUBTYPE";
inline constexpr const char* kParamWidth = "WIDTH";
inline constexpr const char* kParamDecimals = "DECIMALS";
inline constexpr const char* kParamCalculated = "CALCULATED";
inline constexpr const char* kParamAutoIncValue = "AUTOINCVALUE";
inline constexpr const char* kParamChangeLog = "CHANGE_LOG";
inline constexpr const char* kParamLcid = "LCID";
inline constexpr const char* kParamReadOnly = "READONLY";
inline constexpr const char* kParamDisableEdits = "DISABLE_EDITS";
inline constexpr const char* kParamDisableInserts = "DISABLE_INSERTS";
inline constexpr const char* kParamDisableDeletes = "DISABLE_DELETES";
inline constexpr const char* kParamDefaultOrder = "DEFAULT_ORDER";
inline constexpr const char* kParamPrimaryKey = "PRIMARY_KEY";
inline constexpr const char* kParamUniqueKey = "UNIQUE_KEY";

// Subtype texts that mark the client table's own kinds.
inline constexpr const char* kSubtypeAutoinc = "Autoinc";
inline constexpr const char* kSubtypeMoney = "Money";
inline constexpr const char* kSubtypeBinary = "Binary";
inline constexpr const char* kSubtypeText = "Text";

}  // namespace wf::dpformat
