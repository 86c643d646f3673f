// The shared drawing routines, checked pixel by pixel on small images.
#include "controls/gradient_draw.h"
#include "pixel_probe.h"
#include "text_ink.h"

#include <gtest/gtest.h>
#include <QFont>
#include <QPainter>

namespace wf {
namespace {

using test::Rgb;
using test::rgbAt;

QImage blank(int width, int height, QRgb color = qRgb(1, 2, 3)) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(color);
  return image;
}

TEST(DrawGradient, DoubleVerticalTitleBarRows) {
  // The title bar preset at its usual height: n = 22, darkest on the middle row.
  QImage image = blank(4, 45);
  DrawGradient(image, image.rect(), StyleColor(16, 132, 208), StyleColor(113, 184, 255),
               TGradientType::gtDoubleVert);
  EXPECT_EQ(rgbAt(image, 0, 22), Rgb(16, 132, 208));
  EXPECT_EQ(rgbAt(image, 3, 0), Rgb(113, 184, 255));
  EXPECT_EQ(rgbAt(image, 3, 44), Rgb(113, 184, 255));
  EXPECT_EQ(rgbAt(image, 1, 21), rgbAt(image, 1, 23));
  // Row 11 lies halfway: 16 + 48.5 and 208 + 23.5 round to the even neighbour.
  EXPECT_EQ(rgbAt(image, 2, 11), Rgb(64, 158, 232));
  EXPECT_EQ(rgbAt(image, 2, 33), Rgb(64, 158, 232));
}

TEST(DrawGradient, VerticalNeverReachesTheToColour) {
  QImage image = blank(3, 25);
  DrawGradient(image, image.rect(), StyleColor(255, 255, 255), StyleColor(175, 190, 209),
               TGradientType::gtVertical);
  EXPECT_EQ(rgbAt(image, 0, 0), Rgb(255, 255, 255));
  // from + 24/25 of the difference: 178.2, 192.6, 210.84.
  EXPECT_EQ(rgbAt(image, 2, 24), Rgb(178, 193, 211));
  EXPECT_EQ(rgbAt(image, 1, 12), Rgb(217, 224, 233));  // 216.6, 223.8, 232.92
}

TEST(DrawGradient, ChannelsComeFromDoubleArithmetic) {
  // n = 14 and distance 7: the exact values are halves (14.5, 126.5, 127.5), but delta * 7 + from
  // in doubles lies just beside them, so they round away from the even neighbour.
  struct Case {
    const char* name;
    TGradientType type;
    QSize size;
    QPoint probe;
  };
  const Case cases[] = {
      {"vertical", TGradientType::gtVertical, QSize(2, 14), QPoint(1, 7)},
      {"horizontal", TGradientType::gtHorizontal, QSize(14, 2), QPoint(7, 1)},
      {"double vertical", TGradientType::gtDoubleVert, QSize(2, 28), QPoint(0, 21)},
      {"double horizontal", TGradientType::gtDoubleHorz, QSize(28, 2), QPoint(7, 0)},
  };
  for (const Case& c : cases) {
    QImage image = blank(c.size.width(), c.size.height());
    DrawGradient(image, image.rect(), StyleColor(0, 0, 2), StyleColor(29, 253, 253), c.type);
    EXPECT_EQ(rgbAt(image, c.probe.x(), c.probe.y()), Rgb(15, 127, 127)) << c.name;
  }
}

TEST(DrawGradient, HorizontalShapes) {
  QImage image = blank(10, 2);
  DrawGradient(image, image.rect(), StyleColor(0, 0, 0), StyleColor(100, 200, 50),
               TGradientType::gtHorizontal);
  EXPECT_EQ(rgbAt(image, 0, 1), Rgb(0, 0, 0));
  EXPECT_EQ(rgbAt(image, 9, 0), Rgb(90, 180, 45));

  DrawGradient(image, image.rect(), StyleColor(0, 0, 0), StyleColor(100, 200, 50),
               TGradientType::gtDoubleHorz);
  EXPECT_EQ(rgbAt(image, 5, 0), Rgb(0, 0, 0));  // n = 5, the middle column
  EXPECT_EQ(rgbAt(image, 0, 1), Rgb(100, 200, 50));
  EXPECT_EQ(rgbAt(image, 4, 1), rgbAt(image, 6, 1));
}

TEST(DrawGradient, CornerAndRadialShapesGrowFromTheirOrigin) {
  QImage image = blank(30, 40);
  const StyleColor from(10, 20, 30);
  const StyleColor to(210, 220, 230);
  DrawGradient(image, image.rect(), from, to, TGradientType::gtFromTopLeft);
  EXPECT_EQ(rgbAt(image, 0, 0), Rgb(10, 20, 30));
  // n = D = 50; pixel (29, 39) is at s = 48.6: 10 + 200 * 48.6 / 50 = 204.4.
  EXPECT_EQ(rgbAt(image, 29, 39), Rgb(204, 214, 224));

  DrawGradient(image, image.rect(), from, to, TGradientType::gtFromTopRight);
  EXPECT_EQ(rgbAt(image, 29, 0), Rgb(14, 24, 34));  // s = 1: 10 + 200 / 50

  DrawGradient(image, image.rect(), from, to, TGradientType::gtRadial);
  EXPECT_EQ(rgbAt(image, 15, 20), Rgb(10, 20, 30));    // n = 25, the centre
  EXPECT_EQ(rgbAt(image, 15, 0), Rgb(170, 180, 190));  // s = 20: 10 + 8 * 20
}

TEST(DrawGradient, EqualColoursFillSolidAndRegionsProtectTheRest) {
  QImage image = blank(8, 8);
  const QRegion inside(QRect(2, 2, 3, 3));
  DrawGradient(image, image.rect(), StyleColor(9, 9, 9), StyleColor(9, 9, 9),
               TGradientType::gtRadial, &inside);
  EXPECT_EQ(rgbAt(image, 2, 2), Rgb(9, 9, 9));
  EXPECT_EQ(rgbAt(image, 4, 4), Rgb(9, 9, 9));
  EXPECT_EQ(rgbAt(image, 5, 5), Rgb(1, 2, 3));
  EXPECT_EQ(rgbAt(image, 1, 3), Rgb(1, 2, 3));

  DrawGradient(image, image.rect(), StyleColor(0, 0, 0), StyleColor(80, 80, 80),
               TGradientType::gtVertical, &inside);
  EXPECT_EQ(rgbAt(image, 3, 3), Rgb(30, 30, 30));
  EXPECT_EQ(rgbAt(image, 3, 1), Rgb(1, 2, 3));
  EXPECT_EQ(rgbAt(image, 6, 3), Rgb(1, 2, 3));
}

TEST(DrawGradient, DegenerateAreasStayInBounds) {
  // One pixel across in the gradient's direction: no steps, the from-colour.
  QImage line = blank(5, 1);
  DrawGradient(line, line.rect(), StyleColor(7, 8, 9), StyleColor(200, 0, 0),
               TGradientType::gtDoubleVert);
  EXPECT_EQ(rgbAt(line, 4, 0), Rgb(7, 8, 9));
  QImage dot = blank(1, 1);
  DrawGradient(dot, dot.rect(), StyleColor(7, 8, 9), StyleColor(200, 0, 0),
               TGradientType::gtRadial);
  EXPECT_EQ(rgbAt(dot, 0, 0), Rgb(7, 8, 9));
  // A rectangle larger than the bitmap is clipped to it.
  QImage small = blank(4, 4);
  DrawGradient(small, QRect(0, 0, 40, 40), StyleColor(0, 0, 0), StyleColor(40, 40, 40),
               TGradientType::gtFromTopRight);
  QImage empty;
  DrawGradient(empty, QRect(0, 0, 4, 4), StyleColor(0, 0, 0), StyleColor(40, 40, 40),
               TGradientType::gtVertical);
  EXPECT_TRUE(empty.isNull());
}

TEST(DrawGradient, OtherImageFormatsAreConvertedFirst) {
  QImage image(4, 4, QImage::Format_RGB888);
  image.fill(Qt::black);
  DrawGradient(image, image.rect(), StyleColor(0, 0, 0), StyleColor(40, 40, 40),
               TGradientType::gtVertical);
  EXPECT_EQ(image.format(), QImage::Format_RGB32);
  EXPECT_EQ(rgbAt(image, 0, 3), Rgb(30, 30, 30));
}

TEST(ReduceSupersampled, AveragesTheBandAndFillsTheInterior) {
  // Each 3 by 3 block holds 0..8 in red; its average is 36 div 9 = 4.
  QImage large = blank(30, 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) large.setPixel(x, y, qRgb((y % 3) * 3 + x % 3, 90, 255));
  large.setPixel(0, 0, qRgb(8, 90, 255));  // block (0, 0) now sums to 44: 4 still
  large.setPixel(1, 0, qRgb(9, 91, 255));  // 53 div 9 = 5, 811 div 9 = 90
  QImage small = blank(10, 10);
  ReduceSupersampled(large, small, 3, StyleColor(200, 100, 50), 4);  // b = 2
  EXPECT_EQ(rgbAt(small, 0, 0), Rgb(5, 90, 255));
  EXPECT_EQ(rgbAt(small, 1, 5), Rgb(4, 90, 255));
  EXPECT_EQ(rgbAt(small, 8, 5), Rgb(4, 90, 255));  // x >= width - b: averaged
  EXPECT_EQ(rgbAt(small, 5, 9), Rgb(4, 90, 255));
  // The interior fill (b, b, width - b, height - b) covers row and column b as well.
  EXPECT_EQ(rgbAt(small, 2, 2), Rgb(200, 100, 50));
  EXPECT_EQ(rgbAt(small, 7, 7), Rgb(200, 100, 50));
  EXPECT_EQ(rgbAt(small, 5, 5), Rgb(200, 100, 50));
}

TEST(ReduceSupersampled, ShortSourceEndsAveragingButStillFillsTheInterior) {
  QImage large = blank(30, 7, qRgb(30, 30, 30));  // only two block rows exist
  QImage small = blank(10, 10, qRgb(1, 1, 1));
  ReduceSupersampled(large, small, 3, StyleColor(200, 100, 50), 0);  // band 0 means k: b = 1
  EXPECT_EQ(rgbAt(small, 0, 0), Rgb(30, 30, 30));
  EXPECT_EQ(rgbAt(small, 0, 1), Rgb(30, 30, 30));
  EXPECT_EQ(rgbAt(small, 0, 5), Rgb(1, 1, 1));  // never averaged
  EXPECT_EQ(rgbAt(small, 4, 4), Rgb(200, 100, 50));
  EXPECT_EQ(rgbAt(small, 1, 8), Rgb(200, 100, 50));
}

TEST(BlendBitmap, MixesByPercentageReadingTheSourceFromItsCorner) {
  struct Case {
    int percentage;
    int destination;
    int source;
    int expected;
  };
  const Case cases[] = {
      {0, 10, 250, 10},
      {100, 10, 250, 250},
      {50, 1, 2, 2},  // 1.5 -> 2
      {50, 0, 1, 0},  // 0.5 -> 0
      {30, 100, 200, 130},
      {10, 255, 0, 230},
      {150, 10, 20, 20},
      // Exact halves that the double weights move off the half: 1.4999.., 4.5000..1,
      // 31.4999.., 42.5000..1.
      {10, 0, 15, 1},
      {30, 0, 15, 5},
      {70, 0, 45, 31},
      {90, 2, 47, 43},
  };
  for (const Case& c : cases) {
    QImage destination = blank(6, 6, qRgb(c.destination, c.destination, 7));
    QImage source = blank(3, 3, qRgb(c.source, c.source, 7));
    source.setPixel(0, 0, qRgb(0, c.source, 7));
    BlendBitmap(destination, source, QRect(2, 2, 3, 3), c.percentage);
    EXPECT_EQ(qGreen(destination.pixel(3, 3)), c.expected) << c.percentage;
    EXPECT_EQ(qGreen(destination.pixel(1, 1)), c.destination) << "outside the rectangle";
    // The source's top-left pixel (red 0) lands on the rectangle's top-left pixel.
    if (c.percentage >= 100) {
      EXPECT_EQ(qRed(destination.pixel(2, 2)), 0);
      EXPECT_EQ(qRed(destination.pixel(3, 2)), c.source);
    }
  }
}

TEST(BlendBitmap, SourceSmallerThanTheRectangleIsNotReadPastItsEdge) {
  QImage destination = blank(10, 10, qRgb(0, 0, 0));
  const QImage source = blank(2, 2, qRgb(100, 100, 100));
  BlendBitmap(destination, source, QRect(0, 0, 10, 10), 100);
  EXPECT_EQ(rgbAt(destination, 1, 1), Rgb(100, 100, 100));
  EXPECT_EQ(rgbAt(destination, 2, 2), Rgb(0, 0, 0));
}

TEST(ComposeLayer, CopiesTheBaseShiftedByTheOffsetThenBlends) {
  QImage base = blank(4, 4, qRgb(10, 10, 10));
  base.setPixel(0, 0, qRgb(99, 99, 99));
  const QImage layer = blank(4, 4, qRgb(110, 110, 110));
  QImage work = blank(4, 4, qRgb(0, 0, 0));
  ComposeLayer(work, base, layer, 0, work.rect(), 1);
  EXPECT_EQ(rgbAt(work, 0, 0), Rgb(0, 0, 0));     // not reached by the shifted copy
  EXPECT_EQ(rgbAt(work, 1, 1), Rgb(99, 99, 99));  // base's corner
  EXPECT_EQ(rgbAt(work, 3, 3), Rgb(10, 10, 10));

  ComposeLayer(work, base, layer, 50, work.rect(), 1);
  EXPECT_EQ(rgbAt(work, 2, 2), Rgb(60, 60, 60));
  EXPECT_EQ(rgbAt(work, 0, 0), Rgb(55, 55, 55));

  // Composing a bitmap over itself copies as if through a scratch bitmap.
  QImage self = blank(4, 4, qRgb(0, 0, 0));
  for (int i = 0; i < 4; ++i) self.setPixel(i, i, qRgb(10 * i, 10 * i, 10 * i));
  ComposeLayer(self, self, layer, 0, self.rect(), 1);
  EXPECT_EQ(rgbAt(self, 1, 1), Rgb(0, 0, 0));
  EXPECT_EQ(rgbAt(self, 2, 2), Rgb(10, 10, 10));
  EXPECT_EQ(rgbAt(self, 3, 3), Rgb(20, 20, 20));
}

TEST(TintGray, LightensTheGreyAndClamps) {
  QImage image = blank(2, 1);
  image.setPixel(0, 0, qRgb(30, 60, 91));  // g = 60
  image.setPixel(1, 0, qRgb(250, 250, 250));
  TintGray(image, StyleColor(64, 64, 10));
  EXPECT_EQ(rgbAt(image, 0, 0), Rgb(124, 124, 70));
  EXPECT_EQ(rgbAt(image, 1, 0), Rgb(255, 255, 255));
}

TEST(RoundRectRegion, CutsCornersSymmetrically) {
  EXPECT_EQ(roundRectRegion(QRect(0, 0, 10, 6), 0, 0), QRegion(QRect(0, 0, 10, 6)));
  // A 5 by 5 corner cuts three pixels: the outline steps (2, 0), (1, 1), (0, 2).
  const QRegion rounded = roundRectRegion(QRect(0, 0, 75, 25), 5, 5);
  for (QPoint cut :
       {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(74, 24), QPoint(73, 24), QPoint(74, 23)})
    EXPECT_FALSE(rounded.contains(cut)) << cut.x() << "," << cut.y();
  for (QPoint kept : {QPoint(2, 0), QPoint(1, 1), QPoint(0, 2), QPoint(72, 24), QPoint(73, 23)})
    EXPECT_TRUE(rounded.contains(kept)) << kept.x() << "," << kept.y();
  EXPECT_TRUE(rounded.contains(QPoint(0, 12)));
  EXPECT_TRUE(rounded.contains(QPoint(74, 12)));
  EXPECT_FALSE(rounded.contains(QPoint(75, 12)));
  const QRegion big = roundRectRegion(QRect(0, 0, 100, 60), 40, 40);
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 100; ++x) {
      ASSERT_EQ(big.contains(QPoint(x, y)), big.contains(QPoint(99 - x, y))) << x << "," << y;
      ASSERT_EQ(big.contains(QPoint(x, y)), big.contains(QPoint(x, 59 - y))) << x << "," << y;
    }
  }
  EXPECT_FALSE(big.contains(QPoint(3, 3)));
  EXPECT_TRUE(big.contains(QPoint(6, 6)));
}

QImage textImage(bool enabled, bool shadow, const QString& text = QStringLiteral("HIH")) {
  QImage image = blank(120, 50, qRgb(255, 255, 0));
  QPainter painter(&image);
  DrawShadowText(painter, text, test::crispFont(QStringLiteral("DejaVu Sans"), 36, true),
                 StyleColor(0, 0, 255), StyleColor(255, 0, 0), shadow, TextFormat{},
                 QRect(5, 5, 110, 40), enabled);
  return image;
}

TEST(DrawShadowText, ShadowAndEmbossedLooks) {
  // The plain drawing inks the text's pixels in the font colour and nothing else.
  const QImage background = textImage(true, false, QString());
  const QImage plain = textImage(true, false);
  const test::TextInk ink(plain, background);
  ASSERT_GT(ink.count(), 0);
  EXPECT_EQ(test::firstDifference(plain, ink.overPlain(background, {}, 0, qRgb(0, 0, 255))), "");

  // Each look draws the text twice: the lower copy 1 pixel right and down, then the upper one.
  struct Case {
    const char* name;
    bool enabled, shadow;
    QRgb under, over;
  };
  const Case cases[] = {
      {"shadow", true, true, qRgb(255, 0, 0), qRgb(0, 0, 255)},
      // Disabled: button-highlight under button-shadow, the shadow flag ignored.
      {"disabled", false, false, qRgb(255, 255, 255), qRgb(128, 128, 128)},
      {"disabled with shadow", false, true, qRgb(255, 255, 255), qRgb(128, 128, 128)},
  };
  for (const Case& c : cases) {
    const QImage expected = ink.overPlain(background, QPoint(1, 1), c.under, c.over);
    EXPECT_EQ(test::firstDifference(textImage(c.enabled, c.shadow), expected), "") << c.name;
  }
}

}  // namespace
}  // namespace wf
