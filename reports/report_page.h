// Page set-up of a report: A4 paper in either orientation and the seven page values in native
// units (tenths of a millimetre), plus the printer choices handed to the page sink.
#pragma once

#include <QString>

namespace wf {

// Native units per inch: a native unit is a tenth of a millimetre.
inline constexpr double kNativeUnitsPerInch = 254.0;
// Pixels per inch of the screen the reports were designed at and are measured and previewed at.
inline constexpr int kScreenDpi = 96;
// Screen pixels per native unit.
inline constexpr double kScreenFactor = kScreenDpi / kNativeUnitsPerInch;

enum class Orientation { poPortrait, poLandscape };

// The seven numbers of `Page.Values`, in their stored order.
struct ReportPageValues {
  double BottomMargin = 100;
  double PageLength = 2970;
  double TopMargin = 100;
  double PageWidth = 2100;
  double LeftMargin = 100;
  double RightMargin = 100;
  double ColumnSpace = 0;  // read by nothing: the reports have one column
};

struct ReportPage {
  wf::Orientation Orientation = wf::Orientation::poPortrait;
  ReportPageValues Values;

  // Margins that leave no room between them are taken as 0, each pair on its own.
  void correctMargins() {
    if (Values.PageWidth - Values.LeftMargin - Values.RightMargin < 0) {
      Values.LeftMargin = 0;
      Values.RightMargin = 0;
    }
    if (Values.PageLength - Values.TopMargin - Values.BottomMargin < 0) {
      Values.TopMargin = 0;
      Values.BottomMargin = 0;
    }
  }
};

struct ReportPrinterSettings {
  // Empty: the system's default printer.
  QString PrinterName;
  // Not empty: Print writes a PDF file of that name instead of using a printer.
  QString OutputFileName;
  int Copies = 1;
  bool Duplex = false;
  // 0 means from the first page / to the last page.
  int FirstPage = 0;
  int LastPage = 0;
};

}  // namespace wf
