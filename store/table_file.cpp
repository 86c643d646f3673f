#include "store/table_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "store/table_error.h"
#include "store/table_identity.h"
#include "store/write_behind_sink.h"

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

[[noreturn]] void cannotCreate(const std::string& path, int error) {
  throw FileWriteError("Cannot create file " + path, std::strerror(error));
}

[[noreturn]] void writeFailed(int error) {
  throw FileWriteError(std::strerror(error), std::strerror(error));
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

// Opens an existing regular file for reading under a shared lock: other readers are welcome; a
// writer that also locks waits until we are done. -1 when no file exists at path.
int openLockedForReading(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return -1;
    throw TableError("Cannot open file " + path);
  }
  FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0 || !S_ISREG(info.st_mode)) throw TableError("Cannot open file " + path);
  while (::flock(file.get(), LOCK_SH) != 0 && errno == EINTR) {}
  return file.release();
}

std::vector<unsigned char> readAll(int fd, const std::string& path) {
  std::vector<unsigned char> content;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && info.st_size > 0)
    content.reserve(static_cast<std::size_t>(info.st_size));
  unsigned char buffer[1 << 16];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw TableError("Cannot open file " + path);
    }
    if (got == 0) break;
    content.insert(content.end(), buffer, buffer + got);
  }
  return content;
}

}  // namespace

std::optional<std::vector<unsigned char>> readTableFile(const std::string& path) {
  FileHandle file(openLockedForReading(path));
  if (file.get() < 0) return std::nullopt;
  return readAll(file.get(), path);
}

std::unique_ptr<MappedTableFile> MappedTableFile::open(const std::string& path) {
  FileHandle file(openLockedForReading(path));
  if (file.get() < 0) return nullptr;
  std::unique_ptr<MappedTableFile> content(new MappedTableFile());
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) throw TableError("Cannot open file " + path);
  if (info.st_size > 0) {
    // Populated at once: one call maps every page instead of one fault per page while decoding.
    void* mapping = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ,
                           MAP_PRIVATE | MAP_POPULATE, file.get(), 0);
    if (mapping != MAP_FAILED) {
      content->mapping_ = mapping;
      content->data_ = static_cast<const unsigned char*>(mapping);
      content->size_ = static_cast<std::size_t>(info.st_size);
    }
  }
  if (content->mapping_ == nullptr) {
    content->copy_ = readAll(file.get(), path);
    content->data_ = content->copy_.data();
    content->size_ = content->copy_.size();
  }
  content->fd_ = file.release();
  return content;
}

MappedTableFile::~MappedTableFile() {
  if (mapping_ != nullptr) ::munmap(mapping_, size_);
  if (fd_ >= 0) ::close(fd_);
}

namespace {

// Writes into the temporary file as bytes arrive. Every few megabytes it asks the kernel to start
// putting what it has on disk, so that the closing fsync finds little left to do and the disk
// works while the next rows are encoded.
class TempFileSink : public ByteSink {
 public:
  explicit TempFileSink(int fd) : fd_(fd) {}

  void append(const uint8_t* data, std::size_t size) override {
    if (!writeAll(fd_, data, size)) fail(errno);
    written_ += size;
    if (written_ - flushRequested_ >= kWritebackStep) {
      // Only a hint: where the file system does not support it, fsync does all the work.
      ::sync_file_range(fd_, off_t(flushRequested_), off_t(written_ - flushRequested_),
                        SYNC_FILE_RANGE_WRITE);
      flushRequested_ = written_;
    }
  }

  void overwrite(std::size_t offset, const uint8_t* data, std::size_t size) override {
    while (size > 0) {
      ssize_t done = ::pwrite(fd_, data, size, off_t(offset));
      if (done < 0) {
        if (errno == EINTR) continue;
        fail(errno);
      }
      data += done;
      offset += std::size_t(done);
      size -= std::size_t(done);
    }
  }

 private:
  static constexpr std::size_t kWritebackStep = 8 << 20;

  [[noreturn]] static void fail(int error) { writeFailed(error); }

  int fd_;
  std::size_t written_ = 0;
  std::size_t flushRequested_ = 0;
};

// The permissions the new file gets: the old file's, or the usual ones for a new file.
mode_t modeForNewFile(const struct stat* old) {
  if (old != nullptr) return old->st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

void streamTableFile(const std::string& path, const std::function<void(ByteSink&)>& produce,
                     const std::function<void(const TableFileIdentity&)>& beforeRename) {
  // An existing file without any write permission is read-only: it is not replaced.
  struct stat old {};
  bool exists = ::stat(path.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) cannotCreate(path, EISDIR);
  if (exists && (old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) cannotCreate(path, EACCES);

  std::string tempPath = path + kTableWriteSuffix + "XXXXXX";
  std::vector<char> name(tempPath.begin(), tempPath.end());
  name.push_back('\0');
  FileHandle temp(::mkstemp(name.data()));
  if (temp.get() < 0) cannotCreate(path, errno);
  tempPath.assign(name.data());

  // From here on every failure removes the temporary file; the old file was never touched.
  try {
    if (::fchmod(temp.get(), modeForNewFile(exists ? &old : nullptr)) != 0)
      cannotCreate(path, errno);
    TempFileSink file(temp.get());
    WriteBehindSink sink(file);
    produce(sink);
    sink.finish();
    if (::fsync(temp.get()) != 0) writeFailed(errno);
    if (::close(temp.release()) != 0) writeFailed(errno);
    // Read back from the page cache the write just filled.
    if (beforeRename) beforeRename(identifyTableFile(tempPath));
    if (::rename(tempPath.c_str(), path.c_str()) != 0) cannotCreate(path, errno);
  } catch (...) {
    ::unlink(tempPath.c_str());
    throw;
  }
  // Make the rename itself durable.
  FileHandle dir(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

int removeStaleTableWrites(const std::string& path) {
  const std::string folder = folderOf(path);
  const std::size_t slash = path.find_last_of('/');
  const std::string prefix =
      (slash == std::string::npos ? path : path.substr(slash + 1)) + kTableWriteSuffix;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return 0;
  int removed = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    // mkstemp's six characters are letters and digits.
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0 ||
        !std::all_of(name.begin() + std::ptrdiff_t(prefix.size()), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }))
      continue;
    const std::string full = folder + "/" + name;
    struct stat info {};
    if (::lstat(full.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::unlink(full.c_str()) == 0)
      ++removed;
  }
  ::closedir(dir);
  if (removed > 0) {
    FileHandle handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.get() >= 0) ::fsync(handle.get());
  }
  return removed;
}

void writeTableFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  streamTableFile(path, [&](ByteSink& sink) { sink.append(bytes.data(), bytes.size()); });
}

}  // namespace wf
