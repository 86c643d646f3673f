#include "store/row_pipeline.h"

#include <utility>

namespace wf {

RowPipeline::RowPipeline(RowConsumer& consumer)
    : consumer_(consumer),
      filling_(kBatchRows),
      inFlight_(kBatchRows),
      worker_([this] { consumerLoop(); }) {}

RowPipeline::~RowPipeline() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  worker_.join();
}

void RowPipeline::consumerLoop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return busy_ || stopping_; });
    if (!busy_) return;
    lock.unlock();
    std::exception_ptr failure;
    try {
      // After a failure the rest of the rows are not offered: the load has failed.
      if (!failure_)
        for (std::size_t i = 0; i < inFlightRows_; ++i) consumer_.row(inFlight_[i]);
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    if (failure && !failure_) failure_ = failure;
    busy_ = false;
    changed_.notify_all();
  }
}

void RowPipeline::waitIdle(std::unique_lock<std::mutex>& lock) {
  changed_.wait(lock, [this] { return !busy_; });
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void RowPipeline::push(const std::vector<ValueView>& values) {
  filling_[filled_++] = values;
  if (filled_ == kBatchRows) handOver();
}

void RowPipeline::handOver() {
  std::unique_lock lock(mutex_);
  waitIdle(lock);
  std::swap(filling_, inFlight_);
  inFlightRows_ = std::exchange(filled_, 0);
  busy_ = true;
  lock.unlock();
  changed_.notify_all();
}

void RowPipeline::finish() {
  if (filled_ > 0) handOver();
  std::unique_lock lock(mutex_);
  waitIdle(lock);
}

}  // namespace wf
