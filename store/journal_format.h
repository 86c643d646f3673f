// The bytes of a table's change journal: a header that names the table file the journal applies
// to, then one record per posted insert, posted edit or delete, each with its length and a
// CRC-32C so that a record cut short by a crash is recognised. store/FORMAT.md describes the
// layout. Pure functions: the file itself is handled by ChangeJournal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/datapacket.h"
#include "store/field_def.h"

namespace wf {

// What a table file was when its table was opened. A journal applies to that file only.
struct TableFileIdentity {
  bool exists = false;  // false: the table was created empty, no file
  std::uint64_t size = 0;
  std::int64_t modifiedSeconds = 0;
  std::uint32_t modifiedNanoseconds = 0;
  std::uint32_t sampleCrc = 0;  // CRC-32C of the first and last 64 KiB (the whole of a small file)
  bool operator==(const TableFileIdentity&) const = default;
};

enum class JournalOp : std::uint8_t { Insert = 1, Edit = 2, Delete = 3 };

struct JournalHeader {
  TableFileIdentity file;
  std::int32_t autoIncAtOpen = 1;       // the table's auto-increment counter when it was opened
  std::vector<TFieldType> columnTypes;  // the table's columns, in order
  bool operator==(const JournalHeader&) const = default;
};

struct JournalRecord {
  JournalOp op = JournalOp::Insert;
  std::int32_t key = 0;       // the record's auto-increment number
  std::vector<Value> values;  // insert and edit: the whole record, one value per column
  std::size_t end = 0;        // offset just past this record in the journal
};

struct JournalContents {
  JournalHeader header;
  std::size_t headerLength = 0;
  std::vector<JournalRecord> records;  // the whole, intact records, in order
  std::size_t validLength = 0;         // header and intact records; what follows is a torn tail
};

// A journal whose header cannot be read (not a journal, another version, damaged header).
// incomplete(): the file ends inside the header, as when a crash cut its creation short; such a
// journal never held a change.
class JournalError : public std::runtime_error {
 public:
  explicit JournalError(const std::string& problem, bool incomplete = false)
      : std::runtime_error(problem), incomplete_(incomplete) {}
  bool incomplete() const { return incomplete_; }

 private:
  bool incomplete_;
};

inline constexpr std::size_t kJournalSampleBytes = 64 * 1024;

std::vector<std::uint8_t> encodeJournalHeader(const JournalHeader& header);
// Appends one record (length, payload, checksum) to `out`. Values are needed for insert and
// edit only.
void encodeJournalRecord(std::vector<std::uint8_t>& out, JournalOp op, std::int32_t key,
                         const std::vector<Value>& values);

// The size of the smallest complete header (a table of no columns); shorter files were cut off
// while being created.
std::size_t minimumJournalHeaderSize();

// Reads a journal. Throws JournalError when the header is incomplete, damaged or not a journal's.
// Records are read up to the first one that is incomplete, fails its checksum or does not parse;
// that one and everything after it are left out. Never reads outside `bytes`.
JournalContents decodeJournal(std::span<const std::uint8_t> bytes);

// The CRC-32C sample of a file's content that TableFileIdentity keeps.
std::uint32_t sampleCrcOf(std::span<const std::uint8_t> content);

}  // namespace wf
