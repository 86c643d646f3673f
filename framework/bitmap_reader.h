// Reads Windows bitmap files (BMP): 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed, with
// bit-field masks, or run-length encoded (8 and 4 bits). Every header value is checked against
// the file before it is used; a file that does not hold a bitmap fails with "Bitmap image is not
// valid".
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace wf {

inline constexpr const char* kInvalidBitmapMessage = "Bitmap image is not valid";

class BitmapError : public std::runtime_error {
 public:
  BitmapError() : std::runtime_error(kInvalidBitmapMessage) {}
};

// Images with more pixels than this are refused before any pixel memory is taken.
inline constexpr std::uint64_t kMaxBitmapPixels = 100'000'000;

// Decodes a whole BMP file held in memory into an RGB32 image (alpha is not kept: the program
// works with 24-bit bitmaps). Reads only the size bytes given. Throws BitmapError.
QImage readBitmap(const std::uint8_t* data, std::size_t size,
                  std::uint64_t maxPixels = kMaxBitmapPixels);
QImage readBitmap(const QByteArray& bytes);

// Reads the file, then as readBitmap. Throws "Cannot open file <path>" when it cannot be read.
QImage readBitmapFile(const QString& path);

}  // namespace wf
