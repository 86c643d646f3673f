#include "framework/db_grid.h"

#include "framework/message_box.h"
#include "framework/text_codec.h"
#include "store/client_table.h"
#include "store/field.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>

#include <algorithm>
#include <exception>

namespace wf {
namespace {

// The row indicator: a triangle at the current record in browse state, an I-beam while it is
// edited, an asterisk while a new record is being inserted.
class IndicatorHeader : public QHeaderView {
 public:
  IndicatorHeader(DataSourceModel* model, QWidget* parent)
      : QHeaderView(Qt::Vertical, parent), model_(model) {}

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    if (logicalIndex != model_->currentRow()) return;
    const TClientTable* table = model_->table();
    const DataSetState state = table ? table->State() : DataSetState::Inactive;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(Qt::black);
    const QPoint c = rect.center();
    if (state == DataSetState::Edit) {
      painter->drawLine(c.x(), c.y() - 4, c.x(), c.y() + 4);
      painter->drawLine(c.x() - 2, c.y() - 4, c.x() + 2, c.y() - 4);
      painter->drawLine(c.x() - 2, c.y() + 4, c.x() + 2, c.y() + 4);
    } else if (state == DataSetState::Insert) {
      painter->drawText(rect, Qt::AlignCenter, QStringLiteral("*"));
    } else {
      QPainterPath triangle;
      triangle.moveTo(c.x() - 2, c.y() - 4);
      triangle.lineTo(c.x() + 2, c.y());
      triangle.lineTo(c.x() - 2, c.y() + 4);
      triangle.closeSubpath();
      painter->fillPath(triangle, Qt::black);
    }
    painter->restore();
  }

  QSize sectionSizeFromContents(int) const override {
    return QSize(DbGrid::kIndicatorWidth, defaultSectionSize());
  }

 private:
  DataSourceModel* model_;
};

}  // namespace

DbGrid::DbGrid(QWidget* parent) : QTableView(parent), model_(new DataSourceModel(this)) {
  setModel(model_);
  setVerticalHeader(new IndicatorHeader(model_, this));
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setFixedWidth(kIndicatorWidth);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab and Shift+Tab leave the grid for the next control of the window, as from any other
  // control; moving between cells of a read-only grid would trap a keyboard user in it.
  setTabKeyNavigation(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  // Rows scroll in whole rows, whatever the style prefers (see keepWholeRows).
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setShowGrid(true);
  setWordWrap(false);
  setTextElideMode(Qt::ElideNone);
  titleFont_ = horizontalHeader()->font();
  // The title row, the indicator column and their corner are widgets of their own: their double
  // clicks are watched here so that they run OnDblClick like one on a cell.
  horizontalHeader()->viewport()->installEventFilter(this);
  verticalHeader()->viewport()->installEventFilter(this);
  for (QAbstractButton* corner : findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
    corner->installEventFilter(this);
  connect(model_, &DataSourceModel::currentRowChanged, this, [this](int row) { followTable(row); });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { applyColumnWidths(); });
}

void DbGrid::setDataSource(TDataSource* source) { model_->setDataSource(source); }

void DbGrid::setColumns(std::vector<GridColumn> columns) {
  model_->setColumns(std::move(columns));
  applyColumnWidths();
  followTable(model_->currentRow());
}

void DbGrid::setGridBackground(const QColor& colour) {
  QPalette p = palette();
  p.setColor(QPalette::Base, colour);
  p.setColor(QPalette::Window, colour);
  setPalette(p);
  viewport()->setPalette(p);
}

void DbGrid::setCellFont(const QFont& font) {
  setFont(font);
  horizontalHeader()->setFont(titleFont_);
  applyRowHeights();
  applyColumnWidths();
}

void DbGrid::setTitleFont(const QFont& font) {
  titleFont_ = font;
  horizontalHeader()->setFont(font);
  applyRowHeights();
  applyColumnWidths();
}

void DbGrid::setFlat(bool flat) {
  setFrameShape(flat ? QFrame::NoFrame : QFrame::StyledPanel);
  setFrameShadow(flat ? QFrame::Plain : QFrame::Sunken);
}

void DbGrid::applyRowHeights() {
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 3);
  horizontalHeader()->setFixedHeight(QFontMetrics(titleFont_).height() + 4);
}

int DbGrid::defaultColumnWidth(int column) const {
  const auto& columns = model_->columns();
  if (column < 0 || column >= static_cast<int>(columns.size())) return 0;
  const QFontMetrics titleMetrics(titleFont_);
  int width = titleMetrics.horizontalAdvance(columns[static_cast<size_t>(column)].title);
  if (const TField* f = model_->fieldOf(column)) {
    // Numbers and dates show in about ten characters; text in its declared size.
    const int characters = f->DataType() == ftString && f->Size() > 0 ? f->Size() : 10;
    width = std::max(width, characters * QFontMetrics(font()).averageCharWidth());
  }
  return width + 4;
}

void DbGrid::applyColumnWidths() {
  const auto& columns = model_->columns();
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    const GridColumn& column = columns[static_cast<size_t>(i)];
    setColumnWidth(i, column.width ? *column.width : defaultColumnWidth(i));
  }
}

void DbGrid::followTable(int row) {
  following_ = true;
  if (row < 0) {
    setCurrentIndex(QModelIndex());
  } else {
    const int column = std::max(currentIndex().column(), 0);
    if (column < model_->columnCount()) {
      setCurrentIndex(model_->index(row, column));
      scrollTo(model_->index(row, column));
    }
  }
  following_ = false;
  verticalHeader()->viewport()->update();
}

void DbGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (following_ || !current.isValid()) return;
  TClientTable* table = model_->table();
  if (table == nullptr || !table->Active() || current.row() == model_->currentRow()) return;
  const int record = model_->recordOfRow(current.row());
  if (record < 0) return;
  try {
    table->moveTo(record);
  } catch (const std::exception& failure) {
    // The browse check could not settle the pending edit: the record stays where it was.
    showDefaultError(exceptionText(failure));
  }
  // Show where the table really is, also when the move was refused.
  if (model_->currentRow() != current.row()) followTable(model_->currentRow());
}

void DbGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  QTableView::mouseDoubleClickEvent(event);
  if (OnDblClick) OnDblClick();
}

// Scrolled to its last position, the view lines the last row up with the bottom edge and cuts
// the first visible row. A grid always starts its rows whole under the title row; the scroll
// range already lets the last row show whole that way, with what is left below it empty.
void DbGrid::keepWholeRows() {
  QHeaderView* rows = verticalHeader();
  const int first = verticalScrollBar()->value();
  if (first < 0 || first >= rows->count()) return;
  const int top = rows->sectionPosition(rows->logicalIndex(first));
  if (rows->offset() == top) return;
  rows->setOffset(top);
  viewport()->update();
}

void DbGrid::scrollContentsBy(int dx, int dy) {
  QTableView::scrollContentsBy(dx, dy);
  keepWholeRows();
}

void DbGrid::updateGeometries() {
  QTableView::updateGeometries();
  keepWholeRows();
}

bool DbGrid::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick && watched != viewport()) {
    // Taken here: the title row would otherwise size the column to its contents, which the
    // designs' fixed widths do not allow.
    if (OnDblClick) OnDblClick();
    return true;
  }
  return QTableView::eventFilter(watched, event);
}

void DbGrid::keyboardSearch(const QString& /*search*/) {}

}  // namespace wf
