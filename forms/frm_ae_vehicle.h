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
  TGradPanel* GradPanel1;
  TGradPanel* GradPanel4;
  QLabel* Label1;
  DbEdit* DBEdit4;
  QLabel* Label2;
  DbEdit* DBEdit3;
  QLabel* Label3;
  DbEdit* DBEdit2;
  QLabel* Label4;
  DbEdit* DBEdit1;
  QLabel* Label5;
  TGradPanel* GradPanel17;
  PictureBox* Image1;
  TGradButton* btnImage;
  TGradButton* btnCopyToClipbrd;
  TGradButton* btnPasteFromClipbrd;
  TGradPanel* GradPanel3;
  TGradButton* btnSave;
  TGradButton* btnCancel;
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
