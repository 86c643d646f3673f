#include "forms/frm_service_detail.h"

#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "forms/form_instances.h"
#include "forms/frm_ae_service.h"
#include "forms/frm_service_line_detail.h"
#include "forms/glyphs.h"
#include "forms/report_launches.h"
#include "forms/vehicle_list_frame.h"
#include "forms/window_parts.h"
#include "framework/db_grid.h"
#include "framework/font_setup.h"
#include "framework/message_box.h"
#include "framework/showing_errors.h"
#include "framework/tab_chain.h"
#include "framework/wf_application.h"
#include "store/data_module.h"

namespace wf {

namespace {

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
  setFixedDialogBorder(kVehicleListWidth, kVehicleListHeight);
  buildLayout();
}

void TfrmServiceDetail::buildLayout() {
  const VehicleListFrame frame =
      buildVehicleListFrame(this, "Service Details", "Service", "Print Preview Service Details",
                            &DataModule1->datService, serviceColumns());
  GradPanel1 = frame.titleBar;
  GradPanel3 = frame.closeBar;
  btnClose = frame.closeButton;
  DBGrid1 = frame.vehicleGrid;
  GradPanel2 = frame.upperBar;
  btnPrintService = frame.printButton;
  DBGrid2 = frame.recordGrid;
  DBGrid2->OnDblClick = [this] { btnEditServiceClick(); };
  GradPanel4 = frame.lowerBar;
  btnDeleteService = frame.deleteButton;
  btnNewService = frame.newButton;
  btnEditService = frame.editButton;
  btnServiceLineDetail =
      makeButton(GradPanel4, "View Service Line Detail", "View Service Line Details",
                 QRect(584, 10, 150, 25), kGreyButton, 5, glyph(Glyph::ServiceTab));
  setTabChain({btnEditService, btnServiceLineDetail});

  connect(btnNewService, &TGradButton::clicked, this, &TfrmServiceDetail::btnNewServiceClick);
  connect(btnEditService, &TGradButton::clicked, this, &TfrmServiceDetail::btnEditServiceClick);
  connect(btnDeleteService, &TGradButton::clicked, this, &TfrmServiceDetail::btnDeleteServiceClick);
  connect(btnPrintService, &TGradButton::clicked, this, &TfrmServiceDetail::btnPrintServiceClick);
  connect(btnServiceLineDetail, &TGradButton::clicked, this,
          [this] { runGuarded([this] { btnServiceLineDetailClick(); }); });
  connect(btnClose, &TGradButton::clicked, this, &TfrmServiceDetail::btnCloseClick);
}

void TfrmServiceDetail::btnNewServiceClick() {
  if (DataModule1->tblVehicle.isEmpty()) return;
  runEditDialog(services(), EditStart::Insert, frmAEService, "Add New Service");
}

void TfrmServiceDetail::btnEditServiceClick() {
  if (services().isEmpty()) return;
  runEditDialog(services(), EditStart::Edit, frmAEService, "Edit Service");
}

void TfrmServiceDetail::btnDeleteServiceClick() {
  if (services().isEmpty()) return;
  if (!DataModule1->tblServiceLine.isEmpty() || !DataModule1->tblServiceInvoice.isEmpty()) {
    showInformation("Delete all service lines and service invoices first before continuing.");
    return;
  }
  confirmAndDelete(services(), "Delete selected service?");
}

void TfrmServiceDetail::btnPrintServiceClick() {
  if (services().isEmpty() || reportLaunches == nullptr) return;
  runShowingErrors([&] { reportLaunches->LaunchServiceReport(); });
}

void TfrmServiceDetail::btnServiceLineDetailClick() {
  // Failures are left to the framework's default error box (the button's slot guards it).
  if (services().isEmpty()) return;
  frmServiceLineDetail->centreOverMainForm();
  frmServiceLineDetail->showModal();
}

void TfrmServiceDetail::btnCloseClick() { closeForm(); }

}  // namespace wf
