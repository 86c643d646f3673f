#include "framework/jpeg_picture.h"

#include <QFile>

#include <stdexcept>

namespace wf {

JpegPicture JpegPicture::fromBytes(const QByteArray& bytes) {
  JpegPicture picture;
  picture.image_ = decodeJpeg(bytes);
  picture.bytes_ = bytes;
  return picture;
}

JpegPicture JpegPicture::fromFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw std::runtime_error("Cannot open file " + path.toStdString());
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw std::runtime_error("Cannot open file " + path.toStdString());
  return fromBytes(bytes);
}

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
