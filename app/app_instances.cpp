#include "app/app_instances.h"

#include "app/frm_closing.h"
#include "app/frm_main.h"
#include "forms/form_instances.h"
#include "forms/frm_ae_expense.h"
#include "forms/frm_ae_service.h"
#include "forms/frm_ae_service_invoice.h"
#include "forms/frm_ae_service_line.h"
#include "forms/frm_ae_vehicle.h"
#include "forms/frm_expense_detail.h"
#include "forms/frm_service_detail.h"
#include "forms/frm_service_line_detail.h"
#include "forms/frm_vehicle_detail.h"
#include "forms/report_launches.h"
#include "reports/frm_expense_detail_rep.h"
#include "reports/frm_invoice_preview.h"
#include "reports/frm_service_detail_rep.h"
#include "reports/frm_service_line_detail_rep.h"
#include "store/data_module.h"

#include <QCoreApplication>
#include <QDir>

#include <functional>
#include <vector>

namespace wf {

struct AppInstances::Owned {
  std::unique_ptr<TDataModule1> dataModule;
  // Windows in creation order, each with the step that clears its instance name.
  std::vector<std::pair<std::unique_ptr<QWidget>, std::function<void()>>> windows;

  // Makes a window, publishes it under its instance name and keeps it.
  template <class Window, class... Args>
  Window* create(Window*& instance, Args&&... args) {
    auto window = std::make_unique<Window>(std::forward<Args>(args)...);
    instance = window.get();
    windows.emplace_back(std::move(window), [&instance] { instance = nullptr; });
    return instance;
  }
};

namespace {

void setClosedFlag(ClosedFlag flag) {
  if (frmMain != nullptr) frmMain->closedFlag(flag) = true;
}

}  // namespace

AppInstances::AppInstances(const std::string& appFolder) : owned_(std::make_unique<Owned>()) {
  owned_->dataModule = std::make_unique<TDataModule1>();
  DataModule1 = owned_->dataModule.get();
  DataModule1->closedFlagHook = setClosedFlag;

  // The fixed creation order; the main window first, which opens the tables.
  Owned& owned = *owned_;
  TfrmMain* main = owned.create(frmMain, appFolder);
  FormBase::setMainForm(main);
  reportLaunches = main;
  owned.create(frmClosing, main);
  owned.create(frmVehicleDetail, main);
  owned.create(frmAEVehicle, main);
  owned.create(frmServiceDetail, main);
  owned.create(frmAEService, main);
  owned.create(frmAEServiceLine, main);
  owned.create(frmServiceLineDetail, main);
  owned.create(frmAEServiceInvoice, main);
  owned.create(frmInvoicePreview);
  owned.create(frmExpenseDetail, main);
  owned.create(frmAEExpense, main);
  owned.create(frmServiceDetailRep, *DataModule1);
  owned.create(frmExpenseDetailRep, *DataModule1);
  owned.create(frmServiceLineDetailRep, *DataModule1);
}

AppInstances::~AppInstances() {
  reportLaunches = nullptr;
  FormBase::setMainForm(nullptr);
  // The last created first; the data module last. Tables still open close without their
  // after-close handlers.
  while (!owned_->windows.empty()) {
    owned_->windows.back().first.reset();
    owned_->windows.back().second();
    owned_->windows.pop_back();
  }
  DataModule1->closedFlagHook = nullptr;
  owned_->dataModule.reset();
  DataModule1 = nullptr;
}

std::string programFolder() {
  return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString() + "/";
}

}  // namespace wf
