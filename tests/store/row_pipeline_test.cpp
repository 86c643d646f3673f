// Loading a large table hands its rows to the store on a second thread; the rows must arrive
// complete, in file order, and a failure while storing must reach the loader.
#include "store/row_pipeline.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>

#include "datapacket_test_tables.h"
#include "store/datapacket_writer.h"

namespace wf {
namespace {

std::string text(const std::vector<ValueView>& values) {
  std::string out;
  for (const ValueView& v : values) {
    switch (v.kind) {
      case ValueView::Kind::Int: out += std::to_string(v.integer); break;
      case ValueView::Kind::Double: out += std::to_string(v.number); break;
      case ValueView::Kind::Bytes: out += v.bytes; break;
      default: out += "null"; break;
    }
    out += '|';
  }
  return out;
}

// Keeps every row it is offered as text, and the thread it was called on.
class RecordingConsumer : public RowConsumer {
 public:
  void begin(const DataPacket&, std::size_t expected) override {
    begun++;
    rows.clear();
    rows.reserve(expected);
  }
  void row(const std::vector<ValueView>& values) override {
    if (failAt >= 0 && int(rows.size()) == failAt) throw std::runtime_error("record too large");
    rowThread = std::this_thread::get_id();
    rows.push_back(text(values));
  }
  int begun = 0;
  int failAt = -1;
  std::vector<std::string> rows;
  std::thread::id rowThread;
};

// A service-line packet of `count` rows whose product names carry the row number, so that a
// lost, doubled or reordered row shows.
DataPacket serviceLines(int count) {
  DataPacket packet = testing::emptyPacketOf("ServiceLine.cds");
  for (int i = 0; i < count; ++i) {
    Row row;
    row.values = {Value::fromInt(i + 1), Value::fromInt(i / 3),
                  Value::fromBytes("part " + std::to_string(i)),
                  i % 7 == 0 ? Value() : Value::fromInt(i % 5), Value::fromDouble(i * 0.25)};
    packet.rows.push_back(std::move(row));
  }
  return packet;
}

TEST(RowPipeline, ALargeTableArrivesWholeAndInOrderOnTheSecondThread) {
  for (const int count : {20000 - 1, 20000, 3 * int(RowPipeline::kBatchRows) * 4 + 17}) {
    SCOPED_TRACE(count);
    const DataPacket packet = serviceLines(count);
    const std::vector<uint8_t> bytes = encodeDataPacket(packet);
    RecordingConsumer consumer;
    loadDataPacket(bytes, consumer);
    ASSERT_EQ(consumer.rows.size(), std::size_t(count));
    EXPECT_EQ(consumer.begun, 1);
    std::vector<std::string> expected;
    for (const Row& row : packet.rows) {
      std::vector<ValueView> views;
      for (const Value& v : row.values) views.push_back(ValueView::of(v));
      expected.push_back(text(views));
    }
    EXPECT_EQ(consumer.rows, expected);
    const bool pipelined = count >= 20000;
    EXPECT_EQ(consumer.rowThread != std::this_thread::get_id(), pipelined);
  }
}

TEST(RowPipeline, AFailureWhileStoringReachesTheLoader) {
  const std::vector<uint8_t> bytes = encodeDataPacket(serviceLines(50000));
  for (const int failAt : {0, 3000, 49999}) {
    SCOPED_TRACE(failAt);
    RecordingConsumer consumer;
    consumer.failAt = failAt;
    EXPECT_THROW(loadDataPacket(bytes, consumer), std::runtime_error);
    EXPECT_EQ(consumer.rows.size(), std::size_t(failAt));
  }
}

TEST(RowPipeline, DroppedWithRowsInFlightItNeitherThrowsNorHangs) {
  RecordingConsumer consumer;
  consumer.failAt = 10;
  {
    RowPipeline pipeline(consumer);
    std::vector<ValueView> row(1);
    row[0].setInt(7);
    for (std::size_t i = 0; i < RowPipeline::kBatchRows + 5; ++i) pipeline.push(row);
    // The reader gives up here without finish(): the consumer's failure is nobody's to report.
  }
  EXPECT_EQ(consumer.rows.size(), 10u);
}

}  // namespace
}  // namespace wf
