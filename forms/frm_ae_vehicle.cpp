#include "forms/frm_ae_vehicle.h"

#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "forms/glyphs.h"
#include "forms/window_parts.h"
#include "framework/bitmap_reader.h"
#include "framework/busy_cursor.h"
#include "framework/db_edit.h"
#include "framework/font_setup.h"
#include "framework/message_box.h"
#include "framework/pending_messages.h"
#include "framework/picture_box.h"
#include "framework/picture_clipboard.h"
#include "framework/showing_errors.h"
#include "framework/tab_chain.h"
#include "framework/text_codec.h"
#include "store/data_module.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>

namespace wf {

namespace {

constexpr int kClientWidth = 707;
constexpr int kClientHeight = 256;

TClientTable& vehicles() { return DataModule1->tblVehicle; }

}  // namespace

TfrmAEVehicle::TfrmAEVehicle(QWidget* parent) : FormBase(parent) {
  setObjectName("frmAEVehicle");
  setWindowTitle("Add/Edit Vehicle");
  setFont(msSansSerif(11));
  setFixedDialogBorder(kClientWidth, kClientHeight);
  buildLayout();
  OpenPictureDialog1.setFilter(
      "All Image Files|*.bmp;*.jpg;*.jpeg|JPEG Images (*.jpg)|*.jpg|JPEG Images (*.jpeg)|*.jpeg|"
      "Bitmap Images (*.bmp)|*.bmp");
  OpenPictureDialog1.setFilterIndex(1);
}

TfrmAEVehicle::~TfrmAEVehicle() {
  // FormDestroy: the photo box gives up its picture.
  photo_ = Picture();
}

void TfrmAEVehicle::buildLayout() {
  TDataSource* source = &DataModule1->datVehicle;
  GradPanel1 =
      makePanel(this, PanelPreset::TitleBar, QRect(0, 0, kClientWidth, 45), "Vehicle Details");
  GradPanel3 = makePanel(this, PanelPreset::ButtonBar, QRect(0, 211, kClientWidth, 45));
  GradPanel4 = makePanel(this, PanelPreset::ContentPanel, QRect(0, 45, kClientWidth, 166));

  Label1 = makeBoldLabel(GradPanel4, "Vehicle Make", 24, 27);
  DBEdit4 = makeDataEdit(GradPanel4, source, "VehicleMake", QRect(192, 24, 161, 24));
  Label2 = makeBoldLabel(GradPanel4, "Vehicle Model", 24, 59);
  DBEdit3 = makeDataEdit(GradPanel4, source, "VehicleModel", QRect(192, 56, 161, 24));
  Label3 = makeBoldLabel(GradPanel4, "Vehicle Year", 24, 91);
  DBEdit2 = makeDataEdit(GradPanel4, source, "VehicleYear", QRect(192, 88, 161, 24));
  Label4 = makeBoldLabel(GradPanel4, "Vehicle Registration Number", 24, 123);
  DBEdit1 = makeDataEdit(GradPanel4, source, "VehicleReg", QRect(192, 120, 161, 24));
  Label5 = makeBoldLabel(GradPanel4, "Vehicle Image", 376, 27);

  GradPanel17 = makePanel(GradPanel4, PanelPreset::GridFrame, QRect(467, 13, 190, 140));
  GradPanel17->setShowCaption(false);
  Image1 = new PictureBox(GradPanel17);
  Image1->setGeometry(5, 5, 180, 130);

  btnPasteFromClipbrd = makeButton(GradPanel4, QString(), "Paste Image From Clipboard",
                                   QRect(664, 125, 25, 25), kWhiteButton, 8, glyph(Glyph::Paste));
  btnCopyToClipbrd = makeButton(GradPanel4, QString(), "Copy Image To Clipboard",
                                QRect(664, 93, 25, 25), kWhiteButton, 8, glyph(Glyph::Copy));
  btnImage = makeButton(GradPanel4, "...", "Insert Image From Dialog Box...",
                        QRect(664, 61, 25, 25), kWhiteButton, 8);

  btnSave = makeButton(GradPanel3, "Save", "Save Vehicle", QRect(19, 10, 75, 25), kGreenButton, 5,
                       glyph(Glyph::Save));
  btnCancel = makeButton(GradPanel3, "Cancel", QString(), QRect(615, 10, 75, 25), kGreenButton, 5,
                         glyph(Glyph::Cancel));

  // Tab order: title bar, button bar, content panel; inside the content panel the four edits,
  // then paste, copy and the file button.
  setTabChain({btnSave, btnCancel, DBEdit4, DBEdit3, DBEdit2, DBEdit1, btnPasteFromClipbrd,
               btnCopyToClipbrd, btnImage});

  connect(btnImage, &TGradButton::clicked, this, &TfrmAEVehicle::btnImageClick);
  connect(btnCopyToClipbrd, &TGradButton::clicked, this, &TfrmAEVehicle::btnCopyToClipbrdClick);
  connect(btnPasteFromClipbrd, &TGradButton::clicked, this,
          &TfrmAEVehicle::btnPasteFromClipbrdClick);
  connect(btnSave, &TGradButton::clicked, this, &TfrmAEVehicle::btnSaveClick);
  connect(btnCancel, &TGradButton::clicked, this, &TfrmAEVehicle::btnCancelClick);
}

void TfrmAEVehicle::setPhoto(const Picture& picture) {
  photo_ = picture;
  Image1->setPicture(photo_.image());
  Image1->repaint();
}

void TfrmAEVehicle::formActivate() {
  setPhoto(Picture());
  processPendingMessages();
  if (vehicles().State() == DataSetState::Edit) {
    processPendingMessages();
    try {
      if (!DataModule1->tblVehicleVehiclePhoto->IsNull()) LoadPhotoFromRecord();
    } catch (const std::exception& failure) {
      // A stored photo that does not decode reaches the default error box; the dialog stays
      // open with an empty photo box and the focus where it was.
      setPhoto(Picture());
      showDefaultError(exceptionText(failure));
      return;
    }
    processPendingMessages();
  }
  DBEdit4->setFocus();
}

void TfrmAEVehicle::LoadPhotoFromRecord() {
  const std::string blob = DataModule1->tblVehicleVehiclePhoto->AsString();
  const QByteArray stream(blob.data(), static_cast<qsizetype>(blob.size()));
  processPendingMessages();
  const JpegPicture jpeg = JpegPicture::fromBytes(stream);
  setPhoto(Picture::fromJpeg(jpeg));
  processPendingMessages();
}

void TfrmAEVehicle::ShowBitmapAsJpeg(const QImage& bitmap) {
  const JpegPicture jpeg = JpegPicture::fromBitmap(bitmap, JpegPicture::kBitmapQuality);
  processPendingMessages();
  setPhoto(Picture::fromJpeg(jpeg));
  processPendingMessages();
}

void TfrmAEVehicle::StorePhotoInRecord() {
  processPendingMessages();
  const QByteArray stream = photo_.saveToBytes();
  processPendingMessages();
  DataModule1->tblVehicleVehiclePhoto->setAsString(
      std::string(stream.constData(), static_cast<std::size_t>(stream.size())));
  processPendingMessages();
}

void TfrmAEVehicle::btnImageClick() {
  if (!OpenPictureDialog1.execute(this)) return;
  const QString fileName = OpenPictureDialog1.fileName();
  const QString extension = "." + QFileInfo(fileName).suffix().toLower();
  try {
    if (extension != ".bmp") {
      setPhoto(Picture::loadFromFile(fileName));
    } else {
      const QImage bitmap = readBitmapFile(fileName).convertToFormat(QImage::Format_RGB32);
      processPendingMessages();
      ShowBitmapAsJpeg(bitmap);
      processPendingMessages();
    }
  } catch (const std::exception& failure) {
    // Not handled by the dialog: the framework's box, and the photo box keeps its picture.
    showDefaultError(exceptionText(failure));
  }
}

void TfrmAEVehicle::btnCopyToClipbrdClick() {
  if (photo_.isEmpty()) return;
  if (photo_.kind() == Picture::Kind::Metafile) {
    // The photo box cannot draw a metafile, so there are no pixels to copy.
    showError("The photo is a metafile, which cannot be copied as a bitmap.");
    return;
  }
  runShowingErrors([&] {
    putBitmapOnClipboard(photo_.image());
    showInformation("Image Copied.");
  });
}

void TfrmAEVehicle::btnPasteFromClipbrdClick() {
  if (!clipboardHasBitmap()) return;
  runShowingErrors([&] {
    const QImage bitmap = clipboardBitmap().convertToFormat(QImage::Format_RGB32);
    processPendingMessages();
    ShowBitmapAsJpeg(bitmap);
    processPendingMessages();
  });
}

void TfrmAEVehicle::btnSaveClick() {
  postAndClose(vehicles(), this, [this] {
    if (!photo_.isEmpty()) StorePhotoInRecord();
  });
}

void TfrmAEVehicle::btnCancelClick() { cancelAndClose(vehicles(), this); }

void TfrmAEVehicle::closeEvent(QCloseEvent* event) {
  // The close box cancels like Cancel does, so the table is never left in insert or edit state
  // behind a hidden dialog. After Save or Cancel the table is in browse state already.
  cancelPendingEdit(vehicles());
  FormBase::closeEvent(event);
}

}  // namespace wf
