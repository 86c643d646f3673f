#include "store/row_pipeline.h"

#include <utility>

namespace wf {

RowPipeline::RowPipeline(RowConsumer& consumer)
    : consumer_(consumer), filling_(kBatchRows), inFlight_(kBatchRows) {}

void RowPipeline::push(const std::vector<ValueView>& values) {
  filling_[filled_++] = values;
  if (filled_ == kBatchRows) handOver();
}

void RowPipeline::handOver() {
  storer_.waitIdle();
  std::swap(filling_, inFlight_);
  const std::size_t rows = std::exchange(filled_, 0);
  storer_.start([this, rows] {
    for (std::size_t i = 0; i < rows; ++i) consumer_.row(inFlight_[i]);
  });
}

void RowPipeline::finish() {
  if (filled_ > 0) handOver();
  storer_.waitIdle();
}

}  // namespace wf
