// A read-only data grid: the visible records of a data source's table in the table's order, one
// row per record under a title row, with a row indicator column that marks the current record.
// Selecting a row makes that record current (after the table's browse check) for every control
// on the same data source; when the table's current record moves, the grid follows.
#pragma once

#include "framework/data_source_model.h"
#include "framework/grid_column.h"

#include <QColor>
#include <QFont>
#include <QTableView>

#include <functional>
#include <vector>

namespace wf {

class TDataSource;

class DbGrid : public QTableView {
  Q_OBJECT
 public:
  // Width of the row indicator column, in pixels.
  static constexpr int kIndicatorWidth = 11;

  explicit DbGrid(QWidget* parent = nullptr);

  void setDataSource(TDataSource* source);
  TDataSource* dataSource() const { return model_->dataSource(); }
  void setColumns(std::vector<GridColumn> columns);

  // The look the windows give their grids.
  void setGridBackground(const QColor& colour);
  void setCellFont(const QFont& font);
  void setTitleFont(const QFont& font);
  // No 3-D border and no outer border.
  void setFlat(bool flat);

  // The width a column takes when it gives none: its field's size in characters in the cell
  // font, or its title in the title font, whichever is wider.
  int defaultColumnWidth(int column) const;

  // Runs on a double click anywhere in the grid: a cell, the title row, the indicator column or
  // the corner between them (also on an empty grid; the handler decides).
  std::function<void()> OnDblClick;

  // Typing in a grid changes nothing: the grids are read-only and the current record moves only
  // when the user picks a row, so the view's search for a row starting with the typed text is
  // switched off.
  void keyboardSearch(const QString& search) override;

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void updateGeometries() override;

 private:
  void followTable(int row);
  void applyColumnWidths();
  void applyRowHeights();
  void keepWholeRows();

  DataSourceModel* model_;
  QFont titleFont_;
  bool following_ = false;
};

}  // namespace wf
