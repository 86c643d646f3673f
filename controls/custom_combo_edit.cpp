#include "controls/custom_combo_edit.h"

#include <QFocusEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

namespace wf {

QPoint popupPosition(const QRect& editOnScreen, QSize popupSize, const QRect& screen,
                     PopupAlign align) {
  const int editRight = editOnScreen.x() + editOnScreen.width();
  const int screenRight = screen.x() + screen.width();
  const int screenBottom = screen.y() + screen.height();

  int y = editOnScreen.y() + editOnScreen.height();
  if (y + popupSize.height() > screenBottom) y = editOnScreen.y() - popupSize.height();

  int x = editOnScreen.x();
  if (align == PopupAlign::Right) {
    x = editRight - popupSize.width();
    if (x < 0) x = editOnScreen.x();
  } else if (x + popupSize.width() > screenRight) {
    x = editRight - popupSize.width();
  }
  // Kept inside the screen on every edge; when it is too big, its top-left corner stays visible.
  if (x + popupSize.width() > screenRight) x = screenRight - popupSize.width();
  if (x < screen.x()) x = screen.x();
  if (y + popupSize.height() > screenBottom) y = screenBottom - popupSize.height();
  if (y < screen.y()) y = screen.y();
  return QPoint(x, y);
}

TCustomComboEdit::TCustomComboEdit(QWidget* parent) : QLineEdit(parent) {
  button_ = new QToolButton(this);
  button_->setFocusPolicy(Qt::NoFocus);
  button_->setCursor(Qt::ArrowCursor);
  connect(button_, &QToolButton::clicked, this, &TCustomComboEdit::onButtonClick);
  setTextMargins(0, 0, kButtonWidth, 0);
  layoutButton();
}

TCustomComboEdit::~TCustomComboEdit() {
  if (popup_) popup_->removeEventFilter(this);
}

void TCustomComboEdit::setReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  updateReadOnly();
}

void TCustomComboEdit::setDirectInput(bool directInput) {
  directInput_ = directInput;
  updateReadOnly();
}

void TCustomComboEdit::updateReadOnly() {
  QLineEdit::setReadOnly(readOnly_ || !directInput_ || popupVisible_ || dataReadOnly());
}

void TCustomComboEdit::setGlyph(const QPixmap& glyph, int numGlyphs) {
  QIcon icon;
  if (numGlyphs < 1) numGlyphs = 1;
  const int glyphWidth = glyph.width() / numGlyphs;
  icon.addPixmap(glyph.copy(0, 0, glyphWidth, glyph.height()), QIcon::Normal);
  if (numGlyphs >= 2) {
    icon.addPixmap(glyph.copy(glyphWidth, 0, glyphWidth, glyph.height()), QIcon::Disabled);
  }
  button_->setIcon(icon);
  button_->setIconSize(QSize(glyphWidth, glyph.height()));
}

void TCustomComboEdit::setButtonVisible(bool visible) {
  button_->setVisible(visible);
  setTextMargins(0, 0, visible ? kButtonWidth : 0, 0);
}

bool TCustomComboEdit::buttonVisible() const { return !button_->isHidden(); }

void TCustomComboEdit::setPopup(QWidget* popup) {
  if (popup_) {
    popup_->removeEventFilter(this);
    delete popup_;
  }
  popup_ = popup;
  if (!popup_) return;
  popup_->setParent(this, popup_->windowFlags() | Qt::Popup);
  popup_->installEventFilter(this);
}

void TCustomComboEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  layoutButton();
}

void TCustomComboEdit::layoutButton() {
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  button_->setGeometry(width() - frame - kButtonWidth, frame, kButtonWidth, height() - 2 * frame);
}

void TCustomComboEdit::onButtonClick() {
  emit buttonClicked();
  if (popupVisible_) {
    popupCloseUp(true);
  } else {
    popupDropDown();
  }
}

void TCustomComboEdit::popupDropDown() {
  if (!popup_ || popupVisible_ || readOnly_ || !editCanModify() || dataReadOnly()) return;
  preparePopup();
  const QRect editOnScreen(mapToGlobal(QPoint(0, 0)), size());
  const QRect screenRect = (screen() ? screen()->geometry() : QRect(0, 0, 1024, 768));
  popup_->move(popupPosition(editOnScreen, popup_->size(), screenRect, popupAlign_));
  setFocus(Qt::PopupFocusReason);
  popupVisible_ = true;
  updateReadOnly();
  popup_->show();
}

void TCustomComboEdit::popupCloseUp(bool accept) {
  if (!popupVisible_) return;
  popupVisible_ = false;
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  popup_->hide();
  setFocus(Qt::PopupFocusReason);
  updateReadOnly();
  if (accept) acceptPopupValue();
}

bool TCustomComboEdit::popupMousePress(const QPoint& globalPos) {
  if (popup_->rect().contains(popup_->mapFromGlobal(globalPos))) return false;
  if (buttonVisible() && button_->rect().contains(button_->mapFromGlobal(globalPos))) {
    emit buttonClicked();
    popupCloseUp(true);
  } else {
    // In the edit or anywhere else: closed without taking the date.
    popupCloseUp(false);
  }
  return true;
}

bool TCustomComboEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched != popup_) return QLineEdit::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      return popupMousePress(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    case QEvent::KeyPress:
      // The pop-up has the keyboard while it is open; its keys belong to the edit.
      keyPressEvent(static_cast<QKeyEvent*>(event));
      return true;
    case QEvent::Hide:
      // Closed from outside (another window activated, the pop-up dismissed by the system).
      if (popupVisible_) popupCloseUp(false);
      return false;
    default: return false;
  }
}

void TCustomComboEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // A masked edit would only move the caret to the first blank.
  const Qt::FocusReason reason = event->reason();
  if (autoSelect_ && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                      reason == Qt::ShortcutFocusReason))
    selectAll();
}

void TCustomComboEdit::keyPressEvent(QKeyEvent* event) {
  if (event->keyCombination() == clickKey_) {
    if (buttonVisible() && !popupVisible_) popupDropDown();
    event->accept();
    return;
  }
  if (popupVisible_) {
    if (event->key() == Qt::Key_Escape) {
      popupCloseUp(false);
      event->accept();
      return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      popupCloseUp(true);
      event->accept();
      return;
    }
  }
  QLineEdit::keyPressEvent(event);
}

}  // namespace wf
