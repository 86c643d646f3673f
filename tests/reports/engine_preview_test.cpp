// Preview through the real page sink and preview window: it waits for the window, and closing
// the window while the report is generated cancels the run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "report_test_fixtures.h"
#include "reports/rep_db_text.h"
#include "reports/rep_printer.h"
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

// Print goes to a PDF file here, so no printer is needed; the page range of the printer
// settings decides which generated pages reach it.
TEST(EnginePrint, GeneratesAgainStraightToThePrinter) {
  struct Case {
    int firstPage;
    int lastPage;
    int printedPages;
  };
  QTemporaryDir folder;
  for (const Case& c : {Case{0, 0, 2}, Case{2, 2, 1}}) {
    RowsReport r(30);
    const QString pdf = folder.filePath(QStringLiteral("report%1.pdf").arg(c.firstPage));
    r.report.PrinterSettings.OutputFileName = pdf;
    r.report.PrinterSettings.FirstPage = c.firstPage;
    r.report.PrinterSettings.LastPage = c.lastPage;
    r.report.Print();
    EXPECT_EQ(r.report.PageCount(), 2);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.firstPage;
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains(QByteArray("/Count ") + QByteArray::number(c.printedPages)))
        << c.firstPage;
    EXPECT_FALSE(bytes.contains(QByteArray("/Count ") + QByteArray::number(3 - c.printedPages)))
        << c.firstPage;
  }
}

}  // namespace
}  // namespace wf
