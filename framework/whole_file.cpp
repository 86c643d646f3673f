#include "framework/whole_file.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <stdexcept>

namespace wf {
namespace {

[[noreturn]] void cannotOpen(const QString& path, const char* why = nullptr) {
  std::string message = "Cannot open file " + path.toStdString();
  if (why != nullptr) message += std::string(": ") + why;
  throw std::runtime_error(message);
}

// Closes the descriptor on every way out.
struct FileDescriptor {
  int fd;
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

QByteArray readWholeFile(const QString& path, std::int64_t maxBytes) {
  // Non-blocking, so that opening a named pipe with no writer returns at once; the kind of
  // file is then checked on what was opened, not on the name.
  FileDescriptor file{
      ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
  if (file.fd < 0) cannotOpen(path);
  struct stat status {};
  if (::fstat(file.fd, &status) != 0) cannotOpen(path);
  if (!S_ISREG(status.st_mode)) cannotOpen(path, "it is not a regular file");
  if (status.st_size > maxBytes) {
    const std::int64_t megabytes = maxBytes / (1024 * 1024);
    throw std::runtime_error(path.toStdString() + " is too large for a picture (" +
                             std::to_string(status.st_size / (1024 * 1024)) +
                             " MB; the largest picture file taken is " + std::to_string(megabytes) +
                             " MB)");
  }
  QByteArray bytes;
  bytes.resize(static_cast<qsizetype>(status.st_size));
  qsizetype filled = 0;
  // The file may change while it is read: what is there up to the size first seen is taken.
  while (filled < bytes.size()) {
    const ssize_t got =
        ::read(file.fd, bytes.data() + filled, static_cast<std::size_t>(bytes.size() - filled));
    if (got < 0) {
      if (errno == EINTR) continue;
      cannotOpen(path);
    }
    if (got == 0) break;
    filled += got;
  }
  bytes.truncate(filled);
  return bytes;
}

}  // namespace wf
