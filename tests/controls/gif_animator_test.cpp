#include "controls/gif_animator.h"
#include "controls/busy_wheel.h"
#include "controls/gif_composer.h"
#include "controls/thread_timer.h"
#include "framework/message_box.h"
#include "gif_test_builder.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>

namespace wf {
namespace {

using test::GifBuilder;

const std::vector<QRgb> kColors = {qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 255, 0),
                                   qRgb(0, 0, 255)};
const QColor kPanel(10, 200, 30);

// A picture of `count` 2 by 2 frames of colours 1, 2, 3, 1, ... with the given delay.
TGIFImage frames(int count, int delayHundredths) {
  GifBuilder builder;
  builder.screen(2, 2, kColors);
  for (int n = 0; n < count; ++n)
    builder.control(delayHundredths, kDisposeKeep)
        .image(QRect(0, 0, 2, 2), std::vector<uint8_t>(4, static_cast<uint8_t>(1 + n % 3)));
  TGIFImage image;
  image.loadFromData(builder.trailer().data());
  return image;
}

void processEventsFor(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

// A coloured panel, like the closing window's, holding an animator where the closing window
// puts its busy wheel.
struct Panel {
  QWidget window;
  TGIFAnimator* animator;
  Panel() {
    window.resize(235, 127);
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, kPanel);
    window.setPalette(palette);
    animator = new TGIFAnimator(&window);
    animator->move(96, 40);
  }
};

TEST(GifAnimatorTest, FrameDelaysAreClamped) {
  struct Case {
    int hundredths, milliseconds;
  };
  for (Case c : {Case{0, 50}, Case{2, 50}, Case{5, 50}, Case{10, 100}, Case{1000, 10000},
                 Case{1001, 10000}, Case{65535, 10000}}) {
    TGIFAnimator animator;
    animator.setImage(frames(2, c.hundredths));
    EXPECT_EQ(animator.frameDelay(), c.milliseconds) << c.hundredths;
    EXPECT_EQ(animator.timer().interval(), c.milliseconds) << c.hundredths;
  }
}

TEST(GifAnimatorTest, OneFramePictureNeverStartsTheTimer) {
  Panel panel;
  QSignalSpy changed(panel.animator, &TGIFAnimator::OnFrameChanged);
  panel.animator->setImage(frames(1, 10));
  panel.window.show();
  panel.animator->setAnimate(true);
  EXPECT_TRUE(panel.animator->Animate());
  EXPECT_EQ(panel.animator->frameDelay(), 0);
  processEventsFor(200);
  EXPECT_FALSE(panel.animator->timer().isActive());
  EXPECT_FALSE(panel.animator->timer().threadStarted());
  EXPECT_EQ(changed.count(), 0);
  EXPECT_EQ(panel.animator->FrameIndex(), 0);
  // The single frame is shown.
  EXPECT_EQ(panel.window.grab().toImage().pixelColor(97, 41), QColor(255, 0, 0));
}

TEST(GifAnimatorTest, FrameIndexOutsideThePictureIsIgnored) {
  TGIFAnimator animator;
  animator.setFrameIndex(1);  // no picture yet: ignored, as when a stored form sets it early
  EXPECT_EQ(animator.FrameIndex(), 0);
  animator.setImage(frames(3, 10));
  QSignalSpy changed(&animator, &TGIFAnimator::OnFrameChanged);
  for (int index : {3, 7, -1}) animator.setFrameIndex(index);
  EXPECT_EQ(animator.FrameIndex(), 0);
  EXPECT_EQ(changed.count(), 0);
  animator.setFrameIndex(2);
  EXPECT_EQ(animator.FrameIndex(), 2);
  EXPECT_EQ(changed.count(), 1);
  // Setting the current index again shows the frame anew and reports it.
  animator.setFrameIndex(2);
  EXPECT_EQ(animator.FrameIndex(), 2);
  EXPECT_EQ(changed.count(), 2);
}

TEST(GifAnimatorTest, WithoutLoopStopsOnFrameZero) {
  Panel panel;
  panel.animator->setImage(frames(3, 5));
  panel.animator->setLoop(false);
  panel.window.show();
  std::vector<int> seen;
  QObject::connect(panel.animator, &TGIFAnimator::OnFrameChanged,
                   [&] { seen.push_back(panel.animator->FrameIndex()); });
  QSignalSpy started(panel.animator, &TGIFAnimator::OnStart);
  QSignalSpy stopped(panel.animator, &TGIFAnimator::OnStop);
  panel.animator->setAnimate(true);
  EXPECT_EQ(started.count(), 1);
  ASSERT_TRUE(stopped.wait(3000));
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 0}));
  EXPECT_FALSE(panel.animator->Animate());
  EXPECT_EQ(panel.animator->FrameIndex(), 0);
  processEventsFor(200);
  EXPECT_EQ(seen.size(), 3u);
}

TEST(GifAnimatorTest, BusyWheelPlaysInOrderAndLoops) {
  Panel panel;
  panel.animator->loadFromData(busyWheelGif());
  panel.window.show();
  std::vector<int> seen;
  QObject::connect(panel.animator, &TGIFAnimator::OnFrameChanged,
                   [&] { seen.push_back(panel.animator->FrameIndex()); });
  panel.animator->setFrameIndex(10);
  seen.clear();
  panel.animator->setAnimate(true);
  processEventsFor(700);  // 100 ms a frame
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen[0], 11);
  EXPECT_EQ(seen[1], 0);
  for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_EQ(seen[i], (seen[i - 1] + 1) % 12);
  EXPECT_TRUE(panel.animator->Animate());
}

TEST(GifAnimatorTest, WhitePixelsShowThePanelBehind) {
  Panel panel;
  panel.animator->loadFromData(busyWheelGif());
  EXPECT_EQ(panel.animator->size(), QSize(32, 32));  // AutoSize
  panel.window.show();
  TGIFImage wheel;
  wheel.loadFromData(busyWheelGif());
  GifComposer composer;
  for (int n = 0; n < 3; ++n) {
    panel.animator->setFrameIndex(n);
    const QImage expected = composer.compose(wheel, n, true);
    const QImage shown = panel.window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int spokes = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        QRgb want =
            expected.pixel(x, y) == qRgb(255, 255, 255) ? kPanel.rgb() : expected.pixel(x, y);
        spokes += want != kPanel.rgb();
        ASSERT_EQ(shown.pixel(96 + x, 40 + y), want) << "frame " << n << " at " << x << "," << y;
      }
    EXPECT_GT(spokes, 100);
  }
}

TEST(GifAnimatorTest, CenterAndStretchPlaceThePicture) {
  Panel panel;
  panel.animator->setAutoSize(false);
  panel.animator->setImage(frames(1, 10));  // 2 by 2 red
  EXPECT_EQ(panel.animator->size(), QSize(105, 105));
  panel.window.resize(300, 300);
  panel.window.show();
  auto at = [&](int x, int y) { return panel.window.grab().toImage().pixelColor(96 + x, 40 + y); };
  EXPECT_EQ(at(1, 1), QColor(255, 0, 0));
  EXPECT_EQ(at(3, 3), kPanel);
  panel.animator->setCenter(true);
  EXPECT_EQ(at(1, 1), kPanel);
  EXPECT_EQ(at(51, 51), QColor(255, 0, 0));  // (105 - 2) / 2 = 51
  panel.animator->setStretch(true);
  EXPECT_EQ(at(1, 1), QColor(255, 0, 0));
  EXPECT_EQ(at(100, 100), QColor(255, 0, 0));
}

TEST(GifAnimatorTest, DestroyingWhileTheTimerWaitsForTheGuiThreadReturns) {
  auto panel = std::make_unique<Panel>();
  panel->animator->setImage(frames(3, 5));
  panel->window.show();
  panel->animator->setAnimate(true);
  processEventsFor(120);
  // Block the GUI thread past a frame delay: the timer thread has handed over a tick and waits.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  QElapsedTimer clock;
  clock.start();
  panel.reset();
  EXPECT_LT(clock.elapsed(), 1000);
  processEventsFor(100);  // the tick that was handed over is dropped with the timer
}

TEST(GifAnimatorTest, StoppingFromAFrameChangeDoesNotWait) {
  Panel panel;
  panel.animator->setImage(frames(3, 5));
  panel.window.show();
  QSignalSpy stopped(panel.animator, &TGIFAnimator::OnStop);
  QObject::connect(panel.animator, &TGIFAnimator::OnFrameChanged,
                   [&] { panel.animator->setAnimate(false); });
  panel.animator->setAnimate(true);
  ASSERT_TRUE(stopped.wait(2000));
  const int index = panel.animator->FrameIndex();
  processEventsFor(200);
  EXPECT_EQ(panel.animator->FrameIndex(), index);
}

TEST(ThreadTimerTest, FailingTicksGoToTheDefaultErrorBoxAndTheTimerGoesOn) {
  for (bool inThread : {false, true}) {
    MessageBoxRecorder boxes;
    ThreadTimer timer;
    std::atomic<int> ticks{0};
    timer.setRunInThread(inThread);
    timer.setInterval(10);
    timer.setOnTimer([&] {
      ++ticks;
      throw std::runtime_error("tick failed");
    });
    QElapsedTimer clock;
    clock.start();
    while (boxes.boxes().size() < 2 && clock.elapsed() < 3000) processEventsFor(10);
    timer.setEnabled(false);
    processEventsFor(30);
    ASSERT_GE(boxes.boxes().size(), 2u) << "in thread " << inThread;
    EXPECT_EQ(boxes.boxes()[0].kind, MessageKind::DefaultError);
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith(QStringLiteral("tick failed")))
        << boxes.boxes()[0].text.toStdString();
    EXPECT_GE(ticks.load(), 2);
  }
}

TEST(GifAnimatorTest, AsyncDrawingAdvancesFromTheTimerThread) {
  Panel panel;
  panel.animator->setImage(frames(4, 5));
  panel.animator->setAsyncDrawing(true);
  panel.window.show();
  std::atomic<int> changes{0};
  QObject::connect(
      panel.animator, &TGIFAnimator::OnFrameChanged, panel.animator, [&] { ++changes; },
      Qt::DirectConnection);
  panel.animator->setAnimate(true);
  processEventsFor(600);
  EXPECT_GE(changes.load(), 3);
  panel.animator->setAnimate(false);
}

}  // namespace
}  // namespace wf
