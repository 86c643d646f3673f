// One program per Data folder: an exclusive lock (flock) on the folder's ".lock" file, held for
// as long as this object lives. The kernel drops the lock when the process ends, however it
// ends, so a crash never leaves a stale lock behind.
#pragma once

#include <string>

namespace wf {

class DataFolderLock {
 public:
  enum class Outcome {
    Held,         // this program holds the folder
    InUse,        // another process holds it
    NoFolder,     // there is no folder to lock (it is not created for the lock)
    Unavailable,  // the lock file can be neither created nor opened (a read-only folder)
  };

  explicit DataFolderLock(const std::string& folder);
  DataFolderLock(const DataFolderLock&) = delete;
  DataFolderLock& operator=(const DataFolderLock&) = delete;
  ~DataFolderLock();

  Outcome outcome() const { return outcome_; }
  static std::string lockFileName(const std::string& folder);

 private:
  int fd_ = -1;
  Outcome outcome_ = Outcome::Unavailable;
};

}  // namespace wf
