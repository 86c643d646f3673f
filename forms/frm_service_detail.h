// The service list window: all vehicles in the upper grid and the services of the current
// vehicle below. Services are added, edited and deleted here through the service dialog and
// printed through the service report; the lines and invoices of a service are reached from here.
#pragma once

#include "framework/form_base.h"

namespace wf {

class DbGrid;
class TGradButton;
class TGradPanel;

class TfrmServiceDetail : public FormBase {
  Q_OBJECT
 public:
  explicit TfrmServiceDetail(QWidget* parent = nullptr);

  TGradPanel* GradPanel1;
  DbGrid* DBGrid1;
  TGradPanel* GradPanel2;
  TGradButton* btnPrintService;
  DbGrid* DBGrid2;
  TGradPanel* GradPanel4;
  TGradButton* btnNewService;
  TGradButton* btnEditService;
  TGradButton* btnDeleteService;
  TGradButton* btnServiceLineDetail;
  TGradPanel* GradPanel3;
  TGradButton* btnClose;

  void btnNewServiceClick();
  void btnEditServiceClick();
  void btnDeleteServiceClick();
  void btnPrintServiceClick();
  void btnServiceLineDetailClick();
  void btnCloseClick();

 private:
  void buildLayout();
};

}  // namespace wf
