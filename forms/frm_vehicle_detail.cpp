#include "forms/frm_vehicle_detail.h"

#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "forms/form_instances.h"
#include "forms/frm_ae_vehicle.h"
#include "forms/glyphs.h"
#include "forms/report_launches.h"
#include "forms/window_parts.h"
#include "framework/db_grid.h"
#include "framework/font_setup.h"
#include "framework/message_box.h"
#include "framework/showing_errors.h"
#include "framework/tab_chain.h"
#include "store/data_module.h"

#include <QTabBar>
#include <QTabWidget>

namespace wf {

namespace {

constexpr int kClientWidth = 752;
constexpr int kClientHeight = 526;

std::vector<GridColumn> serviceColumns() {
  return {
      {"ServiceNumber", "Service Number", 106, kCellCentre, kCellCentre, QColor()},
      {"ServiceDescription", "Service Description", 262, kCellLeft, kCellLeft, kShadedColumn},
      {"ServiceDate", "Service Date", 106, kCellCentre, kCellCentre, QColor()},
      {"ServiceTechName", "Technician Name", 123, kCellLeft, kCellLeft, kShadedColumn},
      {"ServiceDistance", "Service Distance", 108, kCellLeft, kCellLeft, QColor()},
  };
}

std::vector<GridColumn> expenseColumns() {
  return {
      {"ExpenseNumber", "Expense Number", 106, kCellCentre, kCellCentre, QColor()},
      {"ExpenseDescription", "Expense Description", 302, kCellLeft, kCellLeft, kShadedColumn},
      {"ExpenseDate", "Expense Date", 106, kCellCentre, kCellCentre, QColor()},
      // Money keeps the field's own (right) alignment.
      {"ExpenseAmount", "Expense Amount", 108, std::nullopt, kCellLeft, kShadedColumn},
      {"ExpenseInvAvailable", "Inv Available", 83, kCellCentre, kCellCentre, QColor()},
  };
}

QColor windowText() { return QColor(0, 0, 0); }

}  // namespace

TfrmVehicleDetail::TfrmVehicleDetail(QWidget* parent) : FormBase(parent) {
  setObjectName("frmVehicleDetail");
  setWindowTitle("Vehicle Detail");
  setFont(msSansSerif(11));
  setFixedDialogBorder(kClientWidth, kClientHeight);
  buildLayout();
}

void TfrmVehicleDetail::buildLayout() {
  GradPanel1 = makePanel(this, PanelPreset::TitleBar, QRect(0, 0, kClientWidth, 45),
                         "Vehicle Service Details");
  GradPanel3 = makePanel(this, PanelPreset::ButtonBar, QRect(0, 481, kClientWidth, 45));
  btnClose = makeButton(GradPanel3, "Close", QString(), QRect(659, 10, 75, 25), kGreenButton, 5,
                        glyph(Glyph::Close));

  DBGrid1 = makeGrid(this, &DataModule1->datVehicle, vehicleListColumns(),
                     QRect(0, 45, kClientWidth, 148), windowText());
  DBGrid1->OnDblClick = [this] { DBGrid1DblClick(); };

  GradPanel2 = makePanel(this, PanelPreset::GreyBar, QRect(0, 193, kClientWidth, 45), "Services");
  GradPanel2->setShowCaption(false);
  btnNew = makeButton(GradPanel2, "New", "New Vehicle", QRect(19, 10, 75, 25), kGreyButton, 5,
                      glyph(Glyph::New));
  btnEdit = makeButton(GradPanel2, "Edit", "Edit Vehicle", QRect(107, 10, 75, 25), kGreyButton, 5,
                       glyph(Glyph::Edit));
  btnDelete = makeButton(GradPanel2, "Delete", "Delete Vehicle", QRect(195, 10, 75, 25),
                         kGreyButton, 5, glyph(Glyph::Delete));

  PageControl1 = makePageControl(this, QRect(0, 238, kClientWidth, 243));
  TabSheet1 = buildTab(DBGrid2, GradPanel4, btnServiceClick, 0);
  TabSheet2 = buildTab(DBGrid4, GradPanel5, btnPrintExpense, 1);
  PageControl1->addTab(TabSheet1, glyphIcon(Glyph::ServiceTab), "Services");
  PageControl1->addTab(TabSheet2, glyphIcon(Glyph::ExpenseTab), "Expenses");
  PageControl1->setCurrentIndex(0);

  // Title bar, button bar, vehicle grid, grey bar (New, Edit, Delete), page control; each tab
  // its grid, then its bar.
  setTabChain({btnClose, DBGrid1, btnNew, btnEdit, btnDelete, PageControl1->tabBar(), DBGrid2,
               btnServiceClick, DBGrid4, btnPrintExpense});

  connect(btnNew, &TGradButton::clicked, this, &TfrmVehicleDetail::btnNewClick);
  connect(btnEdit, &TGradButton::clicked, this, &TfrmVehicleDetail::btnEditClick);
  connect(btnDelete, &TGradButton::clicked, this, &TfrmVehicleDetail::btnDeleteClick);
  connect(btnServiceClick, &TGradButton::clicked, this, &TfrmVehicleDetail::btnServiceClickClick);
  connect(btnPrintExpense, &TGradButton::clicked, this, &TfrmVehicleDetail::btnPrintExpenseClick);
  connect(btnClose, &TGradButton::clicked, this, &TfrmVehicleDetail::btnCloseClick);
}

QWidget* TfrmVehicleDetail::buildTab(DbGrid*& grid, TGradPanel*& bar, TGradButton*& print,
                                     int gridKind) {
  auto* sheet = new QWidget;
  const bool services = gridKind == 0;
  grid = makeGrid(sheet, services ? &DataModule1->datService : &DataModule1->datExpenses,
                  services ? serviceColumns() : expenseColumns(),
                  QRect(0, 0, kTabPageWidth, kTabPageGridHeight), windowText());
  bar = makePanel(sheet, PanelPreset::GreyBar, QRect(0, kTabPageGridHeight, kTabPageWidth, 45),
                  "Expenses");
  bar->setShowCaption(false);
  print = makeButton(bar, "Print...",
                     services ? "Print Preview Service Details" : "Print Preview Expense Details",
                     QRect(19, 10, 75, 25), kGreyButton, 5, glyph(Glyph::Print));
  fillTabSheet(sheet, grid, bar);
  return sheet;
}

void TfrmVehicleDetail::btnNewClick() {
  runEditDialog(DataModule1->tblVehicle, EditStart::Insert, frmAEVehicle, "Add New Vehicle");
}

void TfrmVehicleDetail::btnEditClick() {
  if (DataModule1->tblVehicle.isEmpty()) return;
  runEditDialog(DataModule1->tblVehicle, EditStart::Edit, frmAEVehicle, "Edit Vehicle");
}

void TfrmVehicleDetail::DBGrid1DblClick() { btnEditClick(); }

void TfrmVehicleDetail::btnDeleteClick() {
  TClientTable& vehicles = DataModule1->tblVehicle;
  if (vehicles.isEmpty()) return;
  if (!DataModule1->tblService.isEmpty() || !DataModule1->tblExpenses.isEmpty()) {
    showInformation("Delete all services and expenses first before continuing.");
    return;
  }
  confirmAndDelete(vehicles, "Delete selected vehicle?");
}

void TfrmVehicleDetail::btnServiceClickClick() {
  if (DataModule1->tblService.isEmpty() || reportLaunches == nullptr) return;
  runShowingErrors([&] { reportLaunches->LaunchServiceReport(); });
}

void TfrmVehicleDetail::btnPrintExpenseClick() {
  if (DataModule1->tblExpenses.isEmpty() || reportLaunches == nullptr) return;
  runShowingErrors([&] { reportLaunches->LaunchExpenseReport(); });
}

void TfrmVehicleDetail::btnCloseClick() { closeForm(); }

}  // namespace wf
