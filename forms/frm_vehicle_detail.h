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

  TGradPanel* GradPanel1;
  DbGrid* DBGrid1;
  TGradPanel* GradPanel2;
  TGradButton* btnNew;
  TGradButton* btnEdit;
  TGradButton* btnDelete;
  QTabWidget* PageControl1;
  QWidget* TabSheet1;
  DbGrid* DBGrid2;
  TGradPanel* GradPanel4;
  TGradButton* btnServiceClick;
  QWidget* TabSheet2;
  DbGrid* DBGrid4;
  TGradPanel* GradPanel5;
  TGradButton* btnPrintExpense;
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
