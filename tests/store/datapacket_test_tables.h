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
        makeColumn("ServiceLineProduct", K::String, 50), makeColumn("ServiceLineQuantity", K::SmallInt),
        makeColumn("ServiceLineAmount", K::Currency)}},
      {"ServiceInvoice.cds",
       {makeColumn("ServiceInvoiceNumber", K::AutoInc), makeColumn("ServiceNumber", K::Integer),
        makeColumn("ServiceInvoiceBlob", K::Blob), makeColumn("ServiceInvoiceDescription", K::String, 50)}},
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

inline std::vector<uint8_t> textBytes(const std::string& text) { return {text.begin(), text.end()}; }

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
