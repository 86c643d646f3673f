#include "reports/band_layout.h"

#include <cmath>

namespace wf {

namespace {

int roundToInt(double value) { return static_cast<int>(std::lround(value)); }

}  // namespace

BandLayout::BandLayout(const ReportPageValues& page, BandLayoutClient& client)
    : page_(page), client_(client) {}

void BandLayout::begin() {
  currentY_ = -1;
  pageCount_ = 0;
  currentColumn_ = 1;
  columnTop_ = 0;
  currentX_ = roundToInt(page_.LeftMargin);
  lastPage_ = false;
}

int BandLayout::SpaceLeft() const {
  if (!hasPage()) return 0;
  // No report has page footer bands, so nothing above the bottom margin is reserved for them.
  return roundToInt(page_.PageLength - page_.BottomMargin - currentY_);
}

void BandLayout::emitBand(const LayoutBand& band) {
  if (!band.bandEnabled()) return;
  ensureSpace(band);
  client_.printBand(band, currentX_, currentY_);
  currentY_ += roundToInt(band.bandHeight());
}

void BandLayout::ensurePage() {
  if (!hasPage()) startNewColumn();
}

void BandLayout::finish(bool cancelled) {
  currentX_ = roundToInt(page_.LeftMargin);
  lastPage_ = true;
  if (!cancelled) finishPage();
}

void BandLayout::ensureSpace(const LayoutBand& band) {
  if (!hasPage()) {
    startNewColumn();
    return;
  }
  const int needed = roundToInt(band.bandHeight());
  // A band taller than the whole band area would never fit; it runs off the page instead of
  // producing pages without end.
  const double bandArea = page_.PageLength - page_.TopMargin - page_.BottomMargin;
  if (band.bandType() != BandType::rbPageFooter && SpaceLeft() < needed && needed <= bandArea)
    startNewColumn();
}

void BandLayout::startNewColumn() {
  currentColumn_ = 1;
  currentX_ = roundToInt(page_.LeftMargin);
  startNewPage();
  client_.columnStarted(currentColumn_);
  const bool firstColumnOfFirstPage = pageCount_ == 1 && currentColumn_ == 1;
  if (!firstColumnOfFirstPage && columnHeader_ != nullptr) emitBand(*columnHeader_);
}

void BandLayout::startNewPage() {
  finishPage();
  ++pageCount_;
  client_.pageStarted(pageCount_);
  currentY_ = roundToInt(page_.TopMargin);
  columnTop_ = currentY_;
  if (pageCount_ == 1 && title_ != nullptr && title_->bandEnabled())
    columnTop_ += roundToInt(title_->bandHeight());
}

void BandLayout::finishPage() {
  if (!hasPage()) return;
  currentY_ = roundToInt(page_.PageLength - page_.BottomMargin);
  currentX_ = roundToInt(page_.LeftMargin);
  client_.pageFinished();
}

}  // namespace wf
