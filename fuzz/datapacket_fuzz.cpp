// Feeds raw bytes to the datapacket reader. A packet it accepts must also encode, encoding what
// the encoded bytes decode to must give the same bytes again, and decoding row by row must give
// the same packet as decoding it whole. Encoding row by row into a sink must give the same bytes.
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
  wf::DataPacket streamed =
      wf::decodeDataPacket(bytes, [&](const wf::Row& row) { rows.push_back(row); });
  streamed.rows = std::move(rows);
  if (wf::encodeDataPacket(streamed) != once) std::abort();

  wf::VectorSink sink;
  wf::encodeDataPacket(
      packet, packet.rows.size(),
      [&](std::size_t i, wf::RowView& row) {
        row.status = packet.rows[i].status;
        row.values.clear();
        for (const wf::Value& v : packet.rows[i].values) row.values.push_back(wf::ValueView::of(v));
      },
      sink);
  if (sink.bytes != once) std::abort();
  return 0;
}
