// Tab walks every window's controls in the order its layout gives, with no stop a person cannot
// see (the panels that frame the controls take no focus).
#include "app/app_instances.h"
#include "app/frm_closing.h"
#include "app/frm_main.h"
#include "controls/db_date_edit.h"
#include "controls/grad_button.h"
#include "forms/form_instances.h"
#include "forms/frm_ae_expense.h"
#include "forms/frm_ae_service.h"
#include "forms/frm_ae_service_invoice.h"
#include "forms/frm_ae_service_line.h"
#include "forms/frm_ae_vehicle.h"
#include "forms/frm_expense_detail.h"
#include "forms/frm_service_detail.h"
#include "forms/frm_service_line_detail.h"
#include "forms/frm_vehicle_detail.h"
#include "framework/db_edit.h"
#include "framework/db_grid.h"
#include "framework/db_memo.h"
#include "framework/font_setup.h"
#include "framework/message_box.h"
#include "framework/tab_chain.h"
#include "program_fixture.h"
#include "store/data_module.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace wf {
namespace {

std::string describe(const std::vector<QWidget*>& widgets) {
  std::string text;
  for (const QWidget* w : widgets) {
    if (!text.empty()) text += ", ";
    const QString name =
        w->objectName().isEmpty() ? QString(w->metaObject()->className()) : w->objectName();
    text += name.toStdString();
    if (const auto* button = qobject_cast<const TGradButton*>(w))
      text += " \"" + button->Caption().toStdString() + "\"";
  }
  return text;
}

// Tab from the first widget of `cycle` meets the others in order and comes back to it.
void expectTabCycle(const char* window, std::vector<QWidget*> cycle) {
  std::vector<QWidget*> expected(cycle.begin() + 1, cycle.end());
  expected.push_back(cycle.front());
  const std::vector<QWidget*> walked = tabStops(cycle.front());
  EXPECT_EQ(walked, expected) << window << "\n  Tab walks: " << describe(walked)
                              << "\n  expected:  " << describe(expected);
}

class TabOrder : public RunningProgramFixture {};

TEST_F(TabOrder, EveryWindowWalksItsControlsInTheDesignsOrder) {
  TfrmMain& m = *frmMain;
  expectTabCycle("main window",
                 {m.DBGrid1, m.btnExit, m.btnVehicleDetail, m.btnService, m.btnExpenses});

  TfrmVehicleDetail& v = *frmVehicleDetail;
  expectTabCycle("Vehicle Detail", {v.btnClose, v.DBGrid1, v.btnNew, v.btnEdit, v.btnDelete,
                                    v.PageControl1->tabBar(), v.DBGrid2, v.btnServiceClick});
  v.PageControl1->setCurrentIndex(1);
  expectTabCycle("Vehicle Detail, expenses tab",
                 {v.btnClose, v.DBGrid1, v.btnNew, v.btnEdit, v.btnDelete, v.PageControl1->tabBar(),
                  v.DBGrid4, v.btnPrintExpense});

  TfrmAEVehicle& av = *frmAEVehicle;
  expectTabCycle("vehicle dialog",
                 {av.DBEdit4, av.DBEdit3, av.DBEdit2, av.DBEdit1, av.btnPasteFromClipbrd,
                  av.btnCopyToClipbrd, av.btnImage, av.btnSave, av.btnCancel});

  TfrmServiceDetail& s = *frmServiceDetail;
  expectTabCycle("Service Detail",
                 {s.btnClose, s.DBGrid1, s.btnPrintService, s.DBGrid2, s.btnDeleteService,
                  s.btnNewService, s.btnEditService, s.btnServiceLineDetail});

  TfrmAEService& as = *frmAEService;
  expectTabCycle("service dialog", {as.DBEdit4, as.DBDateEdit1, as.DBEdit2, as.DBEdit1, as.DBMemo1,
                                    as.btnSave, as.btnCancel});

  TfrmServiceLineDetail& l = *frmServiceLineDetail;
  expectTabCycle("Service Line Detail, lines tab",
                 {l.btnClose, l.DBGrid2, l.PageControl1->tabBar(), l.btnNewDetail, l.btnEditDetail,
                  l.btnDeleteDetail, l.btnPrintDetail, l.DBGrid3});
  l.PageControl1->setCurrentIndex(1);
  expectTabCycle("Service Line Detail, invoices tab",
                 {l.btnClose, l.DBGrid2, l.PageControl1->tabBar(), l.DBGrid1, l.btnNewInvoice,
                  l.btnDeleteInvoice, l.btnEditInvoice, l.btnPreview});

  TfrmAEServiceLine& al = *frmAEServiceLine;
  expectTabCycle("service line dialog",
                 {al.DBEdit4, al.DBEdit1, al.DBEdit2, al.btnSave, al.btnCancel});

  TfrmAEServiceInvoice& ai = *frmAEServiceInvoice;
  expectTabCycle("service invoice dialog",
                 {ai.DBEdit4, ai.Edit1, ai.btnInvoice, ai.btnSave, ai.btnCancel});

  TfrmExpenseDetail& e = *frmExpenseDetail;
  expectTabCycle("Expense Detail",
                 {e.btnClose, e.DBGrid1, e.btnPrintExpenses, e.DBGrid2, e.btnDeleteExpense,
                  e.btnNewExpense, e.btnEditExpense, e.btnPrintPreview});

  TfrmAEExpense& ae = *frmAEExpense;
  expectTabCycle("expense dialog", {ae.DBEdit4, ae.DBDateEdit1, ae.DBEdit2, ae.Edit1, ae.btnInvoice,
                                    ae.btnSave, ae.btnCancel});
}

TEST_F(TabOrder, TheServiceNoteHandsTabOnInsteadOfTypingIt) {
  DataModule1->tblService.insert();
  DbMemo* note = frmAEService->DBMemo1;
  QTest::keyClicks(note, "new pads");
  QTest::keyClick(note, Qt::Key_Tab);
  EXPECT_EQ(note->toPlainText(), "new pads");
  EXPECT_TRUE(boxes_.boxes().empty());
  DataModule1->tblService.cancel();
}

}  // namespace
}  // namespace wf
