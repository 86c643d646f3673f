// A timer whose clock is a background thread: the thread sleeps for the interval, then runs the
// tick handler on the GUI thread and waits for it to finish before sleeping again (or runs it in
// the thread itself when asked to). Used by the GIF animator to follow each frame's delay.
#pragma once

#include <QObject>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace wf {

class ThreadTimer : public QObject {
  Q_OBJECT

 public:
  // Create and use on the GUI thread. The thread starts when the timer first becomes active.
  explicit ThreadTimer(QObject* parent = nullptr);
  // Ends the thread. Safe while the thread is sleeping or waiting for a tick to be handled: a
  // waiting thread is released instead of being waited for, so this never deadlocks.
  ~ThreadTimer() override;

  // Each change restarts the current sleep. 0 keeps the timer from ticking.
  void setInterval(int milliseconds);
  int interval() const;
  void setEnabled(bool enabled);
  bool isEnabled() const;
  void setOnTimer(std::function<void()> handler);
  // True: the handler runs in the timer thread; false (default): on the GUI thread.
  void setRunInThread(bool inThread);
  bool runsInThread() const;

  // Whether ticks are due: enabled, a non-zero interval and a handler.
  bool isActive() const;
  // Whether the background thread has ever been started.
  bool threadStarted() const;

  // For tests that count ticks instead of waiting for them. Call before the timer first becomes
  // active: the background thread is then never started, and time passes only through advance.
  void useManualClock();
  // Lets `milliseconds` pass on the manual clock. Every time a whole interval has passed since
  // the last tick or setting change, the handler runs on the calling thread, as the background
  // thread would have run it.
  void advance(int milliseconds);

 private:
  void changed();  // caller holds mutex_
  bool activeLocked() const { return enabled_ && interval_ > 0 && handler_; }
  void run();
  void deliverTick(std::uint64_t ticket);
  static void runHandler(const std::function<void()>& handler);

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;
  std::function<void()> handler_;
  int interval_ = 1000;
  bool enabled_ = true;
  bool inThread_ = false;
  bool terminated_ = false;
  bool manualClock_ = false;
  int manualElapsed_ = 0;          // manual clock: time since the last tick or setting change
  std::uint64_t generation_ = 0;   // bumped by every setting change
  std::uint64_t ticketsDone_ = 0;  // last GUI tick that has finished
};

}  // namespace wf
