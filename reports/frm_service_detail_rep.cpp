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

  // The summary band stays empty: its top line closes the table of services under the last row.
  addListReport(*this, services, {true, false, false, false}).storeIn(*this);
  addVehicleTitle(*TitleBand1, &vehicles).storeIn(*this);

  RepLabel6 = addCaption(*ColumnHeaderBand1, "RepLabel6", "Service No.", {8, 11, 74, kTextHeight});
  RepLabel7 = addCaption(*ColumnHeaderBand1, "RepLabel7", "Service Description",
                         {96, 11, 124, kTextHeight});
  RepLabel8 =
      addCaption(*ColumnHeaderBand1, "RepLabel8", "Service Date", {400, 11, 82, kTextHeight});
  RepLabel9 =
      addCaption(*ColumnHeaderBand1, "RepLabel9", "Technician Name", {488, 11, 112, kTextHeight});
  RepLabel10 =
      addCaption(*ColumnHeaderBand1, "RepLabel10", "Service Distance", {608, 11, 107, kTextHeight});

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
}

}  // namespace wf
