// An expression printed on a report band, for example the SUM of a field over the records the
// detail band printed.
#pragma once

#include "reports/expression.h"
#include "reports/report_text_control.h"

namespace wf {

class TRepExpr : public TRepTextControl {
 public:
  using TRepTextControl::TRepTextControl;

  // Compiles Expression against the report's tables and named values, and resets it.
  void prepare(const ExpressionScope& scope) override;
  void unprepare() override { compiled_ = wf::Expression(); }
  QString outputText() const override;

  // True when the detail loop must hand this expression every record it prints.
  bool takesInRecords() const { return compiled_.hasAggregate() && Master.isEmpty(); }
  void takeInRecord() { compiled_.takeInRecord(); }
  ExprValue value() const { return compiled_.value(); }

  QString Expression;
  QString Mask;
  // Name of the band whose records this expression would aggregate; empty in every report.
  QString Master;
  bool ResetAfterPrint = false;

 protected:
  void afterPrint() override;

 private:
  wf::Expression compiled_;
};

}  // namespace wf
