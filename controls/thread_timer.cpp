#include "controls/thread_timer.h"

#include "framework/message_box.h"
#include "framework/text_codec.h"
#include "framework/wf_application.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <QtGlobal>

#include <chrono>
#include <exception>
#include <stdexcept>

namespace wf {

ThreadTimer::ThreadTimer(QObject* parent) : QObject(parent) {}

ThreadTimer::~ThreadTimer() {
  {
    std::lock_guard lock(mutex_);
    terminated_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  // A tick posted just before the end is dropped with this object's pending events.
}

void ThreadTimer::setInterval(int milliseconds) {
  std::lock_guard lock(mutex_);
  if (interval_ == milliseconds) return;
  interval_ = milliseconds;
  changed();
}

int ThreadTimer::interval() const {
  std::lock_guard lock(mutex_);
  return interval_;
}

void ThreadTimer::setEnabled(bool enabled) {
  std::lock_guard lock(mutex_);
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  changed();
}

bool ThreadTimer::isEnabled() const {
  std::lock_guard lock(mutex_);
  return enabled_;
}

void ThreadTimer::setOnTimer(std::function<void()> handler) {
  std::lock_guard lock(mutex_);
  handler_ = std::move(handler);
  changed();
}

void ThreadTimer::setRunInThread(bool inThread) {
  std::lock_guard lock(mutex_);
  inThread_ = inThread;
}

bool ThreadTimer::runsInThread() const {
  std::lock_guard lock(mutex_);
  return inThread_;
}

bool ThreadTimer::isActive() const {
  std::lock_guard lock(mutex_);
  return activeLocked();
}

bool ThreadTimer::threadStarted() const {
  std::lock_guard lock(mutex_);
  return thread_.joinable();
}

void ThreadTimer::useManualClock() {
  std::lock_guard lock(mutex_);
  if (thread_.joinable()) throw std::logic_error("the timer's thread is already running");
  manualClock_ = true;
}

void ThreadTimer::advance(int milliseconds) {
  std::unique_lock lock(mutex_);
  if (!manualClock_) throw std::logic_error("the timer runs on its own thread's clock");
  int left = milliseconds;
  // Like the thread: each tick waits a whole interval, and the next wait starts afresh.
  while (activeLocked() && left >= interval_ - manualElapsed_) {
    left -= interval_ - manualElapsed_;
    manualElapsed_ = 0;
    std::function<void()> handler = handler_;
    lock.unlock();
    runHandler(handler);
    lock.lock();
  }
  if (activeLocked()) manualElapsed_ += left;
}

void ThreadTimer::changed() {
  ++generation_;
  manualElapsed_ = 0;  // a setting change restarts the wait
  if (activeLocked() && !manualClock_ && !thread_.joinable())
    thread_ = std::thread([this] { run(); });
  wake_.notify_all();
}

void ThreadTimer::run() {
  std::unique_lock lock(mutex_);
  std::uint64_t ticketsPosted = ticketsDone_;
  while (!terminated_) {
    std::uint64_t generation = generation_;
    auto settingsChanged = [&] { return terminated_ || generation_ != generation; };
    if (!activeLocked()) {
      wake_.wait(lock, settingsChanged);
      continue;
    }
    if (wake_.wait_for(lock, std::chrono::milliseconds(interval_), settingsChanged)) continue;

    if (inThread_) {
      std::function<void()> handler = handler_;
      lock.unlock();
      runHandler(handler);
      lock.lock();
      continue;
    }
    // Hand the tick to the GUI thread and wait until it has run. Waiting on our own condition
    // rather than a blocking queued call lets the destructor release this thread at any time.
    std::uint64_t ticket = ++ticketsPosted;
    lock.unlock();
    QMetaObject::invokeMethod(
        this, [this, ticket] { deliverTick(ticket); }, Qt::QueuedConnection);
    lock.lock();
    wake_.wait(lock, [&] { return terminated_ || ticketsDone_ >= ticket; });
  }
}

void ThreadTimer::deliverTick(std::uint64_t ticket) {
  std::function<void()> handler;
  {
    std::lock_guard lock(mutex_);
    if (!terminated_ && enabled_) handler = handler_;
  }
  if (handler) {
    QPointer<ThreadTimer> alive(this);
    runHandler(handler);
    if (!alive) return;  // the handler destroyed its own timer
  }
  {
    std::lock_guard lock(mutex_);
    ticketsDone_ = ticket;
  }
  wake_.notify_all();
}

// A failing tick goes to the application's error handling (the default error box) and the
// timer goes on. From the timer thread the message is handed to the GUI thread to be shown.
void ThreadTimer::runHandler(const std::function<void()>& handler) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || QThread::currentThread() == app->thread()) {
    runGuarded(handler);
    return;
  }
  QString failure;
  try {
    handler();
    return;
  } catch (const std::exception& e) {
    failure = exceptionText(e);
  } catch (...) {}
  QMetaObject::invokeMethod(
      app, [failure] { showDefaultError(failure); }, Qt::QueuedConnection);
}

}  // namespace wf
