// A banded report (TReport): a detail table, horizontal bands with printable controls, and the
// generation that lays the bands on A4 pages into the preview's page store. Printing replays the
// stored pages (TRepPrinter::printStoredPages); it never generates the report again.
//
// Everything runs on the user-interface thread. A generation lets the application process
// pending events once at its start and once per record, so the preview paints pages and can be
// closed while the report is still being built; re-entering Preview meanwhile does nothing.
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "reports/band_layout.h"
#include "reports/expression.h"
#include "reports/rep_band.h"
#include "reports/rep_printer.h"
#include "reports/report_device.h"
#include "reports/report_page.h"
#include "reports/report_reference_surface.h"

namespace wf {

class ReportDataSet;
class ReportPageSink;
class TRepExpr;

class TReport : public QObject, private BandLayoutClient {
  Q_OBJECT

 public:
  explicit TReport(QObject* parent = nullptr);
  ~TReport() override;

  // Adds a band; the report owns it. Bands keep the order in which they were added.
  TRepBand* addBand(const QString& name, wf::BandType type);
  const std::vector<std::unique_ptr<TRepBand>>& bands() const { return bands_; }
  // The first enabled band of the type, or null.
  TRepBand* band(wf::BandType type) const;
  // A table that expressions may name besides DataSet (a table of the report's window). The
  // table must outlive the report.
  void addTable(ReportDataSet* table);

  // Generates the report into a new page store and shows it in a preview window at once;
  // returns when that window has been closed (or when the generation was cancelled by closing
  // it). A failure of the generation propagates; the window then stays open. The window is not
  // modal; it belongs to the active modal window, if any, so that window does not block it.
  void Preview();
  // Shows the print dialog for the pages of previewSink and, on OK, keeps its choices
  // (printer or PDF file, copies, orientation, page range) both for that preview's Print and in
  // the report, whose next previews start from them; the orientation lays out the next preview.
  // The pages on screen stay as they are. acceptText as for TRepPrinter::printerSetup.
  bool PrinterSetup(TRepPrinter& previewSink, const QString& acceptText = QString());
  // The preview window on sink is closing. While sink is being generated the generation is
  // cancelled: it stops before the next record and the document is aborted.
  void previewClosing(TRepPrinter& sink);

  // One generation run into sink. Does nothing while another run of this report is going on.
  void GenerateReport(ReportPageSink& sink);

  bool Available() const { return available_; }
  bool Cancelled() const { return cancelled_; }
  bool LastPage() const { return layout_.LastPage(); }
  int PageCount() const { return layout_.PageCount(); }
  // The 96-dpi surface on which text is measured for line breaking.
  ReportReferenceSurface& referenceSurface() { return reference_; }

  ReportDataSet* DataSet = nullptr;
  ReportPage Page;
  bool PrintIfEmpty = true;
  ReportPrinterSettings PrinterSettings;
  QFont Font;
  QColor FontColor = Qt::black;
  // Named values that expressions may use: name and expression text.
  QList<QPair<QString, QString>> Functions;
  QString ReportTitle;
  bool ShowProgress = true;

 private:
  // BandLayoutClient
  void pageStarted(int pageNumber) override;
  void pageFinished() override;
  void columnStarted(int column) override;
  void printBand(const LayoutBand& band, int x, int y) override;

  void prepare();
  void unprepare();
  void runDetailLoop();
  void printEmptyReport();
  void emitBand(TRepBand* band);

  std::vector<std::unique_ptr<TRepBand>> bands_;
  QList<ReportDataSet*> tables_;
  ReportReferenceSurface reference_;
  ReportNamedValues namedValues_;
  std::vector<TRepExpr*> aggregates_;
  BandLayout layout_;
  ReportPageSink* sink_ = nullptr;
  std::optional<ReportDevice> device_;
  // The preview sink of the newest Preview while it is being generated.
  TRepPrinter* previewSink_ = nullptr;
  // What page sinks and preview windows call back (PrinterSetup, closing); made by the
  // first Preview, so that generating needs nothing of the printing side.
  std::unique_ptr<ReportMaster> master_;
  bool available_ = true;
  bool cancelled_ = false;
};

}  // namespace wf
