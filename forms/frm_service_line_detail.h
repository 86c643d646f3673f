// The service line window: the services of the current vehicle in the upper grid and, on two
// tabs, the lines and the invoice images of the current service. Lines are added, edited,
// deleted and printed here; invoices are added, edited, deleted and previewed here.
#pragma once

#include "framework/form_base.h"

class QTabWidget;
class QWidget;

namespace wf {

class DbGrid;
class TGradButton;
class TGradPanel;

class TfrmServiceLineDetail : public FormBase {
  Q_OBJECT
 public:
  explicit TfrmServiceLineDetail(QWidget* parent = nullptr);

  TGradPanel* GradPanel1;
  DbGrid* DBGrid2;
  TGradPanel* GradPanel2;
  QTabWidget* PageControl1;
  QWidget* TabSheet1;
  DbGrid* DBGrid3;
  TGradPanel* GradPanel5;
  TGradButton* btnNewDetail;
  TGradButton* btnEditDetail;
  TGradButton* btnDeleteDetail;
  TGradButton* btnPrintDetail;
  QWidget* TabSheet2;
  DbGrid* DBGrid1;
  TGradPanel* GradPanel4;
  TGradButton* btnNewInvoice;
  TGradButton* btnEditInvoice;
  TGradButton* btnDeleteInvoice;
  TGradButton* btnPreview;
  TGradPanel* GradPanel3;
  TGradButton* btnClose;

  void btnNewDetailClick();
  void btnEditDetailClick();
  void btnDeleteDetailClick();
  void btnPrintDetailClick();
  void btnNewInvoiceClick();
  void btnEditInvoiceClick();
  void btnDeleteInvoiceClick();
  void btnPreviewClick();
  void btnCloseClick();

 private:
  void buildLayout();
  QWidget* buildLinesTab();
  QWidget* buildInvoicesTab();
};

}  // namespace wf
