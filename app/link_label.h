// A label used as a link: underlined while the mouse is over it, with a hand-point cursor, and a
// click signal.
#pragma once

#include <QLabel>

namespace wf {

class LinkLabel : public QLabel {
  Q_OBJECT
 public:
  explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

 signals:
  void mouseEntered();
  void mouseLeft();
  void clicked();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace wf
