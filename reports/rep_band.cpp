#include "reports/rep_band.h"

#include "reports/report_device.h"

namespace wf {

void TRepBand::print(ReportPrintContext& context, int x, int y) {
  ReportDevice& device = context.device;
  const QRectF area(x, y, Size.Width, Size.Height);
  device.canvas().fillRect(device.toDevice(area), Color);
  for (const auto& control : controls_)
    if (control->Enabled) control->print(context, x, y);
  // One native unit lower, so that the side lines of consecutive bands join.
  device.drawFrame(device.toDevice(area.adjusted(0, 0, 0, 1)), Frame);
}

}  // namespace wf
