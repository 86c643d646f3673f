#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "store/data_source.h"
#include "store/table_error.h"
#include "table_fixture.h"

namespace wf::test {
namespace {

// Vehicles -> services (by VehicleNumber;ServiceDate) -> lines (by ServiceNumber;LineNumber).
class MasterDetailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    useTestLocale();
    datVehicle.setDataSet(&vehicles.table);
    datService.setDataSet(&services);
    services.FieldDefs() = {{"ServiceNumber", ftAutoInc, 0, faReadonly},
                            {"VehicleNumber", ftInteger, 0, 0},
                            {"ServiceDate", ftDateTime, 0, 0}};
    services.setIndexFieldNames("VehicleNumber;ServiceDate");
    services.setMasterSource(&datVehicle);
    services.setMasterFields("VehicleNumber");
    lines.FieldDefs() = {{"LineNumber", ftAutoInc, 0, faReadonly},
                         {"ServiceNumber", ftInteger, 0, 0}};
    lines.setIndexFieldNames("ServiceNumber;LineNumber");
    lines.setMasterSource(&datService);
    lines.setMasterFields("ServiceNumber");
    vehicles.table.createDataSet();
    services.createDataSet();
    lines.createDataSet();
  }

  void addService(double date) {
    services.insert();
    serviceDate.setAsDateTime(date);
    services.post();
  }
  std::vector<int> serviceNumbers() {
    std::vector<int> out;
    for (int row = 0; row < services.recordCount(); ++row)
      out.push_back(static_cast<int>(services.valueAt(row, serviceNumber).toInt()));
    return out;
  }

  ScratchFolder folder;
  VehicleTable vehicles;
  TDataSource datVehicle{"datVehicle"};
  TDataSource datService{"datService"};
  TClientTable services{"tblService"};
  TAutoIncField& serviceNumber = services.addField<TAutoIncField>("ServiceNumber");
  TIntegerField& serviceVehicle = services.addField<TIntegerField>("VehicleNumber");
  TDateTimeField& serviceDate = services.addField<TDateTimeField>("ServiceDate");
  TClientTable lines{"tblServiceLine"};
  TAutoIncField& lineNumber = lines.addField<TAutoIncField>("LineNumber");
  TIntegerField& lineService = lines.addField<TIntegerField>("ServiceNumber");
};

TEST_F(MasterDetailTest, DetailShowsTheRecordsOfTheCurrentMaster) {
  vehicles.add("Audi");  // vehicle 1
  addService(45000);
  addService(44000);
  vehicles.add("BMW");  // vehicle 2, now current: no services
  EXPECT_TRUE(services.isEmpty());
  addService(45500);
  services.insert();
  services.post();  // a service without a date comes before the dated ones
  EXPECT_EQ(serviceNumbers(), (std::vector<int>{4, 3}));
  EXPECT_EQ(serviceVehicle.AsInteger(), 2);  // new detail records take the master's key

  vehicles.table.first();  // Audi
  EXPECT_EQ(serviceNumbers(), (std::vector<int>{2, 1}));
  EXPECT_EQ(services.recNo(), 0);
  EXPECT_EQ(serviceNumber.AsInteger(), 2);

  // Deleting on an empty range carries the detail's name.
  vehicles.add("Citroen");
  try {
    services.deleteRecord();
    FAIL() << "delete on an empty range";
  } catch (const TableError& e) {
    EXPECT_STREQ(e.what(), "tblService: Cannot perform this operation on an empty dataset");
  }
}

TEST_F(MasterDetailTest, RangesCascade) {
  vehicles.add("Audi");
  addService(45000);  // service 1
  lines.insert();
  lines.post();
  lines.insert();
  lines.post();
  addService(46000);  // service 2, no lines
  EXPECT_TRUE(lines.isEmpty());
  services.first();
  EXPECT_EQ(lines.recordCount(), 2);
  EXPECT_EQ(lineService.AsInteger(), 1);

  vehicles.add("BMW");  // another vehicle: its services and so their lines are empty
  EXPECT_TRUE(services.isEmpty());
  EXPECT_TRUE(lines.isEmpty());
  vehicles.table.first();
  EXPECT_EQ(lines.recordCount(), 2);

  // The master closes: the detail shows all of its records.
  vehicles.table.close();
  EXPECT_EQ(services.recordCount(), 2);
}

TEST_F(MasterDetailTest, PendingDetailInsertWhenTheMasterMoves) {
  vehicles.add("Audi");
  vehicles.add("BMW");
  vehicles.table.first();
  services.insert();  // nothing set since: discarded
  vehicles.table.next();
  EXPECT_EQ(services.State(), DataSetState::Browse);
  vehicles.table.first();
  EXPECT_TRUE(services.isEmpty());
  EXPECT_EQ(services.changeCount(), 0);

  services.insert();
  serviceDate.setAsDateTime(45000);  // something set: posted
  vehicles.table.next();
  EXPECT_EQ(services.changeCount(), 1);
  EXPECT_TRUE(services.isEmpty());
  vehicles.table.first();
  EXPECT_EQ(serviceNumbers(), std::vector<int>{1});
}

TEST_F(MasterDetailTest, AMasterInInsertStateHasNoKeyYet) {
  vehicles.add("Audi");
  addService(45000);
  vehicles.table.insert();  // the new vehicle has no number yet
  EXPECT_TRUE(services.isEmpty());
  services.insert();
  EXPECT_TRUE(serviceVehicle.IsNull());
  services.cancel();
  vehicles.make.setAsString("BMW");
  vehicles.table.post();  // numbered now
  EXPECT_EQ(vehicles.number.AsInteger(), 2);
  services.insert();
  EXPECT_EQ(serviceVehicle.AsInteger(), 2);
  services.cancel();
  vehicles.table.cancel();
}

TEST_F(MasterDetailTest, ADetailRecordThatLeavesTheRangeIsNoLongerShown) {
  vehicles.add("Audi");
  vehicles.add("BMW");
  addService(45000);
  addService(45001);
  services.first();
  services.edit();
  serviceVehicle.setAsInteger(1);
  services.post();
  EXPECT_EQ(serviceNumbers(), std::vector<int>{2});
  EXPECT_EQ(serviceNumber.AsInteger(), 2);
  vehicles.table.first();
  EXPECT_EQ(serviceNumbers(), std::vector<int>{1});
}

TEST_F(MasterDetailTest, DetailOpenedAfterItsMasterStartsInRange) {
  vehicles.add("Audi");
  addService(45000);
  vehicles.add("BMW");
  addService(45001);
  std::string file = folder.file("Service.cds");
  services.setFileName(file);
  services.close();
  vehicles.table.first();
  services.open();
  EXPECT_EQ(serviceNumbers(), std::vector<int>{1});
}

// A file may already be in its table's order, entirely or by its first field only, or be out
// of it; each opens to the same order a full sort gives (equal keys in file order), and the
// order then places a new record as it would after any open.
TEST(OrderOnOpenTest, FilesInOrderNearlySoOrNotOpenToTheSortedOrder) {
  useTestLocale();
  struct Case {
    const char* name;
    std::vector<std::pair<int, double>> records;  // (vehicle, date) in file order
  };
  const std::vector<Case> cases = {
      {"in order", {{1, 10}, {1, 11}, {2, 5}, {2, 5}, {3, 1}}},
      {"first field in order, dates not", {{1, 11}, {1, 10}, {2, 5}, {3, 2}, {3, 1}}},
      {"one record out of place", {{1, 10}, {2, 5}, {1, 12}, {2, 6}, {3, 1}}},
      {"reversed", {{3, 1}, {2, 5}, {2, 5}, {1, 11}, {1, 10}}},
      {"no values among them", {{0, 0}, {1, 10}, {0, 0}, {1, 9}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFolder folder;
    TClientTable table{"tblService"};
    TAutoIncField& number = table.addField<TAutoIncField>("ServiceNumber");
    TIntegerField& vehicle = table.addField<TIntegerField>("VehicleNumber");
    TDateTimeField& date = table.addField<TDateTimeField>("ServiceDate");
    table.FieldDefs() = {{"ServiceNumber", ftAutoInc, 0, faReadonly},
                         {"VehicleNumber", ftInteger, 0, 0},
                         {"ServiceDate", ftDateTime, 0, 0}};
    table.setFileName(folder.file("Service.cds"));
    table.createDataSet();  // no order yet: records stay in the order entered
    for (const auto& [v, d] : c.records) {
      table.insert();
      if (v != 0) vehicle.setAsInteger(v);  // 0: left without value, which sorts first
      if (d != 0) date.setAsDateTime(d);
      table.post();
    }
    table.close();
    table.setIndexFieldNames("VehicleNumber;ServiceDate");
    table.open();

    std::vector<int> expected(c.records.size());
    std::iota(expected.begin(), expected.end(), 1);
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
      return c.records[std::size_t(a - 1)] < c.records[std::size_t(b - 1)];
    });
    const auto numbers = [&] {
      std::vector<int> out;
      for (int row = 0; row < table.recordCount(); ++row)
        out.push_back(static_cast<int>(table.valueAt(row, number).toInt()));
      return out;
    };
    EXPECT_EQ(numbers(), expected);

    // A new record with the first record's key goes after every record with that key.
    const std::pair<int, double> key = c.records[std::size_t(expected.front() - 1)];
    table.insert();
    if (key.first != 0) vehicle.setAsInteger(key.first);
    if (key.second != 0) date.setAsDateTime(key.second);
    table.post();
    const int added = static_cast<int>(c.records.size()) + 1;
    const auto last = std::find_if(expected.rbegin(), expected.rend(),
                                   [&](int n) { return c.records[std::size_t(n - 1)] == key; });
    expected.insert(last.base(), added);
    EXPECT_EQ(numbers(), expected);
    table.close();
  }
}

}  // namespace
}  // namespace wf::test
