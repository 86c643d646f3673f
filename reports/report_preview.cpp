#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include "reports/rep_printer.h"
#include "reports/report.h"
#include "reports/report_printer_sink.h"

// The preview side of TReport: preview window and printer setup. Kept apart from the generation
// so that generating into any page sink needs nothing of it.

namespace wf {

namespace {

class ReportMasterLink : public ReportMaster {
 public:
  explicit ReportMasterLink(TReport& report) : report_(report) {}
  bool PrinterSetup(TRepPrinter& previewSink, const QString& acceptText) override {
    return report_.PrinterSetup(previewSink, acceptText);
  }
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
  printer->setShowProgress(ShowProgress);
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

bool TReport::PrinterSetup(TRepPrinter& previewSink, const QString& acceptText) {
  // The dialog starts from the report's choices, which another preview of this report may have
  // changed since this one was generated; the paper stays that of the pages.
  RepPrinterSettings settings = toRepPrinterSettings(PrinterSettings, Page);
  settings.paperSize = previewSink.printerSettings().paperSize;
  previewSink.setPrinterSettings(settings);
  if (!previewSink.printerSetup(QApplication::activeWindow(), acceptText)) return false;

  const RepPrinterSettings& chosen = previewSink.printerSettings();
  PrinterSettings.Copies = chosen.copies;
  PrinterSettings.PrinterName = chosen.printerName;
  PrinterSettings.OutputFileName = chosen.outputFileName;
  PrinterSettings.FirstPage = chosen.firstPage;
  PrinterSettings.LastPage = chosen.lastPage;
  Page.Orientation = chosen.orientation == QPageLayout::Landscape ? Orientation::poLandscape
                                                                  : Orientation::poPortrait;
  return true;
}

void TReport::previewClosing(TRepPrinter& sink) {
  // Only the sink being generated can be cancelled; a closing older preview has nothing to stop.
  if (available_ || previewSink_ != &sink) return;
  cancelled_ = true;
  sink.cancel();
}

}  // namespace wf
