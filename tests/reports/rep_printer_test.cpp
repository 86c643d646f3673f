// The page sink: page and progress notifications posted to its client, the page store
// document, printing to a PDF file within a page range, loading a file over a running
// generation, and cancelling through the preview.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QFile>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "reports/page_store.h"
#include "reports/rep_printer.h"
#include "support/sample_page.h"

namespace wf {
namespace {

// Records the notifications a sink posts.
class RecordingClient : public QObject {
 public:
  std::vector<std::pair<RepPrinterEvent::Kind, int>> events;

 protected:
  void customEvent(QEvent* event) override {
    if (event->type() != RepPrinterEvent::eventType()) return;
    const auto* notice = static_cast<RepPrinterEvent*>(event);
    events.emplace_back(notice->kind(), notice->value());
  }
};

class RecordingMaster : public ReportMaster {
 public:
  int closings = 0;
  bool PrinterSetup(TRepPrinter&, const QString&) override { return false; }
  void previewClosing(TRepPrinter& sink) override {
    ++closings;
    sink.cancel();
  }
};

void generate(TRepPrinter& sink, int pages) {
  for (int n = 1; n <= pages; ++n) {
    PageCanvas& canvas = sink.newPage();
    canvas.fillRect(QRect(100, 100 + 10 * n, 200, 5), Qt::black);
    sink.finishPage();
  }
}

int pdfPageCount(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QString text = QString::fromLatin1(file.readAll());
  return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

using Kind = RepPrinterEvent::Kind;

TEST(RepPrinter, PageStoreDocumentPostsPagesAndProgress) {
  const auto sink = TRepPrinter::create(TRepPrinter::Destination::PageStore);
  RecordingClient client;
  sink->setClient(&client);
  ASSERT_TRUE(sink->beginDocument());
  EXPECT_EQ(sink->status(), TRepPrinter::Status::Busy);
  EXPECT_EQ(sink->dpiX(), 96);
  EXPECT_EQ(sink->pageSizePixels(), QSize(794, 1123));
  EXPECT_EQ(sink->leftOffset(), 0);

  PageCanvas& canvas = sink->newPage();
  EXPECT_EQ(canvas.pageSize(), QSize(794, 1123));
  EXPECT_EQ(sink->PageCount(), 1);
  EXPECT_EQ(sink->availablePages(), 0);
  EXPECT_TRUE(sink->pageRecording(1).isEmpty());  // not finished yet
  sink->finishPage();
  sink->progress(50);
  generate(*sink, 1);
  sink->progress(100);
  // Posted, not called: nothing arrives before the event loop runs.
  EXPECT_TRUE(client.events.empty());
  sink->endDocument();
  QCoreApplication::processEvents();

  const std::vector<std::pair<Kind, int>> expected = {{Kind::PageAvailable, 1},
                                                      {Kind::Progress, 50},
                                                      {Kind::PageAvailable, 2},
                                                      {Kind::Progress, 100},
                                                      {Kind::PageAvailable, 2}};
  EXPECT_EQ(client.events, expected);
  EXPECT_EQ(sink->status(), TRepPrinter::Status::Finished);
  EXPECT_EQ(sink->availablePages(), 2);
  EXPECT_FALSE(sink->pageRecording(2).isEmpty());

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("r.PRP"));
  ASSERT_TRUE(sink->saveFile(path));
  EXPECT_EQ(PageStore::openFile(path)->header().pageCount, 2u);
}

TEST(RepPrinter, NothingIsSavedBeforeTheDocumentEnds) {
  const auto sink = TRepPrinter::create(TRepPrinter::Destination::PageStore);
  ASSERT_TRUE(sink->beginDocument());
  generate(*sink, 2);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("r.PRP"));
  EXPECT_FALSE(sink->saveFile(path));
  EXPECT_FALSE(QFile::exists(path));
}

TEST(RepPrinter, PrinterWithoutPrinterOrFileDoesNotStart) {
  if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
    GTEST_SKIP() << "this machine has a printer installed";
  }
  const auto sink = TRepPrinter::create(TRepPrinter::Destination::Printer);
  EXPECT_FALSE(TRepPrinter::printerAvailable(sink->printerSettings()));
  EXPECT_FALSE(sink->beginDocument());
  EXPECT_EQ(sink->status(), TRepPrinter::Status::Ready);
}

TEST(RepPrinter, PrintsOnlyThePagesOfTheRangeIntoAPdfFile) {
  QTemporaryDir dir;
  RepPrinterSettings settings;
  settings.outputFileName = dir.filePath(QStringLiteral("out.pdf"));
  settings.firstPage = 2;
  settings.lastPage = 3;
  const auto sink = TRepPrinter::create(TRepPrinter::Destination::Printer);
  sink->setPrinterSettings(settings);
  ASSERT_TRUE(sink->beginDocument());
  EXPECT_GE(sink->dpiX(), 300);
  EXPECT_GT(sink->pageSizePixels().width(), 794);
  generate(*sink, 4);
  EXPECT_EQ(sink->PageCount(), 4);
  sink->endDocument();
  EXPECT_EQ(pdfPageCount(settings.outputFileName), 2);
}

TEST(RepPrinter, LoadedFileReplacesARunningGenerationAndKeepsOutItsPages) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("three.PRP"));
  {
    PageStore store;
    for (int i = 0; i < 3; ++i) store.addPage(recordSamplePage());
    store.finish();
    ASSERT_TRUE(store.saveTo(path));
  }
  RecordingMaster master;
  const auto sink = TRepPrinter::create(TRepPrinter::Destination::PageStore);
  sink->setMaster(&master);
  ASSERT_TRUE(sink->beginDocument());
  generate(*sink, 1);

  sink->loadFile(path);
  EXPECT_TRUE(sink->cancelled());  // the generation stops before its next record
  EXPECT_TRUE(sink->reportLoaded());
  EXPECT_FALSE(sink->setupAttached());
  EXPECT_EQ(sink->status(), TRepPrinter::Status::Finished);
  EXPECT_EQ(sink->PageCount(), 3);
  EXPECT_EQ(sink->paperSize(), QPageSize::A4);
  EXPECT_EQ(sink->orientation(), QPageLayout::Portrait);

  // The generation ends as after a progress cancel; it stores nothing more.
  generate(*sink, 1);
  sink->endDocument();
  EXPECT_EQ(sink->PageCount(), 3);
  EXPECT_EQ(sink->pageRecording(1), recordSamplePage());

  // A loaded report prints its stored pages within the range.
  RepPrinterSettings settings;
  settings.outputFileName = dir.filePath(QStringLiteral("loaded.pdf"));
  settings.firstPage = 2;
  sink->setPrinterSettings(settings);
  ASSERT_TRUE(sink->printStoredPages());
  EXPECT_EQ(pdfPageCount(settings.outputFileName), 2);
}

TEST(RepPrinter, DamagedFileLeavesThePagesAsTheyWere) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("bad.PRP"));
  QFile bad(path);
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write(QByteArray(400, '\x01'));
  bad.close();

  const auto sink = TRepPrinter::create(TRepPrinter::Destination::PageStore);
  ASSERT_TRUE(sink->beginDocument());
  generate(*sink, 2);
  sink->endDocument();
  const QByteArray before = sink->pageRecording(2);
  EXPECT_THROW(sink->loadFile(path), PreparedReportError);
  EXPECT_FALSE(sink->reportLoaded());
  EXPECT_EQ(sink->PageCount(), 2);
  EXPECT_EQ(sink->pageRecording(2), before);
}

TEST(RepPrinter, ClosingThePreviewCancelsOnlyARunningGeneration) {
  RecordingMaster master;
  const auto running = TRepPrinter::create(TRepPrinter::Destination::PageStore);
  running->setMaster(&master);
  running->setPreviewShowing(true);
  ASSERT_TRUE(running->beginDocument());
  running->previewClosing();
  EXPECT_FALSE(running->previewShowing());
  EXPECT_TRUE(running->cancelled());
  EXPECT_EQ(master.closings, 1);

  const auto finished = TRepPrinter::create(TRepPrinter::Destination::PageStore);
  finished->setMaster(&master);
  ASSERT_TRUE(finished->beginDocument());
  generate(*finished, 1);
  finished->endDocument();
  finished->previewClosing();
  EXPECT_FALSE(finished->cancelled());
  EXPECT_EQ(master.closings, 1);
}

}  // namespace
}  // namespace wf
