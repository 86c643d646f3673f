#include "store/write_behind_sink.h"

#include <gtest/gtest.h>

#include <numeric>
#include <stdexcept>

namespace wf {
namespace {

std::vector<uint8_t> counting(std::size_t size, uint8_t first) {
  std::vector<uint8_t> bytes(size);
  std::iota(bytes.begin(), bytes.end(), first);
  return bytes;
}

// Fails its n-th append, as a full disk would in the middle of a file.
class FailingSink : public VectorSink {
 public:
  explicit FailingSink(int failAt) : failAt_(failAt) {}
  void append(const uint8_t* data, std::size_t size) override {
    if (++appends_ == failAt_) throw std::runtime_error("disk full");
    VectorSink::append(data, size);
  }

 private:
  int failAt_;
  int appends_ = 0;
};

TEST(WriteBehindSink, KeepsTheOrderOfBuffersAppendsAndLatePatches) {
  VectorSink file;
  std::vector<uint8_t> expected;
  {
    WriteBehindSink sink(file);
    std::vector<uint8_t> buffer;
    for (int i = 0; i < 50; ++i) {
      const std::size_t used = 1000 + std::size_t(i) * 37;
      buffer = counting(4096, uint8_t(i));  // the producer refills whatever buffer it got back
      expected.insert(expected.end(), buffer.begin(), buffer.begin() + long(used));
      sink.handOver(buffer, used);
      EXPECT_GE(buffer.size(), 4096u) << "the buffer given back must be as large";
      if (i % 10 == 9) {
        const uint8_t direct[] = {0xAA, 0xBB};
        sink.append(direct, 2);
        expected.insert(expected.end(), {0xAA, 0xBB});
      }
    }
    // A header field patched at the end, while the last buffer may still be on its way.
    const uint8_t count[] = {9, 9, 9, 9};
    sink.overwrite(4, count, 4);
    std::copy(count, count + 4, expected.begin() + 4);
    sink.finish();
  }
  EXPECT_EQ(file.bytes, expected);
}

TEST(WriteBehindSink, AWriteFailureReachesTheProducer) {
  for (const bool failAtFinish : {false, true}) {
    SCOPED_TRACE(failAtFinish ? "noticed at finish" : "noticed at the next hand-over");
    FailingSink file(3);
    WriteBehindSink sink(file);
    std::vector<uint8_t> buffer(64, 1);
    sink.handOver(buffer, 64);
    sink.handOver(buffer, 64);
    sink.handOver(buffer, 64);  // the third write fails on the writer thread
    if (failAtFinish) {
      EXPECT_THROW(sink.finish(), std::runtime_error);
    } else {
      EXPECT_THROW(
          {
            for (int i = 0; i < 3; ++i) sink.handOver(buffer, 64);
          },
          std::runtime_error);
    }
    EXPECT_EQ(file.bytes.size(), 128u);
  }
}

TEST(WriteBehindSink, GivingUpWithAWriteInFlightNeitherThrowsNorHangs) {
  FailingSink file(1);
  {
    WriteBehindSink sink(file);
    std::vector<uint8_t> buffer(64, 1);
    sink.handOver(buffer, 64);
    // The producer fails here; the sink is destroyed with the writer's failure unclaimed.
  }
  EXPECT_TRUE(file.bytes.empty());
}

}  // namespace
}  // namespace wf
