// The variable-length LZW decoding of a GIF image's pixel data, for the minimum code sizes the
// decoding library refuses (9: codes start 10 bits wide). Pictures with smaller code sizes are
// decoded by the library itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wf {

enum class LzwResult {
  Ok,
  Corrupt,  // a code the table cannot hold, a pixel value above 255, or the end code too early
};

// Decodes `pixelCount` colour indexes from `data` (the image's sub-blocks joined, without their
// length bytes) into `pixels`. Codes after the last pixel are ignored. Never reads past `data`:
// data that ends before the last pixel is corrupt.
LzwResult decodeLzw(const std::vector<std::uint8_t>& data, int minCodeSize, std::size_t pixelCount,
                    std::vector<std::uint8_t>& pixels);

}  // namespace wf
