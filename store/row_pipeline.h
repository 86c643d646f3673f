// Hands the rows of a table file to their consumer on a second thread, in batches, so that
// decoding the next rows and storing the last ones run side by side on two cores.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "store/datapacket.h"
#include "store/packet_loader.h"

namespace wf {

class RowPipeline {
 public:
  // Rows in a batch: enough that handing one over costs little, few enough that the consumer
  // starts early and the batch stays in the caches.
  static constexpr std::size_t kBatchRows = 2048;

  explicit RowPipeline(RowConsumer& consumer);
  // Waits for the consumer; a failure nobody claimed with finish() is dropped, because the
  // reader has failed itself and its error is the one to report.
  ~RowPipeline();

  RowPipeline(const RowPipeline&) = delete;
  RowPipeline& operator=(const RowPipeline&) = delete;

  // Queues a row. Its views must stay valid until finish() returns: they point into the file.
  void push(const std::vector<ValueView>& values);
  // Waits until the consumer has every row; throws what the consumer threw, if anything.
  void finish();

 private:
  using Batch = std::vector<std::vector<ValueView>>;
  void consumerLoop();
  void handOver();
  void waitIdle(std::unique_lock<std::mutex>& lock);

  RowConsumer& consumer_;
  Batch filling_;
  std::size_t filled_ = 0;
  std::mutex mutex_;
  std::condition_variable changed_;
  Batch inFlight_;
  std::size_t inFlightRows_ = 0;
  bool busy_ = false;
  bool stopping_ = false;
  std::exception_ptr failure_;
  std::thread worker_;
};

}  // namespace wf
