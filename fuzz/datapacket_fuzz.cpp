// Feeds raw bytes to the datapacket reader. A packet it accepts must also encode, and encoding
// what the encoded bytes decode to must give the same bytes again.
#include "store/datapacket.h"

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  wf::DataPacket packet;
  try {
    packet = wf::decodeDataPacket(std::span<const uint8_t>(data, size));
  } catch (const wf::DataPacketError&) {
    return 0;
  }
  const std::vector<uint8_t> once = wf::encodeDataPacket(packet);
  const std::vector<uint8_t> twice = wf::encodeDataPacket(wf::decodeDataPacket(once));
  if (once != twice) std::abort();
  return 0;
}
