// The invoice preview holder (never shown): Report1 prints the picture put into RepImage1 on
// one A4 page, at its natural size, centred and cut to the page area.
#pragma once

#include <QWidget>

#include "reports/rep_image.h"
#include "reports/report.h"

namespace wf {

class TfrmInvoicePreview : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmInvoicePreview(QWidget* parent = nullptr);
  ~TfrmInvoicePreview() override;

  TReport* Report1;
  TRepBand* TitleBand1;
  TRepImage* RepImage1;
};

}  // namespace wf
