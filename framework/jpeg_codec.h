// JPEG decoding and encoding on libjpeg-turbo. Failures carry the decoder's own message number:
// "JPEG error #<n>".
#pragma once

#include <QByteArray>
#include <QImage>

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace wf {

class JpegError : public std::runtime_error {
 public:
  explicit JpegError(int code);
  int code() const { return code_; }

 private:
  int code_;
};

// Images larger than this many pixels are refused (as "image too big") before any pixel memory
// is taken.
inline constexpr std::uint64_t kMaxJpegPixels = 100'000'000;

// Decodes a whole JPEG stream held in memory into an RGB32 image. Reads only the size bytes
// given. A stream that ends early or whose data is corrupt fails with the number of the
// decoder's warning, as a stream it cannot decode at all does. Throws JpegError.
QImage decodeJpeg(const std::uint8_t* data, std::size_t size,
                  std::uint64_t maxPixels = kMaxJpegPixels);
QImage decodeJpeg(const QByteArray& bytes);

// Encodes an image as a baseline JPEG at the given quality (1 to 100). Alpha is dropped.
// Throws JpegError.
QByteArray encodeJpeg(const QImage& image, int quality);

}  // namespace wf
