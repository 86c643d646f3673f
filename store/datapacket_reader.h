// Decoding of a datapacket's bytes into a DataPacket (declared in datapacket.h); this header only
// adds the reader's limits for callers that want to state them.
#pragma once

#include "store/datapacket.h"

#include <cstddef>
#include <span>
#include <string>

namespace wf {

// The largest varying value (other than a blob or memo) the reader accepts for these columns:
// 258 bytes, or the largest storage size of one of the columns when that is larger.
std::size_t valueBufferLimit(std::span<const Column> columns);

// What is wrong with a refused packet, in words for the user that fit in "<file> is damaged (%s)":
// "it ends inside a record", "it does not begin as a table file does", ...
std::string damageDescription(const DataPacketError& damage);

}  // namespace wf
