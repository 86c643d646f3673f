#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "store/data_module.h"
#include "store/datapacket.h"
#include "table_fixture.h"

namespace wf::test {
namespace {

std::string hexOf(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

class DataModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    useTestLocale();
    module = std::make_unique<TDataModule1>();
    for (TClientTable* t : tables()) t->setFileName(folder.file(fileOf(t)));
  }
  std::vector<TClientTable*> tables() {
    return {&module->tblVehicle, &module->tblService, &module->tblServiceLine,
            &module->tblServiceInvoice, &module->tblExpenses};
  }
  std::string fileOf(TClientTable* t) {
    if (t == &module->tblVehicle) return "Vehicle.cds";
    if (t == &module->tblService) return "Service.cds";
    if (t == &module->tblServiceLine) return "ServiceLine.cds";
    if (t == &module->tblServiceInvoice) return "ServiceInvoice.cds";
    return "Expense.cds";
  }
  void createAll() {
    for (TClientTable* t : tables()) {
      t->createDataSet();
      t->setLogChanges(false);
    }
  }
  void addVehicle(const char* make) {
    module->tblVehicle.insert();
    module->tblVehicle.fieldByName("VehicleMake").setAsString(make);
    module->tblVehicle.post();
  }
  void addLine(const std::string& quantity, const std::string& amount) {
    TClientTable& t = module->tblServiceLine;
    t.insert();
    if (!quantity.empty()) module->tblServiceLineServiceLineQuantity->setAsString(quantity);
    if (!amount.empty()) t.fieldByName("ServiceLineAmount").setAsString(amount);
    t.post();
  }

  ScratchFolder folder;
  std::unique_ptr<TDataModule1> module;
};

TEST_F(DataModuleTest, SchemaOfTheFiveTables) {
  EXPECT_EQ(DataModule1, module.get());
  TDataModule1& m = *module;
  EXPECT_EQ(m.tblVehicle.IndexFieldNames(), "VehicleMake");
  EXPECT_EQ(m.tblService.IndexFieldNames(), "VehicleNumber;ServiceDate");
  EXPECT_EQ(m.tblServiceLine.IndexFieldNames(), "ServiceNumber;ServiceLineNumber");
  EXPECT_EQ(m.tblServiceInvoice.IndexFieldNames(), "ServiceNumber");
  EXPECT_EQ(m.tblExpenses.IndexFieldNames(), "VehicleNumber;ExpenseDate");
  EXPECT_EQ(m.tblService.MasterSource(), &m.datVehicle);
  EXPECT_EQ(m.tblExpenses.MasterSource(), &m.datVehicle);
  EXPECT_EQ(m.tblServiceLine.MasterSource(), &m.datService);
  EXPECT_EQ(m.tblServiceInvoice.MasterSource(), &m.datService);
  EXPECT_EQ(m.tblServiceInvoice.MasterFields(), "ServiceNumber");
  EXPECT_EQ(m.datExpenses.DataSet(), &m.tblExpenses);
  ASSERT_EQ(m.tblVehicle.IndexDefs().size(), 1u);
  EXPECT_EQ(m.tblVehicle.IndexDefs()[0].name, "tblVehicleIndex1");
  EXPECT_TRUE(m.tblService.IndexDefs().empty());
  EXPECT_TRUE(m.tblVehicleVehicleNumber->ReadOnly());
  EXPECT_EQ(m.tblServiceServiceDate->DisplayFormat(), "ddddd");
  EXPECT_EQ(m.tblExpensesExpenseAmount->DefaultExpression(), "0");
  EXPECT_EQ(m.tblExpensesExpenseInvAvailable->FieldKind(), fkCalculated);
  EXPECT_EQ(m.tblServiceLine.FieldDefs().size(), 5u);  // the calculated total is no column
  EXPECT_EQ(m.tblVehicle.FieldDefs()[0].attributes, faReadonly);
  EXPECT_EQ(m.tblService.FieldDefs()[5].type, ftMemo);
}

// Files of tables that never kept a record: header and metadata only, rows starting at the
// file's end. The service invoice file is the worked example byte for byte.
TEST_F(DataModuleTest, TheFiveTablesOpenMastersFirstAndCloseDetailsFirst) {
  TDataModule1& m = *module;
  const auto describe = [](const std::vector<TableFile>& files) {
    std::vector<std::string> names;
    for (const TableFile& file : files)
      names.push_back(file.table->Name() + " " + file.relativeFileName);
    return names;
  };
  EXPECT_EQ(describe(m.tablesInOpeningOrder()),
            (std::vector<std::string>{"tblVehicle Data/Vehicle.cds", "tblService Data/Service.cds",
                                      "tblServiceLine Data/ServiceLine.cds",
                                      "tblServiceInvoice Data/ServiceInvoice.cds",
                                      "tblExpenses Data/Expense.cds"}));
  EXPECT_EQ(describe(m.tablesInClosingOrder()),
            (std::vector<std::string>{"tblServiceInvoice Data/ServiceInvoice.cds",
                                      "tblServiceLine Data/ServiceLine.cds",
                                      "tblService Data/Service.cds", "tblExpenses Data/Expense.cds",
                                      "tblVehicle Data/Vehicle.cds"}));
  // Each table's closed flag is its own: the after-close handler reports that flag.
  std::vector<ClosedFlag> reported;
  m.closedFlagHook = [&](ClosedFlag flag) { reported.push_back(flag); };
  createAll();
  for (const TableFile& file : m.tablesInClosingOrder()) {
    file.table->close();
    ASSERT_FALSE(reported.empty());
    EXPECT_EQ(reported.back(), file.flag) << file.table->Name();
  }
}

TEST_F(DataModuleTest, EmptyTableFilesAfterAnInsertAndADelete) {
  createAll();
  addVehicle("Audi");
  module->tblService.insert();
  module->tblService.post();
  for (TClientTable* t :
       {&module->tblServiceLine, &module->tblServiceInvoice, &module->tblExpenses}) {
    t->insert();
    t->post();
  }
  for (TClientTable* t : {&module->tblServiceInvoice, &module->tblServiceLine, &module->tblService,
                          &module->tblExpenses, &module->tblVehicle}) {
    t->deleteRecord();
    t->close();
  }
  const std::vector<std::pair<std::string, std::size_t>> sizes = {{"Vehicle.cds", 261},
                                                                  {"Service.cds", 283},
                                                                  {"ServiceLine.cds", 230},
                                                                  {"ServiceInvoice.cds", 214},
                                                                  {"Expense.cds", 279}};
  for (const auto& [name, size] : sizes) {
    std::string bytes = readBytes(folder.file(name));
    EXPECT_EQ(bytes.size(), size) << name;
    ASSERT_GE(bytes.size(), 24u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[22]) | (static_cast<unsigned char>(bytes[23]) << 8),
              size)
        << name;
  }
  std::string invoice = readBytes(folder.file("ServiceInvoice.cds"));
  EXPECT_EQ(hexOf(invoice.substr(0, 24)),
            "96 19 E0 BD 01 00 00 00 18 00 00 00 04 00 00 00 00 00 03 00 00 00 D6 00");
  EXPECT_EQ(
      hexOf(invoice.substr(191)),
      "01 00 0C 41 55 54 4F 49 4E 43 56 41 4C 55 45 04 00 01 00 02 00 00 00");  // AUTOINCVALUE 2
}

TEST_F(DataModuleTest, RowsAsTheFilesHoldThem) {
  createAll();
  addVehicle("Fiat");
  addVehicle("Opel");  // vehicle 2, current
  TClientTable& expenses = module->tblExpenses;
  expenses.insert();
  module->tblExpensesExpenseDescription->setAsString("Oil");
  module->tblExpensesExpenseAmount->setAsFloat(12.5);
  module->tblExpensesExpenseDate->setAsDateTime(45306);  // 15 January 2024
  expenses.post();
  expenses.close();
  std::string expense = readBytes(folder.file("Expense.cds"));
  ASSERT_EQ(expense.size(), 279u + 31u);
  EXPECT_EQ(hexOf(expense.substr(279)),
            "00 00 22 01 00 00 00 02 00 00 00 03 4F 69 6C 00 00 00 00 00 00 29 40 00 00 18 DF 10 "
            "08 CD 42");

  for (int i = 0; i < 3; ++i) {  // service 3 of vehicle 2
    module->tblService.insert();
    module->tblService.post();
  }
  TClientTable& invoices = module->tblServiceInvoice;
  invoices.insert();
  module->tblServiceInvoiceServiceInvoiceDescription->setAsString("Tyres");
  invoices.post();
  invoices.close();
  std::string invoice = readBytes(folder.file("ServiceInvoice.cds"));
  ASSERT_EQ(invoice.size(), 214u + 16u);
  EXPECT_EQ(hexOf(invoice.substr(214)), "00 20 01 00 00 00 03 00 00 00 05 54 79 72 65 73");
}

TEST_F(DataModuleTest, LineTotals) {
  createAll();
  addVehicle("Audi");
  module->tblService.insert();
  module->tblService.post();
  struct Case {
    std::string quantity;
    std::string amount;
    std::string total;
    std::string display;
  };
  const std::vector<Case> cases = {
      {"3", "12.34567", "37.0371", "$37.04"},
      {"2", "0.5", "1", "$1.00"},
      {"-2", "10", "-20", "($20.00)"},
      {"1", "1.03125", "1.0312", "$1.03"},  // half of 1/10000 goes to the even unit
      {"1", "1.09375", "1.0938", "$1.09"},
      {"", "7", "0", "$0.00"},  // no quantity counts as 0
      {"4", "", "0", "$0.00"},  // the amount starts at its default 0
  };
  for (const Case& c : cases) {
    addLine(c.quantity, c.amount);
    EXPECT_EQ(module->tblServiceLineServiceLineTotal->AsString(), c.total)
        << c.quantity << " x " << c.amount;
    EXPECT_EQ(module->tblServiceLineServiceLineTotal->DisplayText(), c.display)
        << c.quantity << " x " << c.amount;
  }
  // Saved without an amount: 0, not null.
  EXPECT_FALSE(module->tblServiceLine.fieldByName("ServiceLineAmount").IsNull());
  EXPECT_EQ(module->tblServiceLine.displayTextAt(0, *module->tblServiceLineServiceLineTotal),
            "$37.04");
  EXPECT_DOUBLE_EQ(serviceLineTotal(3, 12.34567), 37.0371);
  EXPECT_DOUBLE_EQ(serviceLineTotal(0, 99.0), 0.0);
}

TEST_F(DataModuleTest, QuantityRangeAndAmountText) {
  createAll();
  addVehicle("Audi");
  module->tblService.insert();
  module->tblService.post();
  module->tblServiceLine.insert();
  auto messageOf = [](const std::function<void()>& op) {
    try {
      op();
    } catch (const std::exception& e) {
      return std::string(e.what());
    }
    return std::string("<no failure>");
  };
  TField& amount = module->tblServiceLine.fieldByName("ServiceLineAmount");
  EXPECT_EQ(messageOf([&] { module->tblServiceLineServiceLineQuantity->setAsString("40000"); }),
            "40000 is not a valid value for field 'ServiceLineQuantity'. The allowed range is "
            "-32768 to 32767");
  EXPECT_EQ(messageOf([&] { module->tblServiceLineServiceLineQuantity->setAsString("two"); }),
            "'two' is not a valid integer value for field 'ServiceLineQuantity'");
  EXPECT_EQ(messageOf([&] { amount.setAsString("1,5"); }),
            "'1,5' is not a valid floating point value for field 'ServiceLineAmount'");
  EXPECT_FALSE(module->tblServiceLine.Modified());  // refused values change nothing
  module->tblServiceLineServiceLineQuantity->setAsString("-32768");
  amount.setAsString("1234.5");
  EXPECT_EQ(amount.DisplayText(), "$1,234.50");
  EXPECT_EQ(amount.EditText(), "1234.50");
}

TEST_F(DataModuleTest, InvoiceAvailable) {
  createAll();
  addVehicle("Audi");
  module->tblExpenses.insert();
  EXPECT_EQ(module->tblExpensesExpenseInvAvailable->AsString(), "NO");
  module->tblExpensesExpenseBlob->setAsString("not a picture");
  EXPECT_EQ(module->tblExpensesExpenseInvAvailable->AsString(), "YES");
  module->tblExpenses.post();
  module->tblExpenses.insert();
  module->tblExpenses.post();
  EXPECT_EQ(module->tblExpenses.displayTextAt(0, *module->tblExpensesExpenseInvAvailable), "YES");
  EXPECT_EQ(module->tblExpenses.displayTextAt(1, *module->tblExpensesExpenseInvAvailable), "NO");
}

TEST_F(DataModuleTest, AfterCloseSetsTheFlagsButNotWhenTheModuleIsDestroyed) {
  std::vector<ClosedFlag> flags;
  module->closedFlagHook = [&](ClosedFlag flag) { flags.push_back(flag); };
  createAll();
  module->tblServiceInvoice.close();
  module->tblVehicle.close();
  module->tblVehicle.close();  // already closed: nothing
  EXPECT_EQ(flags, (std::vector<ClosedFlag>{ClosedFlag::ServiceInvoice, ClosedFlag::Vehicle}));

  // Destroyed with open tables: changed ones are still written, no flag is set.
  module->tblExpenses.insert();
  module->tblExpensesExpenseDescription->setAsString("Wipers");
  module->tblExpenses.post();
  module.reset();
  EXPECT_EQ(flags.size(), 2u);
  EXPECT_EQ(DataModule1, nullptr);
  EXPECT_TRUE(std::filesystem::exists(folder.file("Expense.cds")));
  EXPECT_FALSE(std::filesystem::exists(folder.file("Service.cds")));  // unchanged: not written
}

TEST_F(DataModuleTest, ServicesListedByDateWithinTheirVehicle) {
  createAll();
  addVehicle("Audi");
  TClientTable& services = module->tblService;
  for (double date : {45300.0, 45100.0, 45300.0}) {
    services.insert();
    module->tblServiceServiceDate->setAsDateTime(date);
    services.post();
  }
  services.insert();
  services.post();  // no date
  std::vector<std::int64_t> numbers;
  for (int row = 0; row < services.recordCount(); ++row)
    numbers.push_back(services.valueAt(row, *module->tblServiceServiceNumber).toInt());
  EXPECT_EQ(numbers, (std::vector<std::int64_t>{4, 2, 1, 3}));
  EXPECT_EQ(services.displayTextAt(1, *module->tblServiceServiceDate), "6/23/2023");
}

}  // namespace
}  // namespace wf::test
