// The reader: the worked examples, round trips through the writer, the rules for cutting strings
// and names, parameters it keeps for writing back, change logs and the value buffer limit.
#include "datapacket_test_tables.h"
#include "store/datapacket.h"
#include "store/datapacket_format.h"
#include "store/date_time.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace wf {
namespace {

using namespace wf::testing;

TEST(DataPacketReader, EmptyServiceInvoiceFile) {
  const DataPacket p = decodeDataPacket(encodeDataPacket(emptyPacketOf("ServiceInvoice.cds")));
  EXPECT_EQ(p.signature, 0xBDE01996u);
  EXPECT_EQ(p.majorVersion, 1);
  EXPECT_EQ(p.minorVersion, 0);
  EXPECT_EQ(p.headerSize, 24u);
  EXPECT_EQ(p.packetFlags, 3u);
  EXPECT_EQ(p.rowAreaOffset, 214);
  ASSERT_EQ(p.columns.size(), 4u);
  EXPECT_EQ(p.columns[0].name, "ServiceInvoiceNumber");
  EXPECT_EQ(p.columns[0].attributes, dpformat::kColumnReadOnly);
  EXPECT_EQ(p.columns[3].width, 50);
  const ColumnKind kinds[] = {ColumnKind::AutoInc, ColumnKind::Integer, ColumnKind::Blob,
                              ColumnKind::String};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(columnKind(p.columns[i]), kinds[i]);
  EXPECT_EQ(p.autoIncValue, 1);
  EXPECT_EQ(p.autoIncColumn(), 0u);
  EXPECT_TRUE(p.otherParameters.empty());
  EXPECT_TRUE(p.rows.empty());
}

TEST(DataPacketReader, WorkedRowsReadBackWithTheirBlankStates) {
  std::vector<uint8_t> invoice = encodeDataPacket(emptyPacketOf("ServiceInvoice.cds"));
  for (uint8_t b : hexBytes("00 20 01 00 00 00 03 00 00 00 05 54 79 72 65 73"))
    invoice.push_back(b);
  invoice[14] = 1;
  const DataPacket p = decodeDataPacket(invoice);
  ASSERT_EQ(p.rows.size(), 1u);
  EXPECT_EQ(p.rows[0], row({integer(1), integer(3), Value::unassigned(), text("Tyres")}));

  std::vector<uint8_t> expense = encodeDataPacket(emptyPacketOf("Expense.cds"));
  for (uint8_t b : hexBytes("00 00 22 01 00 00 00 02 00 00 00 03 4F 69 6C 00 00 00 00 00 00 29 40"
                            "00 00 18 DF 10 08 CD 42"))
    expense.push_back(b);
  expense[14] = 1;
  const DataPacket e = decodeDataPacket(expense);
  ASSERT_EQ(e.rows.size(), 1u);
  EXPECT_EQ(e.rows[0], row({integer(1), integer(2), text("Oil"), number(12.5), Value::unassigned(),
                            number(dateTimeFromCalendar({2024, 1, 15})), Value::unassigned()}));
  EXPECT_FALSE(e.rows[0].values[4].hasValue());
  EXPECT_EQ(e.rows[0].values[6].blankState(), BlankState::Unassigned);
}

// Rows for each of the five tables that use every blank state and awkward values.
std::vector<Row> sampleRows(const std::string& file) {
  const double when = dateTimeFromCalendar({2024, 1, 15, 14, 30});
  const std::string jpeg("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\xFF\xD9", 14);
  if (file == "Vehicle.cds")
    return {row({integer(1), text("Ford"), text("Focus"), text("2011"), text("AB12 CDE"),
                 Value::fromBytes(jpeg)}),
            row({integer(2), text(""), Value::null(), Value::unassigned(), text("\xE9t\xE9"),
                 Value::null()})};
  if (file == "Service.cds")
    return {row({integer(1), integer(1), text("Oil change"), number(when), text("Sam"),
                 text("Line one\r\nLine two"), text("120,000 km")}),
            row({integer(2), integer(-1), Value::null(), number(-1.25), Value::unassigned(),
                 Value::null(), text("")})};
  if (file == "ServiceLine.cds")
    return {row({integer(1), integer(2), text("Filter"), integer(-32768), number(12.34567)}),
            row({integer(2), integer(2), text("Labour"), integer(32767), number(-0.5)})};
  if (file == "ServiceInvoice.cds")
    return {row({integer(1), integer(3), Value::unassigned(), text("Tyres")}),
            row({integer(2), integer(2147483647), Value::fromBytes(jpeg), Value::null()})};
  return {row({integer(1), integer(2), text("Oil"), number(12.5), Value::unassigned(),
               number(dateTimeFromCalendar({2024, 1, 15})), Value::unassigned()}),
          row({integer(2), integer(-2147483648LL), text(std::string(50, 'x').c_str()),
               number(1e300), integer(-1), number(dateTimeFromCalendar({1, 1, 1})),
               Value::fromBytes(std::string(1, '\0'))})};
}

TEST(DataPacketReader, RoundTripsEveryTableByteForByte) {
  for (const TableSchema& schema : storeSchemas()) {
    SCOPED_TRACE(schema.file);
    DataPacket packet = emptyPacket(schema.columns, 6);
    packet.rows = sampleRows(schema.file);
    const std::vector<uint8_t> file = encodeDataPacket(packet);
    const DataPacket back = decodeDataPacket(file);
    EXPECT_EQ(back.columns, packet.columns);
    EXPECT_EQ(back.rows, packet.rows);
    EXPECT_EQ(back.autoIncValue, 6);
    EXPECT_EQ(encodeDataPacket(back), file);
  }
}

TEST(DataPacketReader, StringsAreCutAtTheirWidthAndNamesAt31) {
  const std::string name40(40, 'N');
  RawPacket raw;
  raw.header(2, 2)
      .column(name40, 0x00490002, 0, 1)
      .u16Parameter("WIDTH", 5)
      .column("Fixed", 0x00090006, 0, 1)
      .u16Parameter("width", 4)
      .u16(0);
  const std::string long200(200, 'a');
  raw.u8(0).u8(0).u16(200).text(long200).text("ab\0cde", 6);
  raw.u8(0).u8(0).u16(3).text("a\0b", 3).text("xyzuvw");
  const DataPacket p = decodeDataPacket(raw.bytes);
  EXPECT_EQ(p.columns[0].name, std::string(31, 'N'));
  EXPECT_EQ(p.columns[1].width, 4);
  EXPECT_EQ(p.rows[0].values[0].bytes(), "aaaaa");
  EXPECT_EQ(p.rows[0].values[1].bytes(), "ab");
  EXPECT_EQ(p.rows[1].values[0].bytes(), "a");
  EXPECT_EQ(p.rows[1].values[1].bytes(), "xyzu");
}

TEST(DataPacketReader, ValueBufferLimit) {
  struct Case {
    uint16_t width;
    std::size_t length;
    bool accepted;
  };
  // 258 bytes, or the column's storage size (2-byte prefix + width) when larger.
  const Case cases[] = {{50, 258, true}, {50, 259, false}, {300, 302, true}, {300, 303, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "/" + std::to_string(c.length));
    RawPacket raw;
    raw.header(2, 1)
        .column("S", 0x00490002, 0, 1)
        .u16Parameter("WIDTH", c.width)
        .column("B", 0x004B0004, 0, 0)
        .u16(0);
    raw.u8(0).u8(0).u16(uint16_t(c.length)).text(std::string(c.length, 's'));
    raw.u32(100000).text(std::string(100000, 'b'));  // blobs are exempt
    if (c.accepted) {
      const DataPacket p = decodeDataPacket(raw.bytes);
      EXPECT_EQ(p.rows[0].values[0].bytes().size(), c.width);
      EXPECT_EQ(p.rows[0].values[1].bytes().size(), 100000u);
    } else {
      try {
        decodeDataPacket(raw.bytes);
        ADD_FAILURE() << "accepted";
      } catch (const DataPacketError& e) {
        EXPECT_NE(std::string(e.what()).find("value buffer"), std::string::npos) << e.what();
        EXPECT_EQ(e.offset(), 24u + 10 + 12 + 10 + 2 + 1 + 1);  // the length prefix
      }
    }
  }
}

TEST(DataPacketReader, KeepsParametersItDoesNotApplyAndWritesThemBack) {
  RawPacket raw;
  raw.header(2, 1)
      .column("Id", 0x00010004, 0, 2)
      .textParameter("subtype", "autoinc")
      .i32Parameter("MINVALUE", 0)
      .column("Kind", 0x00490001, 0, 3)
      .textParameter("SUBTYPE", "Fancy")
      .u16Parameter("WIDTH", 9)
      .name("TYPENAME")
      .u32(0x00490001)
      .u8(3)
      .text("abc");
  const std::size_t tableParameters = raw.bytes.size();
  raw.u16(6)
      .name("DEFAULT_ORDER")
      .u32(0x00820002)
      .u32(2)
      .u16(1)
      .u16(0)
      .i32Parameter("AUTOINCVALUE", 42)
      .name("LCID")
      .u32(0x00010004)
      .u32(1033)
      .name("READONLY")
      .u32(0x00030001)
      .u8(1)
      .name("DISABLE_DELETES")
      .u32(0x00030001)
      .u8(0)
      .name("MD_SEMANTICS")
      .u32(0x80490001)
      .u8(2)
      .text("xy");
  raw.u8(0).u8(0).u32(7).u8(4).text("kind");
  const DataPacket p = decodeDataPacket(raw.bytes);

  EXPECT_EQ(p.columns[0].subtype, "Autoinc");  // known subtype, spelled as the format spells it
  EXPECT_EQ(p.columns[0].attributes, dpformat::kColumnReadOnly);
  EXPECT_EQ(columnKind(p.columns[0]), ColumnKind::AutoInc);
  ASSERT_EQ(p.columns[0].otherParameters.size(), 1u);
  EXPECT_EQ(p.columns[0].otherParameters[0].name, "MINVALUE");
  EXPECT_EQ(p.columns[1].subtype, "");  // an unknown subtype is kept as it came
  ASSERT_EQ(p.columns[1].otherParameters.size(), 2u);
  EXPECT_EQ(p.columns[1].otherParameters[0].name, "SUBTYPE");
  EXPECT_EQ(p.columns[1].otherParameters[1].value, textBytes("abc"));
  EXPECT_EQ(p.autoIncValue, 42);
  EXPECT_EQ(p.otherParameters.size(), 5u);
  EXPECT_EQ(p.lcid(), 1033u);
  EXPECT_TRUE(p.readOnly());
  EXPECT_FALSE(p.disableDeletes());
  EXPECT_FALSE(p.disableEdits());
  EXPECT_EQ(p.rows[0].values[1].bytes(), "kind");

  // Rewritten with the known subtype in its own spelling and the read-only attribute; everything
  // else as it came.
  const DataPacket again = decodeDataPacket(encodeDataPacket(p));
  EXPECT_EQ(again.columns, p.columns);
  EXPECT_EQ(again.otherParameters, p.otherParameters);
  EXPECT_EQ(again.rows, p.rows);
  const std::vector<uint8_t> file = encodeDataPacket(p);
  EXPECT_EQ(encodeDataPacket(again), file);
  ASSERT_EQ(file.size(), raw.bytes.size());
  EXPECT_TRUE(std::equal(file.begin() + std::ptrdiff_t(tableParameters), file.end(),
                         raw.bytes.begin() + std::ptrdiff_t(tableParameters)))
      << "table parameters and rows are not written back unchanged";
}

TEST(DataPacketReader, ChangeLogRowsKeepTheirStatusAndTheLogIsDropped) {
  RawPacket raw;
  raw.header(1, 4).column("N", 0x00010004, 0, 0).u16(1);
  raw.name("CHANGE_LOG").u32(0x00810004).u32(3).u32(1).u32(2).u32(4);
  const uint8_t statuses[] = {0x01, 0x08, 0x02, 0x04};
  for (uint8_t s : statuses) raw.u8(s).u8(0).u32(s);
  const DataPacket p = decodeDataPacket(raw.bytes);
  EXPECT_TRUE(p.hadChangeLog);
  EXPECT_TRUE(p.otherParameters.empty());
  ASSERT_EQ(p.rows.size(), 4u);
  const bool current[] = {false, true, false, true};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(p.rows[i].status, statuses[i]);
    EXPECT_EQ(p.rows[i].isCurrent(), current[i]);
  }
}

TEST(DataPacketReader, OtherLogicalTypesReadAndWriteBack) {
  RawPacket raw;
  raw.header(10, 1)
      .column("I8", 0x00010001, 0, 0)
      .column("I64", 0x00010008, 0, 0)
      .column("U16", 0x00020002, 0, 0)
      .column("U64", 0x00020008, 0, 0)
      .column("B", 0x00030002, 0, 0)
      .column("D", 0x00060004, 0, 0)
      .column("T", 0x00070004, 0, 0)
      .column("X", 0x0004000A, 0, 0)
      .column("W", 0x004A0002, 0, 0)
      .column("V", 0x004B0001, 0, 0)
      .u16(0);
  raw.u8(0)
      .u16(0)
      .u8(0)
      .u8(0xFE)
      .u32(0)
      .u32(0x80000000)
      .u16(65535)
      .u32(0xFFFFFFFF)
      .u32(0xFFFFFFFF)
      .u16(1)
      .u32(738900)
      .u32(52200000)
      .text("0123456789")
      .u16(4)
      .text("a\0b\0", 4)
      .u8(2)
      .text("\0\1", 2);
  const DataPacket p = decodeDataPacket(raw.bytes);
  const Row& r = p.rows[0];
  EXPECT_EQ(r.values[0], integer(-2));
  EXPECT_EQ(r.values[1], integer(INT64_MIN));
  EXPECT_EQ(r.values[2], integer(65535));
  EXPECT_EQ(r.values[3], integer(-1));  // the bit pattern of the largest 8-byte unsigned
  EXPECT_EQ(r.values[4], Value::fromBool(true));
  EXPECT_EQ(r.values[5], integer(738900));
  EXPECT_EQ(r.values[6], integer(52200000));
  EXPECT_EQ(r.values[7].bytes(), "0123456789");
  EXPECT_EQ(r.values[8].bytes(), std::string("a\0b\0", 4));
  EXPECT_EQ(r.values[9].bytes(), std::string("\0\1", 2));
  for (const Column& c : p.columns) EXPECT_EQ(columnKind(c), ColumnKind::Other) << c.name;
  EXPECT_EQ(decodeDataPacket(encodeDataPacket(p)).rows, p.rows);
}

TEST(DataPacketReader, AlternativeSignatureSkipsTheVersionCheck) {
  std::vector<uint8_t> file = encodeDataPacket(emptyPacketOf("Vehicle.cds"));
  file[0] = 0xCD, file[1] = 0xAB, file[2] = 0, file[3] = 0;
  file[4] = 9;
  file[6] = 7;
  EXPECT_EQ(decodeDataPacket(file).columns.size(), 6u);
}

}  // namespace
}  // namespace wf

namespace wf {
namespace {

using namespace wf::testing;

TEST(DataPacketReader, RowByRowDecodingGivesTheSameRows) {
  DataPacket packet = emptyPacketOf("Service.cds");
  for (int i = 0; i < 6; ++i) {
    // Values, blanks and strings of different lengths take turns in each column, so the reused
    // row has to drop what the previous one held.
    const std::string longText(std::size_t(10 + 17 * i), char('a' + i));
    packet.rows.push_back(
        row({integer(i + 1), i % 3 ? integer(i) : Value::null(),
             i % 2 ? text(longText.substr(0, 50).c_str()) : Value::unassigned(),
             i % 2 ? Value::null() : number(i * 100.25), text(i % 3 ? "" : "Sam"),
             i == 4 ? Value::null() : text(longText.c_str()), text(std::to_string(i).c_str())}));
  }
  const std::vector<uint8_t> file = encodeDataPacket(packet);
  std::vector<Row> streamed;
  const DataPacket meta = decodeDataPacket(file, [&](const Row& r) { streamed.push_back(r); });
  const DataPacket whole = decodeDataPacket(file);
  EXPECT_TRUE(meta.rows.empty());
  EXPECT_EQ(meta.columns, whole.columns);
  EXPECT_EQ(meta.autoIncValue, whole.autoIncValue);
  EXPECT_EQ(streamed, whole.rows);
  EXPECT_EQ(streamed, packet.rows);
}

}  // namespace
}  // namespace wf
