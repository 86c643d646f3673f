// The expense report window (never shown): Report1 lists the expenses of the current vehicle
// with their total under a title box with the vehicle's photo and details.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "reports/rep_expr.h"
#include "reports/report.h"
#include "reports/report_layout_builder.h"

namespace wf {

class ReportDataSet;
class TDataModule1;

class TfrmExpenseDetailRep : public QWidget {
  Q_OBJECT

 public:
  // Bound to the data module's tblVehicle and tblExpenses.
  explicit TfrmExpenseDetailRep(TDataModule1& data, QWidget* parent = nullptr);
  // Bound to the given tables, which must outlive the window.
  TfrmExpenseDetailRep(ReportDataSet& vehicles, ReportDataSet& expenses, QWidget* parent = nullptr);
  ~TfrmExpenseDetailRep() override;

  // OnPrint of RepExpr1: the total in the locale's money format.
  void RepExpr1Print(TRepTextControl* Sender, QString& Value);

  TReport* Report1;
  TRepBand* TitleBand1;
  TRepBand* ColumnHeaderBand1;
  TRepBand* DetailBand1;
  TRepBand* SummaryBand1;
  TRepImage* RepImage1;
  TRepLabel* RepLabel1;
  TRepLabel* RepLabel2;
  TRepLabel* RepLabel3;
  TRepLabel* RepLabel4;
  TRepLabel* RepLabel5;
  TRepLabel* RepLabel6;
  TRepLabel* RepLabel7;
  TRepLabel* RepLabel8;
  TRepLabel* RepLabel9;
  TRepLabel* RepLabel10;
  TRepDBText* RepDBText1;
  TRepDBText* RepDBText2;
  TRepDBText* RepDBText3;
  TRepDBText* RepDBText4;
  TRepDBText* RepDBText5;
  TRepDBText* RepDBText6;
  TRepDBText* RepDBText7;
  TRepDBText* RepDBText8;
  TRepDBText* RepDBText9;
  TRepExpr* RepExpr1;

 private:
  void build(ReportDataSet& vehicles, ReportDataSet& expenses);

  std::vector<std::unique_ptr<ReportDataSet>> adapters_;
};

}  // namespace wf
