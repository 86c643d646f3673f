#include "store/datapacket.h"

#include "store/datapacket_format.h"

#include <strings.h>

namespace wf {

namespace fmt = dpformat;

namespace {

bool sameName(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// A fixed-size integer-like parameter value (any logical type, 1 to 8 bytes) as a number.
std::optional<uint64_t> fixedNumber(const Parameter& p) {
  if (fmt::isVarying(p.typeCode) || fmt::isArray(p.typeCode)) return std::nullopt;
  if (p.value.empty() || p.value.size() > 8) return std::nullopt;
  uint64_t v = 0;
  for (std::size_t i = 0; i < p.value.size(); ++i) v |= uint64_t(p.value[i]) << (8 * i);
  return v;
}

const Parameter* findParameter(const std::vector<Parameter>& list, const char* name) {
  for (const Parameter& p : list)
    if (sameName(p.name, name)) return &p;
  return nullptr;
}

bool flagParameter(const std::vector<Parameter>& list, const char* name) {
  const Parameter* p = findParameter(list, name);
  if (!p) return false;
  for (uint8_t b : p->value)
    if (b != 0) return true;
  return false;
}

std::string describe(const std::string& problem, std::size_t offset) {
  return problem + " at offset " + std::to_string(offset);
}

}  // namespace

DataPacketError::DataPacketError(const std::string& problem, std::size_t offset, Kind kind)
    : std::runtime_error(describe(problem, offset)),
      problem_(problem),
      offset_(offset),
      kind_(kind) {}

std::string& Value::mutableBytes() {
  if (!isBytes()) data_ = std::string();
  return std::get<std::string>(data_);
}

void ValueView::assignTo(Value& out) const {
  switch (kind) {
    case Kind::Unassigned: out.setUnassigned(); return;
    case Kind::Null: out.setNull(); return;
    case Kind::Int: out.setInt(integer); return;
    case Kind::Double: out.setDouble(number); return;
    case Kind::Bool: out.setBool(integer != 0); return;
    case Kind::Bytes: out.mutableBytes().assign(bytes); return;
  }
}

Column makeColumn(std::string name, ColumnKind kind, uint16_t width) {
  Column c;
  c.name = std::move(name);
  switch (kind) {
    case ColumnKind::AutoInc:
      c.typeCode = fmt::kCodeInt32;
      c.attributes = fmt::kColumnReadOnly;
      c.subtype = fmt::kSubtypeAutoinc;
      break;
    case ColumnKind::Integer: c.typeCode = fmt::kCodeInt32; break;
    case ColumnKind::SmallInt: c.typeCode = fmt::kCodeInt16; break;
    case ColumnKind::Currency:
      c.typeCode = fmt::kCodeDouble;
      c.subtype = fmt::kSubtypeMoney;
      break;
    case ColumnKind::Float: c.typeCode = fmt::kCodeDouble; break;
    case ColumnKind::DateTime: c.typeCode = fmt::kCodeDateTime; break;
    case ColumnKind::String:
      c.typeCode = width <= fmt::kMaxOneBytePrefixWidth ? fmt::kCodeString1 : fmt::kCodeString2;
      c.width = width;
      break;
    case ColumnKind::Blob:
      c.typeCode = fmt::kCodeBlob;
      c.subtype = fmt::kSubtypeBinary;
      break;
    case ColumnKind::Memo:
      c.typeCode = fmt::kCodeBlob;
      c.subtype = fmt::kSubtypeText;
      break;
    case ColumnKind::Other: throw std::invalid_argument("makeColumn: no type code for this kind");
  }
  return c;
}

ColumnKind columnKind(const Column& column) {
  const uint32_t code = column.typeCode;
  const uint32_t logical = fmt::logicalTypeOf(code);
  const uint32_t size = fmt::sizeOf(code);
  const bool varying = fmt::isVarying(code);
  if ((code & (fmt::kArrayBit | fmt::kCompositeBits)) != 0) return ColumnKind::Other;
  switch (logical) {
    case fmt::kTypeInt:
      if (varying) return ColumnKind::Other;
      if (size == 4)
        return sameName(column.subtype, fmt::kSubtypeAutoinc) ? ColumnKind::AutoInc
                                                              : ColumnKind::Integer;
      return size == 2 ? ColumnKind::SmallInt : ColumnKind::Other;
    case fmt::kTypeFloat:
      if (varying || size != 8) return ColumnKind::Other;
      return sameName(column.subtype, fmt::kSubtypeMoney) ? ColumnKind::Currency
                                                          : ColumnKind::Float;
    case fmt::kTypeDateTime:
      return !varying && size == 8 ? ColumnKind::DateTime : ColumnKind::Other;
    case fmt::kTypeString: return ColumnKind::String;
    case fmt::kTypeBytes:
    case fmt::kTypeBytesAlt:
      if (!varying || size != 4) return ColumnKind::Other;
      return sameName(column.subtype, fmt::kSubtypeText) ? ColumnKind::Memo : ColumnKind::Blob;
    default: return ColumnKind::Other;
  }
}

std::optional<uint32_t> DataPacket::lcid() const {
  const Parameter* p = findParameter(otherParameters, fmt::kParamLcid);
  if (!p) return std::nullopt;
  std::optional<uint64_t> v = fixedNumber(*p);
  if (!v) return std::nullopt;
  return static_cast<uint32_t>(*v);
}

bool DataPacket::readOnly() const { return flagParameter(otherParameters, fmt::kParamReadOnly); }
bool DataPacket::disableEdits() const {
  return flagParameter(otherParameters, fmt::kParamDisableEdits);
}
bool DataPacket::disableInserts() const {
  return flagParameter(otherParameters, fmt::kParamDisableInserts);
}
bool DataPacket::disableDeletes() const {
  return flagParameter(otherParameters, fmt::kParamDisableDeletes);
}

std::optional<std::size_t> DataPacket::autoIncColumn() const {
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const Column& c = columns[i];
    if (sameName(c.subtype, fmt::kSubtypeAutoinc) && !fmt::isVarying(c.typeCode) &&
        fmt::sizeOf(c.typeCode) == 4 && (c.typeCode & (fmt::kArrayBit | fmt::kCompositeBits)) == 0)
      return i;
  }
  return std::nullopt;
}

}  // namespace wf
