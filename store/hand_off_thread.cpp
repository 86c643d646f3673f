#include "store/hand_off_thread.h"

#include <utility>

namespace wf {

HandOffThread::HandOffThread() : thread_([this] { loop(); }) {}

HandOffThread::~HandOffThread() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void HandOffThread::loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return busy_ || stopping_; });
    if (!busy_) return;  // stopping with nothing left to run
    lock.unlock();
    std::exception_ptr failure;
    try {
      job_();
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    if (failure && !failure_) failure_ = failure;
    busy_ = false;
    changed_.notify_all();
  }
}

void HandOffThread::waitIdle() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !busy_; });
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void HandOffThread::start(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    job_ = std::move(job);
    busy_ = true;
  }
  changed_.notify_all();
}

}  // namespace wf
