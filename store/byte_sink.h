// Where a producer of a long byte sequence (an encoded table) puts its bytes piece by piece, so
// the whole sequence never has to sit in memory at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace wf {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Adds bytes at the end. Throws when they cannot be kept (a failed write).
  virtual void append(const uint8_t* data, std::size_t size) = 0;
  // Replaces bytes already appended, for a header field known only at the end.
  virtual void overwrite(std::size_t offset, const uint8_t* data, std::size_t size) = 0;
  // Adds a producer's buffer's first `size` bytes at the end. A sink may keep the buffer and give
  // another one back in its place, at least as large; the producer then carries on filling that.
  virtual void handOver(std::vector<uint8_t>& buffer, std::size_t size) {
    append(buffer.data(), size);
  }
};

// Collects everything in memory.
class VectorSink : public ByteSink {
 public:
  void append(const uint8_t* data, std::size_t size) override {
    bytes.insert(bytes.end(), data, data + size);
  }
  void overwrite(std::size_t offset, const uint8_t* data, std::size_t size) override {
    if (offset > bytes.size() || size > bytes.size() - offset)
      throw std::out_of_range("overwrite past the end");
    std::memcpy(bytes.data() + offset, data, size);
  }

  std::vector<uint8_t> bytes;
};

}  // namespace wf
