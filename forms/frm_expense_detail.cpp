#include "forms/frm_expense_detail.h"

#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "forms/form_instances.h"
#include "forms/frm_ae_expense.h"
#include "forms/frm_ae_service_invoice.h"
#include "forms/glyphs.h"
#include "forms/report_launches.h"
#include "forms/vehicle_list_frame.h"
#include "forms/window_parts.h"
#include "framework/db_grid.h"
#include "framework/font_setup.h"
#include "framework/message_box.h"
#include "framework/showing_errors.h"
#include "framework/tab_chain.h"
#include "store/data_module.h"

namespace wf {

namespace {

std::vector<GridColumn> expenseColumns() {
  return {
      {"ExpenseNumber", "Expense Number", 109, kCellCentre, kCellCentre, QColor()},
      {"ExpenseDescription", "Expense Description", 302, kCellLeft, kCellLeft, kShadedColumn},
      {"ExpenseDate", "Expense Date", 112, kCellCentre, kCellCentre, QColor()},
      // Money keeps the field's own (right) alignment.
      {"ExpenseAmount", "Expense Amount", 108, std::nullopt, kCellLeft, QColor()},
      {"ExpenseInvAvailable", "Inv Available", std::nullopt, kCellCentre, kCellCentre,
       kShadedColumn},
  };
}

TClientTable& expenses() { return DataModule1->tblExpenses; }

}  // namespace

TfrmExpenseDetail::TfrmExpenseDetail(QWidget* parent) : FormBase(parent) {
  setObjectName("frmExpenseDetail");
  setWindowTitle("Expense Detail");
  setFont(msSansSerif(11));
  setFixedDialogBorder(kVehicleListWidth, kVehicleListHeight);
  buildLayout();
}

void TfrmExpenseDetail::buildLayout() {
  const VehicleListFrame frame =
      buildVehicleListFrame(this, "Expense Details", "Expense", "Print Preview Expense Details",
                            &DataModule1->datExpenses, expenseColumns());
  GradPanel1 = frame.titleBar;
  GradPanel3 = frame.closeBar;
  btnClose = frame.closeButton;
  DBGrid1 = frame.vehicleGrid;
  GradPanel2 = frame.upperBar;
  btnPrintExpenses = frame.printButton;
  DBGrid2 = frame.recordGrid;
  DBGrid2->OnDblClick = [this] { btnEditExpenseClick(); };
  GradPanel4 = frame.lowerBar;
  btnDeleteExpense = frame.deleteButton;
  btnNewExpense = frame.newButton;
  btnEditExpense = frame.editButton;
  btnPrintPreview = makeButton(GradPanel4, "Print Preview Invoice", "Print Preview Expense Invoice",
                               QRect(600, 10, 134, 25), kGreyButton, 5, glyph(Glyph::Print));
  setTabChain({btnEditExpense, btnPrintPreview});

  connect(btnNewExpense, &TGradButton::clicked, this, &TfrmExpenseDetail::btnNewExpenseClick);
  connect(btnEditExpense, &TGradButton::clicked, this, &TfrmExpenseDetail::btnEditExpenseClick);
  connect(btnDeleteExpense, &TGradButton::clicked, this, &TfrmExpenseDetail::btnDeleteExpenseClick);
  connect(btnPrintExpenses, &TGradButton::clicked, this, &TfrmExpenseDetail::btnPrintExpensesClick);
  connect(btnPrintPreview, &TGradButton::clicked, this, &TfrmExpenseDetail::btnPrintPreviewClick);
  connect(btnClose, &TGradButton::clicked, this, &TfrmExpenseDetail::btnCloseClick);
}

void TfrmExpenseDetail::btnNewExpenseClick() {
  if (DataModule1->tblVehicle.isEmpty()) return;
  runEditDialog(expenses(), EditStart::Insert, frmAEExpense, "Add New Expense");
}

void TfrmExpenseDetail::btnEditExpenseClick() {
  if (expenses().isEmpty()) return;
  runEditDialog(expenses(), EditStart::Edit, frmAEExpense, "Edit Expense");
}

void TfrmExpenseDetail::btnDeleteExpenseClick() {
  if (expenses().isEmpty()) return;
  confirmAndDelete(expenses(), "Delete selected expense?");
}

void TfrmExpenseDetail::btnPrintExpensesClick() {
  if (expenses().isEmpty() || reportLaunches == nullptr) return;
  runShowingErrors([&] { reportLaunches->LaunchExpenseReport(); });
}

void TfrmExpenseDetail::btnPrintPreviewClick() {
  if (expenses().isEmpty()) return;
  previewStoredInvoiceImage(*DataModule1->tblExpensesExpenseBlob);
}

void TfrmExpenseDetail::btnCloseClick() { closeForm(); }

}  // namespace wf
