#include "forms/form_instances.h"

#include "forms/report_launches.h"

namespace wf {

TfrmVehicleDetail* frmVehicleDetail = nullptr;
TfrmAEVehicle* frmAEVehicle = nullptr;
TReportLaunches* reportLaunches = nullptr;
TfrmServiceDetail* frmServiceDetail = nullptr;
TfrmAEService* frmAEService = nullptr;
TfrmAEServiceLine* frmAEServiceLine = nullptr;
TfrmServiceLineDetail* frmServiceLineDetail = nullptr;
TfrmAEServiceInvoice* frmAEServiceInvoice = nullptr;
TfrmInvoicePreview* frmInvoicePreview = nullptr;
TfrmExpenseDetail* frmExpenseDetail = nullptr;
TfrmAEExpense* frmAEExpense = nullptr;

}  // namespace wf
