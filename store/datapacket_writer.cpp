#include "store/datapacket_writer.h"

#include "store/datapacket_format.h"
#include "store/date_time.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace wf {

namespace fmt = dpformat;

namespace {

bool sameName(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// Appends little-endian items to a buffer sized in advance by encodedSizeBound(); it still grows
// if the bound ever falls short, so the bound only decides speed, never safety.
class Output {
public:
  explicit Output(std::size_t capacity) : bytes_(capacity) {}

  std::size_t offset() const { return pos_; }
  void u8(uint8_t v) { *reserve(1) = v; }
  void unsignedLE(uint64_t v, std::size_t size) { fmt::storeLE(reserve(size), v, size); }
  void u16(uint16_t v) { unsignedLE(v, 2); }
  void u32(uint32_t v) { unsignedLE(v, 4); }
  void raw(const void* p, std::size_t n) {
    uint8_t* dst = reserve(n);
    if (n) std::memcpy(dst, p, n);
  }
  void zeros(std::size_t n) {
    uint8_t* dst = reserve(n);
    if (n) std::memset(dst, 0, n);
  }
  // Only for bytes already written.
  void orByte(std::size_t offset, uint8_t bits) { bytes_[offset] |= bits; }
  void patchU16(std::size_t offset, uint16_t v) {
    bytes_[offset] = uint8_t(v);
    bytes_[offset + 1] = uint8_t(v >> 8);
  }
  void patchU32(std::size_t offset, uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) bytes_[offset + i] = uint8_t(v >> (8 * i));
  }
  std::vector<uint8_t> finish() {
    bytes_.resize(pos_);
    return std::move(bytes_);
  }

private:
  uint8_t* reserve(std::size_t n) {
    if (bytes_.size() - pos_ < n) bytes_.resize(std::max(bytes_.size() * 2, pos_ + n));
    uint8_t* p = bytes_.data() + pos_;
    pos_ += n;
    return p;
  }

  std::vector<uint8_t> bytes_;
  std::size_t pos_ = 0;
};

std::size_t nameLength(const std::string& name, std::size_t max) { return std::min(name.size(), max); }

std::size_t parameterSize(const Parameter& p) {
  std::size_t framing = 0;
  if (fmt::isVarying(p.typeCode)) framing = fmt::sizeOf(p.typeCode);
  else if (fmt::isArray(p.typeCode)) framing = fmt::kArrayCountSize;
  return 1 + nameLength(p.name, 255) + 4 + framing + std::max<std::size_t>(p.value.size(), fmt::sizeOf(p.typeCode));
}

// Descriptor, SUBTYPE (name, code, length, text, 0 byte) and three numbers of at most 17 bytes.
std::size_t columnSizeBound(const Column& c) {
  std::size_t size = 1 + fmt::kMaxNameLength + 4 + 2 + 2 + 3 * 17 + (1 + 7 + 4 + 2 + c.subtype.size() + 1);
  for (const Parameter& p : c.otherParameters) size += parameterSize(p);
  return size;
}

void writeParameterHead(Output& out, const std::string& name, uint32_t typeCode) {
  const std::size_t length = nameLength(name, 255);
  out.u8(uint8_t(length));
  out.raw(name.data(), length);
  out.u32(typeCode);
}

void writeNumberParameter(Output& out, const char* name, uint32_t typeCode, uint64_t value) {
  writeParameterHead(out, name, typeCode);
  out.unsignedLE(value, fmt::sizeOf(typeCode));
}

void writeParameter(Output& out, const Parameter& p) {
  writeParameterHead(out, p.name, p.typeCode);
  const uint32_t size = fmt::sizeOf(p.typeCode);
  if (fmt::isVarying(p.typeCode)) {
    if (size != 1 && size != 2 && size != 4)
      throw DataPacketError("parameter '" + p.name + "' has a length prefix of " + std::to_string(size) + " bytes",
                            out.offset());
    if (size < 8 && p.value.size() >> (8 * size))
      throw DataPacketError("parameter '" + p.name + "' is too long for its length prefix", out.offset());
    out.unsignedLE(p.value.size(), size);
  } else if (fmt::isArray(p.typeCode)) {
    const std::size_t count = size ? p.value.size() / size : 0;
    if (count * size != p.value.size() || count > 0xFFFFFFFFu)
      throw DataPacketError("array parameter '" + p.name + "' does not hold whole elements", out.offset());
    out.u32(uint32_t(count));
  } else if (p.value.size() != size) {
    throw DataPacketError("parameter '" + p.name + "' holds " + std::to_string(p.value.size()) +
                              " bytes, its type code says " + std::to_string(size),
                          out.offset());
  }
  out.raw(p.value.data(), p.value.size());
}

void writeColumn(Output& out, const Column& c) {
  const std::size_t length = nameLength(c.name, fmt::kMaxNameLength);
  out.u8(uint8_t(length));
  out.raw(c.name.data(), length);
  out.u32(c.typeCode);
  out.u16(c.attributes);
  const std::size_t countOffset = out.offset();
  out.u16(0);
  uint16_t count = 0;
  if (!c.subtype.empty()) {
    // The text with one terminating 0 byte; the length counts that byte.
    writeParameterHead(out, fmt::kParamSubtype, fmt::kCodeString2);
    out.u16(uint16_t(c.subtype.size() + 1));
    out.raw(c.subtype.data(), c.subtype.size());
    out.u8(0);
    ++count;
  }
  if (c.decimals != 0 && (c.typeCode & (fmt::kArrayBit | fmt::kCompositeBits)) == 0) {
    writeNumberParameter(out, fmt::kParamDecimals, fmt::kCodeUInt16, c.decimals);
    ++count;
  }
  if (c.width != 0) {
    writeNumberParameter(out, fmt::kParamWidth, fmt::kCodeUInt16, c.width);
    ++count;
  }
  if (c.calculated) {
    writeNumberParameter(out, fmt::kParamCalculated, fmt::kCodeUInt16, 1);
    ++count;
  }
  for (const Parameter& p : c.otherParameters) {
    writeParameter(out, p);
    ++count;
  }
  out.patchU16(countOffset, count);
}

bool isOrderParameter(const Parameter& p) {
  return sameName(p.name, fmt::kParamDefaultOrder) || sameName(p.name, fmt::kParamPrimaryKey) ||
         sameName(p.name, fmt::kParamUniqueKey);
}

void writeTableParameters(Output& out, const DataPacket& packet) {
  const std::size_t countOffset = out.offset();
  out.u16(0);
  uint16_t count = 0;
  for (const Parameter& p : packet.otherParameters)
    if (isOrderParameter(p)) {
      writeParameter(out, p);
      ++count;
    }
  if (packet.autoIncColumn()) {
    writeNumberParameter(out, fmt::kParamAutoIncValue, fmt::kCodeInt32,
                         uint32_t(packet.autoIncValue.value_or(1)));
    ++count;
  }
  for (const Parameter& p : packet.otherParameters)
    if (!isOrderParameter(p)) {
      writeParameter(out, p);
      ++count;
    }
  out.patchU16(countOffset, count);
}

// The part of a string value that goes into the file: up to its first 0 byte, at most `width`
// characters, without trailing spaces.
std::string_view storedText(const std::string& s, std::size_t width) {
  std::size_t length = s.size();
  if (const void* zero = length ? std::memchr(s.data(), 0, length) : nullptr)
    length = std::size_t(static_cast<const char*>(zero) - s.data());
  if (width != 0 && length > width) length = width;
  while (length > 0 && s[length - 1] == ' ') --length;
  return std::string_view(s.data(), length);
}

struct ColumnWriter {
  fmt::ValueCoding coding;
  uint32_t size;
  std::size_t width;
  const std::string* name;
};

class RowWriter {
public:
  explicit RowWriter(const std::vector<Column>& columns) {
    for (const Column& c : columns)
      writers_.push_back({fmt::valueCodingOf(c.typeCode), fmt::sizeOf(c.typeCode), c.width, &c.name});
  }

  void write(Output& out, const Row& row) const {
    if (row.values.size() != writers_.size())
      throw DataPacketError("row has " + std::to_string(row.values.size()) + " values for " +
                                std::to_string(writers_.size()) + " columns",
                            out.offset());
    out.u8(0);
    const std::size_t indicators = out.offset();
    out.zeros(fmt::indicatorBytes(writers_.size()));
    for (std::size_t j = 0; j < writers_.size(); ++j) {
      const Value& v = row.values[j];
      switch (v.blankState()) {
        case BlankState::Null: out.orByte(indicators + j / 4, uint8_t(fmt::kIndicatorNull << (2 * (j % 4)))); break;
        case BlankState::Unassigned:
          out.orByte(indicators + j / 4, uint8_t(fmt::kIndicatorUnchanged << (2 * (j % 4))));
          break;
        case BlankState::HasValue: writeValue(out, v, writers_[j]); break;
      }
    }
  }

private:
  [[noreturn]] static void mismatch(const Output& out, const ColumnWriter& w, const char* problem) {
    throw DataPacketError("value of column '" + *w.name + "' " + problem, out.offset());
  }

  static void writeInt(Output& out, const Value& v, const ColumnWriter& w, bool isSigned) {
    if (!v.isInt()) mismatch(out, w, "is not an integer");
    const int64_t n = v.toInt();
    if (w.size < 8) {
      const unsigned bits = 8 * w.size;
      const bool fits = isSigned ? n >= -(int64_t(1) << (bits - 1)) && n < (int64_t(1) << (bits - 1))
                                 : n >= 0 && n < (int64_t(1) << bits);
      if (!fits) mismatch(out, w, "is out of the column's range");
    }
    out.unsignedLE(uint64_t(n), w.size);
  }

  static void writeLength(Output& out, std::size_t length, const ColumnWriter& w) {
    if (w.size < 8 && (uint64_t(length) >> (8 * w.size)) != 0) mismatch(out, w, "is too long for its length prefix");
    out.unsignedLE(length, w.size);
  }

  static void writeValue(Output& out, const Value& v, const ColumnWriter& w) {
    using fmt::ValueCoding;
    switch (w.coding) {
      case ValueCoding::SignedInt:
      case ValueCoding::Date:
      case ValueCoding::Time: writeInt(out, v, w, true); return;
      case ValueCoding::UnsignedInt: writeInt(out, v, w, w.size < 8 ? false : true); return;
      case ValueCoding::Bool:
        if (!v.isBool()) mismatch(out, w, "is not a boolean");
        out.unsignedLE(v.toBool() ? 1 : 0, w.size);
        return;
      case ValueCoding::Double: {
        if (!v.isDouble()) mismatch(out, w, "is not a floating-point number");
        const double d = v.toDouble();
        out.raw(&d, 8);
        return;
      }
      case ValueCoding::DateTime: {
        if (!v.isDouble()) mismatch(out, w, "is not a date-time");
        const std::optional<double> ms = dateTimeToStoredMs(v.toDouble());
        if (!ms) mismatch(out, w, "is a date-time out of range");
        out.raw(&*ms, 8);
        return;
      }
      case ValueCoding::RawFixed:
        if (!v.isBytes() || v.bytes().size() != w.size) mismatch(out, w, "does not have the column's size");
        out.raw(v.bytes().data(), w.size);
        return;
      case ValueCoding::FixedString: {
        if (!v.isBytes()) mismatch(out, w, "is not a string");
        const std::string_view text = storedText(v.bytes(), w.width).substr(0, w.size);
        out.raw(text.data(), text.size());
        out.zeros(w.size - text.size());
        return;
      }
      case ValueCoding::VaryingString: {
        if (!v.isBytes()) mismatch(out, w, "is not a string");
        const std::string_view text = storedText(v.bytes(), w.width);
        if (text.empty()) {
          // A present but empty string is one 0 byte, which tells it from a missing value.
          writeLength(out, 1, w);
          out.u8(0);
          return;
        }
        writeLength(out, text.size(), w);
        out.raw(text.data(), text.size());
        return;
      }
      case ValueCoding::VaryingBytes:
      case ValueCoding::Blob:
        if (!v.isBytes()) mismatch(out, w, "is not a byte sequence");
        writeLength(out, v.bytes().size(), w);
        out.raw(v.bytes().data(), v.bytes().size());
        return;
      case ValueCoding::Unsupported: mismatch(out, w, "belongs to a column type that cannot be written");
    }
  }

  std::vector<ColumnWriter> writers_;
};

std::size_t metadataSizeBound(const DataPacket& packet) {
  std::size_t size = fmt::kHeaderSize + 2 + 32;  // header, table parameter count, AUTOINCVALUE
  for (const Column& c : packet.columns) size += columnSizeBound(c);
  for (const Parameter& p : packet.otherParameters) size += parameterSize(p);
  return size;
}

// Per row: status, indicators and for every column its fixed size or length prefix plus one byte
// for an empty string; the bytes of string and blob values come on top.
std::size_t fixedRowBound(const std::vector<Column>& columns) {
  std::size_t size = 1 + fmt::indicatorBytes(columns.size());
  for (const Column& c : columns) size += std::max<std::size_t>(fmt::sizeOf(c.typeCode), 8) + 1;
  return size;
}

}  // namespace

std::size_t encodedSizeBound(const DataPacket& packet) {
  const std::size_t columns = packet.columns.size();
  const std::size_t fixedRow = fixedRowBound(packet.columns);
  std::size_t size = metadataSizeBound(packet);
  for (const Row& row : packet.rows) {
    if (!row.isCurrent()) continue;
    size += fixedRow;
    const std::size_t n = std::min(row.values.size(), columns);
    for (std::size_t j = 0; j < n; ++j) size += row.values[j].bytes().size();
  }
  return size;
}

namespace {

// Header and metadata, with the row count left 0 for the caller to fill in.
void writeMetadata(Output& out, const DataPacket& packet) {
  if (packet.columns.size() > 0xFFFF)
    throw DataPacketError("packet has " + std::to_string(packet.columns.size()) + " columns", fmt::kOffsetColumnCount);
  out.u32(fmt::kSignature);
  bool newerTypes = false;
  for (const Column& c : packet.columns) newerTypes |= fmt::logicalTypeOf(c.typeCode) > fmt::kTypeBytes;
  out.u16(newerTypes ? 2 : 1);
  out.u16(0);
  out.u32(fmt::kHeaderSize);
  out.u16(uint16_t(packet.columns.size()));
  out.u32(0);  // row count, set at the end
  out.u32(fmt::kFlagHasMetadata);
  out.u16(0);  // row-area offset, set below

  for (const Column& c : packet.columns) writeColumn(out, c);
  writeTableParameters(out, packet);

  const std::size_t rowArea = out.offset();
  if (rowArea <= fmt::kMaxRowAreaOffset) {
    out.patchU16(fmt::kOffsetRowAreaOffset, uint16_t(rowArea));
    out.patchU32(fmt::kOffsetPacketFlags, fmt::kFlagHasMetadata | fmt::kFlagRowAreaOffsetValid);
  }
}

}  // namespace

std::vector<uint8_t> encodeDataPacket(const DataPacket& packet) {
  Output out(encodedSizeBound(packet));
  writeMetadata(out, packet);
  const RowWriter rowWriter(packet.columns);
  uint32_t rowCount = 0;
  for (const Row& row : packet.rows) {
    if (!row.isCurrent()) continue;
    rowWriter.write(out, row);
    ++rowCount;
  }
  out.patchU32(fmt::kOffsetRowCount, rowCount);
  return out.finish();
}

std::vector<uint8_t> encodeDataPacket(const DataPacket& packet, std::size_t rowCount, std::size_t sizeHint,
                                      const std::function<void(std::size_t, Row&)>& fillRow) {
  Output out(std::max(sizeHint, metadataSizeBound(packet)));
  writeMetadata(out, packet);
  const RowWriter rowWriter(packet.columns);
  Row row;
  uint32_t written = 0;
  for (std::size_t i = 0; i < rowCount; ++i) {
    row.status = 0;
    fillRow(i, row);
    if (!row.isCurrent()) continue;
    rowWriter.write(out, row);
    ++written;
  }
  out.patchU32(fmt::kOffsetRowCount, written);
  return out.finish();
}

}  // namespace wf
