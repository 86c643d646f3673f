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

  // Controls, named as in the window's design.
  // Title bar: "Service Line Details".
  TGradPanel* GradPanel1;

  // Content: the services of the current vehicle above the tabs.
  DbGrid* DBGrid2;         // services of the current vehicle; picks the current service
  TGradPanel* GradPanel2;  // empty grey bar between the services and the tabs

  // Tabs: "Service Lines" and "Service Invoices" of the current service.
  QTabWidget* PageControl1;
  QWidget* TabSheet1;            // "Service Lines"
  DbGrid* DBGrid3;               // lines of the current service; double click edits
  TGradPanel* GradPanel5;        // bar below the lines
  TGradButton* btnNewDetail;     // new line
  TGradButton* btnEditDetail;    // edit line
  TGradButton* btnDeleteDetail;  // delete line
  TGradButton* btnPrintDetail;   // previews the service line report
  QWidget* TabSheet2;            // "Service Invoices"
  DbGrid* DBGrid1;               // invoice images of the current service; double click edits
  TGradPanel* GradPanel4;        // bar below the invoices
  TGradButton* btnNewInvoice;
  TGradButton* btnEditInvoice;
  TGradButton* btnDeleteInvoice;
  TGradButton* btnPreview;  // previews the current invoice image

  // Button bar.
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
