// One program per Data folder: an exclusive lock (flock) on the folder's ".lock" file, held for
// as long as this object lives. The kernel drops the lock when the process ends, however it
// ends, so a crash never leaves a stale lock behind.
#pragma once

#include <memory>
#include <string>

namespace wf {

class DataFolderLock {
 public:
  enum class Outcome {
    Held,         // this program holds the folder
    InUse,        // another process holds it
    NoFolder,     // there is no folder to lock (it is not created for the lock)
    Unavailable,  // the lock file cannot be opened, or the file system refuses the lock
  };

  // Locks `fileName` in the folder.
  explicit DataFolderLock(const std::string& folder, const std::string& fileName = ".lock");
  DataFolderLock(const DataFolderLock&) = delete;
  DataFolderLock& operator=(const DataFolderLock&) = delete;
  ~DataFolderLock();

  Outcome outcome() const { return outcome_; }
  // The lock file's path, and for Unavailable the system's reason ("Permission denied").
  const std::string& path() const { return path_; }
  const std::string& reason() const { return reason_; }
  static std::string lockFileName(const std::string& folder, const std::string& fileName = ".lock");

 private:
  int fd_ = -1;
  Outcome outcome_ = Outcome::Unavailable;
  std::string path_;
  std::string reason_;
};

// What the program holds from start to end: the lock of the Data folder beside it and, beside
// the program itself, a lock that stands for the Data folder whether or not it exists. The second
// one keeps two copies apart while the folder is missing, and a copy started after the folder
// was made away from one started before.
class ProgramLock {
 public:
  enum class Refusal {
    None,         // the program may start
    InUse,        // another Wrenfold works on this Data folder
    Unavailable,  // the lock cannot be made: nothing would keep another copy away
  };

  // programFolder ends with '/'.
  explicit ProgramLock(const std::string& programFolder);

  Refusal refusal() const { return refusal_; }
  bool dataFolderMissing() const { return dataFolderMissing_; }
  const std::string& dataFolder() const { return dataFolder_; }
  // For Unavailable: the lock file that could not be locked and why.
  const std::string& lockPath() const { return lockPath_; }
  const std::string& reason() const { return reason_; }

  static constexpr const char* kProgramLockName = ".wrenfold.lock";

 private:
  std::string dataFolder_;
  std::unique_ptr<DataFolderLock> data_;
  std::unique_ptr<DataFolderLock> program_;
  Refusal refusal_ = Refusal::None;
  bool dataFolderMissing_ = false;
  std::string lockPath_;
  std::string reason_;
};

}  // namespace wf
