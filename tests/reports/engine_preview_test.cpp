// Preview through the real page sink and preview window: it waits for the window, and closing
// the window while the report is generated cancels the run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include "report_test_fixtures.h"
#include "reports/rep_db_text.h"
#include "reports/rep_preview.h"
#include "reports/rep_printer.h"
#include "reports/rep_progress_form.h"
#include "reports/rep_standard_preview.h"
#include "reports/report.h"

namespace wf {
namespace {

TRepStandardPreview* openPreview() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* preview = qobject_cast<TRepStandardPreview*>(widget); preview && preview->isVisible())
      return preview;
  return nullptr;
}

struct RowsReport {
  test::MemoryDataSet table{QStringLiteral("tblRows")};
  TReport report;

  explicit RowsReport(int rows) {
    table.addField(QStringLiteral("Row"), ReportFieldKind::Integer);
    for (int i = 0; i < rows; ++i) table.addRow({i});
    report.DataSet = &table;
    TRepBand* detail = report.addBand(QStringLiteral("DetailBand1"), BandType::rbDetail);
    detail->Size = {105.83, 1899.71};
    auto* text = detail->add<TRepDBText>(QStringLiteral("RepDBText1"));
    text->Size = {44.98, 21.17, 29.10, 200};
    text->DataSet = &table;
    text->DataField = QStringLiteral("Row");
  }
};

TEST(EnginePreview, WaitsUntilThePreviewWindowIsClosed) {
  RowsReport r(30);
  int pagesShown = -1;
  bool closedBeforeReturn = false;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    TRepStandardPreview* preview = openPreview();
    if (preview == nullptr || !r.report.Available()) return;
    pagesShown = preview->sink().PageCount();
    closedBeforeReturn = true;
    closer.stop();
    preview->close();
  });
  closer.start(10);
  r.report.Preview();
  EXPECT_TRUE(closedBeforeReturn);
  EXPECT_EQ(pagesShown, 2);
  EXPECT_FALSE(r.report.Cancelled());
  EXPECT_TRUE(r.report.Available());
  QCoreApplication::processEvents();
  EXPECT_EQ(openPreview(), nullptr);
}

// After a landscape Printer setup the pages are recorded landscape; the preview's page frame
// has to be landscape from the first page on, or the pages are squeezed into a portrait frame.
TEST(EnginePreview, PageFrameFollowsTheReportsOrientation) {
  for (const Orientation orientation : {Orientation::poPortrait, Orientation::poLandscape}) {
    const bool landscape = orientation == Orientation::poLandscape;
    RowsReport r(3);
    r.report.Page.Orientation = orientation;
    QSize framePixels;
    QSizeF paperSeen;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      TRepStandardPreview* preview = openPreview();
      if (preview == nullptr) return;
      // Taken at the first look, while the report may still be generating.
      if (!paperSeen.isValid()) {
        paperSeen = preview->RepPreview->paperSize();
        framePixels = preview->RepPreview->pagePixels();
      }
      if (!r.report.Available()) return;
      closer.stop();
      preview->close();
    });
    closer.start(0);
    r.report.Preview();
    EXPECT_EQ(paperSeen, landscape ? QSizeF(2970, 2100) : QSizeF(2100, 2970)) << landscape;
    EXPECT_EQ(framePixels, landscape ? QSize(1123, 794) : QSize(794, 1123)) << landscape;
  }
}

// Clicks a widget through its window, the way the platform delivers a real click: a window
// blocked by a modal one does not get it.
void clickThroughWindow(QWidget* widget) {
  QWindow* window = widget->window()->windowHandle();
  const QPoint at = widget->mapTo(widget->window(), widget->rect().center());
  QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
  QApplication::processEvents();
}

// Reports are launched from modal windows. The preview must neither block that window nor be
// blocked by it: both take clicks while the preview is open.
TEST(EnginePreview, LaunchedFromAModalWindowBothWindowsTakeClicks) {
  RowsReport r(3);
  QDialog launcher;
  auto* button = new QPushButton(QStringLiteral("Edit"), &launcher);
  button->setGeometry(10, 10, 80, 25);
  int launcherClicks = 0;
  QObject::connect(button, &QPushButton::clicked, [&] { ++launcherClicks; });
  launcher.setWindowModality(Qt::ApplicationModal);
  launcher.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&launcher));

  bool previewWasModal = true;
  bool closedByClick = false;
  enum class Step { Open, Clicked } step = Step::Open;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    TRepStandardPreview* preview = openPreview();
    if (preview == nullptr) return;
    if (step == Step::Clicked) {
      // The click on Close did not get through: close it so the test ends.
      driver.stop();
      preview->close();
      return;
    }
    if (!r.report.Available() || !QTest::qWaitForWindowExposed(preview)) return;
    previewWasModal = preview->isModal();
    clickThroughWindow(button);
    step = Step::Clicked;
    clickThroughWindow(preview->ExitButton);
    closedByClick = openPreview() == nullptr;
  });
  driver.start(10);
  r.report.Preview();
  driver.stop();
  EXPECT_FALSE(previewWasModal);
  EXPECT_EQ(launcherClicks, 1);
  EXPECT_TRUE(closedByClick);
}

int pdfPageCount(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QString text = QString::fromLatin1(file.readAll());
  return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

// Print from a preview launched from a modal window: the progress window comes up over both and
// its Cancel takes a click, stopping the print long before its end; the pages printed so far
// are sent.
TEST(EnginePreview, ProgressWindowOverThePreviewTakesClicks) {
  RowsReport r(3000);
  QTemporaryDir folder;
  r.report.PrinterSettings.OutputFileName = folder.filePath(QStringLiteral("report.pdf"));
  QDialog launcher;
  launcher.setWindowModality(Qt::ApplicationModal);
  launcher.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&launcher));

  enum class Step { Preview, Printing, Cancelled } step = Step::Preview;
  int pagesOnScreen = 0;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    TRepStandardPreview* preview = openPreview();
    if (preview == nullptr) return;
    if (step == Step::Preview) {
      if (!r.report.Available() || !preview->Print->isEnabled()) return;
      if (!QTest::qWaitForWindowExposed(preview)) return;
      step = Step::Printing;
      pagesOnScreen = preview->sink().PageCount();
      // Clicked from outside this handler: the print runs after the click's handler, and this
      // timer does not fire again while its own handler is running.
      QTimer::singleShot(0, preview, [preview] { clickThroughWindow(preview->Print); });
      return;
    }
    if (step == Step::Printing) {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* progress = qobject_cast<TRepProgressForm*>(widget);
        if (progress == nullptr || !progress->isVisible() || progress->Gauge()->value() < 1)
          continue;
        step = Step::Cancelled;
        clickThroughWindow(progress->CancelButton());
        return;
      }
      return;
    }
    if (!preview->Print->isEnabled()) return;  // the print is still ending
    driver.stop();
    preview->close();
  });
  driver.start(0);
  r.report.Preview();
  driver.stop();
  ASSERT_EQ(step, Step::Cancelled);
  // 3000 rows make about 120 pages; the click stopped the print long before its end.
  EXPECT_GT(pagesOnScreen, 100);
  const int printed = pdfPageCount(r.report.PrinterSettings.OutputFileName);
  EXPECT_GE(printed, 1);
  EXPECT_LT(printed, pagesOnScreen / 2);
}

TEST(EnginePreview, ClosingThePreviewDuringGenerationCancelsIt) {
  RowsReport r(2000);
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (TRepStandardPreview* preview = openPreview(); preview && !r.report.Available()) {
      closer.stop();
      preview->close();
    }
  });
  closer.start(0);
  r.report.Preview();
  EXPECT_TRUE(r.report.Cancelled());
  EXPECT_TRUE(r.report.Available());
  // The run stopped at the next record, long before the last one.
  EXPECT_LT(r.table.current(), 100);
}

}  // namespace
}  // namespace wf
