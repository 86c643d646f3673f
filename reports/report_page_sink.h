// Where a generation puts its pages: the engine's view of a page sink. The preview and the
// printer go through the TRepPrinter adapter (report_printer_sink.h); tests use their own.
#pragma once

#include "reports/page_canvas.h"
#include "reports/report_page.h"

namespace wf {

class ReportPageSink {
 public:
  virtual ~ReportPageSink() = default;

  // The report's printer choices and page, handed over before the document begins.
  virtual void setPrinterSettings(const ReportPrinterSettings& settings,
                                  const ReportPage& page) = 0;
  // False when there is nothing to print on; the generation then does nothing.
  virtual bool beginDocument() = 0;
  // Opens the next page; its surface stays valid until finishPage().
  virtual PageCanvas& newPage() = 0;
  virtual void finishPage() = 0;
  virtual void endDocument() = 0;
  virtual void abortDocument() = 0;
  // Percentage of the records printed so far.
  virtual void progress(int percent) = 0;
  virtual bool cancelled() const = 0;
  // The unprintable left and top margins in native units; 0 for the page store.
  virtual double leftOffset() const = 0;
  virtual double topOffset() const = 0;
};

}  // namespace wf
