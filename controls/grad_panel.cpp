#include "controls/grad_panel.h"

#include "controls/store_changed.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace wf {
namespace {

// Supersampling factor of the antialiased body.
constexpr int kSupersample = 3;

}  // namespace

TGradPanel::TGradPanel(QWidget* parent) : TGradCustomControl(parent) {
  setColor(StyleColor(223, 223, 227));
  setFontColor(StyleColor(0, 0, 206));
  resize(185, 105);
  body_ = QImage(185, 105, QImage::Format_RGB32);
  realignChildren();
  bodyChanged();
}

template <class Value>
void TGradPanel::setBodyProperty(Value& field, Value value) {
  if (storeChanged(field, value)) bodyChanged();
}

void TGradPanel::bodyChanged() {
  if (!loading_) RebuildBuffers();
}

void TGradPanel::setCornerWidth(int value) {
  if (value < 0) return;
  setBodyProperty(cornerWidth_, value);
}

void TGradPanel::setBorderWidth(int value) {
  if (value <= 0 || value == borderWidth_) return;
  borderWidth_ = value;
  realignChildren();
  bodyChanged();
}

void TGradPanel::setBorderColor(StyleColor value) { setBodyProperty(borderColor_, value); }
void TGradPanel::setOuterColor(StyleColor value) { setBodyProperty(outerColor_, value); }
void TGradPanel::setDefaultFrom(StyleColor value) { setBodyProperty(defaultFrom_, value); }
void TGradPanel::setDefaultTo(StyleColor value) { setBodyProperty(defaultTo_, value); }
void TGradPanel::setGradientType(TGradientType value) { setBodyProperty(gradientType_, value); }

void TGradPanel::setTextShadowColor(StyleColor value) {
  if (storeChanged(textShadowColor_, value)) update();
}

void TGradPanel::setAntialiased(bool value) {
  if (antialiased_ == value) return;
  antialiased_ = value;
  if (value) gradient_ = false;
  bodyChanged();
}

void TGradPanel::setGradient(bool value) { setBodyProperty(gradient_, value && !antialiased_); }

void TGradPanel::setCaptionPosition(TGradCaptionPos value) {
  if (captionPosition_ == value) return;
  const bool groupBoxInvolved =
      captionPosition_ == TGradCaptionPos::cpGroupBox || value == TGradCaptionPos::cpGroupBox;
  captionPosition_ = value;
  realignChildren();
  if (groupBoxInvolved) {
    bodyChanged();
  } else {
    update();
  }
}

void TGradPanel::Loaded() {
  loading_ = false;
  RebuildBuffers();
}

void TGradPanel::DoResize() {
  // A resize event that only confirms the size (the first showing) changes nothing.
  if (!body_.isNull() && body_.size() == size()) return;
  body_ = width() > 0 && height() > 0 ? QImage(width(), height(), QImage::Format_RGB32) : QImage();
  bodyChanged();
}

void TGradPanel::DoColorChanged() { bodyChanged(); }

void TGradPanel::DoParentColorChanged() {
  const StyleColor color = parentStyleColor();
  outerColor_ = color;
  takeColor(color);
  bodyChanged();
}

void TGradPanel::DoFontChanged() {
  realignChildren();
  if (captionPosition_ == TGradCaptionPos::cpGroupBox) bodyChanged();
  update();
}

int TGradPanel::captionTextHeight() const { return QFontMetrics(font()).height(); }

QRect TGradPanel::AdjustClientRect(const QRect& client) const {
  const int side = borderWidth_ + 1;
  if (captionPosition_ != TGradCaptionPos::cpGroupBox)
    return client.adjusted(side, side, -side, -side);
  const int half = captionTextHeight() / 2;
  return client.adjusted(side, half + 2, -side, -(half + 2)).translated(0, half - 1);
}

void TGradPanel::realignChildren() {
  const QRect probe(0, 0, 1000, 1000);
  const QRect inner = AdjustClientRect(probe);
  setContentsMargins(inner.left(), inner.top(), probe.right() - inner.right(),
                     probe.bottom() - inner.bottom());
}

void TGradPanel::RebuildBuffers() {
  if (body_.isNull()) return;

  const int s = antialiased_ ? kSupersample : 1;
  const int width = body_.width();
  const int height = body_.height();
  QImage supersampled;
  if (antialiased_) supersampled = QImage(s * width, s * height, QImage::Format_RGB32);
  QImage& work = antialiased_ ? supersampled : body_;

  fillRect(work, work.rect(), outerColor_);

  // The border pen is centred on the outline; a pen width of 0 still draws one pixel.
  const int pen = s * borderWidth_ - 1;
  const int penWidth = std::max(pen, 1);
  const int inset = pen / 2;
  int top = inset;
  if (captionPosition_ == TGradCaptionPos::cpGroupBox) top += (s * captionTextHeight()) / 2;
  const int ellipse = s * cornerWidth_;
  const QRect outline(QPoint(inset, top), QPoint(s * width - inset - 1, s * height - inset - 1));

  // The pen covers the band between the outer and the inner edge of the stroke; the body shows
  // inside the inner edge.
  const int half = pen / 2;
  const QRect outer = outline.adjusted(-half, -half, half, half);
  const QRect inner = outer.adjusted(penWidth, penWidth, -penWidth, -penWidth);
  const int outerEllipse = ellipse > 0 ? ellipse + pen : 0;
  const int innerEllipse = ellipse > 0 ? std::max(ellipse - pen, 0) : 0;

  fillRegion(work, roundRectRegion(outer, outerEllipse, outerEllipse), borderColor_);
  const QRegion body = roundRectRegion(inner, innerEllipse, innerEllipse);
  if (gradient_) {
    DrawGradient(work, work.rect(), defaultFrom_, defaultTo_, gradientType_, &body);
  } else {
    fillRegion(work, body, Color());
  }

  if (antialiased_)
    ReduceSupersampled(supersampled, body_, kSupersample, Color(), cornerWidth_ + 20);
  update();
}

void TGradPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.drawImage(0, 0, body_);
  if (!ShowCaption()) return;

  const int width = this->width();
  const int height = this->height();
  const int sideInset = (cornerWidth_ + borderWidth_) / 2;
  int left = sideInset;
  int top = borderWidth_;
  int right = width - sideInset;
  const int bottom = height - borderWidth_;

  TextFormat format;
  switch (captionPosition_) {
    case TGradCaptionPos::cpGroupBox:
      top -= borderWidth_;
      if (cornerWidth_ + borderWidth_ < 2) left += 5;
      format.alignment = Qt::AlignLeft | Qt::AlignTop;
      break;
    case TGradCaptionPos::cpTopLeft: format.alignment = Qt::AlignLeft | Qt::AlignTop; break;
    case TGradCaptionPos::cpTopCenter: format.alignment = Qt::AlignHCenter | Qt::AlignTop; break;
    case TGradCaptionPos::cpTopRight: format.alignment = Qt::AlignRight | Qt::AlignTop; break;
    case TGradCaptionPos::cpMiddleLeft:
      left -= (cornerWidth_ - borderWidth_) / 2;
      format.alignment = Qt::AlignLeft | Qt::AlignVCenter;
      break;
    case TGradCaptionPos::cpMiddleCenter:
      format.alignment = Qt::AlignHCenter | Qt::AlignVCenter;
      break;
    case TGradCaptionPos::cpMiddleRight:
      right += (cornerWidth_ - borderWidth_) / 2;
      format.alignment = Qt::AlignRight | Qt::AlignVCenter;
      break;
    case TGradCaptionPos::cpBottomLeft: format.alignment = Qt::AlignLeft | Qt::AlignBottom; break;
    case TGradCaptionPos::cpBottomCenter:
      format.alignment = Qt::AlignHCenter | Qt::AlignBottom;
      break;
    case TGradCaptionPos::cpBottomRight: format.alignment = Qt::AlignRight | Qt::AlignBottom; break;
  }
  const QRect captionRect(left, top, right - left, bottom - top);

  if (captionPosition_ == TGradCaptionPos::cpGroupBox) {
    // Clear the strip above the border line and the border behind the caption.
    const QFontMetrics metrics(font());
    const int th = metrics.height();
    const int tw = metrics.size(Qt::TextShowMnemonic, Caption()).width();
    const int middle = top + th / 2;
    const QColor outer = OuterColor().toQColor();
    painter.fillRect(QRect(0, 0, right, middle), outer);
    painter.fillRect(QRect(left, middle, tw, std::min(borderWidth_, th / 2)), outer);
  }
  DrawShadowText(painter, Caption(), font(), fontColor(), textShadowColor_, TextShadow(), format,
                 captionRect, isEnabled());
}

}  // namespace wf
