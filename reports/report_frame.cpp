#include "reports/report_frame.h"

#include <cmath>

#include "reports/report_page.h"

namespace wf {

int TRepFrame::widthInNativeUnits() const {
  return static_cast<int>(std::lround(Width / 72.0 * kNativeUnitsPerInch));
}

}  // namespace wf
