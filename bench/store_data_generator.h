// Realistic table files for the store benchmarks: vehicles with JPEG photos, their services with
// notes, parts-and-labour lines, scanned invoices and expenses, of any size, written through the
// datapacket encoder. Deterministic: the same options give the same bytes.
#pragma once

#include "store/datapacket.h"
#include "store/date_time.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace wf::bench {

// The defaults are a large but realistic fleet: what a person keeping every service of a
// thousand vehicles for twenty years would have, with a scan of one invoice in two hundred.
struct DataOptions {
  std::size_t vehicles = 1000;
  std::size_t services = 1000000;
  // Services 1..firstVehicleServices all belong to vehicle 1 (a vehicle with a long history for
  // the report benchmark); the rest are spread over the other vehicles. 0 spreads them all.
  std::size_t firstVehicleServices = 10000;
  std::size_t linesPerService = 2;
  std::size_t invoices = 5000;  // scanned invoices, spread evenly over the services
  std::size_t expenses = 100000;
  std::size_t expenseReceiptEvery = 0;    // one scanned receipt per this many expenses; 0: none
  std::size_t photoBytes = 120 * 1024;    // a phone photo scaled down to 1024 x 768
  std::size_t invoiceBytes = 150 * 1024;  // a one-page scan
  // Services dated in the order they were entered, as a person enters each one when it is done:
  // the dates rise with the service number, so each vehicle's services are already in date order
  // in the file while the vehicles interleave. Off: every date is drawn at random.
  bool entryOrder = false;
  uint64_t seed = 1;
};

// A 16x8 JPEG (JFIF, baseline, optimised Huffman tables): every photo starts from it.
inline constexpr std::array<uint8_t, 302> kTinyJpeg = {
    0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01,
    0x00, 0x01, 0x00, 0x00, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x10, 0x0B, 0x0C, 0x0E, 0x0C, 0x0A, 0x10,
    0x0E, 0x0D, 0x0E, 0x12, 0x11, 0x10, 0x13, 0x18, 0x28, 0x1A, 0x18, 0x16, 0x16, 0x18, 0x31, 0x23,
    0x25, 0x1D, 0x28, 0x3A, 0x33, 0x3D, 0x3C, 0x39, 0x33, 0x38, 0x37, 0x40, 0x48, 0x5C, 0x4E, 0x40,
    0x44, 0x57, 0x45, 0x37, 0x38, 0x50, 0x6D, 0x51, 0x57, 0x5F, 0x62, 0x67, 0x68, 0x67, 0x3E, 0x4D,
    0x71, 0x79, 0x70, 0x64, 0x78, 0x5C, 0x65, 0x67, 0x63, 0xFF, 0xDB, 0x00, 0x43, 0x01, 0x11, 0x12,
    0x12, 0x18, 0x15, 0x18, 0x2F, 0x1A, 0x1A, 0x2F, 0x63, 0x42, 0x38, 0x42, 0x63, 0x63, 0x63, 0x63,
    0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63,
    0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63,
    0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 0xFF, 0xC0,
    0x00, 0x11, 0x08, 0x00, 0x08, 0x00, 0x10, 0x03, 0x01, 0x22, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
    0x01, 0xFF, 0xC4, 0x00, 0x16, 0x00, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x05, 0xFF, 0xC4, 0x00, 0x16, 0x10, 0x01, 0x01,
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02,
    0x03, 0xFF, 0xC4, 0x00, 0x15, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0xFF, 0xC4, 0x00, 0x19, 0x11, 0x00, 0x02, 0x03,
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x02,
    0x03, 0x04, 0x51, 0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3F,
    0x00, 0xCC, 0xCA, 0xD6, 0x65, 0x60, 0x4F, 0x45, 0x9D, 0x2B, 0x95, 0x23, 0xFF, 0xD9,
};

// splitmix64: fast, and the same sequence on every platform.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::size_t below(std::size_t n) { return n ? std::size_t(next() % n) : 0; }
  template <std::size_t N>
  const char* pick(const std::array<const char*, N>& list) {
    return list[below(N)];
  }

 private:
  uint64_t state_;
};

// A valid JPEG of about `size` bytes: the tiny picture with a comment segment of filler after
// its start marker, the way cameras pad their files with metadata.
inline std::string jpegOfSize(std::size_t size, Random& random) {
  std::string out(reinterpret_cast<const char*>(kTinyJpeg.data()), 2);  // FF D8
  std::size_t filler = size > kTinyJpeg.size() ? size - kTinyJpeg.size() : 0;
  while (filler > 4) {
    const std::size_t chunk = std::min<std::size_t>(filler - 4, 65533);
    out += '\xFF';
    out += '\xFE';
    out += char((chunk + 2) >> 8);
    out += char((chunk + 2) & 0xFF);
    for (std::size_t i = 0; i < chunk; ++i) out += char(0x20 + random.below(0x5F));
    filler -= chunk + 4;
  }
  out.append(reinterpret_cast<const char*>(kTinyJpeg.data()) + 2, kTinyJpeg.size() - 2);
  return out;
}

inline constexpr std::array<const char*, 12> kMakes = {"Ford", "Toyota",  "Honda",  "Volkswagen",
                                                       "BMW",  "Mazda",   "Subaru", "Nissan",
                                                       "Kia",  "Hyundai", "Volvo",  "Skoda"};
inline constexpr std::array<const char*, 12> kModels = {"Focus", "Corolla", "Civic",   "Golf",
                                                        "320d",  "MX-5",    "Outback", "Leaf",
                                                        "Ceed",  "i30",     "V70",     "Octavia"};
inline constexpr std::array<const char*, 14> kServices = {"Oil and filter change",
                                                          "Annual service",
                                                          "Brake pads, front axle",
                                                          "Timing belt and water pump",
                                                          "Tyre rotation",
                                                          "Coolant flush",
                                                          "Clutch replacement",
                                                          "Air conditioning regas",
                                                          "Spark plugs",
                                                          "Wheel alignment",
                                                          "Battery replacement",
                                                          "Exhaust repair",
                                                          "MOT preparation",
                                                          "Gearbox oil change"};
inline constexpr std::array<const char*, 6> kTechs = {
    "Sam Okafor", "Jo Lindqvist", "Priya Natarajan", "Me", "Dave's Garage", "Marta Kowalska"};
inline constexpr std::array<const char*, 6> kNotes = {
    "Used 5W-30 fully synthetic, 4.5 litres.",
    "Noticed a slight knock from the front left suspension; check at next service.",
    "Replaced with OEM parts. Torque settings from the workshop manual.",
    "Customer supplied parts.\r\nRoad tested afterwards, all fine.",
    "Rear pads at about 40%, front discs within tolerance.",
    "Warning light reset with the scan tool."};
inline constexpr std::array<const char*, 12> kProducts = {
    "Oil filter",       "Engine oil 5W-30 (1 l)", "Air filter",
    "Brake pads (set)", "Labour (hour)",          "Spark plug",
    "Coolant (1 l)",    "Wiper blades",           "Timing belt kit",
    "Water pump",       "Cabin filter",           "Sundries"};
inline constexpr std::array<const char*, 8> kExpenses = {
    "Insurance", "Registration",        "Fuel", "Parking permit", "Car wash",
    "Toll",      "Roadside assistance", "Tyres"};

inline Value text(const std::string& s) { return Value::fromBytes(s); }
inline Value number(double v) { return Value::fromDouble(v); }
inline Value integer(int64_t v) { return Value::fromInt(v); }

inline DataPacket emptyTable(std::vector<Column> columns, std::size_t rows) {
  DataPacket packet;
  packet.columns = std::move(columns);
  packet.autoIncValue = int32_t(rows + 1);
  packet.rows.reserve(rows);
  return packet;
}

inline Row makeRow(std::vector<Value> values) {
  Row row;
  row.values = std::move(values);
  return row;
}

// A date between 2005 and 2024, midnight.
inline double randomDate(Random& r) { return double(38353 + r.below(7300)); }

inline DataPacket vehicleTable(const DataOptions& o) {
  using K = ColumnKind;
  Random r(o.seed * 11 + 1);
  DataPacket p = emptyTable(
      {makeColumn("VehicleNumber", K::AutoInc), makeColumn("VehicleMake", K::String, 25),
       makeColumn("VehicleModel", K::String, 25), makeColumn("VehicleYear", K::String, 5),
       makeColumn("VehicleReg", K::String, 15), makeColumn("VehiclePhoto", K::Blob)},
      o.vehicles);
  for (std::size_t i = 0; i < o.vehicles; ++i) {
    char reg[16];
    std::snprintf(reg, sizeof reg, "%c%c%02d %c%c%c", 'A' + int(r.below(26)),
                  'A' + int(r.below(26)), int(r.below(100)), 'A' + int(r.below(26)),
                  'A' + int(r.below(26)), 'A' + int(r.below(26)));
    const std::size_t k = r.below(kMakes.size());
    p.rows.push_back(
        makeRow({integer(int64_t(i + 1)), text(kMakes[k]), text(kModels[k]),
                 text(std::to_string(2000 + r.below(25))), text(reg),
                 r.below(10) == 0 ? Value::null() : text(jpegOfSize(o.photoBytes, r))}));
  }
  return p;
}

inline DataPacket serviceTable(const DataOptions& o) {
  using K = ColumnKind;
  Random r(o.seed * 11 + 2);
  DataPacket p = emptyTable(
      {makeColumn("ServiceNumber", K::AutoInc), makeColumn("VehicleNumber", K::Integer),
       makeColumn("ServiceDescription", K::String, 50), makeColumn("ServiceDate", K::DateTime),
       makeColumn("ServiceTechName", K::String, 25), makeColumn("ServiceNote", K::Memo),
       makeColumn("ServiceDistance", K::String, 20)},
      o.services);
  for (std::size_t i = 0; i < o.services; ++i) {
    char distance[24];
    std::snprintf(distance, sizeof distance, "%zu,%03zu km", 1 + r.below(250), r.below(1000));
    const std::size_t vehicle = i < o.firstVehicleServices ? 1
                                : o.firstVehicleServices > 0 && o.vehicles > 1
                                    ? 2 + r.below(o.vehicles - 1)
                                    : 1 + r.below(o.vehicles);
    // Drawn in this order so that the default shape keeps its bytes.
    const char* description = r.pick(kServices);
    const double date = o.entryOrder
                            ? double(38353 + (i * 7300) / std::max<std::size_t>(o.services, 1))
                            : randomDate(r);
    p.rows.push_back(
        makeRow({integer(int64_t(i + 1)), integer(int64_t(vehicle)), text(description),
                 number(date), text(r.pick(kTechs)),
                 r.below(3) == 0 ? Value::unassigned() : text(r.pick(kNotes)), text(distance)}));
  }
  return p;
}

inline DataPacket serviceLineTable(const DataOptions& o) {
  using K = ColumnKind;
  Random r(o.seed * 11 + 3);
  const std::size_t count = o.services * o.linesPerService;
  DataPacket p = emptyTable(
      {makeColumn("ServiceLineNumber", K::AutoInc), makeColumn("ServiceNumber", K::Integer),
       makeColumn("ServiceLineProduct", K::String, 50),
       makeColumn("ServiceLineQuantity", K::SmallInt),
       makeColumn("ServiceLineAmount", K::Currency)},
      count);
  for (std::size_t i = 0; i < count; ++i)
    p.rows.push_back(makeRow({integer(int64_t(i + 1)),
                              integer(int64_t(1 + i / (o.linesPerService ? o.linesPerService : 1))),
                              text(r.pick(kProducts)), integer(int64_t(1 + r.below(4))),
                              number(double(r.below(20000)) / 100)}));
  return p;
}

inline DataPacket serviceInvoiceTable(const DataOptions& o) {
  using K = ColumnKind;
  Random r(o.seed * 11 + 4);
  const std::size_t count = std::min(o.invoices, o.services);
  const std::size_t spacing = count ? o.services / count : 1;
  DataPacket p = emptyTable(
      {makeColumn("ServiceInvoiceNumber", K::AutoInc), makeColumn("ServiceNumber", K::Integer),
       makeColumn("ServiceInvoiceBlob", K::Blob),
       makeColumn("ServiceInvoiceDescription", K::String, 50)},
      count);
  for (std::size_t i = 0; i < count; ++i)
    p.rows.push_back(makeRow({integer(int64_t(i + 1)), integer(int64_t(1 + i * spacing)),
                              text(jpegOfSize(o.invoiceBytes, r)),
                              text("Invoice " + std::to_string(10000 + i))}));
  return p;
}

inline DataPacket expenseTable(const DataOptions& o) {
  using K = ColumnKind;
  Random r(o.seed * 11 + 5);
  DataPacket p = emptyTable(
      {makeColumn("ExpenseNumber", K::AutoInc), makeColumn("VehicleNumber", K::Integer),
       makeColumn("ExpenseDescription", K::String, 50), makeColumn("ExpenseAmount", K::Currency),
       makeColumn("ExpenseQuantity", K::SmallInt), makeColumn("ExpenseDate", K::DateTime),
       makeColumn("ExpenseBlob", K::Blob)},
      o.expenses);
  for (std::size_t i = 0; i < o.expenses; ++i)
    p.rows.push_back(makeRow({integer(int64_t(i + 1)), integer(int64_t(1 + r.below(o.vehicles))),
                              text(r.pick(kExpenses)), number(double(r.below(100000)) / 100),
                              Value::unassigned(), number(randomDate(r)),
                              o.expenseReceiptEvery && r.below(o.expenseReceiptEvery) == 0
                                  ? text(jpegOfSize(o.invoiceBytes, r))
                                  : Value::unassigned()}));
  return p;
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Writes Vehicle.cds, Service.cds, ServiceLine.cds, ServiceInvoice.cds and Expense.cds into
// `folder` (created when missing), one table at a time so only one is held in memory.
inline void writeDataFolder(const std::filesystem::path& folder, const DataOptions& o) {
  std::filesystem::create_directories(folder);
  writeBytes(folder / "Vehicle.cds", encodeDataPacket(vehicleTable(o)));
  writeBytes(folder / "Service.cds", encodeDataPacket(serviceTable(o)));
  writeBytes(folder / "ServiceLine.cds", encodeDataPacket(serviceLineTable(o)));
  writeBytes(folder / "ServiceInvoice.cds", encodeDataPacket(serviceInvoiceTable(o)));
  writeBytes(folder / "Expense.cds", encodeDataPacket(expenseTable(o)));
}

}  // namespace wf::bench
