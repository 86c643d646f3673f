// The vehicle dialog: make, model, year, registration and a photo of one vehicle. The vehicle
// list window puts tblVehicle into insert or edit state, sets the caption and shows the dialog
// modally; Save posts, Cancel (or the close box) cancels.
#pragma once

#include "framework/form_base.h"
#include "framework/open_picture_dialog.h"
#include "framework/picture.h"

class QLabel;

namespace wf {

class DbEdit;
class PictureBox;
class TGradButton;
class TGradPanel;

class TfrmAEVehicle : public FormBase {
  Q_OBJECT
 public:
  explicit TfrmAEVehicle(QWidget* parent = nullptr);
  ~TfrmAEVehicle() override;

  // Controls, named as in the window's design.
  // Title bar: "Vehicle Details".
  TGradPanel* GradPanel1;

  // Content panel: the vehicle's fields on the left, its photo on the right.
  TGradPanel* GradPanel4;
  QLabel* Label1;                    // "Vehicle Make"
  DbEdit* DBEdit4;                   // VehicleMake
  QLabel* Label2;                    // "Vehicle Model"
  DbEdit* DBEdit3;                   // VehicleModel
  QLabel* Label3;                    // "Vehicle Year"
  DbEdit* DBEdit2;                   // VehicleYear
  QLabel* Label4;                    // "Vehicle Registration Number"
  DbEdit* DBEdit1;                   // VehicleReg
  QLabel* Label5;                    // "Vehicle Image"
  TGradPanel* GradPanel17;           // frame around the photo
  PictureBox* Image1;                // the photo being edited (photo())
  TGradButton* btnImage;             // "...": loads the photo from a JPEG or bitmap file
  TGradButton* btnCopyToClipbrd;     // copies the photo to the clipboard
  TGradButton* btnPasteFromClipbrd;  // takes the photo from a bitmap on the clipboard

  // Button bar.
  TGradPanel* GradPanel3;
  TGradButton* btnSave;
  TGradButton* btnCancel;

  // The file dialog of btnImage (JPEG and bitmap files).
  OpenPictureDialog OpenPictureDialog1;

  // The photo box's picture.
  const Picture& photo() const { return photo_; }

  void ShowBitmapAsJpeg(const QImage& bitmap);
  void LoadPhotoFromRecord();
  void StorePhotoInRecord();

  void btnImageClick();
  void btnCopyToClipbrdClick();
  void btnPasteFromClipbrdClick();
  void btnSaveClick();
  void btnCancelClick();

 protected:
  void formActivate() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void setPhoto(const Picture& picture);
  void buildLayout();

  Picture photo_;
};

}  // namespace wf
