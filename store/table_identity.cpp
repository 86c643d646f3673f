#include "store/table_identity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace wf {

namespace {

bool statFile(const std::string& path, TableFileIdentity& identity) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  identity.exists = true;
  identity.size = static_cast<std::uint64_t>(info.st_size);
  identity.modifiedSeconds = info.st_mtim.tv_sec;
  identity.modifiedNanoseconds = static_cast<std::uint32_t>(info.st_mtim.tv_nsec);
  return true;
}

bool readAt(int fd, std::uint8_t* data, std::size_t size, off_t offset) {
  while (size > 0) {
    ssize_t got = ::pread(fd, data, size, offset);
    if (got <= 0) return false;
    data += got;
    size -= static_cast<std::size_t>(got);
    offset += got;
  }
  return true;
}

}  // namespace

TableFileIdentity identifyTableFile(const std::string& path,
                                    std::span<const std::uint8_t> content) {
  TableFileIdentity identity;
  if (!statFile(path, identity)) return TableFileIdentity();
  identity.sampleCrc = sampleCrcOf(content);
  return identity;
}

TableFileIdentity identifyTableFile(const std::string& path) {
  TableFileIdentity identity;
  if (!statFile(path, identity)) return TableFileIdentity();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return identity;  // exists but unreadable: the checksum stays 0
  const std::size_t size = identity.size;
  std::vector<std::uint8_t> sample;
  bool read = false;
  if (size <= 2 * kJournalSampleBytes) {
    sample.resize(size);
    read = readAt(fd, sample.data(), size, 0);
  } else {
    sample.resize(2 * kJournalSampleBytes);
    read = readAt(fd, sample.data(), kJournalSampleBytes, 0) &&
           readAt(fd, sample.data() + kJournalSampleBytes, kJournalSampleBytes,
                  static_cast<off_t>(size - kJournalSampleBytes));
  }
  ::close(fd);
  if (read) identity.sampleCrc = sampleCrcOf(sample);
  return identity;
}

}  // namespace wf
