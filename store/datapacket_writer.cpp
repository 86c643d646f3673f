#include "store/datapacket_writer.h"

#include "store/byte_sink.h"
#include "store/datapacket_format.h"
#include "store/date_time.h"

#include <strings.h>
#include <algorithm>
#include <cstring>

namespace wf {

namespace fmt = dpformat;

namespace {

bool sameName(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// Appends little-endian items to a buffer. Without a sink the buffer is the whole packet, sized in
// advance by encodedSizeBound() and still grown if that bound ever falls short (the bound decides
// speed, never safety). With a sink, flushRows() hands the buffer over between rows once it holds
// a chunk, so one reused buffer serves a packet of any size. Offsets are always counted from the
// start of the packet.
class Output {
 public:
  explicit Output(std::size_t capacity, ByteSink* sink = nullptr) : bytes_(capacity), sink_(sink) {}

  std::size_t offset() const { return flushed_ + pos_; }
  void u8(uint8_t v) { *reserve(1) = v; }
  void unsignedLE(uint64_t v, std::size_t size) { coding::encodeVariable(reserve(size), v, size); }
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
  // Only for bytes of the current row or, before any flush, of the metadata.
  void orByte(std::size_t offset, uint8_t bits) { bytes_[offset - flushed_] |= bits; }
  void patchU16(std::size_t offset, uint16_t v) { patch(offset, v, 2); }
  // Also for bytes a sink already holds.
  void patchU32(std::size_t offset, uint32_t v) { patch(offset, v, 4); }

  // Called between rows: passes a full chunk to the sink.
  void flushRows(std::size_t chunk) {
    if (sink_ != nullptr && pos_ >= chunk) flush();
  }
  void flush() {
    sink_->handOver(bytes_, pos_);
    flushed_ += pos_;
    pos_ = 0;
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

  void patch(std::size_t offset, uint64_t v, std::size_t size) {
    if (offset >= flushed_) {
      coding::encodeVariable(bytes_.data() + (offset - flushed_), v, size);
      return;
    }
    uint8_t field[8];
    coding::encodeVariable(field, v, size);
    sink_->overwrite(offset, field, size);
  }

  std::vector<uint8_t> bytes_;
  std::size_t pos_ = 0;
  ByteSink* sink_;
  std::size_t flushed_ = 0;  // bytes already with the sink
};

std::size_t nameLength(const std::string& name, std::size_t max) {
  return std::min(name.size(), max);
}

std::size_t parameterSize(const Parameter& p) {
  std::size_t framing = 0;
  if (fmt::isVarying(p.typeCode))
    framing = fmt::sizeOf(p.typeCode);
  else if (fmt::isArray(p.typeCode))
    framing = fmt::kArrayCountSize;
  return 1 + nameLength(p.name, 255) + 4 + framing +
         std::max<std::size_t>(p.value.size(), fmt::sizeOf(p.typeCode));
}

// Descriptor, SUBTYPE (name, code, length, text, 0 byte) and three numbers of at most 17 bytes.
std::size_t columnSizeBound(const Column& c) {
  std::size_t size =
      1 + fmt::kMaxNameLength + 4 + 2 + 2 + 3 * 17 + (1 + 7 + 4 + 2 + c.subtype.size() + 1);
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
      throw DataPacketError(
          "parameter '" + p.name + "' has a length prefix of " + std::to_string(size) + " bytes",
          out.offset());
    if (size < 8 && p.value.size() >> (8 * size))
      throw DataPacketError("parameter '" + p.name + "' is too long for its length prefix",
                            out.offset());
    out.unsignedLE(p.value.size(), size);
  } else if (fmt::isArray(p.typeCode)) {
    const std::size_t count = size ? p.value.size() / size : 0;
    if (count * size != p.value.size() || count > 0xFFFFFFFFu)
      throw DataPacketError("array parameter '" + p.name + "' does not hold whole elements",
                            out.offset());
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
std::string_view storedText(std::string_view s, std::size_t width) {
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
      writers_.push_back(
          {fmt::valueCodingOf(c.typeCode), fmt::sizeOf(c.typeCode), c.width, &c.name});
  }

  void write(Output& out, const Row& row) {
    views_.resize(row.values.size());
    for (std::size_t j = 0; j < row.values.size(); ++j) views_[j] = ValueView::of(row.values[j]);
    write(out, views_);
  }

  void write(Output& out, const std::vector<ValueView>& values) const {
    if (values.size() != writers_.size())
      throw DataPacketError("row has " + std::to_string(values.size()) + " values for " +
                                std::to_string(writers_.size()) + " columns",
                            out.offset());
    out.u8(0);
    const std::size_t indicators = out.offset();
    out.zeros(fmt::indicatorBytes(writers_.size()));
    for (std::size_t j = 0; j < writers_.size(); ++j) {
      const ValueView& v = values[j];
      switch (v.kind) {
        case ValueView::Kind::Null:
          out.orByte(indicators + j / 4, uint8_t(fmt::kIndicatorNull << (2 * (j % 4))));
          break;
        case ValueView::Kind::Unassigned:
          out.orByte(indicators + j / 4, uint8_t(fmt::kIndicatorUnchanged << (2 * (j % 4))));
          break;
        default: writeValue(out, v, writers_[j]); break;
      }
    }
  }

 private:
  [[noreturn]] static void mismatch(const Output& out, const ColumnWriter& w, const char* problem) {
    throw DataPacketError("value of column '" + *w.name + "' " + problem, out.offset());
  }

  static void writeInt(Output& out, const ValueView& v, const ColumnWriter& w, bool isSigned) {
    if (v.kind != ValueView::Kind::Int) mismatch(out, w, "is not an integer");
    const int64_t n = v.integer;
    if (w.size < 8) {
      const unsigned bits = 8 * w.size;
      const bool fits = isSigned
                            ? n >= -(int64_t(1) << (bits - 1)) && n < (int64_t(1) << (bits - 1))
                            : n >= 0 && n < (int64_t(1) << bits);
      if (!fits) mismatch(out, w, "is out of the column's range");
    }
    out.unsignedLE(uint64_t(n), w.size);
  }

  static void writeLength(Output& out, std::size_t length, const ColumnWriter& w) {
    if (w.size < 8 && (uint64_t(length) >> (8 * w.size)) != 0)
      mismatch(out, w, "is too long for its length prefix");
    out.unsignedLE(length, w.size);
  }

  static void writeValue(Output& out, const ValueView& v, const ColumnWriter& w) {
    using fmt::ValueCoding;
    switch (w.coding) {
      case ValueCoding::SignedInt:
      case ValueCoding::Date:
      case ValueCoding::Time: writeInt(out, v, w, true); return;
      case ValueCoding::UnsignedInt: writeInt(out, v, w, w.size < 8 ? false : true); return;
      case ValueCoding::Bool:
        if (v.kind != ValueView::Kind::Bool) mismatch(out, w, "is not a boolean");
        out.unsignedLE(uint64_t(v.integer), w.size);
        return;
      case ValueCoding::Double: {
        if (v.kind != ValueView::Kind::Double) mismatch(out, w, "is not a floating-point number");
        const double d = v.number;
        out.raw(&d, 8);
        return;
      }
      case ValueCoding::DateTime: {
        if (v.kind != ValueView::Kind::Double) mismatch(out, w, "is not a date-time");
        const std::optional<double> ms = dateTimeToStoredMs(v.number);
        if (!ms) mismatch(out, w, "is a date-time out of range");
        out.raw(&*ms, 8);
        return;
      }
      case ValueCoding::RawFixed:
        if (v.kind != ValueView::Kind::Bytes || v.bytes.size() != w.size)
          mismatch(out, w, "does not have the column's size");
        out.raw(v.bytes.data(), w.size);
        return;
      case ValueCoding::FixedString: {
        if (v.kind != ValueView::Kind::Bytes) mismatch(out, w, "is not a string");
        const std::string_view text = storedText(v.bytes, w.width).substr(0, w.size);
        out.raw(text.data(), text.size());
        out.zeros(w.size - text.size());
        return;
      }
      case ValueCoding::VaryingString: {
        if (v.kind != ValueView::Kind::Bytes) mismatch(out, w, "is not a string");
        const std::string_view text = storedText(v.bytes, w.width);
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
        if (v.kind != ValueView::Kind::Bytes) mismatch(out, w, "is not a byte sequence");
        writeLength(out, v.bytes.size(), w);
        out.raw(v.bytes.data(), v.bytes.size());
        return;
      case ValueCoding::Unsupported:
        mismatch(out, w, "belongs to a column type that cannot be written");
    }
  }

  std::vector<ColumnWriter> writers_;
  std::vector<ValueView> views_;  // a Row's values, viewed
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
    throw DataPacketError("packet has " + std::to_string(packet.columns.size()) + " columns",
                          fmt::kOffsetColumnCount);
  out.u32(fmt::kSignature);
  bool newerTypes = false;
  for (const Column& c : packet.columns)
    newerTypes |= fmt::logicalTypeOf(c.typeCode) > fmt::kTypeBytes;
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
  RowWriter rowWriter(packet.columns);
  uint32_t rowCount = 0;
  for (const Row& row : packet.rows) {
    if (!row.isCurrent()) continue;
    rowWriter.write(out, row);
    ++rowCount;
  }
  out.patchU32(fmt::kOffsetRowCount, rowCount);
  return out.finish();
}

void encodeDataPacket(const DataPacket& packet, std::size_t rowCount,
                      const std::function<void(std::size_t, RowView&)>& fillRow, ByteSink& sink) {
  // Handed to the writing thread one at a time. Measured closing the fleet's tables: 256 KB
  // chunks made a table of many small rows a quarter slower to close, and 4 MB chunks made a
  // table of pictures half again as slow; 1 MB does well for both.
  constexpr std::size_t kChunk = 1024 * 1024;
  if (rowCount > 0xFFFFFFFFu)
    throw DataPacketError("packet has " + std::to_string(rowCount) + " rows", fmt::kOffsetRowCount);
  Output out(kChunk + kChunk / 4, &sink);
  writeMetadata(out, packet);
  // The header claims every row; it is corrected at the end if some were not current.
  out.patchU32(fmt::kOffsetRowCount, uint32_t(rowCount));
  const RowWriter rowWriter(packet.columns);
  RowView row;
  uint32_t written = 0;
  for (std::size_t i = 0; i < rowCount; ++i) {
    row.status = 0;
    fillRow(i, row);
    if (!row.isCurrent()) continue;
    rowWriter.write(out, row.values);
    ++written;
    out.flushRows(kChunk);
  }
  out.flush();
  if (written != rowCount) out.patchU32(fmt::kOffsetRowCount, written);
}

}  // namespace wf
