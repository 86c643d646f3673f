// Failures of the record store. Every failure is an exception whose what() is the text the
// user sees; a table's own failures already carry "tblName: " in front.
#pragma once

#include <stdexcept>
#include <string>

namespace wf {

// A failure with a message text (table, field, file or format errors).
class TableError : public std::runtime_error {
 public:
  explicit TableError(const std::string& message) : std::runtime_error(message) {}
};

// A table file that could not be written: the message as the table reports it ("Cannot create
// file <path>", or the system's error text) and the system's reason on its own.
class FileWriteError : public TableError {
 public:
  FileWriteError(const std::string& message, std::string reason)
      : TableError(message), reason_(std::move(reason)) {}
  const std::string& reason() const { return reason_; }

 private:
  std::string reason_;
};

// A failure inside the engine itself (limits, damaged data): the text is empty, only the
// numeric code tells what went wrong.
class EngineError : public TableError {
 public:
  explicit EngineError(int code) : TableError(std::string()), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// Engine error codes.
inline constexpr int kEngineErrorDamagedPacket = 0x2501;
inline constexpr int kEngineErrorRecordTooLarge = 0x2502;

}  // namespace wf
