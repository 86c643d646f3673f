// Feeds raw bytes to the JPEG decoder: any input must decode or fail with JpegError, reading
// nothing past the buffer.
#include "framework/jpeg_codec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    // A lower pixel cap keeps each run short; the cap itself is checked by the unit tests.
    const QImage image = wf::decodeJpeg(data, size, 4'000'000);
    if (!image.isNull()) (void)image.pixel(image.width() - 1, image.height() - 1);
  } catch (const wf::JpegError&) {}
  return 0;
}
