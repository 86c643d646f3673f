#include "controls/grad_custom_control.h"

#include "controls/store_changed.h"

#include "controls/grad_style_manager.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimerEvent>

namespace wf {

int fadeInterval(TFadeSpeed speed) {
  switch (speed) {
    case TFadeSpeed::fsSlow: return 40;
    case TFadeSpeed::fsMedium: return 20;
    case TFadeSpeed::fsFast: return 12;
    case TFadeSpeed::fsVeryFast: return 8;
  }
  return 20;
}

TGradCustomControl::TGradCustomControl(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted by the control itself.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  focusWatch_ =
      connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        const QWidget* form = window();
        if ((old != nullptr && old->window() == form) || (now != nullptr && now->window() == form))
          DoFocusChanged();
      });
}

TGradCustomControl::~TGradCustomControl() {
  // QWidget's destructor may move the focus; the derived parts are gone by then.
  disconnect(focusWatch_);
  if (styleManager_ != nullptr) styleManager_->unregisterControl(this);
}

QString TGradCustomControl::About() const { return QStringLiteral("Wrenfold styled controls"); }

void TGradCustomControl::setCaption(const QString& caption) {
  if (storeChanged(caption_, caption)) DoTextChanged();
}

void TGradCustomControl::setTextShadow(bool value) {
  if (storeChanged(textShadow_, value)) update();
}

void TGradCustomControl::setShowCaption(bool value) {
  if (storeChanged(showCaption_, value)) update();
}

void TGradCustomControl::setColor(StyleColor value) {
  parentColor_ = false;
  takeColor(value);
}

void TGradCustomControl::takeColor(StyleColor value) {
  if (color_ == value) return;
  color_ = value;
  DoColorChanged();
  notifyStyledChildrenOfColor();
}

void TGradCustomControl::setParentColor(bool value) {
  if (storeChanged(parentColor_, value))
    if (value) DoParentColorChanged();
}

void TGradCustomControl::setFontColor(StyleColor value) {
  if (storeChanged(fontColor_, value)) update();
}

void TGradCustomControl::setTabStop(bool value) {
  setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus);
}

StyleColor TGradCustomControl::parentStyleColor() const {
  if (const auto* styled = qobject_cast<const TGradCustomControl*>(parentWidget()))
    return styled->Color();
  if (parentWidget() != nullptr) return parentWidget()->palette().color(QPalette::Window);
  return color_;
}

void TGradCustomControl::notifyStyledChildrenOfColor() {
  const auto children = findChildren<TGradCustomControl*>(Qt::FindDirectChildrenOnly);
  for (TGradCustomControl* child : children) {
    if (child->parentColor_) child->DoParentColorChanged();
  }
}

void TGradCustomControl::setGradStyleManager(TGradStyleManager* manager) {
  if (styleManager_ == manager) return;
  // Leaving the old manager keeps its list free of controls that no longer use it.
  if (styleManager_ != nullptr) styleManager_->unregisterControl(this);
  styleManager_ = manager;
  if (manager != nullptr) manager->registerControl(this);
}

void TGradCustomControl::styleManagerRemoved(TGradStyleManager* manager) {
  if (styleManager_ == manager) setGradStyleManager(nullptr);
}

void TGradCustomControl::DoEnabledChanged() { update(); }

void TGradCustomControl::DoMouseDown() {
  if (!hasFocus() && (focusPolicy() & Qt::ClickFocus) != 0 && isEnabled())
    setFocus(Qt::MouseFocusReason);
}

void TGradCustomControl::DoMouseEnter() { emit mouseEntered(); }
void TGradCustomControl::DoMouseLeave() { emit mouseLeft(); }

void TGradCustomControl::DoTextChanged() { update(); }
void TGradCustomControl::DoColorChanged() { update(); }

void TGradCustomControl::Click() { emit clicked(); }

void TGradCustomControl::StartFadeTimer() {
  fadeTimer_.stop();
  fadeTimer_.start(fadeInterval(FFadeSpeed), Qt::PreciseTimer, this);
}

void TGradCustomControl::FadeInStep() {
  if (FPressed && FMouseInside) {
    if (FClickLevel >= 100) {
      FClickLevel = 100;
      update();
      stopFadeTimer();
    } else {
      FClickLevel += 100;
      update();
    }
    return;
  }
  if (FClickLevel > 0) FClickLevel -= 100;
  if (FOverLevel < 100) {
    FOverLevel += 10;
  } else {
    FOverLevel = 100;
  }
  update();
  if (FClickLevel <= 0 && FOverLevel >= 100) stopFadeTimer();
}

void TGradCustomControl::FadeOutStep() {
  if (FClickLevel > 0) FClickLevel -= 100;
  if (FOverLevel > 0 || FClickLevel > 0) {
    FOverLevel -= 10;
  } else {
    FOverLevel = 0;
    FClickLevel = 0;
    stopFadeTimer();
  }
  update();
}

void TGradCustomControl::setHoverInside(bool inside) {
  if (hoverInside_ == inside) return;
  hoverInside_ = inside;
  if (inside) {
    DoMouseEnter();
  } else {
    DoMouseLeave();
  }
}

void TGradCustomControl::enterEvent(QEnterEvent* event) {
  setHoverInside(true);
  QWidget::enterEvent(event);
}

void TGradCustomControl::leaveEvent(QEvent* event) {
  setHoverInside(false);
  QWidget::leaveEvent(event);
}

// The mouse handlers accept every event: a press, move or release on a styled control is the
// control's alone and never reaches the (styled) parent behind it, which would take the focus
// and raise its own click.
void TGradCustomControl::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton) return;
  leftHeld_ = true;
  DoMouseDown();
}

// A double click arrives as a second single click.
void TGradCustomControl::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void TGradCustomControl::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  // While the button is held the pointer is grabbed and the windowing system sends no enter or
  // leave; crossing the edge is found here instead.
  if (leftHeld_) setHoverInside(rect().contains(event->position().toPoint()));
  DoMouseMove();
}

void TGradCustomControl::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || !leftHeld_) return;
  leftHeld_ = false;
  const bool inside = rect().contains(event->position().toPoint());
  const QPointer<TGradCustomControl> alive(this);
  if (inside) Click();
  if (alive) DoMouseUp();
}

void TGradCustomControl::fadeTick() {
  // A failing step must not leave the timer message.
  try {
    (this->*FFadeStep)();
  } catch (...) {}
}

void TGradCustomControl::timerEvent(QTimerEvent* event) {
  if (event->timerId() == fadeTimer_.timerId()) fadeTick();
  QWidget::timerEvent(event);
}

void TGradCustomControl::changeEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::EnabledChange:
      // A disabled control gets no release: a press it was holding is over.
      if (!isEnabled()) leftHeld_ = false;
      DoEnabledChanged();
      break;
    case QEvent::FontChange: DoFontChanged(); break;
    case QEvent::ParentChange:
      if (parentColor_) DoParentColorChanged();
      break;
    default: break;
  }
  QWidget::changeEvent(event);
}

void TGradCustomControl::resizeEvent(QResizeEvent* event) {
  DoResize();
  QWidget::resizeEvent(event);
}

}  // namespace wf
