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

  TGradPanel* GradPanel1;
  TGradPanel* GradPanel4;
  QLabel* Label1;
  DbEdit* DBEdit4;
  QLabel* Label2;
  DbEdit* DBEdit1;
  QLabel* Label3;
  DbEdit* DBEdit2;
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
