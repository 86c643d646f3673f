#include "reports/frm_invoice_preview.h"

namespace wf {

TfrmInvoicePreview::TfrmInvoicePreview(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QStringLiteral("Invoice Preview"));

  Report1 = new TReport(this);
  Report1->setObjectName(QStringLiteral("Report1"));
  // Margins of 3.5 mm all round; no table, so the title band prints once.
  Report1->Page.Values = {35, 2970, 35, 2100, 35, 35, 0};
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(13);
  Report1->Font = font;

  // 768 by 1100 screen pixels: the whole area between the margins. It is taller than that
  // area (2900) and simply runs into the bottom margin. This layout was stored in millimetres to
  // two decimals (291.04 by 203.2), not like the list reports' designPixels, so its numbers stay
  // as stored.
  TitleBand1 = Report1->addBand(QStringLiteral("TitleBand1"), BandType::rbTitle);
  TitleBand1->Size = {2910.4, 2032};
  TitleBand1->Color = Qt::white;

  RepImage1 = TitleBand1->add<TRepImage>(QStringLiteral("RepImage1"));
  RepImage1->Size = {2910.4, 0, 0, 2032};
  RepImage1->Center = true;
  RepImage1->Stretch = false;
}

TfrmInvoicePreview::~TfrmInvoicePreview() = default;

}  // namespace wf
