#include "store/write_behind_sink.h"

#include <utility>

namespace wf {

void WriteBehindSink::handOver(std::vector<uint8_t>& buffer, std::size_t size) {
  writer_.waitIdle();
  const std::size_t capacity = buffer.size();
  std::swap(buffer, inFlight_);
  if (buffer.size() < capacity) buffer.resize(capacity);
  writer_.start([this, size] { target_.append(inFlight_.data(), size); });
}

void WriteBehindSink::append(const uint8_t* data, std::size_t size) {
  writer_.waitIdle();
  target_.append(data, size);
}

void WriteBehindSink::overwrite(std::size_t offset, const uint8_t* data, std::size_t size) {
  // The bytes being replaced may be in the write in flight: let it land first.
  writer_.waitIdle();
  target_.overwrite(offset, data, size);
}

}  // namespace wf
