// The EMF page recorder: header fields, text records with real advances, every record accepted
// by libUEMF's checks, and a page read by an independent reader (emf2svg-conv + rsvg-convert)
// shows its marks where they were drawn.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>

#include <uemf_endian.h>
#include <uemf_safe.h>

#include "reports/emf_format.h"
#include "reports/emf_writer.h"
#include "reports/page_font.h"
#include "store/byte_coding.h"
#include "support/sample_page.h"

namespace wf {
namespace {

struct RecordView {
  uint32_t type;
  uint32_t size;
  qsizetype offset;
};

std::vector<RecordView> records(const QByteArray& data) {
  std::vector<RecordView> result;
  qsizetype offset = 0;
  while (offset + 8 <= data.size()) {
    const uint32_t size = coding::decodeFixed32(data.constData() + offset + 4);
    result.push_back({coding::decodeFixed32(data.constData() + offset), size, offset});
    if (size == 0) break;
    offset += size;
  }
  return result;
}

TEST(EmfWriter, HeaderDescribesAnA4PageAt96Dpi) {
  const QByteArray page = recordSamplePage();
  const char* p = page.constData();
  EXPECT_EQ(coding::decodeFixed32(p), emf::EMR_HEADER);
  EXPECT_EQ(coding::decodeFixed32(p + 4), 108u);
  EXPECT_EQ(coding::decodeFixed32(p + 40), 0x464D4520u);
  EXPECT_EQ(coding::decodeFixed32(p + 44), 0x00010000u);
  EXPECT_EQ(coding::decodeFixed32(p + 48), uint32_t(page.size()));
  EXPECT_EQ(coding::decodeFixed32(p + 52), uint32_t(records(page).size()));
  EXPECT_EQ(coding::decodeFixedI32(p + 72), 794);
  EXPECT_EQ(coding::decodeFixedI32(p + 76), 1123);
  EXPECT_EQ(coding::decodeFixedI32(p + 80), 210);
  EXPECT_EQ(coding::decodeFixedI32(p + 84), 297);
  // Frame in hundredths of a millimetre.
  EXPECT_EQ(coding::decodeFixedI32(p + 32), 21008);
  EXPECT_EQ(coding::decodeFixedI32(p + 36), 29713);
  // Bounds: the drawn area (the page was filled white from corner to corner).
  EXPECT_EQ(coding::decodeFixedI32(p + 8), 0);
  EXPECT_EQ(coding::decodeFixedI32(p + 16), 793);
  EXPECT_EQ(coding::decodeFixedI32(p + 20), 1122);
  const uint16_t handles = coding::decodeFixed16(p + 56);
  EXPECT_GE(handles, 2);
  // Every object index the page uses lies inside the table.
  for (const RecordView& r : records(page)) {
    if (r.type == emf::EMR_CREATEBRUSHINDIRECT || r.type == emf::EMR_EXTCREATEFONTINDIRECTW) {
      EXPECT_LT(coding::decodeFixed32(p + r.offset + 8), handles);
    }
  }
}

TEST(EmfWriter, EndsWithTheEndOfFileRecord) {
  const QByteArray page = recordSamplePage();
  const auto all = records(page);
  ASSERT_FALSE(all.empty());
  EXPECT_EQ(all.back().type, emf::EMR_EOF);
  EXPECT_EQ(all.back().size, 20u);
  EXPECT_EQ(all.back().offset + 20, page.size());
  EXPECT_EQ(coding::decodeFixed32(page.constData() + page.size() - 4), 20u);
}

TEST(EmfWriter, TextRecordsCarryTheFontsRealAdvances) {
  EmfWriter writer;
  QFont arial(QStringLiteral("Arial"));
  arial.setPointSize(10);
  writer.setFont(arial);
  const QString text = QStringLiteral("Wrenfold 1,234.50");
  writer.drawText(300, 40, TextAnchor::Right, text, Qt::black);
  const QByteArray page = writer.finish();

  const QFont used = PageFont::fromQFont(arial, 96).toQFont();
  const QFontMetrics metrics(used);
  int found = 0;
  for (const RecordView& r : records(page)) {
    if (r.type != emf::EMR_EXTTEXTOUTW) continue;
    ++found;
    const char* rec = page.constData() + r.offset;
    ASSERT_EQ(coding::decodeFixed32(rec + 44), uint32_t(text.size()));
    EXPECT_EQ(coding::decodeFixed32(rec + 52) & emf::kTextOptionNoRect, 0u);
    const uint32_t offDx = coding::decodeFixed32(rec + 72);
    ASSERT_NE(offDx, 0u);
    int sum = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
      const int advance = coding::decodeFixedI32(rec + offDx + 4 * i);
      EXPECT_EQ(advance, metrics.horizontalAdvance(text.at(i))) << "character " << i;
      sum += advance;
    }
    EXPECT_EQ(sum, writer.textWidth(text));
    EXPECT_EQ(coding::decodeFixedI32(rec + 36), 300);  // reference point: the right edge
  }
  EXPECT_EQ(found, 1);
  // 10 points at 96 dpi is a 13-pixel character height.
  const auto all = records(page);
  const auto font = std::find_if(all.begin(), all.end(), [](const RecordView& r) {
                      return r.type == emf::EMR_EXTCREATEFONTINDIRECTW;
                    })->offset;
  EXPECT_EQ(coding::decodeFixedI32(page.constData() + font + 12), -13);
  EXPECT_EQ(coding::decodeFixed32(page.constData() + font + 4), 332u);
}

TEST(EmfWriter, EveryRecordPassesLibUemfChecks) {
  const QByteArray page = recordSamplePage();
  const char* limit = page.constData() + page.size();
  int checked = 0;
  for (const RecordView& r : records(page)) {
    const char* rec = page.constData() + r.offset;
    uint32_t size = 0;
    uint32_t type = 0;
    EXPECT_TRUE(U_emf_record_sizeok(rec, limit, &size, &type, 1)) << "record type " << r.type;
    EXPECT_EQ(size, r.size);
    EXPECT_TRUE(U_emf_record_safe(rec)) << "record type " << r.type << " at " << r.offset;
    ++checked;
  }
  EXPECT_GT(checked, 15);
}

// Renders an EMF with emf2svg-conv and rsvg-convert at its own size.
QImage renderIndependently(const QByteArray& page, QTemporaryDir& dir) {
  const QString emfPath = dir.filePath(QStringLiteral("page.emf"));
  const QString svgPath = dir.filePath(QStringLiteral("page.svg"));
  const QString pngPath = dir.filePath(QStringLiteral("page.png"));
  QFile file(emfPath);
  if (!file.open(QIODevice::WriteOnly) || file.write(page) != page.size()) return QImage();
  file.close();
  if (QProcess::execute(QStringLiteral("emf2svg-conv"),
                        {QStringLiteral("-i"), emfPath, QStringLiteral("-o"), svgPath}) != 0) {
    return QImage();
  }
  if (QProcess::execute(QStringLiteral("rsvg-convert"),
                        {QStringLiteral("-b"), QStringLiteral("white"), QStringLiteral("-w"),
                         QStringLiteral("794"), QStringLiteral("-h"), QStringLiteral("1123"),
                         QStringLiteral("-o"), pngPath, svgPath}) != 0) {
    return QImage();
  }
  return QImage(pngPath).convertToFormat(QImage::Format_RGB32);
}

bool dark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 100; }

// Whether any pixel of rect is darker than mid grey.
bool anyDark(const QImage& image, const QRect& rect) {
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      if (dark(image, x, y)) return true;
    }
  }
  return false;
}

TEST(EmfWriter, IndependentReaderPlacesFramesAndTextWhereDrawn) {
  ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("emf2svg-conv")).isEmpty());
  ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("rsvg-convert")).isEmpty());
  QTemporaryDir dir;
  const QImage image = renderIndependently(recordSamplePage(), dir);
  ASSERT_EQ(image.size(), QSize(794, 1123));

  // The frame's four sides, give or take a pixel for the reader's rectangle edges.
  const QRect f = sample::kFrame;
  EXPECT_TRUE(anyDark(image, QRect(f.center().x(), f.top() - 1, 1, 3)));
  EXPECT_TRUE(anyDark(image, QRect(f.center().x(), f.bottom() - 1, 1, 3)));
  EXPECT_TRUE(anyDark(image, QRect(f.left() - 1, f.center().y() + 10, 3, 1)));
  EXPECT_TRUE(anyDark(image, QRect(f.right() - 1, f.center().y() + 10, 3, 1)));
  EXPECT_FALSE(anyDark(image, QRect(f.left() + 3, f.bottom() - 8, 40, 5)));
  // The band fill is grey inside and stops at its edges (this reader draws a rectangle's box
  // up to its far corner, a pixel or two wider than the filled area).
  EXPECT_EQ(qGray(image.pixel(sample::kBand.center())), 200);
  EXPECT_EQ(qGray(image.pixel(sample::kBand.right() + 4, sample::kBand.center().y())), 255);
  EXPECT_EQ(qGray(image.pixel(sample::kBand.center().x(), sample::kBand.bottom() + 4)), 255);
  // The left-anchored text begins at its point and lies in its line.
  const QPoint t = sample::kLeftText;
  EXPECT_TRUE(anyDark(image, QRect(t.x(), t.y() + 2, 80, 12)));
  EXPECT_FALSE(anyDark(image, QRect(t.x() - 5, t.y() + 2, 4, 12)));
  EXPECT_FALSE(anyDark(image, QRect(t.x() + 100, t.y() + 2, 50, 12)));
  // The centred text straddles its point; the right-anchored one ends at its point.
  EXPECT_TRUE(anyDark(image, QRect(320, 212, 25, 12)));
  EXPECT_TRUE(anyDark(image, QRect(355, 212, 25, 12)));
  EXPECT_FALSE(anyDark(image, QRect(280, 205, 20, 20)));
  EXPECT_FALSE(anyDark(image, QRect(400, 205, 20, 20)));
  EXPECT_TRUE(anyDark(image, QRect(575, 232, 15, 16)));
  EXPECT_FALSE(anyDark(image, QRect(593, 225, 5, 30)));
  // The picture: red left half, blue right half.
  const QRgb left = image.pixel(sample::kPicture.left() + 10, sample::kPicture.center().y());
  const QRgb right = image.pixel(sample::kPicture.right() - 10, sample::kPicture.center().y());
  EXPECT_GT(qRed(left), 180);
  EXPECT_LT(qBlue(left), 60);
  EXPECT_GT(qBlue(right), 160);
  EXPECT_LT(qRed(right), 60);
}

}  // namespace
}  // namespace wf
