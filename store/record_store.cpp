#include "store/record_store.h"

#include "store/huge_page_allocator.h"
#include "store/null_value.h"
#include "store/radix_sort.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <limits>
#include <mutex>
#include <new>
#include <numeric>
#include <thread>
#include <unordered_map>

#include "store/collation.h"
#include "store/table_error.h"

namespace wf {

namespace {

constexpr std::uint64_t kHasValueBit = std::uint64_t{1} << 63;
// Integer keys are biased by this much so that negative ones sort below positive ones as
// unsigned numbers; every integer a column holds (at most 41 bits with its sign) stays positive.
constexpr std::int64_t kIntegerKeyBias = std::int64_t{1} << 40;

// Maps a double to an unsigned key whose order is the numeric order; never 0 (the key of no
// value), as every NaN maps to the one positive quiet NaN.
std::uint64_t orderedBits(double v) {
  if (v == 0) v = 0;  // -0 and +0 are equal keys
  if (std::isnan(v)) v = std::numeric_limits<double>::quiet_NaN();
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return (bits & kHasValueBit) ? ~bits : bits | kHasValueBit;
}

}  // namespace

// Record images live in 2 MiB chunks; large images (pictures) get an allocation of their own
// so that they are released as soon as their record goes. A record is known by a 32-bit
// handle: chunk number and offset for a small image, the large bit and an index otherwise.
class RecordStore::Arena {
 public:
  using Handle = std::uint32_t;
  static constexpr Handle kNone = 0xFFFFFFFF;
  static constexpr Handle kLargeBit = 0x80000000;
  // A chunk is the size of a huge page. From the second chunk on (a large table) it asks to be
  // one where the system offers them: filling it then takes one page fault instead of 512. A
  // small table keeps ordinary pages, of which it touches only what it uses.
  static constexpr int kChunkBits = 21;
  static constexpr std::size_t kChunk = std::size_t{1} << kChunkBits;
  static constexpr std::size_t kMaxChunks = std::size_t{1} << (31 - kChunkBits);
  static constexpr std::size_t kLarge = std::size_t{64} << 10;

  Handle allocate(std::size_t size, std::uint8_t*& image) {
    if (size < kLarge) {
      if (chunks_.empty() || used_ + size > kChunk) {
        if (chunks_.size() < kMaxChunks) {
          std::uint8_t* ready = supply_ && !chunks_.empty() ? supply_->take() : nullptr;
          chunks_.push_back(ready ? Chunk(ready) : allocateChunk(!chunks_.empty()));
          used_ = 0;
        }
      }
      if (!chunks_.empty() && used_ + size <= kChunk) {
        Handle handle = static_cast<Handle>(((chunks_.size() - 1) << kChunkBits) | used_);
        image = chunks_.back().get() + used_;
        used_ += size;
        return handle;
      }
    }
    auto block = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    image = block.get();
    populate(image, size);
    return adoptLarge(std::move(block));
  }
  // Chunks mapped ahead, at most `bytes` worth; stops (and frees what is left) on endSupply().
  void beginSupply(std::size_t bytes) {
    supply_ = std::make_unique<ChunkSupply>(bytes / kChunk + 1);
  }
  void endSupply() { supply_.reset(); }

  const std::uint8_t* at(Handle handle) const {
    if (handle & kLargeBit) return large_[handle & ~kLargeBit].get();
    return chunks_[handle >> kChunkBits].get() + (handle & (kChunk - 1));
  }
  bool isLarge(Handle handle) const { return (handle & kLargeBit) != 0; }
  // Frees a large image at once; small ones wait for compaction. True when freed.
  bool release(Handle handle) {
    if (!isLarge(handle)) return false;
    large_[handle & ~kLargeBit].reset();
    freeLarge_.push_back(handle & ~kLargeBit);
    return true;
  }
  std::unique_ptr<std::uint8_t[]> takeLarge(Handle handle) {
    std::unique_ptr<std::uint8_t[]> block = std::move(large_[handle & ~kLargeBit]);
    freeLarge_.push_back(handle & ~kLargeBit);
    return block;
  }
  Handle adoptLarge(std::unique_ptr<std::uint8_t[]> block) {
    Handle index;
    if (!freeLarge_.empty()) {
      index = freeLarge_.back();
      freeLarge_.pop_back();
      large_[index] = std::move(block);
    } else {
      if (large_.size() >= kLargeBit - 1) throw EngineError(kEngineErrorRecordTooLarge);
      index = static_cast<Handle>(large_.size());
      large_.push_back(std::move(block));
    }
    return index | kLargeBit;
  }

 private:
  struct FreeChunk {
    void operator()(std::uint8_t* chunk) const { std::free(chunk); }
  };
  using Chunk = std::unique_ptr<std::uint8_t[], FreeChunk>;

  // Maps the fresh pages of a large image in one call, before it is filled: a page fault per
  // 4 KiB page costs more than the copy itself. Only a hint; the copy faults them in otherwise.
  static void populate(std::uint8_t* block, std::size_t size) {
#ifdef MADV_POPULATE_WRITE
    static const std::uintptr_t pageMask = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE)) - 1;
    const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(block) + pageMask) & ~pageMask;
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(block) + size) & ~pageMask;
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)block;
    (void)size;
#endif
  }

  static Chunk allocateChunk(bool hugePage) {
    void* memory = std::aligned_alloc(kChunk, kChunk);
    if (memory == nullptr) throw std::bad_alloc();
    if (hugePage) ::madvise(memory, kChunk, MADV_HUGEPAGE);  // a hint; plain pages serve as well
    return Chunk(static_cast<std::uint8_t*>(memory));
  }

  // Maps huge-page chunks on its own thread, a few ahead of their use, until it has made as
  // many as it was asked for or is destroyed. The storing thread takes a ready one when there
  // is one and maps its own otherwise, so it never waits for this thread.
  class ChunkSupply {
   public:
    explicit ChunkSupply(std::size_t chunks) : remaining_(chunks), thread_([this] { run(); }) {}
    ~ChunkSupply() {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
      }
      wake_.notify_all();
      thread_.join();
      for (std::uint8_t* chunk : ready_) std::free(chunk);
    }
    std::uint8_t* take() {
      std::uint8_t* chunk = nullptr;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (ready_.empty()) return nullptr;
        chunk = ready_.front();
        ready_.pop_front();
      }
      wake_.notify_all();
      return chunk;
    }

   private:
    static constexpr std::size_t kAhead = 4;
    void run() {
      for (;;) {
        {
          std::unique_lock<std::mutex> lock(mutex_);
          wake_.wait(lock, [&] { return stop_ || ready_.size() < kAhead; });
          if (stop_ || remaining_ == 0) return;
          --remaining_;
        }
        void* memory = std::aligned_alloc(kChunk, kChunk);
        if (memory == nullptr) return;  // the storing thread maps its own, or fails there
        ::madvise(memory, kChunk, MADV_HUGEPAGE);
        populate(static_cast<std::uint8_t*>(memory), kChunk);
        std::lock_guard<std::mutex> lock(mutex_);
        ready_.push_back(static_cast<std::uint8_t*>(memory));
      }
    }
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::uint8_t*> ready_;
    std::size_t remaining_;
    bool stop_ = false;
    std::thread thread_;  // last: starts once the members it uses exist
  };

  std::vector<Chunk> chunks_;
  std::unique_ptr<ChunkSupply> supply_;
  std::size_t used_ = 0;
  std::vector<std::unique_ptr<std::uint8_t[]>> large_;
  std::vector<Handle> freeLarge_;
};

RecordStore::RecordStore(std::vector<TFieldType> types, std::vector<int> widths,
                         std::shared_ptr<const Collation> collation)
    : layout_(std::move(types), std::move(widths)),
      collation_(std::move(collation)),
      arena_(std::make_unique<Arena>()) {}

RecordStore::~RecordStore() = default;

void RecordStore::beginBulkLoad(std::size_t bytes) { arena_->beginSupply(bytes); }

void RecordStore::endBulkLoad() { arena_->endSupply(); }

void RecordStore::reserve(std::size_t records) {
  slots_.reserve(records);
  orderKeys_.reserve(records);
  order_.reserve(records);
}

std::uint32_t RecordStore::encode(const std::vector<Value>& values) {
  viewScratch_.resize(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) viewScratch_[i] = ValueView::of(values[i]);
  return encode(viewScratch_);
}

std::uint32_t RecordStore::encode(const std::vector<ValueView>& values) {
  if (values.size() != layout_.columnCount()) throw EngineError(kEngineErrorDamagedPacket);
  const std::size_t size = layout_.encodedSize(values);
  if (size > std::numeric_limits<std::uint32_t>::max())
    throw EngineError(kEngineErrorRecordTooLarge);
  std::uint8_t* image = nullptr;
  const std::uint32_t handle = arena_->allocate(size, image);
  layout_.write(values, image);
  liveBytes_ += size;
  return handle;
}

FieldRef RecordStore::field(const std::uint8_t* image, int column) const {
  return layout_.field(image, static_cast<std::size_t>(column));
}

std::size_t RecordStore::imageSize(const std::uint8_t* image) const {
  return layout_.imageSize(image);
}

Value RecordStore::value(const std::uint8_t* image, int column) const {
  return layout_.value(image, static_cast<std::size_t>(column));
}

void RecordStore::views(const std::uint8_t* image, std::vector<ValueView>& out) const {
  layout_.views(image, out);
}

void RecordStore::values(const std::uint8_t* image, std::vector<Value>& out) const {
  std::vector<ValueView> views;
  this->views(image, views);
  out.resize(views.size());
  for (std::size_t i = 0; i < views.size(); ++i) views[i].assignTo(out[i]);
}

const std::uint8_t* RecordStore::image(Slot slot) const {
  std::uint32_t handle = slots_[slot];
  return handle == Arena::kNone ? nullptr : arena_->at(handle);
}

RecordStore::Slot RecordStore::add(const std::vector<Value>& values) {
  if (slots_.size() >= std::numeric_limits<Slot>::max())
    throw EngineError(kEngineErrorRecordTooLarge);
  return adopt(encode(values));
}

RecordStore::Slot RecordStore::add(const std::vector<ValueView>& values) {
  if (slots_.size() >= std::numeric_limits<Slot>::max())
    throw EngineError(kEngineErrorRecordTooLarge);
  return adopt(encode(values));
}

RecordStore::Slot RecordStore::adopt(std::uint32_t handle) {
  Slot slot = static_cast<Slot>(slots_.size());
  slots_.push_back(handle);
  ++live_;
  return slot;
}

void RecordStore::forget(Slot slot) {
  std::uint32_t old = slots_[slot];
  std::size_t oldSize = imageSize(arena_->at(old));
  liveBytes_ -= oldSize;
  if (!arena_->release(old)) deadBytes_ += oldSize;
}

void RecordStore::replace(Slot slot, const std::vector<Value>& values) {
  std::uint32_t handle = encode(values);
  forget(slot);
  slots_[slot] = handle;
  maybeCompact();
}

void RecordStore::erase(Slot slot) {
  forget(slot);
  slots_[slot] = Arena::kNone;
  --live_;
  maybeCompact();
}

void RecordStore::maybeCompact() {
  constexpr std::size_t kMinDead = std::size_t{16} << 20;
  if (deadBytes_ < kMinDead || deadBytes_ < liveBytes_) return;
  auto fresh = std::make_unique<Arena>();
  for (std::uint32_t& handle : slots_) {
    if (handle == Arena::kNone) continue;
    if (arena_->isLarge(handle)) {
      handle = fresh->adoptLarge(arena_->takeLarge(handle));
      continue;
    }
    const std::uint8_t* old = arena_->at(handle);
    std::size_t size = imageSize(old);
    std::uint8_t* copy = nullptr;
    handle = fresh->allocate(size, copy);
    std::memcpy(copy, old, size);
  }
  arena_ = std::move(fresh);
  deadBytes_ = 0;
}

std::uint64_t RecordStore::prefixOf(int column, const FieldRef& ref) const {
  TFieldType type = layout_.type(static_cast<std::size_t>(column));
  if (type == ftString)
    return ref.hasValue() ? collation_->prefix(ref.bytes) : Collation::kNoValuePrefix;
  if (!ref.hasValue()) return 0;
  if (isIntegerType(type))
    return kHasValueBit | static_cast<std::uint64_t>(ref.integer + kIntegerKeyBias);
  if (isFloatType(type)) return orderedBits(ref.number);
  return kHasValueBit;
}

// Integer and floating-point prefixes hold the whole value: equal prefixes mean equal fields.
bool RecordStore::exactPrefix(int column) const {
  TFieldType type = layout_.type(static_cast<std::size_t>(column));
  return isIntegerType(type) || isFloatType(type);
}

std::uint64_t RecordStore::prefixOfSlot(Slot slot) const {
  return prefixOf(orderColumns_[0], field(image(slot), orderColumns_[0]));
}

namespace {

// -1 or 1 when the prefixes decide, 0 when the fields must be compared.
inline int comparePrefix(bool stringKey, std::uint64_t a, std::uint64_t b) {
  if (stringKey) return Collation::comparePrefixes(a, b);
  return a < b ? -1 : (a > b ? 1 : 0);
}

template <class T>
int threeWay(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

int RecordStore::compareRefs(int column, const FieldRef& a, const FieldRef& b) const {
  if (!a.hasValue() || !b.hasValue()) return threeWay(a.hasValue(), b.hasValue());
  TFieldType type = layout_.type(static_cast<std::size_t>(column));
  if (isIntegerType(type)) return threeWay(a.integer, b.integer);
  if (isFloatType(type)) return threeWay(a.number, b.number);
  if (type == ftString) return collation_->compare(a.bytes, b.bytes);
  return threeWay(a.bytes.compare(b.bytes), 0);
}

int RecordStore::comparePrefixes(std::uint64_t a0, std::uint64_t b0, std::uint64_t a1,
                                 std::uint64_t b1) const {
  if (int p = comparePrefix(firstIsString_, a0, b0)) return p;
  if (useSecondPrefix_) return comparePrefix(secondIsString_, a1, b1);
  return 0;
}

int RecordStore::compareFields(Slot a, Slot b) const {
  for (int column : orderColumns_)
    if (int c = compareRefs(column, field(image(a), column), field(image(b), column))) return c;
  return 0;
}

int RecordStore::compareKey(const FieldRef& key, std::uint64_t keyPrefix,
                            std::size_t position) const {
  int column = orderColumns_[0];
  if (int p = comparePrefix(firstIsString_, keyPrefix, orderKeys_[position])) return p;
  Slot slot = order_[position];
  if (exactPrefix(column)) return 0;
  return compareRefs(column, key, field(image(slot), column));
}

void RecordStore::setOrderColumns(std::vector<int> columns) {
  orderColumns_ = std::move(columns);
  firstIsString_ = !orderColumns_.empty() &&
                   layout_.type(static_cast<std::size_t>(orderColumns_[0])) == ftString;
  useSecondPrefix_ = orderColumns_.size() >= 2 && exactPrefix(orderColumns_[0]);
  secondIsString_ =
      useSecondPrefix_ && layout_.type(static_cast<std::size_t>(orderColumns_[1])) == ftString;
  sortAll();
}

void RecordStore::sortAll() {
  // The order so far (or the storage order) decides between equal keys.
  if (order_.size() != live_) {
    order_.clear();
    for (Slot s = 0; s < slots_.size(); ++s)
      if (slots_[s] != Arena::kNone) order_.push_back(s);
  }
  orderKeys_.assign(order_.size(), 0);
  if (orderColumns_.empty()) return;
  if (order_.size() == 1) orderKeys_[0] = prefixOfSlot(order_[0]);
  if (order_.size() < 2) return;
  // When the prefixes are the whole keys, compared as integers, a table already in its order
  // (a file written from it, or entered in its order) needs no sort, nor the sort's arrays.
  bool prefixesAreKeys =
      exactPrefix(orderColumns_[0]) &&
      (orderColumns_.size() == 1 ||
       (orderColumns_.size() == 2 && useSecondPrefix_ && exactPrefix(orderColumns_[1])));
  if (prefixesAreKeys) {
    bool inOrder = true;
    std::uint64_t lastPrefix = 0;
    std::uint64_t lastSecond = 0;
    for (std::size_t i = 0; i < order_.size() && inOrder; ++i) {
      const Slot slot = order_[i];
      const std::uint64_t prefix = prefixOfSlot(slot);
      const std::uint64_t second =
          useSecondPrefix_ ? prefixOf(orderColumns_[1], field(image(slot), orderColumns_[1])) : 0;
      inOrder = i == 0 || lastPrefix < prefix || (lastPrefix == prefix && lastSecond <= second);
      orderKeys_[i] = prefix;
      lastPrefix = prefix;
      lastSecond = second;
    }
    if (inOrder) return;
  }
  struct Entry {
    std::uint64_t prefix;
    std::uint64_t second;
    Slot slot;
    std::uint32_t sequence;
  };
  std::vector<Entry, HugePageAllocator<Entry>> entries;
  entries.reserve(order_.size());
  for (std::size_t i = 0; i < order_.size(); ++i) {
    Slot slot = order_[i];
    std::uint64_t second =
        useSecondPrefix_ ? prefixOf(orderColumns_[1], field(image(slot), orderColumns_[1])) : 0;
    entries.push_back({prefixOfSlot(slot), second, slot, static_cast<std::uint32_t>(i)});
  }
  // When every string prefix is complete, prefixes compare as plain integers; when they also
  // hold every order field whole, equal prefixes are equal keys.
  auto complete = [](bool isString, std::uint64_t prefix) {
    return !isString || Collation::prefixFullyKnown(prefix);
  };
  bool allComplete = true;
  for (const Entry& e : entries)
    if (!complete(firstIsString_, e.prefix) || !complete(secondIsString_, e.second)) {
      allComplete = false;
      break;
    }
  if (allComplete) {
    // Prefixes compare as integers: sort by them in linear time (entries start in sequence
    // order and the sort is stable), then order runs of equal prefixes by the fields themselves
    // unless the prefixes already are the whole keys.
    radixSortStable(
        entries, [](const Entry& e) { return e.prefix; }, [](const Entry& e) { return e.second; });
    if (!prefixesAreKeys) {
      auto byFields = [&](const Entry& a, const Entry& b) {
        return compareFields(a.slot, b.slot) < 0;
      };
      for (auto run = entries.begin(); run != entries.end();) {
        auto end = std::find_if(run, entries.end(), [&](const Entry& e) {
          return e.prefix != run->prefix || e.second != run->second;
        });
        if (end - run > 1) std::stable_sort(run, end, byFields);
        run = end;
      }
    }
  } else {
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
      if (int p = comparePrefixes(a.prefix, b.prefix, a.second, b.second)) return p < 0;
      if (int c = compareFields(a.slot, b.slot)) return c < 0;
      return a.sequence < b.sequence;
    });
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    order_[i] = entries[i].slot;
    orderKeys_[i] = entries[i].prefix;
  }
}

std::size_t RecordStore::enterOrder(Slot slot) {
  std::size_t lo = 0;
  std::size_t hi = order_.size();
  std::uint64_t prefix = 0;
  if (!orderColumns_.empty()) {
    prefix = prefixOfSlot(slot);
    while (lo < hi) {  // first position whose record sorts after the new one
      std::size_t mid = lo + (hi - lo) / 2;
      int c = comparePrefix(firstIsString_, orderKeys_[mid], prefix);
      if (c == 0) c = compareFields(order_[mid], slot);
      if (c <= 0)
        lo = mid + 1;
      else
        hi = mid;
    }
  } else {
    lo = hi;
  }
  order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(lo), slot);
  orderKeys_.insert(orderKeys_.begin() + static_cast<std::ptrdiff_t>(lo), prefix);
  return lo;
}

void RecordStore::leaveOrder(std::size_t position) {
  order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(position));
  orderKeys_.erase(orderKeys_.begin() + static_cast<std::ptrdiff_t>(position));
}

bool RecordStore::sameKey(const std::uint8_t* image, const std::vector<Value>& values) const {
  for (int column : orderColumns_) {
    FieldRef a = field(image, column);
    const Value& b = values[static_cast<std::size_t>(column)];
    if (a.hasValue() != b.hasValue()) return false;
    if (!a.hasValue()) continue;
    TFieldType type = layout_.type(static_cast<std::size_t>(column));
    if (isIntegerType(type) && a.integer != b.toInt()) return false;
    if (isFloatType(type) && !(a.number == b.toDouble())) return false;
    if (isBytesType(type) && a.bytes != b.bytes()) return false;
  }
  return true;
}

std::pair<std::size_t, std::size_t> RecordStore::equalRange(const Value& key) const {
  if (orderColumns_.empty()) return {0, order_.size()};
  FieldRef ref;
  ref.state = key.hasValue() ? BlankState::HasValue : BlankState::Null;
  ref.integer = key.toInt();
  ref.number = key.isInt() ? static_cast<double>(key.toInt()) : key.toDouble();
  if (key.isDouble()) ref.integer = static_cast<std::int64_t>(key.toDouble());
  ref.bytes = key.bytes();
  std::uint64_t keyPrefix = prefixOf(orderColumns_[0], ref);
  std::size_t lo = 0;
  std::size_t hi = order_.size();
  while (lo < hi) {  // first record not below the key
    std::size_t mid = lo + (hi - lo) / 2;
    if (compareKey(ref, keyPrefix, mid) > 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  std::size_t begin = lo;
  hi = order_.size();
  while (lo < hi) {  // first record above the key
    std::size_t mid = lo + (hi - lo) / 2;
    if (compareKey(ref, keyPrefix, mid) >= 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return {begin, lo};
}

}  // namespace wf
