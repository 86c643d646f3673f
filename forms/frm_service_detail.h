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

  // Controls, named as in the window's design (most come from the shared VehicleListFrame).
  // Title bar: "Service Details".
  TGradPanel* GradPanel1;

  // Content: the vehicles, the report bar, the current vehicle's services and their bar.
  DbGrid* DBGrid1;               // all vehicles; picks the current vehicle
  TGradPanel* GradPanel2;        // grey bar above the services
  TGradButton* btnPrintService;  // "Print...": previews the vehicle's service report
  DbGrid* DBGrid2;               // services of the current vehicle; double click edits
  TGradPanel* GradPanel4;        // grey bar below the services
  TGradButton* btnNewService;
  TGradButton* btnEditService;
  TGradButton* btnDeleteService;
  TGradButton* btnServiceLineDetail;  // opens the service line window

  // Button bar.
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
