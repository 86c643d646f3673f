// The windows of this layer, each made once at start-up by the program and reached by its
// instance name. Null before the program creates them and after it destroys them.
#pragma once

namespace wf {

class TfrmVehicleDetail;
class TfrmAEVehicle;

extern TfrmVehicleDetail* frmVehicleDetail;
extern TfrmAEVehicle* frmAEVehicle;

class TfrmServiceDetail;
class TfrmAEService;
class TfrmAEServiceLine;
class TfrmServiceLineDetail;
class TfrmAEServiceInvoice;
class TfrmInvoicePreview;
class TfrmExpenseDetail;
class TfrmAEExpense;

extern TfrmServiceDetail* frmServiceDetail;
extern TfrmAEService* frmAEService;
extern TfrmAEServiceLine* frmAEServiceLine;
extern TfrmServiceLineDetail* frmServiceLineDetail;
extern TfrmAEServiceInvoice* frmAEServiceInvoice;
// The invoice image report holder of the reports layer, which the service line and expense
// windows preview.
extern TfrmInvoicePreview* frmInvoicePreview;
extern TfrmExpenseDetail* frmExpenseDetail;
extern TfrmAEExpense* frmAEExpense;

}  // namespace wf
