// A control that plays an animated GIF over its parent: the white (transparent) pixels show
// whatever lies beneath, and a timer thread advances the frame after each frame's delay.
#pragma once

#include "controls/gif_composer.h"
#include "controls/gif_image.h"
#include "controls/thread_timer.h"

#include <QWidget>

#include <atomic>
#include <memory>
#include <mutex>

namespace wf {

class TGIFAnimator : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool Animate READ Animate WRITE setAnimate)
  Q_PROPERTY(int FrameIndex READ FrameIndex WRITE setFrameIndex)
  Q_PROPERTY(bool Loop READ Loop WRITE setLoop)
  Q_PROPERTY(bool Center READ Center WRITE setCenter)
  Q_PROPERTY(bool Stretch READ Stretch WRITE setStretch)
  Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
  Q_PROPERTY(bool AsyncDrawing READ AsyncDrawing WRITE setAsyncDrawing)

 public:
  explicit TGIFAnimator(QWidget* parent = nullptr);
  ~TGIFAnimator() override;

  // The picture; assigning copies it. Reading replaces it from GIF bytes and throws GifError
  // for a malformed picture, leaving the old one in place.
  const TGIFImage& Image() const { return image_; }
  void setImage(const TGIFImage& image);  // `Image`
  void loadFromData(const QByteArray& data);
  void loadFromFile(const QString& path);

  bool Animate() const { return animate_; }
  void setAnimate(bool value);
  int FrameIndex() const;
  void setFrameIndex(int index);  // ignored outside 0 .. frame count - 1
  bool Loop() const { return loop_; }
  void setLoop(bool value) { loop_ = value; }
  bool Center() const { return center_; }
  void setCenter(bool value);
  bool Stretch() const { return stretch_; }
  void setStretch(bool value);
  bool Transparent() const { return transparent_; }
  void setTransparent(bool value);
  bool AutoSize() const { return autoSize_; }
  void setAutoSize(bool value);
  bool AsyncDrawing() const { return asyncDrawing_; }
  // True: frames advance and are composed in the timer thread, and the repaint is posted to
  // the GUI thread; OnFrameChanged is then emitted from the timer thread.
  void setAsyncDrawing(bool value);

  // The delay the timer waits before the next frame: the current frame's delay clamped to
  // 50 .. 10000 ms, or 0 (no ticking) when the picture has fewer than two frames.
  int frameDelay() const;
  const ThreadTimer& timer() const { return *timer_; }
  // For tests that drive the frames through the timer's manual clock.
  ThreadTimer& timer() { return *timer_; }

 signals:
  void OnChange();
  void OnFrameChanged();
  void OnStart();
  void OnStop();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  int frameDelayLocked() const;
  // Center or Stretch: stored under the lock, then the size and the picture follow.
  void setPlacement(bool& field, bool value);
  void pictureChanged();
  void adjustToPicture();
  void animationStep();
  void asyncStep();
  void recompose();  // caller holds lock_
  QRect destinationRect(QSize composed) const;

  // Serialises frame changes with setting and picture changes (the timer thread takes it too
  // when drawing asynchronously).
  mutable std::recursive_mutex lock_;
  TGIFImage image_;
  GifComposer composer_;
  QImage display_;  // the composed frame, with its transparent colour keyed out when marked
  std::unique_ptr<ThreadTimer> timer_;
  int frameIndex_ = 0;
  bool animate_ = false;
  bool loop_ = true;
  bool center_ = false;
  bool stretch_ = false;
  bool transparent_ = true;
  bool autoSize_ = true;
  bool asyncDrawing_ = false;
  bool drawing_ = false;
  std::atomic<bool> shown_{false};
};

}  // namespace wf
