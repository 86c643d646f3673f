#include "forms/frm_ae_service.h"

#include "controls/db_date_edit.h"
#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "forms/glyphs.h"
#include "forms/window_parts.h"
#include "framework/busy_cursor.h"
#include "framework/db_edit.h"
#include "framework/db_memo.h"
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

constexpr int kClientWidth = 523;
constexpr int kClientHeight = 362;

TClientTable& services() { return DataModule1->tblService; }

}  // namespace

TfrmAEService::TfrmAEService(QWidget* parent) : FormBase(parent) {
  setObjectName("frmAEService");
  setWindowTitle("Add / Edit Service");
  setFont(msSansSerif(11));
  setFixedDialogBorder(kClientWidth, kClientHeight);
  buildLayout();
}

void TfrmAEService::buildLayout() {
  TDataSource* source = &DataModule1->datService;
  GradPanel1 =
      makePanel(this, PanelPreset::TitleBar, QRect(0, 0, kClientWidth, 45), "Service Details");
  GradPanel4 = makePanel(this, PanelPreset::ContentPanel, QRect(0, 45, kClientWidth, 272));
  GradPanel3 = makePanel(this, PanelPreset::ButtonBar, QRect(0, 317, kClientWidth, 45));

  Label1 = makeBoldLabel(GradPanel4, "Service Description", 24, 27);
  DBEdit4 = makeDataEdit(GradPanel4, source, "ServiceDescription", QRect(192, 24, 313, 24));
  Label2 = makeBoldLabel(GradPanel4, "Service Date", 24, 59);
  DBDateEdit1 = makeDataDateEdit(GradPanel4, source, "ServiceDate", QRect(192, 56, 161, 22));
  Label3 = makeBoldLabel(GradPanel4, "Technician Name", 24, 91);
  DBEdit2 = makeDataEdit(GradPanel4, source, "ServiceTechName", QRect(192, 88, 161, 24));
  Label5 = makeBoldLabel(GradPanel4, "Service Distance", 24, 123);
  DBEdit1 = makeDataEdit(GradPanel4, source, "ServiceDistance", QRect(192, 120, 161, 24));
  Label4 = makeBoldLabel(GradPanel4, "Service Note", 24, 155);
  DBMemo1 = new DbMemo(GradPanel4);
  styleDataEntry(DBMemo1);
  DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  DBMemo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  DBMemo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // Without scroll bars a word wider than the memo would run out of sight: it breaks at the edge.
  DBMemo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  DBMemo1->setTabChangesFocus(true);
  DBMemo1->setDataSource(source);
  DBMemo1->setDataField("ServiceNote");
  DBMemo1->setGeometry(192, 152, 313, 97);

  btnSave = makeButton(GradPanel3, "Save", "Save Service Details", QRect(19, 10, 75, 25),
                       kGreenButton, 5, glyph(Glyph::Save));
  btnCancel = makeButton(GradPanel3, "Cancel", QString(), QRect(431, 10, 75, 25), kGreenButton, 5,
                         glyph(Glyph::Cancel));

  setTabChain({DBEdit4, DBDateEdit1, DBEdit2, DBEdit1, DBMemo1, btnSave, btnCancel});

  connect(btnSave, &TGradButton::clicked, this, &TfrmAEService::btnSaveClick);
  connect(btnCancel, &TGradButton::clicked, this, &TfrmAEService::btnCancelClick);
}

void TfrmAEService::formActivate() { DBEdit4->setFocus(); }

void TfrmAEService::btnSaveClick() { postAndClose(services(), this); }

void TfrmAEService::btnCancelClick() { cancelAndClose(services(), this); }

void TfrmAEService::closeEvent(QCloseEvent* event) {
  // After Save or Cancel the table is in browse state already; the close box cancels.
  cancelPendingEdit(services());
  FormBase::closeEvent(event);
}

}  // namespace wf
