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

// What a table file holds: its size and a CRC-32C of its whole content. A journal applies to the
// file with that content only, wherever it lies and whatever its times say (a copy of the folder
// keeps its journals applicable).
struct TableFileIdentity {
  bool exists = false;  // false: the table was created empty, no file
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
  bool operator==(const TableFileIdentity&) const = default;
};

// How journals of the first version named their file: its modification time and a CRC-32C of
// its first and last 64 KiB (of the whole file when it is 128 KiB or smaller). Kept so that a
// journal left by that version still applies.
struct LegacyFileStamp {
  std::int64_t modifiedSeconds = 0;
  std::uint32_t modifiedNanoseconds = 0;
  std::uint32_t sampleCrc = 0;
  bool operator==(const LegacyFileStamp&) const = default;
};

// Insert, edit and delete are the table's changes. Written marks the moment the table's new file
// was complete and about to replace the old one; it names the new file, so that after a crash
// between that replacement and the journal's removal the journal is known to be in the file.
enum class JournalOp : std::uint8_t { Insert = 1, Edit = 2, Delete = 3, Written = 4 };

inline constexpr std::uint16_t kJournalVersion = 2;

struct JournalHeader {
  std::uint16_t version = kJournalVersion;
  TableFileIdentity file;          // version 1 kept exists and size here, and no whole-file CRC
  LegacyFileStamp legacy;          // version 1 only
  std::int32_t autoIncAtOpen = 1;  // the table's auto-increment counter when it was opened
  std::vector<TFieldType> columnTypes;  // the table's columns, in order
  bool operator==(const JournalHeader&) const = default;
};

struct JournalRecord {
  JournalOp op = JournalOp::Insert;
  std::int32_t key = 0;       // the record's auto-increment number (0 for Written)
  std::vector<Value> values;  // insert and edit: the whole record, one value per column
  TableFileIdentity written;  // Written: the new file
  std::size_t end = 0;        // offset just past this record in the journal
};

struct JournalContents {
  JournalHeader header;
  std::size_t headerLength = 0;
  std::vector<JournalRecord> records;  // the whole, intact records, in order
  std::size_t validLength = 0;         // header and intact records; what follows is not read
  // A record after validLength that is complete by its length but fails its checksum or does not
  // parse, and is not just the zeros a crash can leave at the end of a file: damage, not a tail
  // cut short. Whole records found after it are counted (they were written and are not applied).
  bool damaged = false;
  std::size_t intactAfterDamage = 0;
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
// Appends a Written record naming the new file.
void encodeJournalWritten(std::vector<std::uint8_t>& out, const TableFileIdentity& newFile);

// The size of the smallest complete header (a table of no columns); shorter files were cut off
// while being created.
std::size_t minimumJournalHeaderSize();

// Reads a journal, of this version or the first. Throws JournalError when the header is
// incomplete, damaged or not a journal's. Records are read up to the first one that is
// incomplete, fails its checksum or does not parse; that one and everything after it are left out
// (and looked through for damage, see JournalContents). Never reads outside `bytes`.
JournalContents decodeJournal(std::span<const std::uint8_t> bytes);

// The CRC-32C sample of a file's content that LegacyFileStamp keeps.
std::uint32_t sampleCrcOf(std::span<const std::uint8_t> content);

}  // namespace wf
