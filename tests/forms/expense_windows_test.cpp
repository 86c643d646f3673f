// The expense list window and the expense dialog driven as a person would: the silent guards,
// the delete confirmation, the report launch, the invoice image stored byte for byte with its
// "Inv Available" column, the missing-file refusal, the invoice preview and the close box.
#include "controls/grad_button.h"
#include "forms/form_instances.h"
#include "forms/frm_ae_expense.h"
#include "forms/frm_expense_detail.h"
#include "forms/report_launches.h"
#include "framework/db_edit.h"
#include "framework/db_grid.h"
#include "framework/jpeg_picture.h"
#include "framework/open_picture_dialog.h"
#include "reports/frm_invoice_preview.h"
#include "support/forms_fixture.h"

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include <sys/stat.h>

namespace wf::test {
namespace {

struct CountingLaunches : TReportLaunches {
  int expense = 0;
  void LaunchServiceReport() override {}
  void LaunchExpenseReport() override { ++expense; }
  void LaunchServiceLineReport() override {}
};

class ExpenseWindows : public FormsFixture {
 protected:
  void SetUp() override {
    FormsFixture::SetUp();
    detail_ = std::make_unique<TfrmExpenseDetail>();
    frmExpenseDetail = detail_.get();
    dialog_ = std::make_unique<TfrmAEExpense>();
    frmAEExpense = dialog_.get();
    preview_ = std::make_unique<TfrmInvoicePreview>();
    frmInvoicePreview = preview_.get();
    reportLaunches = &launches_;
  }
  void TearDown() override {
    OpenPictureDialog::setHook(nullptr);
    reportLaunches = nullptr;
    frmInvoicePreview = nullptr;
    frmAEExpense = nullptr;
    frmExpenseDetail = nullptr;
    preview_.reset();
    dialog_.reset();
    detail_.reset();
    FormsFixture::TearDown();
  }

  static void addExpense(const std::string& description) {
    TClientTable& expenses = DataModule1->tblExpenses;
    expenses.insert();
    DataModule1->tblExpensesExpenseDescription->setAsString(description);
    expenses.post();
  }
  static QString cell(int row, int column) {
    const QAbstractItemModel* model = frmExpenseDetail->DBGrid2->model();
    return model->data(model->index(row, column)).toString();
  }
  void chooseFile(const QString& path) {
    OpenPictureDialog::setHook([path](const OpenPictureDialog&) { return std::optional(path); });
  }

  CountingLaunches launches_;
  std::unique_ptr<TfrmExpenseDetail> detail_;
  std::unique_ptr<TfrmAEExpense> dialog_;
  std::unique_ptr<TfrmInvoicePreview> preview_;
};

TEST_F(ExpenseWindows, ButtonsWithoutRecordsDoNothingSilently) {
  frmExpenseDetail->btnNewExpenseClick();  // no vehicle
  addVehicle("Volvo");                     // no expenses
  for (TGradButton* button :
       {frmExpenseDetail->btnEditExpense, frmExpenseDetail->btnDeleteExpense,
        frmExpenseDetail->btnPrintExpenses, frmExpenseDetail->btnPrintPreview})
    button->Click();
  frmExpenseDetail->DBGrid2->OnDblClick();
  addExpense("Parking");  // without an invoice image
  EXPECT_EQ(cell(0, 4), "NO");
  frmExpenseDetail->btnPrintPreviewClick();
  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_EQ(launches_.expense, 0);
  EXPECT_FALSE(frmAEExpense->isVisible());
  EXPECT_EQ(DataModule1->tblExpenses.State(), DataSetState::Browse);
}

TEST_F(ExpenseWindows, NewExpenseStoresAJpegFileUnchangedAndRefusesOtherFiles) {
  addVehicle("Saab");
  const QString path = dir_.path() + "/scan.jpg";
  const QByteArray notJpeg("GIF89a\0\x01\x02 not a jpeg", 21);
  QImage scan(120, 90, QImage::Format_RGB32);
  scan.fill(QColor(200, 40, 40));
  const QByteArray jpeg = JpegPicture::fromBitmap(scan, 90).bytes();
  const auto write = [&path](const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  };
  write(notJpeg);
  chooseFile(path);
  whenModal([&] {
    EXPECT_EQ(frmAEExpense->windowTitle(), "Add New Expense");
    EXPECT_EQ(frmAEExpense->focusWidget(), frmAEExpense->DBEdit4);
    QTest::keyClicks(frmAEExpense->DBEdit4, "Tyres");
    frmAEExpense->btnInvoice->Click();
    EXPECT_EQ(frmAEExpense->Edit1->text(), path);
    frmAEExpense->btnSave->Click();
    EXPECT_TRUE(frmAEExpense->isVisible());
    EXPECT_EQ(DataModule1->tblExpenses.State(), DataSetState::Insert);
    EXPECT_EQ(frmAEExpense->focusWidget(), frmAEExpense->Edit1);
    write(jpeg);
    frmAEExpense->btnSave->Click();
  });
  frmExpenseDetail->btnNewExpense->Click();
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::DefaultError);
  EXPECT_TRUE(boxes_.boxes()[0].text.startsWith("JPEG error #"))
      << boxes_.boxes()[0].text.toStdString();
  TClientTable& expenses = DataModule1->tblExpenses;
  EXPECT_EQ(expenses.State(), DataSetState::Browse);
  ASSERT_EQ(expenses.recordCount(), 1);
  EXPECT_EQ(DataModule1->tblExpensesExpenseBlob->AsString(), jpeg.toStdString());
  EXPECT_EQ(DataModule1->tblExpensesExpenseAmount->AsFloat(), 0.0);
  EXPECT_EQ(cell(0, 1), "Tyres");
  EXPECT_EQ(cell(0, 4), "YES");

  // A later edit starts with an empty path and keeps the image.
  boxes_.clear();
  whenModal([] {
    EXPECT_EQ(frmAEExpense->windowTitle(), "Edit Expense");
    EXPECT_TRUE(frmAEExpense->Edit1->text().isEmpty());
    frmAEExpense->btnSave->Click();
  });
  frmExpenseDetail->DBGrid2->OnDblClick();
  EXPECT_EQ(DataModule1->tblExpensesExpenseBlob->AsString(), jpeg.toStdString());
  EXPECT_TRUE(boxes_.boxes().empty());

  // Stored bytes that do not decode (from a file written before) fail only in the preview.
  expenses.edit();
  DataModule1->tblExpensesExpenseBlob->setAsString(notJpeg.toStdString());
  expenses.post();
  frmExpenseDetail->btnPrintPreview->Click();
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::Error);
  EXPECT_TRUE(boxes_.boxes()[0].text.startsWith("JPEG error #"))
      << boxes_.boxes()[0].text.toStdString();
}

TEST_F(ExpenseWindows, AFileGoneBeforeSaveIsRefusedAndCancelDiscardsTheRecord) {
  addVehicle("Fiat");
  chooseFile(dir_.path() + "/gone.jpg");
  whenModal([] {
    frmAEExpense->btnInvoice->Click();
    frmAEExpense->btnSaveClick();
    EXPECT_TRUE(frmAEExpense->isVisible());
    EXPECT_EQ(DataModule1->tblExpenses.State(), DataSetState::Insert);
    EXPECT_EQ(frmAEExpense->focusWidget(), frmAEExpense->Edit1);
    frmAEExpense->btnCancel->Click();
  });
  frmExpenseDetail->btnNewExpenseClick();
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::Information);
  EXPECT_EQ(boxes_.boxes()[0].text, "Invoice Image file does not exist.");
  EXPECT_TRUE(DataModule1->tblExpenses.isEmpty());
  EXPECT_EQ(DataModule1->tblExpenses.State(), DataSetState::Browse);
}

TEST_F(ExpenseWindows, AFolderOrANamedPipeIsRefusedAtOnceAndNothingIsSaved) {
  addVehicle("Lada");
  const QString pipe = dir_.path() + "/pipe.jpg";
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  chooseFile(dir_.path() + "/Data");  // a folder
  whenModal([&] {
    frmAEExpense->btnInvoice->Click();
    frmAEExpense->btnSave->Click();
    chooseFile(pipe);  // no writer: reading it would wait for ever
    frmAEExpense->btnInvoice->Click();
    frmAEExpense->btnSave->Click();
    EXPECT_EQ(DataModule1->tblExpenses.State(), DataSetState::Insert);
    frmAEExpense->btnCancel->Click();
  });
  frmExpenseDetail->btnNewExpenseClick();
  ASSERT_EQ(boxes_.boxes().size(), 2u);
  EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::Information);
  EXPECT_EQ(boxes_.boxes()[0].text, "Invoice Image file does not exist.");
  EXPECT_EQ(boxes_.boxes()[1].kind, MessageKind::DefaultError);
  EXPECT_EQ(boxes_.boxes()[1].text, "Cannot open file " + pipe + ": it is not a regular file.");
  EXPECT_TRUE(DataModule1->tblExpenses.isEmpty());
}

TEST_F(ExpenseWindows, CloseBoxCancelsAnEditAndANewRecord) {
  addVehicle("Kia");
  addExpense("Wash");
  whenModal([] {
    frmAEExpense->DBEdit4->setFocus();
    QTest::keyClick(frmAEExpense->DBEdit4, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(frmAEExpense->DBEdit4, "Changed");
    frmAEExpense->DBEdit2->setFocus();
    EXPECT_EQ(DataModule1->tblExpensesExpenseDescription->AsString(), "Changed");
    frmAEExpense->close();
  });
  frmExpenseDetail->btnEditExpenseClick();
  EXPECT_EQ(DataModule1->tblExpensesExpenseDescription->AsString(), "Wash");
  whenModal([] { frmAEExpense->close(); });
  frmExpenseDetail->btnNewExpenseClick();
  EXPECT_EQ(DataModule1->tblExpenses.recordCount(), 1);
  EXPECT_EQ(DataModule1->tblExpenses.State(), DataSetState::Browse);
}

TEST_F(ExpenseWindows, DeleteAsksAndPrintLaunchesTheReport) {
  addVehicle("Audi");
  addExpense("Fuel");
  frmExpenseDetail->btnPrintExpenses->Click();
  EXPECT_EQ(launches_.expense, 1);
  boxes_.queueAnswer(MessageAnswer::No);
  frmExpenseDetail->btnDeleteExpenseClick();
  EXPECT_EQ(DataModule1->tblExpenses.recordCount(), 1);
  boxes_.queueAnswer(MessageAnswer::Yes);
  frmExpenseDetail->btnDeleteExpenseClick();
  EXPECT_TRUE(DataModule1->tblExpenses.isEmpty());
  ASSERT_EQ(boxes_.boxes().size(), 2u);
  EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::Confirm);
  EXPECT_EQ(boxes_.boxes()[0].text, "Delete selected expense?");
}

TEST_F(ExpenseWindows, WindowGeometryCaptionsAndColumns) {
  EXPECT_EQ(frmExpenseDetail->size(), QSize(752, 526));
  EXPECT_EQ(frmExpenseDetail->windowTitle(), "Expense Detail");
  EXPECT_EQ(frmAEExpense->size(), QSize(527, 257));
  EXPECT_EQ(frmAEExpense->windowTitle(), "Add/Edit Expense");
  EXPECT_EQ(frmExpenseDetail->btnPrintPreview->geometry(), QRect(600, 10, 134, 25));
  EXPECT_EQ(frmExpenseDetail->btnPrintPreview->toolTip(), "Print Preview Expense Invoice");
  EXPECT_EQ(frmAEExpense->btnInvoice->geometry(), QRect(481, 120, 25, 22));
  EXPECT_EQ(frmAEExpense->OpenPictureDialog1.defaultExtension(), ".jpg");
  const QStringList titles = {"Expense Number", "Expense Description", "Expense Date",
                              "Expense Amount", "Inv Available"};
  const QAbstractItemModel* model = frmExpenseDetail->DBGrid2->model();
  ASSERT_EQ(model->columnCount(), titles.size());
  for (int column = 0; column < titles.size(); ++column)
    EXPECT_EQ(model->headerData(column, Qt::Horizontal).toString(), titles[column]);
}

}  // namespace
}  // namespace wf::test
