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

template <class T, class Allocator, class MajorKey, class MinorKey>
void radixSortStable(std::vector<T, Allocator>& items, MajorKey major, MinorKey minor);

namespace radix_detail {

// A table that was in order and then had a few records appended or edited out of place: the
// items that keep the order are taken as they come, the few that break it are sorted on their
// own and merged in. False (nothing moved) when more than one item in 32 breaks the order.
// Stable: a stray item is smaller than an item taken before it, so no item equal to it comes
// after it in the taken ones, and the merge puts taken items first among equals.
template <class T, class Allocator, class MajorKey, class MinorKey, class Less>
bool nearlySortedMerge(std::vector<T, Allocator>& items, MajorKey major, MinorKey minor,
                       Less less) {
  const std::size_t strayLimit = items.size() / 32;
  std::size_t strayCount = 0;
  std::size_t last = 0;
  for (std::size_t i = 1; i < items.size(); ++i) {
    if (!less(items[i], items[last]))
      last = i;
    else if (++strayCount > strayLimit)
      return false;
  }
  std::vector<T, Allocator> kept(items.get_allocator());
  std::vector<T, Allocator> strays(items.get_allocator());
  kept.reserve(items.size() - strayCount);
  strays.reserve(strayCount);
  kept.push_back(items[0]);
  for (std::size_t i = 1; i < items.size(); ++i)
    (less(items[i], kept.back()) ? strays : kept).push_back(items[i]);
  radixSortStable(strays, major, minor);
  std::merge(kept.begin(), kept.end(), strays.begin(), strays.end(), items.begin(), less);
  return true;
}

}  // namespace radix_detail

// Sorts `items` by (major(item), minor(item)) ascending; items with equal keys keep their order.
// Input already in order, or in order by the major key, costs a read pass instead of the byte
// passes: a table whose file was written in its own order (lines by service number, services
// entered in date order within each vehicle) opens without sorting what is sorted, and one
// nearly in order only sorts the few items out of place.
template <class T, class Allocator, class MajorKey, class MinorKey>
void radixSortStable(std::vector<T, Allocator>& items, MajorKey major, MinorKey minor) {
  if (items.size() < 2) return;
  bool majorSorted = true;
  bool wholeSorted = true;
  for (std::size_t i = 1; i < items.size() && majorSorted; ++i) {
    const std::uint64_t before = major(items[i - 1]);
    const std::uint64_t after = major(items[i]);
    if (after < before)
      majorSorted = false;
    else if (after == before && minor(items[i]) < minor(items[i - 1]))
      wholeSorted = false;
  }
  if (majorSorted && wholeSorted) return;
  const auto less = [&](const T& a, const T& b) {
    const std::uint64_t ma = major(a);
    const std::uint64_t mb = major(b);
    return ma != mb ? ma < mb : minor(a) < minor(b);
  };
  if (!majorSorted && radix_detail::nearlySortedMerge(items, major, minor, less)) return;
  // The scratch buffer only when a byte pass needs one: it is as large as the table's order.
  std::vector<T, Allocator> scratch(items.get_allocator());
  const auto scratchFor = [&](std::size_t count) {
    if (scratch.size() < count) scratch.resize(items.size());
    return scratch.data();
  };
  if (!majorSorted)
    radix_detail::byteSort(items.data(), items.size(), scratchFor(items.size()), major);
  const auto byMinor = [&](const T& a, const T& b) { return minor(a) < minor(b); };
  for (std::size_t run = 0; run < items.size();) {
    const std::uint64_t key = major(items[run]);
    std::size_t end = run + 1;
    bool runSorted = true;
    for (; end < items.size() && major(items[end]) == key; ++end)
      if (minor(items[end]) < minor(items[end - 1])) runSorted = false;
    const std::size_t count = end - run;
    if (runSorted) {
      // already in order: nothing to move
    } else if (count >= radix_detail::kShortRun) {
      radix_detail::byteSort(items.data() + run, count, scratchFor(count), minor);
    } else {
      std::stable_sort(items.begin() + std::ptrdiff_t(run), items.begin() + std::ptrdiff_t(end),
                       byMinor);
    }
    run = end;
  }
}

}  // namespace wf
