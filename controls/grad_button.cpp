#include "controls/grad_button.h"

#include "controls/store_changed.h"

#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

namespace wf {
namespace {

constexpr StyleColor kDisabledGlyphTint(64, 64, 64);
constexpr int kCornerEllipse = 5;
constexpr int kClickedRing = 3;

bool noShiftCtrlAlt(const QKeyEvent& key) {
  return (key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
}

// The glyph as drawn: 32-bit, grey-lightened when disabled, with every pixel of its bottom-left
// pixel's colour left out.
QImage preparedGlyph(const QImage& glyph, bool enabled) {
  QImage copy = glyph.convertToFormat(QImage::Format_RGB32);
  if (!enabled) TintGray(copy, kDisabledGlyphTint);
  const QRgb transparent = copy.pixel(0, copy.height() - 1);
  QImage masked = copy.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < masked.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
    for (int x = 0; x < masked.width(); ++x) {
      if ((line[x] & 0xffffff) == (transparent & 0xffffff)) line[x] = 0;
    }
  }
  return masked;
}

}  // namespace

QRect buttonTextRect(TButtonLayout layout, const QRect& client, const QSize& glyphSize,
                     int spacing) {
  QRect text = client;
  switch (layout) {
    case TButtonLayout::blGlyphLeft: text.setLeft(text.left() + glyphSize.width() + spacing); break;
    case TButtonLayout::blGlyphRight:
      text.setLeft(text.left() - glyphSize.width() - spacing);
      break;
    case TButtonLayout::blGlyphTop: text.setTop(text.top() + glyphSize.height() + spacing); break;
    case TButtonLayout::blGlyphBottom:
      text.setTop(text.top() - glyphSize.height() - spacing);
      break;
  }
  return text;
}

QPoint buttonGlyphPosition(TButtonLayout layout, const QRect& textRect, const QSize& buttonSize,
                           const QSize& textSize, const QSize& glyphSize, int spacing,
                           bool hasCaption) {
  // Exclusive right and bottom, as the layout arithmetic expects.
  const int left = textRect.left();
  const int right = textRect.left() + textRect.width();
  const int top = textRect.top();
  const int bottom = textRect.top() + textRect.height();
  const int gw = glyphSize.width();
  const int gh = glyphSize.height();
  const int tw = hasCaption ? textSize.width() : 0;
  const int th = hasCaption ? textSize.height() : 0;
  switch (layout) {
    case TButtonLayout::blGlyphLeft:
      return {
          hasCaption ? (left + right - tw) / 2 - spacing - gw : (left + right - spacing) / 2 - gw,
          (buttonSize.height() - gh) / 2};
    case TButtonLayout::blGlyphRight:
      return {(left + right + tw) / 2 + spacing, (buttonSize.height() - gh) / 2};
    case TButtonLayout::blGlyphTop:
      return {(buttonSize.width() - gw) / 2, (top + bottom - th) / 2 - spacing - gh};
    case TButtonLayout::blGlyphBottom:
      return {(buttonSize.width() - gw) / 2, (top + bottom + th) / 2 + spacing};
  }
  return {};
}

TGradButton::TGradButton(QWidget* parent) : TGradCustomControl(parent), colors_(this) {
  resize(75, 25);
  RebuildBuffers();
  watchWindow();
}

TGradButton::~TGradButton() {
  if (watchedWindow_) watchedWindow_->removeEventFilter(this);
}

void TGradButton::setGlyph(const QImage& glyph) {
  glyph_ = glyph;
  update();
}

void TGradButton::setLayout(TButtonLayout value) {
  if (storeChanged(layout_, value)) update();
}

void TGradButton::setShowFocusRect(bool value) {
  if (storeChanged(showFocusRect_, value)) update();
}

void TGradButton::setHotTrack(bool value) {
  if (storeChanged(hotTrack_, value)) update();
}

void TGradButton::setDefault(bool value) {
  if (storeChanged(default_, value)) DoFocusChanged();
}

void TGradButton::setGradientBorder(bool value) {
  if (storeChanged(gradientBorder_, value)) update();
}

void TGradButton::setGradientType(TGradientType value) {
  if (storeChanged(gradientType_, value)) RebuildBuffers();
}

QList<TGradButton*> TGradButton::groupMates() const {
  QList<TGradButton*> mates;
  if (parentWidget() == nullptr) return mates;
  const auto siblings = parentWidget()->findChildren<TGradButton*>(Qt::FindDirectChildrenOnly);
  for (TGradButton* sibling : siblings) {
    if (sibling != this && sibling->groupIndex_ == groupIndex_) mates.append(sibling);
  }
  return mates;
}

void TGradButton::fade(void (TGradCustomControl::*step)()) {
  FFadeStep = step;
  StartFadeTimer();
}

void TGradButton::setDown(bool value) {
  if (groupIndex_ <= 0 || down_ == value) return;
  if (!value) {
    bool anotherDown = false;
    for (const TGradButton* mate : groupMates()) anotherDown = anotherDown || mate->down_;
    if (!allowAllUp_ && !anotherDown) return;
    down_ = false;
    FPressed = false;
    fade(&TGradCustomControl::FadeOutStep);
    return;
  }
  down_ = true;
  FMouseInside = true;
  FPressed = true;
  fade(&TGradCustomControl::FadeInStep);
  for (TGradButton* mate : groupMates()) mate->setDown(false);
}

void TGradButton::RebuildBuffers() {
  const QSize area = size();
  for (QImage* buffer : {&defaultBuffer_, &overBuffer_, &clickedBuffer_}) {
    if (buffer->size() != area) *buffer = QImage(area, QImage::Format_RGB32);
  }
  if (work_.size() != area) {
    work_ = QImage(area, QImage::Format_RGB32);
    work_.fill(Qt::black);
  }
  const QRect whole(QPoint(0, 0), area);
  DrawGradient(defaultBuffer_, whole, colors_.DefaultFrom(), colors_.DefaultTo(), gradientType_);
  DrawGradient(overBuffer_, whole, colors_.OverFrom(), colors_.OverTo(), gradientType_);
  DrawGradient(clickedBuffer_, whole, colors_.ClickedFrom(), colors_.ClickedTo(), gradientType_);
  // The one-pixel rounded border: the outline minus what lies inside it.
  borderRing_ = roundRectRegion(whole, kCornerEllipse, kCornerEllipse)
                    .subtracted(roundRectRegion(whole.adjusted(1, 1, -1, -1), kCornerEllipse - 2,
                                                kCornerEllipse - 2));
  update();
}

void TGradButton::paintEvent(QPaintEvent* /*event*/) {
  if (work_.isNull()) return;
  const QRect client = rect();
  ComposeLayer(work_, defaultBuffer_, overBuffer_, FOverLevel, client, 1);
  if (FClickLevel > 0) {
    const QRect inner =
        gradientBorder_ ? client.adjusted(kClickedRing, kClickedRing, -kClickedRing, -kClickedRing)
                        : client;
    ComposeLayer(work_, work_, clickedBuffer_, FClickLevel, inner, 1);
  }
  drawFrame();
  drawCaptionAndGlyph();
  drawFocusRect();
  QPainter painter(this);
  painter.drawImage(0, 0, work_);
}

void TGradButton::drawFrame() {
  // The outermost pixels take Color first, so the corners cut off by the rounded border keep it.
  const int w = work_.width();
  const int h = work_.height();
  fillRect(work_, QRect(0, 0, w, 1), Color());
  fillRect(work_, QRect(0, h - 1, w, 1), Color());
  fillRect(work_, QRect(0, 0, 1, h), Color());
  fillRect(work_, QRect(w - 1, 0, 1, h), Color());
  fillRegion(work_, borderRing_, colors_.BorderColor());
}

void TGradButton::drawCaptionAndGlyph() {
  const bool hasGlyph = !glyph_.isNull();
  const QRect textRect =
      hasGlyph ? buttonTextRect(layout_, rect(), glyph_.size(), spacing_) : rect();
  const bool hasCaption = !Caption().isEmpty() && ShowCaption();
  if (!hasCaption && !hasGlyph) return;

  QPainter painter(&work_);
  const StyleColor textColor = hotTrack_ && FMouseInside ? colors_.HotTrack() : fontColor();
  TextFormat format;
  format.alignment = Qt::AlignCenter;
  format.mnemonics = false;
  if (ShowCaption()) {
    DrawShadowText(painter, Caption(), font(), textColor, colors_.TextShadow(), TextShadow(),
                   format, textRect, isEnabled());
  }
  if (hasGlyph) {
    const QFontMetrics metrics(font());
    const QSize textSize(metrics.horizontalAdvance(Caption()), metrics.height());
    const QPoint at = buttonGlyphPosition(layout_, textRect, size(), textSize, glyph_.size(),
                                          spacing_, hasCaption);
    painter.drawImage(at, preparedGlyph(glyph_, isEnabled()));
  }
}

void TGradButton::drawFocusRect() {
  if (!showFocusRect_ || !hasFocus()) return;
  // Dotted: every other pixel of the outline two pixels inside the button, inverted.
  const int left = 2;
  const int top = 2;
  const int right = width() - 3;
  const int bottom = height() - 3;
  if (right < left || bottom < top) return;
  auto invert = [&](int x, int y) {
    if (((x + y) & 1) != 0) return;
    auto* line = reinterpret_cast<QRgb*>(work_.scanLine(y));
    line[x] ^= 0x00ffffff;
  };
  for (int x = left; x <= right; ++x) {
    invert(x, top);
    if (bottom != top) invert(x, bottom);
  }
  for (int y = top + 1; y < bottom; ++y) {
    invert(left, y);
    if (right != left) invert(right, y);
  }
}

void TGradButton::DoFocusChanged() { update(); }

// Disabled under the pointer or while held, the button drops the over and clicked looks at once
// (a latched button stays down); enabled again under the pointer, it fades in as if the pointer
// had just entered, since no enter comes for a pointer that is already there.
void TGradButton::DoEnabledChanged() {
  if (isEnabled()) {
    if (pointerInside()) DoMouseEnter();
  } else if (!down_) {
    stopFadeTimer();
    FMouseInside = false;
    FPressed = false;
    FOverLevel = 0;
    FClickLevel = 0;
    FFadeStep = &TGradCustomControl::FadeOutStep;
  }
  TGradCustomControl::DoEnabledChanged();
}

void TGradButton::DoMouseDown() {
  TGradCustomControl::DoMouseDown();
  FPressed = true;
  FMouseInside = true;
  fade(&TGradCustomControl::FadeInStep);
}

void TGradButton::DoMouseUp() {
  if (FPressed && !down_) FPressed = false;
  // Released outside, the step stays the fade-out that leaving chose.
  if (FMouseInside) FFadeStep = &TGradCustomControl::FadeInStep;
  StartFadeTimer();
}

// The toolkit still tells a disabled widget that the pointer enters and leaves; a disabled
// button ignores both and keeps the default look.
void TGradButton::DoMouseEnter() {
  if (!isEnabled()) return;
  TGradCustomControl::DoMouseEnter();
  FMouseInside = true;
  fade(&TGradCustomControl::FadeInStep);
}

void TGradButton::DoMouseLeave() {
  if (!isEnabled()) return;
  TGradCustomControl::DoMouseLeave();
  if (down_) return;
  FMouseInside = false;
  fade(&TGradCustomControl::FadeOutStep);
}

void TGradButton::DoResize() { RebuildBuffers(); }

void TGradButton::Click() {
  const QPointer<QDialog> form = qobject_cast<QDialog*>(window());
  auto* formBase = qobject_cast<FormBase*>(form.data());
  if (formBase != nullptr) {
    if (modalResult_ == 0) formBase->setModalResult(wf::ModalResult::None);
  } else if (form) {
    form->setResult(modalResult_);
  }
  if (groupIndex_ > 0) setDown(!down_);
  // Like a modal loop that looks at the result once the click has been handled: the window
  // stays visible while the handlers run, a plain dialog's handler may still clear the result
  // to keep it open, and a handler that fails does not keep it open.
  auto closeOnResult = [this, &form] {
    if (!form || !form->isVisible()) return;
    if (auto* base = qobject_cast<FormBase*>(form.data())) {
      if (modalResult_ != 0) base->setModalResult(static_cast<wf::ModalResult>(modalResult_));
    } else if (form->result() != 0) {
      form->done(form->result());
    }
  };
  const QPointer<TGradButton> self(this);
  try {
    TGradCustomControl::Click();
  } catch (...) {
    if (self) closeOnResult();
    throw;
  }
  if (self) closeOnResult();
}

bool TGradButton::canTakeFocus() const { return isEnabled() && isVisible(); }

bool TGradButton::handleDialogKey(const QKeyEvent& key) {
  const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
  const bool escape = key.key() == Qt::Key_Escape;
  if (enter && (hasFocus() || default_) && canTakeFocus()) {
    Click();
    return true;
  }
  if (escape && cancel_ && noShiftCtrlAlt(key) && canTakeFocus()) {
    Click();
    return true;
  }
  return false;
}

void TGradButton::keyPressEvent(QKeyEvent* event) {
  if (handleDialogKey(*event)) {
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Space && noShiftCtrlAlt(*event)) Click();
  TGradCustomControl::keyPressEvent(event);
}

bool TGradButton::eventFilter(QObject* watched, QEvent* event) {
  if (watched == watchedWindow_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (handleDialogKey(*key)) {
      event->accept();
      return true;
    }
  }
  return TGradCustomControl::eventFilter(watched, event);
}

void TGradButton::watchWindow() {
  QWidget* form = window();
  if (form == this) form = nullptr;
  if (form == watchedWindow_) return;
  if (watchedWindow_) watchedWindow_->removeEventFilter(this);
  watchedWindow_ = form;
  if (form != nullptr) form->installEventFilter(this);
}

void TGradButton::showEvent(QShowEvent* event) {
  watchWindow();
  TGradCustomControl::showEvent(event);
}

void TGradButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ParentChange) watchWindow();
  TGradCustomControl::changeEvent(event);
}

}  // namespace wf
