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

  TGradPanel* GradPanel1;
  TGradPanel* GradPanel4;
  QLabel* Label1;
  DbEdit* DBEdit4;
  QLabel* Label2;
  TDBDateEdit* DBDateEdit1;
  QLabel* Label4;
  DbEdit* DBEdit2;
  QLabel* Label3;
  QLineEdit* Edit1;
  TGradButton* btnInvoice;
  TGradPanel* GradPanel3;
  TGradButton* btnSave;
  TGradButton* btnCancel;
  OpenPictureDialog OpenPictureDialog1;

  void btnInvoiceClick();
  void btnSaveClick();
  void btnCancelClick();

 protected:
  void formActivate() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildLayout();
  void loadInvoiceFile(const QString& path);
};

}  // namespace wf
