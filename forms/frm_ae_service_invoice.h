// The service invoice dialog: a description and a scanned invoice image of the current service.
// The service line window puts tblServiceInvoice into insert or edit state, sets the caption and
// shows the dialog modally; Save stores the chosen file's bytes unchanged and posts, Cancel (or
// the close box) cancels. A new invoice needs an image file.
#pragma once

#include "framework/form_base.h"
#include "framework/open_picture_dialog.h"

#include <optional>
#include <string>

class QLabel;
class QLineEdit;

namespace wf {

class DbEdit;
class TBlobField;
class TGradButton;
class TGradPanel;

class TfrmAEServiceInvoice : public FormBase {
  Q_OBJECT
 public:
  explicit TfrmAEServiceInvoice(QWidget* parent = nullptr);

  // Controls, named as in the window's design.
  // Title bar: "Service Invoice Details".
  TGradPanel* GradPanel1;

  // Content panel: the invoice's description and the image file to import.
  TGradPanel* GradPanel4;
  QLabel* Label1;           // "Invoice Description"
  DbEdit* DBEdit4;          // ServiceInvoiceDescription
  QLabel* Label3;           // "Import Invoice Image (jpeg)"
  QLineEdit* Edit1;         // path of the invoice image file to import (read-only)
  TGradButton* btnInvoice;  // "...": picks that file

  // Button bar.
  TGradPanel* GradPanel3;
  TGradButton* btnSave;
  TGradButton* btnCancel;

  // The file dialog of btnInvoice (JPEG files).
  OpenPictureDialog OpenPictureDialog1;

  // The bytes of the file named in Edit1 when it is a JPEG picture; otherwise the error box and
  // nothing (see readInvoiceImage).
  std::optional<std::string> LoadInvoiceFile();

  void btnInvoiceClick();
  void btnSaveClick();
  void btnCancelClick();

 protected:
  void formActivate() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildLayout();
};

// The invoice image dialogs' file dialog settings: JPEG files only.
void setUpInvoiceImageDialog(OpenPictureDialog& dialog);

// Builds the read-only path edit of an invoice image dialog at its design geometry.
QLineEdit* makeInvoicePathEdit(QWidget* parent, const QRect& geometry);

// The invoice dialogs' Save check: true, after an information box and with the focus put on the
// path edit, when the edit names a file that does not exist (or a folder); false when it is
// empty or names a file.
bool invoiceFileMissing(QLineEdit* pathEdit);

// The invoice dialogs' Save reads the chosen file whole and takes it only when it decodes as a
// JPEG picture; the bytes are then stored unchanged. A file that cannot be read or is not a
// whole picture shows the default error box, puts the focus on the path edit and gives nothing,
// so that the record stays unsaved in the dialog.
std::optional<std::string> readInvoiceImage(QLineEdit* pathEdit);

// A list window's invoice preview: previews the image stored in the current record's field,
// nothing when it holds none. A failure shows the error box.
void previewStoredInvoiceImage(const TBlobField& image);

// Decodes stored invoice image bytes as JPEG, puts the picture into the invoice preview
// holder's picture control and previews its one-page report; returns when the preview window
// has been closed. A stream that does not decode fails with the decoder's message and nothing
// is previewed. Does nothing while the holder does not exist.
void previewInvoiceImage(const std::string& bytes);

}  // namespace wf
