#include "framework/jpeg_picture.h"

#include "framework/whole_file.h"

#include <stdexcept>

namespace wf {

JpegPicture JpegPicture::fromBytes(const QByteArray& bytes) {
  JpegPicture picture;
  picture.image_ = decodeJpeg(bytes);
  picture.bytes_ = bytes;
  return picture;
}

JpegPicture JpegPicture::fromFile(const QString& path) { return fromBytes(readWholeFile(path)); }

JpegPicture JpegPicture::fromBitmap(const QImage& bitmap, int quality) {
  JpegPicture picture;
  picture.image_ = bitmap.convertToFormat(QImage::Format_RGB32);
  picture.quality_ = quality;
  return picture;
}

QByteArray JpegPicture::bytes() const {
  if (bytes_.isEmpty() && !image_.isNull()) bytes_ = encodeJpeg(image_, quality_);
  return bytes_;
}

}  // namespace wf
