// The writer against the worked examples of the table files, byte for byte, and its rules for
// strings, blank values, length prefixes and change-log rows.
#include "datapacket_test_tables.h"
#include "store/datapacket.h"
#include "store/date_time.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace wf {
namespace {

using namespace wf::testing;

// ServiceInvoice.cds of a table that never had a record.
const char* kEmptyServiceInvoice =
    "96 19 E0 BD 01 00 00 00 18 00 00 00 04 00 00 00 00 00 03 00 00 00 D6 00"
    "14 53 65 72 76 69 63 65 49 6E 76 6F 69 63 65 4E 75 6D 62 65 72 04 00 01 00 02 00 01 00"
    "07 53 55 42 54 59 50 45 02 00 49 00 08 00 41 75 74 6F 69 6E 63 00"
    "0D 53 65 72 76 69 63 65 4E 75 6D 62 65 72 04 00 01 00 00 00 00 00"
    "12 53 65 72 76 69 63 65 49 6E 76 6F 69 63 65 42 6C 6F 62 04 00 4B 00 00 00 01 00"
    "07 53 55 42 54 59 50 45 02 00 49 00 07 00 42 69 6E 61 72 79 00"
    "19 53 65 72 76 69 63 65 49 6E 76 6F 69 63 65 44 65 73 63 72 69 70 74 69 6F 6E 01 00 49 00 00 "
    "00 01 00"
    "05 57 49 44 54 48 02 00 02 00 32 00"
    "01 00 0C 41 55 54 4F 49 4E 43 56 41 4C 55 45 04 00 01 00 01 00 00 00";

std::vector<uint8_t> rowBytes(const std::vector<uint8_t>& file, std::size_t rowArea) {
  return {file.begin() + static_cast<std::ptrdiff_t>(rowArea), file.end()};
}

TEST(DataPacketWriter, EmptyServiceInvoiceFileMatchesTheWorkedExample) {
  const std::vector<uint8_t> file = encodeDataPacket(emptyPacketOf("ServiceInvoice.cds"));
  const std::vector<uint8_t> expected = hexBytes(kEmptyServiceInvoice);
  ASSERT_EQ(expected.size(), 214u);
  EXPECT_EQ(file, expected);
}

TEST(DataPacketWriter, EmptyTablesStartTheirRowsWhereTheFileEnds) {
  const std::pair<const char*, std::size_t> expected[] = {{"Vehicle.cds", 261},
                                                          {"Service.cds", 283},
                                                          {"ServiceLine.cds", 230},
                                                          {"ServiceInvoice.cds", 214},
                                                          {"Expense.cds", 279}};
  for (const auto& [file, offset] : expected) {
    SCOPED_TRACE(file);
    const std::vector<uint8_t> bytes = encodeDataPacket(emptyPacketOf(file));
    EXPECT_EQ(bytes.size(), offset);
    EXPECT_EQ(bytes[22] | bytes[23] << 8, int(offset));
    EXPECT_EQ(bytes[18], 3);  // metadata present, row-area offset valid
    EXPECT_EQ(bytes[14], 0);  // no rows
  }
}

TEST(DataPacketWriter, InvoiceRowWithUnassignedImageIsSixteenBytes) {
  DataPacket packet = emptyPacketOf("ServiceInvoice.cds");
  packet.autoIncValue = 2;
  packet.rows.push_back(row({integer(1), integer(3), Value::unassigned(), text("Tyres")}));
  const std::vector<uint8_t> file = encodeDataPacket(packet);
  EXPECT_EQ(rowBytes(file, 214), hexBytes("00 20 01 00 00 00 03 00 00 00 05 54 79 72 65 73"));
  EXPECT_EQ(file[14], 1);                    // one row
  EXPECT_EQ(file[22] | file[23] << 8, 214);  // rows still begin after the metadata
  EXPECT_EQ(file[210], 2);                   // AUTOINCVALUE is the next number

  packet.rows[0].values[2] = Value::null();  // an image that was cleared
  EXPECT_EQ(encodeDataPacket(packet)[215], 0x10);
}

TEST(DataPacketWriter, ExpenseRowIsThirtyOneBytes) {
  DataPacket packet = emptyPacketOf("Expense.cds");
  const double date = dateTimeFromCalendar({2024, 1, 15});
  packet.rows.push_back(row({integer(1), integer(2), text("Oil"), number(12.5), Value::unassigned(),
                             number(date), Value::unassigned()}));
  EXPECT_EQ(rowBytes(encodeDataPacket(packet), 279),
            hexBytes("00 00 22 01 00 00 00 02 00 00 00 03 4F 69 6C 00 00 00 00 00 00 29 40"
                     "00 00 18 DF 10 08 CD 42"));
}

TEST(DataPacketWriter, StringRules) {
  struct Case {
    const char* name;
    std::string value;
    const char* bytes;  // the value's bytes in the row
  };
  const Case cases[] = {
      {"empty string is one 0 byte", "", "01 00"},
      {"only spaces is an empty string", "   ", "01 00"},
      {"trailing spaces go, leading stay", "  ab  ", "04 20 20 61 62"},
      {"cut at the width of 5", "abcdefgh", "05 61 62 63 64 65"},
      {"cut at the width, then trailing space goes", "abcd fgh", "04 61 62 63 64"},
      {"ends at a 0 byte", std::string("ab\0cd", 5), "02 61 62"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DataPacket packet = emptyPacket(
        {makeColumn("Id", ColumnKind::AutoInc), makeColumn("S", ColumnKind::String, 5)});
    packet.rows.push_back(row({integer(7), Value::fromBytes(c.value)}));
    const std::vector<uint8_t> file = encodeDataPacket(packet);
    const std::size_t rowArea = file[22] | file[23] << 8;
    std::vector<uint8_t> expected = hexBytes("00 00 07 00 00 00");
    for (uint8_t b : hexBytes(c.bytes)) expected.push_back(b);
    EXPECT_EQ(rowBytes(file, rowArea), expected);
  }
}

TEST(DataPacketWriter, StringWidthDecidesTheLengthPrefix) {
  for (uint16_t width : {253, 254}) {
    SCOPED_TRACE(width);
    const Column column = makeColumn("S", ColumnKind::String, width);
    EXPECT_EQ(column.typeCode, width == 253 ? 0x00490001u : 0x00490002u);
    DataPacket packet = emptyPacket({column});
    packet.rows.push_back(row({text("ab")}));
    packet.rows.push_back(row({text("")}));
    const std::vector<uint8_t> file = encodeDataPacket(packet);
    const std::vector<uint8_t> expected = width == 253
                                              ? hexBytes("00 00 02 61 62  00 00 01 00")
                                              : hexBytes("00 00 02 00 61 62  00 00 01 00 00");
    EXPECT_EQ(rowBytes(file, file[22] | file[23] << 8), expected);
    // WIDTH travels with the column either way.
    EXPECT_EQ(decodeDataPacket(file).columns[0].width, width);
  }
}

TEST(DataPacketWriter, IndicatorBitsOfFiveColumns) {
  // ServiceLine has five columns: two indicator bytes, the second using only its lowest two bits.
  DataPacket packet = emptyPacketOf("ServiceLine.cds");
  packet.rows.push_back(
      row({integer(1), Value::null(), Value::unassigned(), Value::null(), Value::unassigned()}));
  packet.rows.push_back(row({integer(2), integer(1), text("x"), integer(-2), Value::null()}));
  EXPECT_EQ(rowBytes(encodeDataPacket(packet), 230),
            hexBytes("00 64 02 01 00 00 00"
                     "00 00 01 02 00 00 00 01 00 00 00 01 78 FE FF"));
}

TEST(DataPacketWriter, WritesCurrentRowsOnlyWithStatusZeroAndNoChangeLog) {
  DataPacket packet = emptyPacket({makeColumn("N", ColumnKind::Integer)});
  packet.hadChangeLog = true;
  const uint8_t statuses[] = {0x00, 0x01, 0x02, 0x04, 0x08, 0x20, 0x0C};
  for (uint8_t s : statuses) packet.rows.push_back(row({integer(s)}, s));
  const std::vector<uint8_t> file = encodeDataPacket(packet);
  const DataPacket back = decodeDataPacket(file);
  ASSERT_EQ(back.rows.size(), 4u);
  const int64_t kept[] = {0x00, 0x04, 0x08, 0x0C};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(back.rows[i].status, 0);
    EXPECT_EQ(back.rows[i].values[0].toInt(), kept[i]);
  }
  EXPECT_FALSE(back.hadChangeLog);
}

TEST(DataPacketWriter, RefusesValuesThatDoNotFitTheirColumn) {
  const DataPacket base = emptyPacketOf("ServiceLine.cds");
  const std::vector<Row> bad = {
      row({integer(1), integer(1), text("x"), integer(40000), number(1)}),  // small integer range
      row({integer(1), text("1"), text("x"), integer(1), number(1)}),       // string in an integer
      row({integer(1), integer(1), text("x"), integer(1), integer(1)}),     // integer in currency
      row({integer(1), integer(1), text("x")}),                             // too few values
  };
  for (const Row& r : bad) {
    DataPacket packet = base;
    packet.rows.push_back(r);
    EXPECT_THROW(encodeDataPacket(packet), DataPacketError);
  }
}

}  // namespace
}  // namespace wf

namespace wf {
namespace {

using namespace wf::testing;

// Records the sink calls, so a test sees what went where and when.
class ChunkSink : public VectorSink {
 public:
  void append(const uint8_t* data, std::size_t size) override {
    chunks.push_back(size);
    VectorSink::append(data, size);
  }
  void overwrite(std::size_t offset, const uint8_t* data, std::size_t size) override {
    overwrites.push_back(offset);
    VectorSink::overwrite(offset, data, size);
  }
  std::vector<std::size_t> chunks;
  std::vector<std::size_t> overwrites;
};

std::vector<uint8_t> encodeRowByRow(const DataPacket& packet, ChunkSink& sink) {
  encodeDataPacket(
      packet, packet.rows.size(),
      [&](std::size_t i, RowView& r) {
        EXPECT_EQ(r.status, 0);
        r.status = packet.rows[i].status;
        r.values.resize(packet.rows[i].values.size());
        for (std::size_t j = 0; j < r.values.size(); ++j)
          r.values[j] = ValueView::of(packet.rows[i].values[j]);
      },
      sink);
  return sink.bytes;
}

TEST(DataPacketWriter, RowByRowEncodingGivesTheSameBytes) {
  DataPacket packet = emptyPacketOf("ServiceInvoice.cds");
  packet.autoIncValue = 9;
  const std::string image(300, '\xD8');
  for (int i = 0; i < 8; ++i)
    packet.rows.push_back(
        row({integer(i + 1), i % 3 ? integer(i) : Value::null(),
             i % 2 ? Value::fromBytes(image.substr(0, std::size_t(i * 40))) : Value::unassigned(),
             text(i % 4 ? "Tyres  " : "")},
            i == 5 ? 0x02 : 0));
  const std::vector<uint8_t> whole = encodeDataPacket(packet);
  ChunkSink sink;
  EXPECT_EQ(encodeRowByRow(packet, sink), whole);
  EXPECT_EQ(sink.overwrites,
            std::vector<std::size_t>{14});  // the row count, once the deleted row was skipped
  EXPECT_EQ(decodeDataPacket(whole).rows.size(), 7u);  // the deleted row is not written
}

// A large packet reaches the sink in pieces cut between rows, and the header's row count is right
// without going back to it.
TEST(DataPacketWriter, LargePacketStreamsInChunks) {
  DataPacket packet = emptyPacketOf("ServiceInvoice.cds");
  const std::string image(1000, '\x5A');
  for (int i = 0; i < 13000; ++i)
    packet.rows.push_back(row({integer(i + 1), integer(i), Value::fromBytes(image), text("x")}));
  const std::vector<uint8_t> whole = encodeDataPacket(packet);
  ASSERT_GT(whole.size(), 13'000'000u);
  ChunkSink sink;
  EXPECT_EQ(encodeRowByRow(packet, sink), whole);
  // 1 MB chunks, each cut at the first row boundary past 1 MB.
  ASSERT_GE(sink.chunks.size(), 12u);
  for (std::size_t i = 0; i + 1 < sink.chunks.size(); ++i) {
    EXPECT_GE(sink.chunks[i], 1u << 20) << i;
    EXPECT_LE(sink.chunks[i], (1u << 20) + 1100u) << i;
  }
  EXPECT_TRUE(sink.overwrites.empty());
}

}  // namespace
}  // namespace wf
