// Reads a table file for the client table: the columns and parameters as decodeDataPacket gives
// them, and the rows one by one straight into the table's own storage, so that a large file
// never exists as a whole vector of decoded rows. Files of the kinds this system writes take a
// fast path; anything else goes through decodeDataPacket, with the same result and the same
// failures.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "store/datapacket.h"

namespace wf {

class RowConsumer {
 public:
  virtual ~RowConsumer() = default;
  // Called with the columns and parameters before the rows, and again when reading starts
  // over: drop any row received so far.
  virtual void begin(const DataPacket& meta, std::size_t expectedRows) = 0;
  // One current row (rows of a change log that are not current are skipped), in file order. The
  // views are valid during the call only. For a large table the rows arrive on a second thread
  // (one call at a time, all before loadDataPacket returns); begin() always comes on the caller's.
  virtual void row(const std::vector<ValueView>& values) = 0;
};

// The packet without rows; its rows went to consumer. Throws DataPacketError for a packet that
// decodeDataPacket refuses.
DataPacket loadDataPacket(std::span<const std::uint8_t> bytes, RowConsumer& consumer);

}  // namespace wf
