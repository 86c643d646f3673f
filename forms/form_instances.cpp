#include "forms/form_instances.h"

#include "forms/report_launches.h"

namespace wf {

TfrmVehicleDetail* frmVehicleDetail = nullptr;
TfrmAEVehicle* frmAEVehicle = nullptr;
TReportLaunches* reportLaunches = nullptr;

}  // namespace wf
