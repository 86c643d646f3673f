// The records of an open client table: a compact byte image per record (record_image.h) in a
// chunked arena, the storage order (the order records were first added, which is the file's row
// order), and the index order kept sorted by the table's index fields. Internal to the client
// table. Images never move while their record lives, except in maybeCompact(), which the store
// runs itself on mutation when dead images dominate.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "store/datapacket.h"
#include "store/field_def.h"
#include "store/record_image.h"

namespace wf {

class Collation;

class RecordStore {
 public:
  using FieldRef = wf::FieldRef;
  using Slot = std::uint32_t;

  RecordStore(std::vector<TFieldType> types, std::vector<int> widths,
              std::shared_ptr<const Collation> collation);
  ~RecordStore();

  std::size_t columnCount() const { return layout_.columnCount(); }
  TFieldType type(int column) const { return layout_.type(static_cast<std::size_t>(column)); }
  int width(int column) const { return layout_.width(static_cast<std::size_t>(column)); }
  const Collation& collation() const { return *collation_; }

  // ---- storage ----
  std::size_t slotCount() const { return slots_.size(); }
  std::size_t liveCount() const { return live_; }
  // The image of a record; nullptr for an erased one.
  const std::uint8_t* image(Slot slot) const;
  void reserve(std::size_t records);
  // A load of about `bytes` of records is starting, stored on a thread other than the caller's:
  // fresh memory for them is mapped ahead on a third thread, so the storing thread spends its
  // time copying rather than waiting for the system to clear pages. Ends with endBulkLoad()
  // (or the store's end), which gives back what was mapped ahead and not used.
  void beginBulkLoad(std::size_t bytes);
  void endBulkLoad();
  Slot add(const std::vector<Value>& values);
  Slot add(const std::vector<ValueView>& values);
  void replace(Slot slot, const std::vector<Value>& values);
  void erase(Slot slot);

  FieldRef field(const std::uint8_t* image, int column) const;
  Value value(const std::uint8_t* image, int column) const;
  // Every value of a record: as views into the image (valid while the record lives unchanged),
  // or copied into the Values `out` already holds.
  void views(const std::uint8_t* image, std::vector<ValueView>& out) const;
  void values(const std::uint8_t* image, std::vector<Value>& out) const;

  // ---- index order ----
  // Columns the order compares, left to right; re-sorts the order (stable against its
  // current sequence).
  void setOrderColumns(std::vector<int> columns);
  const std::vector<int>& orderColumns() const { return orderColumns_; }
  const std::vector<Slot>& order() const { return order_; }
  // Sorts every live record: by key, equal keys in storage order.
  void sortAll();
  // Enters a slot into the order after every record with an equal key; returns its position.
  std::size_t enterOrder(Slot slot);
  void leaveOrder(std::size_t position);
  // Whether the order fields of two value sets are identical (no reordering needed).
  bool sameKey(const std::uint8_t* image, const std::vector<Value>& values) const;
  // The positions [begin, end) of records whose first order field equals key.
  std::pair<std::size_t, std::size_t> equalRange(const Value& key) const;

 private:
  class Arena;
  std::size_t imageSize(const std::uint8_t* image) const;
  std::uint32_t encode(const std::vector<Value>& values);
  std::uint32_t encode(const std::vector<ValueView>& values);
  Slot adopt(std::uint32_t handle);
  void forget(Slot slot);
  std::uint64_t prefixOf(int column, const FieldRef& ref) const;
  bool exactPrefix(int column) const;
  std::uint64_t prefixOfSlot(Slot slot) const;
  int compareRefs(int column, const FieldRef& a, const FieldRef& b) const;
  int comparePrefixes(std::uint64_t a0, std::uint64_t b0, std::uint64_t a1, std::uint64_t b1) const;
  int compareFields(Slot a, Slot b) const;
  int compareKey(const FieldRef& key, std::uint64_t keyPrefix, std::size_t position) const;
  void maybeCompact();

  RecordImageLayout layout_;
  std::shared_ptr<const Collation> collation_;
  std::unique_ptr<Arena> arena_;
  std::vector<std::uint32_t> slots_;  // arena handle per record; Arena::kNone once erased
  // Prefix keys of the first order field (and, when that one is exact, of the second) decide
  // most comparisons with a few integer operations.
  bool firstIsString_ = false;
  bool useSecondPrefix_ = false;
  bool secondIsString_ = false;
  std::vector<Slot> order_;
  std::vector<std::uint64_t> orderKeys_;  // prefix of the first order field, per order position
  std::vector<int> orderColumns_;
  std::vector<ValueView> viewScratch_;  // Values being encoded, viewed
  std::size_t live_ = 0;
  std::size_t liveBytes_ = 0;
  std::size_t deadBytes_ = 0;
};

}  // namespace wf
