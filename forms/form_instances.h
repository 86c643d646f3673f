// The windows of this layer, each made once at start-up by the program and reached by its
// instance name. Null before the program creates them and after it destroys them.
#pragma once

namespace wf {

class TfrmVehicleDetail;
class TfrmAEVehicle;

extern TfrmVehicleDetail* frmVehicleDetail;
extern TfrmAEVehicle* frmAEVehicle;

}  // namespace wf
