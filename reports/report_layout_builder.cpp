#include "reports/report_layout_builder.h"

#include <stdexcept>

#include "framework/text_codec.h"
#include "store/number_text.h"

namespace wf {

namespace {

void applyTextDefaults(TRepTextControl& control, const ControlBox& box) {
  control.Size = {box.height, box.left, box.top, box.width};
  control.Color = Qt::white;
  control.Transparent = false;
  control.WordWrap = true;
  control.AutoStretch = false;
  control.AlignToBand = false;
}

}  // namespace

TRepBand* addListBand(TReport& report, const QString& name, BandType type, double height,
                      FrameSides sides) {
  TRepBand* band = report.addBand(name, type);
  band->Size = {height, kListBandWidth};
  band->Color = Qt::white;
  band->Frame.DrawTop = sides.top;
  band->Frame.DrawBottom = sides.bottom;
  band->Frame.DrawLeft = sides.left;
  band->Frame.DrawRight = sides.right;
  return band;
}

TRepLabel* addCaption(TRepBand& band, const QString& name, const QString& caption,
                      const ControlBox& box, const QColor& color) {
  auto* label = band.add<TRepLabel>(name);
  applyTextDefaults(*label, box);
  label->Caption = caption;
  label->AutoSize = true;
  label->ParentFont = false;
  label->Font = QFont(QStringLiteral("Arial"), 10);
  label->Font.setBold(true);
  label->FontColor = color;
  return label;
}

TRepDBText* addFieldText(TRepBand& band, const QString& name, ReportDataSet* table,
                         const QString& field, const ControlBox& box, bool autoSize,
                         Alignment alignment) {
  auto* text = band.add<TRepDBText>(name);
  applyTextDefaults(*text, box);
  text->DataSet = table;
  text->DataField = field;
  text->AutoSize = autoSize;
  text->Alignment = alignment;
  return text;
}

VehicleTitle addVehicleTitle(TRepBand& band, ReportDataSet* vehicles) {
  VehicleTitle title{};
  title.RepImage1 = band.add<TRepImage>(QStringLiteral("RepImage1"));
  title.RepImage1->Size = {343.96, 21.17, 21.17, 476.25};
  title.RepImage1->Stretch = true;
  title.RepImage1->Center = true;
  title.RepLabel1 =
      addCaption(band, "RepLabel1", "Vehicle Number:", {550.33, 21.17, 283.10, kTextHeight});
  title.RepDBText1 = addFieldText(band, "RepDBText1", vehicles, "VehicleNumber",
                                  {889, 21.17, 235.48, kTextHeight}, true);
  title.RepLabel2 =
      addCaption(band, "RepLabel2", "Vehicle Make:", {550.33, 127, 240.77, kTextHeight});
  title.RepDBText2 = addFieldText(band, "RepDBText2", vehicles, "VehicleMake",
                                  {889, 127, 201.08, kTextHeight}, true);
  title.RepLabel3 =
      addCaption(band, "RepLabel3", "Vehicle Model:", {550.33, 190.50, 254, kTextHeight});
  title.RepDBText3 = addFieldText(band, "RepDBText3", vehicles, "VehicleModel",
                                  {889, 190.50, 209.02, kTextHeight}, true);
  title.RepLabel4 =
      addCaption(band, "RepLabel4", "Vehicle Year:", {550.33, 254, 227.54, kTextHeight});
  title.RepDBText4 = addFieldText(band, "RepDBText4", vehicles, "VehicleYear",
                                  {889, 254, 187.85, kTextHeight}, true);
  title.RepLabel5 =
      addCaption(band, "RepLabel5", "Registration No.:", {550.33, 317.50, 280.46, kTextHeight});
  title.RepDBText5 = addFieldText(band, "RepDBText5", vehicles, "VehicleReg",
                                  {889, 317.50, 177.27, kTextHeight}, true);
  return title;
}

void formatTotalAsMoney(QString& value) {
  const FormatSettings& settings = formatSettings();
  double amount = 0;
  if (!parseFloatText(toWindows1252(value), settings, amount))
    throw std::runtime_error(
        toWindows1252(QStringLiteral("'%1' is not a valid floating point value").arg(value)));
  value = fromWindows1252(formatCurrency(amount, settings));
}

}  // namespace wf
