// Builds the full picture of one GIF frame from the frames before it, honouring their disposal
// methods, and caches it so that playing frames in order draws each over the last.
// Widget-free: the result is a QImage, usable without a QApplication.
#pragma once

#include "controls/gif_image.h"

#include <QImage>

#include <optional>

namespace wf {

class GifComposer {
 public:
  // The composed picture of frame n (cut to the last frame) of `image`. With `transparent`, a
  // freshly composed picture whose background is a frame's transparent colour is marked with
  // it (see transparentColor()). The returned image stays valid until the next call or reset().
  // A frame without a transparent colour on a picture that is not transparent is composed on
  // `windowColor`. Precondition: the picture has at least one frame.
  const QImage& compose(const TGIFImage& image, int n, bool transparent,
                        QRgb windowColor = 0xffffffff);

  // Drops the cache; the next compose() starts from a new bitmap.
  void reset();

  int cachedIndex() const { return cachedIndex_; }
  // The colour left out when the picture is drawn, when it is marked transparent.
  std::optional<QRgb> transparentColor() const { return markedTransparent_; }
  // Whether the last compose() drew only the new frame over the cached picture.
  bool lastWasIncremental() const { return lastIncremental_; }

 private:
  bool canContinue(const TGIFImage& image, int n) const;
  void startFresh(const TGIFImage& image, int n, bool transparent, QRgb windowColor);
  static int startFrame(const TGIFImage& image, int n);
  void fillRect(const QRect& rect);
  void drawFrame(const TGIFFrame& frame);

  QImage bitmap_;
  QRgb background_ = 0;
  int cachedIndex_ = -1;
  std::optional<QRgb> markedTransparent_;
  bool lastIncremental_ = false;
};

}  // namespace wf
