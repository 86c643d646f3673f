#include "reports/report_layout_builder.h"

#include <stdexcept>

#include "framework/text_codec.h"
#include "store/number_text.h"

namespace wf {

namespace {

void applyTextDefaults(TRepTextControl& control, const PixelBox& box) {
  control.Size = nativeSize(box);
  control.Color = Qt::white;
  control.Transparent = false;
  control.WordWrap = true;
}

// A white band of the given height (design pixels) across the list reports' width.
TRepBand* addListBand(TReport& report, const QString& name, BandType type, int height,
                      FrameSides sides) {
  TRepBand* band = report.addBand(name, type);
  band->Size = {designPixels(height), designPixels(kListBandWidth)};
  band->Color = Qt::white;
  band->Frame.DrawTop = sides.top;
  band->Frame.DrawBottom = sides.bottom;
  band->Frame.DrawLeft = sides.left;
  band->Frame.DrawRight = sides.right;
  return band;
}

}  // namespace

ListReport addListReport(QObject& window, ReportDataSet& table, FrameSides summarySides) {
  ListReport list{};
  list.Report1 = new TReport(&window);
  list.Report1->setObjectName(QStringLiteral("Report1"));
  list.Report1->DataSet = &table;
  TReport& report = *list.Report1;
  list.TitleBand1 = addListBand(report, "TitleBand1", BandType::rbTitle, kListTitleHeight,
                                {true, true, true, true});
  list.ColumnHeaderBand1 = addListBand(report, "ColumnHeaderBand1", BandType::rbColumnHeader,
                                       kListRowHeight, {false, true, true, true});
  list.DetailBand1 = addListBand(report, "DetailBand1", BandType::rbDetail, kListRowHeight,
                                 {false, false, true, true});
  list.SummaryBand1 =
      addListBand(report, "SummaryBand1", BandType::rbSummary, kListRowHeight, summarySides);
  return list;
}

TRepLabel* addCaption(TRepBand& band, const QString& name, const QString& caption,
                      const PixelBox& box, const QColor& color) {
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
                         const QString& field, const PixelBox& box, bool autoSize,
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
  title.RepImage1->Size = nativeSize({8, 8, 180, 130});
  title.RepImage1->Stretch = true;
  title.RepImage1->Center = true;
  title.RepLabel1 = addCaption(band, "RepLabel1", "Vehicle Number:", {208, 8, 107, kTextHeight});
  title.RepDBText1 =
      addFieldText(band, "RepDBText1", vehicles, "VehicleNumber", {336, 8, 89, kTextHeight}, true);
  title.RepLabel2 = addCaption(band, "RepLabel2", "Vehicle Make:", {208, 48, 91, kTextHeight});
  title.RepDBText2 =
      addFieldText(band, "RepDBText2", vehicles, "VehicleMake", {336, 48, 76, kTextHeight}, true);
  title.RepLabel3 = addCaption(band, "RepLabel3", "Vehicle Model:", {208, 72, 96, kTextHeight});
  title.RepDBText3 =
      addFieldText(band, "RepDBText3", vehicles, "VehicleModel", {336, 72, 79, kTextHeight}, true);
  title.RepLabel4 = addCaption(band, "RepLabel4", "Vehicle Year:", {208, 96, 86, kTextHeight});
  title.RepDBText4 =
      addFieldText(band, "RepDBText4", vehicles, "VehicleYear", {336, 96, 71, kTextHeight}, true);
  title.RepLabel5 =
      addCaption(band, "RepLabel5", "Registration No.:", {208, 120, 106, kTextHeight});
  title.RepDBText5 =
      addFieldText(band, "RepDBText5", vehicles, "VehicleReg", {336, 120, 67, kTextHeight}, true);
  return title;
}

TRepExpr* addTotal(TRepBand& band, const QString& name, const QString& expression,
                   const PixelBox& box, const TRepLabel& caption) {
  auto* total = band.add<TRepExpr>(name);
  total->Size = nativeSize(box);
  total->Color = Qt::white;
  total->AutoSize = true;
  total->WordWrap = true;
  total->ParentFont = false;
  total->Font = caption.Font;
  total->FontColor = caption.FontColor;
  total->Expression = expression;
  return total;
}

void formatTotalAsMoney(QString& value) {
  const FormatSettings& settings = formatSettings();
  double amount = 0;
  std::string bytes;
  if (!tryToCodePage(value, bytes) || !parseFloatText(bytes, settings, amount))
    throw std::runtime_error(
        QStringLiteral("'%1' is not a valid floating point value").arg(value).toStdString());
  value = fromCodePage(formatCurrency(amount, settings));
}

}  // namespace wf
