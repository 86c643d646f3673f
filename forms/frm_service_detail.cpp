#include "forms/frm_service_detail.h"

#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "forms/form_instances.h"
#include "forms/frm_ae_service.h"
#include "forms/frm_service_line_detail.h"
#include "forms/glyphs.h"
#include "forms/report_launches.h"
#include "forms/window_parts.h"
#include "framework/db_grid.h"
#include "framework/font_setup.h"
#include "framework/message_box.h"
#include "framework/wf_application.h"
#include "store/data_module.h"

namespace wf {

namespace {

constexpr int kClientWidth = 752;
constexpr int kClientHeight = 526;

std::vector<GridColumn> serviceColumns() {
  return {
      {"ServiceNumber", "Service Number", 106, kCellCentre, kCellCentre, QColor()},
      {"ServiceDescription", "Service Description", 262, kCellLeft, kCellLeft, kShadedColumn},
      {"ServiceDate", "Service Date", 109, kCellCentre, kCellCentre, QColor()},
      {"ServiceTechName", "Technician Name", 124, kCellLeft, kCellLeft, kShadedColumn},
      {"ServiceDistance", "Service Distance", 112, kCellLeft, kCellLeft, QColor()},
  };
}

TClientTable& services() { return DataModule1->tblService; }

}  // namespace

TfrmServiceDetail::TfrmServiceDetail(QWidget* parent) : FormBase(parent) {
  setObjectName("frmServiceDetail");
  setWindowTitle("Service Detail");
  setFont(msSansSerif(11));
  setFixedDialogBorder(kClientWidth, kClientHeight);
  buildLayout();
}

void TfrmServiceDetail::buildLayout() {
  const QColor windowText(0, 0, 0);
  GradPanel1 = makePanel(this, PanelPreset::TitleBar, QRect(0, 0, kClientWidth, 45),
                         "Service Details");
  GradPanel3 = makePanel(this, PanelPreset::ButtonBar, QRect(0, 481, kClientWidth, 45));
  btnClose = makeButton(GradPanel3, "Close", QString(), QRect(659, 10, 75, 25), kGreenButton, 5,
                        glyph(Glyph::Close));

  DBGrid1 = makeGrid(this, &DataModule1->datVehicle, vehicleListColumns(),
                     QRect(0, 45, kClientWidth, 148), windowText);

  GradPanel2 = makePanel(this, PanelPreset::GreyBar, QRect(0, 193, kClientWidth, 45), "Services");
  GradPanel2->setShowCaption(false);
  btnPrintService = makeButton(GradPanel2, "Print...", "Print Preview Service Details",
                               QRect(19, 10, 75, 25), kGreyButton, 5, glyph(Glyph::Print));

  DBGrid2 = makeGrid(this, &DataModule1->datService, serviceColumns(),
                     QRect(0, 238, kClientWidth, 198), windowText);
  DBGrid2->OnDblClick = [this] { btnEditServiceClick(); };

  GradPanel4 = makePanel(this, PanelPreset::GreyBar, QRect(0, 436, kClientWidth, 45), "Expenses");
  GradPanel4->setShowCaption(false);
  btnDeleteService = makeButton(GradPanel4, "Delete", "Delete Service", QRect(195, 10, 75, 25),
                                kGreyButton, 5, glyph(Glyph::Delete));
  btnNewService = makeButton(GradPanel4, "New", "New Service", QRect(19, 10, 75, 25), kGreyButton,
                             5, glyph(Glyph::New));
  btnEditService = makeButton(GradPanel4, "Edit", "Edit Service", QRect(107, 10, 75, 25),
                              kGreyButton, 5, glyph(Glyph::Edit));
  btnServiceLineDetail =
      makeButton(GradPanel4, "View Service Line Detail", "View Service Line Details",
                 QRect(584, 10, 150, 25), kGreyButton, 5, glyph(Glyph::ServiceTab));

  // Title bar, button bar, vehicle grid, upper grey bar, service grid, lower grey bar (Delete,
  // New, Edit, View Service Line Detail).
  setTabOrder(GradPanel1, GradPanel3);
  setTabOrder(btnClose, DBGrid1);
  setTabOrder(DBGrid1, btnPrintService);
  setTabOrder(btnPrintService, DBGrid2);
  setTabOrder(DBGrid2, btnDeleteService);
  setTabOrder(btnDeleteService, btnNewService);
  setTabOrder(btnNewService, btnEditService);
  setTabOrder(btnEditService, btnServiceLineDetail);

  connect(btnNewService, &TGradButton::clicked, this, &TfrmServiceDetail::btnNewServiceClick);
  connect(btnEditService, &TGradButton::clicked, this, &TfrmServiceDetail::btnEditServiceClick);
  connect(btnDeleteService, &TGradButton::clicked, this,
          &TfrmServiceDetail::btnDeleteServiceClick);
  connect(btnPrintService, &TGradButton::clicked, this, &TfrmServiceDetail::btnPrintServiceClick);
  connect(btnServiceLineDetail, &TGradButton::clicked, this,
          [this] { runGuarded([this] { btnServiceLineDetailClick(); }); });
  connect(btnClose, &TGradButton::clicked, this, &TfrmServiceDetail::btnCloseClick);
}

void TfrmServiceDetail::btnNewServiceClick() {
  if (DataModule1->tblVehicle.isEmpty()) return;
  runEditDialog(services(), EditStart::Insert, frmAEService, "Add New Service", this);
}

void TfrmServiceDetail::btnEditServiceClick() {
  if (services().isEmpty()) return;
  runEditDialog(services(), EditStart::Edit, frmAEService, "Edit Service", this);
}

void TfrmServiceDetail::btnDeleteServiceClick() {
  if (services().isEmpty()) return;
  if (!DataModule1->tblServiceLine.isEmpty() || !DataModule1->tblServiceInvoice.isEmpty()) {
    showInformation("Delete all service lines and service invoices first before continuing.");
    return;
  }
  if (!confirm("Delete selected service?")) return;
  try {
    services().deleteRecord();
  } catch (const std::exception& failure) {
    showError(failure);
  }
}

void TfrmServiceDetail::btnPrintServiceClick() {
  if (services().isEmpty() || reportLaunches == nullptr) return;
  try {
    reportLaunches->LaunchServiceReport();
  } catch (const std::exception& failure) {
    showError(failure);
  }
}

void TfrmServiceDetail::btnServiceLineDetailClick() {
  // Failures are left to the framework's default error box (the button's slot guards it).
  if (services().isEmpty()) return;
  frmServiceLineDetail->centreOver(this);
  frmServiceLineDetail->showModal();
}

void TfrmServiceDetail::btnCloseClick() { closeForm(); }

}  // namespace wf
