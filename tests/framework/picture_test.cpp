#include "framework/picture.h"

#include "framework/bitmap_reader.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

namespace wf {
namespace {

class PictureTest : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }

  static QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
  }

  QImage sample() const {
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(qRgb(200, 40, 60));
    return image;
  }

  QTemporaryDir dir;
};

TEST_F(PictureTest, LoaderChoosesTheTypeByExtensionAndKeepsTheFileBytes) {
  const QByteArray jpeg = JpegPicture::fromBitmap(sample()).bytes() + "tail";
  const QByteArray bmp = encoded(sample(), "BMP");
  const QByteArray gif = encoded(sample(), "PNG");  // not a GIF: must fail as one
  struct Case {
    QString name;
    QByteArray bytes;
    Picture::Kind kind;
  };
  for (const Case& c :
       {Case{"a.JPG", jpeg, Picture::Kind::Jpeg}, Case{"b.jpeg", jpeg, Picture::Kind::Jpeg},
        Case{"c.Bmp", bmp, Picture::Kind::Bitmap},
        Case{"d.ico", encoded(sample(), "ICO"), Picture::Kind::Icon}}) {
    SCOPED_TRACE(c.name.toStdString());
    const Picture picture = Picture::loadFromFile(write(c.name, c.bytes));
    EXPECT_EQ(picture.kind(), c.kind);
    EXPECT_EQ(picture.image().size(), QSize(8, 6));
    EXPECT_EQ(picture.saveToBytes(), c.bytes);  // stored in its own format, byte for byte
  }
  EXPECT_THROW(Picture::loadFromFile(write("e.gif", gif)), std::runtime_error);
}

TEST_F(PictureTest, LoaderFailures) {
  const std::vector<std::pair<QString, std::string>> cases = {
      {write("notes.txt", "text"), "Unknown picture file extension (.txt)"},
      {write("NOTES.Txt", "text"), "Unknown picture file extension (.Txt)"},
      {write("noextension", "text"), "Unknown picture file extension (.)"},
      {write("broken.bmp", "BM"), "Bitmap image is not valid"},
      {write("broken.jpg", "BM"), "JPEG error #" + std::to_string(JERR_NO_SOI)},
  };
  for (const auto& [path, message] : cases) {
    SCOPED_TRACE(message);
    try {
      Picture::loadFromFile(path);
      ADD_FAILURE() << "loaded without error";
    } catch (const std::exception& failure) {
      EXPECT_EQ(std::string(failure.what()), message);
    }
  }
}

TEST_F(PictureTest, BitmapMadeInMemoryWritesABmpFile) {
  const Picture picture = Picture::fromBitmap(sample());
  EXPECT_EQ(readBitmap(picture.saveToBytes()), sample());
  EXPECT_TRUE(Picture().saveToBytes().isEmpty());
}

}  // namespace
}  // namespace wf
