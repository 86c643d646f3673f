// Building blocks of the report layouts, which give every length in design pixels: bands spanning
// the margins of an A4 list report, captions and field texts with the layouts' shared settings, the
// vehicle title box, and the money format of the totals.
#pragma once

#include <QColor>
#include <QString>

#include "reports/design_pixels.h"
#include "reports/rep_band.h"
#include "reports/rep_db_text.h"
#include "reports/rep_expr.h"
#include "reports/rep_image.h"
#include "reports/rep_label.h"
#include "reports/report.h"

namespace wf {

class ReportDataSet;

// The list reports' band width (between the margins of 100) and heights, in design pixels.
inline constexpr int kListBandWidth = 718;
inline constexpr int kListTitleHeight = 147;
inline constexpr int kListRowHeight = 40;
// Height of every caption and field text.
inline constexpr int kTextHeight = 17;

struct FrameSides {
  bool top = false;
  bool bottom = false;
  bool left = false;
  bool right = false;
};

// Report1 of a list report window, listing table, with its four bands in print order: white,
// across the list reports' width, with black 1-point lines. The title is framed all round, the
// column header below and at the sides, the detail rows at the sides, the summary as given.
struct ListReport {
  TReport* Report1;
  TRepBand* TitleBand1;
  TRepBand* ColumnHeaderBand1;
  TRepBand* DetailBand1;
  TRepBand* SummaryBand1;

  // Keeps the report and its bands in the window's members of the same names.
  template <typename Window>
  void storeIn(Window& window) const {
    window.Report1 = Report1;
    window.TitleBand1 = TitleBand1;
    window.ColumnHeaderBand1 = ColumnHeaderBand1;
    window.DetailBand1 = DetailBand1;
    window.SummaryBand1 = SummaryBand1;
  }
};
ListReport addListReport(QObject& window, ReportDataSet& table, FrameSides summarySides);

// A caption in Arial 10 pt bold, sized to its text.
TRepLabel* addCaption(TRepBand& band, const QString& name, const QString& caption,
                      const PixelBox& box, const QColor& color = Qt::black);

// A field text in the report font.
TRepDBText* addFieldText(TRepBand& band, const QString& name, ReportDataSet* table,
                         const QString& field, const PixelBox& box, bool autoSize,
                         Alignment alignment = Alignment::taLeftJustify);

// The title box of the service and expense reports: the vehicle photo and five captions with
// the vehicle's number, make, model, year and registration.
struct VehicleTitle {
  TRepImage* RepImage1;
  TRepLabel* RepLabel1;
  TRepDBText* RepDBText1;
  TRepLabel* RepLabel2;
  TRepDBText* RepDBText2;
  TRepLabel* RepLabel3;
  TRepDBText* RepDBText3;
  TRepLabel* RepLabel4;
  TRepDBText* RepDBText4;
  TRepLabel* RepLabel5;
  TRepDBText* RepDBText5;

  // Keeps the controls in the window's members of the same names.
  template <typename Window>
  void storeIn(Window& window) const {
    window.RepImage1 = RepImage1;
    window.RepLabel1 = RepLabel1;
    window.RepDBText1 = RepDBText1;
    window.RepLabel2 = RepLabel2;
    window.RepDBText2 = RepDBText2;
    window.RepLabel3 = RepLabel3;
    window.RepDBText3 = RepDBText3;
    window.RepLabel4 = RepLabel4;
    window.RepDBText4 = RepDBText4;
    window.RepLabel5 = RepLabel5;
    window.RepDBText5 = RepDBText5;
  }
};
VehicleTitle addVehicleTitle(TRepBand& band, ReportDataSet* vehicles);

// The total of a summary band: the expression in its caption's font and colour on white, sized
// to its value. The window sets OnPrint.
TRepExpr* addTotal(TRepBand& band, const QString& name, const QString& expression,
                   const PixelBox& box, const TRepLabel& caption);

// The totals' OnPrint: reads the expression's general-format number in the locale's notation
// and replaces it with the locale's money format. Text that is no number raises an error with
// the message "'<text>' is not a valid floating point value".
void formatTotalAsMoney(QString& value);

}  // namespace wf
