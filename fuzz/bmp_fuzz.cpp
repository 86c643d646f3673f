// Feeds raw bytes to the bitmap reader: any input must decode or fail with BitmapError, reading
// nothing past the buffer.
#include "framework/bitmap_reader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const QImage image = wf::readBitmap(data, size, 4'000'000);
    if (!image.isNull()) (void)image.pixel(image.width() - 1, image.height() - 1);
  } catch (const wf::BitmapError&) {}
  return 0;
}
