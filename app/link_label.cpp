#include "app/link_label.h"

#include <QMouseEvent>

namespace wf {

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_TranslucentBackground);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  emit mouseEntered();
}

void LinkLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  emit mouseLeft();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked();
}

}  // namespace wf
