// The screen-compatible surface (96 pixels per inch) on which a report measures text for line
// breaking, so that breaks do not depend on the device the report is drawn on. It measures as
// the page canvases draw, so a line that fits here fits on the screen's page. One per report.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <memory>

#include "reports/report_page.h"

namespace wf {

class QPainterPageCanvas;

class ReportReferenceSurface {
 public:
  static constexpr int kDpi = kScreenDpi;

  ReportReferenceSurface();
  ~ReportReferenceSurface();
  ReportReferenceSurface(const ReportReferenceSurface&) = delete;
  ReportReferenceSurface& operator=(const ReportReferenceSurface&) = delete;

  void setFont(const QFont& font);
  int textWidth(const QString& text) const;
  int textHeight() const;

 private:
  QImage surface_;
  QPainter painter_;
  std::unique_ptr<QPainterPageCanvas> canvas_;
  QFont font_;
  bool fontSet_ = false;
};

}  // namespace wf
