// The application's record store: the five client tables with their persistent field objects,
// one data source per table, the master-detail links, and the calculation and after-close
// handlers. The program creates one instance first of all (DataModule1) and destroys it last.
//
// Ownership: the module owns its tables, fields (through the tables) and data sources. Tables
// start closed; the main window sets their FileName and opens them. The after-close handlers
// reach the main window's closed flags through closedFlagHook, which the program installs.
#pragma once

#include <functional>
#include <vector>

#include "store/blob_field.h"
#include "store/client_table.h"
#include "store/currency_field.h"
#include "store/data_source.h"
#include "store/date_time_field.h"
#include "store/integer_field.h"
#include "store/string_field.h"

namespace wf {

// The main window's flags, one per table, set when the table has been closed.
enum class ClosedFlag { Vehicle, Service, ServiceLine, ServiceInvoice, Expenses };

// A table of the module with its file, relative to the program's folder, and its closed flag.
struct TableFile {
  TClientTable* table;
  const char* relativeFileName;
  ClosedFlag flag;
};

class TDataModule1 {
 public:
  TDataModule1();
  TDataModule1(const TDataModule1&) = delete;
  TDataModule1& operator=(const TDataModule1&) = delete;
  // Tables still open are closed (and written when changed) without their after-close
  // handlers.
  ~TDataModule1();

  // Called by the after-close handlers; empty until the program installs it.
  std::function<void(ClosedFlag)> closedFlagHook;

  // Data sources are declared before the tables so that they outlive them: tables are
  // destroyed first, details before masters.
  TDataSource datVehicle{"datVehicle"};
  TDataSource datService{"datService"};
  TDataSource datServiceLine{"datServiceLine"};
  TDataSource datServiceInvoice{"datServiceInvoice"};
  TDataSource datExpenses{"datExpenses"};

  TClientTable tblVehicle{"tblVehicle"};
  TClientTable tblService{"tblService"};
  TClientTable tblServiceLine{"tblServiceLine"};
  TClientTable tblServiceInvoice{"tblServiceInvoice"};
  TClientTable tblExpenses{"tblExpenses"};

  TAutoIncField* tblVehicleVehicleNumber;
  TStringField* tblVehicleVehicleMake;
  TStringField* tblVehicleVehicleModel;
  TStringField* tblVehicleVehicleYear;
  TStringField* tblVehicleVehicleReg;
  TBlobField* tblVehicleVehiclePhoto;

  TAutoIncField* tblServiceServiceNumber;
  TIntegerField* tblServiceVehicleNumber;
  TStringField* tblServiceServiceDescription;
  TDateTimeField* tblServiceServiceDate;
  TStringField* tblServiceServiceTechName;
  TMemoField* tblServiceServiceNote;
  TStringField* tblServiceServiceDistance;

  TAutoIncField* tblServiceLineServiceLineNumber;
  TIntegerField* tblServiceLineServiceNumber;
  TStringField* tblServiceLineServiceLineProduct;
  TSmallintField* tblServiceLineServiceLineQuantity;
  TCurrencyField* tblServiceLineServiceLineAmount;
  TCurrencyField* tblServiceLineServiceLineTotal;

  TAutoIncField* tblServiceInvoiceServiceInvoiceNumber;
  TIntegerField* tblServiceInvoiceServiceNumber;
  TBlobField* tblServiceInvoiceServiceInvoiceBlob;
  TStringField* tblServiceInvoiceServiceInvoiceDescription;

  TAutoIncField* tblExpensesExpenseNumber;
  TIntegerField* tblExpensesVehicleNumber;
  TStringField* tblExpensesExpenseDescription;
  TCurrencyField* tblExpensesExpenseAmount;
  TSmallintField* tblExpensesExpenseQuantity;
  TDateTimeField* tblExpensesExpenseDate;
  TBlobField* tblExpensesExpenseBlob;
  TStringField* tblExpensesExpenseInvAvailable;

  // The five tables with their files, in opening order: masters before their details.
  std::vector<TableFile> tablesInOpeningOrder();
  // The same tables in closing (writing) order: details before their masters.
  std::vector<TableFile> tablesInClosingOrder();

  // Event handlers.
  void tblVehicleAfterClose(TClientTable& dataSet);
  void tblServiceAfterClose(TClientTable& dataSet);
  void tblServiceLineAfterClose(TClientTable& dataSet);
  void tblServiceInvoiceAfterClose(TClientTable& dataSet);
  void tblExpensesAfterClose(TClientTable& dataSet);
  void tblServiceLineCalcFields(TClientTable& dataSet);
  void tblExpensesCalcFields(TClientTable& dataSet);

 private:
  void setClosed(ClosedFlag flag);
};

// The instance the program creates first; null before and after it lives.
extern TDataModule1* DataModule1;

// The line total of a service line: quantity times amount, exact in 1/10000 units (the amount
// is taken to four decimals, halves to even), as an amount.
double serviceLineTotal(std::int32_t quantity, double amount);

}  // namespace wf
