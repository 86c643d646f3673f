// A JPEG picture as the photo box and the reports hold it. One loaded from a stream keeps exactly
// the bytes it was loaded from and gives them back unchanged; one made from a bitmap holds the
// bitmap and its quality, and is compressed only when its bytes are first needed. Copies share
// bytes and pixels.
#pragma once

#include "framework/jpeg_codec.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace wf {

class JpegPicture {
 public:
  // The quality a picture made from a bitmap is compressed at.
  static constexpr int kBitmapQuality = 100;

  JpegPicture() = default;

  // Decodes the stream and keeps all its bytes. Throws JpegError on a stream that does not
  // decode.
  static JpegPicture fromBytes(const QByteArray& bytes);
  // Reads the whole file, then as fromBytes. Throws "Cannot open file <path>" when it cannot be
  // read.
  static JpegPicture fromFile(const QString& path);
  // Holds a copy of the bitmap's pixels; no bytes until they are first needed.
  static JpegPicture fromBitmap(const QImage& bitmap, int quality = kBitmapQuality);

  bool isEmpty() const { return image_.isNull(); }
  int width() const { return image_.width(); }
  int height() const { return image_.height(); }
  int quality() const { return quality_; }

  // The decoded pixels, as drawn and as put on the clipboard.
  const QImage& image() const { return image_; }

  // Whether compressed bytes exist yet (false for a bitmap picture until bytes() is called).
  bool hasBytes() const { return !bytes_.isEmpty(); }
  // The compressed stream: the loaded bytes unchanged, or the bitmap compressed at the picture's
  // quality on first use. Empty for an empty picture.
  QByteArray bytes() const;

 private:
  QImage image_;
  mutable QByteArray bytes_;
  int quality_ = kBitmapQuality;
};

}  // namespace wf
