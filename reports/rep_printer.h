// The page sink of one generation run (TRepPrinter): takes the pages a report generates and
// puts them into a page store (for the preview window) or onto a printer, and tells its client
// window about finished pages and progress through posted events.
//
// Threading: everything runs on the user-interface thread. Ownership: a sink is always held by
// std::shared_ptr (create()); the report engine keeps one reference while it generates, the
// preview window another while it is open, so whichever lets go last frees the sink, its page
// store and the store's temporary file.
#pragma once

#include <QEvent>
#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QSize>
#include <QString>

#include <memory>

#include "reports/page_canvas.h"

class QPainter;
class QPrinter;
class QObject;
class QWidget;

namespace wf {

class PageStore;
class TRepPrinter;

// What the page sink and the preview window need of the report that generated the pages.
class ReportMaster {
 public:
  virtual ~ReportMaster() = default;
  // Shows the print dialog for previewSink's pages (TRepPrinter::printerSetup) and keeps its
  // choices in the report as well, for the report's next previews. Returns whether the user
  // confirmed the dialog. acceptText as for TRepPrinter::printerSetup.
  virtual bool PrinterSetup(TRepPrinter& previewSink, const QString& acceptText) = 0;
  // The preview window on sink is closing while sink is still being generated: the report
  // stops before its next record, leaves the last page unfinished and aborts the document.
  virtual void previewClosing(TRepPrinter& sink) = 0;
};

// Printer choices handed from the report to the sink. A first or last page of 0 means from the
// first or to the last page.
struct RepPrinterSettings {
  QString printerName;     // empty: the system default printer
  QString outputFileName;  // not empty: print into this PDF file instead of a printer
  QPageSize::PageSizeId paperSize = QPageSize::A4;
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  int copies = 1;
  bool duplex = false;  // kept with the report; the printer's own duplex setting decides
  int firstPage = 0;
  int lastPage = 0;
};

// Notification posted by a sink to its client (see TRepPrinter::setClient).
class RepPrinterEvent : public QEvent {
 public:
  enum class Kind { PageAvailable, Progress };
  RepPrinterEvent(Kind kind, int value);
  static QEvent::Type eventType();
  Kind kind() const { return kind_; }
  // PageAvailable: pages finished so far. Progress: the percentage.
  int value() const { return value_; }

 private:
  Kind kind_;
  int value_;
};

class TRepPrinter : public std::enable_shared_from_this<TRepPrinter> {
 public:
  enum class Destination { PageStore, Printer };
  enum class Status { Ready, Busy, Finished };

  static std::shared_ptr<TRepPrinter> create(Destination destination);
  explicit TRepPrinter(Destination destination);  // use create(); showPreview needs sharing
  ~TRepPrinter();
  TRepPrinter(const TRepPrinter&) = delete;
  TRepPrinter& operator=(const TRepPrinter&) = delete;

  Destination destination() const { return destination_; }
  Status status() const { return status_; }

  void setMaster(ReportMaster* master) { master_ = master; }
  ReportMaster* master() const { return master_; }
  void setTitle(const QString& title) { title_ = title; }
  const QString& title() const { return title_; }
  void setPrinterSettings(const RepPrinterSettings& settings) { settings_ = settings; }
  const RepPrinterSettings& printerSettings() const { return settings_; }

  // True when Print has somewhere to go: an installed printer or a chosen PDF file.
  static bool printerAvailable(const RepPrinterSettings& settings);
  // Whether printStoredPages shows the printing progress window (the report's ShowProgress).
  void setShowProgress(bool show) { showProgress_ = show; }
  bool showProgress() const { return showProgress_; }

  // --- Engine side -------------------------------------------------------------------------
  // Starts a document: clears the pages (a fresh page store for the preview) and opens the
  // print job lazily for the printer. Returns false, leaving the sink ready, when the printer
  // destination has no printer to print on; nothing may be drawn then. Throws PrintJobError
  // when the chosen printer is no longer installed.
  bool beginDocument();
  // Opens page PageCount() + 1 and returns its surface, valid until finishPage().
  PageCanvas& newPage();
  // The page opened last is complete: it goes into the store or onto the printer and the
  // client is told.
  void finishPage();
  // Normal end: the store's header gets the final page count, the print job is sent. Throws
  // PrintJobError, with the sink finished, when the printer's queue refuses the job.
  void endDocument();
  // The document is dropped: finished pages stay in the store, a print job is discarded.
  void abortDocument();
  // Last percentage of the detail loop, posted to the client.
  void progress(int percent);
  int lastProgress() const { return progress_; }

  // Surface geometry of the pages of the current document (valid after beginDocument; before,
  // the page store's 96 dpi A4 values for the settings' paper).
  int dpiX() const;
  int dpiY() const;
  QSize pageSizePixels() const;
  // The printer's unprintable left and top margins in native units (tenths of a millimetre);
  // 0 for the page store. Page coordinates start at the printable area.
  double leftOffset() const;
  double topOffset() const;

  int PageCount() const { return pageCount_; }
  int availablePages() const { return availablePages_; }

  // Set by Close of the preview during generation or by Cancel of the progress window.
  bool cancelled() const { return cancelled_; }
  void cancel();

  // --- Window side -------------------------------------------------------------------------
  // Creates the preview window on this sink and shows it (the sink must be held by a
  // shared_ptr). The window shares ownership of the sink until it closes. launcher, when not
  // null, is the window the preview belongs to (see TReport::Preview).
  void showPreview(QWidget* launcher = nullptr);
  bool previewShowing() const { return previewShowing_; }
  void setPreviewShowing(bool showing) { previewShowing_ = showing; }
  // The preview window is closing: a running generation is cancelled through the master.
  void previewClosing();

  // Receiver of the posted RepPrinterEvents; may be null. The sink does not own it.
  void setClient(QObject* client);
  QObject* client() const { return client_; }

  // The pages come from a prepared-report file (see loadFile).
  bool reportLoaded() const { return reportLoaded_; }
  // Whether Printer setup also reaches the report (false after a file was loaded: the loaded
  // pages keep their choices to themselves).
  bool setupAttached() const { return setupAttached_ && master_ != nullptr; }
  // Shows the system print dialog preset from the printer settings, with the page range of the
  // finished pages; on OK its choices (printer or PDF file, copies, orientation, page range)
  // become the settings. acceptText, when not empty, relabels the dialog's accept button.
  // Returns whether the user confirmed.
  bool printerSetup(QWidget* parent = nullptr, const QString& acceptText = QString());
  // Replaces the pages by those of a prepared-report file. A running generation is cancelled
  // and stores nothing more. Throws PreparedReportError (message text) when the file is not a
  // readable prepared report; the pages held before are then kept.
  void loadFile(const QString& path);
  // Writes the page store byte for byte into path. Returns false when the document has not
  // finished or the file cannot be written.
  bool saveFile(const QString& path) const;

  // EMF recording of a finished page (1-based); empty when not available. Throws
  // PreparedReportError when a loaded file turns out damaged there.
  QByteArray pageRecording(int pageNumber) const;
  // Paper of the pages: from the settings, or from the first page of a loaded file.
  QPageSize::PageSizeId paperSize() const { return settings_.paperSize; }
  QPageLayout::Orientation orientation() const { return settings_.orientation; }
  // The paper as the pages lie on it, in native units: 2100 by 2970 for portrait A4, 2970 by
  // 2100 for landscape.
  QSizeF paperNative() const;

  // The one way pages reach a printer: the finished pages of the store, generated or loaded,
  // within the settings' page range, are replayed onto the settings' printer or PDF file, with
  // the progress window when showProgress(). The tables are never read again, so the print
  // holds exactly what the preview shows. Cancel in the progress window stops before the next
  // page and the pages printed so far are sent. Returns false when there is nowhere to print,
  // the pages are not finished or the range holds none. Throws PrintJobError when the printer
  // has gone or refuses the job, PreparedReportError or EmfError when a stored page is damaged
  // (nothing is printed then).
  bool printStoredPages();

  // Printer destination: draws one recorded page over a sheet of its own, scaled to the sheet
  // with its proportions kept and centred (a page of the other orientation than the paper fits
  // inside it). Throws EmfError, before anything is drawn, for a damaged recording.
  void replayPage(const QByteArray& recording);

 private:
  struct OpenJob;
  void post(RepPrinterEvent::Kind kind, int value) const;
  bool pageInPrintRange(int page) const;

  Destination destination_;
  Status status_ = Status::Ready;
  ReportMaster* master_ = nullptr;
  QString title_;
  RepPrinterSettings settings_;
  QPointer<QObject> client_;
  std::unique_ptr<PageStore> store_;
  std::unique_ptr<OpenJob> job_;
  std::unique_ptr<PageCanvas> pageCanvas_;
  int pageCount_ = 0;
  int availablePages_ = 0;
  int progress_ = 0;
  bool cancelled_ = false;
  bool previewShowing_ = false;
  bool reportLoaded_ = false;
  bool setupAttached_ = true;
  bool pageOpen_ = false;
  bool showProgress_ = true;
};

}  // namespace wf
