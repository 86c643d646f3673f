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

// Tables whose file is already (nearly) in their order take shortcuts; each must give exactly
// what the full sort gives, equal keys in their first order included.
TEST(RadixSortStable, InputInOrderOrNearlySoGivesTheFullSortsResult) {
  struct Case {
    const char* name;
    std::size_t count;
    // Builds the items from i (their sorted position before the disturbance).
    std::function<Item(std::uint32_t, std::mt19937_64&)> make;
    // Disturbs the order: moves or changes some items.
    std::function<void(std::vector<Item>&, std::mt19937_64&)> disturb;
  };
  const auto none = [](std::vector<Item>&, std::mt19937_64&) {};
  const auto ascending = [](std::uint32_t i, std::mt19937_64&) {
    return Item{i / 3, i % 3, 0};  // runs of three equal majors, minors ascending
  };
  const auto moveSome = [](std::size_t moves) {
    return [moves](std::vector<Item>& items, std::mt19937_64& r) {
      for (std::size_t m = 0; m < moves; ++m) {
        const std::size_t from = r() % items.size();
        const std::size_t to = r() % items.size();
        const Item item = items[from];
        items.erase(items.begin() + std::ptrdiff_t(from));
        items.insert(items.begin() + std::ptrdiff_t(to), item);
      }
    };
  };
  const std::vector<Case> cases = {
      {"already in order", 20000, ascending, none},
      {"majors in order, minors of each run reversed", 20000,
       [](std::uint32_t i, std::mt19937_64&) {
         return Item{i / 5, 4 - i % 5, 0};
       },
       none},
      {"majors in order, one long run unsorted", 20000,
       [](std::uint32_t i, std::mt19937_64& r) {
         return Item{i < 10000 ? 0 : i, r() % 50, 0};
       },
       none},
      {"a few items moved", 20000, ascending, moveSome(40)},
      {"a few moved among many equal keys", 20000,
       [](std::uint32_t i, std::mt19937_64&) {
         return Item{i / 1000, 0, 0};
       },
       moveSome(300)},
      {"appended out of place", 20000, ascending,
       [](std::vector<Item>& items, std::mt19937_64& r) {
         for (int k = 0; k < 100; ++k) items.push_back({r() % 7000, r() % 3, 0});
       }},
      {"just over the stray limit", 3200, ascending, moveSome(120)},
      {"reversed", 5000, ascending,
       [](std::vector<Item>& items, std::mt19937_64&) {
         std::reverse(items.begin(), items.end());
       }},
  };
  std::mt19937_64 random(20261211);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Item> items;
    for (std::uint32_t i = 0; i < c.count; ++i) items.push_back(c.make(i, random));
    c.disturb(items, random);
    for (std::uint32_t i = 0; i < items.size(); ++i) items[i].sequence = i;
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
