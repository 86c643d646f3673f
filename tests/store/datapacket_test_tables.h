// The five tables of the vehicle record, as datapackets built column by column, and helpers that
// make byte images of packets in tests.
#pragma once

#include "store/datapacket.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace wf::testing {

struct TableSchema {
  const char* file;
  std::vector<Column> columns;
};

inline std::vector<TableSchema> storeSchemas() {
  using K = ColumnKind;
  return {
      {"Vehicle.cds",
       {makeColumn("VehicleNumber", K::AutoInc), makeColumn("VehicleMake", K::String, 25),
        makeColumn("VehicleModel", K::String, 25), makeColumn("VehicleYear", K::String, 5),
        makeColumn("VehicleReg", K::String, 15), makeColumn("VehiclePhoto", K::Blob)}},
      {"Service.cds",
       {makeColumn("ServiceNumber", K::AutoInc), makeColumn("VehicleNumber", K::Integer),
        makeColumn("ServiceDescription", K::String, 50), makeColumn("ServiceDate", K::DateTime),
        makeColumn("ServiceTechName", K::String, 25), makeColumn("ServiceNote", K::Memo),
        makeColumn("ServiceDistance", K::String, 20)}},
      {"ServiceLine.cds",
       {makeColumn("ServiceLineNumber", K::AutoInc), makeColumn("ServiceNumber", K::Integer),
        makeColumn("ServiceLineProduct", K::String, 50),
        makeColumn("ServiceLineQuantity", K::SmallInt),
        makeColumn("ServiceLineAmount", K::Currency)}},
      {"ServiceInvoice.cds",
       {makeColumn("ServiceInvoiceNumber", K::AutoInc), makeColumn("ServiceNumber", K::Integer),
        makeColumn("ServiceInvoiceBlob", K::Blob),
        makeColumn("ServiceInvoiceDescription", K::String, 50)}},
      {"Expense.cds",
       {makeColumn("ExpenseNumber", K::AutoInc), makeColumn("VehicleNumber", K::Integer),
        makeColumn("ExpenseDescription", K::String, 50), makeColumn("ExpenseAmount", K::Currency),
        makeColumn("ExpenseQuantity", K::SmallInt), makeColumn("ExpenseDate", K::DateTime),
        makeColumn("ExpenseBlob", K::Blob)}},
  };
}

inline DataPacket emptyPacket(const std::vector<Column>& columns, int32_t nextNumber = 1) {
  DataPacket packet;
  packet.columns = columns;
  packet.autoIncValue = nextNumber;
  return packet;
}

inline DataPacket emptyPacketOf(const char* file) {
  for (const TableSchema& s : storeSchemas())
    if (std::string(s.file) == file) return emptyPacket(s.columns);
  return {};
}

// Bytes from a string of hex pairs; spaces are ignored.
inline std::vector<uint8_t> hexBytes(const std::string& hex) {
  std::vector<uint8_t> out;
  std::string digits;
  for (char c : hex)
    if (c != ' ') digits += c;
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
    out.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  return out;
}

inline std::vector<uint8_t> textBytes(const std::string& text) {
  return {text.begin(), text.end()};
}

inline Value text(const char* s) { return Value::fromBytes(s); }
inline Value integer(int64_t v) { return Value::fromInt(v); }
inline Value number(double v) { return Value::fromDouble(v); }

inline Row row(std::initializer_list<Value> values, uint8_t status = 0) {
  Row r;
  r.status = status;
  r.values = values;
  return r;
}

}  // namespace wf::testing

namespace wf::testing {

// Writes packet bytes item by item, for files the writer would never produce.
class RawPacket {
 public:
  RawPacket& u8(uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  RawPacket& u16(uint16_t v) { return u8(uint8_t(v)).u8(uint8_t(v >> 8)); }
  RawPacket& u32(uint32_t v) { return u16(uint16_t(v)).u16(uint16_t(v >> 16)); }
  RawPacket& text(const std::string& s) {
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
  }
  RawPacket& text(const char* s, std::size_t n) { return text(std::string(s, n)); }
  RawPacket& name(const std::string& s) { return u8(uint8_t(s.size())).text(s); }
  RawPacket& header(uint16_t columns, uint32_t rows) {
    return u32(0xBDE01996).u16(1).u16(0).u32(24).u16(columns).u32(rows).u32(1).u16(0);
  }
  RawPacket& column(const std::string& n, uint32_t typeCode, uint16_t attributes,
                    uint16_t parameters) {
    return name(n).u32(typeCode).u16(attributes).u16(parameters);
  }
  RawPacket& u16Parameter(const std::string& n, uint16_t v) {
    return name(n).u32(0x00020002).u16(v);
  }
  RawPacket& i32Parameter(const std::string& n, int32_t v) {
    return name(n).u32(0x00010004).u32(uint32_t(v));
  }
  RawPacket& textParameter(const std::string& n, const std::string& v) {
    return name(n).u32(0x00490002).u16(uint16_t(v.size() + 1)).text(v).u8(0);
  }
  std::vector<uint8_t> bytes;
};

}  // namespace wf::testing
