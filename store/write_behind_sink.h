// Lets a producer fill its next buffer while the last one is still being written: a second
// thread hands each full buffer to the real sink, so encoding a table and writing it to disk
// run side by side instead of taking turns.
#pragma once

#include "store/byte_sink.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace wf {

class WriteBehindSink : public ByteSink {
 public:
  explicit WriteBehindSink(ByteSink& target);
  // Waits for the write in flight; a failure nobody asked about by then is dropped, because the
  // producer has already failed and its own error is the one to report.
  ~WriteBehindSink() override;

  WriteBehindSink(const WriteBehindSink&) = delete;
  WriteBehindSink& operator=(const WriteBehindSink&) = delete;

  // Written at once, after the buffer in flight.
  void append(const uint8_t* data, std::size_t size) override;
  // Takes the buffer's first `size` bytes to write on the writer thread and gives back the
  // buffer of the write before (at least as large), so no byte is copied.
  void handOver(std::vector<uint8_t>& buffer, std::size_t size) override;
  void overwrite(std::size_t offset, const uint8_t* data, std::size_t size) override;

  // Waits until everything handed over is written; throws the writer's failure, if any.
  void finish();

 private:
  void writerLoop();
  // Waits for the write in flight and rethrows its failure. Called with the lock held.
  void waitIdle(std::unique_lock<std::mutex>& lock);

  ByteSink& target_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<uint8_t> inFlight_;
  std::size_t inFlightSize_ = 0;
  bool busy_ = false;
  bool stopping_ = false;
  std::exception_ptr failure_;
  std::thread writer_;
};

}  // namespace wf
