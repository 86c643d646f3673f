#include <gtest/gtest.h>

#include "table_fixture.h"
#include "store/table_error.h"

namespace wf::test {
namespace {

class ClientTableTest : public ::testing::Test {
 protected:
  void SetUp() override { useTestLocale(); }
  ScratchFolder folder;
  VehicleTable v;
};

// Runs an operation and returns the message of the failure it raises ("" when none).
template <class Op>
std::string failureOf(Op op) {
  try {
    op();
  } catch (const TableError& e) {
    return e.what();
  }
  return "<no failure>";
}

TEST_F(ClientTableTest, CountersAfterInsertCancelDeleteAndRestart) {
  v.table.setFileName(folder.file("Vehicle.cds"));
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

  v.table.open();  // the counter travels with the file
  EXPECT_EQ(v.table.changeCount(), 0);
  v.add("C");
  EXPECT_EQ(v.number.AsInteger(), 3);
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
  v.make.setAsString("");
  v.table.post();
  EXPECT_FALSE(v.make.IsNull());  // an empty text is a value
}

TEST_F(ClientTableTest, EqualKeysKeepTheOrderTheyEnteredIn) {
  v.table.createDataSet();
  for (const char* make : {"Ford", "audi", "Audi", "Ford", "BMW"}) v.add(make);
  v.table.insert();
  v.table.post();  // a vehicle without a make sorts first
  EXPECT_EQ(v.makes(), (std::vector<std::string>{"", "audi", "Audi", "BMW", "Ford", "Ford"}));
  EXPECT_EQ(v.numbers(), (std::vector<int>{6, 2, 3, 5, 1, 4}));
}

}  // namespace
}  // namespace wf::test
