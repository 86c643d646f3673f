// The service list window, the service line window and their three dialogs driven as a person
// would: the guards that keep buttons silent, the delete refusals and confirmations, the line
// total after an edit, the invoice dialog's refusals and byte-for-byte storage, the invoice
// preview, and the dialogs' close boxes.
#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "forms/form_instances.h"
#include "forms/frm_ae_service.h"
#include "forms/frm_ae_service_invoice.h"
#include "forms/frm_ae_service_line.h"
#include "forms/frm_service_detail.h"
#include "forms/frm_service_line_detail.h"
#include "forms/report_launches.h"
#include "framework/db_edit.h"
#include "framework/db_grid.h"
#include "framework/db_memo.h"
#include "framework/jpeg_picture.h"
#include "framework/open_picture_dialog.h"
#include "reports/frm_invoice_preview.h"
#include "reports/rep_standard_preview.h"
#include "support/forms_fixture.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <cmath>

namespace wf::test {
namespace {

// Counts the report launches; throws when told to.
struct CountingLaunches : TReportLaunches {
  int service = 0;
  int line = 0;
  bool fail = false;
  void LaunchServiceReport() override {
    ++service;
    if (fail) throw std::runtime_error("No printer");
  }
  void LaunchExpenseReport() override {}
  void LaunchServiceLineReport() override { ++line; }
};

// Replaces the text of a data edit as typing would: select all, then type.
void typeInto(QWidget* edit, const QString& text) {
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(edit, text);
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

class ServiceWindows : public FormsFixture {
 protected:
  void SetUp() override {
    FormsFixture::SetUp();
    serviceDetail_ = std::make_unique<TfrmServiceDetail>();
    frmServiceDetail = serviceDetail_.get();
    aeService_ = std::make_unique<TfrmAEService>();
    frmAEService = aeService_.get();
    aeLine_ = std::make_unique<TfrmAEServiceLine>();
    frmAEServiceLine = aeLine_.get();
    lineDetail_ = std::make_unique<TfrmServiceLineDetail>();
    frmServiceLineDetail = lineDetail_.get();
    aeInvoice_ = std::make_unique<TfrmAEServiceInvoice>();
    frmAEServiceInvoice = aeInvoice_.get();
    preview_ = std::make_unique<TfrmInvoicePreview>();
    frmInvoicePreview = preview_.get();
    reportLaunches = &launches_;
  }
  void TearDown() override {
    OpenPictureDialog::setHook(nullptr);
    reportLaunches = nullptr;
    frmInvoicePreview = nullptr;
    frmAEServiceInvoice = nullptr;
    frmServiceLineDetail = nullptr;
    frmAEServiceLine = nullptr;
    frmAEService = nullptr;
    frmServiceDetail = nullptr;
    preview_.reset();
    aeInvoice_.reset();
    lineDetail_.reset();
    aeLine_.reset();
    aeService_.reset();
    serviceDetail_.reset();
    FormsFixture::TearDown();
  }

  static void addService(const std::string& description) {
    TClientTable& services = DataModule1->tblService;
    services.insert();
    DataModule1->tblServiceServiceDescription->setAsString(description);
    services.post();
  }
  static void addLine(int quantity, double amount) {
    TClientTable& lines = DataModule1->tblServiceLine;
    lines.insert();
    DataModule1->tblServiceLineServiceLineQuantity->setAsInteger(quantity);
    DataModule1->tblServiceLineServiceLineAmount->setAsFloat(amount);
    lines.post();
  }
  static void addInvoice(const std::string& image) {
    TClientTable& invoices = DataModule1->tblServiceInvoice;
    invoices.insert();
    DataModule1->tblServiceInvoiceServiceInvoiceDescription->setAsString("Receipt");
    if (!image.empty()) DataModule1->tblServiceInvoiceServiceInvoiceBlob->setAsString(image);
    invoices.post();
  }
  static QString cell(DbGrid* grid, int row, int column) {
    return grid->model()->data(grid->model()->index(row, column)).toString();
  }
  void chooseFile(const QString& path) {
    OpenPictureDialog::setHook([path](const OpenPictureDialog&) { return std::optional(path); });
  }

  CountingLaunches launches_;
  std::unique_ptr<TfrmServiceDetail> serviceDetail_;
  std::unique_ptr<TfrmAEService> aeService_;
  std::unique_ptr<TfrmAEServiceLine> aeLine_;
  std::unique_ptr<TfrmServiceLineDetail> lineDetail_;
  std::unique_ptr<TfrmAEServiceInvoice> aeInvoice_;
  std::unique_ptr<TfrmInvoicePreview> preview_;
};

TEST_F(ServiceWindows, NewServiceGetsTodayAndTheTypedTextAndEditFocusesTheDescription) {
  addVehicle("Volvo");
  whenModal([] {
    EXPECT_EQ(frmAEService->windowTitle(), "Add New Service");
    EXPECT_EQ(frmAEService->focusWidget(), frmAEService->DBEdit4);
    QTest::keyClicks(frmAEService->DBEdit4, "Oil change");
    frmAEService->DBMemo1->setFocus();
    QTest::keyClicks(frmAEService->DBMemo1, "Filter too");
    QTest::keyClick(frmAEService->DBMemo1, Qt::Key_Return);
    QTest::keyClicks(frmAEService->DBMemo1, "Next at 20000");
    frmAEService->btnSave->Click();
  });
  frmServiceDetail->btnNewService->Click();
  TClientTable& services = DataModule1->tblService;
  EXPECT_EQ(services.State(), DataSetState::Browse);
  ASSERT_EQ(services.recordCount(), 1);
  EXPECT_EQ(DataModule1->tblServiceServiceDescription->AsString(), "Oil change");
  EXPECT_EQ(DataModule1->tblServiceServiceNote->AsString(), "Filter too\r\nNext at 20000");
  const double date = DataModule1->tblServiceServiceDate->AsDateTime();
  EXPECT_EQ(QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(date))),
            QDate::currentDate());
  EXPECT_EQ(frmServiceDetail->DBGrid2->model()->rowCount(), 1);

  whenModal([] {
    EXPECT_EQ(frmAEService->windowTitle(), "Edit Service");
    EXPECT_EQ(frmAEService->focusWidget(), frmAEService->DBEdit4);
    frmAEService->btnCancel->Click();
  });
  frmServiceDetail->DBGrid2->OnDblClick();
  EXPECT_EQ(services.State(), DataSetState::Browse);
  EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(ServiceWindows, ButtonsWithoutRecordsDoNothingSilently) {
  frmServiceDetail->btnNewServiceClick();  // no vehicle
  addVehicle("Saab");                      // no services
  frmServiceDetail->btnEditServiceClick();
  frmServiceDetail->DBGrid2->OnDblClick();
  frmServiceDetail->btnDeleteServiceClick();
  frmServiceDetail->btnPrintServiceClick();
  frmServiceDetail->btnServiceLineDetail->Click();
  frmServiceLineDetail->btnNewDetailClick();  // no service
  frmServiceLineDetail->btnNewInvoiceClick();
  addService("Brakes");  // no lines, no invoices
  for (TGradButton* button :
       {frmServiceLineDetail->btnEditDetail, frmServiceLineDetail->btnDeleteDetail,
        frmServiceLineDetail->btnPrintDetail, frmServiceLineDetail->btnEditInvoice,
        frmServiceLineDetail->btnDeleteInvoice, frmServiceLineDetail->btnPreview})
    button->Click();
  frmServiceLineDetail->DBGrid3->OnDblClick();
  frmServiceLineDetail->DBGrid1->OnDblClick();
  addInvoice("");  // an invoice without an image: nothing to preview
  frmServiceLineDetail->btnPreviewClick();

  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_EQ(launches_.service + launches_.line, 0);
  EXPECT_EQ(DataModule1->tblService.recordCount(), 1);
  for (TClientTable* table :
       {&DataModule1->tblService, &DataModule1->tblServiceLine, &DataModule1->tblServiceInvoice})
    EXPECT_EQ(table->State(), DataSetState::Browse);
}

TEST_F(ServiceWindows, AServiceWithLinesOrInvoicesIsNotDeletedAndNoKeepsIt) {
  addVehicle("Fiat");
  addService("Tyres");
  const char* refusal = "Delete all service lines and service invoices first before continuing.";
  addInvoice("x");
  frmServiceDetail->btnDeleteServiceClick();
  DataModule1->tblServiceInvoice.deleteRecord();
  addLine(1, 5);
  frmServiceDetail->btnDeleteServiceClick();
  ASSERT_EQ(boxes_.boxes().size(), 2u);
  for (const MessageBoxRecord& box : boxes_.boxes()) {
    EXPECT_EQ(box.kind, MessageKind::Information);
    EXPECT_EQ(box.text, refusal);
  }

  boxes_.clear();
  boxes_.queueAnswer(MessageAnswer::Yes);
  frmServiceLineDetail->btnDeleteDetailClick();
  boxes_.queueAnswer(MessageAnswer::No);
  frmServiceDetail->btnDeleteServiceClick();
  EXPECT_EQ(DataModule1->tblService.recordCount(), 1);
  boxes_.queueAnswer(MessageAnswer::Yes);
  frmServiceDetail->btnDeleteServiceClick();
  EXPECT_TRUE(DataModule1->tblService.isEmpty());
  ASSERT_EQ(boxes_.boxes().size(), 3u);
  EXPECT_EQ(boxes_.boxes()[0].text, "Delete selected service line?");
  EXPECT_EQ(boxes_.boxes()[1].kind, MessageKind::Confirm);
  EXPECT_EQ(boxes_.boxes()[1].text, "Delete selected service?");
}

TEST_F(ServiceWindows, PrintLaunchesTheReportsAndAFailureShowsTheErrorBox) {
  addVehicle("Kia");
  addService("Belt");
  addLine(2, 3);
  frmServiceDetail->btnPrintService->Click();
  frmServiceLineDetail->btnPrintDetail->Click();
  EXPECT_EQ(launches_.service, 1);
  EXPECT_EQ(launches_.line, 1);
  launches_.fail = true;
  frmServiceDetail->btnPrintService->Click();
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::Error);
  EXPECT_EQ(boxes_.boxes()[0].text, "No printer");
}

TEST_F(ServiceWindows, ViewServiceLineDetailOpensTheLineWindow) {
  addVehicle("Audi");
  addService("Check");
  whenModal([] {
    EXPECT_EQ(QApplication::activeModalWidget(), frmServiceLineDetail);
    frmServiceLineDetail->btnClose->Click();
  });
  frmServiceDetail->btnServiceLineDetail->Click();
  EXPECT_FALSE(frmServiceLineDetail->isVisible());
}

TEST_F(ServiceWindows, NewLineStartsAtQuantityOneAndTheTotalFollowsAnEdit) {
  addVehicle("Opel");
  addService("Parts");
  whenModal([] {
    EXPECT_EQ(frmAEServiceLine->windowTitle(), "Add New Service Line");
    EXPECT_EQ(DataModule1->tblServiceLineServiceLineQuantity->AsInteger(), 1);
    EXPECT_EQ(frmAEServiceLine->focusWidget(), frmAEServiceLine->DBEdit4);
    QTest::keyClicks(frmAEServiceLine->DBEdit4, "Spark plug");
    frmAEServiceLine->btnSave->Click();
  });
  frmServiceLineDetail->btnNewDetail->Click();
  DbGrid* grid = frmServiceLineDetail->DBGrid3;
  ASSERT_EQ(grid->model()->rowCount(), 1);
  EXPECT_EQ(cell(grid, 0, 4), "$0.00") << "amount 0 gives a total of 0";

  DataModule1->tblServiceLine.edit();
  DataModule1->tblServiceLineServiceLineQuantity->setAsInteger(3);
  DataModule1->tblServiceLine.post();
  whenModal([] {
    EXPECT_EQ(frmAEServiceLine->windowTitle(), "Edit Service Line");
    EXPECT_EQ(DataModule1->tblServiceLineServiceLineQuantity->AsInteger(), 3)
        << "an edited line keeps its quantity";
    typeInto(frmAEServiceLine->DBEdit2, "-2.5");
    frmAEServiceLine->btnSave->Click();
  });
  grid->OnDblClick();
  EXPECT_EQ(DataModule1->tblServiceLine.State(), DataSetState::Browse);
  EXPECT_DOUBLE_EQ(DataModule1->tblServiceLineServiceLineTotal->AsFloat(), -7.5);
  EXPECT_EQ(cell(grid, 0, 4),
            QString::fromStdString(DataModule1->tblServiceLineServiceLineTotal->DisplayText()));
  EXPECT_TRUE(cell(grid, 0, 4).contains("7.50")) << cell(grid, 0, 4).toStdString();
}

TEST_F(ServiceWindows, CloseBoxesCancelTheEditOfEveryServiceDialog) {
  addVehicle("Mini");
  addService("Wipers");
  addLine(4, 1);
  addInvoice("x");
  // New records are discarded.
  whenModal([] {
    QTest::keyClicks(frmAEService->DBEdit4, "Lost");
    frmAEService->close();
  });
  frmServiceDetail->btnNewServiceClick();
  whenModal([] { frmAEServiceLine->close(); });
  frmServiceLineDetail->btnNewDetailClick();
  whenModal([] { frmAEServiceInvoice->close(); });
  frmServiceLineDetail->btnNewInvoiceClick();
  // Edited records return to their stored values.
  whenModal([] {
    typeInto(frmAEServiceLine->DBEdit1, "9");
    frmAEServiceLine->DBEdit4->setFocus();  // leaving writes the quantity into the field
    EXPECT_EQ(DataModule1->tblServiceLineServiceLineQuantity->AsInteger(), 9);
    frmAEServiceLine->close();
  });
  frmServiceLineDetail->btnEditDetailClick();

  EXPECT_EQ(DataModule1->tblService.recordCount(), 1);
  EXPECT_EQ(DataModule1->tblServiceLine.recordCount(), 1);
  EXPECT_EQ(DataModule1->tblServiceInvoice.recordCount(), 1);
  EXPECT_EQ(DataModule1->tblServiceLineServiceLineQuantity->AsInteger(), 4);
  for (TClientTable* table :
       {&DataModule1->tblService, &DataModule1->tblServiceLine, &DataModule1->tblServiceInvoice})
    EXPECT_EQ(table->State(), DataSetState::Browse);
  EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(ServiceWindows, InvoiceDialogRefusesWhatIsNoPictureAndStoresAJpegUnchanged) {
  addVehicle("Lada");
  addService("Clutch");
  const QString path = dir_.path() + "/invoice.jpg";
  const QByteArray notJpeg("%PDF-1.4 not a picture\0\xff\x01", 25);
  QImage scan(200, 150, QImage::Format_RGB32);
  scan.fill(QColor(30, 120, 60));
  const QByteArray jpeg = JpegPicture::fromBitmap(scan, 90).bytes();
  chooseFile(path);
  whenModal([&] {
    EXPECT_EQ(frmAEServiceInvoice->windowTitle(), "Add New Service Invoice");
    QTest::keyClicks(frmAEServiceInvoice->DBEdit4, "Garage bill");
    frmAEServiceInvoice->btnSaveClick();  // no file chosen
    frmAEServiceInvoice->btnInvoice->Click();
    EXPECT_EQ(frmAEServiceInvoice->Edit1->text(), path);
    frmAEServiceInvoice->btnSaveClick();  // the file is not there
    QDir(dir_.path()).mkdir("invoice.jpg");
    frmAEServiceInvoice->btnSaveClick();  // a folder is not a file
    QDir(dir_.path()).rmdir("invoice.jpg");
    writeFile(path, notJpeg);
    frmAEServiceInvoice->btnSaveClick();
    writeFile(path, jpeg.left(jpeg.size() / 2));
    frmAEServiceInvoice->btnSaveClick();
    EXPECT_TRUE(frmAEServiceInvoice->isVisible());
    EXPECT_EQ(DataModule1->tblServiceInvoice.State(), DataSetState::Insert);
    EXPECT_TRUE(frmAEServiceInvoice->Edit1->hasFocus());
    writeFile(path, jpeg);
    frmAEServiceInvoice->btnSave->Click();
  });
  frmServiceLineDetail->btnNewInvoice->Click();
  ASSERT_EQ(boxes_.boxes().size(), 5u);
  EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::Information);
  EXPECT_EQ(boxes_.boxes()[0].text, "Please select an Invoice Image file.");
  for (int i : {1, 2}) {
    EXPECT_EQ(boxes_.boxes()[i].kind, MessageKind::Information);
    EXPECT_EQ(boxes_.boxes()[i].text, "Invoice Image file does not exist.");
  }
  for (int i : {3, 4}) {
    EXPECT_EQ(boxes_.boxes()[i].kind, MessageKind::DefaultError);
    EXPECT_TRUE(boxes_.boxes()[i].text.startsWith("JPEG error #"))
        << boxes_.boxes()[i].text.toStdString();
  }
  EXPECT_EQ(DataModule1->tblServiceInvoiceServiceInvoiceBlob->AsString(), jpeg.toStdString());
  EXPECT_EQ(cell(frmServiceLineDetail->DBGrid1, 0, 1), "Garage bill");

  // An edit starts with an empty path and may save only a new description.
  boxes_.clear();
  QFile::remove(path);
  whenModal([] {
    EXPECT_EQ(frmAEServiceInvoice->windowTitle(), "Edit Service Invoice");
    EXPECT_TRUE(frmAEServiceInvoice->Edit1->text().isEmpty());
    typeInto(frmAEServiceInvoice->DBEdit4, "Garage bill 2");
    frmAEServiceInvoice->btnSave->Click();
  });
  frmServiceLineDetail->DBGrid1->OnDblClick();
  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_EQ(DataModule1->tblServiceInvoiceServiceInvoiceDescription->AsString(), "Garage bill 2");
  EXPECT_EQ(DataModule1->tblServiceInvoiceServiceInvoiceBlob->AsString(), jpeg.toStdString());

  // Stored bytes that do not decode (from a file written before) report the decoder's error
  // and preview nothing.
  DataModule1->tblServiceInvoice.edit();
  DataModule1->tblServiceInvoiceServiceInvoiceBlob->setAsString(notJpeg.toStdString());
  DataModule1->tblServiceInvoice.post();
  frmServiceLineDetail->btnPreview->Click();
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::Error);
  EXPECT_TRUE(boxes_.boxes()[0].text.startsWith("JPEG error #"))
      << boxes_.boxes()[0].text.toStdString();
}

TEST_F(ServiceWindows, PreviewShowsAStoredJpegInTheInvoiceReport) {
  addVehicle("Seat");
  addService("Paint");
  QImage image(30, 20, QImage::Format_RGB32);
  image.fill(QColor(0, 90, 160));
  const QByteArray jpeg = JpegPicture::fromBitmap(image, 90).bytes();
  addInvoice(jpeg.toStdString());

  bool shown = false;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* window = qobject_cast<TRepStandardPreview*>(widget);
          window && window->isVisible()) {
        shown = true;
        closer.stop();
        window->close();
      }
  });
  closer.start(10);
  frmServiceLineDetail->btnPreview->Click();
  EXPECT_TRUE(shown);
  EXPECT_EQ(frmInvoicePreview->RepImage1->Picture.size(), QSize(30, 20));
  EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(ServiceWindows, WindowGeometryCaptionsAndColumns) {
  EXPECT_EQ(frmServiceDetail->size(), QSize(752, 526));
  EXPECT_EQ(frmServiceDetail->windowTitle(), "Service Detail");
  EXPECT_EQ(frmAEService->size(), QSize(523, 362));
  EXPECT_EQ(frmAEService->windowTitle(), "Add / Edit Service");
  EXPECT_EQ(frmServiceLineDetail->size(), QSize(752, 526));
  EXPECT_EQ(frmAEServiceLine->size(), QSize(527, 225));
  EXPECT_EQ(frmAEServiceInvoice->size(), QSize(525, 202));
  EXPECT_EQ(frmAEServiceInvoice->windowTitle(), "Add/Edit Service Invoice");
  EXPECT_EQ(frmServiceDetail->DBGrid2->geometry(), QRect(0, 238, 752, 198));
  EXPECT_EQ(frmServiceDetail->btnServiceLineDetail->geometry(), QRect(584, 10, 150, 25));
  EXPECT_EQ(frmServiceDetail->btnServiceLineDetail->toolTip(), "View Service Line Details");
  EXPECT_EQ(frmServiceLineDetail->btnPreview->geometry(), QRect(595, 10, 134, 25));
  EXPECT_EQ(frmAEServiceInvoice->btnInvoice->geometry(), QRect(481, 64, 25, 22));
  EXPECT_TRUE(frmAEServiceInvoice->Edit1->isReadOnly());
  EXPECT_EQ(frmAEServiceInvoice->OpenPictureDialog1.filter(),
            "All Supported Images (*.jpg;*.jpeg)|*.jpg;*.jpeg");
  EXPECT_EQ(frmServiceLineDetail->PageControl1->tabText(1), "Service Invoices");

  const QStringList lineTitles = {"Line Number", "Line Product", "Line Quantity", "Line Amount",
                                  "Line Total"};
  const QAbstractItemModel* lines = frmServiceLineDetail->DBGrid3->model();
  ASSERT_EQ(lines->columnCount(), lineTitles.size());
  for (int column = 0; column < lineTitles.size(); ++column)
    EXPECT_EQ(lines->headerData(column, Qt::Horizontal).toString(), lineTitles[column]);
  EXPECT_EQ(frmServiceLineDetail->DBGrid1->model()->headerData(1, Qt::Horizontal).toString(),
            "Invoice Description");
  EXPECT_EQ(frmServiceDetail->DBGrid2->model()->headerData(3, Qt::Horizontal).toString(),
            "Technician Name");
  expectDesignTabPages(frmServiceLineDetail, frmServiceLineDetail->PageControl1,
                       {{frmServiceLineDetail->DBGrid3, frmServiceLineDetail->GradPanel5},
                        {frmServiceLineDetail->DBGrid1, frmServiceLineDetail->GradPanel4}});
}

// The note has no scroll bars, so nothing may run past its right edge: words wrap at spaces, and
// a word wider than the memo breaks inside at the edge.
TEST_F(ServiceWindows, TheServiceNoteWrapsLongWordsAtTheEdge) {
  DbMemo* memo = frmAEService->DBMemo1;
  frmAEService->show();
  const struct {
    const char* name;
    QString text;
    bool breaksInsideWords;
  } cases[] = {
      {"one pasted word", QString(5000, QLatin1Char('W')), true},
      {"words", QString("tyre ").repeated(60).trimmed(), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    memo->setPlainText(c.text);
    QApplication::processEvents();
    const QTextLayout* layout = memo->document()->firstBlock().layout();
    ASSERT_GT(layout->lineCount(), 1);
    for (int i = 0; i < layout->lineCount(); ++i) {
      const QTextLine line = layout->lineAt(i);
      EXPECT_LE(line.naturalTextWidth(), memo->viewport()->width()) << "line " << i;
      if (!c.breaksInsideWords && i > 0) {
        EXPECT_EQ(c.text.at(line.textStart() - 1), QLatin1Char(' ')) << "line " << i;
      }
    }
  }
  EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  frmAEService->hide();
}

}  // namespace
}  // namespace wf::test
