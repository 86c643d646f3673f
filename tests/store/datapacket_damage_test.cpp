// Damaged packets: each is refused with a DataPacketError that says what is wrong and where, and
// no damage makes the reader touch a byte outside its input.
#include "datapacket_test_tables.h"
#include "store/datapacket.h"
#include "store/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

namespace wf {
namespace {

using namespace wf::testing;

// Service.cds with one row:
//    24 ServiceNumber: 38 type code, 46 SUBTYPE, 54 its type code, 58 its length
//    68 VehicleNumber, 90 ServiceDescription (109 type code), 262 AUTOINCVALUE (275 type code)
//   283 status, 284 indicators, 286 ServiceNumber, 290 VehicleNumber,
//   294 description length, 295 "Oil change", 305 date, 313 tech length, 314 "Sam",
//   317 note length (4 bytes), 321 "Drained", 328 distance length, 329 "9 km"
class DataPacketDamage : public ::testing::Test {
 public:
  void SetUp() override {
    DataPacket packet = emptyPacketOf("Service.cds");
    packet.rows.push_back(row({integer(1), integer(1), text("Oil change"),
                               number(dateTimeFromCalendar({2024, 1, 15})), text("Sam"),
                               text("Drained"), text("9 km")}));
    bytes_ = encodeDataPacket(packet);
    ASSERT_EQ(bytes_.size(), 333u);
  }

  void truncate(std::size_t size) { bytes_.resize(size); }
  void flipByte(std::size_t offset) { bytes_.at(offset) ^= 0xFF; }
  void setU8(std::size_t offset, uint8_t v) { bytes_.at(offset) = v; }
  void setU16(std::size_t offset, uint16_t v) {
    setU8(offset, uint8_t(v));
    setU8(offset + 1, uint8_t(v >> 8));
  }
  void setU32(std::size_t offset, uint32_t v) {
    setU16(offset, uint16_t(v));
    setU16(offset + 2, uint16_t(v >> 16));
  }
  void setDouble(std::size_t offset, double d) {
    bytes_.at(offset + 7);
    std::memcpy(bytes_.data() + offset, &d, 8);
  }

  // Decodes from an exact-size heap copy, so a sanitizer build sees any read past the end.
  DataPacketError decodeError() {
    std::vector<uint8_t> exact(bytes_);
    try {
      decodeDataPacket(exact);
    } catch (const DataPacketError& e) {
      return e;
    }
    ADD_FAILURE() << "the damaged packet was accepted";
    return DataPacketError("accepted", SIZE_MAX);
  }

  std::vector<uint8_t> bytes_;
};

TEST_F(DataPacketDamage, IsRefusedWithWhatAndWhere) {
  struct Case {
    const char* name;
    std::function<void(DataPacketDamage&)> damage;
    const char* problem;  // a piece of the message
    std::size_t offset;
  };
  const Case cases[] = {
      {"empty file", [](auto& d) { d.truncate(0); }, "header runs past the end", 0},
      {"short header", [](auto& d) { d.truncate(23); }, "header runs past the end", 0},
      {"signature", [](auto& d) { d.flipByte(0); }, "signature 0xBDE01969", 0},
      {"major version", [](auto& d) { d.setU16(4, 4); }, "major version 4", 4},
      {"minor version", [](auto& d) { d.setU16(6, 4); }, "minor version 4", 6},
      {"header size below 24", [](auto& d) { d.setU32(8, 23); }, "header size 23", 8},
      {"header size past the end", [](auto& d) { d.setU32(8, 400); }, "header size 400", 8},
      {"no metadata flag", [](auto& d) { d.setU32(18, 2); }, "no column descriptors", 18},
      {"array column", [](auto& d) { d.setU32(38, 0x00810004); }, "type code 0x00810004", 38},
      {"nested-table column", [](auto& d) { d.setU32(38, 0x040E0004); }, "cannot be read", 38},
      {"string column with 4-byte prefix", [](auto& d) { d.setU32(109, 0x00490004); },
       "column 2 ('ServiceDescription')", 109},
      {"column name past the end", [](auto& d) { d.truncate(30); }, "column name runs past the end",
       25},
      {"parameter prefix of 3 bytes", [](auto& d) { d.setU32(54, 0x00490003); },
       "length prefix of 3", 54},
      {"parameter past the end", [](auto& d) { d.setU16(58, 0xFFFF); }, "parameter value runs past",
       60},
      {"AUTOINCVALUE that is a text", [](auto& d) { d.setU32(275, 0x00490001); }, "AUTOINCVALUE",
       262},
      {"row count past the end", [](auto& d) { d.setU32(14, 2); }, "runs past the end", 333},
      {"huge row count", [](auto& d) { d.setU32(14, 0xFFFFFFFF); }, "row count 4294967295", 283},
      {"string length past the end", [](auto& d) { d.setU8(328, 200); }, "string value runs past",
       329},
      {"memo length past the end", [](auto& d) { d.setU32(317, 0xFFFFFFF0); },
       "blob value runs past", 321},
      {"row cut in a date", [](auto& d) { d.truncate(309); }, "date-time value runs past", 305},
      {"date-time not a number", [](auto& d) { d.setDouble(305, NAN); },
       "date-time value out of range", 305},
      {"date-time too large", [](auto& d) { d.setDouble(305, 1e300); },
       "date-time value out of range", 305},
  };
  const std::vector<uint8_t> original = bytes_;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bytes_ = original;
    c.damage(*this);
    const DataPacketError e = decodeError();
    EXPECT_NE(std::string(e.what()).find(c.problem), std::string::npos) << e.what();
    EXPECT_EQ(e.offset(), c.offset) << e.what();
    EXPECT_NE(std::string(e.what()).find("at offset " + std::to_string(c.offset)),
              std::string::npos);
  }
}

TEST_F(DataPacketDamage, EveryTruncationIsRefused) {
  const std::vector<uint8_t> original = bytes_;
  for (std::size_t size = 0; size < original.size(); ++size) {
    SCOPED_TRACE(size);
    bytes_.assign(original.begin(), original.begin() + std::ptrdiff_t(size));
    const DataPacketError e = decodeError();
    EXPECT_LE(e.offset(), size);
  }
}

TEST_F(DataPacketDamage, AnyChangedByteIsDecodedOrRefusedButNeverReadPastTheEnd) {
  const std::vector<uint8_t> original = bytes_;
  for (std::size_t offset = 0; offset < original.size(); ++offset) {
    for (uint8_t v : {uint8_t(0x00), uint8_t(0x7F), uint8_t(0xFF)}) {
      std::vector<uint8_t> exact = original;
      exact[offset] = v;
      try {
        decodeDataPacket(exact);
      } catch (const DataPacketError&) {}
    }
  }
}

TEST_F(DataPacketDamage, BytesAfterTheLastRowAreIgnored) {
  const DataPacket before = decodeDataPacket(bytes_);
  bytes_.push_back(0xAA);
  bytes_.push_back(0x55);
  EXPECT_EQ(decodeDataPacket(bytes_).rows, before.rows);
}

}  // namespace
}  // namespace wf
