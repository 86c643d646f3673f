// Printable controls: line breaking, text placement and sizing, OnPrint, pictures.
#include <gtest/gtest.h>

#include "report_test_fixtures.h"
#include "reports/expression.h"
#include "reports/line_format.h"
#include "reports/rep_db_text.h"
#include "reports/rep_image.h"
#include "reports/rep_label.h"
#include "reports/report_device.h"
#include "reports/report_reference_surface.h"

namespace wf {
namespace {

using test::RecordingCanvas;

// Ten pixels per character keeps the expected breaks easy to follow.
int tenPerCharacter(const QString& text) { return 10 * static_cast<int>(text.size()); }

struct BreakCase {
  const char* text;
  int widthPx;
  bool autoSize;
  QStringList lines;
  int resultWidth;
};

TEST(LineFormat, BreaksAndCuts) {
  const BreakCase cases[] = {
      // "one two " measures 81 with its extra pixel: it just fits.
      {"one two three", 81, false, {"one two ", "three"}, 81},
      {"one two three", 80, false, {"one ", "two ", "three"}, 80},
      {"well-known fact", 61, false, {"well-", "known ", "fact"}, 61},
      // Alone on a line a word keeps its longest beginning narrower than the box...
      {"abcdefghij", 61, false, {"abcde"}, 61},
      {"abcdefghij xy", 61, false, {"abcde", "xy"}, 61},
      // ...after other words, its longest beginning that is not wider than the box.
      {"ab abcdefghij", 61, false, {"ab ", "abcdef"}, 61},
      {"first\r\nsecond line", 200, false, {"first", "second line"}, 200},
      {"ends with return\r", 200, false, {"ends with return"}, 200},
      {"a\r\rb", 200, false, {"a", "", "b"}, 200},
      {"", 200, false, {}, 200},
      // Auto-size: one line per piece, never broken; the widest decides the width.
      {"abc\rdefgh ij", 20, true, {"abc", "defgh ij"}, 81},
  };
  for (const auto& c : cases) {
    LineFormatOptions options;
    options.widthPx = c.widthPx;
    options.autoSize = c.autoSize;
    const FormattedLines result =
        formatLines(QString::fromLatin1(c.text), options, tenPerCharacter);
    EXPECT_EQ(result.lines, c.lines) << c.text;
    EXPECT_EQ(result.widthPx, c.resultWidth) << c.text;
  }
}

class TextControlTest : public ::testing::Test {
 protected:
  // Prints control on a fresh canvas of the given resolution, band corner at (0, 0).
  RecordingCanvas& print(TRepControl& control, int dpi = 96) {
    canvas = std::make_unique<RecordingCanvas>(dpi);
    ReportDevice device(*canvas);
    ReportPrintContext context{device, reference, reportFont, Qt::black};
    control.print(context, 0, 0);
    return *canvas;
  }

  int screenWidth(const QString& text, const QFont& font) {
    reference.setFont(font);
    return reference.textWidth(text) + 1;
  }

  QFont reportFont{QStringLiteral("Arial"), 10};
  ReportReferenceSurface reference;
  std::unique_ptr<RecordingCanvas> canvas;
};

TEST_F(TextControlTest, ADescriptionTooWideForItsBoxPrintsOnlyItsFirstLine) {
  TRepLabel label(QStringLiteral("RepDBText7"));
  label.Size = {44.98, 254, 29.10, 785.81};
  label.Caption = QStringLiteral(
      "Replaced the front brake pads and discs, bled the whole brake system and adjusted the "
      "handbrake cable");
  const RecordingCanvas& page = print(label);
  ASSERT_EQ(page.texts.size(), 1u);
  const QString line = page.texts[0].text;
  ASSERT_TRUE(label.Caption.startsWith(line));
  ASSERT_LT(line.size(), label.Caption.size());
  // The first line holds whole words only, as many as fit into 297 screen pixels.
  const int boxPx = 297;
  EXPECT_TRUE(line.endsWith(QLatin1Char(' ')));
  EXPECT_LE(screenWidth(line, reportFont), boxPx);
  const QString nextWord = label.Caption.mid(line.size()).section(QLatin1Char(' '), 0, 0) + ' ';
  EXPECT_GT(screenWidth(line + nextWord, reportFont), boxPx);
  // Left aligned, at the box's left edge, in the report font.
  EXPECT_EQ(page.texts[0].x, 96);
  EXPECT_EQ(page.texts[0].y, 11);
  EXPECT_EQ(page.texts[0].anchor, TextAnchor::Left);
  EXPECT_EQ(page.texts[0].font, reportFont);
}

TEST_F(TextControlTest, AWordLongerThanItsBoxIsCut) {
  TRepLabel label(QStringLiteral("Narrow"));
  label.Size = {44.98, 0, 0, 100};
  label.Caption = QStringLiteral("Supercalifragilistic");
  const RecordingCanvas& page = print(label);
  ASSERT_EQ(page.texts.size(), 1u);
  const QString kept = page.texts[0].text;
  EXPECT_FALSE(kept.isEmpty());
  EXPECT_TRUE(label.Caption.startsWith(kept));
  EXPECT_LT(kept.size(), label.Caption.size());
  EXPECT_LT(screenWidth(kept, reportFont), 38);
  EXPECT_GE(screenWidth(label.Caption.left(kept.size() + 1), reportFont), 38);
}

TEST_F(TextControlTest, AutoSizeTakesTheWidthOfTheText) {
  QFont bold(QStringLiteral("Arial"), 10);
  bold.setBold(true);
  TRepLabel left(QStringLiteral("RepLabel1"));
  left.Size = {44.98, 550.33, 21.17, 283.10};
  left.AutoSize = true;
  left.ParentFont = false;
  left.Font = bold;
  left.Caption = QStringLiteral("A much longer caption than the stored width allows");
  print(left, 254);
  const double expected = screenWidth(left.Caption, bold) * 254.0 / 96.0;
  EXPECT_NEAR(left.Size.Width, expected, 1e-9);
  EXPECT_DOUBLE_EQ(left.Size.Left, 550.33);
  // At 254 dpi the filled box is the new width in native units, and the text is not broken.
  ASSERT_EQ(canvas->texts.size(), 1u);
  EXPECT_EQ(canvas->texts[0].text, left.Caption);
  EXPECT_EQ(canvas->fills[0].rect.width(), static_cast<int>(std::lround(550.33 + expected)) -
                                               static_cast<int>(std::lround(550.33)));

  TRepLabel right(QStringLiteral("Right"));
  right.Size = {44.98, 1000, 0, 400};
  right.AutoSize = true;
  right.Alignment = Alignment::taRightJustify;
  right.Caption = QStringLiteral("Total");
  print(right, 254);
  EXPECT_NEAR(right.Size.Left + right.Size.Width, 1400, 1e-9);
  EXPECT_EQ(canvas->texts[0].anchor, TextAnchor::Right);
  EXPECT_EQ(canvas->texts[0].x, 1400);
}

TEST_F(TextControlTest, CentredTextAndFrameOffsets) {
  TRepLabel centred(QStringLiteral("RepDBText6"));
  centred.Size = {44.98, 21.17, 29.10, 214.31};
  centred.Alignment = Alignment::taCenter;
  centred.Caption = QStringLiteral("12");
  print(centred, 254);
  ASSERT_EQ(canvas->texts.size(), 1u);
  EXPECT_EQ(canvas->texts[0].anchor, TextAnchor::Center);
  EXPECT_EQ(canvas->texts[0].x, static_cast<int>(std::lround(21.17 + 214.31 / 2)));

  TRepLabel framed(QStringLiteral("Framed"));
  framed.Size = {44.98, 100, 200, 300};
  framed.Frame.DrawLeft = true;
  framed.Frame.DrawTop = true;
  framed.Caption = QStringLiteral("x");
  print(framed, 254);
  // A 1-point line is 4 native units: the text moves right and down by that much.
  ASSERT_EQ(canvas->texts.size(), 1u);
  EXPECT_EQ(canvas->texts[0].x, 104);
  EXPECT_EQ(canvas->texts[0].y, 204);
  // Fill, then the two frame lines inside the box.
  ASSERT_EQ(canvas->fills.size(), 3u);
  EXPECT_EQ(canvas->fills[1].rect, QRect(100, 200, 300, 4));
  EXPECT_EQ(canvas->fills[2].rect, QRect(100, 200, 4, 45));
}

TEST_F(TextControlTest, AsManyLinesAsTheBoxHolds) {
  TRepLabel label(QStringLiteral("Tall"));
  label.Size = {100, 0, 0, 120};
  label.Caption = QStringLiteral("one two three four five six seven eight nine ten");
  print(label);
  reference.setFont(reportFont);
  // The box is 100 native units high and a line about 40: two lines fit.
  ASSERT_EQ(canvas->texts.size(), 2u);
  EXPECT_GT(canvas->texts[1].y, canvas->texts[0].y);
}

TEST_F(TextControlTest, ALowControlGrowsToOneLine) {
  TRepLabel label(QStringLiteral("Low"));
  label.Size = {10, 0, 0, 300};
  label.Caption = QStringLiteral("Shown");
  print(label);
  reference.setFont(reportFont);
  EXPECT_NEAR(label.Size.Height, (reference.textHeight() + 1) * 254.0 / 96.0, 1e-9);
  EXPECT_EQ(canvas->texts.size(), 1u);
}

TEST_F(TextControlTest, AFieldTextOfAMissingOrNullFieldPrintsNothing) {
  test::MemoryDataSet table(QStringLiteral("tblService"));
  table.addField(QStringLiteral("ServiceDate"), ReportFieldKind::DateTime);
  table.addRow({QVariant()});
  TRepDBText missing(QStringLiteral("Missing"));
  missing.Size = {44.98, 0, 0, 300};
  missing.DataSet = &table;
  missing.DataField = QStringLiteral("NoSuchField");
  missing.prepare({});
  EXPECT_EQ(missing.outputText(), QString());
  TRepDBText null(QStringLiteral("Null"));
  null.DataSet = &table;
  null.DataField = QStringLiteral("servicedate");
  null.prepare({});
  table.first();
  EXPECT_EQ(null.outputText(), QString());
  // An empty text is not handed to OnPrint.
  bool called = false;
  null.OnPrint = [&called](TRepTextControl*, QString&) { called = true; };
  print(null);
  EXPECT_FALSE(called);
  EXPECT_TRUE(canvas->texts.empty());
}

QImage picture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::red);
  return image;
}

struct PictureCase {
  const char* name;
  bool stretch;
  bool center;
  QSize pictureSize;
  int dpi;
  QRect expectedTarget;
  bool clipped;
};

TEST_F(TextControlTest, PicturesStretchOrKeepTheirSize) {
  // The photo box of the list reports: 476.25 by 343.96 at (21.17, 21.17), 180 by 130 pixels
  // on the screen; the invoice box: 768 by 1100 pixels at the corner.
  const PictureCase cases[] = {
      {"stretched photo", true, true, {640, 480}, 96, QRect(8, 8, 180, 130), false},
      {"centred larger", false, true, {300, 200}, 96, QRect(8 - 60, 8 - 35, 300, 200), true},
      {"centred smaller", false, true, {100, 50}, 96, QRect(8 + 40, 8 + 40, 100, 50), true},
      {"top left", false, false, {100, 50}, 96, QRect(8, 8, 100, 50), true},
      // A picture pixel is a screen pixel: 96 of them are an inch on a 600 dpi printer.
      {"printer", false, false, {96, 48}, 600, QRect(50, 50, 600, 300), true},
  };
  for (const auto& c : cases) {
    TRepImage image(QStringLiteral("RepImage1"));
    image.Size = {343.96, 21.17, 21.17, 476.25};
    image.Stretch = c.stretch;
    image.Center = c.center;
    image.Picture = picture(c.pictureSize.width(), c.pictureSize.height());
    print(image, c.dpi);
    ASSERT_EQ(canvas->pictures.size(), 1u) << c.name;
    EXPECT_EQ(canvas->pictures[0].target, c.expectedTarget) << c.name;
    EXPECT_EQ(canvas->pictures[0].clip.has_value(), c.clipped) << c.name;
  }
}

TEST_F(TextControlTest, InvoicePictureIsCentredOnThePageAndClipped) {
  TRepImage image(QStringLiteral("RepImage1"));
  image.Size = {2910.42, 0, 0, 2032};
  image.Center = true;
  image.Picture = picture(1000, 1400);
  print(image);
  ASSERT_EQ(canvas->pictures.size(), 1u);
  EXPECT_EQ(canvas->pictures[0].clip, QRect(0, 0, 768, 1100));
  EXPECT_EQ(canvas->pictures[0].target, QRect(-116, -150, 1000, 1400));
}

TEST_F(TextControlTest, AnEmptyPictureDrawsNothing) {
  TRepImage image(QStringLiteral("RepImage1"));
  image.Size = {343.96, 21.17, 21.17, 476.25};
  image.Stretch = true;
  print(image);
  EXPECT_TRUE(canvas->pictures.empty());
  EXPECT_TRUE(canvas->fills.empty());
}

TEST(ReportDevice, FrameLinesLieInsideTheirRectangle) {
  struct Case {
    int dpi;
    int thickness;
  };
  for (const Case c : {Case{96, 1}, Case{254, 4}, Case{600, 8}}) {
    RecordingCanvas canvas(c.dpi);
    ReportDevice device(canvas);
    TRepFrame frame;
    frame.DrawTop = frame.DrawBottom = frame.DrawLeft = frame.DrawRight = true;
    device.drawFrame(QRect(10, 20, 100, 50), frame);
    ASSERT_EQ(canvas.fills.size(), 4u);
    const int t = c.thickness;
    EXPECT_EQ(canvas.fills[0].rect, QRect(10, 20, 100, t)) << c.dpi;
    EXPECT_EQ(canvas.fills[1].rect, QRect(10, 70 - t, 100, t)) << c.dpi;
    EXPECT_EQ(canvas.fills[2].rect, QRect(10, 20, t, 50)) << c.dpi;
    EXPECT_EQ(canvas.fills[3].rect, QRect(110 - t, 20, t, 50)) << c.dpi;
  }
}

TEST(ReportDevice, PositionsSubtractTheUnprintableMargins) {
  RecordingCanvas canvas(600);
  ReportDevice device(canvas, 42.33, 50);
  EXPECT_EQ(device.XPos(100), static_cast<int>(std::lround((100 - 42.33) * 600 / 254.0)));
  EXPECT_EQ(device.YPos(100), 118);
  EXPECT_EQ(device.lengthY(105.83), 250);
}

}  // namespace
}  // namespace wf
