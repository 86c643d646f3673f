#include "framework/bitmap_reader.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

namespace wf {
namespace {

// Builds BMP files byte by byte, so each test states exactly what the file holds.
struct BmpBuilder {
  int width = 3;
  int height = 2;  // negative for top-down
  int bitCount = 24;
  uint32_t compression = 0;
  std::vector<QRgb> palette;
  QByteArray pixels;

  QByteArray build() const {
    QByteArray info;
    appendU32(info, 40);
    appendU32(info, static_cast<uint32_t>(width));
    appendU32(info, static_cast<uint32_t>(height));
    appendU16(info, 1);
    appendU16(info, static_cast<uint16_t>(bitCount));
    appendU32(info, compression);
    appendU32(info, static_cast<uint32_t>(pixels.size()));
    appendU32(info, 2835);
    appendU32(info, 2835);
    appendU32(info, static_cast<uint32_t>(palette.size()));
    appendU32(info, 0);
    for (QRgb c : palette) {
      info.append(static_cast<char>(qBlue(c)));
      info.append(static_cast<char>(qGreen(c)));
      info.append(static_cast<char>(qRed(c)));
      info.append('\0');
    }
    QByteArray file("BM");
    appendU32(file, static_cast<uint32_t>(14 + info.size() + pixels.size()));
    appendU32(file, 0);
    appendU32(file, static_cast<uint32_t>(14 + info.size()));
    return file + info + pixels;
  }

  static void appendU16(QByteArray& b, uint16_t v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>(v >> 8));
  }
  static void appendU32(QByteArray& b, uint32_t v) {
    appendU16(b, static_cast<uint16_t>(v & 0xFFFF));
    appendU16(b, static_cast<uint16_t>(v >> 16));
  }
};

// 3 by 2, 24 bits: rows are 9 bytes plus 3 of padding, bottom row first.
BmpBuilder twentyFourBit() {
  BmpBuilder b;
  b.pixels = QByteArray::fromHex(
      "0000ff 00ff00 ff0000 000000"    // bottom: red green blue
      "ffffff 808080 102030 000000");  // top: white grey (48,32,16)
  return b;
}

// 3 by 2, 8 bits with a 4-colour palette.
BmpBuilder eightBit() {
  BmpBuilder b;
  b.bitCount = 8;
  b.palette = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(1, 2, 3)};
  b.pixels = QByteArray::fromHex(
      "010203 00"    // bottom
      "030201 00");  // top
  return b;
}

void expectPixels(const QImage& image, const std::vector<std::vector<QRgb>>& rowsFromTop) {
  ASSERT_EQ(image.height(), static_cast<int>(rowsFromTop.size()));
  for (int y = 0; y < image.height(); ++y) {
    ASSERT_EQ(image.width(), static_cast<int>(rowsFromTop[y].size()));
    for (int x = 0; x < image.width(); ++x)
      EXPECT_EQ(image.pixel(x, y), rowsFromTop[y][x]) << "at " << x << "," << y;
  }
}

TEST(BitmapReader, Reads24BitBottomUpWithRowPadding) {
  expectPixels(readBitmap(twentyFourBit().build()),
               {{qRgb(255, 255, 255), qRgb(128, 128, 128), qRgb(48, 32, 16)},
                {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)}});
}

TEST(BitmapReader, Reads24BitTopDown) {
  BmpBuilder b = twentyFourBit();
  b.height = -2;
  expectPixels(readBitmap(b.build()),
               {{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)},
                {qRgb(255, 255, 255), qRgb(128, 128, 128), qRgb(48, 32, 16)}});
}

TEST(BitmapReader, Reads8BitThroughItsPalette) {
  expectPixels(readBitmap(eightBit().build()), {{qRgb(1, 2, 3), qRgb(0, 255, 0), qRgb(255, 0, 0)},
                                                {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(1, 2, 3)}});
}

TEST(BitmapReader, Reads8BitRunLength) {
  BmpBuilder b = eightBit();
  b.compression = 1;
  // Bottom row: a run of three colour 2, end of line. Top row: literal 3,1,0 padded, end.
  b.pixels = QByteArray::fromHex("0302 0000 0003 03010000 0001");
  expectPixels(readBitmap(b.build()), {{qRgb(1, 2, 3), qRgb(255, 0, 0), qRgb(0, 0, 0)},
                                       {qRgb(0, 255, 0), qRgb(0, 255, 0), qRgb(0, 255, 0)}});
}

TEST(BitmapReader, Reads16BitWithBitFieldMasks) {
  BmpBuilder b;
  b.width = 2;
  b.height = 1;
  b.bitCount = 16;
  b.compression = 3;
  // Masks 5-6-5 follow the info header; our builder puts them where a palette would go.
  b.pixels = QByteArray::fromHex(
      "00f80000 e0070000 1f000000"  // red, green, blue masks
      "00f8 1f00");                 // pure red, pure blue
  QByteArray file = b.build();
  // The pixel offset must skip the masks.
  const uint32_t offset = 14 + 40 + 12;
  file[10] = static_cast<char>(offset);
  expectPixels(readBitmap(file), {{qRgb(255, 0, 0), qRgb(0, 0, 255)}});
}

TEST(BitmapReader, AgreesWithQtOnFilesQtWrites) {
  QImage source(37, 11, QImage::Format_RGB32);
  for (int y = 0; y < source.height(); ++y)
    for (int x = 0; x < source.width(); ++x)
      source.setPixel(x, y, qRgb(x * 7, y * 23, (x * y) % 256));
  for (QImage::Format format :
       {QImage::Format_RGB32, QImage::Format_Indexed8, QImage::Format_Mono}) {
    SCOPED_TRACE(format);
    const QImage converted = source.convertToFormat(format);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(converted.save(&buffer, "BMP"));
    const QImage ours = readBitmap(bytes);
    const QImage expected = converted.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(ours.size(), expected.size());
    EXPECT_EQ(ours, expected);
  }
}

// Damage helpers: each case changes one thing in a valid file.
QByteArray setU32(QByteArray b, int offset, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return b;
}
QByteArray setU16(QByteArray b, int offset, uint16_t v) {
  b[offset] = static_cast<char>(v & 0xFF);
  b[offset + 1] = static_cast<char>(v >> 8);
  return b;
}

TEST(BitmapReader, DamagedFilesGiveTheInvalidBitmapMessage) {
  const QByteArray good24 = twentyFourBit().build();
  const QByteArray good8 = eightBit().build();
  const std::vector<std::pair<const char*, QByteArray>> cases = {
      {"empty", QByteArray()},
      {"shorter than the file header", good24.left(13)},
      {"wrong signature", setU16(good24, 0, 0x4142)},
      {"info header cut off", good24.left(20)},
      {"unknown info header size", setU32(good24, 14, 41)},
      {"zero planes", setU16(good24, 26, 0)},
      {"zero width", setU32(good24, 18, 0)},
      {"negative width", setU32(good24, 18, 0xFFFFFFFF)},
      {"zero height", setU32(good24, 22, 0)},
      {"7 bits per pixel", setU16(good24, 28, 7)},
      {"unknown compression", setU32(good24, 30, 9)},
      {"run-length on 24 bits", setU32(good24, 30, 1)},
      {"bit fields on 8 bits", setU32(good8, 30, 3)},
      {"pixel offset past the end", setU32(good24, 10, 4000)},
      {"pixel data cut short", good24.left(good24.size() - 4)},
      {"palette past the end", setU32(good8, 46, 200)},
      {"height beyond the limit", setU32(good24, 22, 40000)},
      {"width and height too many pixels", setU32(setU32(good24, 18, 20000), 22, 20000)},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    try {
      readBitmap(bytes);
      ADD_FAILURE() << "read without error";
    } catch (const BitmapError& error) {
      EXPECT_STREQ(error.what(), "Bitmap image is not valid");
    }
  }
}

TEST(BitmapReader, FileReadingAndMissingFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("car.bmp");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(eightBit().build());
  file.close();
  EXPECT_EQ(readBitmapFile(path).size(), QSize(3, 2));
  EXPECT_THROW(readBitmapFile(dir.filePath("none.bmp")), std::runtime_error);
}

}  // namespace
}  // namespace wf
