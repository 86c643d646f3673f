#include "framework/picture.h"

#include "framework/bitmap_reader.h"
#include "framework/whole_file.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <stdexcept>

namespace wf {
namespace {

// Icons and GIFs go through Qt's readers; the message names the kind that failed.
QImage decodeWithQt(const QByteArray& bytes, const char* format, const char* invalidMessage) {
  QBuffer buffer;
  buffer.setData(bytes);
  QImageReader reader(&buffer, format);
  reader.setAutoTransform(false);
  const QImage image = reader.read();
  if (image.isNull()) throw std::runtime_error(invalidMessage);
  return image;
}

}  // namespace

Picture Picture::fromJpeg(const JpegPicture& jpeg) {
  Picture picture;
  if (jpeg.isEmpty()) return picture;
  picture.kind_ = Kind::Jpeg;
  picture.jpeg_ = jpeg;
  return picture;
}

Picture Picture::fromBitmap(const QImage& bitmap) {
  Picture picture;
  if (bitmap.isNull()) return picture;
  picture.kind_ = Kind::Bitmap;
  picture.image_ = bitmap.convertToFormat(QImage::Format_RGB32);
  return picture;
}

Picture Picture::loadFromFile(const QString& path) {
  // The extension as written, without its dot, is what the message quotes.
  const QString fileName = QFileInfo(path).fileName();
  const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
  const QString extension = dot < 0 ? QString() : fileName.mid(dot + 1);
  const QString lower = extension.toLower();
  Picture picture;
  if (lower == QLatin1String("jpg") || lower == QLatin1String("jpeg")) {
    return fromJpeg(JpegPicture::fromFile(path));
  } else if (lower == QLatin1String("bmp")) {
    picture.kind_ = Kind::Bitmap;
    picture.fileBytes_ = readWholeFile(path);
    picture.image_ = readBitmap(picture.fileBytes_);
  } else if (lower == QLatin1String("ico")) {
    picture.kind_ = Kind::Icon;
    picture.fileBytes_ = readWholeFile(path);
    picture.image_ = decodeWithQt(picture.fileBytes_, "ico", "Icon image is not valid");
  } else if (lower == QLatin1String("gif")) {
    picture.kind_ = Kind::Gif;
    picture.fileBytes_ = readWholeFile(path);
    picture.image_ = decodeWithQt(picture.fileBytes_, "gif", "GIF image is not valid");
  } else if (lower == QLatin1String("emf") || lower == QLatin1String("wmf")) {
    picture.kind_ = Kind::Metafile;
    picture.fileBytes_ = readWholeFile(path);
    if (picture.fileBytes_.isEmpty()) throw std::runtime_error("Metafile is not valid");
  } else {
    throw std::runtime_error("Unknown picture file extension (." + extension.toStdString() + ")");
  }
  return picture;
}

QImage Picture::image() const {
  if (kind_ == Kind::Jpeg) return jpeg_.image();
  return image_;
}

QByteArray Picture::saveToBytes() const {
  switch (kind_) {
    case Kind::Empty: return QByteArray();
    case Kind::Jpeg: return jpeg_.bytes();
    default: break;
  }
  if (!fileBytes_.isEmpty()) return fileBytes_;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image_.save(&buffer, "BMP");
  return bytes;
}

}  // namespace wf
