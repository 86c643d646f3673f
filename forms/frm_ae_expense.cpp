#include "forms/frm_ae_expense.h"

#include "controls/db_date_edit.h"
#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "forms/frm_ae_service_invoice.h"
#include "forms/glyphs.h"
#include "forms/window_parts.h"
#include "framework/busy_cursor.h"
#include "framework/db_edit.h"
#include "framework/font_setup.h"
#include "framework/message_box.h"
#include "framework/pending_messages.h"
#include "framework/showing_errors.h"
#include "framework/tab_chain.h"
#include "store/data_module.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

#include <optional>
#include <string>

namespace wf {

namespace {

constexpr int kClientWidth = 527;
constexpr int kClientHeight = 257;

TClientTable& expenses() { return DataModule1->tblExpenses; }

}  // namespace

TfrmAEExpense::TfrmAEExpense(QWidget* parent) : FormBase(parent) {
  setObjectName("frmAEExpense");
  setWindowTitle("Add/Edit Expense");
  setFont(msSansSerif(11));
  setFixedDialogBorder(kClientWidth, kClientHeight);
  buildLayout();
  setUpInvoiceImageDialog(OpenPictureDialog1);
}

void TfrmAEExpense::buildLayout() {
  TDataSource* source = &DataModule1->datExpenses;
  GradPanel1 = makePanel(this, PanelPreset::TitleBar, QRect(0, 0, kClientWidth, 45),
                         "Expense Invoice Details");
  GradPanel4 = makePanel(this, PanelPreset::ContentPanel, QRect(0, 45, kClientWidth, 167));
  GradPanel3 = makePanel(this, PanelPreset::ButtonBar, QRect(0, 212, kClientWidth, 45));

  Label1 = makeBoldLabel(GradPanel4, "Expense Description", 24, 27);
  DBEdit4 = makeDataEdit(GradPanel4, source, "ExpenseDescription", QRect(192, 24, 313, 24));
  Label2 = makeBoldLabel(GradPanel4, "Expense Date", 24, 59);
  DBDateEdit1 = makeDataDateEdit(GradPanel4, source, "ExpenseDate", QRect(192, 56, 121, 22));
  Label4 = makeBoldLabel(GradPanel4, "Expense Amount", 24, 91);
  DBEdit2 = makeDataEdit(GradPanel4, source, "ExpenseAmount", QRect(192, 88, 121, 24));
  Label3 = makeBoldLabel(GradPanel4, "Import Invoice Image (jpeg)", 24, 123);
  Edit1 = makeInvoicePathEdit(GradPanel4, QRect(192, 120, 289, 24));
  btnInvoice = makeButton(GradPanel4, "...", "Open Image Dialog...", QRect(481, 120, 25, 22),
                          kWhiteButton, 5);

  btnSave = makeButton(GradPanel3, "Save", QString(), QRect(19, 10, 75, 25), kGreenButton, 5,
                       glyph(Glyph::Save));
  btnCancel = makeButton(GradPanel3, "Cancel", QString(), QRect(431, 10, 75, 25), kGreenButton, 5,
                         glyph(Glyph::Cancel));

  setTabChain({DBEdit4, DBDateEdit1, DBEdit2, Edit1, btnInvoice, btnSave, btnCancel});

  connect(btnInvoice, &TGradButton::clicked, this, &TfrmAEExpense::btnInvoiceClick);
  connect(btnSave, &TGradButton::clicked, this, &TfrmAEExpense::btnSaveClick);
  connect(btnCancel, &TGradButton::clicked, this, &TfrmAEExpense::btnCancelClick);
}

void TfrmAEExpense::formActivate() {
  Edit1->clear();
  DBEdit4->setFocus();
}

void TfrmAEExpense::btnInvoiceClick() {
  if (OpenPictureDialog1.execute(this)) Edit1->setText(OpenPictureDialog1.fileName());
}

void TfrmAEExpense::btnSaveClick() {
  const QString path = Edit1->text();
  if (invoiceFileMissing(Edit1)) return;
  std::optional<std::string> image;
  if (!path.isEmpty() && !(image = readInvoiceImage(Edit1))) return;
  postAndClose(expenses(), this, [&] {
    if (image) DataModule1->tblExpensesExpenseBlob->setAsString(*image);
  });
}

void TfrmAEExpense::btnCancelClick() { cancelAndClose(expenses(), this); }

void TfrmAEExpense::closeEvent(QCloseEvent* event) {
  // After Save or Cancel the table is in browse state already; the close box cancels.
  cancelPendingEdit(expenses());
  FormBase::closeEvent(event);
}

}  // namespace wf
