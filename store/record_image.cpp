#include "store/record_image.h"

#include <algorithm>
#include <cstring>

#include "store/null_value.h"

namespace wf {

namespace {

constexpr std::uint8_t kNullBit = 1;
constexpr std::uint8_t kUnassignedBit = 2;

// Columns of a kind the table does not interpret keep their value with a tag byte; each is
// followed by 8 bytes, except bytes, which are a 4-byte length and the bytes.
enum class OtherTag : std::uint8_t { Int, Double, Bool, Bytes };
constexpr std::size_t kOtherNumberSize = 1 + 8;

int fixedSize(TFieldType type) {
  switch (type) {
    case ftSmallint: return 2;
    case ftInteger:
    case ftAutoInc: return 4;
    case ftFloat:
    case ftCurrency:
    case ftDateTime: return 8;
    default: return 0;
  }
}

// Host-order loads and stores: images are memory, never files.
template <class T>
T load(const std::uint8_t* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <class T>
std::uint8_t* store(std::uint8_t* p, T v) {
  std::memcpy(p, &v, sizeof v);
  return p + sizeof v;
}

std::uint8_t* storeBytes(std::uint8_t* p, std::string_view bytes) {
  if (!bytes.empty()) std::memcpy(p, bytes.data(), bytes.size());
  return p + bytes.size();
}

std::string_view viewBytes(const std::uint8_t* p, std::size_t n) {
  return std::string_view(reinterpret_cast<const char*>(p), n);
}

// A viewed value as the image stores it; another kind than the column's gives 0 or empty, as
// Value's accessors do.
std::int64_t intOf(const ValueView& v) { return v.kind == ValueView::Kind::Int ? v.integer : 0; }
double doubleOf(const ValueView& v) { return v.kind == ValueView::Kind::Double ? v.number : 0.0; }
std::string_view bytesOf(const ValueView& v) {
  return v.kind == ValueView::Kind::Bytes ? v.bytes : std::string_view();
}

void readOther(const std::uint8_t* p, ValueView& v) {
  switch (OtherTag(*p++)) {
    case OtherTag::Bytes: v.setBytes(viewBytes(p + 4, load<std::uint32_t>(p))); break;
    case OtherTag::Double: v.setDouble(load<double>(p)); break;
    case OtherTag::Bool: v.setBool(load<std::int64_t>(p) != 0); break;
    default: v.setInt(load<std::int64_t>(p)); break;
  }
}

std::uint8_t* writeOther(std::uint8_t* p, const ValueView& v) {
  switch (v.kind) {
    case ValueView::Kind::Bytes:
      *p++ = std::uint8_t(OtherTag::Bytes);
      p = store(p, static_cast<std::uint32_t>(v.bytes.size()));
      return storeBytes(p, v.bytes);
    case ValueView::Kind::Double: *p++ = std::uint8_t(OtherTag::Double); return store(p, v.number);
    case ValueView::Kind::Bool:
      *p++ = std::uint8_t(OtherTag::Bool);
      return store(p, static_cast<std::int64_t>(v.integer != 0));
    default: *p++ = std::uint8_t(OtherTag::Int); return store(p, intOf(v));
  }
}

}  // namespace

RecordImageLayout::RecordImageLayout(std::vector<TFieldType> types, std::vector<int> widths)
    : types_(std::move(types)),
      widths_(std::move(widths)),
      lengthPrefixBytes_(types_.size(), 0),
      indicatorBytes_((types_.size() + 3) / 4) {
  for (std::size_t i = 0; i < types_.size(); ++i)
    if (types_[i] == ftString) lengthPrefixBytes_[i] = widths_[i] > 0 && widths_[i] <= 255 ? 1 : 2;
}

std::size_t RecordImageLayout::stringLimit(std::size_t column) const {
  std::size_t limit = lengthPrefixBytes_[column] == 1 ? 255 : 65535;
  if (widths_[column] > 0) limit = std::min<std::size_t>(limit, std::size_t(widths_[column]));
  return limit;
}

template <class Visit>
const std::uint8_t* RecordImageLayout::walk(const std::uint8_t* image, std::size_t count,
                                            Visit&& visit) const {
  const std::uint8_t* p = image + indicatorBytes_;
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned bits = blankBits(image, i);
    visit(i, bits, p);
    if (bits == 0) p = skipValue(i, p);
  }
  return p;
}

const std::uint8_t* RecordImageLayout::skipValue(std::size_t column, const std::uint8_t* p) const {
  switch (types_[column]) {
    case ftString:
      return p + (lengthPrefixBytes_[column] == 1 ? 1u + *p : 2u + load<std::uint16_t>(p));
    case ftBlob:
    case ftMemo: return p + 4 + load<std::uint32_t>(p);
    case ftUnknown:
      return p +
             (OtherTag(*p) == OtherTag::Bytes ? 5 + load<std::uint32_t>(p + 1) : kOtherNumberSize);
    default: return p + fixedSize(types_[column]);
  }
}

void RecordImageLayout::readValue(std::size_t column, const std::uint8_t* p, ValueView& out) const {
  switch (types_[column]) {
    case ftSmallint: out.setInt(load<std::int16_t>(p)); break;
    case ftInteger:
    case ftAutoInc: out.setInt(load<std::int32_t>(p)); break;
    case ftFloat:
    case ftCurrency:
    case ftDateTime: out.setDouble(load<double>(p)); break;
    case ftString: {
      const std::size_t prefix = lengthPrefixBytes_[column];
      out.setBytes(viewBytes(p + prefix, prefix == 1 ? *p : load<std::uint16_t>(p)));
      break;
    }
    case ftBlob:
    case ftMemo: out.setBytes(viewBytes(p + 4, load<std::uint32_t>(p))); break;
    case ftUnknown: readOther(p, out); break;
  }
}

std::size_t RecordImageLayout::valueSize(std::size_t column, const ValueView& v) const {
  switch (types_[column]) {
    case ftString:
      return lengthPrefixBytes_[column] + std::min(bytesOf(v).size(), stringLimit(column));
    case ftBlob:
    case ftMemo: return 4 + bytesOf(v).size();
    case ftUnknown: return v.kind == ValueView::Kind::Bytes ? 5 + v.bytes.size() : kOtherNumberSize;
    default: return std::size_t(fixedSize(types_[column]));
  }
}

std::uint8_t* RecordImageLayout::writeValue(std::size_t column, std::uint8_t* p,
                                            const ValueView& v) const {
  switch (types_[column]) {
    case ftSmallint: return store(p, static_cast<std::int16_t>(intOf(v)));
    case ftInteger:
    case ftAutoInc: return store(p, static_cast<std::int32_t>(intOf(v)));
    case ftFloat:
    case ftCurrency:
    case ftDateTime: return store(p, doubleOf(v));
    case ftString: {
      const std::string_view kept = bytesOf(v).substr(0, stringLimit(column));
      if (lengthPrefixBytes_[column] == 1)
        *p++ = static_cast<std::uint8_t>(kept.size());
      else
        p = store(p, static_cast<std::uint16_t>(kept.size()));
      return storeBytes(p, kept);
    }
    case ftBlob:
    case ftMemo:
      p = store(p, static_cast<std::uint32_t>(bytesOf(v).size()));
      return storeBytes(p, bytesOf(v));
    case ftUnknown: return writeOther(p, v);
  }
  return p;
}

std::size_t RecordImageLayout::encodedSize(const std::vector<ValueView>& values) const {
  std::size_t size = indicatorBytes_;
  for (std::size_t i = 0; i < types_.size(); ++i)
    if (values[i].hasValue()) size += valueSize(i, values[i]);
  return size;
}

void RecordImageLayout::write(const std::vector<ValueView>& values, std::uint8_t* image) const {
  std::memset(image, 0, indicatorBytes_);
  std::uint8_t* p = image + indicatorBytes_;
  for (std::size_t i = 0; i < types_.size(); ++i) {
    const ValueView& v = values[i];
    if (v.hasValue()) {
      p = writeValue(i, p, v);
    } else {
      const std::uint8_t bit = v.kind == ValueView::Kind::Null ? kNullBit : kUnassignedBit;
      image[i / 4] = static_cast<std::uint8_t>(image[i / 4] | (bit << (2 * (i % 4))));
    }
  }
}

std::size_t RecordImageLayout::imageSize(const std::uint8_t* image) const {
  const std::uint8_t* end = walk(image, types_.size(), [](std::size_t, unsigned, auto) {});
  return static_cast<std::size_t>(end - image);
}

FieldRef RecordImageLayout::field(const std::uint8_t* image, std::size_t column) const {
  FieldRef ref;
  const unsigned bits = blankBits(image, column);
  if (bits != 0) {
    ref.state = (bits & kNullBit) ? BlankState::Null : BlankState::Unassigned;
    return ref;
  }
  const std::uint8_t* p = walk(image, column, [](std::size_t, unsigned, auto) {});
  ref.state = BlankState::HasValue;
  if (types_[column] == ftUnknown) {
    ref.integer = *p;  // the tag; value() decodes the rest
    ref.bytes = viewBytes(p, 1);
    return ref;
  }
  ValueView view;
  readValue(column, p, view);
  ref.integer = view.integer;
  ref.number = view.number;
  ref.bytes = view.bytes;
  return ref;
}

Value RecordImageLayout::value(const std::uint8_t* image, std::size_t column) const {
  const FieldRef ref = field(image, column);
  if (ref.state == BlankState::Null) return nullValue();
  if (ref.state == BlankState::Unassigned) return Value::unassigned();
  switch (types_[column]) {
    case ftSmallint:
    case ftInteger:
    case ftAutoInc: return Value::fromInt(ref.integer);
    case ftFloat:
    case ftCurrency:
    case ftDateTime: return Value::fromDouble(ref.number);
    case ftString:
    case ftBlob:
    case ftMemo: return Value::fromBytes(std::string(ref.bytes));
    case ftUnknown: {
      ValueView view;
      readOther(reinterpret_cast<const std::uint8_t*>(ref.bytes.data()), view);
      Value out;
      view.assignTo(out);
      return out;
    }
  }
  return Value::unassigned();
}

void RecordImageLayout::views(const std::uint8_t* image, std::vector<ValueView>& out) const {
  out.resize(types_.size());
  walk(image, types_.size(), [&](std::size_t i, unsigned bits, const std::uint8_t* p) {
    if (bits == 0)
      readValue(i, p, out[i]);
    else
      out[i].kind = (bits & kNullBit) ? ValueView::Kind::Null : ValueView::Kind::Unassigned;
  });
}

}  // namespace wf
