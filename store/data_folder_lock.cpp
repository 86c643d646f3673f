#include "store/data_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace wf {

std::string DataFolderLock::lockFileName(const std::string& folder, const std::string& fileName) {
  return (!folder.empty() && folder.back() == '/' ? folder : folder + "/") + fileName;
}

DataFolderLock::DataFolderLock(const std::string& folder, const std::string& fileName)
    : path_(lockFileName(folder, fileName)) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    outcome_ = Outcome::NoFolder;
    return;
  }
  // Close-on-exec: a program started from here (a browser) must not inherit the lock. A lock
  // file that exists in a folder we cannot write to is still locked read-only.
  fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  int error = errno;
  if (fd_ < 0) {
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0 && errno != ENOENT) error = errno;
  }
  if (fd_ < 0) {
    outcome_ = Outcome::Unavailable;
    reason_ = std::strerror(error);
    return;
  }
  int result;
  while ((result = ::flock(fd_, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {}
  if (result == 0) {
    outcome_ = Outcome::Held;
    return;
  }
  error = errno;
  outcome_ = error == EWOULDBLOCK ? Outcome::InUse : Outcome::Unavailable;
  if (outcome_ == Outcome::Unavailable) reason_ = std::strerror(error);
  ::close(fd_);
  fd_ = -1;
}

DataFolderLock::~DataFolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

ProgramLock::ProgramLock(const std::string& programFolder) : dataFolder_(programFolder + "Data") {
  data_ = std::make_unique<DataFolderLock>(dataFolder_);
  using Outcome = DataFolderLock::Outcome;
  auto refuse = [&](Refusal refusal, const DataFolderLock& lock) {
    refusal_ = refusal;
    lockPath_ = lock.path();
    reason_ = lock.reason();
    data_.reset();
    program_.reset();
  };
  if (data_->outcome() == Outcome::InUse) {
    refuse(Refusal::InUse, *data_);
    return;
  }
  if (data_->outcome() == Outcome::Unavailable) {
    refuse(Refusal::Unavailable, *data_);
    return;
  }
  dataFolderMissing_ = data_->outcome() == Outcome::NoFolder;
  program_ = std::make_unique<DataFolderLock>(programFolder, kProgramLockName);
  if (program_->outcome() == Outcome::InUse) {
    refuse(Refusal::InUse, *program_);
    return;
  }
  // With the Data folder there, its own lock is what matters; a program folder that is not
  // ours to write (an installed copy whose Data is a link elsewhere) does not stop the start.
  if (dataFolderMissing_ && program_->outcome() != Outcome::Held)
    refuse(Refusal::Unavailable, *program_);
}

}  // namespace wf
