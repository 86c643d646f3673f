// The service line report window (never shown): Report1 lists the lines of the current service
// with their total under a title box with the vehicle's registration and the service's details.
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

class TfrmServiceLineDetailRep : public QWidget {
  Q_OBJECT

 public:
  // Bound to the data module's tblVehicle, tblService and tblServiceLine.
  explicit TfrmServiceLineDetailRep(TDataModule1& data, QWidget* parent = nullptr);
  // Bound to the given tables, which must outlive the window.
  TfrmServiceLineDetailRep(ReportDataSet& vehicles, ReportDataSet& services, ReportDataSet& lines,
                           QWidget* parent = nullptr);
  ~TfrmServiceLineDetailRep() override;

  // OnPrint of RepExpr1: the total in the locale's money format.
  void RepExpr1Print(TRepTextControl* Sender, QString& Value);

  TReport* Report1;
  TRepBand* TitleBand1;
  TRepBand* ColumnHeaderBand1;
  TRepBand* DetailBand1;
  TRepBand* SummaryBand1;
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
  TRepLabel* RepLabel11;
  TRepLabel* RepLabel12;
  TRepDBText* RepDBText1;
  TRepDBText* RepDBText2;
  TRepDBText* RepDBText3;
  TRepDBText* RepDBText4;
  TRepDBText* RepDBText5;
  TRepDBText* RepDBText6;
  TRepDBText* RepDBText7;
  TRepDBText* RepDBText8;
  TRepDBText* RepDBText9;
  TRepDBText* RepDBText10;
  TRepDBText* RepDBText11;
  TRepExpr* RepExpr1;

 private:
  void build(ReportDataSet& vehicles, ReportDataSet& services, ReportDataSet& lines);

  std::vector<std::unique_ptr<ReportDataSet>> adapters_;
};

}  // namespace wf
