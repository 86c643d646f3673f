// The preview window: tool bar, zoom values and resize rules, page image, navigation and keys,
// status texts, Save and Load, and the printing progress window.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "framework/message_box.h"
#include "reports/page_store.h"
#include "reports/preview_images.h"
#include "reports/preview_messages.h"
#include "reports/rep_preview.h"
#include "reports/rep_printer.h"
#include "reports/rep_progress_form.h"
#include "reports/rep_standard_preview.h"
#include "support/sample_page.h"

namespace wf {
namespace {

class CountingMaster : public ReportMaster {
 public:
  int setups = 0;
  bool PrinterSetup(TRepPrinter&, const QString&) override {
    ++setups;
    return false;
  }
  void previewClosing(TRepPrinter& sink) override { sink.cancel(); }
};

void addPages(TRepPrinter& sink, int count) {
  for (int i = 0; i < count; ++i) {
    PageCanvas& canvas = sink.newPage();
    canvas.fillRect(QRect(100, 100, 594, 40), QColor(0, 0, 0));
    sink.finishPage();
  }
}

class PreviewWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    sink_ = TRepPrinter::create(TRepPrinter::Destination::PageStore);
    sink_->setMaster(&master_);
    ASSERT_TRUE(sink_->beginDocument());
    window_ = new TRepStandardPreview(sink_);
    window_->FormShow();
  }
  void TearDown() override {
    TRepStandardPreview::setFileDialogHook(nullptr);
    setPlainMessageHook(nullptr);
    if (window_) window_->close();
    QApplication::processEvents();
  }
  // Generates count pages, ends the document and lets the window take the notifications.
  void finishReport(int count) {
    addPages(*sink_, count);
    sink_->endDocument();
    QApplication::processEvents();
  }
  QString pageStatus() const { return window_->PagePanel->text(); }
  void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(window_->RepPreview->viewport(), Qt::Key(k), modifiers);
  }

  CountingMaster master_;
  std::shared_ptr<TRepPrinter> sink_;
  QPointer<TRepStandardPreview> window_;
};

TEST_F(PreviewWindow, OpensWithItsToolBarAndStatusBar) {
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Print Preview"));
  EXPECT_TRUE(window_->windowState() & Qt::WindowMaximized);
  EXPECT_EQ(window_->ToolBar1->height(), 32);
  EXPECT_EQ(window_->StatusBar->height(), 19);
  EXPECT_EQ(window_->RepPreview->geometry().top(), 32);
  struct Button {
    QAbstractButton* button;
    int left;
    const char* hint;
  };
  const std::vector<Button> buttons = {{window_->ZoomFit, 8, "Zoom to fit"},
                                       {window_->Zoom100, 31, "100%"},
                                       {window_->ZoomToWidth, 54, "Zoom to width"},
                                       {window_->FirstPage, 85, "First page"},
                                       {window_->PreviousPage, 108, "Previous page"},
                                       {window_->ToolButton2, 131, "Next page"},
                                       {window_->LastPage, 154, "Last page"},
                                       {window_->PrintSetup, 185, "Printer setup"},
                                       {window_->Print, 208, "Print"},
                                       {window_->SaveReport, 239, "Save Report"},
                                       {window_->LoadReport, 262, "Load Report"}};
  for (const Button& b : buttons) {
    SCOPED_TRACE(b.hint);
    EXPECT_EQ(b.button->geometry().left(), b.left);
    EXPECT_EQ(b.button->width(), 23);
    EXPECT_EQ(b.button->toolTip(), QString::fromLatin1(b.hint));
    EXPECT_FALSE(b.button->icon().isNull());
  }
  EXPECT_EQ(window_->ExitButton->geometry(), QRect(293, 0, 40, 22));
  EXPECT_EQ(window_->ExitButton->text(), QStringLiteral("&Close"));
  EXPECT_TRUE(window_->ZoomToWidth->isChecked());
  EXPECT_FALSE(window_->Print->isEnabled());
  EXPECT_FALSE(window_->PrintSetup->isEnabled());
  EXPECT_EQ(window_->ProgressPanel->text(), QStringLiteral("0%"));
  EXPECT_EQ(window_->ProgressPanel->width(), 40);
  EXPECT_EQ(pageStatus(), QStringLiteral("Page 1 of 0"));
  EXPECT_EQ(sink_->client(), window_.data());
  EXPECT_TRUE(sink_->previewShowing());
}

TEST_F(PreviewWindow, ShowsPagesAsTheyAreFinishedAndEnablesPrintAtTheEnd) {
  EXPECT_EQ(window_->RepPreview->shownPage(), 0);
  sink_->newPage();
  QApplication::processEvents();
  EXPECT_EQ(window_->RepPreview->shownPage(), 0);  // page 1 is not finished yet
  sink_->finishPage();
  QApplication::processEvents();
  EXPECT_EQ(window_->RepPreview->shownPage(), 1);
  EXPECT_EQ(window_->RepPreview->zoomMode(), TRepPreview::ZoomMode::Width);
  EXPECT_FALSE(window_->Print->isEnabled());
  finishReport(2);
  EXPECT_EQ(pageStatus(), QStringLiteral("Page 1 of 3"));
  EXPECT_TRUE(window_->Print->isEnabled());
  EXPECT_TRUE(window_->PrintSetup->isEnabled());
}

TEST_F(PreviewWindow, NavigationAndKeys) {
  finishReport(5);
  struct Step {
    const char* name;
    std::function<void()> act;
    int page;
  };
  const std::vector<Step> steps = {
      {"Next page", [&] { window_->NextPageClick(); }, 2},
      {"Page Down", [&] { key(Qt::Key_PageDown); }, 3},
      {"Page Up", [&] { key(Qt::Key_PageUp); }, 2},
      {"Ctrl+Page Down", [&] { key(Qt::Key_PageDown, Qt::ControlModifier); }, 5},
      {"Page Down on the last page", [&] { key(Qt::Key_PageDown); }, 5},
      {"Next page on the last page", [&] { window_->NextPageClick(); }, 5},
      {"Ctrl+Page Up", [&] { key(Qt::Key_PageUp, Qt::ControlModifier); }, 1},
      {"Previous page on the first page", [&] { window_->PrevPageClick(); }, 1},
      {"Shift+Page Down is a plain Page Down", [&] { key(Qt::Key_PageDown, Qt::ShiftModifier); },
       2},
      {"End", [&] { key(Qt::Key_End); }, 5},
      {"Home", [&] { key(Qt::Key_Home); }, 1},
      {"Last page", [&] { window_->LastPageClick(); }, 5},
      {"First page", [&] { window_->FirstPageClick(); }, 1},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    EXPECT_EQ(window_->RepPreview->shownPage(), step.page);
    EXPECT_EQ(pageStatus(), QStringLiteral("Page %1 of 5").arg(step.page));
  }
  key(Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_TRUE(window_.isNull());
  EXPECT_FALSE(sink_->previewShowing());
}

TEST_F(PreviewWindow, OnePageReport) {
  finishReport(1);
  window_->NextPageClick();
  window_->PrevPageClick();
  EXPECT_EQ(window_->RepPreview->shownPage(), 1);
  EXPECT_EQ(pageStatus(), QStringLiteral("Page 1 of 1"));
}

TEST_F(PreviewWindow, ProgressTextFollowsStepsOfFive) {
  const std::vector<std::pair<int, const char*>> steps = {
      {3, "0%"}, {5, "5%"}, {7, "5%"}, {10, "10%"}, {40, "40%"}, {42, "40%"}, {100, ""}};
  for (const auto& [percent, text] : steps) {
    sink_->progress(percent);
    QApplication::processEvents();
    EXPECT_EQ(window_->ProgressPanel->text(), QString::fromLatin1(text)) << percent;
  }
}

TEST_F(PreviewWindow, ClosingDuringGenerationCancelsIt) {
  addPages(*sink_, 1);
  window_->ExitClick();
  QApplication::processEvents();
  EXPECT_TRUE(window_.isNull());
  EXPECT_TRUE(sink_->cancelled());
  EXPECT_FALSE(sink_->previewShowing());
}

// Print runs after its click handler has returned, and prints the stored pages; Printer setup
// of generated pages goes through their report.
TEST_F(PreviewWindow, PrintRunsAfterTheClickHandlerAndSetupGoesToTheReport) {
  QTemporaryDir dir;
  RepPrinterSettings settings;
  settings.outputFileName = dir.filePath(QStringLiteral("printed.pdf"));
  sink_->setPrinterSettings(settings);
  sink_->setShowProgress(false);
  finishReport(2);
  window_->PrintClick();
  EXPECT_FALSE(QFile::exists(settings.outputFileName));
  QApplication::processEvents();
  EXPECT_TRUE(QFile::exists(settings.outputFileName));
  window_->PrintSetupClick();
  EXPECT_EQ(master_.setups, 1);
}

TEST_F(PreviewWindow, SaveAndLoad) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("saved.PRP"));
  std::vector<TRepStandardPreview::FileDialogRequest> asked;
  QString answer = path;
  TRepStandardPreview::setFileDialogHook([&](const TRepStandardPreview::FileDialogRequest& r) {
    asked.push_back(r);
    return answer;
  });

  addPages(*sink_, 1);
  window_->SaveClick();  // before the end: nothing is written
  EXPECT_FALSE(QFile::exists(path));
  finishReport(2);
  window_->SaveClick();
  ASSERT_TRUE(QFile::exists(path));
  ASSERT_GE(asked.size(), 2u);
  EXPECT_TRUE(asked.back().save);
  EXPECT_EQ(asked.back().title, QStringLiteral("Save report"));
  EXPECT_EQ(asked.back().filter, QStringLiteral("Prepared report file(*.PRP)|*.PRP"));
  EXPECT_EQ(asked.back().defaultSuffix, QStringLiteral("PRP"));

  // Loaded into a second window, the file shows the same pages.
  const auto other = TRepPrinter::create(TRepPrinter::Destination::PageStore);
  other->setMaster(&master_);
  ASSERT_TRUE(other->beginDocument());
  addPages(*other, 1);  // a generation still running in the other window
  QPointer<TRepStandardPreview> second = new TRepStandardPreview(other);
  second->FormShow();
  second->LoadClick();
  EXPECT_FALSE(asked.back().save);
  EXPECT_EQ(asked.back().title, QStringLiteral("Load report"));
  EXPECT_EQ(asked.back().filter, QStringLiteral("Prepared report file (*.PRP)|*.PRP"));
  EXPECT_EQ(second->PagePanel->text(), QStringLiteral("Page 1 of 3"));
  EXPECT_TRUE(second->PrintSetup->isEnabled());
  EXPECT_TRUE(second->Print->isEnabled());
  for (int page = 1; page <= 3; ++page) {
    EXPECT_EQ(other->pageRecording(page), sink_->pageRecording(page));
  }
  EXPECT_TRUE(other->cancelled());

  // A file that does not exist: a plain box, the pages stay.
  QStringList plain;
  setPlainMessageHook([&](const QString& text) { plain << text; });
  answer = dir.filePath(QStringLiteral("missing.PRP"));
  second->LoadClick();
  EXPECT_EQ(plain, QStringList{QStringLiteral("File does not exist")});
  EXPECT_EQ(second->RepPreview->shownPage(), 1);

  // A damaged file: an error box naming the fault, the pages stay.
  answer = dir.filePath(QStringLiteral("damaged.PRP"));
  QFile damaged(answer);
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  QFile good(path);
  ASSERT_TRUE(good.open(QIODevice::ReadOnly));
  damaged.write(good.readAll().left(700));
  damaged.close();
  MessageBoxRecorder boxes;
  second->LastPageClick();
  second->LoadClick();
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].kind, MessageKind::Error);
  EXPECT_TRUE(boxes.boxes()[0].text.contains(QStringLiteral("damaged")));
  EXPECT_EQ(second->RepPreview->shownPage(), 3);
  EXPECT_EQ(other->PageCount(), 3);
  second->close();
  QApplication::processEvents();
}

// Through the real open dialog: the name of a file that does not exist is the preview's to
// answer, with its plain box; the dialog's own "File not found" box must not come up instead.
TEST_F(PreviewWindow, LoadOfAMissingFileIsAnsweredByThePreview) {
  finishReport(2);
  window_->LastPageClick();
  QTemporaryDir dir;
  QStringList plain;
  setPlainMessageHook([&](const QString& text) { plain << text; });
  QStringList dialogBoxes;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      dialogBoxes << box->text();
      box->accept();
      return;
    }
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog == nullptr) return;
    if (!dialogBoxes.isEmpty()) {
      dialog->reject();
      return;
    }
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(dir.filePath(QStringLiteral("missing.PRP")));
    // Posted: a box the dialog brings up must not hold this timer's handler.
    QTimer::singleShot(0, dialog, [dialog] {
      static_cast<QDialog*>(dialog)->accept();  // the dialog checks the name as its Open would
    });
  });
  driver.start(20);
  window_->LoadClick();
  driver.stop();
  EXPECT_TRUE(dialogBoxes.isEmpty()) << dialogBoxes.join(' ').toStdString();
  EXPECT_EQ(plain, QStringList{QStringLiteral("File does not exist")});
  EXPECT_EQ(window_->RepPreview->shownPage(), 2);
  EXPECT_FALSE(sink_->reportLoaded());
}

// The page view on its own, without a frame, so its area is exactly its size.
class PageView : public ::testing::Test {
 protected:
  void SetUp() override {
    view_.setFrameStyle(QFrame::NoFrame);
    view_.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view_.resize(794, 600);
    view_.show();
    QApplication::processEvents();
  }
  TRepPreview view_;
};

TEST_F(PageView, ZoomValuesAndImageGeometry) {
  EXPECT_EQ(view_.pagePixels(), QSize(794, 1123));
  view_.zoomToWidth();
  EXPECT_EQ(view_.zoom(), 90);
  EXPECT_EQ(view_.imageSize(), QSize(718, 1014));  // 714.33 and 1010.27 rounded, + 4
  view_.zoomToFit();
  EXPECT_EQ(view_.zoom(), 51);  // min(95, 600 / 1123 * 95 = 50.76)
  EXPECT_EQ(view_.imageSize(), QSize(409, 576));
  QApplication::processEvents();  // the scroll bars of the larger zoom go away
  EXPECT_EQ(view_.imageOffset(), QPoint((794 - 409) / 2, (600 - 576) / 2));
  view_.zoomTo100();
  EXPECT_EQ(view_.zoom(), 100);
  EXPECT_EQ(view_.imageSize(), QSize(798, 1127));
  // Larger than the area: starts at the top-left corner and scrolls.
  EXPECT_EQ(view_.imageOffset(), QPoint(0, 0));
  view_.verticalScrollBar()->setValue(100);
  EXPECT_EQ(view_.imageOffset().y(), -100);

  for (int rejected : {1, 2001, -5}) {
    view_.setZoom(rejected);
    EXPECT_EQ(view_.zoom(), 100);
  }
  view_.setZoom(2);
  EXPECT_EQ(view_.zoom(), 2);
  view_.setZoom(2000);
  EXPECT_EQ(view_.zoom(), 2000);
}

TEST_F(PageView, ResizeKeepsWidthAndFitModesButNotAFixedZoom) {
  view_.zoomToWidth();
  view_.resize(397, 600);
  QApplication::processEvents();
  EXPECT_EQ(view_.zoom(), 45);
  view_.zoomToFit();
  view_.resize(794, 1200);
  QApplication::processEvents();
  EXPECT_EQ(view_.zoom(), 95);
  view_.zoomTo100();
  view_.resize(500, 500);
  QApplication::processEvents();
  EXPECT_EQ(view_.zoom(), 100);
  EXPECT_EQ(view_.zoomMode(), TRepPreview::ZoomMode::Other);
}

TEST_F(PageView, PageImageHasBorderShadowAndThePage) {
  view_.zoomToFit();
  EXPECT_TRUE(view_.grab().toImage().pixelColor(view_.width() / 2, view_.height() / 2) !=
              QColor(Qt::white));  // before a page is shown only the background shows
  const QSize size(798, 1127);
  QImage image(size, QImage::Format_RGB32);
  image.fill(QColor(1, 2, 3));
  QPainter painter(&image);
  TRepPreview::paintPageImage(painter, size, recordFilledPage(QRect(100, 100, 50, 50), Qt::red));
  painter.end();
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));       // border
  EXPECT_EQ(image.pixelColor(795, 400), QColor(Qt::black));   // border, right
  EXPECT_EQ(image.pixelColor(400, 1124), QColor(Qt::black));  // border, bottom
  EXPECT_EQ(image.pixelColor(797, 1), QColor(1, 2, 3));       // shadow starts at y 2
  EXPECT_EQ(image.pixelColor(797, 2), QColor(Qt::black));     // shadow
  EXPECT_EQ(image.pixelColor(1, 1126), QColor(1, 2, 3));      // shadow starts at x 2
  EXPECT_EQ(image.pixelColor(2, 1126), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));    // paper
  EXPECT_EQ(image.pixelColor(125, 125), QColor(Qt::red));  // the page's own drawing
}

TEST(ProgressForm, ShowsStepsOfFiveAndCancels) {
  const auto sink = TRepPrinter::create(TRepPrinter::Destination::Printer);
  TRepProgressForm form(sink);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Printing progress"));
  EXPECT_EQ(form.size(), QSize(149, 97));
  EXPECT_EQ(form.Gauge()->geometry(), QRect(16, 18, 114, 16));
  EXPECT_EQ(form.Info()->geometry(), QRect(0, 44, 145, 13));
  EXPECT_EQ(form.CancelButton()->geometry(), QRect(36, 60, 75, 25));
  EXPECT_EQ(form.CancelButton()->text(), QStringLiteral("Cancel"));
  EXPECT_EQ(sink->client(), &form);

  sink->progress(40);
  QApplication::processEvents();
  EXPECT_EQ(form.Gauge()->value(), 40);
  EXPECT_EQ(form.Info()->text(), QStringLiteral("40%  Completed"));
  sink->progress(42);
  QApplication::processEvents();
  EXPECT_EQ(form.Gauge()->value(), 40);
  EXPECT_EQ(form.Info()->text(), QStringLiteral("40%  Completed"));

  EXPECT_FALSE(sink->cancelled());
  form.CancelButton()->click();
  EXPECT_TRUE(sink->cancelled());
}

// Escape in a dialog would hide it; here it must cancel like the button and leave the window
// up until the print has ended. A close request (the window manager's) does the same.
TEST(ProgressForm, EscapeAndCloseCancelWithoutHidingTheWindow) {
  for (const bool viaEscape : {true, false}) {
    const auto sink = TRepPrinter::create(TRepPrinter::Destination::Printer);
    TRepProgressForm form(sink);
    form.show();
    QApplication::processEvents();
    if (viaEscape)
      QTest::keyClick(form.CancelButton(), Qt::Key_Escape);
    else
      form.close();
    QApplication::processEvents();
    EXPECT_TRUE(sink->cancelled()) << viaEscape;
    EXPECT_TRUE(form.isVisible()) << viaEscape;
  }
}

TEST(PreviewImages, ElevenDistinctPictures) {
  QList<QImage> seen;
  for (int i = 0; i < kPreviewImageCount; ++i) {
    const QImage image = previewImage(i).toImage();
    EXPECT_EQ(image.size(), QSize(16, 16));
    EXPECT_FALSE(seen.contains(image)) << i;
    seen << image;
  }
  EXPECT_TRUE(previewImage(11).isNull());
}

}  // namespace
}  // namespace wf
