// Feeds raw bytes to the datapacket reader. A packet it accepts must also encode, encoding what
// the encoded bytes decode to must give the same bytes again, and decoding row by row must give
// the same packet as decoding it whole.
#include "store/datapacket.h"

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  wf::DataPacket packet;
  try {
    packet = wf::decodeDataPacket(bytes);
  } catch (const wf::DataPacketError&) {
    return 0;
  }
  const std::vector<uint8_t> once = wf::encodeDataPacket(packet);
  const std::vector<uint8_t> twice = wf::encodeDataPacket(wf::decodeDataPacket(once));
  if (once != twice) std::abort();

  std::vector<wf::Row> rows;
  wf::DataPacket streamed = wf::decodeDataPacket(bytes, [&](const wf::Row& row) { rows.push_back(row); });
  streamed.rows = std::move(rows);
  if (wf::encodeDataPacket(streamed) != once) std::abort();
  return 0;
}
