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

  addListReport(*this, expenses, {true, true, true, true}).storeIn(*this);
  addVehicleTitle(*TitleBand1, &vehicles).storeIn(*this);

  RepLabel6 = addCaption(*ColumnHeaderBand1, "RepLabel6", "Expense No.", {8, 11, 80, kTextHeight});
  RepLabel7 = addCaption(*ColumnHeaderBand1, "RepLabel7", "Expense Description",
                         {96, 11, 130, kTextHeight});
  RepLabel8 =
      addCaption(*ColumnHeaderBand1, "RepLabel8", "Expense Date", {488, 11, 88, kTextHeight});
  RepLabel9 =
      addCaption(*ColumnHeaderBand1, "RepLabel9", "Expense Amount", {600, 11, 108, kTextHeight});

  RepDBText6 = addFieldText(*DetailBand1, "RepDBText6", &expenses, "ExpenseNumber",
                            {8, 11, 81, kTextHeight}, false, Alignment::taCenter);
  RepDBText7 = addFieldText(*DetailBand1, "RepDBText7", &expenses, "ExpenseDescription",
                            {96, 11, 385, kTextHeight}, false);
  RepDBText8 = addFieldText(*DetailBand1, "RepDBText8", &expenses, "ExpenseDate",
                            {488, 11, 89, kTextHeight}, false, Alignment::taCenter);
  RepDBText9 = addFieldText(*DetailBand1, "RepDBText9", &expenses, "ExpenseAmount",
                            {600, 11, 105, kTextHeight}, false);

  const QColor red(255, 0, 0);
  RepLabel10 = addCaption(*SummaryBand1, "RepLabel10", "Total:", {544, 11, 37, kTextHeight}, red);
  RepExpr1 = addTotal(*SummaryBand1, "RepExpr1", "SUM(ExpenseAmount)", {600, 11, 141, kTextHeight},
                      *RepLabel10);
  RepExpr1->OnPrint = [this](TRepTextControl* sender, QString& value) {
    RepExpr1Print(sender, value);
  };
}

}  // namespace wf
