#include "reports/frm_expense_detail_rep.h"

#include "reports/client_table_dataset.h"
#include "store/data_module.h"

namespace wf {

TfrmExpenseDetailRep::TfrmExpenseDetailRep(TDataModule1& data, QWidget* parent) : QWidget(parent) {
  adapters_.push_back(std::make_unique<ClientTableDataSet>(data.tblVehicle));
  adapters_.push_back(std::make_unique<ClientTableDataSet>(data.tblExpenses));
  build(*adapters_[0], *adapters_[1]);
}

TfrmExpenseDetailRep::TfrmExpenseDetailRep(ReportDataSet& vehicles, ReportDataSet& expenses,
                                           QWidget* parent)
    : QWidget(parent) {
  build(vehicles, expenses);
}

TfrmExpenseDetailRep::~TfrmExpenseDetailRep() = default;

void TfrmExpenseDetailRep::RepExpr1Print(TRepTextControl* /*Sender*/, QString& Value) {
  formatTotalAsMoney(Value);
}

void TfrmExpenseDetailRep::build(ReportDataSet& vehicles, ReportDataSet& expenses) {
  setWindowTitle(QStringLiteral("Expense Detail Report"));
  resize(822, 656);

  Report1 = new TReport(this);
  Report1->setObjectName(QStringLiteral("Report1"));
  Report1->DataSet = &expenses;

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
  RepLabel6 = addCaption(*ColumnHeaderBand1, "RepLabel6", "Expense No.", {8, 11, 80, kTextHeight});
  RepLabel7 = addCaption(*ColumnHeaderBand1, "RepLabel7", "Expense Description",
                         {96, 11, 130, kTextHeight});
  RepLabel8 =
      addCaption(*ColumnHeaderBand1, "RepLabel8", "Expense Date", {488, 11, 88, kTextHeight});
  RepLabel9 =
      addCaption(*ColumnHeaderBand1, "RepLabel9", "Expense Amount", {600, 11, 108, kTextHeight});

  DetailBand1 = addListBand(*Report1, "DetailBand1", BandType::rbDetail, kListRowHeight,
                            {false, false, true, true});
  RepDBText6 = addFieldText(*DetailBand1, "RepDBText6", &expenses, "ExpenseNumber",
                            {8, 11, 81, kTextHeight}, false, Alignment::taCenter);
  RepDBText7 = addFieldText(*DetailBand1, "RepDBText7", &expenses, "ExpenseDescription",
                            {96, 11, 385, kTextHeight}, false);
  RepDBText8 = addFieldText(*DetailBand1, "RepDBText8", &expenses, "ExpenseDate",
                            {488, 11, 89, kTextHeight}, false, Alignment::taCenter);
  RepDBText9 = addFieldText(*DetailBand1, "RepDBText9", &expenses, "ExpenseAmount",
                            {600, 11, 105, kTextHeight}, false);

  SummaryBand1 = addListBand(*Report1, "SummaryBand1", BandType::rbSummary, kListRowHeight,
                             {true, true, true, true});
  const QColor red(255, 0, 0);
  RepLabel10 = addCaption(*SummaryBand1, "RepLabel10", "Total:", {544, 11, 37, kTextHeight}, red);
  RepExpr1 = SummaryBand1->add<TRepExpr>(QStringLiteral("RepExpr1"));
  RepExpr1->Size = nativeSize({600, 11, 141, kTextHeight});
  RepExpr1->Color = Qt::white;
  RepExpr1->AutoSize = true;
  RepExpr1->WordWrap = true;
  RepExpr1->ParentFont = false;
  RepExpr1->Font = RepLabel10->Font;
  RepExpr1->FontColor = red;
  RepExpr1->Expression = QStringLiteral("SUM(ExpenseAmount)");
  RepExpr1->OnPrint = [this](TRepTextControl* sender, QString& value) {
    RepExpr1Print(sender, value);
  };
}

}  // namespace wf
