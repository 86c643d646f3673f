// Hands the rows of a table file to their consumer on a second thread, in batches, so that
// decoding the next rows and storing the last ones run side by side on two cores.
#pragma once

#include <cstddef>
#include <vector>

#include "store/datapacket.h"
#include "store/hand_off_thread.h"
#include "store/packet_loader.h"

namespace wf {

class RowPipeline {
 public:
  // Rows in a batch: enough that handing one over costs little, few enough that the consumer
  // starts early and the batch stays in the caches.
  static constexpr std::size_t kBatchRows = 2048;

  // The consumer's failure, should the reader give up before finish(), is dropped: the reader's
  // own error is the one to report.
  explicit RowPipeline(RowConsumer& consumer);

  RowPipeline(const RowPipeline&) = delete;
  RowPipeline& operator=(const RowPipeline&) = delete;

  // Queues a row. Its views must stay valid until finish() returns: they point into the file.
  void push(const std::vector<ValueView>& values);
  // Waits until the consumer has every row; throws what the consumer threw, if anything.
  void finish();

 private:
  using Batch = std::vector<std::vector<ValueView>>;
  void handOver();

  RowConsumer& consumer_;
  Batch filling_;
  std::size_t filled_ = 0;
  Batch inFlight_;
  // Last member: destroyed first, so the rows in flight are stored before their batch goes.
  HandOffThread storer_;
};

}  // namespace wf
