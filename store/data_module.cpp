#include "store/data_module.h"

#include <cmath>

namespace wf {

TDataModule1* DataModule1 = nullptr;

namespace {

void addDef(TClientTable& table, const char* name, TFieldType type, int size = 0) {
  table.FieldDefs().push_back(
      FieldDef{name, type, size, type == ftAutoInc ? faReadonly : std::uint16_t{0}});
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
  tblVehicleVehicleNumber = &tblVehicle.addField<TAutoIncField>("VehicleNumber");
  tblVehicleVehicleMake = &tblVehicle.addField<TStringField>("VehicleMake", 25);
  tblVehicleVehicleModel = &tblVehicle.addField<TStringField>("VehicleModel", 25);
  tblVehicleVehicleYear = &tblVehicle.addField<TStringField>("VehicleYear", 5);
  tblVehicleVehicleReg = &tblVehicle.addField<TStringField>("VehicleReg", 15);
  tblVehicleVehiclePhoto = &tblVehicle.addField<TBlobField>("VehiclePhoto");
  addDef(tblVehicle, "VehicleNumber", ftAutoInc);
  addDef(tblVehicle, "VehicleMake", ftString, 25);
  addDef(tblVehicle, "VehicleModel", ftString, 25);
  addDef(tblVehicle, "VehicleYear", ftString, 5);
  addDef(tblVehicle, "VehicleReg", ftString, 15);
  addDef(tblVehicle, "VehiclePhoto", ftBlob);
  tblVehicle.IndexDefs().push_back(IndexDef{"tblVehicleIndex1", "", 0});
  tblVehicle.setIndexFieldNames("VehicleMake");

  // tblService
  tblServiceServiceNumber = &tblService.addField<TAutoIncField>("ServiceNumber");
  tblServiceVehicleNumber = &tblService.addField<TIntegerField>("VehicleNumber");
  tblServiceServiceDescription = &tblService.addField<TStringField>("ServiceDescription", 50);
  tblServiceServiceDate = &tblService.addField<TDateTimeField>("ServiceDate");
  tblServiceServiceTechName = &tblService.addField<TStringField>("ServiceTechName", 25);
  tblServiceServiceNote = &tblService.addField<TMemoField>("ServiceNote");
  tblServiceServiceDistance = &tblService.addField<TStringField>("ServiceDistance", 20);
  tblServiceServiceDate->setDisplayFormat("ddddd");
  addDef(tblService, "ServiceNumber", ftAutoInc);
  addDef(tblService, "VehicleNumber", ftInteger);
  addDef(tblService, "ServiceDescription", ftString, 50);
  addDef(tblService, "ServiceDate", ftDateTime);
  addDef(tblService, "ServiceTechName", ftString, 25);
  addDef(tblService, "ServiceNote", ftMemo);
  addDef(tblService, "ServiceDistance", ftString, 20);
  tblService.setIndexFieldNames("VehicleNumber;ServiceDate");
  linkDetail(tblService, datVehicle, "VehicleNumber");

  // tblServiceLine
  tblServiceLineServiceLineNumber = &tblServiceLine.addField<TAutoIncField>("ServiceLineNumber");
  tblServiceLineServiceNumber = &tblServiceLine.addField<TIntegerField>("ServiceNumber");
  tblServiceLineServiceLineProduct =
      &tblServiceLine.addField<TStringField>("ServiceLineProduct", 50);
  tblServiceLineServiceLineQuantity =
      &tblServiceLine.addField<TSmallintField>("ServiceLineQuantity");
  tblServiceLineServiceLineAmount = &tblServiceLine.addField<TCurrencyField>("ServiceLineAmount");
  tblServiceLineServiceLineTotal =
      &tblServiceLine.addField<TCurrencyField>("ServiceLineTotal", fkCalculated);
  tblServiceLineServiceLineAmount->setDefaultExpression("0");
  addDef(tblServiceLine, "ServiceLineNumber", ftAutoInc);
  addDef(tblServiceLine, "ServiceNumber", ftInteger);
  addDef(tblServiceLine, "ServiceLineProduct", ftString, 50);
  addDef(tblServiceLine, "ServiceLineQuantity", ftSmallint);
  addDef(tblServiceLine, "ServiceLineAmount", ftCurrency);
  tblServiceLine.setIndexFieldNames("ServiceNumber;ServiceLineNumber");
  linkDetail(tblServiceLine, datService, "ServiceNumber");
  tblServiceLine.OnCalcFields = [this](TClientTable& t) { tblServiceLineCalcFields(t); };

  // tblServiceInvoice
  tblServiceInvoiceServiceInvoiceNumber =
      &tblServiceInvoice.addField<TAutoIncField>("ServiceInvoiceNumber");
  tblServiceInvoiceServiceNumber = &tblServiceInvoice.addField<TIntegerField>("ServiceNumber");
  tblServiceInvoiceServiceInvoiceBlob =
      &tblServiceInvoice.addField<TBlobField>("ServiceInvoiceBlob");
  tblServiceInvoiceServiceInvoiceDescription =
      &tblServiceInvoice.addField<TStringField>("ServiceInvoiceDescription", 50);
  addDef(tblServiceInvoice, "ServiceInvoiceNumber", ftAutoInc);
  addDef(tblServiceInvoice, "ServiceNumber", ftInteger);
  addDef(tblServiceInvoice, "ServiceInvoiceBlob", ftBlob);
  addDef(tblServiceInvoice, "ServiceInvoiceDescription", ftString, 50);
  tblServiceInvoice.setIndexFieldNames("ServiceNumber");
  linkDetail(tblServiceInvoice, datService, "ServiceNumber");

  // tblExpenses
  tblExpensesExpenseNumber = &tblExpenses.addField<TAutoIncField>("ExpenseNumber");
  tblExpensesVehicleNumber = &tblExpenses.addField<TIntegerField>("VehicleNumber");
  tblExpensesExpenseDescription = &tblExpenses.addField<TStringField>("ExpenseDescription", 50);
  tblExpensesExpenseAmount = &tblExpenses.addField<TCurrencyField>("ExpenseAmount");
  tblExpensesExpenseQuantity = &tblExpenses.addField<TSmallintField>("ExpenseQuantity");
  tblExpensesExpenseDate = &tblExpenses.addField<TDateTimeField>("ExpenseDate");
  tblExpensesExpenseBlob = &tblExpenses.addField<TBlobField>("ExpenseBlob");
  tblExpensesExpenseInvAvailable =
      &tblExpenses.addField<TStringField>("ExpenseInvAvailable", 3, fkCalculated);
  tblExpensesExpenseAmount->setDefaultExpression("0");
  tblExpensesExpenseDate->setDisplayFormat("ddddd");
  addDef(tblExpenses, "ExpenseNumber", ftAutoInc);
  addDef(tblExpenses, "VehicleNumber", ftInteger);
  addDef(tblExpenses, "ExpenseDescription", ftString, 50);
  addDef(tblExpenses, "ExpenseAmount", ftCurrency);
  addDef(tblExpenses, "ExpenseQuantity", ftSmallint);
  addDef(tblExpenses, "ExpenseDate", ftDateTime);
  addDef(tblExpenses, "ExpenseBlob", ftBlob);
  tblExpenses.setIndexFieldNames("VehicleNumber;ExpenseDate");
  linkDetail(tblExpenses, datVehicle, "VehicleNumber");
  tblExpenses.OnCalcFields = [this](TClientTable& t) { tblExpensesCalcFields(t); };

  tblVehicle.AfterClose = [this](TClientTable& t) { tblVehicleAfterClose(t); };
  tblService.AfterClose = [this](TClientTable& t) { tblServiceAfterClose(t); };
  tblServiceLine.AfterClose = [this](TClientTable& t) { tblServiceLineAfterClose(t); };
  tblServiceInvoice.AfterClose = [this](TClientTable& t) { tblServiceInvoiceAfterClose(t); };
  tblExpenses.AfterClose = [this](TClientTable& t) { tblExpensesAfterClose(t); };
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
