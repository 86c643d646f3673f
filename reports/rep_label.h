// A static text on a report band.
#pragma once

#include "reports/report_text_control.h"

namespace wf {

class TRepLabel : public TRepTextControl {
 public:
  using TRepTextControl::TRepTextControl;
  QString outputText() const override { return Caption; }

  QString Caption;
};

}  // namespace wf
