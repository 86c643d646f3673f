// CRC-32C (the Castagnoli polynomial), the checksum of the change journal's header and records.
// Uses the processor's CRC instruction where there is one, a table otherwise; both give the same
// value.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wf {

// The checksum of `size` bytes, continued from `crc` (0 to start). crc32c(b, crc32c(a)) equals
// the checksum of a followed by b.
std::uint32_t crc32c(const void* data, std::size_t size, std::uint32_t crc = 0);

}  // namespace wf
