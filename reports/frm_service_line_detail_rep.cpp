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

  Report1 = new TReport(this);
  Report1->setObjectName(QStringLiteral("Report1"));
  Report1->DataSet = &lines;

  TitleBand1 = addListBand(*Report1, "TitleBand1", BandType::rbTitle, kListTitleHeight,
                           {true, true, true, true});
  TRepBand& title = *TitleBand1;
  RepLabel12 = addCaption(title, "RepLabel12",
                          "Vehicle Registration No.:", {529.17, 42.33, 418.04, kTextHeight});
  RepDBText8 = addFieldText(title, "RepDBText8", &vehicles, "VehicleReg",
                            {973.67, 42.33, 177.27, kTextHeight}, true);
  RepLabel1 =
      addCaption(title, "RepLabel1", "Service Number:", {21.17, 169.33, 283.10, kTextHeight});
  RepDBText1 = addFieldText(title, "RepDBText1", &services, "ServiceNumber",
                            {402.17, 169.33, 232.83, kTextHeight}, true);
  RepLabel4 =
      addCaption(title, "RepLabel4", "Technician Name:", {973.67, 169.33, 306.92, kTextHeight});
  RepDBText4 = addFieldText(title, "RepDBText4", &services, "ServiceTechName",
                            {1312.33, 169.33, 277.81, kTextHeight}, true);
  RepLabel2 =
      addCaption(title, "RepLabel2", "Service Description:", {21.17, 232.83, 338.67, kTextHeight});
  RepDBText2 = addFieldText(title, "RepDBText2", &services, "ServiceDescription",
                            {402.17, 232.83, 1463.15, kTextHeight}, false);
  RepLabel3 = addCaption(title, "RepLabel3", "Service Date:", {21.17, 296.33, 227.54, kTextHeight});
  RepDBText3 = addFieldText(title, "RepDBText3", &services, "ServiceDate",
                            {402.17, 296.33, 185.21, kTextHeight}, true);
  RepLabel5 =
      addCaption(title, "RepLabel5", "Service Distance:", {973.67, 296.33, 293.69, kTextHeight});
  RepDBText5 = addFieldText(title, "RepDBText5", &services, "ServiceDistance",
                            {1312.33, 296.33, 248.71, kTextHeight}, true);

  ColumnHeaderBand1 = addListBand(*Report1, "ColumnHeaderBand1", BandType::rbColumnHeader,
                                  kListRowHeight, {false, true, true, true});
  TRepBand& header = *ColumnHeaderBand1;
  RepLabel6 = addCaption(header, "RepLabel6", "Line No.", {21.17, 29.10, 142.88, kTextHeight});
  RepLabel7 = addCaption(header, "RepLabel7", "Service Line Description",
                         {190.50, 29.10, 412.75, kTextHeight});
  RepLabel9 = addCaption(header, "RepLabel9", "Line Quantity", {1143, 29.10, 227.54, kTextHeight});
  RepLabel10 = addCaption(header, "RepLabel10", "Amount", {1397, 29.10, 132.29, kTextHeight});
  RepLabel11 = addCaption(header, "RepLabel11", "Total", {1651, 29.10, 87.31, kTextHeight});

  DetailBand1 = addListBand(*Report1, "DetailBand1", BandType::rbDetail, kListRowHeight,
                            {false, false, true, true});
  TRepBand& detail = *DetailBand1;
  RepDBText6 = addFieldText(detail, "RepDBText6", &lines, "ServiceLineNumber",
                            {21.17, 29.10, 142.88, kTextHeight}, false, Alignment::taCenter);
  RepDBText7 = addFieldText(detail, "RepDBText7", &lines, "ServiceLineProduct",
                            {190.50, 29.10, 933.98, kTextHeight}, false);
  RepDBText9 = addFieldText(detail, "RepDBText9", &lines, "ServiceLineQuantity",
                            {1143, 29.10, 227.54, kTextHeight}, false, Alignment::taCenter);
  RepDBText10 = addFieldText(detail, "RepDBText10", &lines, "ServiceLineAmount",
                             {1397, 29.10, 235.48, kTextHeight}, false);
  RepDBText11 = addFieldText(detail, "RepDBText11", &lines, "ServiceLineTotal",
                             {1651, 29.10, 235.48, kTextHeight}, false);

  SummaryBand1 = addListBand(*Report1, "SummaryBand1", BandType::rbSummary, kListRowHeight,
                             {true, true, true, true});
  const QColor red(255, 0, 0);
  RepLabel8 =
      addCaption(*SummaryBand1, "RepLabel8", "Total:", {1524, 29.10, 97.90, kTextHeight}, red);
  RepExpr1 = SummaryBand1->add<TRepExpr>(QStringLiteral("RepExpr1"));
  RepExpr1->Size = {kTextHeight, 1651, 29.10, 386.29};
  RepExpr1->Color = Qt::white;
  RepExpr1->AutoSize = true;
  RepExpr1->WordWrap = true;
  RepExpr1->ParentFont = false;
  RepExpr1->Font = RepLabel8->Font;
  RepExpr1->FontColor = red;
  RepExpr1->Expression = QStringLiteral("Sum(ServiceLineTotal)");
  RepExpr1->OnPrint = [this](TRepTextControl* sender, QString& value) {
    RepExpr1Print(sender, value);
  };
}

}  // namespace wf
