#include "store/data_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace wf {

std::string DataFolderLock::lockFileName(const std::string& folder) {
  return (!folder.empty() && folder.back() == '/' ? folder : folder + "/") + ".lock";
}

DataFolderLock::DataFolderLock(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    outcome_ = Outcome::NoFolder;
    return;
  }
  const std::string path = lockFileName(folder);
  // Close-on-exec: a program started from here (a browser) must not inherit the lock.
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd_ < 0) fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    outcome_ = Outcome::Unavailable;
    return;
  }
  int result;
  while ((result = ::flock(fd_, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {}
  if (result == 0) {
    outcome_ = Outcome::Held;
    return;
  }
  outcome_ = errno == EWOULDBLOCK ? Outcome::InUse : Outcome::Unavailable;
  ::close(fd_);
  fd_ = -1;
}

DataFolderLock::~DataFolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace wf
