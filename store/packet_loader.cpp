#include "store/packet_loader.h"

#include <cstring>
#include <optional>

#include "store/datapacket_format.h"
#include "store/datapacket_reader.h"
#include "store/date_time.h"
#include "store/row_pipeline.h"

namespace wf {

namespace fmt = dpformat;

namespace {

// Bounds-checked little-endian reads; any read past the end makes the fast path give up.
class Bytes {
 public:
  explicit Bytes(std::span<const std::uint8_t> data) : data_(data) {}
  std::size_t offset() const { return pos_; }
  std::size_t remaining() const { return data_.size() - pos_; }
  bool skip(std::size_t count) {
    if (count > remaining()) return false;
    pos_ += count;
    return true;
  }
  bool read(std::size_t size, std::uint64_t& value) {
    if (size > remaining()) return false;
    value = coding::decodeVariable(data_.data() + pos_, size);
    pos_ += size;
    return true;
  }
  const std::uint8_t* take(std::size_t count) {
    if (count > remaining()) return nullptr;
    const std::uint8_t* p = data_.data() + pos_;
    pos_ += count;
    return p;
  }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
};

// A parameter's framing, skipped without interpreting it.
bool skipParameter(Bytes& in) {
  std::uint64_t nameLength = 0;
  std::uint64_t typeCode = 0;
  if (!in.read(1, nameLength) || !in.skip(nameLength) || !in.read(4, typeCode)) return false;
  std::uint32_t code = static_cast<std::uint32_t>(typeCode);
  std::uint64_t size = fmt::sizeOf(code);
  if (fmt::isArray(code)) {
    std::uint64_t count = 0;
    return in.read(fmt::kArrayCountSize, count) && count * size <= in.remaining() &&
           in.skip(count * size);
  }
  if (fmt::isVarying(code)) {
    std::uint64_t length = 0;
    return size <= 8 && in.read(size, length) && in.skip(length);
  }
  return in.skip(size);
}

// The offset where the rows start (the end of the column descriptors and table parameters).
std::optional<std::size_t> rowsStart(std::span<const std::uint8_t> bytes, std::uint16_t columnCount,
                                     std::uint32_t headerSize) {
  Bytes in(bytes);
  if (!in.skip(headerSize)) return std::nullopt;
  for (std::uint16_t c = 0; c < columnCount; ++c) {
    std::uint64_t nameLength = 0;
    std::uint64_t parameters = 0;
    if (!in.read(1, nameLength) || !in.skip(nameLength) || !in.skip(4 + 2) ||
        !in.read(2, parameters))
      return std::nullopt;
    for (std::uint64_t p = 0; p < parameters; ++p)
      if (!skipParameter(in)) return std::nullopt;
  }
  std::uint64_t parameters = 0;
  if (!in.read(2, parameters)) return std::nullopt;
  for (std::uint64_t p = 0; p < parameters; ++p)
    if (!skipParameter(in)) return std::nullopt;
  return in.offset();
}

struct ColumnCoding {
  fmt::ValueCoding coding;
  std::uint32_t size;
  std::size_t width;
};

bool fastCoding(fmt::ValueCoding coding) {
  switch (coding) {
    case fmt::ValueCoding::SignedInt:
    case fmt::ValueCoding::Double:
    case fmt::ValueCoding::DateTime:
    case fmt::ValueCoding::VaryingString:
    case fmt::ValueCoding::Blob: return true;
    default: return false;
  }
}

std::int64_t signExtend(std::uint64_t value, std::uint32_t size) {
  if (size >= 8) return static_cast<std::int64_t>(value);
  std::uint64_t sign = std::uint64_t{1} << (8 * size - 1);
  return static_cast<std::int64_t>((value ^ sign) - sign);
}

bool readValue(Bytes& in, const ColumnCoding& c, std::size_t limit, ValueView& value) {
  std::uint64_t raw = 0;
  switch (c.coding) {
    case fmt::ValueCoding::SignedInt:
      if (!in.read(c.size, raw)) return false;
      value.setInt(signExtend(raw, c.size));
      return true;
    case fmt::ValueCoding::Double:
    case fmt::ValueCoding::DateTime: {
      const std::uint8_t* p = in.take(8);
      if (p == nullptr) return false;
      double d = coding::decodeAs<double>(p);
      if (c.coding == fmt::ValueCoding::DateTime) {
        std::optional<double> days = storedMsToDateTime(d);
        if (!days) return false;
        d = *days;
      }
      value.setDouble(d);
      return true;
    }
    case fmt::ValueCoding::VaryingString: {
      if (!in.read(c.size, raw) || raw > limit) return false;
      const std::uint8_t* p = in.take(raw);
      if (p == nullptr) return false;
      std::size_t length = raw;
      if (const void* zero = length ? std::memchr(p, 0, length) : nullptr)
        length = static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - p);
      if (c.width != 0 && length > c.width) length = c.width;
      value.setBytes(std::string_view(reinterpret_cast<const char*>(p), length));
      return true;
    }
    case fmt::ValueCoding::Blob: {
      if (!in.read(4, raw)) return false;
      const std::uint8_t* p = in.take(raw);
      if (p == nullptr) return false;
      value.setBytes(std::string_view(reinterpret_cast<const char*>(p), raw));
      return true;
    }
    default: return false;
  }
}

// The rows by the fast path; false when it cannot read them (the caller then decodes the
// whole packet, which reports the fault or reads what the fast path does not know).
// Tables of fewer rows load on one thread: a second one would cost more than it saves.
constexpr std::uint32_t kPipelinedRows = 20000;

bool readRowsFast(std::span<const std::uint8_t> bytes, std::size_t start, std::uint32_t rowCount,
                  const DataPacket& meta, RowConsumer& consumer) {
  std::vector<ColumnCoding> codings;
  for (const Column& column : meta.columns) {
    fmt::ValueCoding coding = fmt::valueCodingOf(column.typeCode);
    if (!fastCoding(coding)) return false;
    codings.push_back({coding, fmt::sizeOf(column.typeCode), column.width});
  }
  const std::size_t limit = valueBufferLimit(meta.columns);
  const std::size_t indicatorCount = fmt::indicatorBytes(codings.size());
  Bytes in(bytes);
  in.skip(start);
  if (std::uint64_t(rowCount) * (1 + indicatorCount) > in.remaining()) return false;
  consumer.begin(meta, rowCount);
  // Strings and blobs are viewed in `bytes`, which outlives the consumer's use of them. A large
  // table is stored on a second thread while the next rows are read.
  std::optional<RowPipeline> pipeline;
  if (rowCount >= kPipelinedRows) pipeline.emplace(consumer);
  std::vector<ValueView> values(codings.size());
  for (std::uint32_t r = 0; r < rowCount; ++r) {
    std::uint64_t status = 0;
    if (!in.read(1, status)) return false;
    const std::uint8_t* indicators = in.take(indicatorCount);
    if (indicators == nullptr) return false;
    for (std::size_t j = 0; j < codings.size(); ++j) {
      const std::uint8_t bits = std::uint8_t(indicators[j / 4] >> (2 * (j % 4)));
      if (bits & fmt::kIndicatorNull)
        values[j].kind = ValueView::Kind::Null;
      else if (bits & fmt::kIndicatorUnchanged)
        values[j].kind = ValueView::Kind::Unassigned;
      else if (!readValue(in, codings[j], limit, values[j]))
        return false;
    }
    if ((status & fmt::kRowNotCurrent) != 0) continue;
    if (pipeline)
      pipeline->push(values);
    else
      consumer.row(values);
  }
  if (pipeline) pipeline->finish();
  return true;
}

}  // namespace

DataPacket loadDataPacket(std::span<const std::uint8_t> bytes, RowConsumer& consumer) {
  Bytes header(bytes);
  std::uint64_t signature = 0;
  std::uint64_t headerSize = 0;
  std::uint64_t columnCount = 0;
  std::uint64_t rowCount = 0;
  bool readable = header.read(4, signature) && header.skip(4) && header.read(4, headerSize) &&
                  header.read(2, columnCount) && header.read(4, rowCount);
  std::optional<std::size_t> start;
  if (readable && signature == fmt::kSignature && headerSize >= fmt::kHeaderSize)
    start = rowsStart(bytes, static_cast<std::uint16_t>(columnCount),
                      static_cast<std::uint32_t>(headerSize));
  if (start) {
    // The metadata alone: the same bytes up to the rows, with a row count of 0.
    std::vector<std::uint8_t> metadata(bytes.begin(),
                                       bytes.begin() + static_cast<std::ptrdiff_t>(*start));
    std::memset(metadata.data() + fmt::kOffsetRowCount, 0, 4);
    DataPacket meta = decodeDataPacket(metadata);
    if (readRowsFast(bytes, *start, static_cast<std::uint32_t>(rowCount), meta, consumer))
      return meta;
  }
  DataPacket packet = decodeDataPacket(bytes);
  consumer.begin(packet, packet.rows.size());
  std::vector<ValueView> values;
  for (const Row& row : packet.rows) {
    if (!row.isCurrent()) continue;
    values.resize(row.values.size());
    for (std::size_t j = 0; j < values.size(); ++j) values[j] = ValueView::of(row.values[j]);
    consumer.row(values);
  }
  packet.rows.clear();
  return packet;
}

}  // namespace wf
