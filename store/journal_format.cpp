#include "store/journal_format.h"

#include <algorithm>
#include <cstring>

#include "store/byte_coding.h"
#include "store/crc32c.h"

namespace wf {

namespace {

constexpr char kMagic[8] = {'W', 'F', 'J', 'O', 'U', 'R', 'N', 'L'};
constexpr std::uint16_t kFirstVersion = 1;

// Value tags of a record: the blank state, or which kind of value follows.
enum class ValueTag : std::uint8_t {
  Unassigned = 0,
  Null = 1,
  Int = 2,
  Double = 3,
  Bool = 4,
  Bytes = 5
};

class Writer {
 public:
  explicit Writer(std::vector<std::uint8_t>& out) : out_(out) {}
  void put(ValueTag tag) { put(static_cast<std::uint8_t>(tag)); }
  template <class T>
  void put(T value) {
    std::uint8_t bytes[sizeof(T)];
    coding::encodeAs(bytes, value);
    out_.insert(out_.end(), bytes, bytes + sizeof(T));
  }
  void putBytes(const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    out_.insert(out_.end(), p, p + size);
  }

 private:
  std::vector<std::uint8_t>& out_;
};

// Reads within [pos, end) of the bytes; a read past the end sets failed and gives zeros.
class Reader {
 public:
  Reader(std::span<const std::uint8_t> bytes, std::size_t pos, std::size_t end)
      : bytes_(bytes), pos_(pos), end_(end) {}
  template <class T>
  T get() {
    if (!has(sizeof(T))) return T{};
    const T value = coding::decodeAs<T>(bytes_.data() + pos_);
    pos_ += sizeof(T);
    return value;
  }
  std::string getString(std::size_t size) {
    if (!has(size)) return std::string();
    std::string s(reinterpret_cast<const char*>(bytes_.data() + pos_), size);
    pos_ += size;
    return s;
  }
  bool has(std::size_t size) {
    if (failed_ || end_ - pos_ < size) {
      failed_ = true;
      return false;
    }
    return true;
  }
  std::size_t pos() const { return pos_; }
  bool failed() const { return failed_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_;
  std::size_t end_;
  bool failed_ = false;
};

void putValue(Writer& w, const Value& v) {
  if (v.isInt()) {
    w.put(ValueTag::Int);
    w.put<std::int64_t>(v.toInt());
  } else if (v.isDouble()) {
    w.put(ValueTag::Double);
    w.put<double>(v.toDouble());
  } else if (v.isBool()) {
    w.put(ValueTag::Bool);
    w.put<std::uint8_t>(v.toBool() ? 1 : 0);
  } else if (v.isBytes()) {
    w.put(ValueTag::Bytes);
    w.put<std::uint32_t>(static_cast<std::uint32_t>(v.bytes().size()));
    w.putBytes(v.bytes().data(), v.bytes().size());
  } else {
    w.put(v.blankState() == BlankState::Null ? ValueTag::Null : ValueTag::Unassigned);
  }
}

bool getValue(Reader& r, Value& out) {
  switch (ValueTag(r.get<std::uint8_t>())) {
    case ValueTag::Unassigned: out = Value::unassigned(); break;
    case ValueTag::Null: out = Value::null(); break;
    case ValueTag::Int: out = Value::fromInt(r.get<std::int64_t>()); break;
    case ValueTag::Double: out = Value::fromDouble(r.get<double>()); break;
    case ValueTag::Bool: out = Value::fromBool(r.get<std::uint8_t>() != 0); break;
    case ValueTag::Bytes: {
      std::uint32_t size = r.get<std::uint32_t>();
      out = Value::fromBytes(r.getString(size));
      break;
    }
    default: return false;
  }
  return !r.failed();
}

// Parses one record payload [pos, end); false when it does not parse exactly.
bool parsePayload(std::span<const std::uint8_t> bytes, std::size_t pos, std::size_t end,
                  JournalRecord& record) {
  Reader r(bytes, pos, end);
  auto op = r.get<std::uint8_t>();
  if (op < 1 || op > 4) return false;
  record.op = static_cast<JournalOp>(op);
  record.key = r.get<std::int32_t>();
  record.values.clear();
  record.written = TableFileIdentity();
  if (record.op == JournalOp::Written) {
    if (record.key != 0) return false;
    record.written.exists = true;
    record.written.size = r.get<std::uint64_t>();
    record.written.crc = r.get<std::uint32_t>();
  } else if (record.op != JournalOp::Delete) {
    std::uint16_t count = r.get<std::uint16_t>();
    for (std::uint16_t i = 0; i < count && !r.failed(); ++i) {
      Value v;
      if (!getValue(r, v)) return false;
      record.values.push_back(std::move(v));
    }
  }
  return !r.failed() && r.pos() == end;
}

enum class RecordAt { Whole, Incomplete, Bad };

// What starts at pos: a whole record (read into `record`), one that runs past the end of the
// bytes, or one complete by its length that fails its checksum or does not parse.
RecordAt readRecord(std::span<const std::uint8_t> bytes, std::size_t pos, JournalRecord& record) {
  if (bytes.size() - pos < 8) return RecordAt::Incomplete;
  const std::uint32_t length = coding::decodeFixed32(bytes.data() + pos);
  if (length > bytes.size() - pos - 8) return RecordAt::Incomplete;
  const std::size_t end = pos + 4 + length;
  // Every payload starts with its operation: a cheap test before the checksum, which matters
  // when a damaged stretch is searched for the records after it.
  if (length == 0 || bytes[pos + 4] < 1 || bytes[pos + 4] > 4) return RecordAt::Bad;
  const std::uint32_t stored = coding::decodeFixed32(bytes.data() + end);
  if (stored != crc32c(bytes.data() + pos, 4 + std::size_t(length))) return RecordAt::Bad;
  if (!parsePayload(bytes, pos + 4, end, record)) return RecordAt::Bad;
  record.end = end + 4;
  return RecordAt::Whole;
}

// Looks at what follows the intact records: a crash while appending leaves only an incomplete
// record, or zeros where the file grew before its data reached the disk. Anything else, and any
// whole record after the bad one, is damage.
void lookForDamage(std::span<const std::uint8_t> bytes, JournalContents& contents) {
  const std::size_t bad = contents.validLength;
  if (std::all_of(bytes.begin() + std::ptrdiff_t(bad), bytes.end(),
                  [](std::uint8_t b) { return b == 0; }))
    return;
  JournalRecord record;
  contents.damaged = readRecord(bytes, bad, record) == RecordAt::Bad;
  // The next whole record: after the bad one by its length when that leads to one, else at the
  // first offset where one starts.
  std::size_t next = bytes.size();
  if (contents.damaged) {
    const std::size_t skipped = bad + 8 + coding::decodeFixed32(bytes.data() + bad);
    if (skipped < bytes.size() && readRecord(bytes, skipped, record) == RecordAt::Whole)
      next = skipped;
  }
  for (std::size_t pos = bad + 1; next == bytes.size() && pos + 8 <= bytes.size(); ++pos)
    if (readRecord(bytes, pos, record) == RecordAt::Whole) next = pos;
  for (std::size_t pos = next;
       pos < bytes.size() && readRecord(bytes, pos, record) == RecordAt::Whole; pos = record.end) {
    contents.damaged = true;
    if (record.op != JournalOp::Written) ++contents.intactAfterDamage;
  }
}

}  // namespace

std::vector<std::uint8_t> encodeJournalHeader(const JournalHeader& header) {
  std::vector<std::uint8_t> out;
  Writer w(out);
  w.putBytes(kMagic, sizeof kMagic);
  w.put<std::uint16_t>(header.version);
  w.put<std::uint8_t>(header.file.exists ? 1 : 0);
  w.put<std::uint64_t>(header.file.size);
  if (header.version == kFirstVersion) {
    w.put<std::int64_t>(header.legacy.modifiedSeconds);
    w.put<std::uint32_t>(header.legacy.modifiedNanoseconds);
    w.put<std::uint32_t>(header.legacy.sampleCrc);
  } else {
    w.put<std::uint32_t>(header.file.crc);
  }
  w.put<std::int32_t>(header.autoIncAtOpen);
  w.put<std::uint16_t>(static_cast<std::uint16_t>(header.columnTypes.size()));
  for (TFieldType type : header.columnTypes) w.put<std::uint8_t>(type);
  w.put<std::uint32_t>(crc32c(out.data(), out.size()));
  return out;
}

std::size_t minimumJournalHeaderSize() { return encodeJournalHeader(JournalHeader()).size(); }

void encodeJournalRecord(std::vector<std::uint8_t>& out, JournalOp op, std::int32_t key,
                         const std::vector<Value>& values) {
  const std::size_t start = out.size();
  Writer w(out);
  w.put<std::uint32_t>(0);  // payload length, filled in below
  w.put<std::uint8_t>(static_cast<std::uint8_t>(op));
  w.put<std::int32_t>(key);
  if (op != JournalOp::Delete) {
    w.put<std::uint16_t>(static_cast<std::uint16_t>(values.size()));
    for (const Value& v : values) putValue(w, v);
  }
  auto length = static_cast<std::uint32_t>(out.size() - start - 4);
  coding::encodeFixed32(out.data() + start, length);
  w.put<std::uint32_t>(crc32c(out.data() + start, out.size() - start));
}

void encodeJournalWritten(std::vector<std::uint8_t>& out, const TableFileIdentity& newFile) {
  const std::size_t start = out.size();
  Writer w(out);
  w.put<std::uint32_t>(1 + 4 + 8 + 4);
  w.put<std::uint8_t>(static_cast<std::uint8_t>(JournalOp::Written));
  w.put<std::int32_t>(0);
  w.put<std::uint64_t>(newFile.size);
  w.put<std::uint32_t>(newFile.crc);
  w.put<std::uint32_t>(crc32c(out.data() + start, out.size() - start));
}

JournalContents decodeJournal(std::span<const std::uint8_t> bytes) {
  JournalContents contents;
  Reader r(bytes, 0, bytes.size());
  const std::size_t magicBytes = std::min(bytes.size(), sizeof kMagic);
  if (magicBytes > 0 && std::memcmp(bytes.data(), kMagic, magicBytes) != 0)
    throw JournalError("not a change journal");
  r.getString(sizeof kMagic);
  const std::uint16_t version = r.get<std::uint16_t>();
  if (!r.failed() && version != kFirstVersion && version != kJournalVersion)
    throw JournalError("unknown journal version");
  JournalHeader& h = contents.header;
  h.version = version;
  const std::uint8_t exists = r.get<std::uint8_t>();
  h.file.exists = exists == 1;
  h.file.size = r.get<std::uint64_t>();
  if (version == kFirstVersion) {
    h.legacy.modifiedSeconds = r.get<std::int64_t>();
    h.legacy.modifiedNanoseconds = r.get<std::uint32_t>();
    h.legacy.sampleCrc = r.get<std::uint32_t>();
  } else {
    h.file.crc = r.get<std::uint32_t>();
  }
  h.autoIncAtOpen = r.get<std::int32_t>();
  std::uint16_t columns = r.get<std::uint16_t>();
  for (std::uint16_t i = 0; i < columns && !r.failed(); ++i)
    h.columnTypes.push_back(static_cast<TFieldType>(r.get<std::uint8_t>()));
  const std::size_t checked = r.pos();
  std::uint32_t crc = r.get<std::uint32_t>();
  if (r.failed()) throw JournalError("incomplete journal header", true);
  if (crc != crc32c(bytes.data(), checked)) throw JournalError("damaged journal header");
  // Any other value is no header this program wrote: it is not taken for either answer.
  if (exists > 1) throw JournalError("damaged journal header");

  std::size_t pos = r.pos();
  contents.headerLength = contents.validLength = pos;
  JournalRecord record;
  while (readRecord(bytes, pos, record) == RecordAt::Whole) {
    pos = record.end;
    contents.records.push_back(record);
    contents.validLength = pos;
  }
  lookForDamage(bytes, contents);
  return contents;
}

std::uint32_t sampleCrcOf(std::span<const std::uint8_t> content) {
  if (content.size() <= 2 * kJournalSampleBytes) return crc32c(content.data(), content.size());
  std::uint32_t crc = crc32c(content.data(), kJournalSampleBytes);
  return crc32c(content.data() + content.size() - kJournalSampleBytes, kJournalSampleBytes, crc);
}

}  // namespace wf
