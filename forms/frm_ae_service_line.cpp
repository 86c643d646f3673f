#include "forms/frm_ae_service_line.h"

#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "forms/glyphs.h"
#include "forms/window_parts.h"
#include "framework/busy_cursor.h"
#include "framework/db_edit.h"
#include "framework/font_setup.h"
#include "framework/message_box.h"
#include "framework/pending_messages.h"
#include "framework/showing_errors.h"
#include "framework/tab_chain.h"
#include "store/data_module.h"

#include <QCloseEvent>
#include <QLabel>

namespace wf {

namespace {

constexpr int kClientWidth = 527;
constexpr int kClientHeight = 225;

TClientTable& lines() { return DataModule1->tblServiceLine; }

}  // namespace

TfrmAEServiceLine::TfrmAEServiceLine(QWidget* parent) : FormBase(parent) {
  setObjectName("frmAEServiceLine");
  setWindowTitle("Add / Edit Service Line");
  setFont(msSansSerif(11));
  setFixedDialogBorder(kClientWidth, kClientHeight);
  buildLayout();
}

void TfrmAEServiceLine::buildLayout() {
  TDataSource* source = &DataModule1->datServiceLine;
  GradPanel1 =
      makePanel(this, PanelPreset::TitleBar, QRect(0, 0, kClientWidth, 45), "Service Line Details");
  GradPanel4 = makePanel(this, PanelPreset::ContentPanel, QRect(0, 45, kClientWidth, 135));
  GradPanel3 = makePanel(this, PanelPreset::ButtonBar, QRect(0, 180, kClientWidth, 45));

  Label1 = makeBoldLabel(GradPanel4, "Line Product", 24, 27);
  DBEdit4 = makeDataEdit(GradPanel4, source, "ServiceLineProduct", QRect(192, 24, 313, 24));
  Label2 = makeBoldLabel(GradPanel4, "Line Quantity", 24, 59);
  DBEdit1 = makeDataEdit(GradPanel4, source, "ServiceLineQuantity", QRect(192, 56, 49, 24));
  Label3 = makeBoldLabel(GradPanel4, "Line Amount", 24, 91);
  DBEdit2 = makeDataEdit(GradPanel4, source, "ServiceLineAmount", QRect(192, 88, 161, 24));

  btnSave = makeButton(GradPanel3, "Save", "Save Service Line Details", QRect(19, 10, 75, 25),
                       kGreenButton, 5, glyph(Glyph::Save));
  btnCancel = makeButton(GradPanel3, "Cancel", QString(), QRect(431, 10, 75, 25), kGreenButton, 5,
                         glyph(Glyph::Cancel));

  setTabChain({DBEdit4, DBEdit1, DBEdit2, btnSave, btnCancel});

  connect(btnSave, &TGradButton::clicked, this, &TfrmAEServiceLine::btnSaveClick);
  connect(btnCancel, &TGradButton::clicked, this, &TfrmAEServiceLine::btnCancelClick);
}

void TfrmAEServiceLine::formActivate() {
  // Only a new line starts at one; an edited line keeps its stored quantity.
  if (lines().State() == DataSetState::Insert)
    DataModule1->tblServiceLineServiceLineQuantity->setAsInteger(1);
  DBEdit4->setFocus();
}

void TfrmAEServiceLine::btnSaveClick() { postAndClose(lines(), this); }

void TfrmAEServiceLine::btnCancelClick() { cancelAndClose(lines(), this); }

void TfrmAEServiceLine::closeEvent(QCloseEvent* event) {
  // After Save or Cancel the table is in browse state already; the close box cancels.
  cancelPendingEdit(lines());
  FormBase::closeEvent(event);
}

}  // namespace wf
