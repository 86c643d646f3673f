// Lets a producer fill its next buffer while the last one is still being written: a second
// thread hands each full buffer to the real sink, so encoding a table and writing it to disk
// run side by side instead of taking turns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "store/byte_sink.h"
#include "store/hand_off_thread.h"

namespace wf {

class WriteBehindSink : public ByteSink {
 public:
  explicit WriteBehindSink(ByteSink& target) : target_(target) {}

  // Written at once, after the buffer in flight.
  void append(const uint8_t* data, std::size_t size) override;
  // Takes the buffer's first `size` bytes to write on the writer thread and gives back the
  // buffer of the write before (at least as large), so no byte is copied.
  void handOver(std::vector<uint8_t>& buffer, std::size_t size) override;
  void overwrite(std::size_t offset, const uint8_t* data, std::size_t size) override;

  // Waits until everything handed over is written; throws the writer's failure, if any.
  void finish() { writer_.waitIdle(); }

 private:
  ByteSink& target_;
  std::vector<uint8_t> inFlight_;
  // Last member: destroyed first, so the write in flight ends before the buffer goes.
  HandOffThread writer_;
};

}  // namespace wf
