// A field's display text on the current record of a table, printed on a report band.
#pragma once

#include "reports/report_text_control.h"

namespace wf {

class ReportDataSet;
class ReportField;

class TRepDBText : public TRepTextControl {
 public:
  using TRepTextControl::TRepTextControl;

  // Looks the field up by name; a field that is not there prints nothing.
  void prepare(const ExpressionScope& scope) override;
  void unprepare() override { field_ = nullptr; }
  // Empty for a null value, a missing field, or a field that cannot be read.
  QString outputText() const override;

  ReportDataSet* DataSet = nullptr;
  QString DataField;
  QString Mask;

 private:
  ReportField* field_ = nullptr;
};

}  // namespace wf
