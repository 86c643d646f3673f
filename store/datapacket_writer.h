// Encoding of a DataPacket (declared in datapacket.h) into the bytes of a table file; this header
// only adds the size estimate the writer reserves with.
#pragma once

#include "store/datapacket.h"

#include <cstddef>

namespace wf {

// An upper bound of encodeDataPacket(packet).size(), cheap to work out: the writer allocates
// this once and never grows its buffer.
std::size_t encodedSizeBound(const DataPacket& packet);

}  // namespace wf
