// The screen-compatible surface (96 pixels per inch) on which a report measures text for line
// breaking, so that breaks do not depend on the device the report is drawn on. One per report.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QString>
#include <optional>

namespace wf {

class ReportReferenceSurface {
 public:
  static constexpr int kDpi = 96;

  ReportReferenceSurface();

  void setFont(const QFont& font);
  int textWidth(const QString& text) const;
  int textHeight() const;

 private:
  QImage surface_;
  QFont font_;
  std::optional<QFontMetrics> metrics_;
};

}  // namespace wf
