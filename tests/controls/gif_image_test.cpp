#include "controls/gif_image.h"
#include "controls/busy_wheel.h"
#include "gif_test_builder.h"

#include <gtest/gtest.h>

#include <string>

namespace wf {
namespace {

using test::GifBuilder;

const std::vector<QRgb> kFour = {qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 255, 0),
                                 qRgb(0, 0, 255)};

TGIFImage decode(const QByteArray& data) {
  TGIFImage image;
  image.loadFromData(data);
  return image;
}

// The message a malformed stream gives, or "" when it decodes.
std::string messageFor(const QByteArray& data) {
  try {
    decode(data);
    return "";
  } catch (const GifError& e) {
    return e.what();
  }
}

TEST(GifImageTest, BusyWheel) {
  const QByteArray data = busyWheelGif();
  ASSERT_FALSE(data.isEmpty());
  ASSERT_TRUE(data.startsWith("GIF89a"));
  const TGIFImage wheel = decode(data);
  EXPECT_EQ(wheel.screenSize(), QSize(32, 32));
  EXPECT_TRUE(wheel.hasGlobalColorTable());
  EXPECT_EQ(wheel.repeatCount(), 0);
  EXPECT_EQ(wheel.frameIndex(), 0);
  ASSERT_EQ(wheel.frameCount(), 12);
  // The 256-entry grey table: 8 bits per colour in the screen descriptor.
  EXPECT_EQ(static_cast<uint8_t>(data[10]), 0xF7);
  for (int i = 0; i < 256; ++i) {
    const int at = 13 + 3 * i;
    EXPECT_TRUE(data[at] == data[at + 1] && data[at] == data[at + 2]) << "entry " << i;
  }
  for (int n = 0; n < 12; ++n) {
    const TGIFFrame& frame = wheel.frames()[n];
    EXPECT_EQ(frame.delay(), 100) << n;
    EXPECT_EQ(frame.disposal(), GifDisposal::Keep) << n;
    ASSERT_TRUE(frame.transparentColor()) << n;
    EXPECT_EQ(*frame.transparentColor(), qRgb(255, 255, 255)) << n;
    const QRect r = frame.rect();
    if (n == 0) {
      EXPECT_EQ(r, QRect(0, 0, 32, 32));
      continue;
    }
    EXPECT_FALSE(frame.coversScreen(wheel.screenSize())) << n;
    EXPECT_TRUE(r.width() >= 14 && r.width() <= 29) << n << ": " << r.width();
    EXPECT_TRUE(r.height() >= 14 && r.height() <= 31) << n << ": " << r.height();
    EXPECT_TRUE(QRect(0, 0, 32, 32).contains(r)) << n;
  }
  // Frame 0: grey spokes on transparent ground.
  const QImage first = wheel.frames()[0].bitmap();
  EXPECT_EQ(qAlpha(first.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(first.pixel(16, 16)), 0);  // the hub is empty
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const QRgb p = first.pixel(x, y);
      if (qAlpha(p) != 0) {
        EXPECT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p));
      }
    }
  // The pixels at the core of the twelve, three, six and nine o'clock spokes, 10.5 pixels out
  // from the centre, are wholly covered by their spoke: the leading spoke of frame 0 (twelve
  // o'clock) is grey 40, the one three behind it (nine o'clock) 180, the rest 215.
  struct Probe {
    QPoint at;
    int grey;
  };
  for (Probe p :
       {Probe{{16, 5}, 40}, Probe{{5, 16}, 180}, Probe{{26, 16}, 215}, Probe{{16, 26}, 215}})
    EXPECT_EQ(first.pixel(p.at), qRgb(p.grey, p.grey, p.grey)) << p.at.x() << "," << p.at.y();
}

TEST(GifImageTest, FrameFieldsAndPixels) {
  const QByteArray data =
      GifBuilder()
          .screen(4, 4, kFour, "87a", 2)
          .loop(3)
          .control(1, GifDisposal::Background)
          .control(7, GifDisposal::Previous, 1)  // a second block: largest delay, last flags
          .image(QRect(0, 0, 4, 4), std::vector<uint8_t>(16, 2))
          .comment("made for a test")
          .image(QRect(1, 1, 2, 3), {0, 1, 2, 3, 3, 2}, 2,
                 {qRgb(9, 9, 9), qRgb(8, 8, 8), qRgb(7, 7, 7), qRgb(6, 6, 6)})
          .trailer()
          .data();
  const TGIFImage image = decode(data);
  EXPECT_EQ(image.backgroundColor(), qRgb(0, 255, 0));
  EXPECT_EQ(image.repeatCount(), 3);
  ASSERT_EQ(image.frameCount(), 2);
  const TGIFFrame& first = image.frames()[0];
  EXPECT_EQ(first.delay(), 70);
  EXPECT_EQ(first.disposal(), GifDisposal::Previous);
  EXPECT_EQ(first.transparentColor(), qRgb(255, 0, 0));
  EXPECT_EQ(first.bitmap().pixel(3, 3), qRgb(0, 255, 0));
  // The graphic control applies to one image only; the second uses its own colour table.
  const TGIFFrame& second = image.frames()[1];
  EXPECT_EQ(second.rect(), QRect(1, 1, 2, 3));
  EXPECT_EQ(second.delay(), 0);
  EXPECT_EQ(second.disposal(), GifDisposal::None);
  EXPECT_FALSE(second.transparentColor());
  EXPECT_EQ(second.bitmap().pixel(1, 0), qRgb(8, 8, 8));
  EXPECT_EQ(second.bitmap().pixel(0, 2), qRgb(6, 6, 6));
}

TEST(GifImageTest, InterlacedRowsLandInPlace) {
  // Rows are stored in the order 0, 8 | 4 | 2, 6 | 1, 3, 5, 7, 9; row r is filled with r % 4.
  const int order[] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
  std::vector<uint8_t> stored;
  for (int row : order) stored.insert(stored.end(), 3, static_cast<uint8_t>(row % 4));
  const TGIFImage image = decode(GifBuilder()
                                     .screen(3, 10, kFour)
                                     .image(QRect(0, 0, 3, 10), stored, 2, {}, true)
                                     .trailer()
                                     .data());
  const QImage& bitmap = image.frames()[0].bitmap();
  for (int row = 0; row < 10; ++row) EXPECT_EQ(bitmap.pixel(1, row), kFour[row % 4]) << row;
}

TEST(GifImageTest, LzwCodeSizesTwoToNineDecodeTheSamePixels) {
  // Real LZW data, whose codes widen up to 12 bits and clear when the table is full: giflib
  // decodes code sizes 2 to 8, our decoder 9; every one must give back the pixels.
  struct Case {
    int codeSize;
    int colours;
    bool interlaced;
  };
  const Case cases[] = {
      {2, 4, false}, {5, 32, true}, {8, 256, false}, {9, 256, false}, {9, 200, true}};
  const QRect rect(0, 0, 161, 131);  // enough codes to fill the 4096-entry table
  for (const Case& c : cases) {
    std::vector<uint8_t> pixels;
    for (int y = 0; y < rect.height(); ++y)
      for (int x = 0; x < rect.width(); ++x)
        pixels.push_back(static_cast<uint8_t>((x / 3 + y * y / 7) % c.colours));
    std::vector<QRgb> palette;
    for (int i = 0; i < 256; ++i) palette.push_back(qRgb(i, 255 - i, i / 2));
    // Interlaced data comes in pass order.
    std::vector<uint8_t> stored;
    std::vector<int> rows;
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < (c.interlaced ? 4 : 1); ++pass) {
      const int start = c.interlaced ? kStart[pass] : 0;
      const int step = c.interlaced ? kStep[pass] : 1;
      for (int y = start; y < rect.height(); y += step) rows.push_back(y);
    }
    for (int y : rows)
      stored.insert(stored.end(), pixels.begin() + y * rect.width(),
                    pixels.begin() + (y + 1) * rect.width());
    const TGIFImage image = decode(GifBuilder()
                                       .screen(rect.width(), rect.height(), palette)
                                       .compressed(rect, stored, c.codeSize, c.interlaced)
                                       .trailer()
                                       .data());
    ASSERT_EQ(image.frameCount(), 1) << c.codeSize;
    const QImage& bitmap = image.frames()[0].bitmap();
    int wrong = 0;
    for (int y = 0; y < rect.height(); ++y)
      for (int x = 0; x < rect.width(); ++x)
        if (bitmap.pixel(x, y) != palette[pixels[static_cast<std::size_t>(y * rect.width() + x)]])
          ++wrong;
    EXPECT_EQ(wrong, 0) << "code size " << c.codeSize << (c.interlaced ? " interlaced" : "");
  }
}

TEST(GifImageTest, ImageWithoutPixelsIsKept) {
  const TGIFImage image = decode(GifBuilder()
                                     .screen(2, 2, kFour)
                                     .image(QRect(0, 0, 0, 0), {})
                                     .image(QRect(0, 0, 2, 2), {1, 2, 3, 0})
                                     .trailer()
                                     .data());
  ASSERT_EQ(image.frameCount(), 2);
  EXPECT_TRUE(image.frames()[0].bitmap().isNull());
  EXPECT_EQ(image.frames()[1].bitmap().pixel(1, 1), kFour[0]);
}

TEST(GifImageTest, MalformedPicturesGiveTheirMessages) {
  const QByteArray wheel = busyWheelGif();
  const QByteArray start = GifBuilder().screen(4, 4, kFour).data();
  const std::vector<uint8_t> pixels(16, 1);
  struct Case {
    const char* name;
    QByteArray data;
    std::string message;
  };
  const Case cases[] = {
      {"empty", QByteArray(), gifmsg::kReadError},
      {"not a GIF", QByteArray("BM\x36\x00\x00\x00\x00\x00", 8), gifmsg::kUnknownVersion},
      {"unknown version", QByteArray("GIF88a").append(wheel.mid(6)), gifmsg::kUnknownVersion},
      {"signature cut short", QByteArray("GIF8"), gifmsg::kReadError},
      {"code size 1",
       GifBuilder(start).imageHeader(QRect(0, 0, 4, 4)).codes(1, {2, 1, 3}, 2).trailer().data(),
       gifmsg::kCodeSize},
      {"code size 10",
       GifBuilder(start)
           .imageHeader(QRect(0, 0, 4, 4))
           .codes(10, {1024, 1, 1025}, 11)
           .trailer()
           .data(),
       gifmsg::kCodeSize},
      // Code size 9 is decoded by our own LZW decoder, with the same faults found.
      {"code size 9, end code before the last pixel",
       GifBuilder(start)
           .imageHeader(QRect(0, 0, 4, 4))
           .codes(9, {512, 1, 513}, 10)
           .trailer()
           .data(),
       gifmsg::kCorrupt},
      {"code size 9, a code beyond the table",
       GifBuilder(start)
           .imageHeader(QRect(0, 0, 4, 4))
           .codes(9, {512, 1, 600}, 10)
           .trailer()
           .data(),
       gifmsg::kCorrupt},
      {"code size 9, a pixel value no colour table holds",
       GifBuilder(start)
           .imageHeader(QRect(0, 0, 4, 4))
           .codes(9, {512, 300, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 513}, 10)
           .trailer()
           .data(),
       gifmsg::kCorrupt},
      {"code size 9, data cut short",
       GifBuilder(start).imageHeader(QRect(0, 0, 4, 4)).raw({9, 2, 0x00, 0x02}).data(),
       gifmsg::kReadError},
      {"code size 12",
       GifBuilder(start).imageHeader(QRect(0, 0, 4, 4)).codes(12, {0}, 13).trailer().data(),
       gifmsg::kCodeSize},
      {"code beyond the table",
       GifBuilder(start)
           .imageHeader(QRect(0, 0, 4, 4))
           .codes(2, {4, 1, 7, 7, 7}, 3)
           .trailer()
           .data(),
       gifmsg::kCorrupt},
      {"end code before the last pixel",
       GifBuilder(start)
           .imageHeader(QRect(0, 0, 4, 4))
           .codes(2, {4, 1, 4, 2, 5}, 3)
           .trailer()
           .data(),
       gifmsg::kCorrupt},
      {"unknown block", GifBuilder(start).raw({0x00}).data(), gifmsg::kCorrupt},
      {"unknown extension 42", GifBuilder(start).raw({0x21, 0x42, 0x00}).trailer().data(),
       "Unrecognized extension block: 42"},
      {"unknown extension 0a", GifBuilder(start).raw({0x21, 0x0A, 0x00}).trailer().data(),
       "Unrecognized extension block: 0A"},
      {"unknown extension ab",
       GifBuilder(start).raw({0x21, 0xAB, 0x01, 0x00, 0x00}).trailer().data(),
       "Unrecognized extension block: AB"},
      {"screen too large to hold", GifBuilder().screen(65535, 65535, kFour).trailer().data(),
       gifmsg::kReadError},
      {"frame too large to hold",
       GifBuilder(start).image(QRect(0, 0, 65535, 65535), pixels).trailer().data(),
       gifmsg::kReadError},
      {"no trailer", GifBuilder(start).image(QRect(0, 0, 4, 4), pixels).data(), gifmsg::kReadError},
  };
  for (const Case& c : cases) EXPECT_EQ(messageFor(c.data), c.message) << c.name;
}

TEST(GifImageTest, EveryTruncationIsAReadError) {
  const QByteArray wheel = busyWheelGif();
  for (int size = 0; size < wheel.size(); ++size) {
    // An exact-size copy, so that the sanitizers see any read past the end.
    QByteArray cut(wheel.constData(), size);
    ASSERT_EQ(messageFor(cut), gifmsg::kReadError) << "cut at " << size;
  }
}

TEST(GifImageTest, FailedReadKeepsThePicture) {
  TGIFImage image;
  image.loadFromData(busyWheelGif());
  image.setTransparent(false);
  EXPECT_THROW(image.loadFromData(QByteArray("GIF89a\x01")), GifError);
  EXPECT_EQ(image.frameCount(), 12);
  EXPECT_FALSE(image.transparent());
  EXPECT_THROW(image.loadFromFile(QStringLiteral("/nonexistent/wheel.gif")), GifError);
  EXPECT_EQ(image.frameCount(), 12);
}

TEST(GifImageTest, SeedCorpusDecodes) {
  for (const char* name : {"one_frame87a.gif", "interlaced_local.gif", "disposals.gif",
                           "empty_frame.gif", "busy_wheel.gif"}) {
    TGIFImage image;
    EXPECT_NO_THROW(image.loadFromFile(QStringLiteral(WF_SOURCE_DIR "/fuzz/corpus/gif/") + name))
        << name;
    EXPECT_GT(image.frameCount(), 0) << name;
  }
}

}  // namespace
}  // namespace wf
