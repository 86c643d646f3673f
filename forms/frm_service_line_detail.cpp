#include "forms/frm_service_line_detail.h"

#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "forms/form_instances.h"
#include "forms/frm_ae_service_invoice.h"
#include "forms/frm_ae_service_line.h"
#include "forms/glyphs.h"
#include "forms/report_launches.h"
#include "forms/window_parts.h"
#include "framework/db_grid.h"
#include "framework/font_setup.h"
#include "framework/message_box.h"
#include "framework/showing_errors.h"
#include "framework/tab_chain.h"
#include "store/data_module.h"

#include <QTabBar>
#include <QTabWidget>

namespace wf {

namespace {

constexpr int kClientWidth = 752;
constexpr int kClientHeight = 526;
const QColor kWindowText(0, 0, 0);

std::vector<GridColumn> serviceColumns() {
  return {
      {"ServiceNumber", "Service Number", 106, kCellCentre, kCellCentre, QColor()},
      {"ServiceDescription", "Service Description", 262, kCellLeft, kCellLeft, kShadedColumn},
      {"ServiceDate", "Service Date", 113, kCellCentre, kCellCentre, QColor()},
      {"ServiceTechName", "Technician Name", 120, kCellLeft, kCellLeft, kShadedColumn},
      {"ServiceDistance", "Service Distance", 113, kCellLeft, kCellLeft, QColor()},
  };
}

std::vector<GridColumn> lineColumns() {
  return {
      {"ServiceLineNumber", "Line Number", 106, kCellCentre, kCellCentre, QColor()},
      {"ServiceLineProduct", "Line Product", 320, kCellLeft, kCellLeft, kShadedColumn},
      {"ServiceLineQuantity", "Line Quantity", std::nullopt, kCellCentre, kCellCentre, QColor()},
      // Money keeps the field's own (right) alignment.
      {"ServiceLineAmount", "Line Amount", 94, std::nullopt, kCellLeft, QColor()},
      {"ServiceLineTotal", "Line Total", 105, kCellRight, kCellLeft, kShadedColumn},
  };
}

std::vector<GridColumn> invoiceColumns() {
  return {
      {"ServiceInvoiceNumber", "Invoice Number", 110, kCellCentre, kCellCentre, QColor()},
      {"ServiceInvoiceDescription", "Invoice Description", 597, kCellLeft, kCellLeft,
       kShadedColumn},
  };
}

TClientTable& lines() { return DataModule1->tblServiceLine; }
TClientTable& invoices() { return DataModule1->tblServiceInvoice; }

}  // namespace

TfrmServiceLineDetail::TfrmServiceLineDetail(QWidget* parent) : FormBase(parent) {
  setObjectName("frmServiceLineDetail");
  setWindowTitle("Service Line Detail");
  setFont(msSansSerif(11));
  setFixedDialogBorder(kClientWidth, kClientHeight);
  buildLayout();
}

void TfrmServiceLineDetail::buildLayout() {
  GradPanel1 =
      makePanel(this, PanelPreset::TitleBar, QRect(0, 0, kClientWidth, 45), "Service Line Details");
  GradPanel3 = makePanel(this, PanelPreset::ButtonBar, QRect(0, 481, kClientWidth, 45));
  btnClose = makeButton(GradPanel3, "Close", QString(), QRect(659, 10, 75, 25), kGreenButton, 5,
                        glyph(Glyph::Close));
  GradPanel2 = makePanel(this, PanelPreset::GreyBar, QRect(0, 193, kClientWidth, 45), "Services");
  GradPanel2->setShowCaption(false);
  DBGrid2 = makeGrid(this, &DataModule1->datService, serviceColumns(),
                     QRect(0, 45, kClientWidth, 148), kWindowText);

  PageControl1 = makePageControl(this, QRect(0, 238, kClientWidth, 243));
  TabSheet1 = buildLinesTab();
  TabSheet2 = buildInvoicesTab();
  PageControl1->addTab(TabSheet1, glyphIcon(Glyph::ServiceTab), "Service Lines");
  PageControl1->addTab(TabSheet2, glyphIcon(Glyph::ExpenseTab), "Service Invoices");
  PageControl1->setCurrentIndex(0);

  // Title bar, button bar, grey bar, service grid, page control; the lines tab has its bar
  // before its grid, the invoices tab its grid before its bar (New, Delete, Edit, Preview).
  setTabChain({btnClose, DBGrid2, PageControl1->tabBar(), btnNewDetail, btnEditDetail,
               btnDeleteDetail, btnPrintDetail, DBGrid3, DBGrid1, btnNewInvoice, btnDeleteInvoice,
               btnEditInvoice, btnPreview});

  connect(btnNewDetail, &TGradButton::clicked, this, &TfrmServiceLineDetail::btnNewDetailClick);
  connect(btnEditDetail, &TGradButton::clicked, this, &TfrmServiceLineDetail::btnEditDetailClick);
  connect(btnDeleteDetail, &TGradButton::clicked, this,
          &TfrmServiceLineDetail::btnDeleteDetailClick);
  connect(btnPrintDetail, &TGradButton::clicked, this, &TfrmServiceLineDetail::btnPrintDetailClick);
  connect(btnNewInvoice, &TGradButton::clicked, this, &TfrmServiceLineDetail::btnNewInvoiceClick);
  connect(btnEditInvoice, &TGradButton::clicked, this, &TfrmServiceLineDetail::btnEditInvoiceClick);
  connect(btnDeleteInvoice, &TGradButton::clicked, this,
          &TfrmServiceLineDetail::btnDeleteInvoiceClick);
  connect(btnPreview, &TGradButton::clicked, this, &TfrmServiceLineDetail::btnPreviewClick);
  connect(btnClose, &TGradButton::clicked, this, &TfrmServiceLineDetail::btnCloseClick);
}

QWidget* TfrmServiceLineDetail::buildLinesTab() {
  auto* sheet = new QWidget;
  GradPanel5 = makePanel(sheet, PanelPreset::GreyBar,
                         QRect(0, kTabPageGridHeight, kTabPageWidth, 45), "Services");
  GradPanel5->setShowCaption(false);
  btnNewDetail = makeButton(GradPanel5, "New", "New Service Line", QRect(19, 10, 75, 25),
                            kGreyButton, 5, glyph(Glyph::New));
  btnEditDetail = makeButton(GradPanel5, "Edit", "Edit Service Line", QRect(107, 10, 75, 25),
                             kGreyButton, 5, glyph(Glyph::Edit));
  btnDeleteDetail = makeButton(GradPanel5, "Delete", "Delete Service Line", QRect(195, 10, 75, 25),
                               kGreyButton, 5, glyph(Glyph::Delete));
  btnPrintDetail = makeButton(GradPanel5, "Print...", "Print Preview Service Line Details",
                              QRect(355, 10, 75, 25), kGreyButton, 5, glyph(Glyph::Print));
  DBGrid3 = makeGrid(sheet, &DataModule1->datServiceLine, lineColumns(),
                     QRect(0, 0, kTabPageWidth, kTabPageGridHeight), kWindowText);
  DBGrid3->OnDblClick = [this] { btnEditDetailClick(); };
  fillTabSheet(sheet, DBGrid3, GradPanel5);
  return sheet;
}

QWidget* TfrmServiceLineDetail::buildInvoicesTab() {
  auto* sheet = new QWidget;
  DBGrid1 = makeGrid(sheet, &DataModule1->datServiceInvoice, invoiceColumns(),
                     QRect(0, 0, kTabPageWidth, kTabPageGridHeight), kWindowText);
  DBGrid1->OnDblClick = [this] { btnEditInvoiceClick(); };
  GradPanel4 = makePanel(sheet, PanelPreset::GreyBar,
                         QRect(0, kTabPageGridHeight, kTabPageWidth, 45), "Services");
  GradPanel4->setShowCaption(false);
  btnNewInvoice = makeButton(GradPanel4, "New", "New Service Invoice", QRect(19, 10, 75, 25),
                             kGreyButton, 5, glyph(Glyph::New));
  btnDeleteInvoice = makeButton(GradPanel4, "Delete", "Delete Service Invoice",
                                QRect(195, 10, 75, 25), kGreyButton, 5, glyph(Glyph::Delete));
  btnEditInvoice = makeButton(GradPanel4, "Edit", "Edit Service Invoice", QRect(107, 10, 75, 25),
                              kGreyButton, 5, glyph(Glyph::Edit));
  btnPreview = makeButton(GradPanel4, "Print Preview", "Print Preview Service Invoice",
                          QRect(595, 10, 134, 25), kGreyButton, 10, glyph(Glyph::Print));
  fillTabSheet(sheet, DBGrid1, GradPanel4);
  return sheet;
}

void TfrmServiceLineDetail::btnNewDetailClick() {
  if (DataModule1->tblService.isEmpty()) return;
  runEditDialog(lines(), EditStart::Insert, frmAEServiceLine, "Add New Service Line");
}

void TfrmServiceLineDetail::btnEditDetailClick() {
  if (lines().isEmpty()) return;
  runEditDialog(lines(), EditStart::Edit, frmAEServiceLine, "Edit Service Line");
}

void TfrmServiceLineDetail::btnDeleteDetailClick() {
  if (lines().isEmpty()) return;
  confirmAndDelete(lines(), "Delete selected service line?");
}

void TfrmServiceLineDetail::btnPrintDetailClick() {
  if (lines().isEmpty() || reportLaunches == nullptr) return;
  runShowingErrors([&] { reportLaunches->LaunchServiceLineReport(); });
}

void TfrmServiceLineDetail::btnNewInvoiceClick() {
  if (DataModule1->tblService.isEmpty()) return;
  runEditDialog(invoices(), EditStart::Insert, frmAEServiceInvoice, "Add New Service Invoice");
}

void TfrmServiceLineDetail::btnEditInvoiceClick() {
  if (invoices().isEmpty()) return;
  runEditDialog(invoices(), EditStart::Edit, frmAEServiceInvoice, "Edit Service Invoice");
}

void TfrmServiceLineDetail::btnDeleteInvoiceClick() {
  if (invoices().isEmpty()) return;
  confirmAndDelete(invoices(), "Delete selected service invoice?");
}

void TfrmServiceLineDetail::btnPreviewClick() {
  if (invoices().isEmpty()) return;
  previewStoredInvoiceImage(*DataModule1->tblServiceInvoiceServiceInvoiceBlob);
}

void TfrmServiceLineDetail::btnCloseClick() { closeForm(); }

}  // namespace wf
