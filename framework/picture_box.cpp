#include "framework/picture_box.h"

#include <QPainter>

namespace wf {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::setPicture(const QImage& picture) {
  picture_ = picture;
  update();
}

QRect PictureBox::pictureRect() const {
  if (picture_.isNull()) return QRect();
  QSize size = picture_.size();
  if (size.width() > width() || size.height() > height())
    size = size.scaled(this->size(), Qt::KeepAspectRatio);
  return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void PictureBox::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(pictureRect(), picture_);
}

}  // namespace wf
