// The linear-time stable sort that orders a whole table on open, against std::stable_sort.
#include "store/radix_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace wf {
namespace {

struct Item {
  std::uint64_t major;
  std::uint64_t minor;
  std::uint32_t sequence;  // position before sorting: shows stability
  bool operator==(const Item&) const = default;
};

struct Distribution {
  const char* name;
  std::size_t count;
  std::function<std::uint64_t(std::mt19937_64&)> major;
  std::function<std::uint64_t(std::mt19937_64&)> minor;
};

TEST(RadixSortStable, MatchesAStableComparisonSort) {
  const std::vector<Distribution> cases = {
      {"empty", 0, [](auto&) { return 0; }, [](auto&) { return 0; }},
      {"one item", 1, [](auto& r) { return r(); }, [](auto& r) { return r(); }},
      {"all keys equal", 500, [](auto&) { return 42; }, [](auto&) { return 7; }},
      {"full 64-bit keys", 5000, [](auto& r) { return r(); }, [](auto& r) { return r(); }},
      {"few majors, many equal minors", 5000, [](auto& r) { return r() % 30; },
       [](auto& r) { return r() % 4; }},
      {"only the top bytes differ", 3000, [](auto& r) { return (r() % 5) << 56; },
       [](auto& r) { return (r() % 3) << 60 | 0xFFFF; }},
      {"long runs of one major, sorted by byte passes", 30000, [](auto& r) { return r() % 3; },
       [](auto& r) { return r() % 100000; }},
      {"many short runs, sorted by comparisons", 30000, [](auto& r) { return r() % 1000; },
       [](auto& r) { return r() >> 40; }},
      {"minor only", 3000, [](auto&) { return ~std::uint64_t{0}; },
       [](auto& r) { return r() >> (r() % 64); }},
  };
  std::mt19937_64 random(20261210);
  for (const Distribution& d : cases) {
    SCOPED_TRACE(d.name);
    std::vector<Item> items;
    for (std::uint32_t i = 0; i < d.count; ++i)
      items.push_back({d.major(random), d.minor(random), i});
    std::vector<Item> expected = items;
    std::stable_sort(expected.begin(), expected.end(), [](const Item& a, const Item& b) {
      return a.major != b.major ? a.major < b.major : a.minor < b.minor;
    });
    radixSortStable(
        items, [](const Item& i) { return i.major; }, [](const Item& i) { return i.minor; });
    EXPECT_EQ(items, expected);
  }
}

}  // namespace
}  // namespace wf
