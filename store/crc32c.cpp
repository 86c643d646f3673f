#include "store/crc32c.h"

#include <array>
#include <cstring>

namespace wf {

namespace {

constexpr std::uint32_t kPolynomial = 0x82F63B78;  // reflected

// Eight tables, so that the portable path takes eight bytes per step.
using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr Tables makeTables() {
  Tables t{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ kPolynomial : c >> 1;
    t[0][i] = c;
  }
  for (std::size_t i = 0; i < 256; ++i)
    for (std::size_t k = 1; k < 8; ++k) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
  return t;
}

constexpr Tables kTables = makeTables();

std::uint32_t portable(const unsigned char* p, std::size_t size, std::uint32_t c) {
  while (size >= 8) {
    std::uint32_t low, high;
    std::memcpy(&low, p, 4);
    std::memcpy(&high, p + 4, 4);
    low ^= c;  // little-endian hosts only, as the rest of the store
    c = kTables[7][low & 0xFF] ^ kTables[6][(low >> 8) & 0xFF] ^ kTables[5][(low >> 16) & 0xFF] ^
        kTables[4][low >> 24] ^ kTables[3][high & 0xFF] ^ kTables[2][(high >> 8) & 0xFF] ^
        kTables[1][(high >> 16) & 0xFF] ^ kTables[0][high >> 24];
    p += 8;
    size -= 8;
  }
  while (size-- > 0) c = (c >> 8) ^ kTables[0][(c ^ *p++) & 0xFF];
  return c;
}

#if defined(__x86_64__)
__attribute__((target("sse4.2"))) std::uint32_t hardware(const unsigned char* p, std::size_t size,
                                                         std::uint32_t c) {
  std::uint64_t c64 = c;
  while (size >= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    c64 = __builtin_ia32_crc32di(c64, word);
    p += 8;
    size -= 8;
  }
  c = static_cast<std::uint32_t>(c64);
  while (size-- > 0) c = __builtin_ia32_crc32qi(c, *p++);
  return c;
}

bool hasHardware() {
  static const bool has = __builtin_cpu_supports("sse4.2");
  return has;
}
#endif

}  // namespace

std::uint32_t crc32c(const void* data, std::size_t size, std::uint32_t crc) {
  const auto* p = static_cast<const unsigned char*>(data);
  std::uint32_t c = ~crc;
#if defined(__x86_64__)
  if (hasHardware()) return ~hardware(p, size, c);
#endif
  return ~portable(p, size, c);
}

}  // namespace wf
