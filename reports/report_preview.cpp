#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include "framework/message_box.h"
#include "reports/rep_printer.h"
#include "reports/rep_progress_form.h"
#include "reports/report.h"
#include "reports/report_printer_sink.h"

// The printing side of TReport: preview window, printer, print dialog. Kept apart from the
// generation so that generating into any page sink needs nothing of it.

namespace wf {

namespace {

class ReportMasterLink : public ReportMaster {
 public:
  explicit ReportMasterLink(TReport& report) : report_(report) {}
  // Print comes posted from the preview window, so no handler above would see a failure: it
  // is shown here, as the window's own handler would.
  void Print() override {
    try {
      report_.Print();
    } catch (const std::exception& failure) {
      showError(failure);
    }
  }
  void PrinterSetup(TRepPrinter& previewSink) override { report_.PrinterSetup(previewSink); }
  void previewClosing(TRepPrinter& sink) override { report_.previewClosing(sink); }

 private:
  TReport& report_;
};

}  // namespace

// ---- Preview, print, printer setup ------------------------------------------------------------

void TReport::Preview() {
  QCoreApplication::processEvents();
  if (!available_) return;
  if (!master_) master_ = std::make_unique<ReportMasterLink>(*this);
  std::shared_ptr<TRepPrinter> printer = TRepPrinter::create(TRepPrinter::Destination::PageStore);
  printer->setMaster(master_.get());
  printer->setTitle(ReportTitle);
  // The window sizes its page frame from the sink's paper, so the orientation chosen in Printer
  // setup has to be there before the window is made.
  printer->setPrinterSettings(toRepPrinterSettings(PrinterSettings, Page));
  // The preview is not modal: the window it was launched from stays usable. Reports are launched
  // from modal list windows and dialogs, though, and a modal window blocks every other window
  // except those that belong to it; so the preview becomes a window of the modal window that is
  // active now, the one that launched it.
  printer->showPreview(QApplication::activeModalWidget());
  ReportPrinterSink sink(*printer);
  previewSink_ = printer.get();
  try {
    GenerateReport(sink);
  } catch (...) {
    if (previewSink_ == printer.get()) previewSink_ = nullptr;
    throw;
  }
  if (previewSink_ == printer.get()) previewSink_ = nullptr;
  if (cancelled_) return;

  // Wait, handling the application's events, until the preview window lets go of its sink.
  std::weak_ptr<TRepPrinter> watched = printer;
  QPointer<QObject> client = printer->client();
  printer.reset();
  if (watched.expired()) return;
  QEventLoop loop;
  if (client) connect(client, &QObject::destroyed, &loop, &QEventLoop::quit);
  QTimer poll;
  connect(&poll, &QTimer::timeout, &loop, [&loop, &watched] {
    if (watched.expired()) loop.quit();
  });
  poll.start(100);
  // QCoreApplication::exit() ends every running event loop, this one included.
  loop.exec();
}

void TReport::Print() {
  if (!available_) return;
  const RepPrinterSettings settings = toRepPrinterSettings(PrinterSettings, Page);
  if (!TRepPrinter::printerAvailable(settings)) return;
  if (!master_) master_ = std::make_unique<ReportMasterLink>(*this);
  std::shared_ptr<TRepPrinter> printer = TRepPrinter::create(TRepPrinter::Destination::Printer);
  printer->setMaster(master_.get());
  printer->setTitle(ReportTitle);
  std::unique_ptr<TRepProgressForm> progress;
  if (ShowProgress) {
    progress = std::make_unique<TRepProgressForm>(printer);
    // Above the preview and the modal list windows, or its Cancel could not be pressed.
    progress->setWindowModality(Qt::ApplicationModal);
    progress->show();
  }
  ReportPrinterSink sink(*printer);
  GenerateReport(sink);
}

void TReport::PrinterSetup(TRepPrinter& previewSink) {
  QPrinter printer;
  if (!PrinterSettings.PrinterName.isEmpty()) printer.setPrinterName(PrinterSettings.PrinterName);
  printer.setCopyCount(PrinterSettings.Copies);
  printer.setPageOrientation(Page.Orientation == Orientation::poLandscape ? QPageLayout::Landscape
                                                                          : QPageLayout::Portrait);
  const bool finished = previewSink.status() == TRepPrinter::Status::Finished;
  if (finished) {
    printer.setFromTo(1, previewSink.PageCount());
  }
  QPrintDialog dialog(&printer);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  // Printing into a PDF file is offered too; it is the only way to print without a printer.
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  if (!PrinterSettings.OutputFileName.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(PrinterSettings.OutputFileName);
  }
  if (finished)
    dialog.setMinMax(1, previewSink.PageCount());
  else
    dialog.setMinMax(0, 9999);
  if (dialog.exec() != QDialog::Accepted) return;

  PrinterSettings.Copies = printer.copyCount();
  PrinterSettings.PrinterName = printer.printerName();
  PrinterSettings.OutputFileName =
      printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
  Page.Orientation = printer.pageLayout().orientation() == QPageLayout::Landscape
                         ? Orientation::poLandscape
                         : Orientation::poPortrait;
  if (printer.printRange() == QPrinter::PageRange) {
    PrinterSettings.FirstPage = printer.fromPage();
    PrinterSettings.LastPage = printer.toPage();
  } else {
    PrinterSettings.FirstPage = 0;
    PrinterSettings.LastPage = 0;
  }
}

void TReport::previewClosing(TRepPrinter& sink) {
  // Only the sink being generated can be cancelled; a closing older preview has nothing to stop.
  if (available_ || previewSink_ != &sink) return;
  cancelled_ = true;
  sink.cancel();
}

}  // namespace wf
