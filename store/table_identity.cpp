#include "store/table_identity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "store/crc32c.h"

namespace wf {

TableFileIdentity identifyContent(std::span<const std::uint8_t> content) {
  return {true, content.size(), crc32c(content.data(), content.size())};
}

TableFileIdentity identifyTableFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return TableFileIdentity();
  TableFileIdentity identity{true, static_cast<std::uint64_t>(info.st_size), 0};
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return identity;  // exists but unreadable: the checksum stays 0
  std::uint32_t crc = 0;
  std::uint64_t read = 0;
  std::vector<std::uint8_t> buffer(1 << 20);
  for (;;) {
    ssize_t got = ::read(fd, buffer.data(), buffer.size());
    if (got <= 0) break;
    crc = crc32c(buffer.data(), static_cast<std::size_t>(got), crc);
    read += static_cast<std::uint64_t>(got);
  }
  ::close(fd);
  identity.size = read;
  identity.crc = crc;
  return identity;
}

LegacyFileStamp legacyStampOf(const std::string& path, std::span<const std::uint8_t> content) {
  LegacyFileStamp stamp;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return stamp;
  stamp.modifiedSeconds = info.st_mtim.tv_sec;
  stamp.modifiedNanoseconds = static_cast<std::uint32_t>(info.st_mtim.tv_nsec);
  stamp.sampleCrc = sampleCrcOf(content);
  return stamp;
}

}  // namespace wf
