// The service report window (never shown): Report1 lists the services of the current vehicle
// under a title box with the vehicle's photo and details.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "reports/report.h"
#include "reports/report_layout_builder.h"

namespace wf {

class ReportDataSet;
class TDataModule1;

class TfrmServiceDetailRep : public QWidget {
  Q_OBJECT

 public:
  // Bound to the data module's tblVehicle and tblService.
  explicit TfrmServiceDetailRep(TDataModule1& data, QWidget* parent = nullptr);
  // Bound to the given tables, which must outlive the window.
  TfrmServiceDetailRep(ReportDataSet& vehicles, ReportDataSet& services, QWidget* parent = nullptr);
  ~TfrmServiceDetailRep() override;

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
  TRepDBText* RepDBText10;

 private:
  void build(ReportDataSet& vehicles, ReportDataSet& services);

  std::vector<std::unique_ptr<ReportDataSet>> adapters_;
};

}  // namespace wf
