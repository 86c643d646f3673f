#include "reports/rep_printer.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <cmath>

#include "reports/emf_player.h"
#include "reports/emf_writer.h"
#include "reports/page_store.h"
#include "reports/print_job.h"
#include "reports/qpainter_page_canvas.h"
#include "reports/rep_progress_form.h"
#include "reports/rep_standard_preview.h"
#include "reports/report_page.h"

namespace wf {

namespace {

QSize screenPageSize(const RepPrinterSettings& settings) {
  const QSizeF mm = QPageSize(settings.paperSize).size(QPageSize::Millimeter);
  QSize size(int(std::lround(mm.width() / 25.4 * kScreenDpi)),
             int(std::lround(mm.height() / 25.4 * kScreenDpi)));
  if (settings.orientation == QPageLayout::Landscape) size.transpose();
  return size;
}

// Paper of a page recorded at pageNative (tenths of a millimetre): the last paper of the list
// whose size in millimetres / 4 equals the page's size / 40, both truncated. Later papers of
// exactly the same size as an earlier match are aliases and do not replace it.
void takePaperFromPage(const QSizeF& pageNative, RepPrinterSettings& settings) {
  const int w = int(pageNative.width() / 40);
  const int h = int(pageNative.height() / 40);
  QSizeF matched;
  for (int id = 0; id < int(QPageSize::LastPageSize); ++id) {
    const auto pageId = static_cast<QPageSize::PageSizeId>(id);
    if (pageId == QPageSize::Custom) continue;
    const QSizeF mm = QPageSize(pageId).size(QPageSize::Millimeter);
    const int pw = int(mm.width() / 4);
    const int ph = int(mm.height() / 4);
    const bool portrait = pw == w && ph == h;
    const bool landscape = pw == h && ph == w;
    if (!portrait && !landscape) continue;
    if (matched.isValid() && qFuzzyCompare(matched.width(), mm.width()) &&
        qFuzzyCompare(matched.height(), mm.height())) {
      continue;
    }
    matched = mm;
    settings.paperSize = pageId;
    settings.orientation = portrait ? QPageLayout::Portrait : QPageLayout::Landscape;
  }
}

}  // namespace

// --- Events ----------------------------------------------------------------------------------

RepPrinterEvent::RepPrinterEvent(Kind kind, int value)
    : QEvent(eventType()), kind_(kind), value_(value) {}

QEvent::Type RepPrinterEvent::eventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

// --- Print job -------------------------------------------------------------------------------

struct TRepPrinter::OpenJob {
  OpenJob(const RepPrinterSettings& settings, const QString& title) : job(settings, title) {}
  PrintJob job;
  QPrinter& printer = job.printer();
  QPainter painter;
  bool painting = false;
};

// --- Sink ------------------------------------------------------------------------------------

std::shared_ptr<TRepPrinter> TRepPrinter::create(Destination destination) {
  return std::make_shared<TRepPrinter>(destination);
}

TRepPrinter::TRepPrinter(Destination destination) : destination_(destination) {}

TRepPrinter::~TRepPrinter() {
  pageCanvas_.reset();
  if (job_ && job_->painting) {
    job_->printer.abort();
    job_->painter.end();
  }
}

bool TRepPrinter::printerAvailable(const RepPrinterSettings& settings) {
  return PrintJob::possible(settings);
}

void TRepPrinter::post(RepPrinterEvent::Kind kind, int value) const {
  if (client_) QCoreApplication::postEvent(client_, new RepPrinterEvent(kind, value));
}

void TRepPrinter::setClient(QObject* client) { client_ = client; }

bool TRepPrinter::beginDocument() {
  pageCanvas_.reset();
  pageOpen_ = false;
  pageCount_ = 0;
  availablePages_ = 0;
  progress_ = 0;
  if (destination_ == Destination::Printer) {
    if (!printerAvailable(settings_)) return false;
    job_ = std::make_unique<OpenJob>(settings_, title_);
  } else if (!reportLoaded_) {
    store_ = std::make_unique<PageStore>();
  }
  if (!reportLoaded_) status_ = Status::Busy;
  return true;
}

bool TRepPrinter::pageInPrintRange(int page) const {
  return (settings_.firstPage <= 0 || page >= settings_.firstPage) &&
         (settings_.lastPage <= 0 || page <= settings_.lastPage);
}

PageCanvas& TRepPrinter::newPage() {
  if (pageOpen_) finishPage();
  pageCanvas_.reset();
  if (!reportLoaded_) ++pageCount_;
  pageOpen_ = true;
  const bool onPrinter = destination_ == Destination::Printer && job_ && !reportLoaded_;
  if (onPrinter && pageInPrintRange(pageCount_)) {
    if (!job_->painting) {
      if (!job_->painter.begin(&job_->printer)) {
        throw std::runtime_error("Printing could not be started");
      }
      job_->painting = true;
    } else {
      job_->printer.newPage();
    }
    pageCanvas_ =
        std::make_unique<QPainterPageCanvas>(job_->painter, dpiX(), dpiY(), pageSizePixels());
  } else {
    // Pages outside the print range, and pages of a generation whose pages were replaced by a
    // loaded file, are drawn on a recording that is thrown away.
    pageCanvas_ = std::make_unique<EmfWriter>(pageSizePixels(), dpiX(), dpiY());
  }
  return *pageCanvas_;
}

void TRepPrinter::finishPage() {
  if (!pageOpen_) return;
  pageOpen_ = false;
  if (reportLoaded_) {
    pageCanvas_.reset();
    return;
  }
  if (destination_ == Destination::PageStore) {
    const QByteArray recording = static_cast<EmfWriter&>(*pageCanvas_).finish();
    pageCanvas_.reset();
    store_->addPage(recording);
  } else {
    pageCanvas_.reset();
  }
  availablePages_ = pageCount_;
  post(RepPrinterEvent::Kind::PageAvailable, availablePages_);
}

void TRepPrinter::endDocument() {
  pageCanvas_.reset();
  pageOpen_ = false;
  if (reportLoaded_) return;
  if (destination_ == Destination::PageStore) {
    if (store_) store_->finish();
  } else if (job_ && job_->painting) {
    job_->painter.end();
    job_->painting = false;
    status_ = Status::Finished;
    post(RepPrinterEvent::Kind::PageAvailable, availablePages_);
    // A queue that has gone or refuses the document throws here, after the sink has finished.
    job_->job.submit();
    return;
  }
  status_ = Status::Finished;
  post(RepPrinterEvent::Kind::PageAvailable, availablePages_);
}

void TRepPrinter::abortDocument() {
  pageCanvas_.reset();
  pageOpen_ = false;
  if (reportLoaded_) return;
  if (job_ && job_->painting) {
    job_->printer.abort();
    job_->painter.end();
    job_->painting = false;
  }
  status_ = Status::Finished;
}

void TRepPrinter::progress(int percent) {
  progress_ = percent;
  post(RepPrinterEvent::Kind::Progress, percent);
}

int TRepPrinter::dpiX() const { return job_ ? job_->printer.resolution() : kScreenDpi; }

int TRepPrinter::dpiY() const { return dpiX(); }

QSize TRepPrinter::pageSizePixels() const {
  if (job_) return job_->printer.paperRect(QPrinter::DevicePixel).toRect().size();
  return screenPageSize(settings_);
}

double TRepPrinter::leftOffset() const {
  if (!job_) return 0;
  const QRectF paper = job_->printer.paperRect(QPrinter::DevicePixel);
  const QRectF page = job_->printer.pageRect(QPrinter::DevicePixel);
  return (page.left() - paper.left()) / dpiX() * kNativeUnitsPerInch;
}

double TRepPrinter::topOffset() const {
  if (!job_) return 0;
  const QRectF paper = job_->printer.paperRect(QPrinter::DevicePixel);
  const QRectF page = job_->printer.pageRect(QPrinter::DevicePixel);
  return (page.top() - paper.top()) / dpiY() * kNativeUnitsPerInch;
}

void TRepPrinter::cancel() { cancelled_ = true; }

void TRepPrinter::showPreview(QWidget* launcher) {
  auto* window = new TRepStandardPreview(shared_from_this(), launcher);
  window->FormShow();
}

void TRepPrinter::previewClosing() {
  previewShowing_ = false;
  client_ = nullptr;
  if (status_ == Status::Busy) {
    cancelled_ = true;
    if (master_) master_->previewClosing(*this);
  }
}

void TRepPrinter::loadFile(const QString& path) {
  std::unique_ptr<PageStore> loaded = PageStore::openFile(path);
  RepPrinterSettings settings = settings_;
  try {
    takePaperFromPage(EmfPlayer::parse(loaded->page(1)).pageSizeNative(), settings);
  } catch (const std::exception&) {
    // A damaged first page keeps the paper as it was; showing the page reports the damage.
  }
  if (status_ == Status::Busy) cancelled_ = true;
  pageCanvas_.reset();
  pageOpen_ = false;
  store_ = std::move(loaded);
  settings_ = settings;
  pageCount_ = store_->pageCount();
  availablePages_ = pageCount_;
  status_ = Status::Finished;
  reportLoaded_ = true;
  setupAttached_ = false;
}

bool TRepPrinter::saveFile(const QString& path) const {
  if (status_ != Status::Finished || !store_ || store_->pageCount() == 0) return false;
  return store_->saveTo(path);
}

QSizeF TRepPrinter::paperNative() const {
  QSizeF native = QPageSize(settings_.paperSize).size(QPageSize::Millimeter) * 10;
  if (settings_.orientation == QPageLayout::Landscape) native.transpose();
  return native;
}

QByteArray TRepPrinter::pageRecording(int pageNumber) const {
  if (!store_ || pageNumber < 1 || pageNumber > availablePages_) return QByteArray();
  return store_->page(pageNumber);
}

bool TRepPrinter::printerSetup(QWidget* parent, const QString& acceptText) {
  QPrinter printer;
  if (!settings_.printerName.isEmpty()) printer.setPrinterName(settings_.printerName);
  printer.setCopyCount(settings_.copies);
  printer.setPageOrientation(settings_.orientation);
  const bool finished = status_ == Status::Finished;
  if (finished) printer.setFromTo(1, pageCount_);
  QPrintDialog dialog(&printer, parent);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  // Printing into a PDF file is offered too; it is the only way to print without a printer.
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  if (!settings_.outputFileName.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(settings_.outputFileName);
  }
  if (finished)
    dialog.setMinMax(1, pageCount_);
  else
    dialog.setMinMax(0, 9999);
  if (!acceptText.isEmpty()) {
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
      if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(acceptText);
    }
  }
  if (dialog.exec() != QDialog::Accepted) return false;

  settings_.copies = printer.copyCount();
  settings_.printerName = printer.printerName();
  settings_.outputFileName =
      printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
  settings_.orientation = printer.pageLayout().orientation();
  if (printer.printRange() == QPrinter::PageRange) {
    settings_.firstPage = printer.fromPage();
    settings_.lastPage = printer.toPage();
  } else {
    settings_.firstPage = 0;
    settings_.lastPage = 0;
  }
  return true;
}

void TRepPrinter::replayPage(const QByteArray& recording) {
  if (destination_ != Destination::Printer || !job_) {
    throw std::logic_error("replayPage needs a begun printer document");
  }
  const EmfPageInfo info = EmfPlayer::parse(recording);
  if (!job_->painting) {
    // The recording covers the whole sheet, margins included.
    job_->printer.setFullPage(true);
    if (!job_->painter.begin(&job_->printer)) {
      throw PrintJobError("Printing could not be started");
    }
    job_->painting = true;
  } else {
    job_->printer.newPage();
  }
  ++pageCount_;
  const QSizeF sheet = job_->printer.paperRect(QPrinter::DevicePixel).size();
  const QSizeF page = info.pageSizePixels();
  const double scale = std::min(sheet.width() / page.width(), sheet.height() / page.height());
  const QSizeF drawn = page * scale;
  const QRectF target(
      QPointF((sheet.width() - drawn.width()) / 2, (sheet.height() - drawn.height()) / 2), drawn);
  EmfPlayer::play(recording, job_->painter, target);
  availablePages_ = pageCount_;
  post(RepPrinterEvent::Kind::PageAvailable, availablePages_);
}

bool TRepPrinter::printStoredPages() {
  if (status_ != Status::Finished || !store_ || pageCount_ == 0 || !printerAvailable(settings_))
    return false;
  const int first = settings_.firstPage > 0 ? settings_.firstPage : 1;
  const int last = settings_.lastPage > 0 ? std::min(settings_.lastPage, pageCount_) : pageCount_;
  if (first > last) return false;

  // A sink of its own carries the job, so Cancel in the progress window stops this print and
  // nothing of the pages on screen.
  const auto job = create(Destination::Printer);
  RepPrinterSettings jobSettings = settings_;
  jobSettings.firstPage = 0;
  jobSettings.lastPage = 0;
  job->setPrinterSettings(jobSettings);
  job->setTitle(title_);
  std::unique_ptr<TRepProgressForm> progress;
  if (showProgress_) {
    progress = std::make_unique<TRepProgressForm>(job);
    // Above the preview and the modal list windows, or its Cancel could not be pressed.
    progress->setWindowModality(Qt::ApplicationModal);
    progress->show();
  }
  if (!job->beginDocument()) return false;
  const int count = last - first + 1;
  try {
    for (int page = first; page <= last; ++page) {
      QCoreApplication::processEvents();
      if (job->cancelled()) break;
      job->replayPage(store_->page(page));
      job->progress((page - first + 1) * 100 / count);
    }
  } catch (...) {
    // A damaged page drops the whole job rather than printing part of it.
    job->abortDocument();
    throw;
  }
  job->endDocument();
  return true;
}

}  // namespace wf
