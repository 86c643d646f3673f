// Building blocks of the report layouts, which give every length in design pixels: bands spanning
// the margins of an A4 list report, captions and field texts with the layouts' shared settings, the
// vehicle title box, and the money format of the totals.
#pragma once

#include <QColor>
#include <QString>

#include "reports/design_pixels.h"
#include "reports/rep_band.h"
#include "reports/rep_db_text.h"
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

// A white band of the given height (design pixels) across the list reports' width, with black
// 1-point lines.
TRepBand* addListBand(TReport& report, const QString& name, BandType type, int height,
                      FrameSides sides);

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
};
VehicleTitle addVehicleTitle(TRepBand& band, ReportDataSet* vehicles);

// The totals' OnPrint: reads the expression's general-format number in the locale's notation
// and replaces it with the locale's money format. Text that is no number raises an error with
// the message "'<text>' is not a valid floating point value".
void formatTotalAsMoney(QString& value);

}  // namespace wf
