#include "framework/form_base.h"

#include "framework/wf_application.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>

namespace wf {

FormBase::FormBase(QWidget* parent) : QDialog(parent) {
  // Windows live for the whole run: closing only hides them.
  setAttribute(Qt::WA_DeleteOnClose, false);
}

ModalResult FormBase::showModal() {
  modalResult_ = ModalResult::None;
  // Not QDialog::exec(): a form may close itself while it is being shown (its show or
  // activation handler processes pending messages and can fail and close), and exec() would
  // then wait forever for a window that is already hidden. The loop runs only while the form
  // is visible and ends when it is hidden.
  const Qt::WindowModality previousModality = windowModality();
  setWindowModality(Qt::ApplicationModal);
  show();
  if (isVisible()) {
    QEventLoop loop;
    modalLoop_ = &loop;
    loop.exec(QEventLoop::DialogExec);
    modalLoop_ = nullptr;
  }
  setWindowModality(previousModality);
  if (modalResult_ == ModalResult::None) modalResult_ = ModalResult::Cancel;
  return modalResult_;
}

void FormBase::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (modalLoop_ != nullptr && !event->spontaneous()) modalLoop_->quit();
}

void FormBase::setModalResult(ModalResult result) {
  modalResult_ = result;
  if (result != ModalResult::None) closeForm();
}

void FormBase::closeForm() { close(); }

void FormBase::setFixedDialogBorder(int clientWidth, int clientHeight) {
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(clientWidth, clientHeight);
}

void FormBase::centreOver(const QWidget* other) {
  QRect area;
  if (other != nullptr && other->isVisible()) {
    area = other->frameGeometry();
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    area = screen->availableGeometry();
  } else {
    return;
  }
  const QSize outer = outerSize(other);
  move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
}

QSize FormBase::outerSize(const QWidget* other) const {
  if (windowFlags().testFlag(Qt::FramelessWindowHint)) return size();
  if (isVisible()) return frameGeometry().size();
  // Before its first showing the window manager has not framed the window yet: assume the frame
  // the other window got, which the same window manager gives every dialog of the program.
  if (other != nullptr && other->isVisible() &&
      !other->windowFlags().testFlag(Qt::FramelessWindowHint))
    return size() + (other->frameGeometry().size() - other->size());
  return size();
}

void FormBase::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  activationPending_ = true;
  exposeWaitsLeft_ = kExposeWaitLimitMs / kExposePollMs;
  // Platforms without a window manager may never report activation; the queued call makes sure
  // the form still hears of its showing, once.
  QTimer::singleShot(0, this, [this] { runActivation(); });
}

bool FormBase::event(QEvent* event) {
  const bool handled = QDialog::event(event);
  if (event->type() == QEvent::WindowActivate) runActivation();
  return handled;
}

bool FormBase::isOnScreen() const {
  const QWindow* window = windowHandle();
  return window != nullptr && window->isExposed();
}

void FormBase::runActivation() {
  if (!activationPending_ || !isVisible()) return;
  // A handler that blocks (the closing window writes every table) must find its window already
  // on screen: wait until the window system has mapped and exposed it, then paint it at once.
  if (!isOnScreen() && exposeWaitsLeft_ > 0) {
    --exposeWaitsLeft_;
    QTimer::singleShot(kExposePollMs, this, [this] { runActivation(); });
    return;
  }
  activationPending_ = false;
  repaint();
  runGuarded([this] { formActivate(); });
}

void FormBase::keyPressEvent(QKeyEvent* event) {
  // Esc neither closes nor cancels a form; only its own buttons do.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace wf
