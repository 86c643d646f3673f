#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <functional>
#include <sstream>

#include "store/data_source.h"
#include "store/datapacket.h"
#include "store/datapacket_format.h"
#include "store/table_error.h"
#include "table_fixture.h"

namespace wf::test {
namespace {

// Runs an operation and returns the message of the failure it raises.
std::string failureOf(const std::function<void()>& op) {
  try {
    op();
  } catch (const TableError& e) {
    return e.what();
  }
  return "<no failure>";
}

std::vector<std::uint8_t> fileBytes(const std::string& path) {
  std::string bytes = readBytes(path);
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

DataPacket decodeFile(const std::string& path) { return decodeDataPacket(fileBytes(path)); }

void writePacket(const std::string& path, const DataPacket& packet) {
  std::vector<std::uint8_t> bytes = encodeDataPacket(packet);
  writeBytes(path, std::string(bytes.begin(), bytes.end()));
}

class ClientTableTest : public ::testing::Test {
 protected:
  void SetUp() override { useTestLocale(); }
  std::string file() const { return folder.file("Vehicle.cds"); }
  // A vehicle file holding the given makes, written through the table itself.
  void makeFile(const std::vector<std::string>& makes) {
    VehicleTable writer;
    writer.table.setFileName(file());
    writer.table.createDataSet();
    for (const std::string& make : makes) writer.add(make);
    writer.table.close();
  }

  ScratchFolder folder;
  VehicleTable v;
};

TEST_F(ClientTableTest, CountersAfterInsertCancelDeleteAndRestart) {
  v.table.setFileName(file());
  v.table.createDataSet();
  v.table.insert();
  EXPECT_TRUE(v.number.IsNull());
  EXPECT_EQ(v.number.AsString(), "");
  v.table.cancel();  // consumes no number
  v.add("A");
  EXPECT_EQ(v.number.AsInteger(), 1);
  v.table.deleteRecord();
  v.add("B");
  EXPECT_EQ(v.number.AsInteger(), 2);
  EXPECT_EQ(v.table.changeCount(), 3);
  EXPECT_EQ(v.table.autoIncValue(), 3);
  v.table.close();
  EXPECT_EQ(decodeFile(file()).autoIncValue, 3);

  v.table.open();  // the counter travels with the file
  EXPECT_EQ(v.table.changeCount(), 0);
  v.add("C");
  EXPECT_EQ(v.number.AsInteger(), 3);
}

TEST_F(ClientTableTest, ANarrowStringColumnCutsValuesWithoutRefusingThem) {
  // A string column narrower than the field: the value is cut to the column, never refused.
  DataPacket packet;
  packet.columns = {makeColumn("VehicleNumber", ColumnKind::AutoInc),
                    makeColumn("VehicleMake", ColumnKind::String, 3),
                    makeColumn("VehiclePhoto", ColumnKind::Blob)};
  packet.autoIncValue = 7;
  writePacket(file(), packet);
  v.table.setFileName(file());
  v.table.open();
  v.add("Peugeot");
  EXPECT_EQ(v.make.AsString(), "Peu");
  EXPECT_EQ(v.number.AsInteger(), 7);
  EXPECT_EQ(v.table.autoIncValue(), 8);
}

TEST_F(ClientTableTest, StringsAreCutAndLoseTrailingSpaces) {
  v.table.createDataSet();
  v.add(std::string(30, 'x'));
  EXPECT_EQ(v.make.AsString(), std::string(25, 'x'));
  v.table.edit();
  v.make.setAsString("  Ford  ");
  EXPECT_EQ(v.make.AsString(), "  Ford  ");  // still in the buffer
  v.table.post();
  EXPECT_EQ(v.make.AsString(), "  Ford");
  v.table.edit();
  v.make.setAsString("   ");
  v.table.post();
  EXPECT_FALSE(v.make.IsNull());  // an empty text is a value
  EXPECT_EQ(v.make.AsString(), "");
}

TEST_F(ClientTableTest, EqualKeysKeepTheOrderTheyEnteredIn) {
  v.table.createDataSet();
  for (const char* make : {"Ford", "audi", "Audi", "Ford", "BMW"}) v.add(make);
  v.table.insert();
  v.table.post();  // a vehicle without a make sorts first
  EXPECT_EQ(v.makes(), (std::vector<std::string>{"", "audi", "Audi", "BMW", "Ford", "Ford"}));
  EXPECT_EQ(v.numbers(), (std::vector<int>{6, 2, 3, 5, 1, 4}));

  // An edit that changes the key goes after the records with its new key; one that keeps the
  // key keeps its place.
  v.table.moveTo(4);  // Ford 1
  v.table.edit();
  v.make.setAsString("Audi");
  v.table.post();
  EXPECT_EQ(v.numbers(), (std::vector<int>{6, 2, 3, 1, 5, 4}));
  EXPECT_EQ(v.number.AsInteger(), 1);  // the edited record stays current
  v.table.moveTo(1);
  v.table.edit();
  v.make.setAsString("audi");
  v.table.post();
  EXPECT_EQ(v.numbers(), (std::vector<int>{6, 2, 3, 1, 5, 4}));
}

TEST_F(ClientTableTest, RecordsFromTheFileEnterInFileOrder) {
  makeFile({"Opel", "opel", "Opel", "Audi"});
  v.table.setFileName(file());
  v.table.open();
  EXPECT_EQ(v.numbers(), (std::vector<int>{4, 2, 1, 3}));
  EXPECT_EQ(v.table.recNo(), 0);
  EXPECT_EQ(v.make.AsString(), "Audi");
}

TEST_F(ClientTableTest, FailureMessages) {
  struct Case {
    const char* what;
    std::function<void()> op;
    std::string message;
  };
  v.table.setFileName(file());
  const std::vector<Case> closed = {
      {"insert", [&] { v.table.insert(); },
       "tblVehicle: Cannot perform this operation on a closed dataset"},
      {"edit", [&] { v.table.edit(); },
       "tblVehicle: Cannot perform this operation on a closed dataset"},
      {"next", [&] { v.table.next(); },
       "tblVehicle: Cannot perform this operation on a closed dataset"},
      {"first", [&] { v.table.first(); },
       "tblVehicle: Cannot perform this operation on a closed dataset"},
      {"log off", [&] { v.table.setLogChanges(false); },
       "tblVehicle: Cannot perform this operation on a closed dataset"},
      {"set field", [&] { v.make.setAsString("x"); },
       "tblVehicle: Dataset not in edit or insert mode"},
      {"set read-only field", [&] { v.number.setAsInteger(5); },
       "tblVehicle: Dataset not in edit or insert mode"},
      {"open without file", [&] { v.table.open(); },
       "tblVehicle: Missing data provider or data packet"},
  };
  for (const Case& c : closed) EXPECT_EQ(failureOf(c.op), c.message) << c.what;
  EXPECT_TRUE(v.table.isEmpty());  // never fails

  v.table.createDataSet();
  const std::vector<Case> open = {
      {"create open", [&] { v.table.createDataSet(); },
       "tblVehicle: Cannot perform this operation on an open dataset"},
      {"delete empty", [&] { v.table.deleteRecord(); },
       "tblVehicle: Cannot perform this operation on an empty dataset"},
      {"set in browse", [&] { v.make.setAsString("x"); },
       "tblVehicle: Dataset not in edit or insert mode"},
      {"clear in browse", [&] { v.photo.Clear(); },
       "tblVehicle: Dataset not in edit or insert mode"},
      {"read-only field in browse", [&] { v.number.Clear(); },
       "tblVehicle: Dataset not in edit or insert mode"},
      {"auto-increment",
       [&] {
         v.table.insert();
         v.number.setAsInteger(5);
       },
       "Field 'VehicleNumber' cannot be modified"},
      {"unknown field", [&] { v.table.fieldByName("Colour"); },
       "tblVehicle: Field 'Colour' not found"},
  };
  for (const Case& c : open) EXPECT_EQ(failureOf(c.op), c.message) << c.what;
  EXPECT_EQ(v.table.State(), DataSetState::Insert);  // the failed set left the insert as it was
  EXPECT_FALSE(v.table.Modified());
}

TEST_F(ClientTableTest, CreateEmptyChecksTheFieldDefinitions) {
  TClientTable table("tblEmpty");
  EXPECT_EQ(failureOf([&] { table.createDataSet(); }), "No fields defined.  Cannot create dataset");
  std::string longName(32, 'N');
  table.FieldDefs() = {{"Id", ftAutoInc, 0, faReadonly}, {longName, ftInteger, 0, 0}};
  EXPECT_EQ(failureOf([&] { table.createDataSet(); }),
            "Fieldname " + longName + " exceeds 31 chars");
  EXPECT_FALSE(table.Active());
  table.FieldDefs()[1].name.pop_back();  // 31 characters are fine
  table.createDataSet();
  EXPECT_TRUE(table.Active());
  EXPECT_EQ(table.fieldCount(), 0);
  EXPECT_NE(table.findField(std::string(31, 'N')), nullptr);  // a field object per column
}

TEST_F(ClientTableTest, OpenFailuresLeaveTheTableClosed) {
  struct Case {
    const char* what;
    std::function<void()> prepare;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"empty file", [&] { writeBytes(file(), ""); },
       "tblVehicle: Missing data provider or data packet"},
      {"damaged file", [&] { writeBytes(file(), "not a datapacket at all, just text"); }, ""},
      {"folder at the name", [&] { std::filesystem::create_directory(file()); },
       "Cannot open file " + file()},
      {"missing column",
       [&] {
         DataPacket p;
         p.columns = {makeColumn("VehicleNumber", ColumnKind::AutoInc),
                      makeColumn("VehicleMake", ColumnKind::String, 25)};
         writePacket(file(), p);
       },
       "tblVehicle: Field 'VehiclePhoto' not found"},
      {"type mismatch",
       [&] {
         DataPacket p;
         p.columns = {makeColumn("VehicleNumber", ColumnKind::AutoInc),
                      makeColumn("VehicleMake", ColumnKind::Integer),
                      makeColumn("VehiclePhoto", ColumnKind::Blob)};
         writePacket(file(), p);
       },
       "tblVehicle: Type mismatch for field 'VehicleMake', expecting: String actual: Integer"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(file());
    c.prepare();
    std::string before = std::filesystem::is_regular_file(file()) ? readBytes(file()) : "";
    v.table.setFileName(file());
    EXPECT_EQ(failureOf([&] { v.table.open(); }), c.message) << c.what;
    EXPECT_FALSE(v.table.Active()) << c.what;
    EXPECT_TRUE(v.table.isEmpty()) << c.what;
    v.table.close();
    if (std::filesystem::is_regular_file(file())) {
      EXPECT_EQ(readBytes(file()), before) << c.what;
    }
  }
  // A damaged file is an engine error: no text, a code.
  writeBytes(file(), std::string("\x96\x19\xE0\xBD\x09\x00", 6));
  try {
    v.table.open();
    FAIL() << "a damaged packet opened";
  } catch (const EngineError& e) {
    EXPECT_STREQ(e.what(), "");
    EXPECT_NE(e.code(), 0);
  }
}

// A file of many megabytes has its records' memory mapped ahead while it loads: every record
// arrives whole, the file is written back byte for byte, and a cut-off one fails cleanly.
TEST_F(ClientTableTest, ALargeFileLoadsWholeAndWritesBackTheSameBytes) {
  const auto photoOf = [](int i) { return std::string(30000 + i % 997, char('a' + i % 26)); };
  constexpr int kVehicles = 600;  // about 18 MB, in records small enough to share chunks
  {
    VehicleTable writer;
    writer.table.setFileName(file());
    writer.table.createDataSet();
    for (int i = 0; i < kVehicles; ++i) {
      writer.table.insert();
      writer.make.setAsString("Make " + std::to_string(i % 50));
      writer.photo.setAsString(photoOf(i));
      writer.table.post();
    }
    writer.table.close();
  }
  const std::string bytes = readBytes(file());
  ASSERT_GT(bytes.size(), std::size_t{16} << 20);

  v.table.setFileName(file());
  v.table.open();
  ASSERT_EQ(v.table.recordCount(), kVehicles);
  for (int row = 0; row < kVehicles; ++row) {
    const int i = static_cast<int>(v.table.valueAt(row, v.number).toInt()) - 1;
    ASSERT_EQ(v.table.valueAt(row, v.photo).bytes(), photoOf(i)) << row;
  }
  v.table.first();
  v.table.edit();
  v.make.setAsString(v.make.AsString());  // a change that leaves every byte as it was
  v.table.post();
  v.table.close();
  EXPECT_EQ(readBytes(file()), bytes);

  writeBytes(file(), bytes.substr(0, bytes.size() - 20000));
  EXPECT_THROW(v.table.open(), EngineError);
  EXPECT_FALSE(v.table.Active());
}

TEST_F(ClientTableTest, CloseWritesOnlyAfterAChange) {
  makeFile({"Audi", "BMW"});
  struct stat before {};
  ASSERT_EQ(::stat(file().c_str(), &before), 0);
  std::string bytes = readBytes(file());

  v.table.setFileName(file());
  v.table.open();
  v.table.setLogChanges(false);
  v.table.first();
  v.table.next();
  v.table.edit();
  v.table.cancel();
  v.table.insert();
  v.make.setAsString("Citroen");
  v.table.cancel();
  v.table.close();
  struct stat after {};
  ASSERT_EQ(::stat(file().c_str(), &after), 0);
  EXPECT_EQ(readBytes(file()), bytes);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(after.st_ino, before.st_ino);  // not even replaced

  // Edit and post without changing anything counts: the file is written again, same content.
  v.table.open();
  v.table.edit();
  v.table.post();
  EXPECT_EQ(v.table.changeCount(), 1);
  v.table.close();
  ASSERT_EQ(::stat(file().c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino);
  EXPECT_EQ(readBytes(file()), bytes);

  // A table created empty and never changed leaves no file behind.
  std::filesystem::remove(file());
  v.table.createDataSet();
  v.table.close();
  EXPECT_FALSE(std::filesystem::exists(file()));
}

TEST_F(ClientTableTest, BlankStatesReachTheFile) {
  v.table.setFileName(file());
  v.table.createDataSet();
  v.table.insert();
  v.make.setAsString("Fiat");
  v.table.post();  // photo never assigned
  v.table.insert();
  v.make.setAsString("Kia");
  v.photo.setAsString("JPEG");
  v.photo.Clear();  // explicitly cleared
  v.table.post();
  v.table.insert();
  v.make.setAsString("Seat");
  v.photo.setAsString("");  // no bytes: null
  v.table.post();
  v.table.close();

  DataPacket packet = decodeFile(file());
  ASSERT_EQ(packet.rows.size(), 3u);
  EXPECT_EQ(packet.rows[0].values[2].blankState(), BlankState::Unassigned);
  EXPECT_EQ(packet.rows[1].values[2].blankState(), BlankState::Null);
  EXPECT_EQ(packet.rows[2].values[2].blankState(), BlankState::Null);
  v.table.open();
  v.table.first();
  EXPECT_TRUE(v.photo.IsNull());
  EXPECT_EQ(v.photo.blankState(), BlankState::Unassigned);
  EXPECT_EQ(v.photo.AsString(), "");
}

TEST_F(ClientTableTest, StatesAndTheBrowseCheck) {
  TDataSource source;
  source.setDataSet(&v.table);
  v.table.createDataSet();
  EXPECT_EQ(v.table.State(), DataSetState::Browse);
  v.table.edit();  // empty: same as insert
  EXPECT_EQ(v.table.State(), DataSetState::Insert);
  v.make.setAsString("Audi");
  v.table.first();  // modified: posted
  EXPECT_EQ(v.table.State(), DataSetState::Browse);
  EXPECT_EQ(v.table.recordCount(), 1);

  v.table.insert();
  v.table.first();  // not modified: cancelled
  EXPECT_EQ(v.table.recordCount(), 1);

  v.table.edit();
  EXPECT_EQ(v.table.State(), DataSetState::Edit);
  v.table.edit();  // already editing: nothing
  v.make.setAsString("BMW");
  v.table.insert();  // settles the edit by posting it
  EXPECT_EQ(v.table.State(), DataSetState::Insert);
  v.table.deleteRecord();  // in insert: same as cancel
  EXPECT_EQ(v.table.State(), DataSetState::Browse);
  EXPECT_EQ(v.makes(), std::vector<std::string>{"BMW"});
  EXPECT_EQ(v.table.changeCount(), 2);

  v.table.edit();
  v.table.setLogChanges(false);  // browse check: nothing set, cancelled
  EXPECT_EQ(v.table.State(), DataSetState::Browse);
  EXPECT_EQ(v.table.changeCount(), 2);
  v.table.close();
  EXPECT_EQ(v.table.State(), DataSetState::Inactive);
  EXPECT_FALSE(v.table.Active());
}

TEST_F(ClientTableTest, CurrentRecordAfterCancelAndDelete) {
  v.table.createDataSet();
  for (const char* make : {"A", "B", "C", "D"}) v.add(make);
  v.table.moveTo(1);
  v.table.insert();
  v.make.setAsString("Z");
  v.table.cancel();
  EXPECT_EQ(v.make.AsString(), "B");  // the record current before the insert
  v.table.deleteRecord();
  EXPECT_EQ(v.make.AsString(), "C");  // the one after it
  v.table.last();
  v.table.deleteRecord();
  EXPECT_EQ(v.make.AsString(), "C");  // the last one went: the one before it
  v.table.first();
  EXPECT_TRUE(v.table.bof());
  v.table.next();
  v.table.next();
  EXPECT_TRUE(v.table.eof());
  EXPECT_EQ(v.make.AsString(), "C");
  v.table.deleteRecord();
  v.table.deleteRecord();
  EXPECT_TRUE(v.table.isEmpty());
  EXPECT_EQ(v.table.recNo(), -1);
}

TEST_F(ClientTableTest, EditCancelRestoresTheStoredValues) {
  v.table.createDataSet();
  v.table.insert();
  v.make.setAsString("Volvo");
  v.photo.setAsString(std::string("\xFF\xD8\x00\x01", 4));
  v.table.post();
  v.table.edit();
  v.make.setAsString("Saab");
  v.photo.Clear();
  EXPECT_TRUE(v.table.Modified());
  v.table.cancel();
  EXPECT_EQ(v.make.AsString(), "Volvo");
  EXPECT_EQ(v.photo.AsString(), std::string("\xFF\xD8\x00\x01", 4));
  EXPECT_EQ(v.table.changeCount(), 1);
}

TEST_F(ClientTableTest, LocaleAwareCaseSensitiveOrder) {
  v.table.createDataSet();
  for (const char* make :
       {"zeta", "Beta", "alpha", "Alpha", "\xC4pfel", "Apfel", "beta", "10", "9", "a-b", "ab"})
    v.add(make);
  // Not byte order: letters of either case together, lower case first, accents after.
  EXPECT_EQ(v.makes(), (std::vector<std::string>{"10", "9", "a-b", "ab", "alpha", "Alpha", "Apfel",
                                                 "\xC4pfel", "beta", "Beta", "zeta"}));
}

TEST_F(ClientTableTest, AValidLocaleInTheFileSelectsItsOrder) {
  auto packetWithLcid = [&](std::uint32_t lcid) {
    DataPacket p;
    p.columns = {makeColumn("VehicleNumber", ColumnKind::AutoInc),
                 makeColumn("VehicleMake", ColumnKind::String, 25),
                 makeColumn("VehiclePhoto", ColumnKind::Blob)};
    Parameter param;
    param.name = "LCID";
    param.typeCode = dpformat::kCodeInt32;
    for (int i = 0; i < 4; ++i) param.value.push_back(static_cast<std::uint8_t>(lcid >> (8 * i)));
    p.otherParameters.push_back(param);
    for (const char* make : {"\xD6sten", "Zebra", "Ost"}) {
      Row row;
      row.values = {Value::fromInt(static_cast<int>(p.rows.size()) + 1), Value::fromBytes(make),
                    Value()};
      p.rows.push_back(row);
    }
    p.autoIncValue = 4;
    return p;
  };
  // Swedish (0x041D) sorts O with diaeresis after Z; an invalid identifier keeps English.
  writePacket(file(), packetWithLcid(0x041D));
  v.table.setFileName(file());
  v.table.open();
  EXPECT_EQ(v.makes(), (std::vector<std::string>{"Ost", "Zebra", "\xD6sten"}));
  v.table.close();
  writePacket(file(), packetWithLcid(0x7FFFFFF0));
  v.table.open();
  EXPECT_EQ(v.makes(), (std::vector<std::string>{"Ost", "\xD6sten", "Zebra"}));
  // The parameter goes back into the file.
  v.table.edit();
  v.table.post();
  v.table.close();
  EXPECT_EQ(decodeFile(file()).lcid(), std::optional<std::uint32_t>(0x7FFFFFF0));
}

TEST_F(ClientTableTest, AReadOnlyFileRefusesChanges) {
  DataPacket p;
  p.columns = {makeColumn("VehicleNumber", ColumnKind::AutoInc),
               makeColumn("VehicleMake", ColumnKind::String, 25),
               makeColumn("VehiclePhoto", ColumnKind::Blob)};
  p.otherParameters.push_back(Parameter{"READONLY", dpformat::kCodeInt32, {1, 0, 0, 0}});
  writePacket(file(), p);
  v.table.setFileName(file());
  v.table.open();
  EXPECT_EQ(failureOf([&] { v.table.insert(); }), "tblVehicle: Cannot modify a read-only dataset");
  EXPECT_EQ(failureOf([&] { v.table.edit(); }), "tblVehicle: Cannot modify a read-only dataset");
}

TEST_F(ClientTableTest, EachDisableFlagForbidsOnlyItsOperation) {
  const std::string refused = "tblVehicle: Cannot modify a read-only dataset";
  const std::string allowed = "<no failure>";
  struct Case {
    const char* flag;
    bool insertAllowed, editAllowed, deleteAllowed;
  };
  const Case cases[] = {
      {"DISABLE_INSERTS", false, true, true},
      {"DISABLE_EDITS", true, false, true},
      {"DISABLE_DELETES", true, true, false},
  };
  for (const Case& c : cases) {
    v.table.createDataSet();
    v.add("Ford");
    v.add("Opel");
    v.table.setFileName(file());
    v.table.close();
    DataPacket p = decodeFile(file());
    p.otherParameters.push_back(Parameter{c.flag, dpformat::kCodeInt32, {1, 0, 0, 0}});
    writePacket(file(), p);
    v.table.open();
    EXPECT_FALSE(v.table.ReadOnly()) << c.flag;
    auto outcome = [&](const std::function<void()>& op) {
      const std::string failure = failureOf(op);
      v.table.cancel();
      return failure;
    };
    EXPECT_EQ(outcome([&] { v.table.insert(); }), c.insertAllowed ? allowed : refused) << c.flag;
    EXPECT_EQ(outcome([&] { v.table.edit(); }), c.editAllowed ? allowed : refused) << c.flag;
    EXPECT_EQ(outcome([&] { v.table.deleteRecord(); }), c.deleteAllowed ? allowed : refused)
        << c.flag;
    v.table.close();
    std::remove(file().c_str());
  }
}

TEST_F(ClientTableTest, ChangingTheOrderOfAnOpenTableKeepsTheCurrentRecord) {
  v.table.createDataSet();
  for (const char* make : {"C", "A", "B"}) v.add(make);
  v.table.moveTo(1);  // B, number 3
  v.table.setIndexFieldNames("VehicleNumber");
  EXPECT_EQ(v.makes(), (std::vector<std::string>{"C", "A", "B"}));
  EXPECT_EQ(v.number.AsInteger(), 3);
  EXPECT_EQ(v.table.recNo(), 2);
  EXPECT_EQ(failureOf([&] { v.table.setIndexFieldNames("Colour"); }),
            "tblVehicle: Field 'Colour' not found");
  EXPECT_EQ(v.table.IndexFieldNames(), "VehicleNumber");
}

TEST_F(ClientTableTest, BlobsLoadFromFilesAndStreams) {
  v.table.createDataSet();
  std::string picture = folder.file("photo.jpg");
  writeBytes(picture, std::string("\xFF\xD8\xFF\xE0 jpeg \x00 bytes", 17));
  v.table.insert();
  v.photo.LoadFromFile(picture);
  v.table.post();
  std::ostringstream out;
  v.photo.SaveToStream(out);
  EXPECT_EQ(out.str(), readBytes(picture));
  v.table.edit();
  std::istringstream empty("");
  v.photo.LoadFromStream(empty);  // 0 bytes: null
  EXPECT_TRUE(v.photo.IsNull());
  EXPECT_EQ(failureOf([&] { v.photo.LoadFromFile(folder.file("missing.jpg")); }),
            "Cannot open file " + folder.file("missing.jpg"));
}

// Counts what a data source passes on.
struct Recorder : DataSourceObserver {
  std::vector<std::string> events;
  void activeChanged(TDataSource&) override { events.push_back("active"); }
  void stateChanged(TDataSource&) override { events.push_back("state"); }
  void dataSetChanged(TDataSource&) override { events.push_back("dataset"); }
  void recordMoved(TDataSource&) override { events.push_back("moved"); }
  void fieldChanged(TDataSource&, TField* f) override {
    events.push_back("field " + (f ? f->FieldName() : "*"));
  }
  void updateData(TDataSource&) override { events.push_back("update"); }
};

TEST_F(ClientTableTest, DataSourcesHearOfEveryChange) {
  TDataSource source("datVehicle");
  source.setDataSet(&v.table);
  Recorder recorder;
  source.addObserver(&recorder);
  v.table.createDataSet();
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"active", "state", "dataset"}));
  recorder.events.clear();
  v.table.insert();
  v.make.setAsString("A");
  v.table.post();
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"state", "dataset", "field VehicleMake",
                                                       "update", "state", "dataset"}));
  v.add("B");
  v.table.first();
  recorder.events.clear();
  v.table.next();
  v.table.next();  // at the end: no move
  EXPECT_EQ(recorder.events, std::vector<std::string>{"moved"});

  // An observer that writes its text when asked before a post.
  struct Editor : DataSourceObserver {
    TStringField* field = nullptr;
    void updateData(TDataSource&) override { field->setAsString("typed"); }
  } editor;
  editor.field = &v.make;
  source.addObserver(&editor);
  v.table.edit();
  v.table.first();  // the browse check asks the controls first: the edit is modified, posted
  EXPECT_EQ(v.makes(), (std::vector<std::string>{"A", "typed"}));
  source.removeObserver(&editor);
  source.removeObserver(&recorder);
}

TEST_F(ClientTableTest, CalculatedFieldsForTheCurrentRecordAndForGridRows) {
  TStringField& initial = v.table.addField<TStringField>("Initial", 1, fkCalculated);
  int calls = 0;
  v.table.OnCalcFields = [&](TClientTable& t) {
    ++calls;
    initial.setAsString(t.fieldByName("VehicleMake").AsString().substr(0, 1));
  };
  v.table.createDataSet();
  v.add("Mazda");
  v.add("Honda");
  EXPECT_EQ(initial.AsString(), "H");
  EXPECT_EQ(v.table.displayTextAt(0, initial), "H");
  EXPECT_EQ(v.table.displayTextAt(1, initial), "M");
  EXPECT_EQ(initial.AsString(), "H");  // the current record is untouched by a grid read
  v.table.edit();
  calls = 0;
  v.make.setAsString("Lada");
  EXPECT_EQ(calls, 1);  // recomputed after every change of a value
  EXPECT_EQ(initial.AsString(), "L");
  EXPECT_EQ(failureOf([&] {
              v.table.post();
              initial.setAsString("X");
            }),
            "tblVehicle: Dataset not in edit or insert mode");
}

}  // namespace
}  // namespace wf::test
