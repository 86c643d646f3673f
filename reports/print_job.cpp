#include "reports/print_job.h"

#include <QDir>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <cups/cups.h>

#include <algorithm>

#include "reports/rep_printer.h"

namespace wf {

namespace {

// The printing system names a job after its document when it is given no title.
const QString kUntitledJob = QStringLiteral("Wrenfold report");

bool printerInstalled(const QString& name) { return PrintJob::printerNames().contains(name); }

}  // namespace

bool PrintJob::possible(const RepPrinterSettings& settings) {
  return !settings.outputFileName.isEmpty() || !printerNames().isEmpty();
}

QStringList PrintJob::printerNames() { return QPrinterInfo::availablePrinterNames(); }

QString PrintJob::defaultPrinterName() { return QPrinterInfo::defaultPrinterName(); }

PrintJob::PrintJob(const RepPrinterSettings& settings, const QString& title)
    : title_(title.isEmpty() ? kUntitledJob : title), copies_(std::max(1, settings.copies)) {
  printer_.setOutputFormat(QPrinter::PdfFormat);
  if (!settings.outputFileName.isEmpty()) {
    printer_.setOutputFileName(settings.outputFileName);
    // A PDF file holds each page once; the copies are the reader's business.
  } else {
    queue_ = settings.printerName.isEmpty() ? defaultPrinterName() : settings.printerName;
    if (queue_.isEmpty() || !printerInstalled(queue_)) {
      throw PrintJobError(
          QStringLiteral("The printer \"%1\" is no longer available. Choose another "
                         "printer in Printer setup.")
              .arg(queue_.isEmpty() ? settings.printerName : queue_)
              .toStdString());
    }
    document_ = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                 QStringLiteral("/wrenfold-print-XXXXXX.pdf"));
    if (!document_->open()) {
      throw PrintJobError(QStringLiteral("Printing could not be started: %1")
                              .arg(document_->errorString())
                              .toStdString());
    }
    document_->close();
    printer_.setOutputFileName(document_->fileName());
  }
  printer_.setPageSize(QPageSize(settings.paperSize));
  printer_.setPageOrientation(settings.orientation);
  printer_.setDocName(title_);
  printer_.setCreator(QStringLiteral("Wrenfold"));
}

PrintJob::~PrintJob() = default;

void PrintJob::submit() {
  if (queue_.isEmpty()) return;
  const QByteArray queue = queue_.toLocal8Bit();
  const QByteArray file = QFile::encodeName(document_->fileName());
  const QByteArray title = title_.toUtf8();
  cups_option_t* options = nullptr;
  int optionCount = 0;
  if (copies_ > 1)
    optionCount =
        cupsAddOption("copies", QByteArray::number(copies_).constData(), optionCount, &options);
  const int jobId =
      cupsPrintFile(queue.constData(), file.constData(), title.constData(), optionCount, options);
  cupsFreeOptions(optionCount, options);
  if (jobId == 0) {
    throw PrintJobError(QStringLiteral("The printer \"%1\" did not accept the print job: %2")
                            .arg(queue_, QString::fromUtf8(cupsLastErrorString()))
                            .toStdString());
  }
}

}  // namespace wf
