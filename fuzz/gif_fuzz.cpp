// Feeds raw bytes to the GIF decoder and composes every frame of what it accepts. Needs no
// display: decoding and composition produce QImages only.
#include "controls/gif_composer.h"
#include "controls/gif_image.h"

#include <cstddef>
#include <cstdint>
#include <new>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  wf::TGIFImage image;
  try {
    image.loadFromData(data, size);
  } catch (const wf::GifError&) {
    return 0;
  } catch (const std::bad_alloc&) {
    return 0;
  }
  if (image.isEmpty() || image.screenSize().isEmpty()) return 0;
  wf::GifComposer composer;
  for (int n = 0; n < image.frameCount(); ++n) composer.compose(image, n, true);
  // Out of order, so that the replaying path runs as well as the incremental one.
  wf::GifComposer replay;
  replay.compose(image, image.frameCount() - 1, false);
  return 0;
}
