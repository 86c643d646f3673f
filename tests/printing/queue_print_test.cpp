// Printing the service report through real printer queues of a private printing daemon: the
// printer setup lists the queues with the default one chosen, a print of the preview's pages
// reaches the queue with the report's title, copies, orientation and page range, and a queue that
// has gone or refuses the job gives an error box while the preview stays usable.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPrintDialog>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

#include "framework/message_box.h"
#include "reports/frm_service_detail_rep.h"
#include "reports/rep_printer.h"
#include "reports/rep_standard_preview.h"
#include "reports/report.h"
#include "reports/report_printer_sink.h"
#include "support/private_print_daemon.h"
#include "tests/reports/layout_test_fixtures.h"

namespace wf {
namespace {

const QString kOffice = QStringLiteral("wf-office");  // the daemon's default queue
const QString kWorkshop = QStringLiteral("wf-workshop");

class QueuePrint : public test::ReportLayoutTest {
 protected:
  static void SetUpTestSuite() {
    daemon_ = new test::PrivatePrintDaemon;
    if (daemon_->ok()) daemon_->addQueue(kOffice) && daemon_->addQueue(kWorkshop);
  }
  static void TearDownTestSuite() {
    delete daemon_;
    daemon_ = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(daemon_->ok()) << daemon_->error().toStdString();
    ReportLayoutTest::SetUp();
    addVehicle("Volvo 245 GL", "AB12 CDE");
    // Page 1 holds the title and 21 rows; the last rows and the summary go to page 2.
    for (int i = 1; i <= 25; ++i)
      addService(QStringLiteral("Service %1").arg(i, 2, 10, QLatin1Char('0')).toStdString(),
                 45000 + i);
    form = std::make_unique<TfrmServiceDetailRep>(*module);
    form->Report1->ReportTitle = QStringLiteral("Service history AB12 CDE");
  }

  static test::PrivatePrintDaemon* daemon_;
  std::unique_ptr<TfrmServiceDetailRep> form;
};

test::PrivatePrintDaemon* QueuePrint::daemon_ = nullptr;

TRepStandardPreview* openPreview() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* preview = qobject_cast<TRepStandardPreview*>(widget); preview && preview->isVisible())
      return preview;
  return nullptr;
}

TEST_F(QueuePrint, PrinterSetupListsTheQueuesWithTheDefaultChosen) {
  QStringList listed;
  QString chosen;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    TRepStandardPreview* preview = openPreview();
    if (preview == nullptr || !form->Report1->Available()) return;
    if (!preview->PrintSetup->isEnabled()) return;
    answer.stop();
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
      ASSERT_NE(printers, nullptr);
      for (int i = 0; i < printers->count(); ++i) listed << printers->itemText(i);
      chosen = printers->currentText();
      printers->setCurrentIndex(printers->findText(kWorkshop));
      dialog->accept();
    });
    preview->PrintSetup->click();
    preview->close();
  });
  answer.start(10);
  form->Report1->Preview();
  EXPECT_TRUE(listed.contains(kOffice)) << listed.join(',').toStdString();
  EXPECT_TRUE(listed.contains(kWorkshop)) << listed.join(',').toStdString();
  EXPECT_EQ(chosen, kOffice);
  EXPECT_EQ(form->Report1->PrinterSettings.PrinterName, kWorkshop);
  EXPECT_TRUE(form->Report1->PrinterSettings.OutputFileName.isEmpty());
}

// Two prints of the two-page report from its preview: everything on the default printer, then
// page 2 alone in two copies, landscape, on the other queue. The pages printed are those on
// screen, portrait pages set on the landscape sheet.
TEST_F(QueuePrint, PrintReachesTheQueueWithTitleCopiesOrientationAndPageRange) {
  struct Case {
    QString printer;  // empty: the default one
    QPageLayout::Orientation orientation;
    int copies, firstPage, lastPage;
    QString queue;
    int pages;
    QString pageSize;
    QStringList present, absent;
  };
  const QStringList everyService = [] {
    QStringList all;
    for (int i = 1; i <= 25; ++i)
      all << QStringLiteral("Service %1").arg(i, 2, 10, QLatin1Char('0'));
    return all;
  }();
  const std::vector<Case> cases{
      {QString(),
       QPageLayout::Portrait,
       1,
       0,
       0,
       kOffice,
       2,
       QStringLiteral("595 x 842 pts (A4)"),
       everyService + QStringList{QStringLiteral("Vehicle Make:"), QStringLiteral("Volvo 245 GL"),
                                  QStringLiteral("AB12 CDE"), QStringLiteral("Service No.")},
       {}},
      // Page 2 of the preview begins with service 22 under a repeated column header; the title
      // box is on page 1 only.
      {kWorkshop,
       QPageLayout::Landscape,
       2,
       2,
       2,
       kWorkshop,
       1,
       QStringLiteral("842 x 595 pts (A4)"),
       {QStringLiteral("Service No."), QStringLiteral("Service 22"), QStringLiteral("Service 25")},
       {QStringLiteral("Vehicle Make:"), QStringLiteral("Service 21"),
        QStringLiteral("Service 01")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.queue.toStdString());
    std::optional<test::FinishedJob> job;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
      TRepStandardPreview* preview = openPreview();
      if (preview == nullptr || !form->Report1->Available() || !preview->Print->isEnabled()) return;
      driver.stop();
      // What Printer setup would have chosen for these pages.
      RepPrinterSettings settings = preview->sink().printerSettings();
      settings.printerName = c.printer;
      settings.copies = c.copies;
      settings.firstPage = c.firstPage;
      settings.lastPage = c.lastPage;
      settings.orientation = c.orientation;
      preview->sink().setPrinterSettings(settings);
      const int before = daemon_->newestJobId();
      preview->Print->click();
      // The print runs posted, after the click.
      EXPECT_TRUE(QTest::qWaitFor([&] { return daemon_->newestJobId() > before; }, 20000));
      job = daemon_->waitForJob(c.queue, before);
      preview->close();
    });
    driver.start(10);
    form->Report1->Preview();
    ASSERT_TRUE(job.has_value()) << "no job reached " << c.queue.toStdString();
    EXPECT_EQ(job->title, QStringLiteral("Service history AB12 CDE"));
    EXPECT_EQ(job->copies, c.copies);
    const test::PdfFacts pdf = test::readPdf(job->document);
    EXPECT_EQ(pdf.pages, c.pages);
    EXPECT_EQ(pdf.pageSize, c.pageSize);
    for (const QString& text : c.present)
      EXPECT_TRUE(pdf.text.contains(text)) << text.toStdString();
    for (const QString& text : c.absent)
      EXPECT_FALSE(pdf.text.contains(text)) << text.toStdString();
  }
}

// A report saved to a prepared-report file and loaded again prints its stored pages on a queue.
TEST_F(QueuePrint, LoadedReportPrintsItsStoredPagesThroughTheQueue) {
  const auto generated = TRepPrinter::create(TRepPrinter::Destination::PageStore);
  ReportPrinterSink generatedSink(*generated);
  form->Report1->GenerateReport(generatedSink);
  ASSERT_EQ(generated->PageCount(), 2);
  const QString file = daemon_->folder() + QStringLiteral("/report.prp");
  ASSERT_TRUE(generated->saveFile(file));

  const auto loaded = TRepPrinter::create(TRepPrinter::Destination::PageStore);
  RepPrinterSettings settings;
  settings.printerName = kWorkshop;
  settings.copies = 3;
  loaded->setPrinterSettings(settings);
  loaded->setTitle(QStringLiteral("Loaded service history"));
  loaded->loadFile(file);
  const int before = daemon_->newestJobId();
  ASSERT_TRUE(loaded->printStoredPages());
  const auto job = daemon_->waitForJob(kWorkshop, before);
  ASSERT_TRUE(job.has_value());
  EXPECT_EQ(job->title, QStringLiteral("Loaded service history"));
  EXPECT_EQ(job->copies, 3);
  const test::PdfFacts pdf = test::readPdf(job->document);
  EXPECT_EQ(pdf.pages, 2);
  for (const char* text : {"Vehicle Make:", "Volvo 245 GL", "Service 01", "Service 25"})
    EXPECT_TRUE(pdf.text.contains(QLatin1String(text))) << text;
}

// The printer chosen in Printer setup is removed before Print, or the queue stops taking jobs:
// an error box names the printer, no job is left behind, and the preview stays open and can
// print again.
TEST_F(QueuePrint, AGoneOrRefusingPrinterGivesAnErrorBoxAndThePreviewStaysUsable) {
  ASSERT_TRUE(daemon_->addQueue(QStringLiteral("wf-refusing")));
  ASSERT_TRUE(daemon_->rejectJobs(QStringLiteral("wf-refusing")));
  struct Case {
    QString printer;
    QString expected;
  };
  for (const Case& c :
       {Case{QStringLiteral("wf-gone"),
             QStringLiteral("The printer \"wf-gone\" is no longer available")},
        Case{QStringLiteral("wf-refusing"),
             QStringLiteral("The printer \"wf-refusing\" did not accept the print job")}}) {
    SCOPED_TRACE(c.printer.toStdString());
    MessageBoxRecorder boxes;
    form->Report1->PrinterSettings.PrinterName = c.printer;
    const int before = daemon_->newestJobId();
    bool stillOpen = false;
    bool printEnabled = false;
    enum class Step { Waiting, Printing } step = Step::Waiting;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
      TRepStandardPreview* preview = openPreview();
      if (preview == nullptr || !form->Report1->Available() || !preview->Print->isEnabled()) return;
      if (step == Step::Waiting) {
        step = Step::Printing;
        preview->Print->click();
        return;
      }
      if (boxes.boxes().empty()) return;
      driver.stop();
      stillOpen = preview->isVisible();
      printEnabled = preview->Print->isEnabled();
      preview->close();
    });
    driver.start(20);
    form->Report1->Preview();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes().front().kind, MessageKind::Error);
    EXPECT_TRUE(boxes.boxes().front().text.startsWith(c.expected))
        << boxes.boxes().front().text.toStdString();
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(printEnabled);
    EXPECT_TRUE(form->Report1->Available());
    EXPECT_EQ(daemon_->newestJobId(), before);
  }
}

}  // namespace
}  // namespace wf
