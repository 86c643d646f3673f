#include "framework/data_source_model.h"

#include "framework/text_codec.h"
#include "store/client_table.h"
#include "store/field.h"

#include <algorithm>
#include <utility>

namespace wf {

Qt::Alignment fieldAlignment(const TField& field) {
  switch (field.DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftAutoInc:
    case ftFloat:
    case ftCurrency: return Qt::AlignRight;
    default: return Qt::AlignLeft;
  }
}

DataSourceModel::DataSourceModel(QObject* parent) : QAbstractTableModel(parent) {}

DataSourceModel::~DataSourceModel() {
  if (source_ != nullptr) source_->removeObserver(this);
}

void DataSourceModel::setDataSource(TDataSource* source) {
  if (source == source_) return;
  if (source_ != nullptr) source_->removeObserver(this);
  source_ = source;
  if (source_ != nullptr) source_->addObserver(this);
  rebuild();
}

TClientTable* DataSourceModel::table() const { return source_ ? source_->DataSet() : nullptr; }

void DataSourceModel::setColumns(std::vector<GridColumn> columns) {
  beginResetModel();
  columns_ = std::move(columns);
  resolveFields();
  endResetModel();
}

void DataSourceModel::resolveFields() {
  fields_.assign(columns_.size(), nullptr);
  TClientTable* t = table();
  if (t == nullptr || !t->Active()) return;
  for (size_t i = 0; i < columns_.size(); ++i) fields_[i] = t->findField(columns_[i].fieldName);
}

TField* DataSourceModel::fieldOf(int column) const {
  if (column < 0 || column >= static_cast<int>(fields_.size())) return nullptr;
  return fields_[static_cast<size_t>(column)];
}

int DataSourceModel::insertRow() const {
  TClientTable* t = table();
  if (t == nullptr || !t->Active() || t->State() != DataSetState::Insert) return -1;
  return std::max(t->recNo(), 0);
}

int DataSourceModel::rowsWanted() const {
  TClientTable* t = table();
  if (t == nullptr || !t->Active()) return 0;
  return t->recordCount() + (insertRow() >= 0 ? 1 : 0);
}

int DataSourceModel::currentRow() const {
  TClientTable* t = table();
  if (t == nullptr || !t->Active() || rows_ == 0) return -1;
  const int inserted = insertRow();
  const int row = inserted >= 0 ? inserted : t->recNo();
  return row >= 0 && row < rows_ ? row : -1;
}

int DataSourceModel::recordOfRow(int row) const {
  const int inserted = insertRow();
  if (inserted < 0 || row < inserted) return row;
  return row == inserted ? -1 : row - 1;
}

void DataSourceModel::rebuild() {
  beginResetModel();
  resolveFields();
  rows_ = rowsWanted();
  endResetModel();
  emit currentRowChanged(currentRow());
}

int DataSourceModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int DataSourceModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant DataSourceModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_ || index.column() >= columnCount()) return {};
  const GridColumn& column = columns_[static_cast<size_t>(index.column())];
  TField* f = fieldOf(index.column());
  switch (role) {
    case Qt::DisplayRole: {
      if (f == nullptr) return QString();
      // The new record's row shows what has been entered so far (the table's current values).
      const int record = recordOfRow(index.row());
      return fromWindows1252(record < 0 ? f->DisplayText() : table()->displayTextAt(record, *f));
    }
    case Qt::TextAlignmentRole: {
      const Qt::Alignment horizontal =
          column.cellAlignment ? *column.cellAlignment
                               : (f != nullptr ? fieldAlignment(*f) : Qt::Alignment(Qt::AlignLeft));
      return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    case Qt::BackgroundRole:
      if (column.colour.isValid()) return column.colour;
      return {};
    default: return {};
  }
}

QVariant DataSourceModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) return {};
  if (section < 0 || section >= columnCount()) return {};
  const GridColumn& column = columns_[static_cast<size_t>(section)];
  if (role == Qt::DisplayRole) return column.title;
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(column.titleAlignment | Qt::AlignVCenter);
  return {};
}

Qt::ItemFlags DataSourceModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void DataSourceModel::activeChanged(TDataSource&) { rebuild(); }

void DataSourceModel::stateChanged(TDataSource&) {
  // Starting or ending an insert adds or removes the new record's row; otherwise only the row
  // indicator shows the state.
  if (rowsWanted() != rows_) {
    rebuild();
    return;
  }
  if (rows_ > 0) emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
}

void DataSourceModel::dataSetChanged(TDataSource&) { rebuild(); }

void DataSourceModel::recordMoved(TDataSource&) {
  if (rows_ > 0) emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
  emit currentRowChanged(currentRow());
}

void DataSourceModel::fieldChanged(TDataSource&, TField*) {
  if (rowsWanted() != rows_) {
    rebuild();
    return;
  }
  const int row = currentRow();
  if (row >= 0 && !columns_.empty())
    emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole});
}

void DataSourceModel::dataSourceDestroyed(TDataSource&) {
  source_ = nullptr;
  rebuild();
}

}  // namespace wf
