#include "controls/gif_animator.h"

#include "controls/store_changed.h"

#include <QMetaObject>
#include <QPainter>

#include <algorithm>

namespace wf {

namespace {

constexpr int kMinFrameDelay = 50;
constexpr int kMaxFrameDelay = 10000;

// Pixels of the key colour become fully transparent; everything else stays opaque.
QImage keyedOut(const QImage& composed, QRgb key) {
  QImage out = composed.convertToFormat(QImage::Format_ARGB32);
  const QRgb opaqueKey = key | 0xff000000u;
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if (row[x] == opaqueKey) row[x] = qRgba(0, 0, 0, 0);
  }
  return out;
}

}  // namespace

TGIFAnimator::TGIFAnimator(QWidget* parent)
    : QWidget(parent), timer_(std::make_unique<ThreadTimer>()) {
  timer_->setEnabled(false);
  resize(105, 105);
}

TGIFAnimator::~TGIFAnimator() {
  blockSignals(true);
  timer_.reset();  // ends the timer thread before anything it may touch goes away
}

void TGIFAnimator::setImage(const TGIFImage& image) {
  {
    std::lock_guard lock(lock_);
    image_ = image;
  }
  pictureChanged();
}

void TGIFAnimator::loadFromData(const QByteArray& data) {
  TGIFImage read = image_;
  read.loadFromData(data);
  setImage(read);
}

void TGIFAnimator::loadFromFile(const QString& path) {
  TGIFImage read = image_;
  read.loadFromFile(path);
  setImage(read);
}

void TGIFAnimator::pictureChanged() {
  {
    std::lock_guard lock(lock_);
    composer_.reset();
    frameIndex_ = image_.frameIndex();
    recompose();
    timer_->setInterval(frameDelayLocked());
  }
  adjustToPicture();
  update();
  emit OnChange();
}

void TGIFAnimator::setAnimate(bool value) {
  if (animate_ == value) return;
  if (value) {
    timer_->setRunInThread(asyncDrawing_);
    timer_->setOnTimer([this] { asyncDrawing_ ? asyncStep() : animationStep(); });
    timer_->setEnabled(true);
    animate_ = timer_->isEnabled();
    emit OnStart();
  } else {
    timer_->setEnabled(false);
    timer_->setOnTimer(nullptr);
    animate_ = false;
    emit OnStop();
    update();
  }
}

int TGIFAnimator::FrameIndex() const {
  std::lock_guard lock(lock_);
  return frameIndex_;
}

void TGIFAnimator::setFrameIndex(int index) {
  {
    std::lock_guard lock(lock_);
    // The current index is set again too: the frame is shown anew and the change reported.
    if (index < 0 || index >= image_.frameCount()) return;
    frameIndex_ = index;
    recompose();
    timer_->setInterval(frameDelayLocked());
  }
  emit OnFrameChanged();
  update();
}

void TGIFAnimator::setCenter(bool value) { setPlacement(center_, value); }

void TGIFAnimator::setStretch(bool value) { setPlacement(stretch_, value); }

void TGIFAnimator::setPlacement(bool& field, bool value) {
  {
    std::lock_guard lock(lock_);
    if (!storeChanged(field, value)) return;
  }
  adjustToPicture();
  update();
}

void TGIFAnimator::setTransparent(bool value) {
  {
    std::lock_guard lock(lock_);
    if (transparent_ == value) return;
    transparent_ = value;
    composer_.reset();
    recompose();
  }
  adjustToPicture();
  update();
}

void TGIFAnimator::setAutoSize(bool value) {
  if (storeChanged(autoSize_, value)) adjustToPicture();
}

void TGIFAnimator::setAsyncDrawing(bool value) {
  if (storeChanged(asyncDrawing_, value)) timer_->setRunInThread(value);
}

int TGIFAnimator::frameDelay() const {
  std::lock_guard lock(lock_);
  return frameDelayLocked();
}

int TGIFAnimator::frameDelayLocked() const {
  if (image_.frameCount() < 2 || frameIndex_ < 0 || frameIndex_ >= image_.frameCount()) return 0;
  return std::clamp(image_.frames()[frameIndex_].delay(), kMinFrameDelay, kMaxFrameDelay);
}

void TGIFAnimator::recompose() {
  if (image_.isEmpty() || image_.screenSize().isEmpty()) {
    display_ = QImage();
    return;
  }
  QRgb window = palette().color(QPalette::Base).rgb();
  const QImage& composed = composer_.compose(image_, frameIndex_, transparent_, window);
  std::optional<QRgb> key = composer_.transparentColor();
  display_ = key && transparent_ ? keyedOut(composed, *key) : composed.copy();
}

void TGIFAnimator::adjustToPicture() {
  if (!autoSize_) return;
  QSize screen;
  {
    std::lock_guard lock(lock_);
    if (image_.isEmpty()) return;
    screen = image_.screenSize();
  }
  resize(screen);
}

void TGIFAnimator::animationStep() {
  if (!isVisible() || !parentWidget()) return;
  {
    std::lock_guard lock(lock_);
    if (image_.frameCount() <= 1) return;
    frameIndex_ = (frameIndex_ + 1) % image_.frameCount();
    recompose();
  }
  struct DrawingMark {
    bool& flag;
    explicit DrawingMark(bool& f) : flag(f) { flag = true; }
    ~DrawingMark() { flag = false; }
  };
  {
    DrawingMark mark(drawing_);
    emit OnFrameChanged();
    repaint();
  }
  timer_->setInterval(frameDelay());
  if (!loop_ && FrameIndex() == 0) setAnimate(false);
}

void TGIFAnimator::asyncStep() {
  if (!shown_) return;
  int index = 0;
  {
    std::lock_guard lock(lock_);
    if (image_.frameCount() <= 1) return;
    frameIndex_ = (frameIndex_ + 1) % image_.frameCount();
    index = frameIndex_;
    recompose();
    timer_->setInterval(frameDelayLocked());
  }
  emit OnFrameChanged();
  QMetaObject::invokeMethod(this, qOverload<>(&QWidget::update), Qt::QueuedConnection);
  if (!loop_ && index == 0)
    QMetaObject::invokeMethod(
        this, [this] { setAnimate(false); }, Qt::QueuedConnection);
}

QRect TGIFAnimator::destinationRect(QSize composed) const {
  if (stretch_) return rect();
  if (center_)
    return QRect(QPoint((width() - composed.width()) / 2, (height() - composed.height()) / 2),
                 composed);
  return QRect(QPoint(0, 0), composed);
}

void TGIFAnimator::paintEvent(QPaintEvent*) {
  std::lock_guard lock(lock_);
  QPainter painter(this);
  // A transparent or empty picture lets the parent and the controls under this one show
  // through; Qt has already painted them beneath this widget.
  if (!image_.transparent() && !image_.isEmpty()) painter.fillRect(rect(), palette().window());
  if (display_.isNull()) return;
  painter.drawImage(destinationRect(display_.size()), display_);
}

void TGIFAnimator::showEvent(QShowEvent* event) {
  shown_ = true;
  QWidget::showEvent(event);
}

void TGIFAnimator::hideEvent(QHideEvent* event) {
  shown_ = false;
  QWidget::hideEvent(event);
}

}  // namespace wf
