#include "reports/frm_service_line_detail_rep.h"

#include "reports/client_table_dataset.h"
#include "store/data_module.h"

namespace wf {

TfrmServiceLineDetailRep::TfrmServiceLineDetailRep(TDataModule1& data, QWidget* parent)
    : QWidget(parent) {
  adapters_.push_back(std::make_unique<ClientTableDataSet>(data.tblVehicle));
  adapters_.push_back(std::make_unique<ClientTableDataSet>(data.tblService));
  adapters_.push_back(std::make_unique<ClientTableDataSet>(data.tblServiceLine));
  build(*adapters_[0], *adapters_[1], *adapters_[2]);
}

TfrmServiceLineDetailRep::TfrmServiceLineDetailRep(ReportDataSet& vehicles, ReportDataSet& services,
                                                   ReportDataSet& lines, QWidget* parent)
    : QWidget(parent) {
  build(vehicles, services, lines);
}

TfrmServiceLineDetailRep::~TfrmServiceLineDetailRep() = default;

void TfrmServiceLineDetailRep::RepExpr1Print(TRepTextControl* /*Sender*/, QString& Value) {
  formatTotalAsMoney(Value);
}

void TfrmServiceLineDetailRep::build(ReportDataSet& vehicles, ReportDataSet& services,
                                     ReportDataSet& lines) {
  setWindowTitle(QStringLiteral("Service Line Detail Report"));
  resize(825, 656);

  addListReport(*this, lines, {true, true, true, true}).storeIn(*this);

  TRepBand& title = *TitleBand1;
  RepLabel12 =
      addCaption(title, "RepLabel12", "Vehicle Registration No.:", {200, 16, 158, kTextHeight});
  RepDBText8 =
      addFieldText(title, "RepDBText8", &vehicles, "VehicleReg", {368, 16, 67, kTextHeight}, true);
  RepLabel1 = addCaption(title, "RepLabel1", "Service Number:", {8, 64, 107, kTextHeight});
  RepDBText1 = addFieldText(title, "RepDBText1", &services, "ServiceNumber",
                            {152, 64, 88, kTextHeight}, true);
  RepLabel4 = addCaption(title, "RepLabel4", "Technician Name:", {368, 64, 116, kTextHeight});
  RepDBText4 = addFieldText(title, "RepDBText4", &services, "ServiceTechName",
                            {496, 64, 105, kTextHeight}, true);
  RepLabel2 = addCaption(title, "RepLabel2", "Service Description:", {8, 88, 128, kTextHeight});
  RepDBText2 = addFieldText(title, "RepDBText2", &services, "ServiceDescription",
                            {152, 88, 553, kTextHeight}, false);
  RepLabel3 = addCaption(title, "RepLabel3", "Service Date:", {8, 112, 86, kTextHeight});
  RepDBText3 = addFieldText(title, "RepDBText3", &services, "ServiceDate",
                            {152, 112, 70, kTextHeight}, true);
  RepLabel5 = addCaption(title, "RepLabel5", "Service Distance:", {368, 112, 111, kTextHeight});
  RepDBText5 = addFieldText(title, "RepDBText5", &services, "ServiceDistance",
                            {496, 112, 94, kTextHeight}, true);

  TRepBand& header = *ColumnHeaderBand1;
  RepLabel6 = addCaption(header, "RepLabel6", "Line No.", {8, 11, 54, kTextHeight});
  RepLabel7 =
      addCaption(header, "RepLabel7", "Service Line Description", {72, 11, 156, kTextHeight});
  RepLabel9 = addCaption(header, "RepLabel9", "Line Quantity", {432, 11, 86, kTextHeight});
  RepLabel10 = addCaption(header, "RepLabel10", "Amount", {528, 11, 50, kTextHeight});
  RepLabel11 = addCaption(header, "RepLabel11", "Total", {624, 11, 33, kTextHeight});

  TRepBand& detail = *DetailBand1;
  RepDBText6 = addFieldText(detail, "RepDBText6", &lines, "ServiceLineNumber",
                            {8, 11, 54, kTextHeight}, false, Alignment::taCenter);
  RepDBText7 = addFieldText(detail, "RepDBText7", &lines, "ServiceLineProduct",
                            {72, 11, 353, kTextHeight}, false);
  RepDBText9 = addFieldText(detail, "RepDBText9", &lines, "ServiceLineQuantity",
                            {432, 11, 86, kTextHeight}, false, Alignment::taCenter);
  RepDBText10 = addFieldText(detail, "RepDBText10", &lines, "ServiceLineAmount",
                             {528, 11, 89, kTextHeight}, false);
  RepDBText11 = addFieldText(detail, "RepDBText11", &lines, "ServiceLineTotal",
                             {624, 11, 89, kTextHeight}, false);

  const QColor red(255, 0, 0);
  RepLabel8 = addCaption(*SummaryBand1, "RepLabel8", "Total:", {576, 11, 37, kTextHeight}, red);
  RepExpr1 = addTotal(*SummaryBand1, "RepExpr1", "Sum(ServiceLineTotal)",
                      {624, 11, 146, kTextHeight}, *RepLabel8);
  RepExpr1->OnPrint = [this](TRepTextControl* sender, QString& value) {
    RepExpr1Print(sender, value);
  };
}

}  // namespace wf
