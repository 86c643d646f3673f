// The vehicle list window: all vehicles in the upper grid, and on two tabs the services and the
// expenses of the current vehicle with a button that previews the matching report. Vehicles are
// added, edited and deleted from here through the vehicle dialog.
#pragma once

#include "framework/form_base.h"

class QTabWidget;
class QWidget;

namespace wf {

class DbGrid;
class TGradButton;
class TGradPanel;

class TfrmVehicleDetail : public FormBase {
  Q_OBJECT
 public:
  explicit TfrmVehicleDetail(QWidget* parent = nullptr);

  // Controls, named as in the window's design.
  // Title bar: "Vehicle Service Details".
  TGradPanel* GradPanel1;

  // Content: the vehicles and their bar above the tabs.
  DbGrid* DBGrid1;         // all vehicles; picks the current vehicle, double click edits
  TGradPanel* GradPanel2;  // grey bar below the vehicles
  TGradButton* btnNew;     // new vehicle
  TGradButton* btnEdit;    // edit vehicle
  TGradButton* btnDelete;  // delete vehicle

  // Tabs: "Services" and "Expenses" of the current vehicle.
  QTabWidget* PageControl1;
  QWidget* TabSheet1;            // "Services"
  DbGrid* DBGrid2;               // services of the current vehicle
  TGradPanel* GradPanel4;        // bar below the services
  TGradButton* btnServiceClick;  // "Print...": previews the service report
  QWidget* TabSheet2;            // "Expenses"
  DbGrid* DBGrid4;               // expenses of the current vehicle
  TGradPanel* GradPanel5;        // bar below the expenses
  TGradButton* btnPrintExpense;  // "Print...": previews the expense report

  // Button bar.
  TGradPanel* GradPanel3;
  TGradButton* btnClose;

  void btnNewClick();
  void btnEditClick();
  void DBGrid1DblClick();
  void btnDeleteClick();
  void btnServiceClickClick();
  void btnPrintExpenseClick();
  void btnCloseClick();

 private:
  void buildLayout();
  QWidget* buildTab(DbGrid*& grid, TGradPanel*& bar, TGradButton*& print, int gridKind);
};

}  // namespace wf
