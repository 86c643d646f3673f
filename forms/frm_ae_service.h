// The service dialog: description, date, technician, distance and a note of one service of the
// current vehicle. The service list window puts tblService into insert or edit state, sets the
// caption and shows the dialog modally; Save posts, Cancel (or the close box) cancels.
#pragma once

#include "framework/form_base.h"

class QLabel;

namespace wf {

class DbEdit;
class DbMemo;
class TDBDateEdit;
class TGradButton;
class TGradPanel;

class TfrmAEService : public FormBase {
  Q_OBJECT
 public:
  explicit TfrmAEService(QWidget* parent = nullptr);

  TGradPanel* GradPanel1;
  TGradPanel* GradPanel4;
  QLabel* Label1;
  DbEdit* DBEdit4;
  QLabel* Label2;
  TDBDateEdit* DBDateEdit1;
  QLabel* Label3;
  DbEdit* DBEdit2;
  QLabel* Label5;
  DbEdit* DBEdit1;
  QLabel* Label4;
  DbMemo* DBMemo1;
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
