#include "reports/rep_preview.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

#include "reports/emf_player.h"
#include "reports/report_page.h"

namespace wf {

TRepPreview::TRepPreview(QWidget* parent) : QAbstractScrollArea(parent) {
  viewport()->setBackgroundRole(QPalette::Window);
  viewport()->setAutoFillBackground(true);
  // The page follows the scroll bars while they are dragged.
  horizontalScrollBar()->setTracking(true);
  verticalScrollBar()->setTracking(true);
  layoutImage();
}

void TRepPreview::setPaperSize(const QSizeF& native) {
  if (native == paper_ || native.width() <= 0 || native.height() <= 0) return;
  paper_ = native;
  cache_ = QPixmap();
  layoutImage();
}

QSize TRepPreview::pagePixels() const {
  return QSize(int(std::lround(paper_.width() * kScreenFactor)),
               int(std::lround(paper_.height() * kScreenFactor)));
}

void TRepPreview::setZoom(int percent, ZoomMode mode) {
  if (percent < kMinZoom || percent > kMaxZoom) return;
  zoom_ = percent;
  mode_ = mode;
  cache_ = QPixmap();
  layoutImage();
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  viewport()->update();
}

void TRepPreview::zoomToFit() {
  // The view's size without scroll bars, so showing or hiding them does not change the zoom.
  const QSize view = maximumViewportSize();
  const QSize page = pagePixels();
  const int byWidth = int(std::lround(double(view.width()) / page.width() * 95));
  const int byHeight = int(std::lround(double(view.height()) / page.height() * 95));
  setZoom(std::min(byWidth, byHeight), ZoomMode::Fit);
}

void TRepPreview::zoomTo100() { setZoom(100, ZoomMode::Other); }

void TRepPreview::zoomToWidth() {
  const QSize view = maximumViewportSize();
  setZoom(int(std::lround(double(view.width()) / pagePixels().width() * 90)), ZoomMode::Width);
}

QSize TRepPreview::imageSize() const {
  return QSize(int(std::lround(paper_.width() / 100.0 * zoom_ * kScreenFactor)) + 4,
               int(std::lround(paper_.height() / 100.0 * zoom_ * kScreenFactor)) + 4);
}

QPoint TRepPreview::imageOffset() const {
  const QSize image = imageSize();
  const QSize view = viewport()->size();
  const int x = image.width() < view.width() ? (view.width() - image.width()) / 2
                                             : -horizontalScrollBar()->value();
  const int y = image.height() < view.height() ? (view.height() - image.height()) / 2
                                               : -verticalScrollBar()->value();
  return QPoint(x, y);
}

void TRepPreview::layoutImage() {
  const QSize image = imageSize();
  const QSize view = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, image.width() - view.width()));
  verticalScrollBar()->setRange(0, std::max(0, image.height() - view.height()));
  horizontalScrollBar()->setPageStep(view.width());
  verticalScrollBar()->setPageStep(view.height());
  horizontalScrollBar()->setSingleStep(20);
  verticalScrollBar()->setSingleStep(20);
}

void TRepPreview::showRecording(int page, const QByteArray& recording) {
  selected_ = page;
  shown_ = page;
  recording_ = recording;
  cache_ = QPixmap();
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  viewport()->update();
}

void TRepPreview::clearPage() {
  shown_ = 0;
  recording_.clear();
  cache_ = QPixmap();
  viewport()->update();
}

void TRepPreview::paintPageImage(QPainter& painter, const QSize& image,
                                 const QByteArray& recording) {
  const int w = image.width();
  const int h = image.height();
  painter.fillRect(QRect(1, 1, w - 4, h - 4), Qt::white);
  if (!recording.isEmpty()) EmfPlayer::play(recording, painter, QRectF(0, 0, w, h));
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(0, 0, w - 3, h - 3));
  painter.fillRect(QRect(w - 2, 2, 2, h - 2), Qt::black);
  painter.fillRect(QRect(2, h - 2, w - 2, 2), Qt::black);
}

const QPixmap& TRepPreview::pageImage() {
  const QSize size = imageSize();
  if (cache_.size() != size) {
    cache_ = QPixmap(size);
    cache_.fill(palette().color(QPalette::Window));
    QPainter painter(&cache_);
    try {
      paintPageImage(painter, size, recording_);
    } catch (const EmfError&) {
      // Recordings are checked before they are shown; a failure here leaves a blank page.
    }
  }
  return cache_;
}

void TRepPreview::paintEvent(QPaintEvent*) {
  if (shown_ == 0) return;
  QPainter painter(viewport());
  painter.drawPixmap(imageOffset(), pageImage());
}

void TRepPreview::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (mode_ == ZoomMode::Fit)
    zoomToFit();
  else if (mode_ == ZoomMode::Width)
    zoomToWidth();
  layoutImage();
}

void TRepPreview::scrollContentsBy(int, int) { viewport()->update(); }

}  // namespace wf
