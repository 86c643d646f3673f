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
    builder.control(delayHundredths, GifDisposal::Keep)
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
  // With `manualClock` the frames advance only as the test lets time pass (tick()).
  explicit Panel(bool manualClock = false) {
    window.resize(235, 127);
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, kPanel);
    window.setPalette(palette);
    animator = new TGIFAnimator(&window);
    animator->move(96, 40);
    if (manualClock) animator->timer().useManualClock();
  }
  void tick(int milliseconds) { animator->timer().advance(milliseconds); }
  // The frame index after each frame change from now on.
  std::vector<int>& recordFrames() {
    QObject::connect(animator, &TGIFAnimator::OnFrameChanged,
                     [this] { frames.push_back(animator->FrameIndex()); });
    return frames;
  }
  std::vector<int> frames;
};

TEST(GifAnimatorTest, FrameDelaysAreClamped) {
  struct Case {
    int hundredths, milliseconds;
  };
  for (Case c : {Case{0, 50}, Case{2, 50}, Case{5, 50}, Case{10, 100}, Case{1000, 10000},
                 Case{1001, 10000}, Case{65535, 10000}}) {
    Panel panel(true);
    panel.animator->setImage(frames(2, c.hundredths));
    EXPECT_EQ(panel.animator->frameDelay(), c.milliseconds) << c.hundredths;
    EXPECT_EQ(panel.animator->timer().interval(), c.milliseconds) << c.hundredths;
    // Frame 0 stays for exactly the clamped delay.
    panel.window.show();
    panel.animator->setAnimate(true);
    panel.tick(c.milliseconds - 1);
    EXPECT_EQ(panel.animator->FrameIndex(), 0) << c.hundredths;
    panel.tick(1);
    EXPECT_EQ(panel.animator->FrameIndex(), 1) << c.hundredths;
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
  // An interval of 0 keeps the timer inactive, so its thread never starts and nothing can tick.
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
  Panel panel(true);
  panel.animator->setImage(frames(3, 5));  // 50 ms a frame
  panel.animator->setLoop(false);
  panel.window.show();
  const std::vector<int>& seen = panel.recordFrames();
  QSignalSpy started(panel.animator, &TGIFAnimator::OnStart);
  QSignalSpy stopped(panel.animator, &TGIFAnimator::OnStop);
  panel.animator->setAnimate(true);
  EXPECT_EQ(started.count(), 1);
  panel.tick(149);
  EXPECT_EQ(seen, (std::vector<int>{1, 2}));
  EXPECT_EQ(stopped.count(), 0);
  panel.tick(1);
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(stopped.count(), 1);
  EXPECT_FALSE(panel.animator->Animate());
  panel.tick(1000);
  EXPECT_EQ(seen.size(), 3u);
  EXPECT_EQ(panel.animator->FrameIndex(), 0);
}

TEST(GifAnimatorTest, BusyWheelPlaysInOrderAndLoops) {
  Panel panel(true);
  panel.animator->loadFromData(busyWheelGif());
  panel.window.show();
  panel.animator->setFrameIndex(10);
  const std::vector<int>& seen = panel.recordFrames();
  panel.animator->setAnimate(true);
  panel.tick(99);  // 100 ms a frame
  EXPECT_TRUE(seen.empty());
  panel.tick(1);
  EXPECT_EQ(seen, (std::vector<int>{11}));
  panel.tick(1200);  // one whole turn more
  EXPECT_EQ(seen, (std::vector<int>{11, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
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
  // Cores of the twelve, three and nine o'clock spokes, and the empty hub. The leading spoke of
  // frame n is spoke n, grey 40; the four that trail it are 90, 140, 180 and 215, the rest 215.
  struct Probe {
    QPoint at;
    QRgb colour[3];  // in frames 0, 1, 2
  };
  const Probe probes[] = {
      {{16, 5}, {qRgb(40, 40, 40), qRgb(90, 90, 90), qRgb(140, 140, 140)}},
      {{5, 16}, {qRgb(180, 180, 180), qRgb(215, 215, 215), qRgb(215, 215, 215)}},
      {{26, 16}, {qRgb(215, 215, 215), qRgb(215, 215, 215), qRgb(215, 215, 215)}},
      {{16, 16}, {kPanel.rgb(), kPanel.rgb(), kPanel.rgb()}},
  };
  for (int n = 0; n < 3; ++n) {
    panel.animator->setFrameIndex(n);
    const QImage expected = composer.compose(wheel, n, true);
    const QImage shown = panel.window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        QRgb want =
            expected.pixel(x, y) == qRgb(255, 255, 255) ? kPanel.rgb() : expected.pixel(x, y);
        ASSERT_EQ(shown.pixel(96 + x, 40 + y), want) << "frame " << n << " at " << x << "," << y;
      }
    for (const Probe& p : probes)
      EXPECT_EQ(shown.pixel(QPoint(96, 40) + p.at), p.colour[n])
          << "frame " << n << " at " << p.at.x() << "," << p.at.y();
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
  for (bool fromAnotherThread : {false, true}) {
    MessageBoxRecorder boxes;
    ThreadTimer timer;
    timer.useManualClock();
    std::atomic<int> ticks{0};
    timer.setInterval(10);
    timer.setOnTimer([&] {
      ++ticks;
      throw std::runtime_error("tick failed");
    });
    if (fromAnotherThread) {
      std::thread([&] { timer.advance(20); }).join();
      QCoreApplication::processEvents();  // the failures are handed to the GUI thread to show
    } else {
      timer.advance(20);
    }
    EXPECT_EQ(ticks.load(), 2) << "from another thread " << fromAnotherThread;
    ASSERT_EQ(boxes.boxes().size(), 2u) << "from another thread " << fromAnotherThread;
    EXPECT_EQ(boxes.boxes()[0].kind, MessageKind::DefaultError);
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith(QStringLiteral("tick failed")))
        << boxes.boxes()[0].text.toStdString();
  }
}

TEST(ThreadTimerTest, ManualClockTicksOnWholeIntervalsAndChangesRestartTheWait) {
  ThreadTimer timer;
  timer.useManualClock();
  int ticks = 0;
  timer.setInterval(30);
  timer.setOnTimer([&] { ++ticks; });
  EXPECT_FALSE(timer.threadStarted());
  timer.advance(29);
  EXPECT_EQ(ticks, 0);
  timer.advance(32);  // 61 ms: two ticks, 1 ms into the third wait
  EXPECT_EQ(ticks, 2);
  timer.setInterval(40);  // restarts the wait
  timer.advance(39);
  EXPECT_EQ(ticks, 2);
  timer.advance(1);
  EXPECT_EQ(ticks, 3);
  timer.setEnabled(false);
  timer.advance(1000);
  EXPECT_EQ(ticks, 3);
  timer.setEnabled(true);
  timer.advance(40);
  EXPECT_EQ(ticks, 4);
  EXPECT_FALSE(timer.threadStarted());
}

TEST(GifAnimatorTest, AsyncDrawingAdvancesFromTheTimerThread) {
  Panel panel(true);
  panel.animator->setImage(frames(4, 5));  // 50 ms a frame
  panel.animator->setAsyncDrawing(true);
  panel.window.show();
  std::atomic<int> changes{0};
  std::thread::id changedOn;
  QObject::connect(
      panel.animator, &TGIFAnimator::OnFrameChanged, panel.animator,
      [&] {
        ++changes;
        changedOn = std::this_thread::get_id();
      },
      Qt::DirectConnection);
  panel.animator->setAnimate(true);
  std::thread timerThread([&] { panel.tick(150); });
  const std::thread::id timerThreadId = timerThread.get_id();
  timerThread.join();
  EXPECT_EQ(changes.load(), 3);
  EXPECT_EQ(changedOn, timerThreadId);
  EXPECT_EQ(panel.animator->FrameIndex(), 3);
  panel.animator->setAnimate(false);
}

}  // namespace
}  // namespace wf
