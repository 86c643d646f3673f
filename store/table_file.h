// Reading and writing a table file as a whole. Reading holds a shared lock (no writer while it
// reads); writing goes to a temporary file in the same folder that is flushed to disk and then
// renamed over the old file, so the old file stays intact until the new one is complete.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "store/byte_sink.h"
#include "store/journal_format.h"

namespace wf {

// The whole content of the file, or nothing when no file exists at path. A file that exists
// but cannot be read fails with "Cannot open file <path>".
std::optional<std::vector<unsigned char>> readTableFile(const std::string& path);

// A table file's content for reading once, without copying it: the file is mapped into memory,
// so its pages are used where they already are in the page cache and no fresh memory is touched
// for it. The shared lock is held, and the mapping kept, for the object's lifetime. Where the
// file cannot be mapped, its content is read into memory instead.
class MappedTableFile {
 public:
  // The file at path, or nullptr when no file exists there. A file that exists but cannot be
  // read fails with "Cannot open file <path>".
  static std::unique_ptr<MappedTableFile> open(const std::string& path);
  MappedTableFile(const MappedTableFile&) = delete;
  MappedTableFile& operator=(const MappedTableFile&) = delete;
  ~MappedTableFile();

  std::span<const unsigned char> bytes() const { return {data_, size_}; }

 private:
  MappedTableFile() = default;

  int fd_ = -1;
  void* mapping_ = nullptr;
  std::vector<unsigned char> copy_;
  const unsigned char* data_ = nullptr;
  std::size_t size_ = 0;
};

// Replaces the file at path with bytes. Fails with "Cannot create file <path>" when the new
// file cannot be created or put in place (missing folder, a read-only file, a folder at that
// name), or with the platform's error text when writing fails; the old file is unchanged then.
void writeTableFile(const std::string& path, const std::vector<unsigned char>& bytes);

// The same, with the new content written as `produce` hands it to the sink it is given, so it
// never has to be in memory as a whole. When produce throws, or the sink fails to write (with the
// platform's error text), the temporary file is removed, the old file is unchanged and the
// exception passes on. `beforeRename`, when given, is told the new file's identity once it is on
// disk and just before it replaces the old one; should it throw, the old file stays.
void streamTableFile(const std::string& path, const std::function<void(ByteSink&)>& produce,
                     const std::function<void(const TableFileIdentity&)>& beforeRename = {});

// The temporary files of table writes are named "<file><kTableWriteSuffix><6 characters>", a
// name only this program makes.
inline constexpr const char* kTableWriteSuffix = ".wrenfold-write-";
// Removes the temporary files that writes of the table file at path left behind when the program
// died during them, and returns how many. Only while no other program may be writing the file
// (the Data folder's lock is held).
int removeStaleTableWrites(const std::string& path);

}  // namespace wf
