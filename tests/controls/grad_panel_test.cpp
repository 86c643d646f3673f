// The gradient panel: body rendering, caption drawing, setter rules and the presets, checked on
// the rendered widget.
#include "controls/grad_panel.h"
#include "controls/panel_presets.h"
#include "pixel_probe.h"
#include "text_ink.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QVBoxLayout>
#include <functional>

namespace wf {
namespace {

using test::rendered;
using test::Rgb;
using test::rgbAt;

// Hidden widgets get their resize event when shown; show them so the body follows the size.
void showSized(QWidget& widget, int width, int height) {
  widget.resize(width, height);
  widget.show();
  QApplication::processEvents();
}

// Counts body renders and paints, so tests can tell a rebuild from a plain repaint.
class CountingPanel : public TGradPanel {
 public:
  using TGradPanel::TGradPanel;
  void RebuildBuffers() override {
    ++rebuilds;
    TGradPanel::RebuildBuffers();
  }
  int rebuilds = 0;
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent* event) override {
    ++paints;
    TGradPanel::paintEvent(event);
  }
};

// A plain square panel: no antialiasing, no gradient, a one-pixel frame.
void makeSquare(TGradPanel& panel, int width, int height) {
  panel.setAntialiased(false);
  panel.setCornerWidth(0);
  panel.setBorderWidth(1);
  panel.setBorderColor(StyleColor(128, 128, 128));
  panel.setColor(StyleColor(255, 255, 255));
  panel.setOuterColor(StyleColor(0, 255, 0));
  panel.resize(width, height);
}

QFont bigFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(20);
  font.setBold(true);
  return font;
}

TEST(GradPanel, SquareUnantialiasedPanelHasAOnePixelFrame) {
  TGradPanel panel;
  makeSquare(panel, 40, 30);
  panel.setCaption(QString());
  const QImage image = rendered(panel);
  for (int x = 0; x < 40; ++x) {
    ASSERT_EQ(rgbAt(image, x, 0), Rgb(128, 128, 128)) << x;
    ASSERT_EQ(rgbAt(image, x, 29), Rgb(128, 128, 128)) << x;
  }
  for (int y = 0; y < 30; ++y) {
    ASSERT_EQ(rgbAt(image, 0, y), Rgb(128, 128, 128)) << y;
    ASSERT_EQ(rgbAt(image, 39, y), Rgb(128, 128, 128)) << y;
  }
  EXPECT_EQ(rgbAt(image, 1, 1), Rgb(255, 255, 255));
  EXPECT_EQ(rgbAt(image, 38, 28), Rgb(255, 255, 255));
}

TEST(GradPanel, TitleBarPresetIsATubeDarkestOnTheMiddleRow) {
  TGradPanel panel;
  applyPanelPreset(&panel, PanelPreset::TitleBar);
  showSized(panel, 992, 45);
  ASSERT_EQ(panel.bodyBuffer().size(), QSize(992, 45));
  const QImage& body = panel.bodyBuffer();
  EXPECT_EQ(rgbAt(body, 0, 22), Rgb(128, 128, 128));  // the frame
  EXPECT_EQ(rgbAt(body, 5, 0), Rgb(128, 128, 128));
  EXPECT_EQ(rgbAt(body, 5, 44), Rgb(128, 128, 128));
  EXPECT_EQ(rgbAt(body, 5, 22), Rgb(16, 132, 208));
  EXPECT_EQ(rgbAt(body, 500, 21), rgbAt(body, 500, 23));
  EXPECT_EQ(rgbAt(body, 900, 11), Rgb(64, 158, 232));
  EXPECT_EQ(rgbAt(body, 900, 1), Rgb(109, 182, 253));  // s = 21: 16 + 97 * 21 / 22 = 108.59
}

TEST(GradPanel, BarPresetsRunBetweenTheirColours) {
  struct Case {
    PanelPreset preset;
    Rgb middle;
  };
  for (const Case& c :
       {Case{PanelPreset::ButtonBar, {0, 159, 0}}, Case{PanelPreset::GreyBar, {170, 170, 170}}}) {
    TGradPanel panel;
    applyPanelPreset(&panel, c.preset);
    showSized(panel, 300, 45);
    EXPECT_EQ(rgbAt(panel.bodyBuffer(), 150, 22), c.middle);
    EXPECT_FALSE(panel.Antialiased());
    EXPECT_TRUE(panel.Gradient());
  }
}

TEST(GradPanel, AntialiasedPresetsAverageTheirBorderEdge) {
  // Content panel: an 8-pixel border at three times the size, so row 2 averages two border rows
  // and one body row. Grid frame: 14 pixels, row 4 likewise.
  struct Case {
    PanelPreset preset;
    int edgeRow;
    Rgb outside;
  };
  for (const Case& c : {Case{PanelPreset::ContentPanel, 2, {192, 192, 192}},
                        Case{PanelPreset::GridFrame, 4, {255, 255, 255}}}) {
    TGradPanel panel;
    applyPanelPreset(&panel, c.preset);
    showSized(panel, 200, 120);
    const QImage& body = panel.bodyBuffer();
    EXPECT_EQ(rgbAt(body, 100, 0), Rgb(192, 192, 192));
    EXPECT_EQ(rgbAt(body, 100, c.edgeRow - 1), Rgb(192, 192, 192));
    EXPECT_EQ(rgbAt(body, 100, c.edgeRow), Rgb(213, 213, 213));
    EXPECT_EQ(rgbAt(body, 100, c.edgeRow + 1), Rgb(255, 255, 255));
    EXPECT_EQ(rgbAt(body, 100, 60), Rgb(255, 255, 255));
    EXPECT_EQ(rgbAt(body, 0, 0), c.outside);  // cut off by the rounded corner
    EXPECT_EQ(rgbAt(body, 199, 119), c.outside);
    EXPECT_FALSE(panel.Gradient());
  }
}

TEST(GradPanel, AntialiasedAndGradientAreNeverBothSet) {
  TGradPanel panel;
  ASSERT_TRUE(panel.Antialiased());
  panel.setGradient(true);
  EXPECT_FALSE(panel.Gradient());
  panel.setAntialiased(false);
  EXPECT_FALSE(panel.Gradient());
  panel.setGradient(true);
  EXPECT_TRUE(panel.Gradient());
  panel.setAntialiased(true);
  EXPECT_FALSE(panel.Gradient());
  // Loading a definition that stores both: Antialiased comes first, so Gradient stays false.
  TGradPanel loaded;
  loaded.beginLoading();
  loaded.setAntialiased(true);
  loaded.setGradient(true);
  loaded.Loaded();
  EXPECT_FALSE(loaded.Gradient());
}

TEST(GradPanel, SettersRebuildTheBodyOnlyWhenItChanges) {
  struct Case {
    const char* name;
    std::function<void(TGradPanel&)> change;
    int rebuilds;
  };
  const Case cases[] = {
      {"CornerWidth", [](TGradPanel& p) { p.setCornerWidth(4); }, 1},
      {"CornerWidth unchanged", [](TGradPanel& p) { p.setCornerWidth(10); }, 0},
      {"CornerWidth negative", [](TGradPanel& p) { p.setCornerWidth(-1); }, 0},
      {"BorderWidth", [](TGradPanel& p) { p.setBorderWidth(3); }, 1},
      {"BorderWidth zero", [](TGradPanel& p) { p.setBorderWidth(0); }, 0},
      {"BorderWidth negative", [](TGradPanel& p) { p.setBorderWidth(-2); }, 0},
      {"BorderColor", [](TGradPanel& p) { p.setBorderColor(StyleColor(1, 2, 3)); }, 1},
      {"OuterColor", [](TGradPanel& p) { p.setOuterColor(StyleColor(1, 2, 3)); }, 1},
      {"OuterColor unchanged", [](TGradPanel& p) { p.setOuterColor(clBtnFace); }, 0},
      {"GradientType", [](TGradPanel& p) { p.setGradientType(TGradientType::gtRadial); }, 1},
      {"DefaultFrom", [](TGradPanel& p) { p.setDefaultFrom(StyleColor(1, 2, 3)); }, 1},
      {"DefaultTo", [](TGradPanel& p) { p.setDefaultTo(StyleColor(1, 2, 3)); }, 1},
      {"Antialiased", [](TGradPanel& p) { p.setAntialiased(false); }, 1},
      {"Gradient while antialiased", [](TGradPanel& p) { p.setGradient(true); }, 0},
      {"Color", [](TGradPanel& p) { p.setColor(StyleColor(1, 2, 3)); }, 1},
      {"CaptionPosition to group box",
       [](TGradPanel& p) { p.setCaptionPosition(TGradCaptionPos::cpGroupBox); }, 1},
      {"CaptionPosition",
       [](TGradPanel& p) { p.setCaptionPosition(TGradCaptionPos::cpBottomRight); }, 0},
      {"TextShadowColor", [](TGradPanel& p) { p.setTextShadowColor(StyleColor(1, 2, 3)); }, 0},
      {"TextShadow", [](TGradPanel& p) { p.setTextShadow(false); }, 0},
      {"ShowCaption", [](TGradPanel& p) { p.setShowCaption(false); }, 0},
      {"Caption", [](TGradPanel& p) { p.setCaption(QStringLiteral("Vehicles")); }, 0},
      {"Enabled", [](TGradPanel& p) { p.setEnabled(false); }, 0},
      {"plain repaint", [](TGradPanel& p) { p.repaint(); }, 0},
      {"resize", [](TGradPanel& p) { p.resize(300, 50); }, 1},
      {"resize to the same size", [](TGradPanel& p) { p.resize(185, 105); }, 0},
  };
  for (const Case& c : cases) {
    CountingPanel panel;
    panel.show();
    QApplication::processEvents();
    panel.rebuilds = 0;
    c.change(panel);
    QApplication::processEvents();
    EXPECT_EQ(panel.rebuilds, c.rebuilds) << c.name;
  }
}

TEST(GradPanel, IgnoredValuesDoNotRepaint) {
  CountingPanel panel;
  panel.show();
  QApplication::processEvents();
  panel.paints = 0;
  panel.setBorderWidth(0);
  panel.setBorderWidth(-5);
  panel.setCornerWidth(-3);
  panel.setGradient(true);  // refused while antialiased
  QApplication::processEvents();
  EXPECT_EQ(panel.paints, 0);
  EXPECT_EQ(panel.BorderWidth(), 2);
  EXPECT_EQ(panel.CornerWidth(), 10);

  panel.setCaption(QStringLiteral("Expenses"));
  QApplication::processEvents();
  EXPECT_GE(panel.paints, 1);
}

TEST(GradPanel, LoadingRendersOnceAtTheEnd) {
  CountingPanel panel;
  panel.rebuilds = 0;
  applyPanelPreset(&panel, PanelPreset::ContentPanel);
  EXPECT_EQ(panel.rebuilds, 1);
}

TEST(GradPanel, ChildrenAreLaidOutInsideTheBorder) {
  TGradPanel panel;
  panel.setBorderWidth(3);
  panel.resize(200, 100);
  EXPECT_EQ(panel.AdjustClientRect(panel.rect()), QRect(4, 4, 192, 92));
  auto* layout = new QVBoxLayout(&panel);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* child = new QWidget;
  layout->addWidget(child);
  panel.show();
  QApplication::processEvents();
  EXPECT_EQ(child->geometry(), QRect(4, 4, 192, 92));

  // Group box: below the caption, by the text height th.
  panel.setFont(bigFont());
  panel.setCaptionPosition(TGradCaptionPos::cpGroupBox);
  const int half = QFontMetrics(bigFont()).height() / 2;
  const QRect expected(4, half + 2 + half - 1, 192, 100 - 2 * (half + 2));
  EXPECT_EQ(panel.AdjustClientRect(panel.rect()), expected);
  QApplication::processEvents();
  EXPECT_EQ(child->geometry(), expected);
}

TEST(GradPanel, LongCaptionIsCutWithAnEllipsisOnOneLine) {
  const QFont font = test::crispFont(QStringLiteral("DejaVu Sans"), 20, true);
  TGradPanel panel;
  makeSquare(panel, 120, 80);
  panel.setFont(font);
  panel.setFontColor(StyleColor(0, 0, 0));
  panel.setTextShadow(false);
  panel.setCaptionPosition(TGradCaptionPos::cpTopLeft);
  panel.setCaption(QString());
  QImage expected = rendered(panel);
  // R runs from (0 + 1) div 2 = 0 to 120 - 0 across and from 1 to 80 - 1 down: the caption is
  // cut to R's width with an ellipsis and drawn on R's first line.
  const QString caption = QStringLiteral("WWWWWWWWWWWWWWWWWW WWWWWWWWWW");
  const QString cut = QFontMetrics(font).elidedText(caption, Qt::ElideRight, 120);
  ASSERT_TRUE(cut.endsWith(QChar(0x2026))) << cut.toStdString();
  {
    QPainter painter(&expected);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 1, 120, 78), Qt::AlignLeft | Qt::AlignTop, cut);
  }
  panel.setCaption(caption);
  EXPECT_EQ(test::firstDifference(rendered(panel), expected), "");
}

TEST(GradPanel, CaptionPositionsPlaceTheText) {
  // CornerWidth 10, BorderWidth 1 on 300 by 120: R runs from (10 + 1) div 2 = 5 to 300 - 5
  // across and from 1 to 120 - 1 down; the middle row's outer slots reach (10 - 1) div 2 = 4
  // further out.
  struct Case {
    TGradCaptionPos position;
    QRect r;
    int alignment;
  };
  const Case cases[] = {
      {TGradCaptionPos::cpTopLeft, QRect(5, 1, 290, 118), Qt::AlignLeft | Qt::AlignTop},
      {TGradCaptionPos::cpTopCenter, QRect(5, 1, 290, 118), Qt::AlignHCenter | Qt::AlignTop},
      {TGradCaptionPos::cpTopRight, QRect(5, 1, 290, 118), Qt::AlignRight | Qt::AlignTop},
      {TGradCaptionPos::cpMiddleLeft, QRect(1, 1, 294, 118), Qt::AlignLeft | Qt::AlignVCenter},
      {TGradCaptionPos::cpMiddleCenter, QRect(5, 1, 290, 118), Qt::AlignCenter},
      {TGradCaptionPos::cpMiddleRight, QRect(5, 1, 294, 118), Qt::AlignRight | Qt::AlignVCenter},
      {TGradCaptionPos::cpBottomLeft, QRect(5, 1, 290, 118), Qt::AlignLeft | Qt::AlignBottom},
      {TGradCaptionPos::cpBottomCenter, QRect(5, 1, 290, 118), Qt::AlignHCenter | Qt::AlignBottom},
      {TGradCaptionPos::cpBottomRight, QRect(5, 1, 290, 118), Qt::AlignRight | Qt::AlignBottom},
  };
  const QFont font = test::crispFont(QStringLiteral("DejaVu Sans"), 20, true);
  for (const Case& c : cases) {
    TGradPanel panel;
    makeSquare(panel, 300, 120);
    panel.setCornerWidth(10);
    panel.setFont(font);
    panel.setFontColor(StyleColor(0, 0, 0));
    panel.setTextShadow(false);
    panel.setCaptionPosition(c.position);
    panel.setCaption(QString());
    QImage expected = rendered(panel);
    {
      QPainter painter(&expected);
      painter.setFont(font);
      painter.setPen(Qt::black);
      painter.drawText(c.r, c.alignment | Qt::TextSingleLine, QStringLiteral("Ab"));
    }
    panel.setCaption(QStringLiteral("Ab"));
    EXPECT_EQ(test::firstDifference(rendered(panel), expected), "") << static_cast<int>(c.position);
  }
}

TEST(GradPanel, HiddenCaptionDrawsNothing) {
  TGradPanel panel;
  applyPanelPreset(&panel, PanelPreset::GreyBar);
  panel.resize(300, 45);
  panel.setCaption(QStringLiteral("Services"));
  EXPECT_EQ(rendered(panel), panel.bodyBuffer());
}

TEST(GradPanel, DisabledCaptionIsEmbossedWhateverTextShadowSays) {
  auto captioned = [](bool shadow, bool enabled, const QString& caption) {
    TGradPanel panel;
    makeSquare(panel, 200, 60);
    panel.setColor(StyleColor(255, 255, 0));
    panel.setFont(test::crispFont(QStringLiteral("DejaVu Sans"), 20, true));
    panel.setFontColor(StyleColor(0, 0, 206));
    panel.setTextShadow(shadow);
    panel.setTextShadowColor(StyleColor(255, 0, 0));
    panel.setCaption(caption);
    panel.setEnabled(enabled);
    return rendered(panel);
  };
  const QImage body = captioned(false, true, QString());
  const test::TextInk ink(captioned(false, true, QStringLiteral("HIH")), body);
  ASSERT_GT(ink.count(), 0);
  // Button-highlight 1 pixel right and down, button-shadow in the caption's place.
  const QImage embossed =
      ink.overPlain(body, QPoint(1, 1), qRgb(255, 255, 255), qRgb(128, 128, 128));
  for (bool shadow : {true, false})
    EXPECT_EQ(test::firstDifference(captioned(shadow, false, QStringLiteral("HIH")), embossed), "")
        << "TextShadow " << shadow;
}

TEST(GradPanel, GroupBoxClearsTheBorderBehindItsCaption) {
  TGradPanel panel;
  makeSquare(panel, 200, 80);
  panel.setFont(bigFont());
  panel.setCaptionPosition(TGradCaptionPos::cpGroupBox);
  panel.setCaption(QString());
  const int th = QFontMetrics(bigFont()).height();
  const QImage empty = rendered(panel);
  // The border line runs th div 2 below the top; above it is the outer colour.
  EXPECT_EQ(rgbAt(empty, 100, th / 2), Rgb(128, 128, 128));
  EXPECT_EQ(rgbAt(empty, 100, 0), Rgb(0, 255, 0));
  panel.setCaption(QStringLiteral("Ab"));
  const QImage titled = rendered(panel);
  // CornerWidth + BorderWidth is 1: the caption starts 5 pixels in, with the line cleared.
  EXPECT_EQ(rgbAt(titled, 4, th / 2), Rgb(128, 128, 128));
  EXPECT_EQ(rgbAt(titled, 150, th / 2), Rgb(128, 128, 128));
  EXPECT_NE(rgbAt(titled, 6, th / 2), Rgb(128, 128, 128));
}

TEST(GradPanel, ParentColourReachesColorAndOuterColor) {
  TGradPanel parent;
  auto* child = new TGradPanel(&parent);
  child->setParentColor(true);
  EXPECT_EQ(child->Color(), parent.Color());
  parent.setColor(StyleColor(10, 20, 30));
  EXPECT_EQ(child->Color(), StyleColor(10, 20, 30));
  EXPECT_EQ(child->OuterColor(), StyleColor(10, 20, 30));
  EXPECT_TRUE(child->ParentColor());
  child->setColor(StyleColor(1, 1, 1));
  EXPECT_FALSE(child->ParentColor());
  parent.setColor(StyleColor(5, 5, 5));
  EXPECT_EQ(child->Color(), StyleColor(1, 1, 1));
}

}  // namespace
}  // namespace wf
