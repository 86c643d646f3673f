// A stable sort of many items by two unsigned 64-bit keys, in linear time for the parts that
// need it. The major key is sorted least significant byte first, one counting pass per byte;
// byte positions where every item holds the same byte are skipped, so keys with few distinct
// high bytes (small integers, dates) cost few passes. Each run of equal major keys is then
// ordered by the minor key: a short run (a vehicle's services) by a comparison sort that stays in
// the caches, a long one by the same byte passes. Used to order a whole table at once, where a
// comparison sort of the whole would spend most of the open time.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace wf {

namespace radix_detail {

// Runs shorter than this are ordered by a comparison sort: they fit in the caches, where a few
// comparisons per item cost less than eight scattering passes over them.
inline constexpr std::size_t kShortRun = 4096;

// Stable least-significant-byte-first sort of [first, first + count) by key(item), using
// `scratch` (at least count items) as the other buffer.
template <class T, class Key>
void byteSort(T* first, std::size_t count, T* scratch, Key key) {
  if (count < 2) return;
  std::array<std::array<std::size_t, 256>, 8> counts{};
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint64_t k = key(first[i]);
    for (std::size_t b = 0; b < 8; ++b) ++counts[b][static_cast<std::uint8_t>(k >> (8 * b))];
  }
  T* from = first;
  T* to = scratch;
  for (std::size_t b = 0; b < 8; ++b) {
    std::array<std::size_t, 256>& c = counts[b];
    if (c[static_cast<std::uint8_t>(key(from[0]) >> (8 * b))] == count) continue;
    std::size_t start = 0;
    for (std::size_t& n : c) start += std::exchange(n, start);
    for (std::size_t i = 0; i < count; ++i)
      to[c[static_cast<std::uint8_t>(key(from[i]) >> (8 * b))]++] = from[i];
    std::swap(from, to);
  }
  if (from != first) std::copy(from, from + count, first);
}

}  // namespace radix_detail

// Sorts `items` by (major(item), minor(item)) ascending; items with equal keys keep their order.
template <class T, class Allocator, class MajorKey, class MinorKey>
void radixSortStable(std::vector<T, Allocator>& items, MajorKey major, MinorKey minor) {
  if (items.size() < 2) return;
  std::vector<T, Allocator> scratch(items.size(), items.get_allocator());
  radix_detail::byteSort(items.data(), items.size(), scratch.data(), major);
  const auto byMinor = [&](const T& a, const T& b) { return minor(a) < minor(b); };
  for (std::size_t run = 0; run < items.size();) {
    const std::uint64_t key = major(items[run]);
    std::size_t end = run + 1;
    while (end < items.size() && major(items[end]) == key) ++end;
    const std::size_t count = end - run;
    if (count >= radix_detail::kShortRun)
      radix_detail::byteSort(items.data() + run, count, scratch.data(), minor);
    else if (count > 1)
      std::stable_sort(items.begin() + std::ptrdiff_t(run), items.begin() + std::ptrdiff_t(end),
                       byMinor);
    run = end;
  }
}

}  // namespace wf
