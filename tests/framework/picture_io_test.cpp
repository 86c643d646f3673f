// Clipboard, open-picture dialog and font set-up: the framework's other picture and text edges.
#include "framework/font_setup.h"
#include "framework/jpeg_picture.h"
#include "framework/open_picture_dialog.h"
#include "framework/picture_clipboard.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>

namespace wf {
namespace {

const QString kVehicleFilter = QStringLiteral(
    "All Image Files|*.bmp;*.jpg;*.jpeg|JPEG Images (*.jpg)|*.jpg|JPEG Images (*.jpeg)|*.jpeg|"
    "Bitmap Images (*.bmp)|*.bmp");

TEST(PictureClipboard, BitmapGoesOnAndComesBackAs24Bit) {
  QGuiApplication::clipboard()->clear();
  EXPECT_FALSE(clipboardHasBitmap());
  QImage bitmap(5, 4, QImage::Format_ARGB32);
  bitmap.fill(qRgba(10, 200, 30, 255));
  bitmap.setPixel(2, 1, qRgba(250, 0, 5, 255));
  putBitmapOnClipboard(bitmap);
  ASSERT_TRUE(clipboardHasBitmap());
  const QImage back = clipboardBitmap();
  EXPECT_EQ(back.format(), QImage::Format_RGB32);
  EXPECT_EQ(back.size(), QSize(5, 4));
  EXPECT_EQ(back.pixel(2, 1), qRgb(250, 0, 5));
  EXPECT_EQ(back.pixel(0, 0), qRgb(10, 200, 30));

  QGuiApplication::clipboard()->setText(QStringLiteral("no picture"));
  EXPECT_FALSE(clipboardHasBitmap());
}

TEST(OpenPictureDialog, CallerFiltersInTheDialogsNotation) {
  OpenPictureDialog dialog;
  dialog.setFilter(kVehicleFilter);
  EXPECT_EQ(dialog.nameFilters(),
            (QStringList{"All Image Files (*.bmp *.jpg *.jpeg)", "JPEG Images (*.jpg)",
                         "JPEG Images (*.jpeg)", "Bitmap Images (*.bmp)"}));
  dialog.setFilter(QStringLiteral("All Supported Images (*.jpg;*.jpeg)|*.jpg;*.jpeg"));
  EXPECT_EQ(dialog.nameFilters(), QStringList{"All Supported Images (*.jpg *.jpeg)"});
  dialog.setFilter(QStringLiteral("Pictures (*.png)|*.jpg"));
  EXPECT_EQ(dialog.nameFilters(), QStringList{"Pictures (*.png) (*.jpg)"});
}

TEST(OpenPictureDialog, RealDialogShowsFiltersPreviewAndDefaultExtension) {
  OpenPictureDialog dialog;
  dialog.setFilter(QStringLiteral("All Supported Images (*.jpg;*.jpeg)|*.jpg;*.jpeg"));
  dialog.setDefaultExtension(QStringLiteral(".jpg"));
  QStringList filters;
  QString suffix;
  bool hasPreview = false;
  QTimer::singleShot(50, [&] {
    auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(shown, nullptr);
    filters = shown->nameFilters();
    suffix = shown->defaultSuffix();
    for (QLabel* label : shown->findChildren<QLabel*>())
      if (label->text() == QLatin1String("(None)")) hasPreview = true;
    shown->reject();
  });
  EXPECT_FALSE(dialog.execute());
  EXPECT_EQ(filters.size(), 1);
  EXPECT_EQ(suffix, "jpg");
  EXPECT_TRUE(hasPreview);
}

// The filter index counts from 1: index 1 opens the dialog on the first filter.
TEST(OpenPictureDialog, FilterIndexCountsFromOne) {
  struct Case {
    int index;
    const char* selected;
  };
  for (const Case& c :
       {Case{1, "All Image Files (*.bmp *.jpg *.jpeg)"}, Case{2, "JPEG Images (*.jpg)"},
        Case{4, "Bitmap Images (*.bmp)"}, Case{0, "All Image Files (*.bmp *.jpg *.jpeg)"},
        Case{9, "All Image Files (*.bmp *.jpg *.jpeg)"}}) {
    OpenPictureDialog dialog;
    dialog.setFilter(kVehicleFilter);
    dialog.setFilterIndex(c.index);
    QString selected;
    QTimer::singleShot(50, [&] {
      auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(shown, nullptr);
      selected = shown->selectedNameFilter();
      shown->reject();
    });
    EXPECT_FALSE(dialog.execute());
    EXPECT_EQ(selected, c.selected) << "filter index " << c.index;
  }
}

TEST(OpenPictureDialog, HookAnswersForTests) {
  OpenPictureDialog dialog;
  dialog.setFilter(kVehicleFilter);
  OpenPictureDialog::setHook([](const OpenPictureDialog& asked) -> std::optional<QString> {
    if (asked.filterIndex() != 1) return std::nullopt;
    return QStringLiteral("/tmp/car.BMP");
  });
  ASSERT_TRUE(dialog.execute());
  EXPECT_EQ(dialog.fileName(), "/tmp/car.BMP");
  dialog.setFilterIndex(2);
  EXPECT_FALSE(dialog.execute());
  OpenPictureDialog::setHook(nullptr);
}

TEST(OpenPictureDialog, PreviewDecodesWithTheProgramsOwnReaders) {
  QTemporaryDir dir;
  QImage bitmap(30, 20, QImage::Format_RGB32);
  bitmap.fill(qRgb(90, 120, 150));
  const auto write = [&](const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  };
  EXPECT_EQ(previewImage(write("a.JPG", JpegPicture::fromBitmap(bitmap).bytes())).size(),
            QSize(30, 20));
  EXPECT_TRUE(previewImage(write("b.jpg", "not a jpeg")).isNull());
  EXPECT_TRUE(previewImage(write("c.bmp", "BM broken")).isNull());
}

TEST(FontSetup, DesignFontsMapToInstalledFontsAtTheirPixelSize) {
  installFontSubstitutions();
  const QFontInfo sans(msSansSerif(11));
  EXPECT_EQ(sans.family(), "Liberation Sans");
  EXPECT_EQ(sans.pixelSize(), 11);
  const QFontInfo bold(msSansSerif(13, true));
  EXPECT_EQ(bold.pixelSize(), 13);
  EXPECT_TRUE(bold.bold());
  EXPECT_EQ(QFontInfo(arial(13)).family(), "Liberation Sans");
}

}  // namespace
}  // namespace wf
