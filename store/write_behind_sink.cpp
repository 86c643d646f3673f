#include "store/write_behind_sink.h"

#include <utility>

namespace wf {

WriteBehindSink::WriteBehindSink(ByteSink& target)
    : target_(target), writer_([this] { writerLoop(); }) {}

WriteBehindSink::~WriteBehindSink() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  writer_.join();
}

void WriteBehindSink::writerLoop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return busy_ || stopping_; });
    if (!busy_) return;  // stopping with nothing left to write
    lock.unlock();
    std::exception_ptr failure;
    try {
      target_.append(inFlight_.data(), inFlightSize_);
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    if (failure && !failure_) failure_ = failure;
    busy_ = false;
    changed_.notify_all();
  }
}

void WriteBehindSink::waitIdle(std::unique_lock<std::mutex>& lock) {
  changed_.wait(lock, [this] { return !busy_; });
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void WriteBehindSink::handOver(std::vector<uint8_t>& buffer, std::size_t size) {
  std::unique_lock lock(mutex_);
  waitIdle(lock);
  const std::size_t capacity = buffer.size();
  std::swap(buffer, inFlight_);
  if (buffer.size() < capacity) buffer.resize(capacity);
  inFlightSize_ = size;
  busy_ = true;
  lock.unlock();
  changed_.notify_all();
}

void WriteBehindSink::append(const uint8_t* data, std::size_t size) {
  std::unique_lock lock(mutex_);
  waitIdle(lock);
  target_.append(data, size);
}

void WriteBehindSink::overwrite(std::size_t offset, const uint8_t* data, std::size_t size) {
  // The bytes being replaced may be in the write in flight: let it land first.
  std::unique_lock lock(mutex_);
  waitIdle(lock);
  target_.overwrite(offset, data, size);
}

void WriteBehindSink::finish() {
  std::unique_lock lock(mutex_);
  waitIdle(lock);
}

}  // namespace wf
