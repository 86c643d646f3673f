// The common part of the printable controls that sit on report bands: position and size
// relative to the band, frame, and the operations the engine calls during a generation.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include "reports/report_frame.h"

namespace wf {

class ReportDevice;
class ReportReferenceSurface;
struct ExpressionScope;

// `Size.Values` of a control, native units relative to the band's top-left corner.
struct ControlSize {
  double Height = 0;
  double Left = 0;
  double Top = 0;
  double Width = 0;
};

// What a control prints with: the page's device, the report's 96-dpi measuring surface and the
// report font that text controls use unless they set their own.
struct ReportPrintContext {
  ReportDevice& device;
  ReportReferenceSurface& reference;
  QFont reportFont;
  QColor reportFontColor;
};

class TRepControl {
 public:
  explicit TRepControl(QString name) : Name(std::move(name)) {}
  virtual ~TRepControl() = default;
  TRepControl(const TRepControl&) = delete;
  TRepControl& operator=(const TRepControl&) = delete;

  // Once per generation, before anything is printed.
  virtual void prepare(const ExpressionScope& /*scope*/) {}
  // At the end of a generation: drops what prepare built.
  virtual void unprepare() {}
  // Draws the control with its band's top-left corner at (ox, oy), native units.
  virtual void print(ReportPrintContext& context, double ox, double oy) = 0;

  QString Name;
  ControlSize Size;
  TRepFrame Frame;
  bool Enabled = true;
};

}  // namespace wf
