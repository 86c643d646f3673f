// Building blocks of the report layouts: bands spanning the margins of an A4 list report,
// captions and field texts with the layouts' shared settings, the vehicle title box, and the
// money format of the totals.
#pragma once

#include <QColor>
#include <QString>

#include "reports/rep_band.h"
#include "reports/rep_db_text.h"
#include "reports/rep_image.h"
#include "reports/rep_label.h"
#include "reports/report.h"

namespace wf {

class ReportDataSet;

// Left, top, width, height of a control, native units relative to its band.
struct ControlBox {
  double left;
  double top;
  double width;
  double height;
};

// Width between the margins of 100 of the list reports: 718 screen pixels.
inline constexpr double kListBandWidth = 1899.71;
inline constexpr double kListTitleHeight = 388.94;
inline constexpr double kListRowHeight = 105.83;
inline constexpr double kTextHeight = 44.98;

struct FrameSides {
  bool top = false;
  bool bottom = false;
  bool left = false;
  bool right = false;
};

// A white band of the given height across the list reports' width, with black 1-point lines.
TRepBand* addListBand(TReport& report, const QString& name, BandType type, double height,
                      FrameSides sides);

// A caption in Arial 10 pt bold, sized to its text.
TRepLabel* addCaption(TRepBand& band, const QString& name, const QString& caption,
                      const ControlBox& box, const QColor& color = Qt::black);

// A field text in the report font.
TRepDBText* addFieldText(TRepBand& band, const QString& name, ReportDataSet* table,
                         const QString& field, const ControlBox& box, bool autoSize,
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
};
VehicleTitle addVehicleTitle(TRepBand& band, ReportDataSet* vehicles);

// The totals' OnPrint: reads the expression's general-format number in the locale's notation
// and replaces it with the locale's money format. Text that is no number raises an error with
// the message "'<text>' is not a valid floating point value".
void formatTotalAsMoney(QString& value);

}  // namespace wf
