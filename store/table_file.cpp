#include "store/table_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "store/table_error.h"

namespace wf {

namespace {

// Closes a descriptor on every path.
class FileHandle {
 public:
  explicit FileHandle(int fd) : fd_(fd) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

std::string folderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

[[noreturn]] void cannotCreate(const std::string& path) {
  throw TableError("Cannot create file " + path);
}

bool writeAll(int fd, const unsigned char* data, std::size_t size) {
  while (size > 0) {
    ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

std::optional<std::vector<unsigned char>> readTableFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    throw TableError("Cannot open file " + path);
  }
  FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0 || !S_ISREG(info.st_mode)) throw TableError("Cannot open file " + path);
  // Other readers are welcome; a writer that also locks waits until we are done.
  while (::flock(file.get(), LOCK_SH) != 0 && errno == EINTR) {
  }
  std::vector<unsigned char> content;
  if (::fstat(file.get(), &info) == 0 && info.st_size > 0)
    content.reserve(static_cast<std::size_t>(info.st_size));
  unsigned char buffer[1 << 16];
  for (;;) {
    ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw TableError("Cannot open file " + path);
    }
    if (got == 0) break;
    content.insert(content.end(), buffer, buffer + got);
  }
  return content;
}

void writeTableFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  // An existing file without any write permission is read-only: it is not replaced.
  struct stat old {};
  bool exists = ::stat(path.c_str(), &old) == 0;
  if (exists && (!S_ISREG(old.st_mode) || (old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0))
    cannotCreate(path);

  std::string folder = folderOf(path);
  std::string tempPath = path + ".XXXXXX";
  std::vector<char> name(tempPath.begin(), tempPath.end());
  name.push_back('\0');
  FileHandle temp(::mkstemp(name.data()));
  if (temp.get() < 0) cannotCreate(path);
  tempPath.assign(name.data());

  auto abandon = [&](bool creating, int error) {
    ::unlink(tempPath.c_str());
    if (creating) cannotCreate(path);
    throw TableError(std::strerror(error));
  };
  // Keep the permissions the old file had; a new file gets the usual ones.
  mode_t mode = exists ? (old.st_mode & 07777) : 0666;
  if (!exists) {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  if (::fchmod(temp.get(), mode) != 0) abandon(true, errno);
  if (!writeAll(temp.get(), bytes.data(), bytes.size())) abandon(false, errno);
  if (::fsync(temp.get()) != 0) abandon(false, errno);
  if (::close(temp.release()) != 0) abandon(false, errno);
  if (::rename(tempPath.c_str(), path.c_str()) != 0) abandon(true, errno);
  // Make the rename itself durable.
  FileHandle dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace wf
