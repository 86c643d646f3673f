// The part shared by the printable text controls (label, field text, expression): font,
// alignment, sizing, the OnPrint hook, and how the output text is broken into lines and put in
// the control's box. A text never stretches its band and is placed in its own box, never aligned
// to the band's edges.
#pragma once

#include <functional>

#include "reports/report_control.h"

namespace wf {

enum class Alignment { taLeftJustify, taRightJustify, taCenter };

class TRepTextControl;
// Called just before a non-empty text is drawn; may replace the text in Value for this output.
using RepPrintEvent = std::function<void(TRepTextControl* Sender, QString& Value)>;

class TRepTextControl : public TRepControl {
 public:
  using TRepControl::TRepControl;

  void print(ReportPrintContext& context, double ox, double oy) override;

  // The text this control prints for the current record, before OnPrint.
  virtual QString outputText() const = 0;

  wf::Alignment Alignment = wf::Alignment::taLeftJustify;
  bool AutoSize = false;
  bool WordWrap = true;
  bool Transparent = false;
  QColor Color = Qt::white;
  // With ParentFont the report's font and colour are used instead of Font and FontColor.
  bool ParentFont = true;
  QFont Font;
  QColor FontColor = Qt::black;
  RepPrintEvent OnPrint;

 protected:
  // After the text has been drawn (ResetAfterPrint of expressions).
  virtual void afterPrint() {}

 private:
  void adjustToText(int textWidthPx);
};

}  // namespace wf
