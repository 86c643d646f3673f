#include "reports/qpainter_page_canvas.h"

#include <QPaintDevice>
#include <QPainter>

#include "reports/page_font.h"

namespace wf {

QPainterPageCanvas::QPainterPageCanvas(QPainter& painter, int dpiX, int dpiY, QSize pageSize)
    : painter_(painter), dpiX_(dpiX), dpiY_(dpiY), pageSize_(pageSize) {
  painter_.save();
  setFont(QFont());
}

QPainterPageCanvas::QPainterPageCanvas(QPainter& painter)
    : QPainterPageCanvas(painter, painter.device()->logicalDpiX(), painter.device()->logicalDpiY(),
                         QSize(painter.device()->width(), painter.device()->height())) {}

QPainterPageCanvas::~QPainterPageCanvas() {
  if (clipped_) painter_.restore();
  painter_.restore();
}

void QPainterPageCanvas::setFont(const QFont& font) {
  font_ = PageFont::fromQFont(font, dpiY_).toQFont();
}

int QPainterPageCanvas::textWidth(const QString& text) const {
  return layoutText(font_, text).width;
}

int QPainterPageCanvas::textHeight() const { return fontTextHeight(font_); }

void QPainterPageCanvas::fillRect(const QRect& rect, const QColor& color) {
  if (drawsNothing(color) || rect.isEmpty()) return;
  painter_.fillRect(rect, QColor(color.rgb()));
}

void QPainterPageCanvas::drawText(int x, int y, TextAnchor anchor, const QString& text,
                                  const QColor& color) {
  if (text.isEmpty() || drawsNothing(color)) return;
  const TextRun run = layoutText(font_, text);
  int left = x;
  if (anchor == TextAnchor::Center) left = x - run.width / 2;
  if (anchor == TextAnchor::Right) left = x - run.width;
  painter_.setFont(font_);
  painter_.setPen(QColor(color.rgb()));
  paintTextRun(painter_, left, y + run.ascent, text, run.advances);
}

void QPainterPageCanvas::drawPicture(const QRect& target, const QImage& picture) {
  if (picture.isNull() || target.isEmpty()) return;
  // A recorded page keeps 24-bit colour; flatten the same way here so both look alike.
  const QImage flat = picture.convertToFormat(QImage::Format_RGB888);
  const bool smooth = painter_.testRenderHint(QPainter::SmoothPixmapTransform);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
  painter_.drawImage(target, flat);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

void QPainterPageCanvas::setClipRect(const QRect& rect) {
  if (clipped_) painter_.restore();
  painter_.save();
  painter_.setClipRect(rect, Qt::IntersectClip);
  clipped_ = true;
}

void QPainterPageCanvas::clearClip() {
  if (!clipped_) return;
  painter_.restore();
  clipped_ = false;
}

}  // namespace wf
