#include "reports/report_printer_sink.h"

namespace wf {

RepPrinterSettings toRepPrinterSettings(const ReportPrinterSettings& settings,
                                        const ReportPage& page) {
  RepPrinterSettings result = RepPrinterSettings();
  result.printerName = settings.PrinterName;
  result.outputFileName = settings.OutputFileName;
  result.paperSize = QPageSize::A4;
  result.orientation =
      page.Orientation == Orientation::poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
  result.copies = settings.Copies;
  result.duplex = settings.Duplex;
  result.firstPage = settings.FirstPage;
  result.lastPage = settings.LastPage;
  return result;
}

}  // namespace wf
