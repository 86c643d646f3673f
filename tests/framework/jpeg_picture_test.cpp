#include "framework/jpeg_picture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <jerror.h>
#include <jpeglib.h>

#include <QFile>
#include <QTemporaryDir>

namespace wf {
namespace {

// A picture with smooth areas, hard edges and every primary, so a lossy round trip shows.
QImage testBitmap(int width = 64, int height = 48) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x / 8 + y / 8) % 2 ? 230 : 20));
  return image;
}

int maxChannelDifference(const QImage& a, const QImage& b) {
  int worst = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                        std::abs(qBlue(p) - qBlue(q))});
    }
  return worst;
}

// The quantisation table values of every DQT segment of a baseline stream.
std::vector<int> quantisationValues(const QByteArray& jpeg) {
  std::vector<int> values;
  const auto* d = reinterpret_cast<const unsigned char*>(jpeg.constData());
  qsizetype pos = 2;
  while (pos + 4 <= jpeg.size() && d[pos] == 0xFF && d[pos + 1] != 0xDA) {
    const int length = (d[pos + 2] << 8) | d[pos + 3];
    if (d[pos + 1] == 0xDB) {
      for (qsizetype t = pos + 4; t < pos + 2 + length; t += 65) {
        EXPECT_EQ(d[t] >> 4, 0) << "8-bit tables expected";
        for (int i = 1; i <= 64; ++i) values.push_back(d[t + i]);
      }
    }
    pos += 2 + length;
  }
  return values;
}

TEST(JpegPicture, EncodedBitmapDecodesBackClose) {
  // Smooth colour ramps: at quality 100 only rounding and the halved chroma resolution remain.
  QImage original(64, 48, QImage::Format_RGB32);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) original.setPixel(x, y, qRgb(x * 4, 40 + y * 4, 250 - x * 2));
  const QImage decoded = JpegPicture::fromBytes(JpegPicture::fromBitmap(original).bytes()).image();
  ASSERT_EQ(decoded.size(), original.size());
  EXPECT_LE(maxChannelDifference(original, decoded), 4);
}

TEST(JpegPicture, BitmapPictureHasNoBytesUntilNeededThenQuality100) {
  const JpegPicture picture = JpegPicture::fromBitmap(testBitmap());
  EXPECT_EQ(picture.quality(), 100);
  EXPECT_FALSE(picture.hasBytes());
  const QByteArray bytes = picture.bytes();
  EXPECT_TRUE(picture.hasBytes());
  ASSERT_GE(bytes.size(), 4);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xD8);
  // Quality 100 scales every quantisation step down to 1.
  const std::vector<int> steps = quantisationValues(bytes);
  ASSERT_EQ(steps.size(), 128u);
  for (int step : steps) EXPECT_EQ(step, 1);
  // Asking again gives the same bytes, not a second encoding.
  EXPECT_EQ(picture.bytes(), bytes);
}

TEST(JpegPicture, LoadedBytesAreKeptExactlyIncludingTrailingData) {
  QByteArray stream = encodeJpeg(testBitmap(17, 9), 75);
  stream.append("trailing bytes after the end marker");
  const JpegPicture picture = JpegPicture::fromBytes(stream);
  EXPECT_EQ(picture.bytes(), stream);
  EXPECT_EQ(picture.width(), 17);
  EXPECT_EQ(picture.height(), 9);
  const JpegPicture copy = picture;  // the photo box's copy shares the same bytes
  EXPECT_EQ(copy.bytes(), stream);
}

TEST(JpegPicture, FileIsReadWholeAndKeptByteForByte) {
  QTemporaryDir dir;
  const QString path = dir.filePath("photo.jpg");
  const QByteArray stream = encodeJpeg(testBitmap(), 90);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(stream);
  file.close();
  EXPECT_EQ(JpegPicture::fromFile(path).bytes(), stream);
  EXPECT_THROW(JpegPicture::fromFile(dir.filePath("missing.jpg")), std::runtime_error);
}

struct DamageCase {
  const char* name;
  std::function<QByteArray(QByteArray)> damage;
  int code;
};

QByteArray withByte(QByteArray bytes, qsizetype offset, char value) {
  bytes[offset] = value;
  return bytes;
}

// Offset of the first marker with the given code.
qsizetype markerOffset(const QByteArray& bytes, unsigned char code) {
  return bytes.indexOf(QByteArray("\xFF") + static_cast<char>(code));
}

TEST(JpegPicture, DamagedStreamsFailWithTheDecodersNumber) {
  const std::vector<DamageCase> cases = {
      {"empty", [](QByteArray) { return QByteArray(); }, JERR_INPUT_EMPTY},
      {"not a jpeg", [](QByteArray) { return QByteArray("BM not a jpeg"); }, JERR_NO_SOI},
      {"cut inside the headers", [](QByteArray b) { return b.left(40); }, JWRN_JPEG_EOF},
      {"zero width",
       [](QByteArray b) {
         const qsizetype sof = markerOffset(b, 0xC0);
         return withByte(withByte(b, sof + 7, 0), sof + 8, 0);
       },
       JERR_EMPTY_IMAGE},
      {"precision 12", [](QByteArray b) { return withByte(b, markerOffset(b, 0xC0) + 4, 12); },
       JERR_BAD_PRECISION},
      {"larger than the limit",
       [](QByteArray b) {
         const qsizetype sof = markerOffset(b, 0xC0);  // 32767 by 32767 pixels
         return withByte(
             withByte(withByte(withByte(b, sof + 5, 0x7F), sof + 6, 0xFF), sof + 7, 0x7F), sof + 8,
             0xFF);
       },
       JERR_IMAGE_TOO_BIG},
  };
  const QByteArray good = encodeJpeg(testBitmap(), 80);
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      JpegPicture::fromBytes(c.damage(good));
      ADD_FAILURE() << "decoded without error";
    } catch (const JpegError& error) {
      EXPECT_EQ(error.code(), c.code);
      EXPECT_EQ(std::string(error.what()), "JPEG error #" + std::to_string(c.code));
    }
  }
}

TEST(JpegPicture, IncompleteOrCorruptStreamsAreRefused) {
  const QByteArray good = encodeJpeg(testBitmap(640, 480), 80);
  const qsizetype scan = markerOffset(good, 0xDA);
  const qsizetype end = good.size() - 2;  // the end marker
  QByteArray garbage = good;
  for (qsizetype i = scan + 20; i < end; ++i) garbage[i] = static_cast<char>((i * 37) & 0x7F);
  const std::vector<DamageCase> cases = {
      {"cut inside the scan", [&](QByteArray b) { return b.left(scan + 40); }, JWRN_JPEG_EOF},
      {"cut at 40 %", [](QByteArray b) { return b.left(b.size() * 4 / 10); }, JWRN_JPEG_EOF},
      {"an end marker inside the scan",
       [&](QByteArray b) { return b.replace(scan + 400, 2, QByteArray("\xFF\xD9")); }, -1},
      {"garbage after a valid header", [&](QByteArray) { return garbage; }, -1},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      JpegPicture::fromBytes(c.damage(good));
      ADD_FAILURE() << "decoded without error";
    } catch (const JpegError& error) {
      if (c.code >= 0) {
        EXPECT_EQ(error.code(), c.code);
      }
      EXPECT_EQ(std::string(error.what()), "JPEG error #" + std::to_string(error.code()));
    }
  }
  // A warning about nothing missing (an unknown JFIF revision) leaves a whole picture.
  QByteArray newerJfif = good;
  const qsizetype jfif = good.indexOf("JFIF");
  ASSERT_GT(jfif, 0);
  newerJfif[jfif + 5] = 2;
  EXPECT_EQ(decodeJpeg(newerJfif).size(), QSize(640, 480));
}

TEST(JpegPicture, PixelLimitRefusesBeforeDecoding) {
  const QByteArray good = encodeJpeg(testBitmap(), 80);
  try {
    decodeJpeg(reinterpret_cast<const uint8_t*>(good.constData()), good.size(), 64 * 48 - 1);
    ADD_FAILURE() << "decoded without error";
  } catch (const JpegError& error) {
    EXPECT_EQ(error.code(), JERR_IMAGE_TOO_BIG);
  }
  EXPECT_NO_THROW(
      decodeJpeg(reinterpret_cast<const uint8_t*>(good.constData()), good.size(), 64 * 48));
}

TEST(JpegPicture, EmptyPictureHasNoBytes) {
  const JpegPicture empty;
  EXPECT_TRUE(empty.isEmpty());
  EXPECT_TRUE(empty.bytes().isEmpty());
}

}  // namespace
}  // namespace wf
