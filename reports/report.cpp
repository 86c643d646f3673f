#include "reports/report.h"

#include <QCoreApplication>
#include <algorithm>

#include "reports/rep_expr.h"
#include "reports/report_dataset.h"
#include "reports/report_page_sink.h"

namespace wf {

namespace {

const QString kPageNumber = QStringLiteral("PAGENUMBER");
const QString kColumnNumber = QStringLiteral("COLUMNNUMBER");
const QString kReportTitle = QStringLiteral("REPORTTITLE");

// Page values as the generation lays them out: corrected margins, length and width swapped for
// a landscape page.
ReportPageValues layoutValues(ReportPage& page) {
  page.correctMargins();
  ReportPageValues values = page.Values;
  if (page.Orientation == Orientation::poLandscape) std::swap(values.PageWidth, values.PageLength);
  return values;
}

}  // namespace

TReport::TReport(QObject* parent)
    : QObject(parent), Font(QStringLiteral("Arial"), 10), layout_(Page.Values, *this) {
  Functions << qMakePair(kPageNumber, QStringLiteral("0"))
            << qMakePair(kColumnNumber, QStringLiteral("0"))
            << qMakePair(kReportTitle, QStringLiteral("''"));
}

TReport::~TReport() = default;

TRepBand* TReport::addBand(const QString& name, wf::BandType type) {
  bands_.push_back(std::make_unique<TRepBand>(name, type));
  return bands_.back().get();
}

TRepBand* TReport::band(wf::BandType type) const {
  for (const auto& band : bands_)
    if (band->BandType == type && band->Enabled) return band.get();
  return nullptr;
}

void TReport::addTable(ReportDataSet* table) {
  if (table != nullptr && !tables_.contains(table)) tables_ << table;
}

// ---- Generation -------------------------------------------------------------------------------

void TReport::GenerateReport(ReportPageSink& sink) {
  if (!available_) return;
  layout_.setPage(layoutValues(Page));
  available_ = false;
  cancelled_ = false;
  sink_ = &sink;
  try {
    sink.setPrinterSettings(PrinterSettings, Page);
    if (!sink.beginDocument()) {
      sink_ = nullptr;
      available_ = true;
      return;
    }
    layout_.setTitle(band(BandType::rbTitle));
    layout_.setColumnHeader(band(BandType::rbColumnHeader));
    layout_.begin();
    prepare();
    runDetailLoop();
    layout_.finish(cancelled_);
  } catch (...) {
    // The pages finished so far make the document; the report can be generated again, also
    // when ending the document fails in turn (a print job the printer refuses).
    unprepare();
    device_.reset();
    sink_ = nullptr;
    available_ = true;
    sink.endDocument();
    throw;
  }
  unprepare();
  device_.reset();
  sink_ = nullptr;
  available_ = true;
  if (cancelled_)
    sink.abortDocument();
  else
    sink.endDocument();
}

void TReport::prepare() {
  ExpressionScope scope;
  scope.tables = tables_;
  if (DataSet != nullptr && !scope.tables.contains(DataSet)) scope.tables << DataSet;

  namedValues_.clear();
  for (const auto& [name, text] : Functions)
    namedValues_.setExpression(name, Expression::compileNode(text, scope));
  namedValues_.setValue(kReportTitle, ExprValue::text(ReportTitle));
  scope.namedValues = &namedValues_;

  aggregates_.clear();
  for (const auto& band : bands_) {
    for (const auto& control : band->controls()) {
      control->prepare(scope);
      auto* expression = dynamic_cast<TRepExpr*>(control.get());
      if (expression != nullptr && expression->takesInRecords()) aggregates_.push_back(expression);
    }
  }
}

void TReport::unprepare() {
  aggregates_.clear();
  for (const auto& band : bands_)
    for (const auto& control : band->controls()) control->unprepare();
  namedValues_.clear();
}

void TReport::emitBand(TRepBand* band) {
  if (band != nullptr) layout_.emitBand(*band);
}

void TReport::runDetailLoop() {
  const bool hasTable = DataSet != nullptr && DataSet->isOpen();
  if (hasTable) DataSet->first();
  if (!hasTable || DataSet->eof()) {
    printEmptyReport();
    return;
  }
  const int counted = DataSet->recordCount();
  const qint64 recordCount = counted > 0 ? counted : 1;

  QCoreApplication::processEvents();
  if (cancelled_) return;
  emitBand(band(BandType::rbTitle));
  if (layout_.PageCount() <= 1) emitBand(band(BandType::rbColumnHeader));

  qint64 recordNumber = 0;
  do {
    QCoreApplication::processEvents();
    if (sink_->cancelled()) return;
    ++recordNumber;
    emitBand(band(BandType::rbDetail));
    DataSet->next();
    sink_->progress(static_cast<int>(recordNumber * 100 / recordCount));
  } while (!DataSet->eof());

  layout_.ensurePage();
  emitBand(band(BandType::rbSummary));
}

void TReport::printEmptyReport() {
  if (!PrintIfEmpty) return;
  emitBand(band(BandType::rbTitle));
  emitBand(band(BandType::rbDetail));
  emitBand(band(BandType::rbSummary));
}

void TReport::pageStarted(int pageNumber) {
  namedValues_.setValue(kPageNumber, ExprValue::integer(pageNumber));
  PageCanvas& canvas = sink_->newPage();
  device_.emplace(canvas, sink_->leftOffset(), sink_->topOffset());
}

void TReport::pageFinished() {
  device_.reset();
  sink_->finishPage();
}

void TReport::columnStarted(int column) {
  namedValues_.setValue(kColumnNumber, ExprValue::integer(column));
}

void TReport::printBand(const LayoutBand& layoutBand, int x, int y) {
  // Every band the layout sees is one of this report's.
  auto& repBand = const_cast<TRepBand&>(static_cast<const TRepBand&>(layoutBand));
  if (&repBand == band(BandType::rbDetail))
    for (TRepExpr* expression : aggregates_) expression->takeInRecord();
  ReportPrintContext context{*device_, reference_, Font, FontColor};
  repBand.print(context, x, y);
}

}  // namespace wf
