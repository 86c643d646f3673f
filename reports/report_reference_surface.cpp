#include "reports/report_reference_surface.h"

#include <cmath>

#include "reports/qpainter_page_canvas.h"

namespace wf {

ReportReferenceSurface::ReportReferenceSurface() : surface_(1, 1, QImage::Format_RGB32) {
  const int dotsPerMeter = static_cast<int>(std::lround(kDpi / 0.0254));
  surface_.setDotsPerMeterX(dotsPerMeter);
  surface_.setDotsPerMeterY(dotsPerMeter);
  painter_.begin(&surface_);
  canvas_ = std::make_unique<QPainterPageCanvas>(painter_, kDpi, kDpi, surface_.size());
}

ReportReferenceSurface::~ReportReferenceSurface() {
  canvas_.reset();
  painter_.end();
}

void ReportReferenceSurface::setFont(const QFont& font) {
  if (fontSet_ && font == font_) return;
  font_ = font;
  fontSet_ = true;
  canvas_->setFont(font_);
}

int ReportReferenceSurface::textWidth(const QString& text) const {
  return canvas_->textWidth(text);
}

int ReportReferenceSurface::textHeight() const { return canvas_->textHeight(); }

}  // namespace wf
