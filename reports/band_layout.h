// The band and page-breaking arithmetic of the report engine, free of any drawing: it tracks
// where the next band goes, decides when a band needs a new page and tells its client when a
// page starts or ends and where each band lands. All positions are native units.
#pragma once

#include "reports/report_page.h"

namespace wf {

// Band roles, in their stored order. Only title, column header, detail and summary are laid
// out; the others exist as names of the band model.
enum class BandType {
  rbTitle,
  rbPageHeader,
  rbDetail,
  rbPageFooter,
  rbSummary,
  rbGroupHeader,
  rbGroupFooter,
  rbSubDetail,
  rbColumnHeader,
  rbOverlay,
  rbChild,
};

// What the layout needs to know of a band.
class LayoutBand {
 public:
  virtual ~LayoutBand() = default;
  virtual BandType bandType() const = 0;
  virtual double bandHeight() const = 0;
  virtual bool bandEnabled() const = 0;
};

// Receives the layout's decisions. pageStarted comes before the first band of a page,
// pageFinished after its last; printBand is called once per emitted band with its top-left
// corner.
class BandLayoutClient {
 public:
  virtual ~BandLayoutClient() = default;
  virtual void pageStarted(int pageNumber) = 0;
  virtual void pageFinished() = 0;
  virtual void columnStarted(int column) = 0;
  virtual void printBand(const LayoutBand& band, int x, int y) = 0;
};

class BandLayout {
 public:
  // The page values must already be corrected; the client must outlive the layout.
  BandLayout(const ReportPageValues& page, BandLayoutClient& client);

  // Page values for the next generation (already corrected).
  void setPage(const ReportPageValues& page) { page_ = page; }
  // The band repeated at the top of every page after the first; may be null.
  void setColumnHeader(const LayoutBand* band) { columnHeader_ = band; }
  // The title band, whose height counts into ColumnTop on page 1; may be null.
  void setTitle(const LayoutBand* band) { title_ = band; }

  // Starts a generation: no page yet.
  void begin();
  // Puts a band below the previous one, starting a new page first when it does not fit.
  void emitBand(const LayoutBand& band);
  // Starts a page unless one has been started already.
  void ensurePage();
  // Ends the generation; finishes the last page unless cancelled.
  void finish(bool cancelled);

  int CurrentX() const { return currentX_; }
  int CurrentY() const { return currentY_; }
  int PageCount() const { return pageCount_; }
  int CurrentColumn() const { return currentColumn_; }
  int ColumnTop() const { return columnTop_; }
  bool LastPage() const { return lastPage_; }
  bool hasPage() const { return currentY_ >= 0; }
  // Space below CurrentY down to the bottom margin, rounded; 0 while no page has been started.
  int SpaceLeft() const;

 private:
  void ensureSpace(const LayoutBand& band);
  void startNewColumn();
  void startNewPage();
  void finishPage();

  ReportPageValues page_;
  BandLayoutClient& client_;
  const LayoutBand* columnHeader_ = nullptr;
  const LayoutBand* title_ = nullptr;
  int currentX_ = 0;
  int currentY_ = -1;
  int pageCount_ = 0;
  int currentColumn_ = 1;
  int columnTop_ = 0;
  bool lastPage_ = false;
};

}  // namespace wf
