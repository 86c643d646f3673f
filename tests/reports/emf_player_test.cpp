// The EMF player: recorded pages parse back, replay exactly like direct drawing, scale, and
// damaged recordings are refused before anything is drawn.
#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include <functional>

#include "reports/emf_format.h"
#include "reports/emf_player.h"
#include "reports/emf_writer.h"
#include "reports/qpainter_page_canvas.h"
#include "store/byte_coding.h"
#include "support/sample_page.h"

namespace wf {
namespace {

QImage blankPage(QSize size = QSize(794, 1123)) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

QImage drawDirect() {
  QImage image = blankPage();
  QPainter painter(&image);
  QPainterPageCanvas canvas(painter, 96, 96, image.size());
  drawSamplePage(canvas);
  return image;
}

QImage replay(const QByteArray& recording, QSize size = QSize(794, 1123)) {
  QImage image = blankPage(size);
  QPainter painter(&image);
  EmfPlayer::play(recording, painter, QRectF(QPointF(0, 0), size));
  return image;
}

int differingPixels(const QImage& a, const QImage& b) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
  }
  return count;
}

TEST(EmfPlayer, RecordedPageParsesBackWithItsPageSize) {
  const QByteArray page = recordSamplePage();
  const EmfPageInfo info = EmfPlayer::parse(page);
  EXPECT_EQ(info.pageSizePixels(), QSize(794, 1123));
  EXPECT_EQ(int(info.pageSizeNative().width() / 40), 52);   // A4: 210 mm / 4
  EXPECT_EQ(int(info.pageSizeNative().height() / 40), 74);  // 297 mm / 4
  EXPECT_EQ(info.device, QSize(794, 1123));
  EXPECT_GT(info.records, 10u);
}

TEST(EmfPlayer, ReplayMatchesDirectDrawingPixelForPixel) {
  const QImage direct = drawDirect();
  const QImage replayed = replay(recordSamplePage());
  ASSERT_EQ(direct.size(), replayed.size());
  EXPECT_EQ(differingPixels(direct, replayed), 0);
  // The page is not trivially blank: the frame, the band and the clip are where drawn.
  EXPECT_EQ(replayed.pixelColor(sample::kFrame.topLeft()), QColor(Qt::black));
  EXPECT_EQ(replayed.pixelColor(sample::kFrame.bottomRight()), QColor(Qt::black));
  EXPECT_EQ(replayed.pixelColor(sample::kFrame.center()), QColor(Qt::white));
  EXPECT_EQ(replayed.pixelColor(sample::kBand.bottomRight()), QColor(200, 200, 200));
  EXPECT_EQ(replayed.pixelColor(sample::kBand.bottomRight() + QPoint(1, 1)), QColor(Qt::white));
  EXPECT_EQ(replayed.pixelColor(sample::kClip.topLeft()), QColor(255, 255, 0));
  EXPECT_EQ(replayed.pixelColor(sample::kClip.topLeft() - QPoint(1, 0)), QColor(Qt::white));
  EXPECT_EQ(replayed.pixelColor(210, 440), QColor(Qt::black));
}

TEST(EmfPlayer, ReplaysAtAnyScale) {
  const QByteArray page = recordFilledPage(QRect(100, 200, 50, 40), Qt::black);
  const QImage half = replay(page, QSize(397, 561));
  EXPECT_EQ(half.pixelColor(60, 110), QColor(Qt::black));
  EXPECT_EQ(half.pixelColor(45, 110), QColor(Qt::white));
  const QImage twice = replay(page, QSize(1588, 2246));
  EXPECT_EQ(twice.pixelColor(200, 400), QColor(Qt::black));
  EXPECT_EQ(twice.pixelColor(299, 479), QColor(Qt::black));
  EXPECT_EQ(twice.pixelColor(301, 481), QColor(Qt::white));
}

// A damaged copy of the sample page and what must be said about it.
struct Damage {
  const char* name;
  std::function<void(QByteArray&)> apply;
  const char* message;
};

// Offset of the first record of the given type.
qsizetype findRecord(const QByteArray& data, uint32_t type) {
  qsizetype offset = 0;
  while (offset + 8 <= data.size()) {
    if (coding::decodeFixed32(data.constData() + offset) == type) return offset;
    offset += coding::decodeFixed32(data.constData() + offset + 4);
  }
  return -1;
}

TEST(EmfPlayer, DamagedRecordingsAreRefusedBeforeDrawing) {
  const std::vector<Damage> damages = {
      {"empty", [](QByteArray& d) { d.clear(); }, "only 0 bytes"},
      {"truncated", [](QByteArray& d) { d.chop(30); }, "header says"},
      {"no signature", [](QByteArray& d) { d[40] = 'X'; }, "no EMF signature"},
      {"not a header first", [](QByteArray& d) { coding::encodeFixed32(d.data(), 2); },
       "no header record"},
      {"record runs past the end",
       [](QByteArray& d) { coding::encodeFixed32(d.data() + 108 + 4, uint32_t(d.size())); },
       "does not fit"},
      {"record size not a multiple of 4",
       [](QByteArray& d) { coding::encodeFixed32(d.data() + 108 + 4, 14); }, "does not fit"},
      {"record size zero", [](QByteArray& d) { coding::encodeFixed32(d.data() + 108 + 4, 0); },
       "does not fit"},
      {"no end-of-file record",
       [](QByteArray& d) {
         d.chop(20);
         coding::encodeFixed32(d.data() + 48, uint32_t(d.size()));
       },
       "no end-of-file record"},
      {"text longer than its record",
       [](QByteArray& d) {
         coding::encodeFixed32(d.data() + findRecord(d, emf::EMR_EXTTEXTOUTW) + 44, 100000);
       },
       "text outside the record"},
      {"advances outside the record",
       [](QByteArray& d) {
         coding::encodeFixed32(d.data() + findRecord(d, emf::EMR_EXTTEXTOUTW) + 72, 0xFFFFFFF0u);
       },
       "character advances outside"},
      {"bitmap taller than its bits",
       [](QByteArray& d) {
         coding::encodeFixed32(d.data() + findRecord(d, emf::EMR_STRETCHDIBITS) + 80 + 8, 5000);
       },
       "bitmap bits shorter"},
      {"bitmap of 8 bits",
       [](QByteArray& d) { d[findRecord(d, emf::EMR_STRETCHDIBITS) + 80 + 14] = 8; },
       "unsupported bitmap format"},
      {"object outside the handle table",
       [](QByteArray& d) {
         coding::encodeFixed32(d.data() + findRecord(d, emf::EMR_CREATEBRUSHINDIRECT) + 8, 500);
       },
       "outside the handle table"},
      {"huge font",
       [](QByteArray& d) {
         coding::encodeFixed32(d.data() + findRecord(d, emf::EMR_EXTCREATEFONTINDIRECTW) + 12,
                               uint32_t(-1000000));
       },
       "font height out of range"},
      {"frame corners at the ends of the number range",
       [](QByteArray& d) { coding::encodeFixed32(d.data() + 24, 0x80000000u); }, "no page size"},
      {"wrong record count", [](QByteArray& d) { coding::encodeFixed32(d.data() + 52, 3); },
       "header counts 3 records"},
  };
  const QByteArray good = recordSamplePage();
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.name);
    QByteArray bad = good;
    damage.apply(bad);
    try {
      replay(bad);
      ADD_FAILURE() << "accepted";
    } catch (const EmfError& error) {
      EXPECT_NE(std::string(error.what()).find(damage.message), std::string::npos) << error.what();
    }
    // Nothing was drawn before the fault was found.
    QImage image = blankPage();
    QPainter painter(&image);
    EXPECT_THROW(EmfPlayer::play(bad, painter, QRectF(image.rect())), EmfError);
    painter.end();
    EXPECT_EQ(differingPixels(image, blankPage()), 0);
  }
}

TEST(EmfPlayer, UnknownRecordsAreSkipped) {
  // A comment record (type 70) between the header and the rest does no harm.
  QByteArray page = recordFilledPage(QRect(10, 10, 5, 5), Qt::black);
  QByteArray comment(16, '\0');
  coding::encodeFixed32(comment.data(), 70);
  coding::encodeFixed32(comment.data() + 4, 16);
  page.insert(108, comment);
  coding::encodeFixed32(page.data() + 48, uint32_t(page.size()));
  coding::encodeFixed32(page.data() + 52, coding::decodeFixed32(page.constData() + 52) + 1);
  EXPECT_EQ(replay(page).pixelColor(12, 12), QColor(Qt::black));
}

}  // namespace
}  // namespace wf
