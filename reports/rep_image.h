// A picture on a report band: stretched over its box, or drawn at its natural size (one picture
// pixel per screen pixel), optionally centred, and clipped to the box.
#pragma once

#include <QImage>

#include "reports/report_control.h"

namespace wf {

class TRepImage : public TRepControl {
 public:
  using TRepControl::TRepControl;

  void print(ReportPrintContext& context, double ox, double oy) override;

  // A null image draws nothing. The control keeps the last picture put into it.
  QImage Picture;
  bool Center = false;
  bool Stretch = false;
  bool AutoSize = false;
};

}  // namespace wf
