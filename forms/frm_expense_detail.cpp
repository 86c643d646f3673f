#include "forms/frm_expense_detail.h"

#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "forms/form_instances.h"
#include "forms/frm_ae_expense.h"
#include "forms/frm_ae_service_invoice.h"
#include "forms/glyphs.h"
#include "forms/report_launches.h"
#include "forms/window_parts.h"
#include "framework/db_grid.h"
#include "framework/font_setup.h"
#include "framework/message_box.h"
#include "store/data_module.h"

namespace wf {

namespace {

constexpr int kClientWidth = 752;
constexpr int kClientHeight = 526;

std::vector<GridColumn> expenseColumns() {
  return {
      {"ExpenseNumber", "Expense Number", 109, kCellCentre, kCellCentre, QColor()},
      {"ExpenseDescription", "Expense Description", 302, kCellLeft, kCellLeft, kShadedColumn},
      {"ExpenseDate", "Expense Date", 112, kCellCentre, kCellCentre, QColor()},
      // Money keeps the field's own (right) alignment.
      {"ExpenseAmount", "Expense Amount", 108, std::nullopt, kCellLeft, QColor()},
      {"ExpenseInvAvailable", "Inv Available", std::nullopt, kCellCentre, kCellCentre, kShadedColumn},
  };
}

TClientTable& expenses() { return DataModule1->tblExpenses; }

}  // namespace

TfrmExpenseDetail::TfrmExpenseDetail(QWidget* parent) : FormBase(parent) {
  setObjectName("frmExpenseDetail");
  setWindowTitle("Expense Detail");
  setFont(msSansSerif(11));
  setFixedDialogBorder(kClientWidth, kClientHeight);
  buildLayout();
}

void TfrmExpenseDetail::buildLayout() {
  const QColor windowText(0, 0, 0);
  GradPanel1 = makePanel(this, PanelPreset::TitleBar, QRect(0, 0, kClientWidth, 45),
                         "Expense Details");
  GradPanel3 = makePanel(this, PanelPreset::ButtonBar, QRect(0, 481, kClientWidth, 45));
  btnClose = makeButton(GradPanel3, "Close", QString(), QRect(659, 10, 75, 25), kGreenButton, 5,
                        glyph(Glyph::Close));

  DBGrid1 = makeGrid(this, &DataModule1->datVehicle, vehicleListColumns(),
                     QRect(0, 45, kClientWidth, 148), windowText);

  GradPanel2 = makePanel(this, PanelPreset::GreyBar, QRect(0, 193, kClientWidth, 45), "Services");
  GradPanel2->setShowCaption(false);
  btnPrintExpenses = makeButton(GradPanel2, "Print...", "Print Preview Expense Details",
                                QRect(19, 10, 75, 25), kGreyButton, 5, glyph(Glyph::Print));

  DBGrid2 = makeGrid(this, &DataModule1->datExpenses, expenseColumns(),
                     QRect(0, 238, kClientWidth, 198), windowText);
  DBGrid2->OnDblClick = [this] { btnEditExpenseClick(); };

  GradPanel4 = makePanel(this, PanelPreset::GreyBar, QRect(0, 436, kClientWidth, 45), "Expenses");
  GradPanel4->setShowCaption(false);
  btnDeleteExpense = makeButton(GradPanel4, "Delete", "Delete Expense", QRect(195, 10, 75, 25),
                                kGreyButton, 5, glyph(Glyph::Delete));
  btnNewExpense = makeButton(GradPanel4, "New", "New Expense", QRect(19, 10, 75, 25), kGreyButton,
                             5, glyph(Glyph::New));
  btnEditExpense = makeButton(GradPanel4, "Edit", "Edit Expense", QRect(107, 10, 75, 25),
                              kGreyButton, 5, glyph(Glyph::Edit));
  btnPrintPreview = makeButton(GradPanel4, "Print Preview Invoice", "Print Preview Expense Invoice",
                               QRect(600, 10, 134, 25), kGreyButton, 5, glyph(Glyph::Print));

  // Title bar, button bar, vehicle grid, upper grey bar, expense grid, lower grey bar (Delete,
  // New, Edit, Print Preview Invoice).
  setTabOrder(GradPanel1, GradPanel3);
  setTabOrder(btnClose, DBGrid1);
  setTabOrder(DBGrid1, btnPrintExpenses);
  setTabOrder(btnPrintExpenses, DBGrid2);
  setTabOrder(DBGrid2, btnDeleteExpense);
  setTabOrder(btnDeleteExpense, btnNewExpense);
  setTabOrder(btnNewExpense, btnEditExpense);
  setTabOrder(btnEditExpense, btnPrintPreview);

  connect(btnNewExpense, &TGradButton::clicked, this, &TfrmExpenseDetail::btnNewExpenseClick);
  connect(btnEditExpense, &TGradButton::clicked, this, &TfrmExpenseDetail::btnEditExpenseClick);
  connect(btnDeleteExpense, &TGradButton::clicked, this,
          &TfrmExpenseDetail::btnDeleteExpenseClick);
  connect(btnPrintExpenses, &TGradButton::clicked, this,
          &TfrmExpenseDetail::btnPrintExpensesClick);
  connect(btnPrintPreview, &TGradButton::clicked, this, &TfrmExpenseDetail::btnPrintPreviewClick);
  connect(btnClose, &TGradButton::clicked, this, &TfrmExpenseDetail::btnCloseClick);
}

void TfrmExpenseDetail::btnNewExpenseClick() {
  if (DataModule1->tblVehicle.isEmpty()) return;
  runEditDialog(expenses(), EditStart::Insert, frmAEExpense, "Add New Expense", this);
}

void TfrmExpenseDetail::btnEditExpenseClick() {
  if (expenses().isEmpty()) return;
  runEditDialog(expenses(), EditStart::Edit, frmAEExpense, "Edit Expense", this);
}

void TfrmExpenseDetail::btnDeleteExpenseClick() {
  if (expenses().isEmpty()) return;
  if (!confirm("Delete selected expense?")) return;
  try {
    expenses().deleteRecord();
  } catch (const std::exception& failure) {
    showError(failure);
  }
}

void TfrmExpenseDetail::btnPrintExpensesClick() {
  if (expenses().isEmpty() || reportLaunches == nullptr) return;
  try {
    reportLaunches->LaunchExpenseReport();
  } catch (const std::exception& failure) {
    showError(failure);
  }
}

void TfrmExpenseDetail::btnPrintPreviewClick() {
  if (expenses().isEmpty()) return;
  const TBlobField* image = DataModule1->tblExpensesExpenseBlob;
  if (image->IsNull()) return;
  try {
    previewInvoiceImage(image->AsString());
  } catch (const std::exception& failure) {
    showError(failure);
  }
}

void TfrmExpenseDetail::btnCloseClick() { closeForm(); }

}  // namespace wf
