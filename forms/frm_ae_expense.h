// The expense dialog: description, date, amount and an optional scanned invoice image of one
// expense of the current vehicle. The expense list window puts tblExpenses into insert or edit
// state, sets the caption and shows the dialog modally; Save stores a chosen image file's bytes
// unchanged and posts, Cancel (or the close box) cancels.
#pragma once

#include "framework/form_base.h"
#include "framework/open_picture_dialog.h"

class QLabel;
class QLineEdit;

namespace wf {

class DbEdit;
class TDBDateEdit;
class TGradButton;
class TGradPanel;

class TfrmAEExpense : public FormBase {
  Q_OBJECT
 public:
  explicit TfrmAEExpense(QWidget* parent = nullptr);

  // Controls, named as in the window's design.
  // Title bar: "Expense Invoice Details".
  TGradPanel* GradPanel1;

  // Content panel: the expense's fields, each under its label.
  TGradPanel* GradPanel4;
  QLabel* Label1;            // "Expense Description"
  DbEdit* DBEdit4;           // ExpenseDescription
  QLabel* Label2;            // "Expense Date"
  TDBDateEdit* DBDateEdit1;  // ExpenseDate, today for a new expense
  QLabel* Label4;            // "Expense Amount"
  DbEdit* DBEdit2;           // ExpenseAmount
  QLabel* Label3;            // "Import Invoice Image (jpeg)"
  QLineEdit* Edit1;          // path of the invoice image file to import (read-only)
  TGradButton* btnInvoice;   // "...": picks that file

  // Button bar.
  TGradPanel* GradPanel3;
  TGradButton* btnSave;
  TGradButton* btnCancel;

  // The file dialog of btnInvoice (JPEG files).
  OpenPictureDialog OpenPictureDialog1;

  void btnInvoiceClick();
  void btnSaveClick();
  void btnCancelClick();

 protected:
  void formActivate() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildLayout();
};

}  // namespace wf
