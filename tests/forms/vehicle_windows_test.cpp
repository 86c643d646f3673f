// The vehicle list window and the vehicle dialog driven as a person would: New, Edit, Delete
// with their guards and messages, the photo from JPEG and BMP files, and the close box.
#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "forms/form_instances.h"
#include "forms/frm_ae_vehicle.h"
#include "forms/frm_vehicle_detail.h"
#include "framework/db_edit.h"
#include "framework/db_grid.h"
#include "framework/jpeg_picture.h"
#include "framework/open_picture_dialog.h"
#include "support/forms_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QTest>

#include <sys/stat.h>

#include <string>
#include <vector>

namespace wf::test {
namespace {

class VehicleWindows : public FormsFixture {
 protected:
  void SetUp() override {
    FormsFixture::SetUp();
    detail_ = std::make_unique<TfrmVehicleDetail>();
    frmVehicleDetail = detail_.get();
    dialog_ = std::make_unique<TfrmAEVehicle>();
    frmAEVehicle = dialog_.get();
  }
  void TearDown() override {
    OpenPictureDialog::setHook(nullptr);
    dialog_.reset();
    detail_.reset();
    frmAEVehicle = nullptr;
    frmVehicleDetail = nullptr;
    FormsFixture::TearDown();
  }

  // Presses New, types the make in the dialog and acts (Save by default).
  void addThroughDialog(const QString& make, std::function<void()> finish = {}) {
    whenModal([make, finish] {
      EXPECT_EQ(frmAEVehicle->windowTitle(), "Add New Vehicle");
      QTest::keyClicks(frmAEVehicle->DBEdit4, make);
      if (finish)
        finish();
      else
        frmAEVehicle->btnSave->Click();
    });
    frmVehicleDetail->btnNew->Click();
  }

  QByteArray writeJpegFile(const QString& path) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(10, 120, 200));
    const QByteArray bytes = JpegPicture::fromBitmap(image, 75).bytes();
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return bytes;
  }

  std::string storedPhoto() { return DataModule1->tblVehicleVehiclePhoto->AsString(); }

  std::unique_ptr<TfrmVehicleDetail> detail_;
  std::unique_ptr<TfrmAEVehicle> dialog_;
};

TEST_F(VehicleWindows, NewVehicleIsPostedAndListedInMakeOrder) {
  addThroughDialog("Volvo");
  addThroughDialog("Audi");
  TClientTable& vehicles = DataModule1->tblVehicle;
  EXPECT_EQ(vehicles.State(), DataSetState::Browse);
  ASSERT_EQ(vehicles.recordCount(), 2);
  EXPECT_EQ(frmVehicleDetail->DBGrid1->model()->rowCount(), 2);
  vehicles.first();
  EXPECT_EQ(vehicles.fieldByName("VehicleMake").AsString(), "Audi");
  EXPECT_TRUE(DataModule1->tblVehicleVehiclePhoto->IsNull()) << "saved without a photo";
  EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(VehicleWindows, CancelAndCloseBoxDiscardTheNewRecord) {
  addThroughDialog("Saab", [] { frmAEVehicle->btnCancel->Click(); });
  EXPECT_TRUE(DataModule1->tblVehicle.isEmpty());
  addThroughDialog("Saab", [] { frmAEVehicle->close(); });
  EXPECT_EQ(DataModule1->tblVehicle.State(), DataSetState::Browse);
  EXPECT_TRUE(DataModule1->tblVehicle.isEmpty());
}

TEST_F(VehicleWindows, EditShowsItsCaptionAndDoubleClickRunsEdit) {
  addVehicle("Fiat");
  whenModal([] {
    EXPECT_EQ(frmAEVehicle->windowTitle(), "Edit Vehicle");
    EXPECT_EQ(DataModule1->tblVehicle.State(), DataSetState::Edit);
    frmAEVehicle->DBEdit3->setFocus();
    QTest::keyClicks(frmAEVehicle->DBEdit3, "Panda");
    frmAEVehicle->btnSave->Click();
  });
  frmVehicleDetail->DBGrid1->OnDblClick();
  EXPECT_EQ(DataModule1->tblVehicle.fieldByName("VehicleModel").AsString(), "Panda");
}

TEST_F(VehicleWindows, EditDeleteAndDoubleClickOnAnEmptyTableDoNothing) {
  frmVehicleDetail->btnEditClick();
  frmVehicleDetail->btnDeleteClick();
  frmVehicleDetail->DBGrid1DblClick();
  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_FALSE(frmAEVehicle->isVisible());
  EXPECT_EQ(DataModule1->tblVehicle.State(), DataSetState::Browse);
}

TEST_F(VehicleWindows, DeleteGuardsAndConfirmation) {
  addVehicle("Opel");
  TClientTable& expenses = DataModule1->tblExpenses;
  expenses.insert();
  expenses.fieldByName("ExpenseDescription").setAsString("Tyres");
  expenses.post();

  frmVehicleDetail->btnDeleteClick();
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::Information);
  EXPECT_EQ(boxes_.boxes()[0].text, "Delete all services and expenses first before continuing.");
  EXPECT_EQ(DataModule1->tblVehicle.recordCount(), 1);

  expenses.deleteRecord();
  boxes_.clear();
  boxes_.queueAnswer(MessageAnswer::No);
  frmVehicleDetail->btnDeleteClick();
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::Confirm);
  EXPECT_EQ(boxes_.boxes()[0].text, "Delete selected vehicle?");
  EXPECT_EQ(DataModule1->tblVehicle.recordCount(), 1);

  boxes_.queueAnswer(MessageAnswer::Yes);
  frmVehicleDetail->btnDeleteClick();
  EXPECT_TRUE(DataModule1->tblVehicle.isEmpty());
}

TEST_F(VehicleWindows, AfterDeletingTheLowerGridsFollowTheNewCurrentVehicle) {
  addVehicle("Alfa");
  addVehicle("Benz");
  TClientTable& services = DataModule1->tblService;
  services.insert();  // a service of Benz, the current vehicle
  services.fieldByName("ServiceDescription").setAsString("Oil");
  services.post();
  DataModule1->tblVehicle.first();  // Alfa: no services
  EXPECT_EQ(frmVehicleDetail->DBGrid2->model()->rowCount(), 0);
  boxes_.queueAnswer(MessageAnswer::Yes);
  frmVehicleDetail->btnDeleteClick();
  EXPECT_EQ(DataModule1->tblVehicle.fieldByName("VehicleMake").AsString(), "Benz");
  EXPECT_EQ(frmVehicleDetail->DBGrid2->model()->rowCount(), 1);
}

TEST_F(VehicleWindows, PhotoFromJpegFileIsStoredByteForByteAndKeptOnLaterEdits) {
  const QString path = dir_.path() + "/car.jpg";
  const QByteArray file = writeJpegFile(path);
  OpenPictureDialog::setHook([path](const OpenPictureDialog&) { return std::optional(path); });
  addThroughDialog("Skoda", [] {
    frmAEVehicle->btnImageClick();
    frmAEVehicle->btnSave->Click();
  });
  EXPECT_EQ(storedPhoto(), file.toStdString());

  whenModal([] {
    EXPECT_FALSE(frmAEVehicle->photo().isEmpty()) << "the stored photo is shown again";
    frmAEVehicle->btnSave->Click();
  });
  frmVehicleDetail->btnEditClick();
  EXPECT_EQ(storedPhoto(), file.toStdString());
}

TEST_F(VehicleWindows, PhotoFromBitmapFileIsStoredAsANewJpeg) {
  const QString path = dir_.path() + "/car.BMP";  // capitals still take the bitmap path
  QImage image(20, 10, QImage::Format_RGB32);
  image.fill(QColor(200, 30, 30));
  ASSERT_TRUE(image.save(path, "BMP"));
  OpenPictureDialog::setHook([path](const OpenPictureDialog&) { return std::optional(path); });
  addThroughDialog("Seat", [] {
    frmAEVehicle->btnImageClick();
    EXPECT_EQ(frmAEVehicle->photo().kind(), Picture::Kind::Jpeg);
    frmAEVehicle->btnSave->Click();
  });
  const std::string stored = storedPhoto();
  ASSERT_GT(stored.size(), 4u);
  EXPECT_EQ(static_cast<unsigned char>(stored[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(stored[1]), 0xD8);
  const JpegPicture decoded =
      JpegPicture::fromBytes(QByteArray(stored.data(), static_cast<qsizetype>(stored.size())));
  EXPECT_EQ(decoded.width(), 20);
  EXPECT_EQ(decoded.height(), 10);
}

TEST_F(VehicleWindows, UnknownExtensionAndBrokenBitmapReachTheDefaultErrorBox) {
  const QString png = dir_.path() + "/car.png";
  const QString bmp = dir_.path() + "/broken.bmp";
  QFile(bmp).open(QIODevice::WriteOnly);  // empty file
  QString chosen = png;
  OpenPictureDialog::setHook([&chosen](const OpenPictureDialog&) { return std::optional(chosen); });
  addThroughDialog("Lada", [&chosen, bmp] {
    frmAEVehicle->btnImageClick();
    chosen = bmp;
    frmAEVehicle->btnImageClick();
    EXPECT_TRUE(frmAEVehicle->photo().isEmpty());
    frmAEVehicle->btnCancel->Click();
  });
  ASSERT_EQ(boxes_.boxes().size(), 2u);
  EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::DefaultError);
  EXPECT_EQ(boxes_.boxes()[0].text.toStdString(), "Unknown picture file extension (.png)");
  EXPECT_EQ(boxes_.boxes()[1].text.toStdString(), "Bitmap image is not valid.");
}

TEST_F(VehicleWindows, DamagedOrUnreadablePictureFilesAreRefusedAndThePhotoBoxKeepsItsPhoto) {
  const QString good = dir_.path() + "/car.jpg";
  QImage image(400, 300, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x % 256, y % 256, x ^ y));
  const QByteArray jpeg = JpegPicture::fromBitmap(image, 90).bytes();
  ASSERT_GT(jpeg.size(), 6000);
  const auto write = [this](const char* name, const QByteArray& bytes) {
    const QString path = dir_.path() + "/" + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  };
  write("car.jpg", jpeg);
  QByteArray garbage = jpeg;
  for (qsizetype i = jpeg.indexOf("\xFF\xDA") + 20; i < jpeg.size() - 2; ++i)
    garbage[i] = static_cast<char>((i * 31) & 0x7F);
  const QString pipe = dir_.path() + "/pipe.jpg";
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  const QString zero = dir_.path() + "/zero.jpg";
  ASSERT_TRUE(QFile::link("/dev/zero", zero));
  const QString big = dir_.path() + "/big.jpg";
  {
    QFile file(big);  // sparse: takes no room on disk
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(257LL * 1024 * 1024));
  }
  struct Case {
    QString path;
    QString message;  // the start of the box's text
  };
  const std::vector<Case> cases = {
      {write("cut.jpg", jpeg.left(3000)), "JPEG error #"},
      {write("forty.jpg", jpeg.left(jpeg.size() * 4 / 10)), "JPEG error #"},
      {write("garbage.jpg", garbage), "JPEG error #"},
      {write("cut.bmp", QByteArray("BM") + QByteArray(60, '\0')), "Bitmap image is not valid"},
      {pipe, "Cannot open file " + pipe + ": it is not a regular file"},
      {zero, "Cannot open file " + zero + ": it is not a regular file"},
      {big, big + " is too large for a picture (257 MB; the largest picture file taken is 256 MB)"},
  };
  QString chosen = good;
  OpenPictureDialog::setHook([&chosen](const OpenPictureDialog&) { return std::optional(chosen); });
  addThroughDialog("Lada", [&] {
    frmAEVehicle->btnImageClick();
    ASSERT_EQ(frmAEVehicle->photo().jpeg().bytes(), jpeg);
    for (const Case& c : cases) {
      SCOPED_TRACE(c.path.toStdString());
      boxes_.clear();
      chosen = c.path;
      frmAEVehicle->btnImageClick();
      ASSERT_EQ(boxes_.boxes().size(), 1u);
      EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::DefaultError);
      EXPECT_TRUE(boxes_.boxes()[0].text.startsWith(c.message))
          << boxes_.boxes()[0].text.toStdString();
      EXPECT_EQ(frmAEVehicle->photo().jpeg().bytes(), jpeg) << "the photo box is unchanged";
    }
    frmAEVehicle->btnSave->Click();
  });
  EXPECT_EQ(storedPhoto(), jpeg.toStdString());
}

TEST_F(VehicleWindows, StoredPhotoThatDoesNotDecodeGivesTheDecodersErrorAndAnEmptyBox) {
  QImage image(200, 150, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x, y, (x * y) % 256));
  const QByteArray jpeg = JpegPicture::fromBitmap(image, 90).bytes();
  ASSERT_GT(jpeg.indexOf("\xFF\xDA"), 0);
  ASSERT_LT(jpeg.indexOf("\xFF\xDA"), jpeg.size() / 2) << "cut inside the picture data";
  for (const std::string& stored :
       {std::string("not a picture"), std::string(jpeg.constData(), jpeg.size() / 2)}) {
    boxes_.clear();
    addVehicle("Mini");
    TClientTable& vehicles = DataModule1->tblVehicle;
    vehicles.edit();
    DataModule1->tblVehicleVehiclePhoto->setAsString(stored);
    vehicles.post();
    whenModal([] {
      EXPECT_TRUE(frmAEVehicle->photo().isEmpty());
      frmAEVehicle->btnSave->Click();
    });
    frmVehicleDetail->btnEditClick();
    ASSERT_EQ(boxes_.boxes().size(), 1u);
    EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::DefaultError);
    EXPECT_TRUE(boxes_.boxes()[0].text.startsWith("JPEG error #"))
        << boxes_.boxes()[0].text.toStdString();
    EXPECT_EQ(DataModule1->tblVehicleVehiclePhoto->AsString(), stored);
  }
}

TEST_F(VehicleWindows, CopyOfAMetafilePhotoIsRefusedAndTheClipboardKept) {
  const QString path = dir_.path() + "/drawing.wmf";
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xD7\xCD\xC6\x9A metafile records");
  }
  QApplication::clipboard()->setText("kept");
  OpenPictureDialog::setHook([path](const OpenPictureDialog&) { return std::optional(path); });
  addThroughDialog("Opel", [] {
    frmAEVehicle->btnImageClick();
    EXPECT_EQ(frmAEVehicle->photo().kind(), Picture::Kind::Metafile);
    frmAEVehicle->btnCopyToClipbrdClick();
    frmAEVehicle->btnCancel->Click();
  });
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::Error);
  EXPECT_EQ(boxes_.boxes()[0].text, "The photo is a metafile, which cannot be copied as a bitmap.");
  EXPECT_EQ(QApplication::clipboard()->text(), "kept");
}

TEST_F(VehicleWindows, CopyWithAnEmptyPhotoBoxSaysNothing) {
  addThroughDialog("Kia", [] {
    frmAEVehicle->btnCopyToClipbrdClick();
    frmAEVehicle->btnCancel->Click();
  });
  EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(VehicleWindows, WindowGeometryAndGridColumns) {
  EXPECT_EQ(frmVehicleDetail->size(), QSize(752, 526));
  EXPECT_EQ(frmAEVehicle->size(), QSize(707, 256));
  EXPECT_EQ(frmVehicleDetail->DBGrid1->geometry(), QRect(0, 45, 752, 148));
  EXPECT_EQ(frmVehicleDetail->btnDelete->geometry(), QRect(195, 10, 75, 25));
  const QAbstractItemModel* model = frmVehicleDetail->DBGrid4->model();
  ASSERT_EQ(model->columnCount(), 5);
  EXPECT_EQ(model->headerData(4, Qt::Horizontal).toString(), "Inv Available");
  EXPECT_EQ(frmVehicleDetail->DBGrid1->model()->headerData(4, Qt::Horizontal).toString(),
            "Vehicle Registration Number");
  expectDesignTabPages(frmVehicleDetail, frmVehicleDetail->PageControl1,
                       {{frmVehicleDetail->DBGrid2, frmVehicleDetail->GradPanel4},
                        {frmVehicleDetail->DBGrid4, frmVehicleDetail->GradPanel5}});
}

}  // namespace
}  // namespace wf::test
