// A read-only table model over a data source: one row per visible record of its table, in the
// table's order, one column per configured field. It follows the table through the data source's
// observer interface, so every view on it (and every window sharing the data source) sees the
// same records and the same current record.
#pragma once

#include "framework/grid_column.h"
#include "store/data_source.h"

#include <QAbstractTableModel>

#include <vector>

namespace wf {

class TClientTable;
class TField;

class DataSourceModel : public QAbstractTableModel, public DataSourceObserver {
  Q_OBJECT
 public:
  explicit DataSourceModel(QObject* parent = nullptr);
  ~DataSourceModel() override;

  // The data source is not owned; it may die first (the model then shows nothing).
  void setDataSource(TDataSource* source);
  TDataSource* dataSource() const { return source_; }
  TClientTable* table() const;

  void setColumns(std::vector<GridColumn> columns);
  const std::vector<GridColumn>& columns() const { return columns_; }
  // The column's field in the open table, or nullptr.
  TField* fieldOf(int column) const;

  // The row of the table's current record, -1 when there is none. While the table inserts, the
  // new record is the current one: it has a row of its own at the position of the record that
  // was current (the first row in an empty table), and the records from there on move down one.
  int currentRow() const;
  // The table's record shown in a row (its recNo), or -1 for the new record's row.
  int recordOfRow(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // DataSourceObserver
  void activeChanged(TDataSource& source) override;
  void stateChanged(TDataSource& source) override;
  void dataSetChanged(TDataSource& source) override;
  void recordMoved(TDataSource& source) override;
  void fieldChanged(TDataSource& source, TField* field) override;
  void dataSourceDestroyed(TDataSource& source) override;

 signals:
  // The table's current record moved to another row (or the rows were rebuilt).
  void currentRowChanged(int row);

 private:
  void rebuild();
  void resolveFields();
  // The row the new record takes while the table inserts, -1 in the other states.
  int insertRow() const;
  // The number of rows the table now needs.
  int rowsWanted() const;

  TDataSource* source_ = nullptr;
  std::vector<GridColumn> columns_;
  std::vector<TField*> fields_;
  int rows_ = 0;
};

// The field type's own alignment: right for numbers and money, left for the rest.
Qt::Alignment fieldAlignment(const TField& field);

}  // namespace wf
