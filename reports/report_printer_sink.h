// Presents a TRepPrinter (page store or printer) as the engine's page sink.
#pragma once

#include "reports/rep_printer.h"
#include "reports/report_page_sink.h"

namespace wf {

// The report's printer choices in the form the page sink takes them.
RepPrinterSettings toRepPrinterSettings(const ReportPrinterSettings& settings,
                                        const ReportPage& page);

class ReportPrinterSink : public ReportPageSink {
 public:
  // The printer must outlive this adapter.
  explicit ReportPrinterSink(TRepPrinter& printer) : printer_(printer) {}

  void setPrinterSettings(const ReportPrinterSettings& settings, const ReportPage& page) override {
    printer_.setPrinterSettings(toRepPrinterSettings(settings, page));
  }
  bool beginDocument() override { return printer_.beginDocument(); }
  PageCanvas& newPage() override { return printer_.newPage(); }
  void finishPage() override { printer_.finishPage(); }
  void endDocument() override { printer_.endDocument(); }
  void abortDocument() override { printer_.abortDocument(); }
  void progress(int percent) override { printer_.progress(percent); }
  bool cancelled() const override { return printer_.cancelled(); }
  double leftOffset() const override { return printer_.leftOffset(); }
  double topOffset() const override { return printer_.topOffset(); }

 private:
  TRepPrinter& printer_;
};

}  // namespace wf
