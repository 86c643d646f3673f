// A table's change journal on disk: created with its header at the table's first change, one
// record appended and flushed (fdatasync) per posted change, removed once the table file has been
// written. Failures raise TableError with a text that names the journal and the system's reason.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "store/journal_format.h"

namespace wf {

class ChangeJournal {
 public:
  explicit ChangeJournal(std::string path) : path_(std::move(path)) {}
  ChangeJournal(const ChangeJournal&) = delete;
  ChangeJournal& operator=(const ChangeJournal&) = delete;
  ~ChangeJournal();

  const std::string& path() const { return path_; }
  bool isOpen() const { return fd_ >= 0; }

  // Writes a new journal holding only the header and makes it durable (file and folder entry).
  // A file already at the path is replaced.
  void create(const JournalHeader& header);
  // Continues an existing journal after its first `validLength` bytes; a torn tail is cut off.
  void adopt(std::size_t validLength);
  // Appends one record and flushes it to disk. On failure the journal is cut back to where it was
  // and the error is raised.
  void append(JournalOp op, std::int32_t key, const std::vector<Value>& values);
  // Appends the record that names the table's new file, flushed as append does.
  void appendWritten(const TableFileIdentity& newFile);
  // Takes back the record just appended (its change could not be applied to the table).
  void dropLast();
  // Closes and deletes the journal file.
  void remove();

 private:
  [[noreturn]] void fail(int error, const char* consequence = " The change was not saved.") const;
  void appendScratch();
  void truncateTo(std::size_t size);

  std::string path_;
  int fd_ = -1;
  std::size_t size_ = 0;       // bytes of header and whole records
  std::size_t lastStart_ = 0;  // where the last appended record begins
  std::vector<std::uint8_t> scratch_;
};

// The journal's file contents, or nothing when there is no file at path. Fails with TableError
// when the file exists but cannot be read.
std::optional<std::vector<std::uint8_t>> readJournalFile(const std::string& path);

// Renames a journal aside to "<path>.<local date and time>" (with a number added when that name
// is taken) and returns the new name; fails with TableError when the rename fails.
std::string setJournalAside(const std::string& path);

// Writes `bytes` (a journal as it was found) to a new file named as setJournalAside names it,
// flushed to disk, and returns that name; fails with TableError when it cannot be written.
std::string keepJournalCopy(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace wf
