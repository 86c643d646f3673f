#include "store/change_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "store/table_error.h"

namespace wf {

namespace {

bool writeAllAt(int fd, const std::uint8_t* data, std::size_t size, std::size_t offset) {
  while (size > 0) {
    ssize_t written = ::pwrite(fd, data, size, static_cast<off_t>(offset));
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
    offset += static_cast<std::size_t>(written);
  }
  return true;
}

void syncFolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

ChangeJournal::~ChangeJournal() {
  if (fd_ >= 0) ::close(fd_);
}

void ChangeJournal::fail(int error, const char* consequence) const {
  throw TableError("Cannot write the change journal " + path_ + ": " + std::strerror(error) + "." +
                   consequence);
}

void ChangeJournal::create(const JournalHeader& header) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) fail(errno);
  std::vector<std::uint8_t> bytes = encodeJournalHeader(header);
  if (!writeAllAt(fd_, bytes.data(), bytes.size(), 0) || ::fdatasync(fd_) != 0) {
    int error = errno;
    ::close(fd_);
    fd_ = -1;
    ::unlink(path_.c_str());
    fail(error);
  }
  syncFolderOf(path_);
  size_ = lastStart_ = bytes.size();
}

void ChangeJournal::adopt(std::size_t validLength) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
  if (fd_ < 0) fail(errno);
  size_ = lastStart_ = validLength;
  struct stat info {};
  if (::fstat(fd_, &info) == 0 && static_cast<std::size_t>(info.st_size) != validLength) {
    if (::ftruncate(fd_, static_cast<off_t>(validLength)) != 0 || ::fdatasync(fd_) != 0)
      fail(errno);
  }
}

void ChangeJournal::append(JournalOp op, std::int32_t key, const std::vector<Value>& values) {
  if (fd_ < 0) fail(EBADF);
  scratch_.clear();
  encodeJournalRecord(scratch_, op, key, values);
  appendScratch();
}

void ChangeJournal::appendWritten(const TableFileIdentity& newFile) {
  if (fd_ < 0) fail(EBADF, "");
  scratch_.clear();
  encodeJournalWritten(scratch_, newFile);
  appendScratch();
}

void ChangeJournal::appendScratch() {
  if (!writeAllAt(fd_, scratch_.data(), scratch_.size(), size_) || ::fdatasync(fd_) != 0) {
    int error = errno;
    truncateTo(size_);
    fail(error);
  }
  lastStart_ = size_;
  size_ += scratch_.size();
}

void ChangeJournal::dropLast() {
  if (fd_ < 0 || lastStart_ == size_) return;
  truncateTo(lastStart_);
  size_ = lastStart_;
}

void ChangeJournal::truncateTo(std::size_t size) {
  // Best effort: should this fail too, the bytes past `size` fail their checksum at replay and
  // the next append writes over them.
  if (::ftruncate(fd_, static_cast<off_t>(size)) == 0) ::fdatasync(fd_);
}

void ChangeJournal::remove() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (::unlink(path_.c_str()) == 0) syncFolderOf(path_);
  size_ = lastStart_ = 0;
}

std::optional<std::vector<std::uint8_t>> readJournalFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return std::nullopt;
    throw TableError("Cannot open file " + path);
  }
  std::vector<std::uint8_t> content;
  std::uint8_t buffer[1 << 16];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      throw TableError("Cannot open file " + path);
    }
    if (got == 0) break;
    content.insert(content.end(), buffer, buffer + got);
  }
  ::close(fd);
  return content;
}

namespace {

// "<path>.<local date and time>", with "-2", "-3", ... added while that name is taken.
std::string asideName(const std::string& path) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
  std::string target = path + "." + stamp;
  for (int n = 2; exists(target); ++n) target = path + "." + stamp + "-" + std::to_string(n);
  return target;
}

}  // namespace

std::string keepJournalCopy(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  const std::string target = asideName(path);
  int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0 || !writeAllAt(fd, bytes.data(), bytes.size(), 0) || ::fdatasync(fd) != 0) {
    const int error = errno;
    if (fd >= 0) {
      ::close(fd);
      ::unlink(target.c_str());
    }
    throw TableError("Cannot keep a copy of " + path + " as " + target + ": " +
                     std::strerror(error));
  }
  ::close(fd);
  syncFolderOf(target);
  return target;
}

std::string setJournalAside(const std::string& path) {
  const std::string target = asideName(path);
  if (::rename(path.c_str(), target.c_str()) != 0)
    throw TableError("Cannot rename " + path + " to " + target + ": " + std::strerror(errno));
  syncFolderOf(path);
  return target;
}

}  // namespace wf
