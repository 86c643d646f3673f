#include "controls/progress_cyl.h"
#include "controls/closing_cylinder_look.h"
#include "text_ink.h"

#include <gtest/gtest.h>
#include <QPainter>
#include <QSignalSpy>
#include <QWidget>

#include <functional>
#include <memory>

namespace wf {
namespace {

constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kBlack = 0xff000000;

// Counts the paints the cylinder does, to prove that steps which change nothing draw nothing.
class CountingCyl : public TProgressCyl {
 public:
  using TProgressCyl::TProgressCyl;
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent* event) override {
    ++paints;
    TProgressCyl::paintEvent(event);
  }
};

// The closing window's bar: 201 by 25 in the look the closing window stores.
template <typename Cyl = TProgressCyl>
std::unique_ptr<Cyl> closingBar(QWidget* parent = nullptr) {
  auto bar = std::make_unique<Cyl>(parent);
  bar->setGeometry(16, 88, 201, 25);
  applyClosingCylinderLook(*bar);
  return bar;
}

TEST(ProgressCylTest, ClosingWindowBarEndsAndPercentages) {
  auto bar = closingBar();
  EXPECT_EQ(bar->innerRect(), QRect(4, 4, 193, 17));
  EXPECT_EQ(bar->slopeV(), 15);
  const int ends[] = {5, 42, 81, 120, 159, 197};
  for (int position = 0; position <= 5; ++position) {
    bar->setPosition(position);
    EXPECT_EQ(bar->barEnd(), ends[position]) << "position " << position;
    EXPECT_EQ(bar->percent(), position * 20) << "position " << position;
  }
}

TEST(ProgressCylTest, ClosingWindowRowColours) {
  auto bar = closingBar();
  EXPECT_EQ(bar->partColor(TProgressCyl::CylPart::Filled, 5), qRgb(255, 159, 63));
  EXPECT_EQ(bar->partColor(TProgressCyl::CylPart::Filled, 0), qRgb(255, 206, 82));
  EXPECT_EQ(bar->partColor(TProgressCyl::CylPart::Empty, 5), qRgb(207, 207, 207));
  EXPECT_EQ(bar->partColor(TProgressCyl::CylPart::LeadingLine, 5), qRgb(159, 63, 63));
  for (int row : {0, 1, 9, 10, 16})
    EXPECT_EQ(bar->partColor(TProgressCyl::CylPart::Empty, row), kWhite) << "row " << row;
  EXPECT_EQ(bar->partColor(TProgressCyl::CylPart::Empty, 2), qRgb(244, 244, 244));
}

TEST(ProgressCylTest, ClosingWindowPicture) {
  auto bar = closingBar();
  bar->setPosition(3);  // bar end 120
  const QImage image = bar->render();
  ASSERT_EQ(image.size(), QSize(201, 25));
  const int lightRow = 4 + 5;
  EXPECT_EQ(image.pixel(60, lightRow), qRgb(255, 159, 63));
  EXPECT_EQ(image.pixel(120, lightRow), qRgb(159, 63, 63));
  EXPECT_EQ(image.pixel(121, lightRow), qRgb(207, 207, 207));
  EXPECT_EQ(image.pixel(150, 4 + 2), qRgb(244, 244, 244));
  // The black frame covers the inner rectangle's outermost rows and columns...
  for (QPoint p : {QPoint(4, 4), QPoint(100, 4), QPoint(100, 20), QPoint(4, 12), QPoint(196, 12)})
    EXPECT_EQ(image.pixel(p), kBlack) << p.x() << "," << p.y();
  // ...and the 4-pixel margin around it stays white.
  for (QPoint p : {QPoint(0, 0), QPoint(3, 12), QPoint(100, 3), QPoint(197, 12), QPoint(200, 24),
                   QPoint(100, 21)})
    EXPECT_EQ(image.pixel(p), kWhite) << p.x() << "," << p.y();
}

TEST(ProgressCylTest, LeadingLineAtTheEndsOfTheRange) {
  // Column e (row e, vertical) is always the leading line. At Max (at Min, vertical) it lies one
  // past the inner rectangle, in the margin, where only a bevel would cover it.
  struct Case {
    const char* name;
    bool vertical;
    bool innerBevel;
    int position;
    QPoint lineAt;
    QRgb wantLine;
    QPoint besideAt;
    QRgb wantBeside;
  };
  const QRgb line = qRgb(159, 63, 63);
  const QRgb filled = qRgb(255, 159, 63);
  const QRgb empty = qRgb(207, 207, 207);
  const QRgb bevelShadow = qRgb(63, 63, 63);  // bevel colour RGB(127,127,127) less 64
  const Case cases[] = {
      {"at Min, the bar's second column", false, false, 0, {5, 9}, line, {6, 9}, empty},
      {"at Max, in the margin", false, false, 5, {197, 9}, line, {195, 9}, filled},
      {"at Max, under the inner bevel", false, true, 5, {197, 9}, bevelShadow, {195, 9}, filled},
      {"vertical at Min, in the margin", true, false, 0, {9, 197}, line, {9, 150}, empty},
  };
  for (const Case& c : cases) {
    auto bar = closingBar();
    if (c.vertical) {
      bar->resize(25, 201);
      bar->setOrientation(pbVertical);
    }
    if (c.innerBevel) {
      bar->setBevelColor(StyleColor(127, 127, 127));
      bar->setBevelInner(TProgressCyl::bvRaised);
    }
    bar->setPosition(c.position);
    const QImage image = bar->render();
    EXPECT_EQ(image.pixel(c.lineAt), c.wantLine) << c.name;
    EXPECT_EQ(image.pixel(c.besideAt), c.wantBeside) << c.name;
  }
}

TEST(ProgressCylTest, VerticalBarGrowsUpwards) {
  auto bar = closingBar();
  bar->resize(25, 201);
  bar->setOrientation(pbVertical);
  EXPECT_EQ(bar->FontOrientation(), foBottomToTop);
  bar->setPosition(3);
  // s = 121 + 8 - 5 = 124, bar top e = (201 - 4) - (124 - 8) = 81.
  EXPECT_EQ(bar->barEnd(), 81);
  const QImage image = bar->render();
  const int lightColumn = 4 + 5;
  EXPECT_EQ(image.pixel(lightColumn, 60), qRgb(207, 207, 207));
  EXPECT_EQ(image.pixel(lightColumn, 81), qRgb(159, 63, 63));
  EXPECT_EQ(image.pixel(lightColumn, 150), qRgb(255, 159, 63));
  bar->setOrientation(pbHorizontal);
  EXPECT_EQ(bar->FontOrientation(), foLeftToRight);
}

TEST(ProgressCylTest, RangeRules) {
  struct Case {
    const char* name;
    int min, max, position;  // applied in this order
    int wantMin, wantMax, wantPosition;
  };
  const Case cases[] = {
      {"position above max is clamped", 0, 5, 6, 0, 5, 5},
      {"position below min is clamped", 0, 5, -3, 0, 5, 0},
      {"max equal to min takes min + 1", 3, 3, 3, 3, 4, 3},
      {"max below min is ignored", 3, 1, 2, 3, 100, 3},
      {"min equal to max takes max - 1", 100, 100, 0, 99, 100, 99},
      {"min above max is ignored", 150, 100, 50, 0, 100, 50},
      {"negative range", -10, -5, -7, -10, -5, -7},
  };
  for (const Case& c : cases) {
    TProgressCyl bar;
    bar.setMin(c.min);
    bar.setMax(c.max);
    bar.setPosition(c.position);
    EXPECT_EQ(bar.Min(), c.wantMin) << c.name;
    EXPECT_EQ(bar.Max(), c.wantMax) << c.name;
    EXPECT_EQ(bar.Position(), c.wantPosition) << c.name;
  }
}

TEST(ProgressCylTest, RangeChangesMoveThePosition) {
  TProgressCyl bar;
  bar.setPosition(80);
  bar.setMax(50);
  EXPECT_EQ(bar.Position(), 50);
  bar.setPosition(10);
  bar.setMin(20);
  EXPECT_EQ(bar.Position(), 20);
  EXPECT_EQ(bar.percent(), 0);
}

TEST(ProgressCylTest, ProgressDoneWheneverTheBarIsDrawnAnewAtMax) {
  QWidget window;
  window.resize(335, 127);
  auto bar = closingBar<CountingCyl>(&window);
  QSignalSpy done(bar.get(), &TProgressCyl::OnProgressDone);
  window.show();
  QCoreApplication::processEvents();
  for (int position = 1; position <= 5; ++position) bar->setPosition(position);
  EXPECT_EQ(done.count(), 1);
  // Increments at Max change neither the extent nor the percentage: no repaint, no event.
  const int paintsAtMax = bar->paints;
  for (int i = 0; i < 3; ++i) bar->setPosition(bar->Position() + 1);
  QCoreApplication::processEvents();
  EXPECT_EQ(bar->paints, paintsAtMax);
  EXPECT_EQ(done.count(), 1);
  // A change that keeps the drawn extent raises nothing (at Max the extent is the bar's whole
  // width, whatever the frame); a resize moves it: a new drawing at Max, raised again.
  bar->setCylinderEffect(ceLow);
  bar->setBorderWidth(4);
  EXPECT_EQ(done.count(), 1);
  bar->resize(300, 25);
  EXPECT_EQ(done.count(), 2);
  bar->setPosition(0);
  bar->setPosition(5);
  EXPECT_EQ(done.count(), 3);
}

TEST(ProgressCylTest, PositionRepaintsSynchronously) {
  QWidget window;
  window.resize(235, 127);
  auto bar = closingBar<CountingCyl>(&window);
  window.show();
  QCoreApplication::processEvents();
  const int before = bar->paints;
  bar->setPosition(1);  // no event processing: the closing window sleeps between steps
  EXPECT_EQ(bar->paints, before + 1);
}

TEST(ProgressCylTest, GlassOrangePresetAndSwitchToCustom) {
  TProgressCyl bar;
  bar.setProEffect(peGlassOrange);
  EXPECT_EQ(bar.ProEffect(), peGlassOrange);
  EXPECT_EQ(bar.CylinderEffect(), ceMaximum);
  EXPECT_EQ(bar.FontColor(), StyleColor(0, 0, 0));
  EXPECT_EQ(bar.FontEffect(), feNone);
  EXPECT_EQ(bar.ForeColor(), StyleColor(255, 128, 0));
  EXPECT_EQ(bar.BackColor(), StyleColor(192, 192, 192));
  EXPECT_EQ(bar.ForeLineColor(), StyleColor(128, 0, 0));
  EXPECT_EQ(bar.BackBorderColor(), StyleColor(0, 0, 0));
  EXPECT_EQ(bar.Color(), clBtnFace);
  EXPECT_EQ(bar.BevelColor(), clBtnFace);
  for (const TPCColorStyle* style : {&bar.ForeStyle(), &bar.BackStyle()}) {
    EXPECT_EQ(style->IntensityRGB(), 255);
    EXPECT_EQ(style->Intensity(), 4.0f);
    EXPECT_EQ(style->IntensityFactor(), -1.0f);
    EXPECT_EQ(style->RangeRGB(), 255);
    EXPECT_EQ(style->ColorRGB(), 255);
    EXPECT_EQ(style->ColorFactor(), 1.0f);
    EXPECT_EQ(style->LightAngle(), -3.0f);
  }
  // A bevel or a border is not part of the look.
  bar.setBevelWidth(2);
  bar.setBorderWidth(1);
  bar.setBevelOuter(TProgressCyl::bvRaised);
  EXPECT_EQ(bar.ProEffect(), peGlassOrange);
  // Colours, styles and effects are.
  bar.setForeColor(StyleColor(0, 0, 255));
  EXPECT_EQ(bar.ProEffect(), peCustom);
  bar.setProEffect(peGlassOrange);
  bar.BackStyle().setColorFactor(-1);
  EXPECT_EQ(bar.ProEffect(), peCustom);
  bar.setProEffect(peGlassOrange);
  bar.setFontEffect(feInvert);
  EXPECT_EQ(bar.ProEffect(), peCustom);
}

TEST(ProgressCylTest, ColourSettersAndPresetsTakeEqualValues) {
  // Setting a look colour to the value it already has is still a choice of colour.
  struct Case {
    const char* name;
    std::function<void(TProgressCyl&)> set;
  };
  const Case cases[] = {
      {"ForeColor", [](TProgressCyl& b) { b.setForeColor(b.ForeColor()); }},
      {"BackColor", [](TProgressCyl& b) { b.setBackColor(b.BackColor()); }},
      {"ForeLineColor", [](TProgressCyl& b) { b.setForeLineColor(b.ForeLineColor()); }},
      {"BevelColor", [](TProgressCyl& b) { b.setBevelColor(b.BevelColor()); }},
  };
  for (const Case& c : cases) {
    TProgressCyl bar;
    bar.setProEffect(peGlassOrange);
    c.set(bar);
    EXPECT_EQ(bar.ProEffect(), peCustom) << c.name;
  }
  // Choosing the current row again puts back the settings of the row that were changed without
  // leaving it (frame and text switches are not part of the look).
  TProgressCyl bar;
  bar.setProEffect(peMetalRed);
  const int rowBorder = bar.BorderWidth();
  bar.setBorderWidth(rowBorder + 2);
  bar.setShowText(!bar.ShowText());
  bar.setBevelOuter(TProgressCyl::bvRaised);
  ASSERT_EQ(bar.ProEffect(), peMetalRed);
  bar.setProEffect(peMetalRed);
  EXPECT_EQ(bar.BorderWidth(), rowBorder);
  EXPECT_TRUE(bar.ShowText());
  EXPECT_EQ(bar.BevelOuter(), TProgressCyl::bvLowered);
}

TEST(ProgressCylTest, EveryPresetRowApplies) {
  TProgressCyl bar;
  EXPECT_EQ(bar.ProEffect(), demoSystem);
  for (int row = 0; row < kProEffectCount; ++row) {
    bar.setProEffect(static_cast<TProEffect>(row));
    EXPECT_EQ(bar.ProEffect(), row);
  }
  // peCustom leaves every setting as it is.
  bar.setProEffect(peGlassGreen);
  const StyleColor fore = bar.ForeColor();
  bar.setProEffect(peCustom);
  EXPECT_EQ(bar.ForeColor(), fore);
}

TEST(ProgressCylTest, DivisorsOfZeroAndFramesWithoutInsideAreRefused) {
  TProgressCyl bar;
  bar.ForeStyle().setIntensity(0);
  bar.ForeStyle().setRangeRGB(0);
  bar.ForeStyle().setLightAngle(0);
  EXPECT_EQ(bar.ForeStyle().Intensity(), 4.0f);
  EXPECT_EQ(bar.ForeStyle().RangeRGB(), 255);
  EXPECT_EQ(bar.ForeStyle().LightAngle(), -3.0f);
  EXPECT_EQ(bar.ProEffect(), demoSystem);
  // 22 pixels high: m = 2 + 2 * 5 = 12 leaves no inside.
  bar.setBevelWidth(5);
  EXPECT_EQ(bar.BevelWidth(), 1);
  bar.setBorderWidth(9);
  EXPECT_EQ(bar.BorderWidth(), 2);
  bar.setBorderWidth(3);
  EXPECT_EQ(bar.BorderWidth(), 3);
  EXPECT_EQ(bar.innerRect(), QRect(5, 5, 140, 12));
}

TEST(ProgressCylTest, Text) {
  auto bar = closingBar();
  bar->setMax(100);
  bar->setPosition(40);
  EXPECT_EQ(bar->displayText(), QStringLiteral("40%"));
  bar->setPosition(100);
  EXPECT_EQ(bar->displayText(), QStringLiteral("Complete"));
  bar->setTextDone(QString());
  EXPECT_EQ(bar->displayText(), QStringLiteral("100%"));
  bar->setText(QStringLiteral(" pct"));
  bar->setPosition(7);
  EXPECT_EQ(bar->displayText(), QStringLiteral("7 pct"));
}

TEST(ProgressCylTest, TextEffectsDrawOverTheCentredText) {
  const QFont font = test::crispFont(QStringLiteral("DejaVu Sans"), 12, true);
  auto bar = closingBar();
  bar->setMax(100);
  bar->setPosition(50);  // the text straddles the filled and the empty part
  bar->setFont(font);
  bar->setFontColor(StyleColor(0, 0, 255));
  bar->setFontShadowColor(StyleColor(0, 255, 0));
  const QImage plain = bar->render();
  bar->setShowText(true);
  bar->setFontEffect(feNone);
  const QImage text = bar->render();

  // The text's top-left corner is centred: ((201 - text width) div 2, (25 - height) div 2 + 1).
  const QFontMetrics metrics(font);
  QImage placed = plain.copy();
  {
    QPainter painter(&placed);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 255));
    painter.drawText((201 - metrics.horizontalAdvance(QStringLiteral("50%"))) / 2,
                     (25 - metrics.height()) / 2 + 1 + metrics.ascent(), QStringLiteral("50%"));
  }
  EXPECT_EQ(test::firstDifference(text, placed), "");
  const test::TextInk ink(text, plain);
  ASSERT_GT(ink.count(), 0);

  struct Case {
    TFontEffect effect;
    QPoint shadowOffset;
  };
  for (Case c : {Case{feShadowBottomRight, QPoint(1, 1)}, Case{feShadowTopLeft, QPoint(-1, -1)}}) {
    bar->setFontEffect(c.effect);
    EXPECT_EQ(test::firstDifference(bar->render(), ink.overPlain(plain, c.shadowOffset,
                                                                 qRgb(0, 255, 0), qRgb(0, 0, 255))),
              "")
        << "effect " << c.effect;
  }

  // Inverted: exactly the text's pixels flip, over both parts.
  QImage inverted = plain.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < inverted.height(); ++y)
    for (int x = 0; x < inverted.width(); ++x)
      if (ink.at(x, y)) inverted.setPixel(x, y, plain.pixel(x, y) ^ 0xffffffu);
  bar->setFontEffect(feInvert);
  EXPECT_EQ(test::firstDifference(bar->render(), inverted), "");
}

TEST(ProgressCylTest, BevelColoursFollowBevelColor) {
  TProgressCyl bar;
  bar.setBevelColor(StyleColor(100, 100, 100));
  bar.setBevelOuter(TProgressCyl::bvRaised);
  bar.setBevelInner(TProgressCyl::bvLowered);
  const QImage image = bar.render();
  EXPECT_EQ(image.pixel(0, 0), qRgb(164, 164, 164));     // outer raised: light at top-left
  EXPECT_EQ(image.pixel(149, 21), qRgb(36, 36, 36));     // shadow at bottom-right
  EXPECT_EQ(image.pixel(3, 3), qRgb(36, 36, 36));        // inner lowered: shadow at top-left
  EXPECT_EQ(image.pixel(146, 18), qRgb(164, 164, 164));  // light at bottom-right
  EXPECT_EQ(image.pixel(1, 10), clBtnFace.rgb());        // the border between, in Color
}

}  // namespace
}  // namespace wf
