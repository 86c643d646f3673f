#include "reports/rep_standard_preview.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "framework/text_codec.h"
#include "reports/emf_player.h"
#include "reports/page_store.h"
#include "reports/preview_images.h"
#include "reports/preview_messages.h"
#include "reports/rep_preview.h"
#include "reports/rep_printer.h"

namespace wf {

namespace {

constexpr int kToolBarHeight = 32;
constexpr int kToolBarBorder = 2;
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;
constexpr int kDividerWidth = 8;
constexpr int kStatusBarHeight = 19;
const QSize kNormalClientSize(644, 552);

const QString kFileExtension = QStringLiteral("PRP");
const QString kFileDescription = QStringLiteral("Prepared report file");

TRepStandardPreview::FileDialogHook& fileDialogHook() {
  static TRepStandardPreview::FileDialogHook hook;
  return hook;
}

// The preview keeps each file filter as "description|pattern": the text shown to the user, a bar,
// then the file pattern alone. The description already names the pattern in parentheses, which
// is all the file dialog needs, so only the part before the bar is handed to it.
QString dialogFilter(const QString& filter) { return filter.section(QLatin1Char('|'), 0, 0); }

}  // namespace

TRepStandardPreview::TRepStandardPreview(std::shared_ptr<TRepPrinter> sink, QWidget* parent)
    : QWidget(parent, Qt::Window), sink_(std::move(sink)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Print Preview"));
  if (parent) setFont(parent->font());

  ToolBar1 = new QFrame(this);
  ToolBar1->setFixedHeight(kToolBarHeight);
  auto* buttons = new QWidget(ToolBar1);
  buttons->setObjectName(QStringLiteral("ToolBar1Buttons"));
  buttons->setGeometry(kToolBarBorder, kToolBarBorder, 400, kButtonHeight);

  auto place = [&](QWidget* w, int left, int width) {
    w->setParent(buttons);
    w->setGeometry(left, 0, width, kButtonHeight);
  };
  auto button = [&](int left, PreviewImage image, const QString& hint, auto handler) {
    auto* b = new QToolButton;
    place(b, left, kButtonWidth);
    b->setIcon(QIcon(previewImage(int(image))));
    b->setIconSize(QSize(16, 16));
    b->setAutoRaise(true);
    b->setToolTip(hint);
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    connect(b, &QToolButton::clicked, this, handler);
    return b;
  };
  auto divider = [&](int left) {
    auto* d = new QFrame;
    d->setFrameShape(QFrame::VLine);
    d->setFrameShadow(QFrame::Sunken);
    place(d, left, kDividerWidth);
  };

  divider(0);
  ZoomFit = button(8, PreviewImage::ZoomToFit, QStringLiteral("Zoom to fit"),
                   &TRepStandardPreview::ZoomToFitClick);
  Zoom100 = button(31, PreviewImage::Zoom100, QStringLiteral("100%"),
                   &TRepStandardPreview::ZoomTo100Click);
  ZoomToWidth = button(54, PreviewImage::ZoomToWidth, QStringLiteral("Zoom to width"),
                       &TRepStandardPreview::ZoomToWidthClick);
  auto* zoomGroup = new QButtonGroup(this);
  zoomGroup->setExclusive(true);
  for (QToolButton* b : {ZoomFit, Zoom100, ZoomToWidth}) {
    b->setCheckable(true);
    zoomGroup->addButton(b);
  }
  divider(77);
  FirstPage = button(85, PreviewImage::First, QStringLiteral("First page"),
                     &TRepStandardPreview::FirstPageClick);
  PreviousPage = button(108, PreviewImage::Previous, QStringLiteral("Previous page"),
                        &TRepStandardPreview::PrevPageClick);
  ToolButton2 = button(131, PreviewImage::Next, QStringLiteral("Next page"),
                       &TRepStandardPreview::NextPageClick);
  LastPage = button(154, PreviewImage::Last, QStringLiteral("Last page"),
                    &TRepStandardPreview::LastPageClick);
  divider(177);
  PrintSetup = button(185, PreviewImage::PrinterSetup, QStringLiteral("Printer setup"),
                      &TRepStandardPreview::PrintSetupClick);
  Print =
      button(208, PreviewImage::Print, QStringLiteral("Print"), &TRepStandardPreview::PrintClick);
  divider(231);
  SaveReport = button(239, PreviewImage::Save, QStringLiteral("Save Report"),
                      &TRepStandardPreview::SaveClick);
  LoadReport = button(262, PreviewImage::Load, QStringLiteral("Load Report"),
                      &TRepStandardPreview::LoadClick);
  divider(285);
  ExitButton = new QPushButton(QStringLiteral("&Close"));
  ExitButton->setFlat(true);
  place(ExitButton, 293, 40);
  connect(ExitButton, &QPushButton::clicked, this, &TRepStandardPreview::ExitClick);
  PrintSetup->setEnabled(false);
  Print->setEnabled(false);

  RepPreview = new TRepPreview(this);
  // The sink carries the report's paper and orientation before the window is made.
  RepPreview->setPaperSize(sink_->paperNative());

  StatusBar = new QStatusBar(this);
  StatusBar->setFixedHeight(kStatusBarHeight);
  StatusBar->setSizeGripEnabled(false);
  ProgressPanel = new QLabel(QStringLiteral("0%"));
  ProgressPanel->setFixedWidth(40);
  ProgressPanel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  PagePanel = new QLabel(QStringLiteral("Page"));
  PagePanel->setMinimumWidth(50);
  StatusBar->addWidget(ProgressPanel);
  StatusBar->addWidget(PagePanel, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ToolBar1);
  layout->addWidget(RepPreview, 1);
  layout->addWidget(StatusBar);

  // Normal bounds: centred on the screen.
  resize(kNormalClientSize);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  // The window sees key presses before its controls.
  qApp->installEventFilter(this);
}

TRepStandardPreview::~TRepStandardPreview() {
  qApp->removeEventFilter(this);
  if (sink_->client() == this) sink_->setClient(nullptr);
}

void TRepStandardPreview::setFileDialogHook(FileDialogHook hook) {
  fileDialogHook() = std::move(hook);
}

void TRepStandardPreview::FormShow() {
  setWindowState(windowState() | Qt::WindowMaximized);
  sink_->setClient(this);
  sink_->setPreviewShowing(true);
  if (!sink_->title().isEmpty()) setWindowTitle(sink_->title());
  ZoomToWidth->setChecked(true);
  if (sink_->status() == TRepPrinter::Status::Finished) Print->setEnabled(true);
  show();
  writePageStatus();
  if (sink_->availablePages() > 0) RepPreviewPageAvailable(sink_->availablePages());
}

void TRepStandardPreview::writePageStatus() {
  PagePanel->setText(
      QStringLiteral("Page %1 of %2").arg(RepPreview->selectedPage()).arg(sink_->PageCount()));
}

void TRepStandardPreview::showPage(int page, bool reload) {
  if (page < 1 || page > sink_->PageCount()) return;
  if (!reload && page == RepPreview->selectedPage() && RepPreview->shownPage() == page) return;
  RepPreview->setSelectedPage(page);
  if (page > sink_->availablePages()) {
    RepPreview->clearPage();
    return;
  }
  try {
    const QByteArray recording = sink_->pageRecording(page);
    EmfPlayer::parse(recording);
    RepPreview->showRecording(page, recording);
  } catch (const std::exception& failure) {
    RepPreview->clearPage();
    showPreviewError(exceptionText(failure));
  }
}

void TRepStandardPreview::RepPreviewPageAvailable(int finishedPages) {
  const int selected = RepPreview->selectedPage();
  if (finishedPages == selected && RepPreview->shownPage() != selected) {
    ZoomToWidthClick();
    ZoomToWidth->setChecked(true);
    showPage(selected, true);
  }
  writePageStatus();
  if (sink_->status() == TRepPrinter::Status::Finished && !printing_) {
    PrintSetup->setEnabled(true);
    Print->setEnabled(true);
  }
}

void TRepStandardPreview::RepPreviewProgressUpdate(int percent) {
  if (percent >= lastProgressShown_ + 5) {
    ProgressPanel->setText(QStringLiteral("%1%").arg(percent));
    lastProgressShown_ = percent;
  }
  if (percent == 0 || percent == 100) ProgressPanel->clear();
}

void TRepStandardPreview::ZoomToFitClick() {
  QCoreApplication::processEvents();
  RepPreview->zoomToFit();
}

void TRepStandardPreview::ZoomTo100Click() {
  QCoreApplication::processEvents();
  RepPreview->zoomTo100();
}

void TRepStandardPreview::ZoomToWidthClick() {
  QCoreApplication::processEvents();
  RepPreview->zoomToWidth();
}

void TRepStandardPreview::FirstPageClick() {
  showPage(1);
  writePageStatus();
}

void TRepStandardPreview::PrevPageClick() {
  showPage(RepPreview->selectedPage() - 1);
  writePageStatus();
}

void TRepStandardPreview::NextPageClick() {
  showPage(RepPreview->selectedPage() + 1);
  writePageStatus();
}

void TRepStandardPreview::LastPageClick() {
  showPage(sink_->PageCount());
  writePageStatus();
}

bool TRepStandardPreview::runPrinterSetup(const QString& acceptText) {
  // A generated report keeps the choices for its next previews too; loaded pages keep their
  // own.
  if (sink_->setupAttached()) return sink_->master()->PrinterSetup(*sink_, acceptText);
  return sink_->printerSetup(this, acceptText);
}

void TRepStandardPreview::PrintSetupClick() {
  if (sink_->status() != TRepPrinter::Status::Finished || printing_) return;
  runPrinterSetup(QStringLiteral("OK"));
}

void TRepStandardPreview::PrintClick() {
  if (sink_->status() != TRepPrinter::Status::Finished || printing_) return;
  // Posted, so the print runs after this handler has returned.
  QTimer::singleShot(0, this, [this] { printPages(); });
}

void TRepStandardPreview::printPages() {
  if (printing_) return;
  // With no printer installed and no PDF file chosen yet, the print dialog offers printing into
  // a PDF file; its Print prints.
  if (!TRepPrinter::printerAvailable(sink_->printerSettings())) {
    if (!runPrinterSetup(QString())) return;
    if (!TRepPrinter::printerAvailable(sink_->printerSettings())) return;
  }
  // The window may close while the pages are printed; the sink stays until the print is over.
  const std::shared_ptr<TRepPrinter> sink = sink_;
  QPointer<TRepStandardPreview> self(this);
  printing_ = true;
  for (QToolButton* button : {Print, PrintSetup, LoadReport}) button->setEnabled(false);
  try {
    sink->printStoredPages();
  } catch (const std::exception& failure) {
    showPreviewError(exceptionText(failure));
  }
  if (!self) return;
  printing_ = false;
  for (QToolButton* button : {Print, PrintSetup, LoadReport}) button->setEnabled(true);
}

QString TRepStandardPreview::askForFile(const FileDialogRequest& request) {
  if (fileDialogHook()) return fileDialogHook()(request);
  QFileDialog dialog(this, request.title, QString(), dialogFilter(request.filter));
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Any name is taken, also for Load: a name of a file that does not exist gets the preview's
  // own answer, not the dialog's.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

void TRepStandardPreview::SaveClick() {
  FileDialogRequest request;
  request.save = true;
  request.title = QStringLiteral("Save report");
  request.filter = kFileDescription + QStringLiteral("(*.") + kFileExtension +
                   QStringLiteral(")|*.") + kFileExtension;
  request.defaultSuffix = kFileExtension;
  const QString path = askForFile(request);
  if (path.isEmpty() || sink_->status() != TRepPrinter::Status::Finished) return;
  if (!sink_->saveFile(path)) showPreviewError(QStringLiteral("Cannot write %1").arg(path));
}

void TRepStandardPreview::LoadClick() {
  FileDialogRequest request;
  request.title = QStringLiteral("Load report");
  request.filter = kFileDescription + QStringLiteral(" (*.") + kFileExtension +
                   QStringLiteral(")|*.") + kFileExtension;
  const QString path = askForFile(request);
  if (path.isEmpty()) return;
  if (!QFile::exists(path)) {
    showPlainMessage(QStringLiteral("File does not exist"));
    return;
  }
  try {
    sink_->loadFile(path);
  } catch (const std::exception& failure) {
    // The file is refused whole; the pages on screen stay.
    showPreviewError(exceptionText(failure));
    return;
  }
  RepPreview->setPaperSize(sink_->paperNative());
  showPage(1, true);
  writePageStatus();
  PrintSetup->setEnabled(true);
  Print->setEnabled(true);
}

void TRepStandardPreview::ExitClick() { close(); }

void TRepStandardPreview::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  const bool ctrlOnly = (modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier;
  switch (key) {
    case Qt::Key_Escape: close(); break;
    case Qt::Key_PageUp: ctrlOnly ? FirstPageClick() : PrevPageClick(); break;
    case Qt::Key_PageDown: ctrlOnly ? LastPageClick() : NextPageClick(); break;
    case Qt::Key_Home: FirstPageClick(); break;
    case Qt::Key_End: LastPageClick(); break;
    default: break;
  }
}

bool TRepStandardPreview::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Escape:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
      case Qt::Key_Home:
      case Qt::Key_End: FormKeyDown(key->key(), key->modifiers()); return true;
      default: break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TRepStandardPreview::customEvent(QEvent* event) {
  if (event->type() != RepPrinterEvent::eventType()) return;
  const auto* notice = static_cast<RepPrinterEvent*>(event);
  if (notice->kind() == RepPrinterEvent::Kind::PageAvailable)
    RepPreviewPageAvailable(notice->value());
  else
    RepPreviewProgressUpdate(notice->value());
}

void TRepStandardPreview::closeEvent(QCloseEvent* event) {
  qApp->removeEventFilter(this);
  sink_->setClient(nullptr);
  sink_->previewClosing();
  event->accept();
}

}  // namespace wf
