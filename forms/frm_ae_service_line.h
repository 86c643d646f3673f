// The service line dialog: product, quantity and amount of one line of the current service. The
// service line window puts tblServiceLine into insert or edit state, sets the caption and shows
// the dialog modally; Save posts, Cancel (or the close box) cancels. The table computes the
// line total.
#pragma once

#include "framework/form_base.h"

class QLabel;

namespace wf {

class DbEdit;
class TGradButton;
class TGradPanel;

class TfrmAEServiceLine : public FormBase {
  Q_OBJECT
 public:
  explicit TfrmAEServiceLine(QWidget* parent = nullptr);

  // Controls, named as in the window's design.
  // Title bar: "Service Line Details".
  TGradPanel* GradPanel1;

  // Content panel: the line's fields, each under its label.
  TGradPanel* GradPanel4;
  QLabel* Label1;   // "Line Product"
  DbEdit* DBEdit4;  // ServiceLineProduct
  QLabel* Label2;   // "Line Quantity"
  DbEdit* DBEdit1;  // ServiceLineQuantity, 1 for a new line
  QLabel* Label3;   // "Line Amount"
  DbEdit* DBEdit2;  // ServiceLineAmount

  // Button bar.
  TGradPanel* GradPanel3;
  TGradButton* btnSave;
  TGradButton* btnCancel;

  void btnSaveClick();
  void btnCancelClick();

 protected:
  void formActivate() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildLayout();
};

}  // namespace wf
