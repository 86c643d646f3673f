#include "reports/report_reference_surface.h"

#include <cmath>

namespace wf {

ReportReferenceSurface::ReportReferenceSurface() : surface_(1, 1, QImage::Format_RGB32) {
  const int dotsPerMeter = static_cast<int>(std::lround(kDpi / 0.0254));
  surface_.setDotsPerMeterX(dotsPerMeter);
  surface_.setDotsPerMeterY(dotsPerMeter);
  setFont(QFont());
}

void ReportReferenceSurface::setFont(const QFont& font) {
  if (metrics_ && font == font_) return;
  font_ = font;
  metrics_.emplace(font_, &surface_);
}

int ReportReferenceSurface::textWidth(const QString& text) const {
  return metrics_->horizontalAdvance(text);
}

int ReportReferenceSurface::textHeight() const { return metrics_->height(); }

}  // namespace wf
