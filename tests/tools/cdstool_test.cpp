// Runs the built cdstool on table files made in the test and checks its output and exit codes.
#include "store/datapacket.h"
#include "store/date_time.h"
#include "store/journal_format.h"
#include "tests/store/datapacket_test_tables.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace wf {
namespace {

using namespace wf::testing;
namespace fs = std::filesystem;

struct ToolRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

class CdsTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("cdstool_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path.string();
  }

  // `command` may carry options ("csv --file-order"); `locale` names the system locale the tool
  // runs in.
  ToolRun run(const std::string& command, const std::string& file,
              const std::string& locale = "en_US.UTF-8") {
    const fs::path errPath = dir_ / "stderr.txt";
    const std::string line = "LC_ALL=" + locale + " LANG=" + locale + " " +
                             std::string(WF_BINARY_DIR) + "/bin/cdstool " + command + " '" + file +
                             "' 2>'" + errPath.string() + "'";
    ToolRun result;
    FILE* pipe = ::popen(line.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath);
    result.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    return result;
  }

  // ServiceInvoice.cds with the worked example's row and one with an image and no description.
  std::vector<uint8_t> invoiceFile() {
    DataPacket packet = emptyPacketOf("ServiceInvoice.cds");
    packet.autoIncValue = 3;
    packet.rows.push_back(row({integer(1), integer(3), Value::unassigned(), text("Tyres")}));
    packet.rows.push_back(
        row({integer(2), integer(3), Value::fromBytes("\xFF\xD8\xFF\xD9"), Value::null()}));
    return encodeDataPacket(packet);
  }

  fs::path dir_;
};

TEST_F(CdsTool, DumpPrintsTheWholePacket) {
  const ToolRun r = run("dump", write("ServiceInvoice.cds", invoiceFile()));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            R"({
  "header": {"signature": "0xBDE01996", "majorVersion": 1, "minorVersion": 0, "headerSize": 24, "columnCount": 4, "rowCount": 2, "packetFlags": 3, "rowAreaOffset": 214},
  "columns": [
    {"name": "ServiceInvoiceNumber", "typeCode": "0x00010004", "kind": "AutoInc", "attributes": 2, "subtype": "Autoinc", "width": 0, "decimals": 0, "calculated": false, "otherParameters": []},
    {"name": "ServiceNumber", "typeCode": "0x00010004", "kind": "Integer", "attributes": 0, "subtype": null, "width": 0, "decimals": 0, "calculated": false, "otherParameters": []},
    {"name": "ServiceInvoiceBlob", "typeCode": "0x004B0004", "kind": "Blob", "attributes": 0, "subtype": "Binary", "width": 0, "decimals": 0, "calculated": false, "otherParameters": []},
    {"name": "ServiceInvoiceDescription", "typeCode": "0x00490001", "kind": "String", "attributes": 0, "subtype": null, "width": 50, "decimals": 0, "calculated": false, "otherParameters": []}
  ],
  "tableParameters": {"AUTOINCVALUE": 3, "changeLog": false, "readOnly": false, "otherParameters": []},
  "rows": [
    {"status": 0, "current": true, "values": [1, 3, {"blank": "unassigned"}, "Tyres"]},
    {"status": 0, "current": true, "values": [2, 3, {"size": 4, "base64": "/9j/2Q=="}, {"blank": "null"}]}
  ]
}
)");
}

TEST_F(CdsTool, DumpShowsDatesTextAndForeignParameters) {
  RawPacket raw;
  raw.header(3, 2)
      .column("When", 0x00080008, 0, 0)
      .column("Note", 0x004B0004, 0, 1)
      .textParameter("SUBTYPE", "Text")
      .column("D", 0x00060004, 0, 0);
  raw.u16(1).name("LCID").u32(0x00010004).u32(1033);
  const double when = *dateTimeToStoredMs(dateTimeFromCalendar({2024, 1, 15, 14, 30}));
  raw.u8(0).u8(0);
  for (int i = 0; i < 8; ++i) raw.u8(reinterpret_cast<const uint8_t*>(&when)[i]);
  raw.u32(8).text("\"Caf\xE9\"\n\x80").u32(738900);
  raw.u8(2).u8(0x2A);  // a deleted row of a change log, all blank
  const ToolRun r = run("dump", write("raw.cds", raw.bytes));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(
      r.out.find(
          R"("values": [{"dateTime": "2024-01-15 14:30:00.000", "days": 45306.604166666664}, "\"Café\"\n€", 738900])"),
      std::string::npos)
      << r.out;
  EXPECT_NE(
      r.out.find(
          R"({"status": 2, "current": false, "values": [{"blank": "unassigned"}, {"blank": "unassigned"}, {"blank": "unassigned"}]})"),
      std::string::npos)
      << r.out;
  EXPECT_NE(
      r.out.find(
          R"("otherParameters": [{"name": "LCID", "typeCode": "0x00010004", "base64": "CQQAAA=="}])"),
      std::string::npos)
      << r.out;
}

// Text is read in the code page the locale selects, or in the one --code-page names.
TEST_F(CdsTool, TextIsReadInTheLocalesCodePageOrTheOneGiven) {
  DataPacket packet = emptyPacketOf("ServiceInvoice.cds");
  packet.rows.push_back(row({integer(1), integer(3), Value::unassigned(),
                             text("\xA3\xF3"
                                  "d\x9F")}));
  const std::string file = write("ServiceInvoice.cds", encodeDataPacket(packet));
  struct Case {
    std::string command;
    std::string locale;
    std::string shown;
  };
  // The description as UTF-8: "Łódź" read as 1250, "£ódŸ" read as 1252.
  const std::string central =
      "\xC5\x81\xC3\xB3"
      "d\xC5\xBA";
  const std::string western =
      "\xC2\xA3\xC3\xB3"
      "d\xC5\xB8";
  const Case cases[] = {
      {"dump", "pl_PL.UTF-8", '"' + central + '"'},
      {"dump", "en_GB.UTF-8", '"' + western + '"'},
      {"--code-page 1250 dump", "en_GB.UTF-8", '"' + central + '"'},
      {"--code-page 1252 csv", "pl_PL.UTF-8", western},
  };

  for (const Case& c : cases) {
    const ToolRun r = run(c.command, file, c.locale);
    EXPECT_EQ(r.exitCode, 0) << c.command << " " << c.locale << ": " << r.err;
    EXPECT_NE(r.out.find(c.shown), std::string::npos)
        << c.command << " " << c.locale << ": " << r.out;
  }
  const ToolRun unknown = run("--code-page 437 dump", file);
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_NE(unknown.err.find("code page 437"), std::string::npos) << unknown.err;
}

// Money and dates as the program shows them in the system locale; rows in the table's index
// order (vehicle, then date) unless the file order is asked for.
TEST_F(CdsTool, CsvPrintsVisibleRecordsAsTheProgramShowsThem) {
  DataPacket packet = emptyPacketOf("Expense.cds");
  packet.rows.push_back(
      row({integer(1), integer(2), text("Oil, \"synthetic\""), number(12.5), Value::unassigned(),
           number(dateTimeFromCalendar({2024, 1, 15})), Value::unassigned()}));
  packet.rows.push_back(
      row({integer(2), integer(2), text("Gone"), number(1), integer(1), number(0), Value::null()},
          0x02));
  packet.rows.push_back(row({integer(3), integer(2), text("Caf\xE9"), number(-3), integer(-4),
                             Value::null(), Value::fromBytes("JPEG")}));
  packet.rows.push_back(row({integer(4), integer(1), text("Tyres"), number(1234.5), integer(2),
                             number(dateTimeFromCalendar({2023, 6, 1})), Value::null()}));
  // The writer drops the deleted row; decode keeps what is written.
  const std::string file = write("Expense.cds", encodeDataPacket(packet));
  const std::string header =
      "ExpenseNumber,VehicleNumber,ExpenseDescription,ExpenseAmount,ExpenseQuantity,ExpenseDate,"
      "ExpenseBlob\r\n";
  struct Case {
    const char* command;
    const char* locale;
    std::string rows;
  };
  const Case cases[] = {
      {"csv", "en_US.UTF-8",
       "4,1,Tyres,\"$1,234.50\",2,6/1/2023,\r\n"
       "3,2,Café,($3.00),-4,,(4 bytes)\r\n"
       "1,2,\"Oil, \"\"synthetic\"\"\",$12.50,,1/15/2024,\r\n"},
      {"csv --file-order", "en_US.UTF-8",
       "1,2,\"Oil, \"\"synthetic\"\"\",$12.50,,1/15/2024,\r\n"
       "3,2,Café,($3.00),-4,,(4 bytes)\r\n"
       "4,1,Tyres,\"$1,234.50\",2,6/1/2023,\r\n"},
      {"csv", "en_GB.UTF-8",
       "4,1,Tyres,\"£1,234.50\",2,01/06/2023,\r\n"
       "3,2,Café,(£3.00),-4,,(4 bytes)\r\n"
       "1,2,\"Oil, \"\"synthetic\"\"\",£12.50,,15/01/2024,\r\n"},
      {"csv", "de_DE.UTF-8",
       "4,1,Tyres,\"1.234,50 €\",2,01.06.2023,\r\n"
       "3,2,Café,\"-3,00 €\",-4,,(4 bytes)\r\n"
       "1,2,\"Oil, \"\"synthetic\"\"\",\"12,50 €\",,15.01.2024,\r\n"},
  };
  for (const Case& c : cases) {
    const ToolRun r = run(c.command, file, c.locale);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, header + c.rows) << c.command << " in " << c.locale;
  }
  // A file that is not one of the program's tables has no index: file order.
  DataPacket foreign = emptyPacketOf("Expense.cds");
  foreign.columns[1].name = "Car";
  foreign.rows = {packet.rows[3], packet.rows[0]};
  const ToolRun r = run("csv", write("foreign.cds", encodeDataPacket(foreign)));
  EXPECT_EQ(r.out.substr(r.out.find("\r\n") + 2, 2), "4,") << r.out;
}

TEST_F(CdsTool, CheckSaysWhetherTheBytesSurviveARoundTrip) {
  const std::vector<uint8_t> file = invoiceFile();
  const ToolRun same = run("check", write("same.cds", file));
  EXPECT_EQ(same.exitCode, 0) << same.err;
  EXPECT_EQ(same.out, "identical: 248 bytes decode and encode to the same bytes\n");

  std::vector<uint8_t> trailing = file;
  trailing.push_back(0xAA);
  const ToolRun extra = run("check", write("trailing.cds", trailing));
  EXPECT_EQ(extra.exitCode, 1);
  EXPECT_EQ(
      extra.out,
      "differs at offset 248: file has AA, encoded ends (file 249 bytes, encoded 248 bytes)\n");

  DataPacket spaces = emptyPacketOf("ServiceInvoice.cds");
  spaces.rows.push_back(row({integer(1), integer(3), Value::unassigned(), text("Tyres")}));
  std::vector<uint8_t> padded = encodeDataPacket(spaces);
  padded[14 + 0] = 1;
  padded.back() = ' ';  // "Tyre " ends in a space, which the writer does not keep
  const ToolRun space = run("check", write("space.cds", padded));
  EXPECT_EQ(space.exitCode, 1);
  EXPECT_EQ(
      space.out,
      "differs at offset 224: file has 05, encoded has 04 (file 230 bytes, encoded 229 bytes)\n");
}

TEST_F(CdsTool, MalformedOrMissingFilesGiveOneLineAndExitTwo) {
  std::vector<uint8_t> truncated = invoiceFile();
  truncated.resize(220);
  const std::string missing = (dir_ / "missing.cds").string();
  const std::pair<std::string, std::string> cases[] = {
      {write("truncated.cds", truncated),
       ": not a valid datapacket: integer value runs past the end of the packet (needs 4 bytes, 0 "
       "left) at offset 220\n"},
      {write("empty.cds", {}),
       ": not a valid datapacket: header runs past the end of the packet (needs 24 bytes, 0 left) "
       "at offset 0\n"},
      {missing, ""},
  };
  for (const std::string command : {"dump", "check", "csv"}) {
    for (const auto& [file, message] : cases) {
      SCOPED_TRACE(command + " " + file);
      const ToolRun r = run(command, file);
      EXPECT_EQ(r.exitCode, 2);
      EXPECT_EQ(r.out, "");
      if (file == missing)
        EXPECT_EQ(r.err, "cdstool: cannot read " + missing + "\n");
      else
        EXPECT_EQ(r.err, "cdstool: " + file + message);
    }
  }
  EXPECT_EQ(run("export", missing).exitCode, 2);
  EXPECT_EQ(run("dump --file-order", missing).exitCode, 2);
  EXPECT_EQ(run("csv --raw", missing).exitCode, 2);
}

TEST_F(CdsTool, JournalPrintsHeaderRecordsAndTheTornTail) {
  JournalHeader header;
  header.file = {true, 214, 0x0000ABCD};
  header.autoIncAtOpen = 3;
  header.columnTypes = {ftAutoInc, ftInteger, ftBlob, ftString};
  std::vector<uint8_t> bytes = encodeJournalHeader(header);
  encodeJournalRecord(bytes, JournalOp::Insert, 3,
                      {Value::fromInt(3), Value::fromInt(1), Value::fromBytes("\xFF\xD8"),
                       Value::fromBytes("Caf\xE9")});
  encodeJournalRecord(bytes, JournalOp::Delete, 2, {});
  encodeJournalWritten(bytes, {true, 300, 0x12345678});
  bytes.insert(bytes.end(), {1, 2, 3});  // the start of a record that was never finished
  const ToolRun r = run("journal", write("ServiceInvoice.journal", bytes));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, R"({
  "version": 2,
  "tableFile": {"exists": true, "size": 214, "crc": "0x0000ABCD"},
  "autoIncAtOpen": 3,
  "columnTypes": ["AutoInc", "Integer", "Blob", "String"],
  "records": [
    {"op": "insert", "key": 3, "values": [3, 1, {"bytes": 2, "base64": "/9g="}, "Café"]},
    {"op": "delete", "key": 2},
    {"op": "written", "key": 0, "newFile": {"size": 300, "crc": "0x12345678"}}
  ],
  "tornTailBytes": 3
}
)");

  const ToolRun table = run("journal", write("ServiceInvoice.cds", invoiceFile()));
  EXPECT_EQ(table.exitCode, 2);
  EXPECT_NE(table.err.find("not a change journal"), std::string::npos) << table.err;
}

}  // namespace
}  // namespace wf
