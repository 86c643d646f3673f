// The in-memory image of one datapacket: the whole content of a table file (header, columns with
// their parameters, table parameters and rows), as decoded from bytes or about to be encoded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "store/byte_sink.h"

namespace wf {

// How the client table uses this:
//
// Opening a table: read the file's bytes, call decodeDataPacket(), build the field definitions
// from `columns` (columnKind() gives the field type, `width` the size of a string field), set the
// auto-increment counter from `autoIncValue` (1 when absent), then take over the records: only the
// rows for which Row::isCurrent() is true, in file order. Rows that fail it are earlier versions,
// deletions or free slots of a change log and are never shown. A packet that carried a change log
// (`hadChangeLog`) needs nothing more: the current rows are the table's records and the log itself
// is not kept. Values can be moved out of the packet (std::move of Row::values) to avoid copies;
// for a large file the row-by-row decodeDataPacket() hands each row over without building them
// all, and without an allocation per value.
// readOnly(), disableEdits(), disableInserts(), disableDeletes() and lcid() tell what the table
// parameters of the file ask for; they stay in `otherParameters` and go back into the file as they
// came.
//
// Saving a table: keep the DataPacket it was opened from (or one built with makeColumn() for a
// table created empty), replace `rows` with the live records in storage order (status 0), set
// `autoIncValue` to the number the next insert will receive, and call encodeDataPacket() (or its
// row-by-row form, which takes the records one at a time). The encoder writes only current rows,
// always with status 0, never a change log, and strips trailing spaces from strings; it fills in
// the header itself (the header members below are only what a decoded file said).
//
// Text is bytes in the files' single-byte code page (store/code_page.h), held in std::string.
// Thread safety: none needed; all functions are pure apart from their arguments.

// Raised by decodeDataPacket() for a packet it refuses (bad signature or version, a type code it
// cannot map, a length or count that runs past the end, a value over the value buffer limit) and by
// encodeDataPacket() for a packet that cannot be written (a value that does not fit its column).
// what() says what is wrong and at which byte offset; offset() gives that offset alone. The text is
// meant for tools and logs: the client table decides what its user sees.
class DataPacketError : public std::runtime_error {
 public:
  // What kind of damage, for a message in plain words (see damageDescription).
  enum class Kind { Malformed, EndsEarly, NotAPacket };

  DataPacketError(const std::string& problem, std::size_t offset, Kind kind = Kind::Malformed);
  std::size_t offset() const { return offset_; }
  const std::string& problem() const { return problem_; }
  Kind kind() const { return kind_; }
  // True when the damage lies in the records rather than in what comes before them.
  bool inRecords() const { return inRecords_; }
  void setInRecords() { inRecords_ = true; }

 private:
  std::string problem_;
  std::size_t offset_;
  Kind kind_;
  bool inRecords_ = false;
};

// The blank state of a column in a row. Null: the value was explicitly cleared. Unassigned: nothing
// was put into it since its record was begun (the file's "unchanged" bit). Both read as no value.
enum class BlankState : uint8_t { HasValue, Null, Unassigned };

// One column's value in a row. Which alternative a present value holds depends on the column:
//   int64_t      signed and unsigned integers (an 8-byte unsigned is kept as its bit pattern),
//                date columns (days since 1 January 0001, day 1 = that date), time-of-day columns
//                (milliseconds since midnight)
//   double       currency and floating point (the amount itself), date-time as days since
//                30 December 1899 with the time of day as fraction
//   bool         boolean columns
//   std::string  character strings, bytes, blobs and memos, and the raw bytes of kinds held
//                without conversion (80-bit floats, BCD, fixed-point decimals, wide strings)
class Value {
 public:
  Value() = default;  // unassigned
  static Value null() { return Value(std::in_place_index<1>); }
  static Value unassigned() { return Value(); }
  static Value fromInt(int64_t v) { return Value(std::in_place_index<2>, v); }
  static Value fromDouble(double v) { return Value(std::in_place_index<3>, v); }
  static Value fromBool(bool v) { return Value(std::in_place_index<4>, v); }
  static Value fromBytes(std::string v) { return Value(std::in_place_index<5>, std::move(v)); }

  BlankState blankState() const {
    return data_.index() == 0   ? BlankState::Unassigned
           : data_.index() == 1 ? BlankState::Null
                                : BlankState::HasValue;
  }
  bool hasValue() const { return data_.index() > 1; }
  bool isInt() const { return std::holds_alternative<int64_t>(data_); }
  bool isDouble() const { return std::holds_alternative<double>(data_); }
  bool isBool() const { return std::holds_alternative<bool>(data_); }
  bool isBytes() const { return std::holds_alternative<std::string>(data_); }

  // Replace the value in place (cheaper than assigning a new Value, which builds a temporary).
  void setNull() { data_.emplace<1>(); }
  void setUnassigned() { data_.emplace<0>(); }
  void setInt(int64_t v) { data_.emplace<int64_t>(v); }
  void setDouble(double v) { data_.emplace<double>(v); }
  void setBool(bool v) { data_.emplace<bool>(v); }

  // The value in the asked-for form; a blank value or one of another alternative gives 0, false
  // or an empty string.
  int64_t toInt() const { return isInt() ? std::get<int64_t>(data_) : 0; }
  double toDouble() const { return isDouble() ? std::get<double>(data_) : 0.0; }
  bool toBool() const { return isBool() && std::get<bool>(data_); }
  const std::string& bytes() const {
    static const std::string empty;
    const std::string* s = std::get_if<std::string>(&data_);
    return s ? *s : empty;
  }
  // The string for moving out or editing in place; makes the value an empty string first if it
  // holds something else.
  std::string& mutableBytes();

  bool operator==(const Value&) const = default;

 private:
  struct UnassignedTag {
    bool operator==(const UnassignedTag&) const = default;
  };
  struct NullTag {
    bool operator==(const NullTag&) const = default;
  };
  using Storage = std::variant<UnassignedTag, NullTag, int64_t, double, bool, std::string>;
  // Builds the alternative in place: going through a temporary Storage trips a false
  // maybe-uninitialized warning in GCC 12 under the sanitizers.
  template <std::size_t I, class... Args>
  explicit Value(std::in_place_index_t<I> alternative, Args&&... args)
      : data_(alternative, std::forward<Args>(args)...) {}
  Storage data_;
};

// A value read where it lies: what a Value holds, with strings and bytes viewed in storage that
// outlives the view. The row-by-row encoder takes these, so a table hands over its records
// without copying them into Values first.
struct ValueView {
  enum class Kind : uint8_t { Unassigned, Null, Int, Double, Bool, Bytes };
  Kind kind = Kind::Unassigned;
  int64_t integer = 0;     // Int; Bool as 0 or 1
  double number = 0;       // Double
  std::string_view bytes;  // Bytes

  static ValueView of(const Value& v) {
    ValueView view;
    if (v.isInt())
      view.setInt(v.toInt());
    else if (v.isDouble())
      view.setDouble(v.toDouble());
    else if (v.isBool())
      view.setBool(v.toBool());
    else if (v.isBytes())
      view.setBytes(v.bytes());
    else
      view.kind = v.blankState() == BlankState::Null ? Kind::Null : Kind::Unassigned;
    return view;
  }
  bool hasValue() const { return kind != Kind::Null && kind != Kind::Unassigned; }
  void setInt(int64_t v) {
    kind = Kind::Int;
    integer = v;
  }
  void setDouble(double v) {
    kind = Kind::Double;
    number = v;
  }
  void setBool(bool v) {
    kind = Kind::Bool;
    integer = v ? 1 : 0;
  }
  void setBytes(std::string_view v) {
    kind = Kind::Bytes;
    bytes = v;
  }
  // Puts the viewed value into `out`, reusing the string it may already hold.
  void assignTo(Value& out) const;
};

// A column or table parameter kept as it was read, to be written back unchanged.
// `value` holds the value bytes without the framing: for a fixed value its bytes (as many as the
// size in the type code), for a varying value the bytes after the length prefix, for an array the
// element bytes after the element count.
struct Parameter {
  std::string name;
  uint32_t typeCode = 0;
  std::vector<uint8_t> value;

  bool operator==(const Parameter&) const = default;
};

// The field types of the client table, as a column's type code and subtype spell them.
// Other: a column the codec reads and writes but that is none of these (boolean, 8-byte integer,
// date, time, wide string, variable-length bytes and so on).
enum class ColumnKind {
  AutoInc,
  Integer,
  SmallInt,
  Currency,
  Float,
  DateTime,
  String,
  Blob,
  Memo,
  Other
};

struct Column {
  std::string name;         // at most 31 characters
  uint32_t typeCode = 0;    // see datapacket_format.h
  uint16_t attributes = 0;  // kColumnHidden | kColumnReadOnly | kColumnRequired | kColumnLink
  std::string subtype;      // SUBTYPE, spelled as the format knows it ("Autoinc", "Money", ...);
                            // empty when none. An unknown subtype is in otherParameters.
  uint16_t width = 0;       // WIDTH: the most characters a string holds; 0 when not given
  uint16_t decimals = 0;    // DECIMALS; 0 when not given
  bool calculated = false;  // CALCULATED
  std::vector<Parameter> otherParameters;  // every other column parameter, in file order

  bool operator==(const Column&) const = default;
};

// A column as this system's tables declare it: type code, attributes (read-only for
// auto-increment) and parameters (SUBTYPE, WIDTH) as the files carry them. `width` is used by
// String only. Other is not accepted.
Column makeColumn(std::string name, ColumnKind kind, uint16_t width = 0);

// The client-table field type that a column maps to.
ColumnKind columnKind(const Column& column);

struct Row {
  // Row status byte. 0 in every packet this system writes; the other bits belong to change logs:
  // 1 earlier version of a modified record, 2 deleted, 4 inserted, 8 modified, 0x20 free slot.
  uint8_t status = 0;
  std::vector<Value> values;  // one per column, in column order

  // Whether the row is a current record (none of bits 0, 1 and 5); the others only exist for a log.
  bool isCurrent() const { return (status & 0x23) == 0; }

  bool operator==(const Row&) const = default;
};

// A row as the row-by-row encoder takes it: values viewed in the caller's storage.
struct RowView {
  uint8_t status = 0;  // as Row::status
  std::vector<ValueView> values;
  bool isCurrent() const { return (status & 0x23) == 0; }
};

struct DataPacket {
  // Header fields as read from a file. The encoder ignores them and writes its own.
  uint32_t signature = 0;
  uint16_t majorVersion = 0;
  uint16_t minorVersion = 0;
  uint32_t headerSize = 0;
  uint32_t packetFlags = 0;
  uint16_t rowAreaOffset = 0;

  std::vector<Column> columns;

  // AUTOINCVALUE: the number the next inserted record receives. Written whenever the packet has an
  // auto-increment column (1 when unset).
  std::optional<int32_t> autoIncValue;
  // True when the packet carried CHANGE_LOG; the log is not kept and never written.
  bool hadChangeLog = false;
  // Every other table parameter, in file order (LCID, READONLY, DISABLE_* among them).
  std::vector<Parameter> otherParameters;

  std::vector<Row> rows;

  // Table parameters read from otherParameters, names compared without regard to case.
  // A flag is set when its value is not 0; lcid() is empty when LCID is absent or not an integer.
  std::optional<uint32_t> lcid() const;
  bool readOnly() const;
  bool disableEdits() const;
  bool disableInserts() const;
  bool disableDeletes() const;

  // The index of the auto-increment column (subtype "Autoinc", 4-byte value), if any.
  std::optional<std::size_t> autoIncColumn() const;

  bool operator==(const DataPacket&) const = default;
};

// Decodes a whole table file. Throws DataPacketError for a packet it refuses; never reads outside
// `bytes`. String values are cut at their column's WIDTH and at their first 0 byte, column names
// at 31 characters; date-times come back as days since 30 December 1899.
DataPacket decodeDataPacket(std::span<const uint8_t> bytes);

// The same decoding with the rows handed to `onRow` one at a time, in file order, instead of kept
// in the result (whose `rows` stay empty). The Row passed is reused from call to call, its
// strings keeping their capacity, so a large file decodes without an allocation per value; it is
// valid only during the call. Every row is passed, current or not. A failure may come after some
// rows were passed: the caller then drops them.
DataPacket decodeDataPacket(std::span<const uint8_t> bytes,
                            const std::function<void(const Row&)>& onRow);

// Encodes a packet into the exact bytes of a table file (the current rows only, each with status
// 0). Throws DataPacketError when a row does not fit the columns (wrong number of values, or a
// value of the wrong alternative); then nothing is returned.
std::vector<uint8_t> encodeDataPacket(const DataPacket& packet);

// The same encoding with the rows supplied one at a time instead of from `packet.rows` (which is
// ignored), and the bytes handed to `sink` in chunks as they are ready, so a large table encodes
// without copying its values and without a copy of the whole file in memory. fillRow(i, row)
// fills a reused RowView (views from the previous call still in place, status reset to 0) for
// i = 0 .. rowCount - 1; the views must stay valid until the next call. When a row turns out not to
// be current, the row count in the header is corrected through sink.overwrite() at the end. On a
// DataPacketError, or a failure of the sink, the sink holds an incomplete packet.
void encodeDataPacket(const DataPacket& packet, std::size_t rowCount,
                      const std::function<void(std::size_t, RowView&)>& fillRow, ByteSink& sink);

}  // namespace wf
