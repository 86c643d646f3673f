#include "forms/frm_ae_service_invoice.h"

#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "forms/form_instances.h"
#include "forms/glyphs.h"
#include "forms/window_parts.h"
#include "framework/busy_cursor.h"
#include "framework/db_edit.h"
#include "framework/font_setup.h"
#include "framework/jpeg_codec.h"
#include "framework/jpeg_picture.h"
#include "framework/message_box.h"
#include "framework/pending_messages.h"
#include "framework/showing_errors.h"
#include "framework/tab_chain.h"
#include "framework/text_codec.h"
#include "framework/whole_file.h"
#include "reports/frm_invoice_preview.h"
#include "store/data_module.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

#include <exception>

namespace wf {

namespace {

constexpr int kClientWidth = 525;
constexpr int kClientHeight = 202;

TClientTable& invoices() { return DataModule1->tblServiceInvoice; }

}  // namespace

void setUpInvoiceImageDialog(OpenPictureDialog& dialog) {
  dialog.setDefaultExtension(".jpg");
  dialog.setFilter("All Supported Images (*.jpg;*.jpeg)|*.jpg;*.jpeg");
}

QLineEdit* makeInvoicePathEdit(QWidget* parent, const QRect& geometry) {
  auto* edit = new QLineEdit(parent);
  edit->setReadOnly(true);
  styleDataEntry(edit);
  edit->setFrame(true);
  edit->setGeometry(geometry);
  return edit;
}

namespace {

void focusIfEnabled(QLineEdit* edit) {
  if (edit->isVisible() && edit->isEnabled()) edit->setFocus();
}

}  // namespace

bool invoiceFileMissing(QLineEdit* pathEdit) {
  const QString path = pathEdit->text();
  if (path.isEmpty()) return false;
  // A folder of that name is no invoice file either.
  const QFileInfo file(path);
  if (file.exists() && !file.isDir()) return false;
  showInformation("Invoice Image file does not exist.");
  focusIfEnabled(pathEdit);
  return true;
}

std::optional<std::string> readInvoiceImage(QLineEdit* pathEdit) {
  try {
    const QByteArray bytes = readWholeFile(pathEdit->text());
    // Decoded once here so that a damaged or foreign file is refused while it can still be
    // corrected, not found out at the next preview.
    decodeJpeg(bytes);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  } catch (const std::exception& failure) {
    showDefaultError(exceptionText(failure));
    focusIfEnabled(pathEdit);
    return std::nullopt;
  }
}

void previewStoredInvoiceImage(const TBlobField& image) {
  if (image.IsNull()) return;
  runShowingErrors([&] { previewInvoiceImage(image.AsString()); });
}

void previewInvoiceImage(const std::string& bytes) {
  if (frmInvoicePreview == nullptr) return;
  {
    // The decoder's stream and picture are released before the preview runs, on every path.
    const JpegPicture jpeg =
        JpegPicture::fromBytes(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    frmInvoicePreview->RepImage1->Picture = jpeg.image();
  }
  frmInvoicePreview->Report1->Preview();
}

TfrmAEServiceInvoice::TfrmAEServiceInvoice(QWidget* parent) : FormBase(parent) {
  setObjectName("frmAEServiceInvoice");
  setWindowTitle("Add/Edit Service Invoice");
  setFont(msSansSerif(11));
  setFixedDialogBorder(kClientWidth, kClientHeight);
  buildLayout();
  setUpInvoiceImageDialog(OpenPictureDialog1);
}

void TfrmAEServiceInvoice::buildLayout() {
  GradPanel1 = makePanel(this, PanelPreset::TitleBar, QRect(0, 0, kClientWidth, 45),
                         "Service Invoice Details");
  GradPanel4 = makePanel(this, PanelPreset::ContentPanel, QRect(0, 45, kClientWidth, 112));
  GradPanel3 = makePanel(this, PanelPreset::ButtonBar, QRect(0, 157, kClientWidth, 45));

  Label1 = makeBoldLabel(GradPanel4, "Invoice Description", 24, 27);
  DBEdit4 = makeDataEdit(GradPanel4, &DataModule1->datServiceInvoice, "ServiceInvoiceDescription",
                         QRect(192, 24, 313, 24));
  Label3 = makeBoldLabel(GradPanel4, "Import Invoice Image (jpeg)", 24, 67);
  Edit1 = makeInvoicePathEdit(GradPanel4, QRect(192, 64, 289, 24));
  btnInvoice = makeButton(GradPanel4, "...", "Open Image Dialog...", QRect(481, 64, 25, 22),
                          kWhiteButton, 5);

  btnSave = makeButton(GradPanel3, "Save", "Save Service Invoice", QRect(19, 10, 75, 25),
                       kGreenButton, 5, glyph(Glyph::Save));
  btnCancel = makeButton(GradPanel3, "Cancel", QString(), QRect(431, 10, 75, 25), kGreenButton, 5,
                         glyph(Glyph::Cancel));

  setTabChain({DBEdit4, Edit1, btnInvoice, btnSave, btnCancel});

  connect(btnInvoice, &TGradButton::clicked, this, &TfrmAEServiceInvoice::btnInvoiceClick);
  connect(btnSave, &TGradButton::clicked, this, &TfrmAEServiceInvoice::btnSaveClick);
  connect(btnCancel, &TGradButton::clicked, this, &TfrmAEServiceInvoice::btnCancelClick);
}

void TfrmAEServiceInvoice::formActivate() {
  Edit1->clear();
  DBEdit4->setFocus();
}

void TfrmAEServiceInvoice::btnInvoiceClick() {
  if (OpenPictureDialog1.execute(this)) Edit1->setText(OpenPictureDialog1.fileName());
}

std::optional<std::string> TfrmAEServiceInvoice::LoadInvoiceFile() {
  return readInvoiceImage(Edit1);
}

void TfrmAEServiceInvoice::btnSaveClick() {
  const QString path = Edit1->text();
  if (invoices().State() == DataSetState::Insert && path.isEmpty()) {
    showInformation("Please select an Invoice Image file.");
    focusIfEnabled(Edit1);
    return;
  }
  if (invoiceFileMissing(Edit1)) return;
  std::optional<std::string> image;
  if (!path.isEmpty() && !(image = LoadInvoiceFile())) return;
  postAndClose(invoices(), this, [&] {
    if (image) DataModule1->tblServiceInvoiceServiceInvoiceBlob->setAsString(*image);
  });
}

void TfrmAEServiceInvoice::btnCancelClick() { cancelAndClose(invoices(), this); }

void TfrmAEServiceInvoice::closeEvent(QCloseEvent* event) {
  // After Save or Cancel the table is in browse state already; the close box cancels.
  cancelPendingEdit(invoices());
  FormBase::closeEvent(event);
}

}  // namespace wf
