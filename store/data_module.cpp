#include "store/data_module.h"

#include <algorithm>
#include <cmath>

namespace wf {

TDataModule1* DataModule1 = nullptr;

namespace {

// Declares a column once: the field object, and for a stored (not calculated) field the field
// definition with the field's own name, type and size. Columns are stored in the order they are
// added; an auto-increment column is read-only in the file.
template <class FieldClass, class... Args>
FieldClass* addColumn(TClientTable& table, const char* name, Args... sizeAndKind) {
  FieldClass& field = table.addField<FieldClass>(name, sizeAndKind...);
  if (field.FieldKind() == fkData) {
    const TFieldType type = field.DataType();
    table.FieldDefs().push_back(
        FieldDef{name, type, field.Size(), type == ftAutoInc ? faReadonly : std::uint16_t{0}});
  }
  return &field;
}

void linkDetail(TClientTable& detail, TDataSource& master, const char* masterField) {
  detail.setMasterSource(&master);
  detail.setMasterFields(masterField);
  detail.setPacketRecords(0);
}

}  // namespace

double serviceLineTotal(std::int32_t quantity, double amount) {
  double scaled = std::nearbyint(amount * 10000.0);  // ties to even in the default rounding mode
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 9.2e18) return quantity * amount;
  __int128 units = static_cast<__int128>(quantity) * static_cast<std::int64_t>(scaled);
  return static_cast<double>(units) / 10000.0;
}

TDataModule1::TDataModule1() {
  if (DataModule1 == nullptr) DataModule1 = this;

  datVehicle.setDataSet(&tblVehicle);
  datService.setDataSet(&tblService);
  datServiceLine.setDataSet(&tblServiceLine);
  datServiceInvoice.setDataSet(&tblServiceInvoice);
  datExpenses.setDataSet(&tblExpenses);

  // tblVehicle
  tblVehicleVehicleNumber = addColumn<TAutoIncField>(tblVehicle, "VehicleNumber");
  tblVehicleVehicleMake = addColumn<TStringField>(tblVehicle, "VehicleMake", 25);
  tblVehicleVehicleModel = addColumn<TStringField>(tblVehicle, "VehicleModel", 25);
  tblVehicleVehicleYear = addColumn<TStringField>(tblVehicle, "VehicleYear", 5);
  tblVehicleVehicleReg = addColumn<TStringField>(tblVehicle, "VehicleReg", 15);
  tblVehicleVehiclePhoto = addColumn<TBlobField>(tblVehicle, "VehiclePhoto");
  tblVehicle.IndexDefs().push_back(IndexDef{"tblVehicleIndex1", "", 0});
  tblVehicle.setIndexFieldNames("VehicleMake");

  // tblService
  tblServiceServiceNumber = addColumn<TAutoIncField>(tblService, "ServiceNumber");
  tblServiceVehicleNumber = addColumn<TIntegerField>(tblService, "VehicleNumber");
  tblServiceServiceDescription = addColumn<TStringField>(tblService, "ServiceDescription", 50);
  tblServiceServiceDate = addColumn<TDateTimeField>(tblService, "ServiceDate");
  tblServiceServiceTechName = addColumn<TStringField>(tblService, "ServiceTechName", 25);
  tblServiceServiceNote = addColumn<TMemoField>(tblService, "ServiceNote");
  tblServiceServiceDistance = addColumn<TStringField>(tblService, "ServiceDistance", 20);
  tblServiceServiceDate->setDisplayFormat("ddddd");
  tblService.setIndexFieldNames("VehicleNumber;ServiceDate");
  linkDetail(tblService, datVehicle, "VehicleNumber");

  // tblServiceLine
  tblServiceLineServiceLineNumber = addColumn<TAutoIncField>(tblServiceLine, "ServiceLineNumber");
  tblServiceLineServiceNumber = addColumn<TIntegerField>(tblServiceLine, "ServiceNumber");
  tblServiceLineServiceLineProduct =
      addColumn<TStringField>(tblServiceLine, "ServiceLineProduct", 50);
  tblServiceLineServiceLineQuantity =
      addColumn<TSmallintField>(tblServiceLine, "ServiceLineQuantity");
  tblServiceLineServiceLineAmount = addColumn<TCurrencyField>(tblServiceLine, "ServiceLineAmount");
  tblServiceLineServiceLineTotal =
      addColumn<TCurrencyField>(tblServiceLine, "ServiceLineTotal", fkCalculated);
  tblServiceLineServiceLineAmount->setDefaultExpression("0");
  tblServiceLine.setIndexFieldNames("ServiceNumber;ServiceLineNumber");
  linkDetail(tblServiceLine, datService, "ServiceNumber");
  tblServiceLine.OnCalcFields = [this](TClientTable& t) { tblServiceLineCalcFields(t); };

  // tblServiceInvoice
  tblServiceInvoiceServiceInvoiceNumber =
      addColumn<TAutoIncField>(tblServiceInvoice, "ServiceInvoiceNumber");
  tblServiceInvoiceServiceNumber = addColumn<TIntegerField>(tblServiceInvoice, "ServiceNumber");
  tblServiceInvoiceServiceInvoiceBlob =
      addColumn<TBlobField>(tblServiceInvoice, "ServiceInvoiceBlob");
  tblServiceInvoiceServiceInvoiceDescription =
      addColumn<TStringField>(tblServiceInvoice, "ServiceInvoiceDescription", 50);
  tblServiceInvoice.setIndexFieldNames("ServiceNumber");
  linkDetail(tblServiceInvoice, datService, "ServiceNumber");

  // tblExpenses
  tblExpensesExpenseNumber = addColumn<TAutoIncField>(tblExpenses, "ExpenseNumber");
  tblExpensesVehicleNumber = addColumn<TIntegerField>(tblExpenses, "VehicleNumber");
  tblExpensesExpenseDescription = addColumn<TStringField>(tblExpenses, "ExpenseDescription", 50);
  tblExpensesExpenseAmount = addColumn<TCurrencyField>(tblExpenses, "ExpenseAmount");
  tblExpensesExpenseQuantity = addColumn<TSmallintField>(tblExpenses, "ExpenseQuantity");
  tblExpensesExpenseDate = addColumn<TDateTimeField>(tblExpenses, "ExpenseDate");
  tblExpensesExpenseBlob = addColumn<TBlobField>(tblExpenses, "ExpenseBlob");
  tblExpensesExpenseInvAvailable =
      addColumn<TStringField>(tblExpenses, "ExpenseInvAvailable", 3, fkCalculated);
  tblExpensesExpenseAmount->setDefaultExpression("0");
  tblExpensesExpenseDate->setDisplayFormat("ddddd");
  tblExpenses.setIndexFieldNames("VehicleNumber;ExpenseDate");
  linkDetail(tblExpenses, datVehicle, "VehicleNumber");
  tblExpenses.OnCalcFields = [this](TClientTable& t) { tblExpensesCalcFields(t); };

  tblVehicle.AfterClose = [this](TClientTable& t) { tblVehicleAfterClose(t); };
  tblService.AfterClose = [this](TClientTable& t) { tblServiceAfterClose(t); };
  tblServiceLine.AfterClose = [this](TClientTable& t) { tblServiceLineAfterClose(t); };
  tblServiceInvoice.AfterClose = [this](TClientTable& t) { tblServiceInvoiceAfterClose(t); };
  tblExpenses.AfterClose = [this](TClientTable& t) { tblExpensesAfterClose(t); };
}

std::vector<TableFile> TDataModule1::tablesInOpeningOrder() {
  return {
      {&tblVehicle, "Data/Vehicle.cds", ClosedFlag::Vehicle},
      {&tblService, "Data/Service.cds", ClosedFlag::Service},
      {&tblServiceLine, "Data/ServiceLine.cds", ClosedFlag::ServiceLine},
      {&tblServiceInvoice, "Data/ServiceInvoice.cds", ClosedFlag::ServiceInvoice},
      {&tblExpenses, "Data/Expense.cds", ClosedFlag::Expenses},
  };
}

std::vector<TableFile> TDataModule1::tablesInClosingOrder() {
  // The service's invoices and lines before the service, the vehicle's services and expenses
  // before the vehicle.
  constexpr ClosedFlag kOrder[] = {ClosedFlag::ServiceInvoice, ClosedFlag::ServiceLine,
                                   ClosedFlag::Service, ClosedFlag::Expenses, ClosedFlag::Vehicle};
  const std::vector<TableFile> tables = tablesInOpeningOrder();
  std::vector<TableFile> ordered;
  for (ClosedFlag table : kOrder)
    ordered.push_back(*std::find_if(tables.begin(), tables.end(),
                                    [&](const TableFile& file) { return file.flag == table; }));
  return ordered;
}

TDataModule1::~TDataModule1() {
  if (DataModule1 == this) DataModule1 = nullptr;
}

void TDataModule1::setClosed(ClosedFlag flag) {
  if (closedFlagHook) closedFlagHook(flag);
}

void TDataModule1::tblVehicleAfterClose(TClientTable&) { setClosed(ClosedFlag::Vehicle); }
void TDataModule1::tblServiceAfterClose(TClientTable&) { setClosed(ClosedFlag::Service); }
void TDataModule1::tblServiceLineAfterClose(TClientTable&) { setClosed(ClosedFlag::ServiceLine); }
void TDataModule1::tblServiceInvoiceAfterClose(TClientTable&) {
  setClosed(ClosedFlag::ServiceInvoice);
}
void TDataModule1::tblExpensesAfterClose(TClientTable&) { setClosed(ClosedFlag::Expenses); }

void TDataModule1::tblServiceLineCalcFields(TClientTable& dataSet) {
  std::int32_t quantity = dataSet.fieldByName("ServiceLineQuantity").AsInteger();
  double amount = dataSet.fieldByName("ServiceLineAmount").AsFloat();
  dataSet.fieldByName("ServiceLineTotal").setAsFloat(serviceLineTotal(quantity, amount));
}

void TDataModule1::tblExpensesCalcFields(TClientTable& dataSet) {
  (void)dataSet;
  tblExpensesExpenseInvAvailable->setAsString(tblExpensesExpenseBlob->IsNull() ? "NO" : "YES");
}

}  // namespace wf
