#include "reports/frm_service_detail_rep.h"

#include "reports/client_table_dataset.h"
#include "store/data_module.h"

namespace wf {

TfrmServiceDetailRep::TfrmServiceDetailRep(TDataModule1& data, QWidget* parent) : QWidget(parent) {
  adapters_.push_back(std::make_unique<ClientTableDataSet>(data.tblVehicle));
  adapters_.push_back(std::make_unique<ClientTableDataSet>(data.tblService));
  build(*adapters_[0], *adapters_[1]);
}

TfrmServiceDetailRep::TfrmServiceDetailRep(ReportDataSet& vehicles, ReportDataSet& services,
                                           QWidget* parent)
    : QWidget(parent) {
  build(vehicles, services);
}

TfrmServiceDetailRep::~TfrmServiceDetailRep() = default;

void TfrmServiceDetailRep::build(ReportDataSet& vehicles, ReportDataSet& services) {
  setWindowTitle(QStringLiteral("Service Detail Report"));
  resize(823, 656);

  Report1 = new TReport(this);
  Report1->setObjectName(QStringLiteral("Report1"));
  Report1->DataSet = &services;

  TitleBand1 = addListBand(*Report1, "TitleBand1", BandType::rbTitle, kListTitleHeight,
                           {true, true, true, true});
  const VehicleTitle title = addVehicleTitle(*TitleBand1, &vehicles);
  RepImage1 = title.RepImage1;
  RepLabel1 = title.RepLabel1;
  RepDBText1 = title.RepDBText1;
  RepLabel2 = title.RepLabel2;
  RepDBText2 = title.RepDBText2;
  RepLabel3 = title.RepLabel3;
  RepDBText3 = title.RepDBText3;
  RepLabel4 = title.RepLabel4;
  RepDBText4 = title.RepDBText4;
  RepLabel5 = title.RepLabel5;
  RepDBText5 = title.RepDBText5;

  ColumnHeaderBand1 = addListBand(*Report1, "ColumnHeaderBand1", BandType::rbColumnHeader,
                                  kListRowHeight, {false, true, true, true});
  RepLabel6 = addCaption(*ColumnHeaderBand1, "RepLabel6", "Service No.", {8, 11, 74, kTextHeight});
  RepLabel7 = addCaption(*ColumnHeaderBand1, "RepLabel7", "Service Description",
                         {96, 11, 124, kTextHeight});
  RepLabel8 =
      addCaption(*ColumnHeaderBand1, "RepLabel8", "Service Date", {400, 11, 82, kTextHeight});
  RepLabel9 =
      addCaption(*ColumnHeaderBand1, "RepLabel9", "Technician Name", {488, 11, 112, kTextHeight});
  RepLabel10 =
      addCaption(*ColumnHeaderBand1, "RepLabel10", "Service Distance", {608, 11, 107, kTextHeight});

  DetailBand1 = addListBand(*Report1, "DetailBand1", BandType::rbDetail, kListRowHeight,
                            {false, false, true, true});
  RepDBText6 = addFieldText(*DetailBand1, "RepDBText6", &services, "ServiceNumber",
                            {8, 11, 73, kTextHeight}, false, Alignment::taCenter);
  RepDBText7 = addFieldText(*DetailBand1, "RepDBText7", &services, "ServiceDescription",
                            {96, 11, 297, kTextHeight}, false);
  RepDBText8 = addFieldText(*DetailBand1, "RepDBText8", &services, "ServiceDate",
                            {400, 11, 81, kTextHeight}, false, Alignment::taCenter);
  RepDBText9 = addFieldText(*DetailBand1, "RepDBText9", &services, "ServiceTechName",
                            {488, 11, 113, kTextHeight}, false);
  RepDBText10 = addFieldText(*DetailBand1, "RepDBText10", &services, "ServiceDistance",
                             {608, 11, 105, kTextHeight}, false);

  // Empty: its top line closes the table of services under the last row.
  SummaryBand1 = addListBand(*Report1, "SummaryBand1", BandType::rbSummary, kListRowHeight,
                             {true, false, false, false});
}

}  // namespace wf
