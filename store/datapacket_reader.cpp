#include "store/datapacket_reader.h"

#include "store/datapacket_format.h"
#include "store/date_time.h"

#include <strings.h>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace wf {

namespace fmt = dpformat;

namespace {

std::string hex32(uint32_t v) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", v);
  return buffer;
}

bool sameName(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// Reads little-endian items from the packet, refusing any read that would pass its end.
class Cursor {
 public:
  explicit Cursor(std::span<const uint8_t> data) : data_(data) {}

  std::size_t offset() const { return pos_; }
  std::size_t remaining() const { return data_.size() - pos_; }

  void need(std::size_t count, const char* what) const {
    if (count > remaining())
      throw DataPacketError(std::string(what) + " runs past the end of the packet (needs " +
                                std::to_string(count) + " bytes, " + std::to_string(remaining()) +
                                " left)",
                            pos_, DataPacketError::Kind::EndsEarly);
  }
  const uint8_t* take(std::size_t count, const char* what) {
    need(count, what);
    const uint8_t* p = data_.data() + pos_;
    pos_ += count;
    return p;
  }
  uint64_t unsignedLE(std::size_t size, const char* what) {
    return coding::decodeVariable(take(size, what), size);
  }
  uint8_t u8(const char* what) { return *take(1, what); }
  uint16_t u16(const char* what) { return static_cast<uint16_t>(unsignedLE(2, what)); }
  uint32_t u32(const char* what) { return static_cast<uint32_t>(unsignedLE(4, what)); }

 private:
  std::span<const uint8_t> data_;
  std::size_t pos_ = 0;
};

int64_t signExtend(uint64_t v, std::size_t size) {
  if (size >= 8) return static_cast<int64_t>(v);
  const unsigned shift = 64 - unsigned(size) * 8;
  return static_cast<int64_t>(v << shift) >> shift;
}

// A text up to its first 0 byte.
std::string textUntilZero(const uint8_t* p, std::size_t size) {
  const void* zero = size ? std::memchr(p, 0, size) : nullptr;
  const std::size_t length = zero ? std::size_t(static_cast<const uint8_t*>(zero) - p) : size;
  return std::string(reinterpret_cast<const char*>(p), length);
}

constexpr std::array<const char*, 18> kKnownSubtypes = {
    "Autoinc",   "Money",          "Binary",      "Text",      "Formatted", "Ole",
    "Graphics",  "dBASEOle",       "TypedBinary", "AccessOle", "HMemo",     "HBinary",
    "FixedChar", "ADTNestedTable", "Reference",   "BFile",     "ADTDate",   "Guid"};

const char* knownSubtype(const std::string& text) {
  for (const char* known : kKnownSubtypes)
    if (sameName(text, known)) return known;
  return nullptr;
}

Parameter readParameter(Cursor& in) {
  Parameter p;
  const uint8_t nameLength = in.u8("parameter name length");
  const uint8_t* name = in.take(nameLength, "parameter name");
  p.name.assign(reinterpret_cast<const char*>(name), nameLength);
  const std::size_t codeOffset = in.offset();
  p.typeCode = in.u32("parameter type code");
  const uint32_t size = fmt::sizeOf(p.typeCode);
  std::size_t length = size;
  if (fmt::isVarying(p.typeCode) && fmt::isArray(p.typeCode))
    throw DataPacketError("parameter '" + p.name + "' has type code " + hex32(p.typeCode) +
                              " that is both varying and an array",
                          codeOffset);
  if (fmt::isVarying(p.typeCode)) {
    if (size != 1 && size != 2 && size != 4)
      throw DataPacketError(
          "parameter '" + p.name + "' has a length prefix of " + std::to_string(size) + " bytes",
          codeOffset);
    length = in.unsignedLE(size, "parameter value length");
  } else if (fmt::isArray(p.typeCode)) {
    const uint64_t count = in.u32("parameter element count");
    length = static_cast<std::size_t>(count * size);  // at most 2^48: no overflow
  }
  const uint8_t* value = in.take(length, "parameter value");
  p.value.assign(value, value + length);
  return p;
}

// The value of a numeric parameter such as WIDTH, or empty when it is not a fixed integer.
std::optional<int64_t> parameterNumber(const Parameter& p) {
  if (fmt::isVarying(p.typeCode) || fmt::isArray(p.typeCode)) return std::nullopt;
  const uint32_t logical = fmt::logicalTypeOf(p.typeCode);
  if (logical != fmt::kTypeInt && logical != fmt::kTypeUInt && logical != fmt::kTypeBool)
    return std::nullopt;
  if (p.value.empty() || p.value.size() > 8) return std::nullopt;
  const uint64_t raw = coding::decodeVariable(p.value.data(), p.value.size());
  return logical == fmt::kTypeInt ? signExtend(raw, p.value.size()) : static_cast<int64_t>(raw);
}

void applyColumnParameter(Column& column, Parameter p) {
  if (sameName(p.name, fmt::kParamSubtype) && !fmt::isArray(p.typeCode)) {
    if (const char* known = knownSubtype(textUntilZero(p.value.data(), p.value.size()))) {
      column.subtype = known;
      return;
    }
  } else if (std::optional<int64_t> n = parameterNumber(p)) {
    const auto as16 = static_cast<uint16_t>(std::clamp<int64_t>(*n, 0, 0xFFFF));
    if (sameName(p.name, fmt::kParamWidth)) {
      column.width = as16;
      return;
    }
    if (sameName(p.name, fmt::kParamDecimals)) {
      column.decimals = as16;
      return;
    }
    if (sameName(p.name, fmt::kParamCalculated)) {
      column.calculated = *n != 0;
      return;
    }
  }
  column.otherParameters.push_back(std::move(p));
}

Column readColumn(Cursor& in, std::size_t index) {
  Column column;
  const uint8_t nameLength = in.u8("column name length");
  const uint8_t* name = in.take(nameLength, "column name");
  column.name.assign(reinterpret_cast<const char*>(name),
                     std::min<std::size_t>(nameLength, fmt::kMaxNameLength));
  const std::size_t codeOffset = in.offset();
  column.typeCode = in.u32("column type code");
  if (fmt::valueCodingOf(column.typeCode) == fmt::ValueCoding::Unsupported)
    throw DataPacketError("column " + std::to_string(index) + " ('" + column.name +
                              "') has type code " + hex32(column.typeCode) + " that cannot be read",
                          codeOffset);
  column.attributes = in.u16("column attributes");
  const uint16_t parameterCount = in.u16("column parameter count");
  for (uint16_t i = 0; i < parameterCount; ++i) applyColumnParameter(column, readParameter(in));
  if (column.subtype == fmt::kSubtypeAutoinc) column.attributes |= fmt::kColumnReadOnly;
  return column;
}

void applyTableParameter(DataPacket& packet, Parameter p, std::size_t offset) {
  if (sameName(p.name, fmt::kParamAutoIncValue)) {
    std::optional<int64_t> n = parameterNumber(p);
    if (!n)
      throw DataPacketError("AUTOINCVALUE has type code " + hex32(p.typeCode) + ", not an integer",
                            offset);
    packet.autoIncValue = static_cast<int32_t>(*n);
  } else if (sameName(p.name, fmt::kParamChangeLog)) {
    packet.hadChangeLog = true;
  } else {
    packet.otherParameters.push_back(std::move(p));
  }
}

// Everything needed to read one column's values, worked out once per packet.
struct ColumnReader {
  fmt::ValueCoding coding;
  uint32_t size;      // fixed size, or the size of the length prefix
  std::size_t width;  // strings are cut here; 0 = no cut
};

class RowReader {
 public:
  explicit RowReader(const std::vector<Column>& columns) {
    limit_ = valueBufferLimit(columns);
    for (const Column& c : columns)
      readers_.push_back({fmt::valueCodingOf(c.typeCode), fmt::sizeOf(c.typeCode), c.width});
  }

  // Reads one row into `row`, reusing what it holds: a string value keeps its capacity from row
  // to row, so a stream of rows decodes without allocating per value.
  void readInto(Cursor& in, Row& row) const {
    row.status = in.u8("row status");
    const std::size_t indicatorCount = fmt::indicatorBytes(readers_.size());
    const uint8_t* indicators = in.take(indicatorCount, "row indicator bytes");
    row.values.resize(readers_.size());
    for (std::size_t j = 0; j < readers_.size(); ++j) {
      const uint8_t bits = uint8_t(indicators[j / 4] >> (2 * (j % 4)));
      Value& v = row.values[j];
      if (bits & fmt::kIndicatorNull) {
        if (v.blankState() != BlankState::Null) v.setNull();
      } else if (bits & fmt::kIndicatorUnchanged) {
        if (v.blankState() != BlankState::Unassigned) v.setUnassigned();
      } else {
        readValue(in, readers_[j], v);
      }
    }
  }

  std::size_t minimumRowSize() const { return 1 + fmt::indicatorBytes(readers_.size()); }

 private:
  void readValue(Cursor& in, const ColumnReader& r, Value& v) const {
    using fmt::ValueCoding;
    const std::size_t start = in.offset();
    switch (r.coding) {
      case ValueCoding::SignedInt:
        v.setInt(signExtend(in.unsignedLE(r.size, "integer value"), r.size));
        return;
      case ValueCoding::UnsignedInt:
        v.setInt(static_cast<int64_t>(in.unsignedLE(r.size, "integer value")));
        return;
      case ValueCoding::Date:
      case ValueCoding::Time:
        v.setInt(signExtend(in.unsignedLE(4, "date or time value"), 4));
        return;
      case ValueCoding::Bool: v.setBool(in.unsignedLE(r.size, "boolean value") != 0); return;
      case ValueCoding::Double: v.setDouble(readDouble(in, "floating-point value")); return;
      case ValueCoding::DateTime: {
        const std::optional<double> days = storedMsToDateTime(readDouble(in, "date-time value"));
        if (!days) throw DataPacketError("date-time value out of range", start);
        v.setDouble(*days);
        return;
      }
      case ValueCoding::RawFixed:
        assignBytes(v, in.take(r.size, "fixed-size value"), r.size);
        return;
      case ValueCoding::FixedString:
        assignString(v, in.take(r.size, "string value"), r.size, r);
        return;
      case ValueCoding::VaryingString: {
        const std::size_t length = readLength(in, r, "string value");
        assignString(v, in.take(length, "string value"), length, r);
        return;
      }
      case ValueCoding::VaryingBytes: {
        const std::size_t length = readLength(in, r, "bytes value");
        assignBytes(v, in.take(length, "bytes value"), length);
        return;
      }
      case ValueCoding::Blob: {
        const std::size_t length = in.u32("blob length");
        assignBytes(v, in.take(length, "blob value"), length);
        return;
      }
      case ValueCoding::Unsupported: break;
    }
    throw DataPacketError("value of an unreadable column", start);
  }

  static void assignBytes(Value& v, const uint8_t* p, std::size_t size) {
    v.mutableBytes().assign(reinterpret_cast<const char*>(p), size);
  }

  static double readDouble(Cursor& in, const char* what) {
    const uint8_t* p = in.take(8, what);
    return coding::decodeAs<double>(p);
  }

  std::size_t readLength(Cursor& in, const ColumnReader& r, const char* what) const {
    const std::size_t start = in.offset();
    const std::size_t length = in.unsignedLE(r.size, what);
    if (length > limit_)
      throw DataPacketError(std::string(what) + " of " + std::to_string(length) +
                                " bytes is longer than the value buffer of " +
                                std::to_string(limit_),
                            start);
    return length;
  }

  // A string ends at its first 0 byte and holds at most its column's width.
  static void assignString(Value& v, const uint8_t* p, std::size_t size, const ColumnReader& r) {
    std::size_t length = size;
    if (const void* zero = size ? std::memchr(p, 0, size) : nullptr)
      length = std::size_t(static_cast<const uint8_t*>(zero) - p);
    if (r.width != 0 && length > r.width) length = r.width;
    assignBytes(v, p, length);
  }

  std::vector<ColumnReader> readers_;
  std::size_t limit_ = fmt::kValueBufferSize;
};

void readHeader(Cursor& in, DataPacket& packet) {
  in.need(fmt::kHeaderSize, "header");
  packet.signature = in.u32("signature");
  if (packet.signature != fmt::kSignature && packet.signature != fmt::kAltSignature)
    throw DataPacketError("signature " + hex32(packet.signature) + " is not a datapacket's", 0,
                          DataPacketError::Kind::NotAPacket);
  packet.majorVersion = in.u16("major version");
  packet.minorVersion = in.u16("minor version");
  if (packet.signature == fmt::kSignature) {
    if (packet.majorVersion > fmt::kMaxVersion)
      throw DataPacketError("major version " + std::to_string(packet.majorVersion) + " is above 3",
                            fmt::kOffsetMajorVersion);
    if (packet.minorVersion > fmt::kMaxVersion)
      throw DataPacketError("minor version " + std::to_string(packet.minorVersion) + " is above 3",
                            fmt::kOffsetMinorVersion);
  }
  packet.headerSize = in.u32("header size");
}

}  // namespace

std::size_t valueBufferLimit(std::span<const Column> columns) {
  std::size_t limit = fmt::kValueBufferSize;
  for (const Column& c : columns) {
    const uint32_t size = fmt::sizeOf(c.typeCode);
    std::size_t storage = 0;
    switch (fmt::valueCodingOf(c.typeCode)) {
      case fmt::ValueCoding::Blob:
      case fmt::ValueCoding::Unsupported: break;
      case fmt::ValueCoding::VaryingString:
      case fmt::ValueCoding::VaryingBytes:
        storage = size + std::size_t(c.width) *
                             (fmt::logicalTypeOf(c.typeCode) == fmt::kTypeWideString ? 2 : 1);
        break;
      default: storage = size; break;
    }
    limit = std::max(limit, storage);
  }
  return limit;
}

namespace {

// Reads everything before the rows into `packet`; returns the row count and leaves `in` at the
// first row.
uint32_t readMetadata(Cursor& in, std::size_t size, DataPacket& packet) {
  readHeader(in, packet);
  const uint16_t columnCount = in.u16("column count");
  const uint32_t rowCount = in.u32("row count");
  packet.packetFlags = in.u32("packet flags");
  packet.rowAreaOffset = in.u16("row-area offset");
  if (!(packet.packetFlags & fmt::kFlagHasMetadata))
    throw DataPacketError(
        "packet carries no column descriptors (flags " + hex32(packet.packetFlags) + ")",
        fmt::kOffsetPacketFlags);
  if (packet.headerSize < fmt::kHeaderSize)
    throw DataPacketError("header size " + std::to_string(packet.headerSize) + " is below 24",
                          fmt::kOffsetHeaderSize);
  if (packet.headerSize > size)
    throw DataPacketError(
        "header size " + std::to_string(packet.headerSize) + " runs past the end of the packet",
        fmt::kOffsetHeaderSize, DataPacketError::Kind::EndsEarly);
  in.take(packet.headerSize - fmt::kHeaderSize, "header");

  packet.columns.reserve(std::min<std::size_t>(columnCount, in.remaining() / 9));
  for (uint16_t i = 0; i < columnCount; ++i) packet.columns.push_back(readColumn(in, i));

  const uint16_t parameterCount = in.u16("table parameter count");
  for (uint16_t i = 0; i < parameterCount; ++i) {
    const std::size_t offset = in.offset();
    applyTableParameter(packet, readParameter(in), offset);
  }
  return rowCount;
}

void checkRowCount(const Cursor& in, uint32_t rowCount, const RowReader& rows) {
  if (uint64_t(rowCount) * rows.minimumRowSize() > in.remaining())
    throw DataPacketError(
        "row count " + std::to_string(rowCount) + " runs past the end of the packet", in.offset(),
        DataPacketError::Kind::EndsEarly);
}

}  // namespace

DataPacket decodeDataPacket(std::span<const uint8_t> bytes) {
  DataPacket packet;
  Cursor in(bytes);
  const uint32_t rowCount = readMetadata(in, bytes.size(), packet);
  const RowReader rowReader(packet.columns);
  try {
    checkRowCount(in, rowCount, rowReader);
    packet.rows.resize(rowCount);
    for (Row& row : packet.rows) rowReader.readInto(in, row);
  } catch (DataPacketError& damage) {
    damage.setInRecords();
    throw;
  }
  return packet;
}

DataPacket decodeDataPacket(std::span<const uint8_t> bytes,
                            const std::function<void(const Row&)>& onRow) {
  DataPacket packet;
  Cursor in(bytes);
  const uint32_t rowCount = readMetadata(in, bytes.size(), packet);
  const RowReader rowReader(packet.columns);
  Row row;
  try {
    checkRowCount(in, rowCount, rowReader);
    for (uint32_t i = 0; i < rowCount; ++i) {
      rowReader.readInto(in, row);
      onRow(row);
    }
  } catch (DataPacketError& damage) {
    damage.setInRecords();
    throw;
  }
  return packet;
}

std::string damageDescription(const DataPacketError& damage) {
  switch (damage.kind()) {
    case DataPacketError::Kind::NotAPacket: return "it does not begin as a table file does";
    case DataPacketError::Kind::EndsEarly:
      return damage.inRecords() ? "it ends inside a record"
                                : "it ends inside the description of its columns";
    case DataPacketError::Kind::Malformed: break;
  }
  return damage.inRecords() ? "a record in it cannot be read"
                            : "the description of its columns cannot be read";
}

}  // namespace wf
