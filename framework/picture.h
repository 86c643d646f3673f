// A picture as a picture control holds it: JPEG, bitmap, icon, GIF or metafile, chosen by the
// file's extension when loaded from a file. It writes itself in its own format: a JPEG its
// compressed bytes, a picture read from a file the bytes it was read from, a bitmap made in
// memory as a BMP file.
#pragma once

#include "framework/jpeg_picture.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace wf {

class Picture {
 public:
  enum class Kind { Empty, Jpeg, Bitmap, Icon, Gif, Metafile };

  Picture() = default;
  static Picture fromJpeg(const JpegPicture& jpeg);
  static Picture fromBitmap(const QImage& bitmap);

  // The picture loader: the type is chosen by the extension (case ignored): .jpg and .jpeg
  // JPEG (bytes kept unchanged), .bmp bitmap, .ico icon, .gif GIF, .emf and .wmf metafile.
  // Fails with "Unknown picture file extension (.<ext>)" for any other extension, with the
  // decoder's message for a file that does not decode, and "Cannot open file <path>" when the
  // file cannot be read.
  static Picture loadFromFile(const QString& path);

  Kind kind() const { return kind_; }
  bool isEmpty() const { return kind_ == Kind::Empty; }
  const JpegPicture& jpeg() const { return jpeg_; }
  // The pixels to draw; null for a metafile, which this program cannot draw.
  QImage image() const;

  // The picture in its own format, as written into a stream.
  QByteArray saveToBytes() const;

 private:
  Kind kind_ = Kind::Empty;
  JpegPicture jpeg_;
  QImage image_;
  QByteArray fileBytes_;  // the file's bytes for pictures read from a file (other than JPEG)
};

}  // namespace wf
