// A stable sort of many items by two unsigned 64-bit keys, in linear time: least significant
// byte first, one counting pass per byte. Byte positions where every item holds the same byte
// are skipped, so keys with few distinct high bytes (small integers, dates) cost few passes.
// Used to order a whole table at once, where a comparison sort spends most of the open time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace wf {

// Sorts `items` by (major(item), minor(item)) ascending; items with equal keys keep their order.
template <class T, class MajorKey, class MinorKey>
void radixSortStable(std::vector<T>& items, MajorKey major, MinorKey minor) {
  constexpr std::size_t kBytes = 16;  // minor key bytes 0..7, then major key bytes 8..15
  auto keyByte = [&](const T& item, std::size_t position) -> std::uint8_t {
    const std::uint64_t key = position < 8 ? minor(item) : major(item);
    return static_cast<std::uint8_t>(key >> (8 * (position % 8)));
  };
  std::vector<std::array<std::size_t, 256>> counts(kBytes);
  for (std::array<std::size_t, 256>& c : counts) c.fill(0);
  for (const T& item : items) {
    const std::uint64_t lo = minor(item);
    const std::uint64_t hi = major(item);
    for (std::size_t b = 0; b < 8; ++b) {
      ++counts[b][static_cast<std::uint8_t>(lo >> (8 * b))];
      ++counts[8 + b][static_cast<std::uint8_t>(hi >> (8 * b))];
    }
  }
  std::vector<T> scratch;
  for (std::size_t position = 0; position < kBytes; ++position) {
    std::array<std::size_t, 256>& c = counts[position];
    if (items.empty() || c[keyByte(items.front(), position)] == items.size()) continue;
    std::size_t start = 0;
    for (std::size_t& count : c) {
      const std::size_t n = count;
      count = start;
      start += n;
    }
    scratch.resize(items.size());
    for (const T& item : items) scratch[c[keyByte(item, position)]++] = item;
    items.swap(scratch);
  }
}

}  // namespace wf
