#include "app/app_instances.h"

#include "app/frm_closing.h"
#include "app/frm_main.h"
#include "controls/grad_button.h"
#include "forms/form_instances.h"
#include "forms/frm_ae_vehicle.h"
#include "forms/frm_vehicle_detail.h"
#include "store/data_module.h"

#include <QCoreApplication>
#include <QDir>

namespace wf {

struct AppInstances::Owned {
  std::unique_ptr<TDataModule1> dataModule;
  std::unique_ptr<TfrmMain> main;
  std::unique_ptr<TfrmClosing> closing;
  std::unique_ptr<TfrmVehicleDetail> vehicleDetail;
  std::unique_ptr<TfrmAEVehicle> aeVehicle;
};

namespace {

void setClosedFlag(ClosedFlag flag) {
  if (frmMain == nullptr) return;
  switch (flag) {
    case ClosedFlag::Vehicle: frmMain->VehicleClosed = true; break;
    case ClosedFlag::Service: frmMain->ServiceClosed = true; break;
    case ClosedFlag::ServiceLine: frmMain->ServiceLineClosed = true; break;
    case ClosedFlag::ServiceInvoice: frmMain->ServiceInvoiceClosed = true; break;
    case ClosedFlag::Expenses: frmMain->ExpensesClosed = true; break;
  }
}

}  // namespace

AppInstances::AppInstances(const std::string& appFolder) : owned_(std::make_unique<Owned>()) {
  owned_->dataModule = std::make_unique<TDataModule1>();
  DataModule1 = owned_->dataModule.get();
  DataModule1->closedFlagHook = setClosedFlag;

  owned_->main = std::make_unique<TfrmMain>(appFolder);
  frmMain = owned_->main.get();
  owned_->closing = std::make_unique<TfrmClosing>(frmMain);
  frmClosing = owned_->closing.get();
  owned_->vehicleDetail = std::make_unique<TfrmVehicleDetail>(frmMain);
  frmVehicleDetail = owned_->vehicleDetail.get();
  owned_->aeVehicle = std::make_unique<TfrmAEVehicle>(frmMain);
  frmAEVehicle = owned_->aeVehicle.get();

  // The service and expense windows are not part of the program yet.
  frmMain->setNavigationEnabled(false, false);
  frmVehicleDetail->btnServiceClick->setEnabled(false);
  frmVehicleDetail->btnPrintExpense->setEnabled(false);
}

AppInstances::~AppInstances() {
  // The last created first; the data module last. Tables still open close without their
  // after-close handlers.
  owned_->aeVehicle.reset();
  frmAEVehicle = nullptr;
  owned_->vehicleDetail.reset();
  frmVehicleDetail = nullptr;
  owned_->closing.reset();
  frmClosing = nullptr;
  owned_->main.reset();
  frmMain = nullptr;
  DataModule1->closedFlagHook = nullptr;
  owned_->dataModule.reset();
  DataModule1 = nullptr;
}

std::string programFolder() {
  return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString() + "/";
}

}  // namespace wf
