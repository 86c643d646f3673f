// Where a print goes: a PDF file the user chose in the print dialog, or a printer queue of the
// printing system. Either way the pages are painted on a QPrinter that writes PDF; for a queue
// that PDF is a temporary file handed to the printing system when the document is complete, so
// a queue that has gone or refuses the job is seen and reported instead of losing the print.
#pragma once

#include <QPrinter>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>

class QTemporaryFile;

namespace wf {

struct RepPrinterSettings;

// A print that could not be started or was not accepted; what() is the text for the error box.
class PrintJobError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class PrintJob {
 public:
  // Prepares the job for the settings' PDF file, chosen printer or the system's default
  // printer. Throws PrintJobError when the chosen printer is no longer installed.
  PrintJob(const RepPrinterSettings& settings, const QString& title);
  ~PrintJob();
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  // False when there is neither a PDF file nor a printer to print on.
  static bool possible(const RepPrinterSettings& settings);
  // The printers the printing system offers, and its default one (empty when none).
  static QStringList printerNames();
  static QString defaultPrinterName();

  // The surface the pages are painted on (end the painter before submit).
  QPrinter& printer() { return printer_; }
  // The queue the job goes to; empty when it goes into a PDF file.
  const QString& queue() const { return queue_; }
  // Hands the painted document to the queue with the title and copies; a PDF file is complete
  // already. Throws PrintJobError with the printing system's reason when the job is refused.
  void submit();

 private:
  QPrinter printer_{QPrinter::HighResolution};
  QString queue_;
  QString title_;
  int copies_ = 1;
  std::unique_ptr<QTemporaryFile> document_;
};

}  // namespace wf
