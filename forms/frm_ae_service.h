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

  // Controls, named as in the window's design.
  // Title bar: "Service Details".
  TGradPanel* GradPanel1;

  // Content panel: the service's fields, each under its label.
  TGradPanel* GradPanel4;
  QLabel* Label1;            // "Service Description"
  DbEdit* DBEdit4;           // ServiceDescription
  QLabel* Label2;            // "Service Date"
  TDBDateEdit* DBDateEdit1;  // ServiceDate, today for a new service
  QLabel* Label3;            // "Technician Name"
  DbEdit* DBEdit2;           // ServiceTechName
  QLabel* Label5;            // "Service Distance"
  DbEdit* DBEdit1;           // ServiceDistance
  QLabel* Label4;            // "Service Note"
  DbMemo* DBMemo1;           // ServiceNote

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
