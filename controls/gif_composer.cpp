#include "controls/gif_composer.h"

#include <algorithm>

namespace wf {

const QImage& GifComposer::compose(const TGIFImage& image, int n, bool transparent,
                                   QRgb windowColor) {
  n = std::clamp(n, 0, image.frameCount() - 1);
  const auto& frames = image.frames();
  lastIncremental_ = canContinue(image, n);
  if (lastIncremental_) {
    const TGIFFrame& previous = frames[cachedIndex_];
    if (previous.disposal() == GifDisposal::Background) fillRect(previous.rect());
  } else {
    startFresh(image, n, transparent, windowColor);
  }
  drawFrame(frames[n]);
  cachedIndex_ = n;
  return bitmap_;
}

void GifComposer::reset() {
  bitmap_ = QImage();
  cachedIndex_ = -1;
  markedTransparent_.reset();
  lastIncremental_ = false;
}

bool GifComposer::canContinue(const TGIFImage& image, int n) const {
  return !bitmap_.isNull() && cachedIndex_ >= 0 && n == cachedIndex_ + 1 &&
         bitmap_.size() == image.screenSize() &&
         image.frames()[cachedIndex_].disposal() != GifDisposal::Previous;
}

void GifComposer::startFresh(const TGIFImage& image, int n, bool transparent, QRgb windowColor) {
  const auto& frames = image.frames();
  bitmap_ = QImage(image.screenSize(), QImage::Format_RGB32);
  std::optional<QRgb> composedTransparent = frames[n].transparentColor();
  if (composedTransparent)
    background_ = *composedTransparent;
  else if (image.transparent())
    background_ = image.backgroundColor();
  else
    background_ = windowColor;
  bitmap_.fill(background_);

  int start = startFrame(image, n);
  for (int k = start; k < n; ++k) {
    switch (frames[k].disposal()) {
      case GifDisposal::Background:
        if (k != start) fillRect(frames[k].rect());
        break;
      case GifDisposal::Previous: break;
      default:  // none, keep, and the undefined values 4 to 7
        drawFrame(frames[k]);
    }
  }
  markedTransparent_.reset();
  if (composedTransparent && transparent) markedTransparent_ = composedTransparent;
}

// The latest frame at or before n from which replaying gives the right picture: one that
// covers the screen and leaves nothing of earlier frames showing through.
int GifComposer::startFrame(const TGIFImage& image, int n) {
  const auto& frames = image.frames();
  for (int k = n; k >= 1; --k) {
    const TGIFFrame& f = frames[k];
    if (!f.coversScreen(image.screenSize())) continue;
    if (!f.transparentColor() || (f.disposal() == GifDisposal::Background && k < n)) return k;
  }
  return 0;
}

void GifComposer::fillRect(const QRect& rect) {
  QRect area = rect.intersected(bitmap_.rect());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(bitmap_.scanLine(y));
    std::fill(row + area.left(), row + area.right() + 1, background_);
  }
}

void GifComposer::drawFrame(const TGIFFrame& frame) {
  const QImage& pixels = frame.bitmap();
  QRect area = frame.rect().intersected(bitmap_.rect());
  const QPoint origin = frame.rect().topLeft();
  for (int y = area.top(); y <= area.bottom(); ++y) {
    auto* out = reinterpret_cast<QRgb*>(bitmap_.scanLine(y));
    const auto* in = reinterpret_cast<const QRgb*>(pixels.constScanLine(y - origin.y()));
    for (int x = area.left(); x <= area.right(); ++x) {
      QRgb p = in[x - origin.x()];
      if (qAlpha(p) != 0) out[x] = p | 0xff000000u;
    }
  }
}

}  // namespace wf
